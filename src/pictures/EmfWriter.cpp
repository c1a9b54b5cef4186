#include "pictures/EmfWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace solvena {

namespace {

constexpr uint32_t kHeaderSize = 108;
constexpr uint32_t kEofSize = 20;
constexpr size_t kBytesOffset = 48;
constexpr size_t kRecordsOffset = 52;
constexpr size_t kHandlesOffset = 56;
constexpr size_t kMaxFaceUnits = 31;  // LOGFONTW's 32 units hold a terminating zero
constexpr uint32_t kTextRecordFixed = 76;  // EMREXTTEXTOUTW up to its string
constexpr uint32_t kGmCompatible = 1;
constexpr uint32_t kReferenceWidth = 1920;   // pixels; 508 mm at 96 per inch
constexpr uint32_t kReferenceHeight = 1440;  // 381 mm
static_assert(kReferenceWidth * 254 % 960 == 0 && kReferenceHeight * 254 % 960 == 0);
// One reference pixel in 0.01 mm: 25.4 mm / 96.
constexpr float kPixelInHundredthsMm = 2540.0f / 96.0f;

// Windows' MulDiv: a * b / c rounded half away from zero.
int32_t mulDiv(int32_t a, int32_t b, int32_t c)
{
    const int64_t product = int64_t{a} * b;
    const int64_t half = c / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// round(pixels * 2540 / 96), halves up: the size of `pixels` in 0.01 mm.
int64_t hundredthsMm(int64_t pixels)
{
    return (pixels * 2540 * 2 + 96) / (96 * 2);
}

uint32_t colorRef(uint32_t rgb)
{
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

EmfFont emfFontOf(const FontDesc& desc, std::u16string face)
{
    EmfFont font;
    font.face = std::move(face);
    if (desc.pixelSize > 0)
        font.height = -desc.pixelSize;
    else if (desc.pointSize > 0)
        font.height = -mulDiv(desc.pointSize, 96, 72);
    font.bold = desc.bold;
    font.italic = desc.italic;
    font.underline = desc.underline;
    font.strikeOut = desc.strikeOut;
    return font;
}

EmfWriter::EmfWriter(int32_t width, int32_t height) : live_{true}
{
    const int64_t frameWidth = hundredthsMm(width);
    const int64_t frameHeight = hundredthsMm(height);
    if (width < 1 || height < 1 || frameWidth > std::numeric_limits<int32_t>::max() ||
        frameHeight > std::numeric_limits<int32_t>::max())
        throw std::invalid_argument("metafile size out of range");

    begin(EmfRecord::Header, kHeaderSize);
    putRect(0, 0, width - 1, height - 1);  // rclBounds, inclusive device pixels
    putRect(0, 0, static_cast<int32_t>(frameWidth) - 1, static_cast<int32_t>(frameHeight) - 1);
    put32(0x464D4520u);  // " EMF"
    put32(0x00010000u);  // version
    put32(0);            // nBytes, set by finish
    put32(0);            // nRecords, set by finish
    put16(0);            // nHandles, set by finish
    put16(0);
    put32(0);  // no description
    put32(0);
    put32(0);  // no palette
    // The reference device: a 96-dpi screen whose size in whole millimetres is exact
    // both ways (1080 rows would be 285.75 mm). Readers that scale by the millimetres
    // would otherwise stretch the drawing by 0.09 % against its frame.
    put32(kReferenceWidth);
    put32(kReferenceHeight);
    put32(kReferenceWidth * 254 / 960);
    put32(kReferenceHeight * 254 / 960);
    put32(0);  // no pixel format
    put32(0);
    put32(0);  // not OpenGL
    put32(kReferenceWidth * 254000 / 960);
    put32(kReferenceHeight * 254000 / 960);
}

void EmfWriter::checkOpen() const
{
    if (finished_)
        throw std::logic_error("metafile already finished");
}

void EmfWriter::begin(uint32_t type, uint32_t size)
{
    checkOpen();
    bytes_.reserve(bytes_.size() + size);
    put32(type);
    put32(size);
    ++records_;
}

void EmfWriter::put32(uint32_t value)
{
    const char le[4] = {char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                        char((value >> 24) & 0xFF)};
    bytes_.append(le, 4);
}

void EmfWriter::put16(uint16_t value)
{
    const char le[2] = {char(value & 0xFF), char((value >> 8) & 0xFF)};
    bytes_.append(le, 2);
}

void EmfWriter::putRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    putI32(left);
    putI32(top);
    putI32(right);
    putI32(bottom);
}

void EmfWriter::simple(uint32_t type, uint32_t value)
{
    begin(type, 12);
    put32(value);
}

void EmfWriter::setBkMode(uint32_t mode)
{
    simple(EmfRecord::SetBkMode, mode);
}

void EmfWriter::setTextColor(uint32_t rgb)
{
    simple(EmfRecord::SetTextColor, colorRef(rgb));
}

void EmfWriter::setTextAlign(uint32_t align)
{
    simple(EmfRecord::SetTextAlign, align);
}

uint32_t EmfWriter::allocateHandle()
{
    checkOpen();
    const auto freeSlot = std::find(live_.begin() + 1, live_.end(), false);
    if (freeSlot != live_.end()) {
        *freeSlot = true;
        return static_cast<uint32_t>(freeSlot - live_.begin());
    }
    // nHandles is a 16-bit field.
    if (live_.size() >= std::numeric_limits<uint16_t>::max())
        throw std::length_error("metafile handle table full");
    live_.push_back(true);
    return static_cast<uint32_t>(live_.size() - 1);
}

uint32_t EmfWriter::createPen(uint32_t rgb, int32_t width)
{
    const uint32_t handle = allocateHandle();
    begin(EmfRecord::CreatePen, 28);
    put32(handle);
    put32(0);  // PS_SOLID
    putI32(width);
    putI32(0);
    put32(colorRef(rgb));
    return handle;
}

uint32_t EmfWriter::createSolidBrush(uint32_t rgb)
{
    const uint32_t handle = allocateHandle();
    begin(EmfRecord::CreateBrushIndirect, 24);
    put32(handle);
    put32(0);  // BS_SOLID
    put32(colorRef(rgb));
    put32(0);
    return handle;
}

uint32_t EmfWriter::createFont(const EmfFont& font)
{
    const uint32_t handle = allocateHandle();
    begin(EmfRecord::ExtCreateFontIndirectW, 12 + 92);
    put32(handle);
    putI32(font.height);
    putI32(0);  // width, escapement, orientation
    putI32(0);
    putI32(0);
    putI32(font.bold ? 700 : 400);
    const char flags[8] = {char(font.italic), char(font.underline), char(font.strikeOut),
                           1 /* DEFAULT_CHARSET */, 0, 0, 0, 0};
    bytes_.append(flags, 8);
    size_t units = std::min(font.face.size(), kMaxFaceUnits);
    if (units < font.face.size() && units > 0 && isHighSurrogate(font.face[units - 1]))
        --units;  // never half a character
    for (size_t i = 0; i < kMaxFaceUnits + 1; ++i)
        put16(i < units ? static_cast<uint16_t>(font.face[i]) : 0);
    return handle;
}

void EmfWriter::selectObject(uint32_t handle)
{
    const bool stock = handle == kNullBrush || handle == kNullPen;
    if (!stock && (handle == 0 || handle >= live_.size() || !live_[handle]))
        throw std::invalid_argument("select of an unknown metafile object");
    simple(EmfRecord::SelectObject, handle);
}

void EmfWriter::deleteObject(uint32_t handle)
{
    if (handle == 0 || handle >= live_.size() || !live_[handle])
        throw std::invalid_argument("delete of an unknown metafile object");
    simple(EmfRecord::DeleteObject, handle);
    live_[handle] = false;
}

void EmfWriter::moveTo(int32_t x, int32_t y)
{
    begin(EmfRecord::MoveToEx, 16);
    putI32(x);
    putI32(y);
}

void EmfWriter::lineTo(int32_t x, int32_t y)
{
    begin(EmfRecord::LineTo, 16);
    putI32(x);
    putI32(y);
}

bool EmfWriter::fits16(std::span<const CanvasPoint> points)
{
    constexpr int32_t lo = std::numeric_limits<int16_t>::min();
    constexpr int32_t hi = std::numeric_limits<int16_t>::max();
    return std::all_of(points.begin(), points.end(), [](const CanvasPoint& p) {
        return p.x >= lo && p.x <= hi && p.y >= lo && p.y <= hi;
    });
}

void EmfWriter::polygon16(std::span<const CanvasPoint> points)
{
    if (!fits16(points))
        throw std::out_of_range("polygon point beyond 16 bits");
    polygon(points);
}

void EmfWriter::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)
        throw std::invalid_argument("polygon of fewer than two points");
    const bool small = fits16(points);
    const size_t pointSize = small ? 4 : 8;
    if (points.size() > (std::numeric_limits<uint32_t>::max() - 28) / pointSize)
        throw std::length_error("polygon too long for a metafile record");

    int32_t left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
    for (const CanvasPoint& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    begin(small ? EmfRecord::Polygon16 : EmfRecord::Polygon,
          static_cast<uint32_t>(28 + pointSize * points.size()));
    putRect(left, top, right, bottom);
    put32(static_cast<uint32_t>(points.size()));
    for (const CanvasPoint& p : points) {
        if (small) {
            put16(static_cast<uint16_t>(p.x));
            put16(static_cast<uint16_t>(p.y));
        } else {
            putI32(p.x);
            putI32(p.y);
        }
    }
}

void EmfWriter::extTextOut(int32_t x, int32_t y, std::u16string_view text,
                           std::span<const int32_t> dx)
{
    if (dx.size() != text.size())
        throw std::invalid_argument("one advance per code unit needed");
    if (text.size() > (std::numeric_limits<uint32_t>::max() - kTextRecordFixed - 3) / 6)
        throw std::length_error("text too long for a metafile record");
    const auto units = static_cast<uint32_t>(text.size());
    const uint32_t stringBytes = (units * 2 + 3) & ~3u;
    const uint32_t offDx = kTextRecordFixed + stringBytes;

    begin(EmfRecord::ExtTextOutW, offDx + 4 * units);
    putRect(0, 0, -1, -1);  // bounds are not kept; readers ignore them
    put32(kGmCompatible);
    put32(std::bit_cast<uint32_t>(kPixelInHundredthsMm));
    put32(std::bit_cast<uint32_t>(kPixelInHundredthsMm));
    putI32(x);
    putI32(y);
    put32(units);
    put32(kTextRecordFixed);
    put32(0);  // no options: clipping is done with a clip region
    putRect(0, 0, -1, -1);
    put32(offDx);
    for (char16_t unit : text)
        put16(static_cast<uint16_t>(unit));
    if (units % 2)
        put16(0);
    for (int32_t advance : dx)
        putI32(advance);
}

void EmfWriter::saveDC()
{
    begin(EmfRecord::SaveDC, 8);
}

void EmfWriter::intersectClipRect(const CanvasRect& rect)
{
    begin(EmfRecord::IntersectClipRect, 24);
    putRect(rect.left, rect.top, rect.right, rect.bottom);
}

void EmfWriter::restoreDC()
{
    simple(EmfRecord::RestoreDC, static_cast<uint32_t>(-1));
}

std::string EmfWriter::finish()
{
    if (bytes_.size() + kEofSize > std::numeric_limits<uint32_t>::max())
        throw std::length_error("metafile larger than 4 GiB");
    begin(EmfRecord::Eof, kEofSize);
    put32(0);   // no palette entries
    put32(16);  // where they would start
    put32(kEofSize);
    finished_ = true;

    auto patch32 = [this](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    patch32(kBytesOffset, static_cast<uint32_t>(bytes_.size()));
    patch32(kRecordsOffset, records_);
    const auto handles = static_cast<uint16_t>(live_.size());
    bytes_[kHandlesOffset] = char(handles & 0xFF);
    bytes_[kHandlesOffset + 1] = char(handles >> 8);
    return std::move(bytes_);
}

}  // namespace solvena

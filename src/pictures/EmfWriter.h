#pragma once
// A small writer of enhanced-metafile records into memory. It knows the byte layout
// of the few records the chart needs and keeps the header and the object handle
// table consistent; what to draw, and when state must change, is the caller's job.

#include "document/FontDesc.h"
#include "render/Canvas.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// Record types written, with their EMR_* numbers.
namespace EmfRecord {
inline constexpr uint32_t Header = 1;
inline constexpr uint32_t Polygon = 3;
inline constexpr uint32_t Eof = 14;
inline constexpr uint32_t SetBkMode = 18;
inline constexpr uint32_t SetTextAlign = 22;
inline constexpr uint32_t SetTextColor = 24;
inline constexpr uint32_t MoveToEx = 27;
inline constexpr uint32_t IntersectClipRect = 30;
inline constexpr uint32_t SaveDC = 33;
inline constexpr uint32_t RestoreDC = 34;
inline constexpr uint32_t SelectObject = 37;
inline constexpr uint32_t CreatePen = 38;
inline constexpr uint32_t CreateBrushIndirect = 39;
inline constexpr uint32_t DeleteObject = 40;
inline constexpr uint32_t LineTo = 54;
inline constexpr uint32_t ExtCreateFontIndirectW = 82;
inline constexpr uint32_t ExtTextOutW = 84;
inline constexpr uint32_t Polygon16 = 86;
}  // namespace EmfRecord

// The logical font of EXTCREATEFONTINDIRECTW, as far as the chart sets it.
struct EmfFont {
    std::u16string face;  // cut to 31 code units when written
    int32_t height = 0;   // lfHeight: negative for a character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// The EMF font of a FontDesc at 96 dpi: a pixel size as -pixels, else a point size
// as -MulDiv(pt, 96, 72), else the default height 0. `face` names the typeface.
EmfFont emfFontOf(const FontDesc& desc, std::u16string face);

class EmfWriter {
public:
    // Stock objects that SELECTOBJECT accepts besides the writer's own handles.
    static constexpr uint32_t kNullBrush = 0x80000005u;
    static constexpr uint32_t kNullPen = 0x80000008u;
    static constexpr uint32_t kTransparent = 1;  // SETBKMODE
    static constexpr uint32_t kTopLeft = 0;      // SETTEXTALIGN: TA_TOP | TA_LEFT

    // Starts a picture of width x height pixels recorded with a 96-dpi screen of
    // 1920 x 1440 (508 x 381 mm) as reference. Throws std::invalid_argument for a size below 1 or
    // one whose frame in 0.01 mm does not fit 32 bits.
    EmfWriter(int32_t width, int32_t height);

    void setBkMode(uint32_t mode);
    void setTextColor(uint32_t rgb);  // 0xRRGGBB
    void setTextAlign(uint32_t align);

    // Each returns the handle of the new object: the lowest free slot of the table.
    uint32_t createPen(uint32_t rgb, int32_t width);  // a solid pen
    uint32_t createSolidBrush(uint32_t rgb);
    uint32_t createFont(const EmfFont& font);
    // Takes an own live handle or a stock object; throws std::invalid_argument else.
    void selectObject(uint32_t handle);
    // Frees the slot for the next object; throws std::invalid_argument for a handle
    // that is not live.
    void deleteObject(uint32_t handle);

    void moveTo(int32_t x, int32_t y);
    void lineTo(int32_t x, int32_t y);
    // Throws std::out_of_range, writing nothing, when a coordinate needs more than
    // 16 bits; std::invalid_argument for fewer than two points.
    void polygon16(std::span<const CanvasPoint> points);
    // The same with 32-bit points (EMR_POLYGON), for drawings beyond 16 bits.
    void polygon(std::span<const CanvasPoint> points);
    static bool fits16(std::span<const CanvasPoint> points);

    // UTF-16 text with its top-left reference at (x, y); `dx` holds the advance of
    // each code unit (std::invalid_argument when the counts differ).
    void extTextOut(int32_t x, int32_t y, std::u16string_view text, std::span<const int32_t> dx);

    void saveDC();
    void intersectClipRect(const CanvasRect& rect);
    void restoreDC();

    // Writes EOF, completes the header and hands over the bytes. The writer takes no
    // more records afterwards (std::logic_error).
    std::string finish();

    // Records written so far, the header included.
    uint32_t recordCount() const { return records_; }

private:
    void begin(uint32_t type, uint32_t size);
    void put32(uint32_t value);
    void putI32(int32_t value) { put32(static_cast<uint32_t>(value)); }
    void put16(uint16_t value);
    void putRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void simple(uint32_t type, uint32_t value);
    uint32_t allocateHandle();
    void checkOpen() const;

    std::string bytes_;
    uint32_t records_ = 0;
    std::vector<bool> live_;  // live_[h]: handle h names an object; slot 0 is the metafile
    bool finished_ = false;
};

}  // namespace solvena

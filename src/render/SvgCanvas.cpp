#include "render/SvgCanvas.h"

#include "render/NumberText.h"
#include "render/QtFont.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace solvena {

namespace {

// What piles up before it goes to the sink.
constexpr size_t kChunkBytes = 64 * 1024;

void appendColour(std::string& out, uint32_t rgb)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06x", rgb & 0xFFFFFFu);
    out += buffer;
}

// Text as XML character data or an attribute's value: UTF-8 with the markup's own
// characters escaped, and the characters XML does not allow left out.
void appendEscaped(std::string& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                break;
            // U+FFFE and U+FFFF
            if (c == '\xEF' && i + 2 < utf8.size() && utf8[i + 1] == '\xBF' &&
                (utf8[i + 2] == '\xBE' || utf8[i + 2] == '\xBF')) {
                i += 2;
                break;
            }
            out += c;
        }
    }
}

// A family as a CSS string in an attribute.
void appendFamily(std::string& out, const QString& family)
{
    QString quoted = family;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    out += '\'';
    appendEscaped(out, quoted);
    out += '\'';
}

}  // namespace

SvgCanvas::SvgCanvas(ByteSink& sink, QSize size, int top) : sink_(sink)
{
    out_.reserve(kChunkBytes + 4096);
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"";
    appendInt(out_, size.width());
    out_ += "px\" height=\"";
    appendInt(out_, size.height());
    out_ += "px\" viewBox=\"0 0 ";
    appendInt(out_, size.width());
    out_ += ' ';
    appendInt(out_, size.height());
    out_ += "\" xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\">\n"
            "<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"butt\" stroke-linejoin=\"miter\" "
            "stroke-miterlimit=\"2\"";
    if (top != 0) {
        out_ += " transform=\"translate(0,";
        appendInt(out_, -int64_t{top});
        out_ += ")\"";
    }
    out_ += ">\n";
    setFont(FontDesc{});
}

void SvgCanvas::spill()
{
    if (out_.size() < kChunkBytes)
        return;
    sink_.write(out_);
    out_.clear();
}

void SvgCanvas::flushLines()
{
    if (lines_.segments.empty())
        return;
    out_ += "<path stroke=\"";
    appendColour(out_, lines_.rgb);
    out_ += "\" d=\"";
    for (const StrokeSegment& s : lines_.segments) {
        out_ += 'M';
        appendNumber(out_, s.x1);
        out_ += ',';
        appendNumber(out_, s.y1);
        out_ += 'L';
        appendNumber(out_, s.x2);
        out_ += ',';
        appendNumber(out_, s.y2);
        spill();
    }
    out_ += "\"/>\n";
    lines_.segments.clear();
}

void SvgCanvas::closeFontGroup()
{
    if (fontGroupOpen_)
        out_ += "</g>\n";
    fontGroupOpen_ = false;
}

void SvgCanvas::finish()
{
    flushLines();
    closeFontGroup();
    out_ += "</g>\n</svg>\n";
    sink_.write(out_);
    out_.clear();
}

void SvgCanvas::setFont(const FontDesc& desc)
{
    if (fontSet_ && desc == fontDesc_)
        return;
    fontSet_ = true;
    fontDesc_ = desc;
    font_ = toQFont(desc);
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    height_ = metrics.ascent() + metrics.descent();
    texts_.clear();

    // The family followed by the faces that stand in for it here (IPAGothic for
    // "ＭＳ ゴシック", ...): a reader without the Windows faces then sets the text in
    // the face it was measured with.
    std::string& a = fontAttributes_;
    a = " font-family=\"";
    appendFamily(a, font_.family());
    for (const QString& standIn : QFont::substitutes(font_.family())) {
        a += ", ";
        appendFamily(a, standIn);
    }
    a += "\" font-size=\"";
    appendNumber(a, font_.pixelSize() > 0 ? double(font_.pixelSize()) : std::round(font_.pointSizeF() * 96 / 72));
    a += "\" font-weight=\"";
    appendInt(a, font_.weight());
    a += font_.italic() ? "\" font-style=\"italic\"" : "\" font-style=\"normal\"";
    if (font_.underline() || font_.strikeOut()) {
        a += " text-decoration=\"";
        a += font_.underline() && font_.strikeOut() ? "underline line-through" : font_.underline() ? "underline" : "line-through";
        a += '"';
    }
    // The group opens with the font's first text.
    flushLines();
    closeFontGroup();
}

void SvgCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint from = advancePen(x, y);
    if (penIsClear() || (from.x == x && from.y == y))
        return;
    if (!lines_.takes(penRgb()))
        flushLines();
    lines_.add(penRgb(), gdiStroke(from, CanvasPoint{x, y}));
}

void SvgCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    flushLines();
    out_ += "<polygon points=\"";
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0)
            out_ += ' ';
        appendNumber(out_, points[i].x + 0.5);
        out_ += ',';
        appendNumber(out_, points[i].y + 0.5);
    }
    out_ += "\" fill=\"";
    if (brushIsSolid())
        appendColour(out_, brushRgb());
    else
        out_ += "none";
    out_ += "\" stroke=\"";
    if (penIsClear())
        out_ += "none";
    else
        appendColour(out_, penRgb());
    out_ += "\"/>\n";
    spill();
}

const SvgCanvas::Text& SvgCanvas::prepare(const std::string& cp932, TextWindow window)
{
    return texts_.get(cp932, window, font_, [this](const QString& string) {
        Text text;
        appendEscaped(text.escaped, string);
        text.width = QFontMetrics(font_).horizontalAdvance(string);
        return text;
    });
}

void SvgCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    flushLines();
    const Text& text = prepare(cp932, textWindow(spot, cp932.size()));
    const CanvasPoint at = spot.origin(text.width, height_);
    if (!fontGroupOpen_) {
        out_ += "<g";
        out_ += fontAttributes_;
        out_ += ">\n";
        fontGroupOpen_ = true;
    }
    const bool cut = spot.cuts(at, text.width, height_);
    if (cut) {
        // Clipped to its box, as on every other surface.
        out_ += "<clipPath id=\"c";
        appendInt(out_, ++clips_);
        out_ += "\"><rect x=\"";
        const CanvasRect& box = *spot.box;
        appendInt(out_, box.left);
        out_ += "\" y=\"";
        appendInt(out_, box.top);
        out_ += "\" width=\"";
        appendInt(out_, int64_t{box.right} - box.left);
        out_ += "\" height=\"";
        appendInt(out_, int64_t{box.bottom} - box.top);
        out_ += "\"/></clipPath>\n";
    }
    out_ += "<text x=\"";
    appendInt(out_, at.x);
    out_ += "\" y=\"";
    appendInt(out_, int64_t{at.y} + ascent_);
    out_ += "\" fill=\"";
    appendColour(out_, fontDesc_.color);
    if (cut) {
        out_ += "\" clip-path=\"url(#c";
        appendInt(out_, clips_);
        out_ += ")";
    }
    out_ += "\" xml:space=\"preserve\">";
    out_ += text.escaped;
    out_ += "</text>\n";
    spill();
}

}  // namespace solvena

#include "render/PdfCanvas.h"

#include "render/NumberText.h"
#include "render/QtFont.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace solvena {

namespace {

// A face without a slant of its own leans this far, as the font engine slants it.
constexpr double kSlant = 0.2;

void appendColour(std::string& out, uint32_t rgb, const char* op)
{
    for (int shift = 16; shift >= 0; shift -= 8) {
        appendDecimal(out, double((rgb >> shift) & 0xFF) / 255.0, 4);
        out += ' ';
    }
    out += op;
    out += '\n';
}

void appendHexByte(std::string& out, unsigned value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

// A glyph's outline as path operators, in pixels to the hundredth.
void appendOutline(std::string& out, const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isCurveTo() && i + 2 < path.elementCount()) {
            for (int k = 0; k < 3; ++k) {
                const QPainterPath::Element p = path.elementAt(i + k);
                appendDecimal(out, p.x, 2);
                out += ' ';
                appendDecimal(out, p.y, 2);
                out += ' ';
            }
            out += "c\n";
            i += 2;
            continue;
        }
        appendDecimal(out, e.x, 2);
        out += ' ';
        appendDecimal(out, e.y, 2);
        out += e.isMoveTo() ? " m\n" : " l\n";
    }
}

// Writes numbered objects and remembers where each begins, for the cross-reference
// table at the end.
class PdfFile {
public:
    explicit PdfFile(ByteSink& sink) : sink_(sink) {}

    int reserve() { offsets_.push_back(0); return int(offsets_.size()); }

    void begin(int object)
    {
        offsets_[size_t(object - 1)] = written_;
        std::string head;
        appendInt(head, object);
        head += " 0 obj\n";
        write(head);
    }
    void object(int object, std::string_view body)
    {
        begin(object);
        write(body);
        write("\nendobj\n");
    }
    void stream(int object, std::string_view dictionary, std::string_view bytes)
    {
        begin(object);
        std::string head = "<< ";
        head += dictionary;
        head += " /Length ";
        appendInt(head, int64_t(bytes.size()));
        head += " >>\nstream\n";
        write(head);
        write(bytes);
        write("\nendstream\nendobj\n");
    }
    void write(std::string_view bytes)
    {
        sink_.write(bytes);
        written_ += bytes.size();
    }
    void finish(int root, int info)
    {
        const uint64_t table = written_;
        std::string tail = "xref\n0 ";
        appendInt(tail, int64_t(offsets_.size()) + 1);
        tail += "\n0000000000 65535 f \n";
        for (const uint64_t offset : offsets_) {
            char line[24];
            std::snprintf(line, sizeof line, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
            tail += line;
        }
        tail += "trailer\n<< /Size ";
        appendInt(tail, int64_t(offsets_.size()) + 1);
        tail += " /Root ";
        appendInt(tail, root);
        tail += " 0 R /Info ";
        appendInt(tail, info);
        tail += " 0 R >>\nstartxref\n";
        appendInt(tail, int64_t(table));
        tail += "\n%%EOF\n";
        write(tail);
    }

private:
    ByteSink& sink_;
    uint64_t written_ = 0;
    std::vector<uint64_t> offsets_;
};

// A string in a PDF literal, the characters that end or escape it escaped.
std::string literal(std::string_view text)
{
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    out += ')';
    return out;
}

std::string toUnicodeMap(const std::vector<char32_t>& chars)
{
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
    std::vector<size_t> known;
    for (size_t code = 0; code < chars.size(); ++code)
        if (chars[code] != 0)
            known.push_back(code);
    // At most a hundred entries a block.
    for (size_t from = 0; from < known.size(); from += 100) {
        const size_t to = std::min(known.size(), from + 100);
        appendInt(map, int64_t(to - from));
        map += " beginbfchar\n";
        for (size_t i = from; i < to; ++i) {
            map += '<';
            appendHexByte(map, unsigned(known[i]));
            map += "> <";
            const QString utf16 = QString::fromUcs4(&chars[known[i]], 1);
            for (const QChar unit : utf16) {
                appendHexByte(map, unit.unicode() >> 8);
                appendHexByte(map, unit.unicode() & 0xFF);
            }
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

}  // namespace

PdfCanvas::PdfCanvas(PdfPageFrame frame, std::string creator) : frame_(frame), creator_(std::move(creator))
{
    // Pixels from the top-left corner, the drawing's row `top` at the page's top.
    const double scale = frame_.pointsPerPixel;
    appendDecimal(content_, scale, 9);
    content_ += " 0 0 ";
    appendDecimal(content_, -scale, 9);
    content_ += " 0 ";
    appendDecimal(content_, frame_.heightPoints + frame_.top * scale, 9);
    content_ += " cm\n1 w 0 J 0 j 2 M\n";
    setFont(FontDesc{});
}

void PdfCanvas::useStroke(uint32_t rgb)
{
    if (strokeRgb_ != rgb)
        appendColour(content_, rgb, "RG");
    strokeRgb_ = rgb;
}

void PdfCanvas::useFill(uint32_t rgb)
{
    if (fillRgb_ != rgb)
        appendColour(content_, rgb, "rg");
    fillRgb_ = rgb;
}

void PdfCanvas::flushLines()
{
    if (lines_.segments.empty())
        return;
    useStroke(lines_.rgb);
    for (const StrokeSegment& s : lines_.segments) {
        appendNumber(content_, s.x1);
        content_ += ' ';
        appendNumber(content_, s.y1);
        content_ += " m ";
        appendNumber(content_, s.x2);
        content_ += ' ';
        appendNumber(content_, s.y2);
        content_ += " l\n";
    }
    content_ += "S\n";
    lines_.segments.clear();
}

void PdfCanvas::setFont(const FontDesc& desc)
{
    if (fontSet_ && desc == fontDesc_)
        return;
    fontSet_ = true;
    fontDesc_ = desc;
    font_ = toQFont(desc);
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    height_ = metrics.ascent() + metrics.descent();
    // The lines a font draws under or through its texts, from the baseline down.
    decorations_.clear();
    decorationThickness_ = std::max(1, metrics.lineWidth());
    if (font_.underline())
        decorations_.push_back(metrics.underlinePos());
    if (font_.strikeOut())
        decorations_.push_back(-metrics.strikeOutPos());
    texts_.clear();
}

void PdfCanvas::lineTo(int32_t x, int32_t y)
{
    const CanvasPoint from = advancePen(x, y);
    if (penIsClear() || (from.x == x && from.y == y))
        return;
    if (!lines_.takes(penRgb()))
        flushLines();
    lines_.add(penRgb(), gdiStroke(from, CanvasPoint{x, y}));
}

void PdfCanvas::polygon(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)  // GDI draws nothing for fewer than two points
        return;
    flushLines();
    const bool fill = brushIsSolid();
    const bool stroke = !penIsClear();
    if (!fill && !stroke)
        return;
    if (fill)
        useFill(brushRgb());
    if (stroke)
        useStroke(penRgb());
    for (size_t i = 0; i < points.size(); ++i) {
        appendNumber(content_, points[i].x + 0.5);
        content_ += ' ';
        appendNumber(content_, points[i].y + 0.5);
        content_ += i == 0 ? " m " : " l ";
    }
    content_ += fill && stroke ? "h B*\n" : fill ? "h f*\n" : "h S\n";
}

size_t PdfCanvas::faceFor(const QRawFont& raw)
{
    // The font engine makes up a bold or an italic that the face does not have.
    const bool bold = font_.weight() >= QFont::Bold && raw.weight() < QFont::DemiBold;
    const bool slanted = font_.italic() && raw.style() == QFont::StyleNormal;
    for (size_t i = 0; i < faces_.size(); ++i)
        if (faces_[i].raw == raw && faces_[i].bold == bold && faces_[i].slanted == slanted)
            return i;
    faces_.push_back(Face{raw, bold, slanted, {}});
    return faces_.size() - 1;
}

uint32_t PdfCanvas::codeFor(size_t face, uint32_t glyph, char32_t character)
{
    Face& f = faces_[face];
    if (const auto found = f.codes.find(glyph); found != f.codes.end()) {
        Type3Font& font = fonts_[found->second / 256];
        char32_t& known = font.chars[found->second % 256];
        if (known == 0)
            known = character;
        return found->second;
    }
    // The face's newest font while it has room, else a new one.
    size_t index = fonts_.size();
    for (size_t i = fonts_.size(); i-- > 0;) {
        if (fonts_[i].face == face) {
            if (fonts_[i].glyphs.size() < 256)
                index = i;
            break;
        }
    }
    if (index == fonts_.size())
        fonts_.push_back(Type3Font{face, {}, {}});
    Type3Font& font = fonts_[index];
    const uint32_t code = uint32_t(index * 256 + font.glyphs.size());
    font.glyphs.push_back(glyph);
    font.chars.push_back(character);
    f.codes.emplace(glyph, code);
    return code;
}

const PdfCanvas::Text& PdfCanvas::prepare(const std::string& cp932, TextWindow window)
{
    return texts_.get(cp932, window, font_, [this](const QString& string) {
        Text text;
        text.width = QFontMetrics(font_).horizontalAdvance(string);
        QTextLayout layout(string, font_);
        const QTextLine line = layOutOneLine(layout);
        if (!line.isValid())
            return text;
        const double baseline = line.ascent();
        // Each glyph's character, where the face maps one character to it: what a
        // reader copies or searches for.
        const QList<uint> characters = string.toUcs4();
        double nextX = 0;  // where the reader puts the next glyph of the last run
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QRawFont raw = run.rawFont();
            const size_t face = faceFor(raw);
            std::unordered_map<uint32_t, char32_t> charOf;
            for (const uint c : characters) {
                const QList<quint32> glyph = raw.glyphIndexesForString(QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1));
                if (glyph.size() == 1)
                    charOf.emplace(glyph[0], char32_t(c));
            }
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                const auto found = charOf.find(glyphs[i]);
                const uint32_t code = codeFor(face, glyphs[i], found == charOf.end() ? 0 : found->second);
                const double y = positions[i].y() - baseline;
                const bool goesOn = !text.runs.empty() && text.runs.back().font == code / 256 &&
                                    text.runs.back().y == y;
                if (goesOn) {
                    // Each glyph where the layout put it: the reader's own advance corrected.
                    const double gap = positions[i].x() - nextX;
                    if (std::abs(gap) > 1e-4) {
                        text.runs.back().array += "> ";
                        appendDecimal(text.runs.back().array, -gap * 1000, 2);
                        text.runs.back().array += " <";
                    }
                } else {
                    text.runs.push_back(Glyphs{code / 256, positions[i].x(), y, {}});
                }
                appendHexByte(text.runs.back().array, code % 256);
                nextX = positions[i].x() + advances.value(i).x();
            }
        }
        return text;
    });
}

void PdfCanvas::showText(const std::string& cp932, const TextSpot& spot)
{
    flushLines();
    const Text& text = prepare(cp932, textWindow(spot, cp932.size()));
    const CanvasPoint at = spot.origin(text.width, height_);
    useFill(fontDesc_.color);
    useStroke(fontDesc_.color);  // the outline of a face made bold
    const bool cut = spot.cuts(at, text.width, height_);
    if (cut) {
        // Clipped to its box, as on every other surface.
        const CanvasRect& box = *spot.box;
        content_ += "q ";
        appendInt(content_, box.left);
        content_ += ' ';
        appendInt(content_, box.top);
        content_ += ' ';
        appendInt(content_, int64_t{box.right} - box.left);
        content_ += ' ';
        appendInt(content_, int64_t{box.bottom} - box.top);
        content_ += " re W n\n";
    }
    const double baseline = double(at.y) + ascent_;
    if (!text.runs.empty()) {
        content_ += "BT\n";
        for (const Glyphs& run : text.runs) {
            content_ += "/T";
            appendInt(content_, run.font);
            content_ += " 1 Tf 1 0 ";
            appendDecimal(content_, faces_[fonts_[run.font].face].slanted ? kSlant : 0.0, 4);
            content_ += " -1 ";
            appendDecimal(content_, at.x + run.x, 4);
            content_ += ' ';
            appendDecimal(content_, baseline + run.y, 4);
            content_ += " Tm [<";
            content_ += run.array;
            content_ += ">] TJ\n";
        }
        content_ += "ET\n";
    }
    for (const int below : decorations_) {
        appendInt(content_, at.x);
        content_ += ' ';
        appendDecimal(content_, baseline + below - decorationThickness_ / 2.0, 2);
        content_ += ' ';
        appendInt(content_, text.width);
        content_ += ' ';
        appendInt(content_, decorationThickness_);
        content_ += " re f\n";
    }
    if (cut) {
        content_ += "Q\n";
        strokeRgb_ = fontDesc_.color;  // as set before the clip
        fillRgb_ = fontDesc_.color;
    }
}

void PdfCanvas::finish(ByteSink& sink)
{
    flushLines();
    PdfFile file(sink);
    file.write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");

    // The drawing, compressed for speed rather than size: a busy chart is a few
    // megabytes of operators that even the fastest level shrinks sixfold.
    const QByteArray packed = qCompress(reinterpret_cast<const uchar*>(content_.data()), qsizetype(content_.size()), 1);
    content_.clear();
    content_.shrink_to_fit();
    const int contents = file.reserve();
    file.stream(contents, "/Filter /FlateDecode",
                std::string_view(packed.constData() + 4, size_t(packed.size() - 4)));  // after qCompress's length

    std::string fontResources;
    for (size_t f = 0; f < fonts_.size(); ++f) {
        const Type3Font& font = fonts_[f];
        const Face& face = faces_[font.face];
        const double thickness = face.bold ? std::max(0.5, face.raw.pixelSize() / 24.0) : 0;
        const QList<QPointF> advances = face.raw.advancesForGlyphIndexes(QList<quint32>(font.glyphs.begin(), font.glyphs.end()));
        std::string procs, widths, names;
        QRectF bounds;
        for (size_t code = 0; code < font.glyphs.size(); ++code) {
            const QPainterPath outline = face.raw.pathForGlyph(font.glyphs[code]);
            const QRectF box = outline.controlPointRect().adjusted(-thickness, -thickness, thickness, thickness);
            bounds |= box;
            std::string proc;
            appendDecimal(proc, advances.value(qsizetype(code)).x(), 4);
            proc += " 0 ";
            for (const double v : {box.left(), box.top(), box.right(), box.bottom()}) {
                appendDecimal(proc, v, 2);
                proc += ' ';
            }
            proc += "d1\n";
            // A blank glyph (a space) paints nothing: a fill without a path is an error.
            if (!outline.isEmpty()) {
                if (face.bold) {
                    appendDecimal(proc, thickness, 3);
                    proc += " w 1 j\n";
                }
                appendOutline(proc, outline);
                proc += face.bold ? "B\n" : "f\n";
            }
            const int object = file.reserve();
            file.stream(object, "", proc);
            procs += "/g";
            appendInt(procs, int64_t(code));
            procs += ' ';
            appendInt(procs, object);
            procs += " 0 R ";
            names += " /g";
            appendInt(names, int64_t(code));
            appendDecimal(widths, advances.value(qsizetype(code)).x(), 4);
            widths += ' ';
        }
        const int unicode = file.reserve();
        file.stream(unicode, "", toUnicodeMap(font.chars));
        // Outlines run down the page, as the drawing's pixels do; the font matrix turns
        // them up, as readers expect text to stand, and each text's matrix turns them
        // back onto the pixels.
        std::string dictionary = "<< /Type /Font /Subtype /Type3 /FontBBox [";
        for (const double v : {bounds.left(), bounds.top(), bounds.right(), bounds.bottom()}) {
            appendDecimal(dictionary, v, 2);
            dictionary += ' ';
        }
        dictionary += "] /FontMatrix [1 0 0 -1 0 0] /CharProcs << " + procs +
                      ">> /Encoding << /Type /Encoding /Differences [0" + names + "] >> /FirstChar 0 /LastChar ";
        appendInt(dictionary, int64_t(font.glyphs.size()) - 1);
        dictionary += " /Widths [" + widths + "] /Resources << >> /ToUnicode ";
        appendInt(dictionary, unicode);
        dictionary += " 0 R >>";
        const int object = file.reserve();
        file.object(object, dictionary);
        fontResources += "/T";
        appendInt(fontResources, int64_t(f));
        fontResources += ' ';
        appendInt(fontResources, object);
        fontResources += " 0 R ";
    }

    const int page = file.reserve();
    const int pages = file.reserve();
    std::string body = "<< /Type /Page /Parent ";
    appendInt(body, pages);
    body += " 0 R /MediaBox [0 0 ";
    appendDecimal(body, frame_.widthPoints, 4);
    body += ' ';
    appendDecimal(body, frame_.heightPoints, 4);
    body += "] /Resources << /Font << " + fontResources + ">> >> /Contents ";
    appendInt(body, contents);
    body += " 0 R >>";
    file.object(page, body);
    body = "<< /Type /Pages /Kids [";
    appendInt(body, page);
    body += " 0 R] /Count 1 >>";
    file.object(pages, body);
    const int root = file.reserve();
    body = "<< /Type /Catalog /Pages ";
    appendInt(body, pages);
    body += " 0 R >>";
    file.object(root, body);
    const int info = file.reserve();
    file.object(info, "<< /Creator " + literal(creator_) + " /Producer " + literal(creator_) + " >>");
    file.finish(root, info);
}

}  // namespace solvena

#include "render/TextFit.h"

#include "text/Cp932.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace solvena {

namespace {

QString toQString(const std::u16string& units)
{
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

// Whether a CP932 byte can begin a two-byte character.
bool isLeadByte(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// An offset at or before `at` from which decoding gives the same characters as
// decoding from the start: one right after a byte that cannot begin a two-byte
// character, for such a byte ends whatever character it is part of.
size_t characterStartBefore(std::string_view bytes, size_t at)
{
    while (at > 0 && isLeadByte(bytes[at - 1]))
        --at;
    return at;
}

// `take` units from the anchored end, widened so that no surrogate pair is split.
QString piece(const QString& text, qsizetype take, TextWindow::Anchor anchor)
{
    const qsizetype n = text.size();
    if (take >= n)
        return text;
    if (anchor == TextWindow::Anchor::Left) {
        if (text[take - 1].isHighSurrogate() && text[take].isLowSurrogate())
            ++take;
        return text.left(take);
    }
    if (text[n - take].isLowSurrogate() && text[n - take - 1].isHighSurrogate())
        ++take;
    return text.right(take);
}

}  // namespace

TextWindow textWindow(const TextSpot& spot, size_t bytes)
{
    if (!spot.box || bytes <= kShortTextBytes || (spot.placed && (spot.flags & TextFlag::Center)))
        return {};
    const CanvasRect& box = *spot.box;
    if (spot.placed && (spot.flags & TextFlag::Right))
        return {TextWindow::Anchor::Right, std::max<int64_t>(0, int64_t{box.right} - box.left)};
    const int64_t left = spot.placed ? box.left : spot.at.x;
    return {TextWindow::Anchor::Left, std::max<int64_t>(0, int64_t{box.right} - left)};
}

QString shownText(const std::string& cp932, const QFont& font, TextWindow window)
{
    if (window.anchor == TextWindow::Anchor::Whole)
        return toQString(cp932ToUtf16(cp932));

    const QFontMetrics metrics(font);
    const int64_t reach = window.room + 2 * int64_t{metrics.ascent() + metrics.descent()};
    const int64_t most = std::max<int64_t>(int64_t{kShortTextBytes}, 4 * reach);

    // A unit takes one or two bytes: the `most` units at the anchor lie in the 2 * most
    // bytes there, whatever the rest holds. The rest is not decoded.
    const std::string_view bytes(cp932);
    const size_t span = static_cast<size_t>(std::min<int64_t>(int64_t(bytes.size()), 2 * most + 1));
    QString text;
    if (window.anchor == TextWindow::Anchor::Left) {
        text = toQString(cp932ToUtf16(bytes.substr(0, span)));
        if (span < bytes.size())
            text.truncate(static_cast<qsizetype>(most));  // the last unit may be cut in two
    } else {
        const size_t from = characterStartBefore(bytes, bytes.size() - span);
        text = toQString(cp932ToUtf16(bytes.substr(from)));
        if (from > 0)
            text = text.right(static_cast<qsizetype>(most));
    }

    const QFontMetricsF measure(font);
    for (qsizetype take = static_cast<qsizetype>(kShortTextBytes);; take *= 2) {
        if (take >= text.size())
            return text;
        QString part = piece(text, take, window.anchor);
        if (take >= most || measure.horizontalAdvance(part) > double(reach))
            return part;
    }
}

QTextLine layOutOneLine(QTextLayout& layout)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e9);
        line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    return line;
}

std::vector<int32_t> unitAdvances(const QString& text, const QFont& font)
{
    const qsizetype n = text.size();
    std::vector<int32_t> advances;
    if (n == 0)
        return advances;

    // One layout: each glyph where the painter puts it.
    QTextLayout layout(text, font);
    const QTextLine line = layOutOneLine(layout);

    std::vector<qsizetype> starts;  // the units where a character begins
    for (qsizetype i = 0; i < n; ++i)
        if (!(i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate()))
            starts.push_back(i);
    std::vector<double> glyphX;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const QPointF& at : run.positions())
            glyphX.push_back(at.x());
    std::sort(glyphX.begin(), glyphX.end());

    // Where unit i begins; a pair's second unit begins where the next character does.
    std::vector<int32_t> begin(static_cast<size_t>(n) + 1);
    const auto rounded = [](double x) { return static_cast<int32_t>(std::lround(x)); };
    if (glyphX.size() == starts.size()) {
        for (size_t k = 0; k < starts.size(); ++k)
            begin[static_cast<size_t>(starts[k])] = rounded(glyphX[k]);
    } else {
        // Glyphs that are not one per character (a ligature, a character with no
        // glyph): the layout tells where each character's cursor stands instead.
        for (const qsizetype i : starts)
            begin[static_cast<size_t>(i)] = rounded(line.cursorToX(static_cast<int>(i)));
    }
    begin[static_cast<size_t>(n)] = rounded(QFontMetricsF(font).horizontalAdvance(text));
    for (qsizetype i = n - 1; i > 0; --i)
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            begin[static_cast<size_t>(i)] = begin[static_cast<size_t>(i) + 1];

    advances.reserve(static_cast<size_t>(n));
    for (size_t i = 0; i < static_cast<size_t>(n); ++i)
        advances.push_back(begin[i + 1] - begin[i]);
    return advances;
}

}  // namespace solvena

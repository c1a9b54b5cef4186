// The part of a text that is laid out where it can show, and each unit's advance
// from one layout of the text.
#include "render/QtFont.h"
#include "render/TextFit.h"
#include "text/Cp932.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>

using namespace solvena;

namespace {

struct FitCase {
    const char* what;
    std::string cp932;
    TextWindow window;
    qsizetype shown;  // units laid out, from the anchored end
};

// 'W' is 6.5 pixels wide in the grid font: 256 of them pass a box of 1,600 pixels
// with its margin, 512 one of 3,000.
TEST(TextFit, LaysOutTheWholeTextOrThePieceAtItsAnchor)
{
    const QFont font = toQFont(FontDesc{"MS Gothic", 0, 13});
    std::string marked(1000000, 'W');
    marked.front() = 'A';
    marked.back() = 'Z';
    const FitCase cases[] = {
        {"short, in no room", std::string(kShortTextBytes, 'W'), {TextWindow::Anchor::Left, 0}, 256},
        {"long but fits", std::string(3000, 'i'), {TextWindow::Anchor::Left, 20000}, 3000},
        {"not to be cut", marked, {}, 1000000},
        {"from the left", marked, {TextWindow::Anchor::Left, 78}, 256},
        {"from the right", marked, {TextWindow::Anchor::Right, 78}, 256},
        {"a wider box", marked, {TextWindow::Anchor::Left, 3000}, 512},
    };
    for (const FitCase& c : cases) {
        const QString shown = shownText(c.cp932, font, c.window);
        EXPECT_EQ(shown.size(), c.shown) << c.what;
        const QString all = QString::fromStdString(c.cp932);
        EXPECT_EQ(shown, c.window.anchor == TextWindow::Anchor::Right ? all.right(c.shown) : all.left(c.shown))
            << c.what;
    }
}

// The advances of texts that fit are those of every prefix measured on its own, as
// the metafile has always had them: the layout is made once, not once per unit.
TEST(TextFit, AdvancesAreThoseOfEveryPrefixMeasuredAlone)
{
    FontDesc bold{"MS Gothic", 0, 20};
    bold.bold = true;
    for (const FontDesc& desc : {FontDesc{"MS Gothic", 0, 13}, FontDesc{"MS PGothic", 0, 13}, bold}) {
        const QFont font = toQFont(desc);
        const QFontMetricsF metrics(font);
        for (const std::u16string& text : {std::u16string(u"端子名Ab"), std::u16string(u"ｱｲｳ-Wiiij.,;①～－髙"),
                                          std::u16string(u"CLK_OUT[3] ﾃﾞｰﾀ データ"), std::u16string(u"a\U0001F600b")}) {
            const QString string = QString::fromStdU16String(text);
            int32_t previous = 0;
            std::vector<int32_t> expected;
            for (qsizetype i = 1; i <= string.size(); ++i) {
                const qsizetype end = i < string.size() && string[i].isLowSurrogate() ? i + 1 : i;
                const auto next = static_cast<int32_t>(std::lround(metrics.horizontalAdvance(string.left(end))));
                expected.push_back(next - previous);
                previous = next;
            }
            EXPECT_EQ(unitAdvances(string, font), expected) << string.toStdString() << " " << desc.pixelSize;
        }
    }
}

}  // namespace

namespace {

// The cache hands back what was made for the same bytes, through its memory of recent
// texts as through its tables, and makes a text again after it started over: texts
// that share a slot of that memory, or outlive a start, must never get another's.
TEST(TextCacheTest, GivesEachTextItsOwnAndForgetsAllWhenStartingOver)
{
    const QFont font = toQFont(FontDesc{"MS Gothic", 0, 13});
    int starts = 0;
    TextCache<std::string> cache(3, 1 << 20, [&] { ++starts; });
    int made = 0;
    const auto get = [&](const std::string& text) {
        return cache.get(text, TextWindow{}, font, [&](const QString& shown) {
            ++made;
            return shown.toStdString() + "#" + std::to_string(made);
        });
    };
    struct Step {
        std::string text;
        std::string want;
        int starts;
    };
    // "0" and "8" share a slot of the memory, "1" and "01" another; the 17 bytes of the
    // long label are more than it keeps.
    const Step steps[] = {
        {"0", "0#1", 0},
        {"8", "8#2", 0},
        {"0", "0#1", 0},
        {"a long label, 17", "a long label, 17#3", 0},
        {"a long label, 17", "a long label, 17#3", 0},
        {"01", "01#4", 1},  // the fourth text: the cache starts over
        {"0", "0#5", 1},
        {"01", "01#4", 1},
        {"1", "1#6", 1},
        {"01", "01#4", 1},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(get(step.text), step.want) << step.text;
        EXPECT_EQ(starts, step.starts) << step.text;
    }
}

}  // namespace

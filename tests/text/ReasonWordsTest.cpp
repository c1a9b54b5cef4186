// Reasons worded by the front ends: the window's Japanese, the command line's English
// from the catalogue built with the program, and the choice between them.
#include "text/ReasonWords.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace solvena;

using namespace Qt::StringLiterals;

namespace {

const ReasonWords& japanese()
{
    static const ReasonWords words(Language::Japanese);
    return words;
}

const ReasonWords& english()
{
    static const ReasonWords words(Language::English);
    return words;
}

struct WordedCase {
    const char* label;
    Reason reason;
    const char* japanese;
    const char* english;
};

const WordedCase kWorded[] = {
    {"ChartLineAndNumbers",
     atLine(3, Reason(ReasonKind::ChartStepsDisagree, {1, 2})),
     "3 行目: ステップが 1 個あり、1 行目の列の 2 ステップと合いません",
     "line 3: The number of steps (1) differs from that of the columns of line 1 (2)"},
    {"AWordInside",
     Reason(ReasonKind::NotRegularOfKind, {Reason(ReasonKind::FileFifo)}),
     "通常のファイルではありません（名前付きパイプ）", "Not a regular file (a named pipe)"},
    {"TheSystemsErrno", Reason(ReasonKind::System, {ENOENT}), "ファイルまたはフォルダがありません",
     "No such file or directory"},
    {"ANameKeepsItsPercentSigns", Reason(ReasonKind::VcdNoSuchSignal, {"%2%1"}), "信号「%2%1」はダンプにありません",
     "The dump has no signal '%2%1'"},
    {"ACauseInsideACause",
     Reason(ReasonKind::WaveNotJson5, {Reason(ReasonKind::Json5At, {1, 20, Reason(ReasonKind::Json5NeedCommaOrBrace)})}),
     "WaveJSON として読めません（1行20列: 「,」か「}」が必要です）",
     "Not readable as WaveJSON (line 1, column 20: \",\" or \"}\" expected)"},
    {"ListAndNamesWithMore",
     Reason(ReasonKind::Sentences,
            {Reason(ReasonKind::WaveLeftOut,
                    {Reason(ReasonKind::List, {Reason(ReasonKind::WaveNodes, {2}), Reason(ReasonKind::Names, {"head", 0})})}),
             Reason(ReasonKind::WaveReadAsUndefined, {Reason(ReasonKind::Names, {"z", "u", 3})})}),
     "チャートに入らないため省いたもの: node 2個、head。不定として取り込んだ文字: z, u ほか3件",
     "Left out, as a chart cannot hold them: nodes: 2, head. Read as undefined: z, u and 3 more"},
    {"OneArgumentGiven", Reason(ReasonKind::UsageArgumentCount, {1}), "CHART と OUTPUT が必要ですが、引数は 1 個です",
     "CHART and OUTPUT are needed, 1 argument was given"},
    {"ThreeArgumentsGiven", Reason(ReasonKind::UsageArgumentCount, {3}), "CHART と OUTPUT が必要ですが、引数は 3 個です",
     "CHART and OUTPUT are needed, 3 arguments were given"},
    {"NoReason", Reason(), "", ""},
};

class ReasonWorded : public testing::TestWithParam<WordedCase> {};

TEST_P(ReasonWorded, InBothLanguages)
{
    const WordedCase& t = GetParam();
    EXPECT_EQ(japanese()(t.reason).toStdString(), t.japanese);
    EXPECT_EQ(english()(t.reason).toStdString(), t.english);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReasonWorded, testing::ValuesIn(kWorded),
                         [](const testing::TestParamInfo<WordedCase>& info) { return std::string(info.param.label); });

// The places a worded reason filled, by the marks given for them.
QSet<QString> placesIn(const QString& text)
{
    QSet<QString> places;
    const QRegularExpression mark(u"<[1-9]>"_s);
    for (auto it = mark.globalMatch(text); it.hasNext();)
        places.insert(it.next().captured());
    return places;
}

// Every kind has its words in both languages, and the English fills the same places:
// a text added to the code without its English fails here, not in a user's terminal.
TEST(ReasonWords, EveryKindIsWordedInBothLanguages)
{
    std::vector<ReasonArg> marks;
    for (int i = 1; i <= 9; ++i)
        marks.emplace_back("<" + std::to_string(i) + ">");
    const QRegularExpression japaneseCharacter(u"[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"_s);
    for (int k = 1; k < int(ReasonKind::Count); ++k) {
        const auto kind = ReasonKind(k);
        if (kind == ReasonKind::List || kind == ReasonKind::Names || kind == ReasonKind::Sentences ||
            kind == ReasonKind::System || kind == ReasonKind::SystemText || kind == ReasonKind::UsageArgumentCount)
            continue;
        SCOPED_TRACE("kind " + std::to_string(k));
        const QString ja = japanese()(Reason(kind, marks));
        const QString en = english()(Reason(kind, marks));
        EXPECT_FALSE(ja.isEmpty());
        EXPECT_TRUE(ja.contains(japaneseCharacter) || kind == ReasonKind::Json5At) << ja.toStdString();
        EXPECT_FALSE(en.contains(japaneseCharacter)) << en.toStdString();
        EXPECT_EQ(placesIn(en), placesIn(ja)) << ja.toStdString() << " / " << en.toStdString();
    }
}

// Errnos the program words itself in Japanese; in English they read as the system's
// own English says them.
TEST(ReasonWords, SystemErrorsInTheLanguage)
{
    for (const int error : {EACCES, ENOSPC, EFBIG, EROFS, EISDIR, ELOOP, EBADF, EPIPE}) {
        SCOPED_TRACE(error);
        EXPECT_FALSE(japanese().systemError(error).isEmpty());
        EXPECT_NE(japanese().systemError(error), english().systemError(error));
        EXPECT_EQ(english().systemError(error).toStdString(), strerrordesc_np(error));
    }
    // One the program does not word: the system's words, in the user's locale if it can.
    EXPECT_FALSE(japanese().systemError(EPROTO).isEmpty());
    const ReasonWords window(Language::Japanese, ReasonWords::SystemErrors::AsTheSystemSays);
    EXPECT_EQ(window.systemError(ENOSPC), qt_error_string(ENOSPC));
}

struct LocaleCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Language language;
};

TEST(ReasonWords, LanguageFollowsTheLocaleAsGettextChoosesIt)
{
    const LocaleCase cases[] = {
        {nullptr, nullptr, nullptr, Language::English},
        {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
        {nullptr, nullptr, "ja", Language::Japanese},
        {nullptr, nullptr, "ja_JP.eucJP@euro", Language::Japanese},
        {nullptr, nullptr, "C", Language::English},
        {nullptr, nullptr, "jam_JM", Language::English},
        {nullptr, "ja_JP.UTF-8", "C", Language::Japanese},
        {"C.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},
        {"", "", "ja_JP.UTF-8", Language::Japanese},
        {"ja_JP.UTF-8", "en_US.UTF-8", "C", Language::Japanese},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " + (c.lcMessages ? c.lcMessages : "-") + " " +
                     (c.lang ? c.lang : "-"));
        EXPECT_EQ(messageLanguage(c.lcAll, c.lcMessages, c.lang), c.language);
    }
}

}  // namespace

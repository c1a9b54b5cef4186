#pragma once
// Why something could not be read or written, or what a reader noticed on the way: a
// kind and the values it names (a line, a signal, a limit, an errno, a word from the
// file). The core hands reasons out as values and never words them; each front end
// words them in its own language (text/ReasonWords.h), so the window says them in
// Japanese and the command line in the user's language, from the same value.

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace solvena {

// Every reason the core gives. After each, the values it carries, in order; "text" is
// a string from the user's data or a name (UTF-8, or a file name's bytes), "reason" a
// part worded in its own turn (a word, a list, a cause).
enum class ReasonKind : uint16_t {
    None,

    // Pieces that join other reasons.
    List,        // reason or text, ...: joined by the language's list separator
    Names,       // text, ..., then an integer of names left unshown (0 for none)
    Sentences,   // reason, ...: joined as sentences
    AtLine,      // line, reason: where in a file the reason stands

    // The system and the file layer.
    System,              // errno
    SystemText,          // text: words from elsewhere (the system, a library), shown as they are
    FileTooLarge,
    FileReadOnly,
    NotRegularFile,      // (no kind known)
    NotRegularOfKind,    // reason: one of the File* words below
    FileFolder,
    FileFifo,
    FileSocket,
    FileDevice,
    LinkLoop,            // text: the link
    LinkDangling,        // text: the last link, text: the name it leads to
    TargetUnknown,       // text: the name written
    CannotMakeFolder,    // text: the folder
    CannotLock,          // text: the lock file
    StandardOutputClosed,

    // The chart file, reading (at a line) and writing.
    ChartNotInteger,
    ChartBeyond32Bits,
    ChartEndsInsideLine,
    ChartNulByte,
    ChartEmpty,
    ChartTooManyColumns,     // limit
    ChartColumnWidthRange,   // lowest, highest
    ChartTooManySignals,     // limit
    ChartTooManySteps,       // limit
    ChartStepsDisagree,      // steps of the line, steps of line 1
    ChartColumnCountRange,   // lowest, highest
    ChartRowCountRange,      // lowest, highest
    ChartNameLineBreak,      // signal's place (1-based)
    ChartNameNul,            // signal's place

    // The recovery copy.
    RecoveryNotACopy,
    RecoveryHeaderDamaged,
    RecoveryChartAt,         // line, reason

    // JSON5 text (at a line and column).
    Json5At,                 // line, column, reason
    Json5TooLarge,           // limit in MiB
    Json5BadUtf8,
    Json5TooDeep,
    Json5TrailingText,
    Json5NeedCommaOrBracket,
    Json5NeedCommaOrBrace,
    Json5OpenComment,
    Json5NeedKey,
    Json5NeedColon,
    Json5UnknownWord,
    Json5NeedValueAtEnd,
    Json5NeedValue,
    Json5BadNumber,
    Json5NeedHexDigit,
    Json5NeedExponentDigit,
    Json5TextAfterNumber,
    Json5BadUnicodeEscape,
    Json5LoneSurrogate,
    Json5OpenString,
    Json5LineBreakInString,
    Json5DigitAfterZeroEscape,
    Json5BadHexEscape,
    Json5DigitEscape,
    Json5KeyEscapeNeedsU,
    Json5BadKeyEscape,

    // WaveJSON, reading.
    WaveSignalByPlace,       // place (1-based)
    WaveSignalByName,        // text
    WaveNotJson5,            // reason (Json5At)
    WaveTopNotObject,
    WaveIsAssign,
    WaveIsReg,
    WaveNoSignalArray,
    WaveStrayItem,           // place the item stands at
    WaveTooManySignals,      // signals, limit
    WaveNameNotString,       // reason: the signal
    WaveWaveNotString,       // reason: the signal
    WavePeriodNotNumber,     // reason: the signal
    WavePeriodRange,         // reason: the signal, text: the value, highest
    WavePhaseNotNumber,      // reason: the signal
    WavePhaseRange,          // reason: the signal, text: the value, lowest, highest
    WaveNameLineBreakOrNul,  // reason: the signal
    WaveNameNotCp932,        // reason: the signal
    WaveTooManySteps,        // steps, limit
    WaveTooManyStepsSplit,   // steps, limit, columns a step takes
    WaveLeftOut,             // reason (List): what the chart leaves out
    WaveReadAsUndefined,     // reason (Names): characters read as undefined
    WaveDataLabels,          // count
    WaveNodes,               // count
    WaveEdges,               // count
    WaveGaps,                // count
    WaveGroupCaptions,       // count, reason (Names)

    // WaveJSON, writing.
    WaveExportNameNotCp932,        // row
    WaveExportNameLineBreakOrNul,  // row
    WaveExportLeftOut,             // reason (List) of the words below
    WaveExportDelays,
    WaveExportArrows,
    WaveExportNumberLabels,
    WaveExportTimingLines,
    WaveExportColumnWidths,

    // Pictures.
    PictureSizeInvalid,      // width, height
    PictureTooLarge,         // width, height, limit
    PictureNoMemory,
    PaintCannotStart,
    PaintCannotFinish,

    // Times as people write them.
    TimeEmpty,
    TimeNotANumber,
    TimeNoUnit,
    TimeUnknownUnit,
    TimeTooFine,
    TimeTooLarge,

    // Value change dumps, reading (at a line).
    VcdCannotRead,           // reason: the system's
    VcdNulByte,
    VcdWordTooLong,          // limit in bytes
    VcdNoEndDefinitions,
    VcdNeedDeclaration,      // text: the word found
    VcdNoTimescale,          // (a note)
    VcdUpscopeWithoutScope,
    VcdEndWithoutDeclaration,
    VcdDataBeforeDefinitionsEnd,  // text: the keyword
    VcdDeclarationSkipped,   // text: the keyword (a note)
    VcdNeedWordAtEnd,        // reason: what is needed (a VcdWord*)
    VcdNeedWordGotEnd,       // reason: what is needed
    VcdNeedEndAtEnd,         // text: the keyword
    VcdNeedEndGot,           // text: the keyword, text: the word found
    VcdNoEnd,                // text: the keyword
    VcdSectionOpenAtEnd,     // text: the section
    VcdBadTimescale,         // text: what was written
    VcdTooManyScopes,        // limit
    VcdTooManyVars,          // limit
    VcdBadWidth,             // highest, text: the word found
    VcdNeedIndexOrEnd,       // text: the word found
    VcdIndexTooLong,
    VcdUndeclaredId,         // text: the code
    VcdNeedIdAfterValue,     // text: the value
    VcdNeedIdAfterVector,    // text: the value
    VcdNeedTime,             // text: the word found
    VcdTimeTooLarge,         // text: the word
    VcdTimeBack,             // the time before, text: the word found
    VcdNeedBits,             // text: the word found
    VcdVectorTooWide,        // bits, text: the code, width
    VcdNeedReal,             // text: the word found
    VcdEndWithoutSection,
    VcdNeedChange,           // text: the word found
    VcdWordScopeType,
    VcdWordScopeName,
    VcdWordVarType,
    VcdWordVarWidth,
    VcdWordVarId,
    VcdWordVarName,

    // Value change dumps, sampled into a chart.
    VcdAmbiguous,            // text: the name, reason (List): candidates, reason: VcdAndOthers or none
    VcdAndOthers,
    VcdNotVector,            // text: the name
    VcdNoSuchBit,            // text: the name, text: the bit asked, msb, lsb
    VcdNoSuchSignal,         // text: the name
    VcdNoScalars,
    VcdFirstScalarsTaken,    // signals, limit (a note)
    VcdTooManyRows,          // rows, limit
    VcdClockNotOneBit,       // text: the name
    VcdNameNotCp932,         // text: the name
    VcdTimeNotTickMultiple,  // reason (VcdWordStart or VcdWordStepTime), text: the time, text: the unit
    VcdWordStart,
    VcdWordStepTime,
    VcdStepZero,
    VcdNoClockEdge,          // text: the start
    VcdStartAfterEnd,        // text: the start, text: the last time
    VcdCutShort,             // reason (VcdWordClockEdges or VcdWordDump), text: the time, steps (a note)
    VcdWordClockEdges,
    VcdWordDump,
    VcdStepsRange,           // highest
    VcdNegativeTime,

    // The command line.
    UsageTakesNoValue,       // text: the option
    UsageNeedsNumber,        // text: the option
    UsageNumberRange,        // text: the option, lowest, highest, text: what was given
    UsageNeedsFontFamily,    // text: the option
    UsageNeedsFormat,        // text: the option
    UsageNeedsValue,         // text: the option
    UsageUnknownOption,      // text: the option
    UsageArgumentCount,      // arguments given
    UsageEmptyArgument,
    UsageUnknownFormat,      // text: the format
    UsageFormatForStandardOutput,
    UsageFormatUnknownFromName,  // text: the output
    UsageVcdEmptySignal,     // text: the list given
    UsageVcdNeedsClock,      // text: the option
    UsageVcdBadTime,         // text: the option, text: what was given, reason: the Time* kind
    UsageVcdZeroStep,        // text: the option
    UsageVcdClockAndStep,
    UsageNeedsFolder,        // text: the option
    UsageNoCharts,
    UsageListTwice,
    UsageOutDirNeedsFormat,
    UsageSameOutput,         // text: a chart, text: another chart, text: the output both would be
    UsageOutputIsChart,      // text: the output, text: the chart it is

    Count
};

struct Reason;

// One value a reason names.
class ReasonArg {
public:
    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
    ReasonArg(T number) : value_(static_cast<int64_t>(number))
    {
    }
    ReasonArg(std::string text) : value_(std::move(text)) {}
    ReasonArg(std::string_view text) : value_(std::string(text)) {}
    ReasonArg(const char* text) : value_(std::string(text)) {}
    ReasonArg(Reason reason);

    const int64_t* number() const { return std::get_if<int64_t>(&value_); }
    const std::string* text() const { return std::get_if<std::string>(&value_); }
    const Reason* reason() const;

    bool operator==(const ReasonArg& other) const;

private:
    // A part is shared, never changed, so reasons copy cheaply.
    std::variant<int64_t, std::string, std::shared_ptr<const Reason>> value_;
};

struct Reason {
    ReasonKind kind = ReasonKind::None;
    std::vector<ReasonArg> args;

    Reason() = default;
    Reason(ReasonKind kind, std::vector<ReasonArg> args = {}) : kind(kind), args(std::move(args)) {}

    // No reason: nothing went wrong, nothing was noticed.
    bool empty() const { return kind == ReasonKind::None; }
    bool operator==(const Reason&) const = default;
};

// The reason, placed at a 1-based line of the file it is about.
Reason atLine(int64_t line, Reason reason);

// A failure the core throws where a result cannot carry it; what() is for logs only,
// the front end words reason().
class ReasonError : public std::runtime_error {
public:
    explicit ReasonError(Reason reason);
    const Reason& reason() const { return reason_; }

private:
    Reason reason_;
};

// For test failures and logs: the kind's number and the values, never for the user.
std::ostream& operator<<(std::ostream& out, const Reason& reason);

}  // namespace solvena

#include "text/ReasonWords.h"

#include "storage/NativePath.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTranslator>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

#ifndef _WIN32
#include <locale.h>
#endif

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

constexpr char kContext[] = "Reason";

bool namesJapanese(std::string_view locale)
{
    return locale.starts_with("ja") &&
           (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@');
}

// The common errnos in the program's own Japanese; the rest as the system words them.
const char* japaneseErrno(int error)
{
    switch (error) {
    case ENOENT: return "ファイルまたはフォルダがありません";
    case EACCES: return "アクセスが許可されていません";
    case EPERM: return "操作が許可されていません";
    case ENOSPC: return "ディスクに空きがありません";
#ifdef EDQUOT
    case EDQUOT: return "ディスクの使用量の上限を超えています";
#endif
    case EFBIG: return "ファイルの大きさの上限を超えています";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EISDIR: return "フォルダです";
    case ENOTDIR: return "フォルダではありません";
    case ELOOP: return "シンボリックリンクの段数が多すぎます";
    case ENAMETOOLONG: return "名前が長すぎます";
    case EEXIST: return "すでにあります";
    case EBADF: return "ファイル記述子が正しくありません";
    case EINVAL: return "引数が正しくありません";
    case EIO: return "入出力エラーです";
    case EPIPE: return "パイプの読み手がいません";
    case EMFILE: return "開いているファイルが多すぎます";
    case ENFILE: return "システム全体で開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case ETXTBSY: return "実行中のファイルです";
    case EBUSY: return "使用中です";
    case ENXIO: return "デバイスまたはアドレスがありません";
    case ENODEV: return "デバイスがありません";
    case EAGAIN: return "一時的に使えません";
    case EXDEV: return "ファイルシステムをまたいでいます";
    case ENOTEMPTY: return "フォルダが空ではありません";
    case EINTR: return "割り込まれました";
#ifdef ESTALE
    case ESTALE: return "ファイルハンドルが古くなっています";
#endif
    case ENOTSUP: return "この操作はできません";
    default: return nullptr;
    }
}

// strerror in a locale named as setlocale names one ("C": the system's English).
QString systemWords(int error, const char* locale)
{
#ifndef _WIN32
    if (const locale_t chosen = ::newlocale(LC_ALL_MASK, locale, locale_t(nullptr))) {
        const QString text = QString::fromLocal8Bit(::strerror_l(error, chosen));
        ::freelocale(chosen);
        return text;
    }
#else
    (void)locale;
#endif
    return qt_error_string(error);
}

}  // namespace

Language messageLanguage(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return namesJapanese(value) ? Language::Japanese : Language::English;
    return Language::English;
}

Language messageLanguageOfEnvironment()
{
    return messageLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

QString fillPlaces(const QString& pattern, const QStringList& args)
{
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size()) {
            const int digit = pattern[i + 1].digitValue();
            if (digit >= 1 && digit <= args.size()) {
                out += args[digit - 1];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

ReasonWords::ReasonWords(Language language, SystemErrors systemErrors)
    : language_(language), systemErrors_(systemErrors)
{
    if (language_ == Language::Japanese)
        return;
    catalogue_ = std::make_unique<QTranslator>();
    if (!catalogue_->load(u":/i18n/solvena_en.qm"_s))
        throw std::logic_error("the English catalogue is not built into the program");
}

ReasonWords::~ReasonWords() = default;

QString ReasonWords::text(const char* context, const char* japanese, int count) const
{
    QString words;
    if (catalogue_)
        words = catalogue_->translate(context, japanese, nullptr, count);
    if (words.isEmpty())
        words = QString::fromUtf8(japanese);
    if (count >= 0)
        words.replace(u"%n"_s, QString::number(count));
    return words;
}

QString ReasonWords::systemError(int error) const
{
    if (systemErrors_ == SystemErrors::AsTheSystemSays)
        return qt_error_string(error);
    if (language_ == Language::English)
        return systemWords(error, "C");
    if (const char* words = japaneseErrno(error))
        return QString::fromUtf8(words);
    // A rare one: the system's words in the user's locale are the best there are.
    return systemWords(error, "");
}

QString ReasonWords::operator()(const Reason& reason) const
{
    QStringList args;
    for (const ReasonArg& arg : reason.args) {
        if (const int64_t* number = arg.number())
            args << QString::number(*number);
        else if (const std::string* text = arg.text())
            args << pathFromNativeBytes(*text);
        else
            args << (*this)(*arg.reason());
    }
    switch (reason.kind) {
    case ReasonKind::None:
    case ReasonKind::Count:
        return {};
    case ReasonKind::List:
        return args.join(text(kContext, QT_TRANSLATE_NOOP("Reason", "、")));
    case ReasonKind::Names: {
        // The names, then how many more there are.
        const qsizetype more = args.isEmpty() ? 0 : args.takeLast().toLongLong();
        QString names = args.join(u", "_s);
        if (more > 0)
            names += fillPlaces(text(kContext, QT_TRANSLATE_NOOP("Reason", " ほか%1件")), {QString::number(more)});
        return names;
    }
    case ReasonKind::Sentences:
        return args.join(text(kContext, QT_TRANSLATE_NOOP("Reason", "。")));
    case ReasonKind::System:
        return reason.args.empty() || !reason.args[0].number() ? QString()
                                                                : systemError(int(*reason.args[0].number()));
    case ReasonKind::SystemText:
        return args.join(u' ');
    case ReasonKind::UsageArgumentCount: {
        const int64_t* given = reason.args.empty() ? nullptr : reason.args[0].number();
        return text(kContext, QT_TRANSLATE_N_NOOP("Reason", "CHART と OUTPUT が必要ですが、引数は %n 個です"),
                    given ? int(*given) : 0);
    }
    default:
        break;
    }
    return fillPlaces(text(kContext, pattern(reason.kind)), args);
}

const char* ReasonWords::pattern(ReasonKind kind)
{
    switch (kind) {
    case ReasonKind::AtLine: return QT_TRANSLATE_NOOP("Reason", "%1 行目: %2");
    case ReasonKind::FileTooLarge: return QT_TRANSLATE_NOOP("Reason", "ファイルが大きすぎます");
    case ReasonKind::FileReadOnly: return QT_TRANSLATE_NOOP("Reason", "ファイルは読み取り専用です");
    case ReasonKind::NotRegularFile: return QT_TRANSLATE_NOOP("Reason", "通常のファイルではありません");
    case ReasonKind::NotRegularOfKind: return QT_TRANSLATE_NOOP("Reason", "通常のファイルではありません（%1）");
    case ReasonKind::FileFolder: return QT_TRANSLATE_NOOP("Reason", "フォルダ");
    case ReasonKind::FileFifo: return QT_TRANSLATE_NOOP("Reason", "名前付きパイプ");
    case ReasonKind::FileSocket: return QT_TRANSLATE_NOOP("Reason", "ソケット");
    case ReasonKind::FileDevice: return QT_TRANSLATE_NOOP("Reason", "デバイス");
    case ReasonKind::LinkLoop: return QT_TRANSLATE_NOOP("Reason", "リンクが循環しています（%1）");
    case ReasonKind::LinkDangling: return QT_TRANSLATE_NOOP("Reason", "リンク %1 の指す %2 がありません");
    case ReasonKind::TargetUnknown: return QT_TRANSLATE_NOOP("Reason", "書き込み先のファイルを特定できません（%1）");
    case ReasonKind::CannotMakeFolder: return QT_TRANSLATE_NOOP("Reason", "%1 を作れません");
    case ReasonKind::CannotLock: return QT_TRANSLATE_NOOP("Reason", "%1 をロックできません");
    case ReasonKind::StandardOutputClosed: return QT_TRANSLATE_NOOP("Reason", "開かれていません（閉じたまま起動されました）");
    case ReasonKind::ChartNotInteger: return QT_TRANSLATE_NOOP("Reason", "整数でない値があります");
    case ReasonKind::ChartBeyond32Bits: return QT_TRANSLATE_NOOP("Reason", "数値が32ビットの範囲を超えています");
    case ReasonKind::ChartEndsInsideLine: return QT_TRANSLATE_NOOP("Reason", "行の途中でファイルが終わっています");
    case ReasonKind::ChartNulByte: return QT_TRANSLATE_NOOP("Reason", "NUL バイトがあります。ファイルが壊れています");
    case ReasonKind::ChartEmpty: return QT_TRANSLATE_NOOP("Reason", "ファイルが空です");
    case ReasonKind::ChartTooManyColumns: return QT_TRANSLATE_NOOP("Reason", "列が%1を超えています");
    case ReasonKind::ChartColumnWidthRange: return QT_TRANSLATE_NOOP("Reason", "列幅が%1～%2の範囲外です");
    case ReasonKind::ChartTooManySignals: return QT_TRANSLATE_NOOP("Reason", "信号が%1を超えています");
    case ReasonKind::ChartTooManySteps: return QT_TRANSLATE_NOOP("Reason", "ステップが%1を超えています");
    case ReasonKind::ChartStepsDisagree: return QT_TRANSLATE_NOOP("Reason", "ステップが %1 個あり、1 行目の列の %2 ステップと合いません");
    case ReasonKind::ChartColumnCountRange: return QT_TRANSLATE_NOOP("Reason", "列数が%1～%2の範囲外です");
    case ReasonKind::ChartRowCountRange: return QT_TRANSLATE_NOOP("Reason", "行数が%1～%2の範囲外です");
    case ReasonKind::ChartNameLineBreak: return QT_TRANSLATE_NOOP("Reason", "信号名に改行文字（CR、LF）を含めて保存することはできません（%1 番目の信号）");
    case ReasonKind::ChartNameNul: return QT_TRANSLATE_NOOP("Reason", "信号名に NUL 文字を含めて保存することはできません（%1 番目の信号）");
    case ReasonKind::RecoveryNotACopy: return QT_TRANSLATE_NOOP("Reason", "復元用のファイルではありません");
    case ReasonKind::RecoveryHeaderDamaged: return QT_TRANSLATE_NOOP("Reason", "復元用のファイルの見出しが壊れています");
    case ReasonKind::RecoveryChartAt: return QT_TRANSLATE_NOOP("Reason", "図の %1 行目: %2");
    case ReasonKind::Json5At: return QT_TRANSLATE_NOOP("Reason", "%1行%2列: %3");
    case ReasonKind::Json5TooLarge: return QT_TRANSLATE_NOOP("Reason", "大きすぎます（%1 MiB まで）");
    case ReasonKind::Json5BadUtf8: return QT_TRANSLATE_NOOP("Reason", "UTF-8 として正しくないバイトがあります");
    case ReasonKind::Json5TooDeep: return QT_TRANSLATE_NOOP("Reason", "入れ子が深すぎます");
    case ReasonKind::Json5TrailingText: return QT_TRANSLATE_NOOP("Reason", "値の後に余分な文字があります");
    case ReasonKind::Json5NeedCommaOrBracket: return QT_TRANSLATE_NOOP("Reason", "「,」か「]」が必要です");
    case ReasonKind::Json5NeedCommaOrBrace: return QT_TRANSLATE_NOOP("Reason", "「,」か「}」が必要です");
    case ReasonKind::Json5OpenComment: return QT_TRANSLATE_NOOP("Reason", "コメントが閉じていません");
    case ReasonKind::Json5NeedKey: return QT_TRANSLATE_NOOP("Reason", "キーが必要です");
    case ReasonKind::Json5NeedColon: return QT_TRANSLATE_NOOP("Reason", "「:」が必要です");
    case ReasonKind::Json5UnknownWord: return QT_TRANSLATE_NOOP("Reason", "値として読めない語です（文字列なら引用符で囲みます）");
    case ReasonKind::Json5NeedValueAtEnd: return QT_TRANSLATE_NOOP("Reason", "値が必要ですが、テキストが終わっています");
    case ReasonKind::Json5NeedValue: return QT_TRANSLATE_NOOP("Reason", "値が必要です");
    case ReasonKind::Json5BadNumber: return QT_TRANSLATE_NOOP("Reason", "数値が正しくありません");
    case ReasonKind::Json5NeedHexDigit: return QT_TRANSLATE_NOOP("Reason", "16進数の数字が必要です");
    case ReasonKind::Json5NeedExponentDigit: return QT_TRANSLATE_NOOP("Reason", "指数の数字が必要です");
    case ReasonKind::Json5TextAfterNumber: return QT_TRANSLATE_NOOP("Reason", "数値の直後に余分な文字があります");
    case ReasonKind::Json5BadUnicodeEscape: return QT_TRANSLATE_NOOP("Reason", "\\u の後には16進数4桁が必要です");
    case ReasonKind::Json5LoneSurrogate: return QT_TRANSLATE_NOOP("Reason", "対になっていないサロゲートです");
    case ReasonKind::Json5OpenString: return QT_TRANSLATE_NOOP("Reason", "文字列が閉じていません");
    case ReasonKind::Json5LineBreakInString: return QT_TRANSLATE_NOOP("Reason", "文字列の中で改行しています（行を続けるには行末に \\ を置きます）");
    case ReasonKind::Json5DigitAfterZeroEscape: return QT_TRANSLATE_NOOP("Reason", "\\0 の後に数字は置けません");
    case ReasonKind::Json5BadHexEscape: return QT_TRANSLATE_NOOP("Reason", "\\x の後には16進数2桁が必要です");
    case ReasonKind::Json5DigitEscape: return QT_TRANSLATE_NOOP("Reason", "\\ の後に数字は置けません");
    case ReasonKind::Json5KeyEscapeNeedsU: return QT_TRANSLATE_NOOP("Reason", "キーの中の \\ の後には u が必要です");
    case ReasonKind::Json5BadKeyEscape: return QT_TRANSLATE_NOOP("Reason", "キーに使えない文字のエスケープです");
    case ReasonKind::WaveSignalByPlace: return QT_TRANSLATE_NOOP("Reason", "%1番目の信号");
    case ReasonKind::WaveSignalByName: return QT_TRANSLATE_NOOP("Reason", "信号「%1」");
    case ReasonKind::WaveNotJson5: return QT_TRANSLATE_NOOP("Reason", "WaveJSON として読めません（%1）");
    case ReasonKind::WaveTopNotObject: return QT_TRANSLATE_NOOP("Reason", "WaveJSON の最上位は { signal: [...] } の形のオブジェクトでなければなりません");
    case ReasonKind::WaveIsAssign: return QT_TRANSLATE_NOOP("Reason", "これは論理回路図（assign）です。開けるのは signal 配列を持つタイミングチャートだけです");
    case ReasonKind::WaveIsReg: return QT_TRANSLATE_NOOP("Reason", "これはレジスタ図（reg）です。開けるのは signal 配列を持つタイミングチャートだけです");
    case ReasonKind::WaveNoSignalArray: return QT_TRANSLATE_NOOP("Reason", "WaveJSON に signal 配列がありません");
    case ReasonKind::WaveStrayItem: return QT_TRANSLATE_NOOP("Reason", "signal 配列に信号でもグループでもない要素があります（%1番目の信号の位置）");
    case ReasonKind::WaveTooManySignals: return QT_TRANSLATE_NOOP("Reason", "信号が%1本あります。取り込めるのは%2本までです");
    case ReasonKind::WaveNameNotString: return QT_TRANSLATE_NOOP("Reason", "%1の name が文字列ではありません");
    case ReasonKind::WaveWaveNotString: return QT_TRANSLATE_NOOP("Reason", "%1の wave が文字列ではありません");
    case ReasonKind::WavePeriodNotNumber: return QT_TRANSLATE_NOOP("Reason", "%1の period が数値ではありません");
    case ReasonKind::WavePeriodRange: return QT_TRANSLATE_NOOP("Reason", "%1の period（%2）は0より大きく%3以下の数でなければなりません");
    case ReasonKind::WavePhaseNotNumber: return QT_TRANSLATE_NOOP("Reason", "%1の phase が数値ではありません");
    case ReasonKind::WavePhaseRange: return QT_TRANSLATE_NOOP("Reason", "%1の phase（%2）は%3～%4の数でなければなりません");
    case ReasonKind::WaveNameLineBreakOrNul: return QT_TRANSLATE_NOOP("Reason", "%1の名前に改行（CR、LF）か NUL があります。これらを含む名前は保存できません");
    case ReasonKind::WaveNameNotCp932: return QT_TRANSLATE_NOOP("Reason", "%1の名前に CP932（Shift_JIS）で表せない文字があります");
    case ReasonKind::WaveTooManySteps: return QT_TRANSLATE_NOOP("Reason", "ステップが%1あります。取り込めるのは%2ステップまでです");
    case ReasonKind::WaveTooManyStepsSplit: return QT_TRANSLATE_NOOP("Reason", "ステップが%1あります。取り込めるのは%2ステップまでです（波形の変化に合わせて、WaveJSON の1ステップを%3列にしています）");
    case ReasonKind::WaveLeftOut: return QT_TRANSLATE_NOOP("Reason", "チャートに入らないため省いたもの: %1");
    case ReasonKind::WaveReadAsUndefined: return QT_TRANSLATE_NOOP("Reason", "不定として取り込んだ文字: %1");
    case ReasonKind::WaveDataLabels: return QT_TRANSLATE_NOOP("Reason", "データのラベル %1個");
    case ReasonKind::WaveNodes: return QT_TRANSLATE_NOOP("Reason", "node %1個");
    case ReasonKind::WaveEdges: return QT_TRANSLATE_NOOP("Reason", "edge %1本");
    case ReasonKind::WaveGaps: return QT_TRANSLATE_NOOP("Reason", "区切り（|）%1個");
    case ReasonKind::WaveGroupCaptions: return QT_TRANSLATE_NOOP("Reason", "グループの見出し %1個（%2）");
    case ReasonKind::WaveExportNameNotCp932: return QT_TRANSLATE_NOOP("Reason", "%1 行目の信号名に CP932 として正しくないバイトがあるため、WaveJSON に書き出せません");
    case ReasonKind::WaveExportNameLineBreakOrNul: return QT_TRANSLATE_NOOP("Reason", "%1 行目の信号名に改行（CR、LF）か NUL があるため、WaveJSON に書き出せません");
    case ReasonKind::WaveExportLeftOut: return QT_TRANSLATE_NOOP("Reason", "WaveJSON で表せない%1は書き出していません");
    case ReasonKind::WaveExportDelays: return QT_TRANSLATE_NOOP("Reason", "遅延");
    case ReasonKind::WaveExportArrows: return QT_TRANSLATE_NOOP("Reason", "エッジの矢印");
    case ReasonKind::WaveExportNumberLabels: return QT_TRANSLATE_NOOP("Reason", "数値表示");
    case ReasonKind::WaveExportTimingLines: return QT_TRANSLATE_NOOP("Reason", "タイミング線");
    case ReasonKind::WaveExportColumnWidths: return QT_TRANSLATE_NOOP("Reason", "列幅");
    case ReasonKind::PictureSizeInvalid: return QT_TRANSLATE_NOOP("Reason", "画像の大きさが正しくありません (%1 × %2 ピクセル)");
    case ReasonKind::PictureTooLarge: return QT_TRANSLATE_NOOP("Reason", "画像が大きすぎます (%1 × %2 ピクセル、縦横とも %3 ピクセルまで)");
    case ReasonKind::PictureNoMemory: return QT_TRANSLATE_NOOP("Reason", "画像のためのメモリが足りません");
    case ReasonKind::PaintCannotStart: return QT_TRANSLATE_NOOP("Reason", "描画を開始できません");
    case ReasonKind::PaintCannotFinish: return QT_TRANSLATE_NOOP("Reason", "描画を完了できません");
    case ReasonKind::TimeEmpty: return QT_TRANSLATE_NOOP("Reason", "時間が空です");
    case ReasonKind::TimeNotANumber: return QT_TRANSLATE_NOOP("Reason", "時間は数と単位で書いてください（例: 10ns）");
    case ReasonKind::TimeNoUnit: return QT_TRANSLATE_NOOP("Reason", "時間に単位がありません（s, ms, us, ns, ps, fs のどれか。例: 10ns）");
    case ReasonKind::TimeUnknownUnit: return QT_TRANSLATE_NOOP("Reason", "時間の単位は s, ms, us, ns, ps, fs のどれかです");
    case ReasonKind::TimeTooFine: return QT_TRANSLATE_NOOP("Reason", "1fs より細かい時間は扱えません");
    case ReasonKind::TimeTooLarge: return QT_TRANSLATE_NOOP("Reason", "時間が大きすぎます");
    case ReasonKind::VcdCannotRead: return QT_TRANSLATE_NOOP("Reason", "読み込めません: %1");
    case ReasonKind::VcdNulByte: return QT_TRANSLATE_NOOP("Reason", "NUL バイトがあります（VCD はテキストです）");
    case ReasonKind::VcdWordTooLong: return QT_TRANSLATE_NOOP("Reason", "語が長すぎます（%1 バイトまで）");
    case ReasonKind::VcdNoEndDefinitions: return QT_TRANSLATE_NOOP("Reason", "$enddefinitions がありません（定義の途中で終わっています）");
    case ReasonKind::VcdNeedDeclaration: return QT_TRANSLATE_NOOP("Reason", "宣言（$scope、$var、$enddefinitions など）が必要です（「%1」があります）");
    case ReasonKind::VcdNoTimescale: return QT_TRANSLATE_NOOP("Reason", "$timescale がないため、時間の単位を 1ns としました");
    case ReasonKind::VcdUpscopeWithoutScope: return QT_TRANSLATE_NOOP("Reason", "$upscope に対応する $scope がありません");
    case ReasonKind::VcdEndWithoutDeclaration: return QT_TRANSLATE_NOOP("Reason", "$end の前に宣言がありません");
    case ReasonKind::VcdDataBeforeDefinitionsEnd: return QT_TRANSLATE_NOOP("Reason", "%1 の前に $enddefinitions が必要です");
    case ReasonKind::VcdDeclarationSkipped: return QT_TRANSLATE_NOOP("Reason", "宣言 %1 は読み飛ばしました");
    case ReasonKind::VcdNeedWordAtEnd: return QT_TRANSLATE_NOOP("Reason", "%1が必要です（ファイルが終わっています）");
    case ReasonKind::VcdNeedWordGotEnd: return QT_TRANSLATE_NOOP("Reason", "%1が必要です（$end があります）");
    case ReasonKind::VcdNeedEndAtEnd: return QT_TRANSLATE_NOOP("Reason", "%1 を閉じる $end が必要です（ファイルが終わっています）");
    case ReasonKind::VcdNeedEndGot: return QT_TRANSLATE_NOOP("Reason", "%1 を閉じる $end が必要です（「%2」があります）");
    case ReasonKind::VcdNoEnd: return QT_TRANSLATE_NOOP("Reason", "%1 を閉じる $end がありません");
    case ReasonKind::VcdSectionOpenAtEnd: return QT_TRANSLATE_NOOP("Reason", "%1 を閉じる $end がありません（ファイルが終わっています）");
    case ReasonKind::VcdBadTimescale: return QT_TRANSLATE_NOOP("Reason", "$timescale には 1、10、100 のどれかと単位（s ms us ns ps fs）が必要です（「%1」があります）");
    case ReasonKind::VcdTooManyScopes: return QT_TRANSLATE_NOOP("Reason", "スコープが多すぎます（%1 まで）");
    case ReasonKind::VcdTooManyVars: return QT_TRANSLATE_NOOP("Reason", "変数が多すぎます（%1 まで）");
    case ReasonKind::VcdBadWidth: return QT_TRANSLATE_NOOP("Reason", "$var の幅は 1～%1 の整数です（「%2」があります）");
    case ReasonKind::VcdNeedIndexOrEnd: return QT_TRANSLATE_NOOP("Reason", "$var の名前の後には添字 [..] か $end が必要です（「%1」があります）");
    case ReasonKind::VcdIndexTooLong: return QT_TRANSLATE_NOOP("Reason", "$var の添字が長すぎます");
    case ReasonKind::VcdUndeclaredId: return QT_TRANSLATE_NOOP("Reason", "識別コード「%1」は $var で宣言されていません");
    case ReasonKind::VcdNeedIdAfterValue: return QT_TRANSLATE_NOOP("Reason", "値「%1」の後に識別コードが必要です");
    case ReasonKind::VcdNeedIdAfterVector: return QT_TRANSLATE_NOOP("Reason", "ベクタ値「%1」の後に識別コードが必要です");
    case ReasonKind::VcdNeedTime: return QT_TRANSLATE_NOOP("Reason", "# の後には時刻（0 以上の整数）が必要です（「%1」があります）");
    case ReasonKind::VcdTimeTooLarge: return QT_TRANSLATE_NOOP("Reason", "時刻「%1」が大きすぎます");
    case ReasonKind::VcdTimeBack: return QT_TRANSLATE_NOOP("Reason", "時刻が戻っています（#%1 の後に「%2」があります）");
    case ReasonKind::VcdNeedBits: return QT_TRANSLATE_NOOP("Reason", "b の後にはビット値（0 1 x z など）が必要です（「%1」があります）");
    case ReasonKind::VcdVectorTooWide: return QT_TRANSLATE_NOOP("Reason", "値が %1 ビットあり、「%2」の幅 %3 を超えています");
    case ReasonKind::VcdNeedReal: return QT_TRANSLATE_NOOP("Reason", "r の後には実数が必要です（「%1」があります）");
    case ReasonKind::VcdEndWithoutSection: return QT_TRANSLATE_NOOP("Reason", "$end に対応する $dumpvars などがありません");
    case ReasonKind::VcdNeedChange: return QT_TRANSLATE_NOOP("Reason", "値の変化、#時刻、$dumpvars・$dumpall・$dumpon・$dumpoff・$comment のどれかが必要です（「%1」があります）");
    case ReasonKind::VcdWordScopeType: return QT_TRANSLATE_NOOP("Reason", "$scope の種類");
    case ReasonKind::VcdWordScopeName: return QT_TRANSLATE_NOOP("Reason", "$scope の名前");
    case ReasonKind::VcdWordVarType: return QT_TRANSLATE_NOOP("Reason", "$var の種類");
    case ReasonKind::VcdWordVarWidth: return QT_TRANSLATE_NOOP("Reason", "$var の幅");
    case ReasonKind::VcdWordVarId: return QT_TRANSLATE_NOOP("Reason", "$var の識別コード");
    case ReasonKind::VcdWordVarName: return QT_TRANSLATE_NOOP("Reason", "$var の名前");
    case ReasonKind::VcdAmbiguous: return QT_TRANSLATE_NOOP("Reason", "「%1」に当たる信号が複数あります（%2%3）。スコープを付けて指定してください");
    case ReasonKind::VcdAndOthers: return QT_TRANSLATE_NOOP("Reason", " ほか");
    case ReasonKind::VcdNotVector: return QT_TRANSLATE_NOOP("Reason", "「%1」はベクタではないため、ビットに分けられません");
    case ReasonKind::VcdNoSuchBit: return QT_TRANSLATE_NOOP("Reason", "「%1」にビット [%2] はありません（[%3:%4]）");
    case ReasonKind::VcdNoSuchSignal: return QT_TRANSLATE_NOOP("Reason", "信号「%1」はダンプにありません");
    case ReasonKind::VcdNoScalars: return QT_TRANSLATE_NOOP("Reason", "ダンプに 1 ビットの信号がありません。取り込む信号を選んでください");
    case ReasonKind::VcdFirstScalarsTaken: return QT_TRANSLATE_NOOP("Reason", "1 ビットの信号 %1 本のうち、先頭の %2 本を取り込みました");
    case ReasonKind::VcdTooManyRows: return QT_TRANSLATE_NOOP("Reason", "選んだ信号は %1 行以上になります。取り込めるのは %2 行までです");
    case ReasonKind::VcdClockNotOneBit: return QT_TRANSLATE_NOOP("Reason", "クロック「%1」は 1 ビットの信号ではありません");
    case ReasonKind::VcdNameNotCp932: return QT_TRANSLATE_NOOP("Reason", "信号名「%1」は CP932（Shift_JIS）で表せません");
    case ReasonKind::VcdTimeNotTickMultiple: return QT_TRANSLATE_NOOP("Reason", "%1 %2 がダンプの時間の単位 %3 の整数倍ではありません");
    case ReasonKind::VcdWordStart: return QT_TRANSLATE_NOOP("Reason", "開始時刻");
    case ReasonKind::VcdWordStepTime: return QT_TRANSLATE_NOOP("Reason", "1 ステップの時間");
    case ReasonKind::VcdStepZero: return QT_TRANSLATE_NOOP("Reason", "1 ステップの時間が 0 です");
    case ReasonKind::VcdNoClockEdge: return QT_TRANSLATE_NOOP("Reason", "開始時刻 %1 からダンプの終わりまでに、クロックのエッジがありません");
    case ReasonKind::VcdStartAfterEnd: return QT_TRANSLATE_NOOP("Reason", "開始時刻 %1 はダンプの最後の時刻 %2 より後です");
    case ReasonKind::VcdCutShort: return QT_TRANSLATE_NOOP("Reason", "%1が時刻 %2 で終わるため、%3 ステップで打ち切りました");
    case ReasonKind::VcdWordClockEdges: return QT_TRANSLATE_NOOP("Reason", "クロックのエッジ");
    case ReasonKind::VcdWordDump: return QT_TRANSLATE_NOOP("Reason", "ダンプ");
    case ReasonKind::VcdStepsRange: return QT_TRANSLATE_NOOP("Reason", "ステップ数は 1～%1 です");
    case ReasonKind::VcdNegativeTime: return QT_TRANSLATE_NOOP("Reason", "時間が負です");
    case ReasonKind::UsageTakesNoValue: return QT_TRANSLATE_NOOP("Reason", "%1 は値をとりません");
    case ReasonKind::UsageNeedsNumber: return QT_TRANSLATE_NOOP("Reason", "%1 には数が必要です");
    case ReasonKind::UsageNumberRange: return QT_TRANSLATE_NOOP("Reason", "%1 には %2 から %3 までの整数を指定してください（「%4」が指定されました）");
    case ReasonKind::UsageNeedsFontFamily: return QT_TRANSLATE_NOOP("Reason", "%1 にはフォント名が必要です");
    case ReasonKind::UsageNeedsFormat: return QT_TRANSLATE_NOOP("Reason", "%1 には形式の名前が必要です");
    case ReasonKind::UsageNeedsValue: return QT_TRANSLATE_NOOP("Reason", "%1 には値が必要です");
    case ReasonKind::UsageUnknownOption: return QT_TRANSLATE_NOOP("Reason", "%1 というオプションはありません");
    case ReasonKind::UsageEmptyArgument: return QT_TRANSLATE_NOOP("Reason", "CHART と OUTPUT は空にできません");
    case ReasonKind::UsageUnknownFormat: return QT_TRANSLATE_NOOP("Reason", "「%1」という形式はありません");
    case ReasonKind::UsageFormatForStandardOutput: return QT_TRANSLATE_NOOP("Reason", "OUTPUT が「-」のときは --format が必要です");
    case ReasonKind::UsageFormatUnknownFromName: return QT_TRANSLATE_NOOP("Reason", "「%1」からは形式が分かりません。--format で指定してください");
    case ReasonKind::UsageVcdEmptySignal: return QT_TRANSLATE_NOOP("Reason", "--vcd-signals の「%1」に空の名前があります");
    case ReasonKind::UsageVcdNeedsClock: return QT_TRANSLATE_NOOP("Reason", "%1 には信号名が必要です");
    case ReasonKind::UsageVcdBadTime: return QT_TRANSLATE_NOOP("Reason", "%1 の「%2」: %3");
    case ReasonKind::UsageVcdZeroStep: return QT_TRANSLATE_NOOP("Reason", "%1 には 0 より長い時間を指定してください");
    case ReasonKind::UsageVcdClockAndStep: return QT_TRANSLATE_NOOP("Reason", "--vcd-clock と --vcd-step は同時に指定できません");
    case ReasonKind::UsageNeedsFolder: return QT_TRANSLATE_NOOP("Reason", "%1 にはフォルダが必要です");
    case ReasonKind::UsageNoCharts: return QT_TRANSLATE_NOOP("Reason", "--out-dir には CHART が一つ以上必要です");
    case ReasonKind::UsageListTwice: return QT_TRANSLATE_NOOP("Reason", "CHART の「-」（標準入力の一覧）は一度しか指定できません");
    case ReasonKind::UsageOutDirNeedsFormat: return QT_TRANSLATE_NOOP("Reason", "--out-dir には --format が必要です");
    case ReasonKind::UsageSameOutput: return QT_TRANSLATE_NOOP("Reason", "%1 と %2 はどちらも %3 になります");
    case ReasonKind::UsageOutputIsChart: return QT_TRANSLATE_NOOP("Reason", "%1 は CHART の %2 そのものです");
    case ReasonKind::None:
    case ReasonKind::Count:
    case ReasonKind::List:
    case ReasonKind::Names:
    case ReasonKind::Sentences:
    case ReasonKind::System:
    case ReasonKind::SystemText:
    case ReasonKind::UsageArgumentCount:
        break;
    }
    return "";
}

}  // namespace solvena

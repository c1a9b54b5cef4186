#include "RenderArguments.h"

#include "Version.h"
#include "text/ReasonWords.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace solvena {

std::string extensionOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

namespace {

std::optional<int> pixelsIn(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < kMinPixels || value > kMaxPixels)
        return std::nullopt;
    return value;
}

RenderArguments usageError(Reason reason)
{
    RenderArguments result;
    result.action = RenderArguments::Action::UsageError;
    result.error = std::move(reason);
    return result;
}

RenderArguments usageError(ReasonKind kind, std::vector<ReasonArg> args = {})
{
    return usageError(Reason(kind, std::move(args)));
}

}  // namespace

std::optional<OutputFormat> outputFormatNamed(std::string_view name)
{
    if (const PictureFormatRow* picture = pictureFormatNamed(name))
        return OutputFormat{picture, nullptr};
    if (const ChartFormat* chart = chartFormatNamed(name); chart && chart->write)
        return OutputFormat{nullptr, chart};
    return std::nullopt;
}

RenderArguments parseRenderArguments(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help") {
            RenderArguments help;
            help.action = RenderArguments::Action::Help;
            return help;
        }
        if (arg == "-v" || arg == "--version") {
            RenderArguments version;
            version.action = RenderArguments::Action::Version;
            return version;
        }
    }

    RenderArguments result;
    std::vector<std::string> positional;
    std::optional<std::string> format;
    std::vector<std::pair<std::string, std::string>> vcdOptions;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);  // "-" is a path too: standard output
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name value" and "--name=value" alike.
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (name == "--header" || name == "--align-right") {
            if (value)
                return usageError(ReasonKind::UsageTakesNoValue, {name});
            (name == "--header" ? result.header : result.alignRight) = true;
        } else if (name == "--row-height" || name == "--font-px") {
            const std::optional<std::string> text = takeValue();
            if (!text)
                return usageError(ReasonKind::UsageNeedsNumber, {name});
            const std::optional<int> pixels = pixelsIn(*text);
            if (!pixels)
                return usageError(ReasonKind::UsageNumberRange, {name, kMinPixels, kMaxPixels, *text});
            (name == "--row-height" ? result.rowHeight : result.fontPixels) = pixels;
        } else if (name == "--font") {
            const std::optional<std::string> family = takeValue();
            if (!family || family->empty())
                return usageError(ReasonKind::UsageNeedsFontFamily, {name});
            result.fontFamily = family;
        } else if (name == "--out-dir") {
            result.outDir = takeValue();
            if (!result.outDir || result.outDir->empty())
                return usageError(ReasonKind::UsageNeedsFolder, {name});
        } else if (name == "--format") {
            format = takeValue();
            if (!format)
                return usageError(ReasonKind::UsageNeedsFormat, {name});
        } else if (isVcdOption(name)) {
            const std::optional<std::string> text = takeValue();
            if (!text)
                return usageError(ReasonKind::UsageNeedsValue, {name});
            vcdOptions.emplace_back(name, *text);
        } else {
            return usageError(ReasonKind::UsageUnknownOption, {arg});
        }
    }

    std::optional<OutputFormat> output;
    if (result.outDir) {
        if (positional.empty())
            return usageError(ReasonKind::UsageNoCharts);
        if (std::count(positional.begin(), positional.end(), "-") > 1)
            return usageError(ReasonKind::UsageListTwice);
        if (std::find(positional.begin(), positional.end(), std::string()) != positional.end())
            return usageError(ReasonKind::UsageEmptyArgument);
        if (!format)
            return usageError(ReasonKind::UsageOutDirNeedsFormat);
        output = outputFormatNamed(*format);
        if (!output)
            return usageError(ReasonKind::UsageUnknownFormat, {*format});
        result.charts = std::move(positional);
    } else if (positional.size() != 2) {
        return usageError(ReasonKind::UsageArgumentCount, {positional.size()});
    } else {
        result.chart = positional[0];
        result.output = positional[1];
        if (result.chart.empty() || result.output.empty())
            return usageError(ReasonKind::UsageEmptyArgument);
    }

    if (!output && format) {
        output = outputFormatNamed(*format);
        if (!output)
            return usageError(ReasonKind::UsageUnknownFormat, {*format});
    } else if (!output && result.output == "-") {
        return usageError(ReasonKind::UsageFormatForStandardOutput);
    } else if (!output) {
        output = outputFormatNamed(extensionOf(result.output));
        if (!output)
            return usageError(ReasonKind::UsageFormatUnknownFromName, {result.output});
    }
    result.format = *output;
    if (!vcdOptions.empty()) {
        const VcdOptionsRead vcd = parseVcdOptions(vcdOptions);
        if (!vcd.ok())
            return usageError(vcd.error);
        result.read.vcd = vcd.choices;
    }
    return result;
}

QString renderUsage(const ReasonWords& words)
{
    return words.text(
        "solvena-render",
        QT_TRANSLATE_NOOP("solvena-render",
                          "使い方: solvena-render [オプション]... CHART OUTPUT\n"
                          "  または: solvena-render [オプション]... --out-dir DIR --format FMT CHART...\n"
                          "CHART（チャートファイル .sbn・.txt、WaveJSON .json、または VCD .vcd）を\n"
                          "OUTPUT に"
                          "書き出します。ディスプレイは要りません。OUTPUT の拡張子で形式が決まります:\n"
                          "  .bmp        ビットマップ（エディタのビットマップ出力と同じもの）\n"
                          "  .emf        エンハンスド メタファイル（エディタのメタファイル出力と同じもの）\n"
                          "  .png        ビットマップの絵\n"
                          "  .svg, .pdf  メタファイルの絵（線と文字のまま）\n"
                          "  .json       チャートを WaveJSON で\n"
                          "  .sbn, .txt  チャートファイルを書き直したもの\n"
                          "OUTPUT が「-」なら標準出力に書きます。形式は --format で指定します\n"
                          "（/dev/stdout など拡張子のない OUTPUT も同じです）。\n"
                          "OUTPUT は与えられた名前のとおりに、一時ファイルを通して書き、書き終えてから\n"
                          "置き換えます。リンクはその先のファイルに書きます。FIFO とキャラクタデバイス\n"
                          "（パイプ、/dev/null、端末）にはそのまま書き込み、このコマンドの標準出力を指す\n"
                          "名前（/dev/stdout、/dev/fd/1）には「-」と同じように書きます。これらへの\n"
                          "書き込みは、途中で失敗すると書きかけが残ります。フォルダ、ソケット、\n"
                          "ブロックデバイスには書きません。\n"
                          "\n"
                          "オプション（描画のオプションは .json、.sbn、.txt には効きません）:\n"
                          "  --header          見出しの行も、エディタの表と同じように描く\n"
                          "  --row-height N    信号の行の高さを N ピクセルにする（1～1000、既定 25）\n"
                          "  --align-right     信号名を名前の列の右に寄せる\n"
                          "  --font FAMILY     信号名とラベルをフォント FAMILY で描く\n"
                          "  --font-px N       そのフォントの高さを N ピクセルにする（1～1000、既定 13）\n"
                          "  --format FMT      OUTPUT の拡張子によらず FMT（bmp、emf、png、svg、pdf、\n"
                          "                    json、sbn、txt のどれか）で書く\n"
                          "  --out-dir DIR     CHART をいくつでも受け取り、それぞれを DIR/<名前>.<FMT>\n"
                          "                    に書く（<名前> は CHART のファイル名から拡張子を除いたもの、\n"
                          "                    --format が必要）。CHART が「-」なら、そのパスを標準入力\n"
                          "                    から 1 行に一つずつ読む\n"
                          "  -h, --help        この説明を表示して終わる\n"
                          "  -v, --version     版を表示して終わる\n"
                          "\n"
                          "VCD（.vcd）の CHART のオプション:\n"
                          "  --vcd-signals A,B 行にする信号（既定: 1 ビットの信号のうち先頭の 99 個）。\n"
                          "                    「tb.dut.x」のような階層名、またはそれと決まる末尾「x」。\n"
                          "                    「bus[*]」はベクタをビットごとの行に、「bus[2]」はその 1 ビット\n"
                          "  --vcd-clock NAME  1 ビットの信号 NAME の変化ごとに 1 ステップ進める\n"
                          "  --vcd-step TIME   1 ステップを TIME にする（既定: 開始から最初の二つの\n"
                          "                    時刻の間）\n"
                          "  --vcd-start TIME  最初のステップの時刻（既定 0）\n"
                          "  --vcd-steps N     ステップ数（1～99、既定 99）\n"
                          "  TIME は単位つきの数: 10ns、2.5us（s ms us ns ps fs）。各セルは、\n"
                          "  そのステップの始めの時刻での値（その時刻の変化をすべて済ませた後）:\n"
                          "  0 は Low、1 は High、x・z などは不定。分けないベクタは全ビット 0 で Low、\n"
                          "  全ビット 1 で High、ほかは不定です。\n"
                          "\n"
                          "--out-dir では、読めない CHART や書けない出力があっても残りを書き出し、\n"
                          "その理由を CHART または出力の名前とともに出します。二つの CHART の出力が\n"
                          "同じ名前になるとき、出力が CHART そのものになるとき、DIR がないか書き込め\n"
                          "ないときは、何も書かずに終わります（ステータス 2）。標準エラー出力が\n"
                          "端末なら、進み具合を 1 行で表示します。\n"
                          "\n"
                          "メッセージは、LC_ALL、それが空なら LC_MESSAGES、それも空なら LANG が日本語の\n"
                          "ロケール（ja_JP.UTF-8 など）を指すときは日本語、ほかは英語で出します。\n"
                          "\n"
                          "終了ステータス: OUTPUT を（--out-dir ではすべての出力を）書けたら 0。\n"
                          "CHART を読めないか、OUTPUT を書けなかったら 1（理由は標準エラー出力に出し、\n"
                          "書きかけのファイルは残しません）。\n"
                          "コマンドラインの誤りは 2。シグナル（Ctrl+C、timeout）で終わるときは、\n"
                          "一時ファイルを残さず、そのシグナルで終わります。\n"));
}

std::string renderVersion()
{
    return std::string("solvena-render ") + kSolvenaVersion + "\n";
}

}  // namespace solvena

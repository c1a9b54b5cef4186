#include "Version.h"
#include "storage/PreferencesLocation.h"
#include "storage/RecoveryStore.h"
#include "storage/StandardStreams.h"
#include "storage/TemporaryFile.h"
#include "ui/Application.h"
#include "ui/CommandLine.h"
#include "ui/uMain.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

namespace solvena {

using namespace Qt::StringLiterals;

static std::vector<std::string> argumentsOf(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

// The arguments the toolkit has left, as the chart's name is taken from them: on Windows
// from the wide command line as UTF-8 (argv holds the code page's bytes, in which a name
// in other scripts arrives as question marks); elsewhere argv's bytes as given.
static std::vector<std::string> applicationArguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifdef _WIN32
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());
    return arguments;
#else
    return argumentsOf(argc, argv);
#endif
}

static QString chartName(const std::string& argument)
{
#ifdef _WIN32
    return QString::fromStdString(argument);
#else
    return QString::fromLocal8Bit(argument);
#endif
}

}  // namespace solvena

using namespace solvena;

int main(int argc, char** argv)
{
    // First of all: a file the editor opens later (a chart being saved) must never take
    // the place of a closed standard error, where the toolkit writes its warnings.
    guardStandardStreams();
    // Before anything is written: a file-size limit fails a write instead of ending the
    // editor with unsaved work, and SIGTERM during a save leaves no temporary file.
    installFileSignalHandling();
    // Answered before QApplication exists, so that they need no display.
    const CommandLine early = parseCommandLine(argumentsOf(argc, argv));
    if (early.action == CommandLine::Action::Help) {
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    }
    if (early.action == CommandLine::Action::Version) {
        std::fputs(commandLineVersion().c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    // QApplication has taken its own options (-platform NAME, ...) out of argv by now.
    const CommandLine args = parseCommandLine(applicationArguments(argc, argv));
    if (args.action == CommandLine::Action::UsageError) {
        std::fprintf(stderr, "solvena: %s\nTry 'solvena --help' for more information.\n",
                     args.error.c_str());
        return 2;
    }
    initApplication(app);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kSolvenaAppId));

    TfrmMain frmMain(nullptr, WindowFiles{preferencesFiles(), recoveryFolder()});
    // Work a crashed editor left behind comes first; a chart named on the command line
    // is opened without a question, but never over work just taken back.
    const bool recovered = frmMain.offerRecovery();
    if (!args.chartPath.empty()) {
        const QString path = chartName(args.chartPath);
        if (recovered)
            frmMain.showTransientMessage(u"復元した図を開いたため、%1 は開いていません"_s.arg(path));
        else
            frmMain.loadStartupFile(path);
    }
    frmMain.finishStartup();
    frmMain.show();
    return QApplication::exec();
}

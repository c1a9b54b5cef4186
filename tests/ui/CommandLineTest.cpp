#include "ui/CommandLine.h"

#include "RawProcess.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using namespace solvena;

using namespace Qt::StringLiterals;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("chartPath");
        QTest::addColumn<QString>("errorPart");
        const int run = int(CommandLine::Action::Run);
        const int help = int(CommandLine::Action::Help);
        const int version = int(CommandLine::Action::Version);
        const int usage = int(CommandLine::Action::UsageError);

        QTest::newRow("nothing") << QStringList{} << run << u""_s << u""_s;
        QTest::newRow("a chart") << QStringList{u"a.sbn"_s} << run << u"a.sbn"_s << u""_s;
        QTest::newRow("an empty argument opens nothing") << QStringList{u""_s} << run << u""_s << u""_s;
        QTest::newRow("a lone dash is a path") << QStringList{u"-"_s} << run << u"-"_s << u""_s;
        QTest::newRow("--help") << QStringList{u"--help"_s} << help << u""_s << u""_s;
        QTest::newRow("-h") << QStringList{u"-h"_s} << help << u""_s << u""_s;
        QTest::newRow("--version") << QStringList{u"--version"_s} << version << u""_s << u""_s;
        QTest::newRow("-v") << QStringList{u"-v"_s} << version << u""_s << u""_s;
        QTest::newRow("the first of help and version wins")
            << QStringList{u"--version"_s, u"--help"_s} << version << u""_s << u""_s;
        QTest::newRow("help after a chart") << QStringList{u"a.sbn"_s, u"--help"_s} << help << u""_s << u""_s;
        // Before QApplication has run, Qt's own options are still there and unknown to us.
        QTest::newRow("help behind Qt's options")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--help"_s} << help << u""_s << u""_s;
        QTest::newRow("an unknown option")
            << QStringList{u"--bogus"_s} << usage << u""_s << u"unknown option --bogus"_s;
        QTest::newRow("an unknown option before a chart")
            << QStringList{u"-x"_s, u"a.sbn"_s} << usage << u""_s << u"unknown option -x"_s;
        QTest::newRow("two charts")
            << QStringList{u"a.sbn"_s, u"b.sbn"_s} << usage << u""_s << u"2 were given"_s;
        QTest::newRow("-- makes --help a path")
            << QStringList{u"--"_s, u"--help"_s} << run << u"--help"_s << u""_s;
        QTest::newRow("-- makes -x.sbn a path")
            << QStringList{u"--"_s, u"-x.sbn"_s} << run << u"-x.sbn"_s << u""_s;
        QTest::newRow("-- with nothing after it") << QStringList{u"--"_s} << run << u""_s << u""_s;
        QTest::newRow("two charts after --")
            << QStringList{u"--"_s, u"a"_s, u"b"_s} << usage << u""_s << u"2 were given"_s;
        QTest::newRow("a Japanese path keeps its bytes")
            << QStringList{u"タイミング.sbn"_s} << run << u"タイミング.sbn"_s << u""_s;
    }

    void parses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, chartPath);
        QFETCH(QString, errorPart);

        std::vector<std::string> argv;
        for (const QString& arg : args)
            argv.push_back(arg.toStdString());
        const CommandLine result = parseCommandLine(argv);

        QCOMPARE(int(result.action), action);
        QCOMPARE(QString::fromStdString(result.chartPath), chartPath);
        if (errorPart.isEmpty())
            QVERIFY(result.error.empty());
        else
            QVERIFY2(QString::fromStdString(result.error).contains(errorPart), result.error.c_str());
    }

    // The real editor, started as a shell starts it: a chart name that is not UTF-8
    // would be kept as another name (and saved there later), so it is refused.
    void refusesAChartNameItCannotKeep()
    {
        const RawOutcome run = runRaw(SOLVENA_EDITOR, {"\xff.sbn"}, offscreen({}));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.find("'\\xFF.sbn' is not UTF-8") != std::string::npos, run.err.c_str());
    }

    // Under a file-size limit (ulimit -f) the recovery copy of a large unsaved chart
    // cannot be written: the editor goes on, and SIGTERM then ends it, as it does,
    // without a temporary file left in the recovery folder.
    void outlivesAFileSizeLimit()
    {
        QTemporaryDir dir;
        // 99 signals of 99 steps: an untitled, modified chart whose copy is about 60 KB.
        QByteArray json = "{ signal: [";
        for (int s = 0; s < 99; ++s)
            json += "{ name: 'S" + QByteArray::number(s) + "', wave: '" + QByteArray(99, "01x"[s % 3]) + "' },";
        json += "] }";
        QFile file(dir.filePath(u"big.json"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        file.close();

        RawOptions options = offscreen(dir.path());
        options.fileSizeLimit = 5000;
        RawProcess editor(SOLVENA_EDITOR, {QFile::encodeName(file.fileName()).toStdString()}, options);
        const QString state = dir.filePath(u"state/solvena"_s);
        // Started once its lock is there; the copy is due 3 s after the chart changed.
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(state).entryList({u"*.lock"_s}, QDir::Files).isEmpty(), 20000);
        QTest::qWait(4000);
        QVERIFY2(editor.running(), "the editor ended under the file-size limit");

        ::kill(editor.pid(), SIGTERM);
        const RawOutcome outcome = editor.wait();
        QCOMPARE(outcome.signal, SIGTERM);
        QCOMPARE(QDir(state).entryList({u".solvena-*"_s}, QDir::Files | QDir::Hidden), QStringList());
    }

private:
    // The environment of a first start on no display, its files under `home`.
    static RawOptions offscreen(const QString& home)
    {
        RawOptions options;
        options.environment = {{"QT_QPA_PLATFORM", "offscreen"}};
        if (!home.isEmpty()) {
            const std::string root = QFile::encodeName(home).toStdString();
            options.environment.push_back({"HOME", root});
            options.environment.push_back({"XDG_STATE_HOME", root + "/state"});
            options.environment.push_back({"XDG_CONFIG_HOME", root + "/config"});
        }
        return options;
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"

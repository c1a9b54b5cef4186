#include "ui/CommandLine.h"

#include <QStringList>
#include <QTest>

#include <string>
#include <vector>

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
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"

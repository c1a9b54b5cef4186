#include "WidgetTestMain.h"

#include "OffscreenPlatform.h"
#include "ui/Application.h"

#include <QApplication>
#include <QTest>

namespace solvena {

int runWidgetTest(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeTest)
{
    useOffscreenPlatformUnlessSet();
    QApplication app(argc, argv);
    initApplication(app);
    const std::unique_ptr<QObject> test = makeTest();
    return QTest::qExec(test.get(), argc, argv);
}

}  // namespace solvena

#include "ui/Application.h"
#include "ui/uMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    initApplication(app);

    TfrmMain frmMain;
    // A chart named on the command line is opened without a question; QApplication
    // has already taken its own options out of argv.
    if (argc > 1 && argv[1][0] != '\0')
        frmMain.loadStartupFile(QString::fromLocal8Bit(argv[1]));
    frmMain.finishStartup();
    frmMain.show();
    return QApplication::exec();
}

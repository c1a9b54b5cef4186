#include "ui/Application.h"
#include "ui/uMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    initApplication(app);

    TfrmMain frmMain;
    frmMain.finishStartup();
    frmMain.show();
    return QApplication::exec();
}

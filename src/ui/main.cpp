#include "ui/Application.h"
#include "ui/uMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    initApplication(app);

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}

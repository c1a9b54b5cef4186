#pragma once
// Application-wide set-up shared by the program and the widget tests.

#include <QString>

class QApplication;

// The application title: caption of plain message boxes and of the error box.
QString applicationTitle();

// Sets the title, loads Qt's Japanese translations, installs the font
// substitutions and the application font. Call once after QApplication exists.
void initApplication(QApplication& app);

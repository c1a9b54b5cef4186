#pragma once
// Application-wide set-up shared by the program and the widget tests.

#include "text/Reason.h"

#include <QString>

class QApplication;

namespace solvena {

// The application title: caption of plain message boxes and of the error box.
QString applicationTitle();

// A reason in the window's words: Japanese, and a system error as the system says it.
QString reasonText(const Reason& reason);

// Sets the title, loads Qt's Japanese translations, installs the font
// substitutions and the application font. Call once after QApplication exists.
void initApplication(QApplication& app);

}  // namespace solvena

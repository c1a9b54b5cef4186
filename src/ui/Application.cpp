#include "ui/Application.h"

#include "render/FontSubstitutions.h"
#include "text/ReasonWords.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace solvena {

using namespace Qt::StringLiterals;

QString reasonText(const Reason& reason)
{
    static const ReasonWords words(Language::Japanese, ReasonWords::SystemErrors::AsTheSystemSays);
    return words(reason);
}

QString applicationTitle()
{
    return u"ソルベナエディタ"_s;
}

void initApplication(QApplication& app)
{
    QApplication::setApplicationName(applicationTitle());

    // Standard dialogs (file, font, print, input and message boxes) speak Japanese
    // like the rest of the program.
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (translator->load(u"qtbase_ja"_s, dir))
        QApplication::installTranslator(translator);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    installFontSubstitutions();
    QApplication::setFont(programFont());
}

}  // namespace solvena

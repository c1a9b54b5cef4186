#include "render/FontSubstitutions.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace solvena {

using namespace Qt::StringLiterals;

void installFontSubstitutions()
{
    const QStringList gothic{u"IPAGothic"_s, u"IPAゴシック"_s, u"Noto Sans Mono CJK JP"_s,
                             u"Noto Sans CJK JP"_s};
    const QStringList pgothic{u"IPAPGothic"_s, u"IPAPゴシック"_s, u"Noto Sans CJK JP"_s};
    for (const QString& name : {u"ＭＳ ゴシック"_s, u"MS Gothic"_s})
        QFont::insertSubstitutions(name, gothic);
    for (const QString& name : {u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s})
        QFont::insertSubstitutions(name, pgothic);
}

QFont programFont()
{
    QFont font(u"ＭＳ Ｐゴシック"_s);
    font.setPixelSize(12);
    return font;
}

}  // namespace solvena

#include "ui/ToolBarIcons.h"

#include <QPixmap>

namespace solvena {

using namespace Qt::StringLiterals;

namespace {

QString basePath(const QString& imageList, int index)
{
    return u":/icons/%1/%2"_s.arg(imageList).arg(index);
}

}  // namespace

QIcon toolBarIcon(const QString& imageList, int index)
{
    const QIcon svg(basePath(imageList, index) + u".svg"_s);
    // Without the SVG icon engine the file is taken as an image that nothing decodes: the
    // icon is not null, but it draws nothing. Drawn here, it is drawn once: the toolkit
    // keeps the pixmap for the tool bar.
    return svg.pixmap(QSize(16, 16)).isNull() ? toolBarIconFromPng(imageList, index) : svg;
}

QIcon toolBarIconFromPng(const QString& imageList, int index)
{
    const QString base = basePath(imageList, index);
    QIcon icon;
    icon.addFile(base + u".png"_s);
    icon.addFile(base + u"@2x.png"_s);
    return icon;
}

}  // namespace solvena

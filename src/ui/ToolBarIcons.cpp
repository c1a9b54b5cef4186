#include "ui/ToolBarIcons.h"

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
    // Without the SVG icon engine the file is read as an image, which nothing can decode.
    return svg.isNull() ? toolBarIconFromPng(imageList, index) : svg;
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

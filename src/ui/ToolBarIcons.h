#pragma once
// The tool bar's icons: drawn from their SVG where Qt has its SVG icon engine (Linux),
// otherwise from the PNG renderings of the same SVG that the tree carries at the tool
// bar's 16 pixels and at 32 for screens of twice the density (a Windows Qt built without
// the SVG module, which would show no icons at all). scripts/render-icons.sh makes them.

#include <QIcon>
#include <QString>

namespace solvena {

// Image `index` of the image list `imageList` ("imgFile", "imgEdit", ...).
QIcon toolBarIcon(const QString& imageList, int index);

// The same image from its PNG renderings alone.
QIcon toolBarIconFromPng(const QString& imageList, int index);

}  // namespace solvena

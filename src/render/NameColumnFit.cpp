#include "render/NameColumnFit.h"

#include "render/QtFont.h"
#include "text/Cp932.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>

namespace solvena {

void fitNameColumn(GridLayout& layout, const TCell& chart)
{
    if (layout.colWidths.empty()) return;
    const QFontMetrics metrics(toQFont(layout.gridFont));
    int widest = 0;
    const int rows = std::min<int>(layout.rowCount(), kMaxRows);
    for (int r = 1; r < rows; ++r) {
        if (chart.signalName[r].empty()) continue;
        const std::u16string name = cp932ToUtf16(chart.signalName[r]);
        widest = std::max(widest, metrics.horizontalAdvance(
                                      QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()))));
    }
    // The renderer draws a name inside its cell less one pixel on either side.
    const int32_t needed = std::min<int32_t>(widest + 2, grid_defaults::kMaxCellSize);
    layout.colWidths[0] = std::max(layout.colWidths[0], needed);
}

}  // namespace solvena

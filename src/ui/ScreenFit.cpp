#include "ui/ScreenFit.h"

#include <algorithm>

namespace solvena {

namespace {

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

}  // namespace

QRect fitToScreens(const QRect& saved, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return saved;
    const QRect* best = nullptr;
    qint64 bestOverlap = 0;
    for (const QRect& screen : screens) {
        const qint64 area = overlap(saved, screen);
        if (area > bestOverlap) {
            best = &screen;
            bestOverlap = area;
        }
    }
    const QRect& screen = best ? *best : screens.front();
    QRect placed(saved.topLeft(), saved.size().boundedTo(screen.size()));
    if (!best)
        placed.moveCenter(screen.center());
    placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
    return placed;
}

}  // namespace solvena

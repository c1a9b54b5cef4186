#pragma once
// Where a window kept from an earlier run comes back, among the screens there are now.

#include <QList>
#include <QRect>

namespace solvena {

// `saved` moved onto the screen whose area it overlaps most, or onto the first
// screen (the primary one), centred, when it overlaps none, as when it was last seen
// on a monitor that is gone; shrunk to that screen's size and moved inside it.
// `screens` are the screens' available areas, the primary first; with none, `saved`
// comes back as it was.
QRect fitToScreens(const QRect& saved, const QList<QRect>& screens);

}  // namespace solvena

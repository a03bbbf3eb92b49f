#pragma once

#include <QList>
#include <QRect>

class QMdiArea;

// Arrangements of a document area's windows, as geometry so they can be
// checked without a screen. Each takes the area's viewport rectangle and the
// windows' current rectangles and gives their new ones.
namespace arrange {

enum Mode { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

// One above another, each the full width, the heights shared out.
QList<QRect> tileHorizontal(const QRect &area, int count);
// Side by side, each the full height, the widths shared out.
QList<QRect> tileVertical(const QRect &area, int count);
// Icons lined up from the bottom-left corner, wrapping upwards.
QList<QRect> icons(const QRect &area, const QList<QSize> &sizes);

// Applies a mode to the area's document windows. Tiling and cascading take
// the windows that are not minimised; Arrange Icons moves only minimised ones.
void apply(QMdiArea *area, int mode);

} // namespace arrange

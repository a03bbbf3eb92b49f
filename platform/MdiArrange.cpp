#include "platform/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace arrange {

QList<QRect> tileHorizontal(const QRect &area, int count)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    for (int i = 0; i < count; ++i) {
        const int top = area.top() + area.height() * i / count;
        const int bottom = area.top() + area.height() * (i + 1) / count;
        rects.append(QRect(area.left(), top, area.width(), bottom - top));
    }
    return rects;
}

QList<QRect> tileVertical(const QRect &area, int count)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    for (int i = 0; i < count; ++i) {
        const int left = area.left() + area.width() * i / count;
        const int right = area.left() + area.width() * (i + 1) / count;
        rects.append(QRect(left, area.top(), right - left, area.height()));
    }
    return rects;
}

QList<QRect> icons(const QRect &area, const QList<QSize> &sizes)
{
    QList<QRect> rects;
    int x = area.left();
    int rowBottom = area.bottom() + 1;
    int rowHeight = 0;
    for (const QSize &size : sizes) {
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        rects.append(QRect(QPoint(x, rowBottom - size.height()), size));
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    return rects;
}

void apply(QMdiArea *area, int mode)
{
    QList<QMdiSubWindow *> open;
    QList<QMdiSubWindow *> minimised;
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isVisible())
            continue;
        (window->isMinimized() ? minimised : open).append(window);
    }
    const QRect viewport = area->viewport()->rect();
    switch (mode) {
    case Cascade:
        if (!open.isEmpty())
            area->cascadeSubWindows();
        break;
    case TileHorizontal:
    case TileVertical: {
        const QList<QRect> rects = mode == TileHorizontal ? tileHorizontal(viewport, int(open.size()))
                                                          : tileVertical(viewport, int(open.size()));
        for (qsizetype i = 0; i < open.size(); ++i) {
            if (open.at(i)->isMaximized())
                open.at(i)->showNormal();
            open.at(i)->setGeometry(rects.at(i));
        }
        break;
    }
    case ArrangeIcons: {
        QList<QSize> sizes;
        for (QMdiSubWindow *window : minimised)
            sizes.append(window->size());
        const QList<QRect> rects = icons(viewport, sizes);
        for (qsizetype i = 0; i < minimised.size(); ++i)
            minimised.at(i)->move(rects.at(i).topLeft());
        break;
    }
    default:
        break;
    }
}

} // namespace arrange

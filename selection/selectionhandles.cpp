#include "selection/selectionhandles.h"

#include <QtMath>

namespace SelectionHandles {

Handle hitTest(const QRectF &rect, const QPointF &p, double zoom)
{
    if (rect.width() == 0 && rect.height() == 0)
        return None;

    const double x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    const double t = Tolerance / zoom;
    // The inner margin never exceeds a third of a side, so that a small
    // selection keeps an interior to grab.
    const double tx = qMin(t, w / 3);
    const double ty = qMin(t, h / 3);

    if (QRectF(x + tx, y + ty, w - 2 * tx, h - 2 * ty).contains(p))
        return Inside;
    if (!QRectF(x - t, y - t, w + 2 * t, h + 2 * t).contains(p))
        return None;

    const bool nearLeft = x - t <= p.x() && p.x() <= x + tx;
    const bool nearRight = x + w - tx <= p.x() && p.x() <= x + w + t;
    const bool nearTop = y - t <= p.y() && p.y() <= y + ty;
    const bool nearBottom = y + h - ty <= p.y() && p.y() <= y + h + t;

    if (nearTop)
        return nearLeft ? TopLeft : nearRight ? TopRight : Top;
    if (nearBottom)
        return nearLeft ? BottomLeft : nearRight ? BottomRight : Bottom;
    return nearLeft ? Left : nearRight ? Right : None;
}

QPointF anchor(const QRectF &rect, Handle handle, const QPointF &p)
{
    const double x = rect.x(), y = rect.y();
    const double right = x + rect.width(), bottom = y + rect.height();
    switch (handle) {
    case TopLeft:
        return {x, y};
    case Top:
        return {p.x(), y};
    case TopRight:
        return {right, y};
    case Right:
        return {right, p.y()};
    case BottomRight:
        return {right, bottom};
    case Bottom:
        return {p.x(), bottom};
    case BottomLeft:
        return {x, bottom};
    case Left:
        return {x, p.y()};
    case None:
    case Inside:
        break;
    }
    return p;
}

Qt::CursorShape cursorShape(int handle)
{
    switch (handle) {
    case Inside:
        return Qt::SizeAllCursor;
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeBDiagCursor;
    case Left:
    case Right:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

namespace {

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    return path;
}

} // namespace

QHash<int, QPainterPath> outlines(const QRectF &r, double zoom)
{
    // The strokes lie on the outermost ring of selected pixels: one view pixel
    // in from the right and bottom sides.
    const double d = 1.0 / zoom;
    const double w = r.width() - d;
    const double h = r.height() - d;
    const double x = r.x(), y = r.y();
    const double x2 = x + w, y2 = y + h;

    const double t = Tolerance / zoom;
    const double lx = qMin(t, qAbs(w) / 3);
    const double ly = qMin(t, qAbs(h) / 3);
    // Arms point toward the interior, also when the rectangle is flipped.
    const double sx = w < 0 ? -1 : 1;
    const double sy = h < 0 ? -1 : 1;

    QHash<int, QPainterPath> paths;
    paths.insert(TopLeft, polyline({{x, y + sy * ly}, {x, y}, {x + sx * lx, y}}));
    paths.insert(TopRight, polyline({{x2 - sx * lx, y}, {x2, y}, {x2, y + sy * ly}}));
    paths.insert(BottomRight, polyline({{x2, y2 - sy * ly}, {x2, y2}, {x2 - sx * lx, y2}}));
    paths.insert(BottomLeft, polyline({{x + sx * lx, y2}, {x, y2}, {x, y2 - sy * ly}}));
    paths.insert(Left, polyline({{x, y + sy * ly}, {x, y2 - sy * ly}}));
    paths.insert(Right, polyline({{x2, y + sy * ly}, {x2, y2 - sy * ly}}));
    paths.insert(Top, polyline({{x + sx * lx, y}, {x2 - sx * lx, y}}));
    paths.insert(Bottom, polyline({{x + sx * lx, y2}, {x2 - sx * lx, y2}}));
    return paths;
}

} // namespace SelectionHandles

#include "selection/selection.h"

#include "document/document.h"

Selection::Selection(Document *document, QObject *parent) : QObject(parent)
{
    connect(document, &Document::shown, this, &Selection::show);
}

void Selection::show(Image *image, const ViewState &state)
{
    const QRect bounds(0, 0, image->width(), image->height());
    const bool resized = bounds != m_bounds;
    m_bounds = bounds;
    // Set as a user would draw it: a stored rectangle is clamped like any.
    const QRectF rect =
        state.valid ? snapped(state.selection.topLeft(), state.selection.bottomRight()).normalized()
                    : QRectF();
    if (rect == m_rect && !resized)
        return;
    m_rect = rect;
    emit changed();
}

QRectF Selection::snapped(const QPointF &p1, const QPointF &p2) const
{
    // A corner may lie on the right or bottom border of the picture.
    const auto clamp = [](double value, int low, int high) {
        return double(qRound(qBound(double(low), value, double(high))));
    };
    const double x1 = clamp(p1.x(), m_bounds.left(), m_bounds.left() + m_bounds.width());
    const double y1 = clamp(p1.y(), m_bounds.top(), m_bounds.top() + m_bounds.height());
    const double x2 = clamp(p2.x(), m_bounds.left(), m_bounds.left() + m_bounds.width());
    const double y2 = clamp(p2.y(), m_bounds.top(), m_bounds.top() + m_bounds.height());
    return QRectF(x1, y1, x2 - x1, y2 - y1);
}

void Selection::setFromPoints(const QPointF &p1, const QPointF &p2)
{
    const QRectF rect = snapped(p1, p2).normalized();
    if (rect == m_rect)
        return;
    m_rect = rect;
    emit changed();
}

void Selection::clear()
{
    setFromPoints(QPointF(0, 0), QPointF(0, 0));
}

void Selection::selectAll()
{
    setFromPoints(m_bounds.topLeft(),
                  QPointF(m_bounds.left() + m_bounds.width(), m_bounds.top() + m_bounds.height()));
}

bool Selection::nudge(const QPoint &delta, bool edges)
{
    if (!hasSelection())
        return false;
    const QRectF r = m_rect;
    const double right = m_bounds.left() + m_bounds.width();
    const double bottom = m_bounds.top() + m_bounds.height();
    if (edges) {
        const double width = qBound(1.0, r.width() + delta.x(), right - r.left());
        const double height = qBound(1.0, r.height() + delta.y(), bottom - r.top());
        setFromPoints(r.topLeft(), r.topLeft() + QPointF(width, height));
    } else {
        // The whole selection stops at the border; it never shrinks there.
        const QPointF shift(
            qBound(m_bounds.left() - r.left(), double(delta.x()), right - r.right()),
            qBound(m_bounds.top() - r.top(), double(delta.y()), bottom - r.bottom()));
        setFromPoints(r.topLeft() + shift, r.bottomRight() + shift);
    }
    return true;
}

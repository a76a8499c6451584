#include "view/pixmapitem.h"

#include "view/view.h"

#include <QPainter>

PixmapItem::PixmapItem(View *view) : m_view(view)
{
}

void PixmapItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const QRectF bounds = boundingRect();
    if (bounds.width() > 0 && bounds.height() > 0) {
        // A cosmetic pen (width 0) is one view pixel wide at every zoom; the
        // rectangle is pulled in by one view pixel so the stroke lies on the
        // outermost ring of image pixels, under the pixmap drawn next.
        const qreal onePixel = 1.0 / m_view->zoom();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(QColor(170, 170, 170, 255), 0));
        painter->drawRect(
            QRectF(bounds.x(), bounds.y(), bounds.width() - onePixel, bounds.height() - onePixel));
    }
    QGraphicsPixmapItem::paint(painter, option, widget);
}

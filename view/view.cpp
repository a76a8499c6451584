#include "view/view.h"

#include "app/lumeno.h"
#include "document/image.h"
#include "view/pixmapitem.h"

#include <QGraphicsScene>
#include <QPainter>

namespace {
constexpr double MinZoom = 1.0 / 32.0;
constexpr double MaxZoom = 128.0;
} // namespace

View::View(QWidget *parent) : QGraphicsView(parent)
{
    setObjectName(QStringLiteral("view"));
    setScene(new QGraphicsScene(this));
    setDragMode(QGraphicsView::NoDrag);
    setMouseTracking(true);
    // The scroll bars exist and are driven by code, but are never shown.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAcceptDrops(false);
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);

    m_pixmapItem = new PixmapItem(this);
    scene()->addItem(m_pixmapItem);
    m_pixmapItem->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
    m_pixmapItem->setAcceptDrops(false);

    if (Lumeno *window = Lumeno::instance())
        m_checkerBrush = QBrush(window->pixmap(QStringLiteral("checker")));
}

bool View::hasImage() const
{
    return m_image && !m_image->isNull;
}

void View::setImage(Image *image)
{
    m_image = image;
    m_pixmapItem->setPixmap(image->pixmap);
    setZoom(1.0);
    updateSceneRect();
    centerOnImage();
}

void View::setZoom(double z)
{
    m_zoom = qBound(MinZoom, z, MaxZoom);
    const double factor = m_zoom / transform().m11();
    scale(factor, factor);
    updateSceneRect();
}

void View::updateSceneRect()
{
    // The user may scroll until any edge of the image reaches the middle of
    // the window, and no further.
    const QRectF imageRect = m_pixmapItem->boundingRect();
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    const qreal dx = visible.width() / 2;
    const qreal dy = visible.height() / 2;
    setSceneRect(imageRect.adjusted(-dx, -dy, dx, dy));
}

void View::centerOnImage()
{
    centerOn(m_pixmapItem->boundingRect().center());
}

void View::resizeEvent(QResizeEvent *event)
{
    updateSceneRect();
    QGraphicsView::resizeEvent(event);
}

void View::showEvent(QShowEvent *event)
{
    updateSceneRect();
    QGraphicsView::showEvent(event);
}

void View::contextMenuEvent(QContextMenuEvent *)
{
    // No context menu, and the scene never sees context-menu events.
}

void View::drawBackground(QPainter *painter, const QRectF &)
{
    // Painted in viewport pixels: the checkerboard stays fixed to the window
    // and neither scales nor scrolls with the picture.
    painter->resetTransform();
    const QRect area = viewport()->rect();
    if (hasImage()) {
        painter->fillRect(area, m_checkerBrush);
    } else {
        painter->setPen(Qt::NoPen);
        painter->fillRect(area, Qt::white);
    }
}

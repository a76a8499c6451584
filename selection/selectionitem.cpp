#include "selection/selectionitem.h"

#include "app/lumeno.h"
#include "document/image.h"
#include "view/view.h"

#include <QApplication>
#include <QCursor>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

using namespace SelectionHandles;

namespace {

// Moving the pointer while following a drag can deliver another mouse move
// inside the same call chain; this keeps that one from scrolling again.
int s_followDragNesting = 0;

constexpr double LabelOffset = 40.0;    // view pixels above the selection
constexpr double DragScrollMargin = 25; // view pixels kept inside the window

} // namespace

SelectionItem::SelectionItem(View *view) : m_view(view)
{
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsFocusable);
    setAcceptDrops(false);
    setFocus(Qt::OtherFocusReason);
    if (Lumeno *window = Lumeno::instance())
        m_dropTargetPixmap = window->pixmap(QStringLiteral("drag-and-drop-target"));
    m_labelImage = QImage(300, 50, QImage::Format_ARGB32);
    updateLabel();
    view->scene()->addItem(this);
}

void SelectionItem::setImage(Image *image)
{
    m_image = image;
    prepareGeometryChange();
    m_imageRect = QRectF(0, 0, image->width(), image->height());
}

void SelectionItem::setBounds(const QRectF &bounds)
{
    prepareGeometryChange();
    m_bounds = bounds;
    updateOutsidePath();
}

QRectF SelectionItem::boundingRect() const
{
    return m_bounds;
}

void SelectionItem::setFromPoints(const QPointF &p1, const QPointF &p2)
{
    // A corner may lie on the right or bottom border of the image.
    const auto clampX = [this](double x) {
        return qMin(qMax(x, m_imageRect.left()), m_imageRect.left() + m_imageRect.width());
    };
    const auto clampY = [this](double y) {
        return qMin(qMax(y, m_imageRect.top()), m_imageRect.top() + m_imageRect.height());
    };
    const double x1 = qRound(clampX(p1.x()));
    const double y1 = qRound(clampY(p1.y()));
    const double x2 = qRound(clampX(p2.x()));
    const double y2 = qRound(clampY(p2.y()));

    m_rawRect = QRectF(x1, y1, x2 - x1, y2 - y1);
    const QRectF normalized(qMin(x1, x2), qMin(y1, y2), qAbs(x2 - x1), qAbs(y2 - y1));
    if (normalized != m_rect) {
        m_rect = normalized;
        updateOutsidePath();
        updateLabel();
        emit selectionChanged();
    }
    updateHandlePaths();
}

void SelectionItem::clear()
{
    setFromPoints(QPointF(0, 0), QPointF(0, 0));
    update();
}

void SelectionItem::selectAll()
{
    setFromPoints(m_imageRect.topLeft(), m_imageRect.bottomRight());
    update();
}

bool SelectionItem::nudge(const QPoint &delta, bool edges)
{
    if (!hasSelection() || m_creating || m_adjusting)
        return false;
    const QRectF r = m_rect;
    if (edges) {
        const double width = qBound(1.0, r.width() + delta.x(), m_imageRect.right() - r.left());
        const double height = qBound(1.0, r.height() + delta.y(), m_imageRect.bottom() - r.top());
        setFromPoints(r.topLeft(), r.topLeft() + QPointF(width, height));
    } else {
        // The whole selection stops at the border; it never shrinks there.
        const QPointF shift(qBound(m_imageRect.left() - r.left(), double(delta.x()),
                                   m_imageRect.right() - r.right()),
                            qBound(m_imageRect.top() - r.top(), double(delta.y()),
                                   m_imageRect.bottom() - r.bottom()));
        setFromPoints(r.topLeft() + shift, r.bottomRight() + shift);
    }
    update();
    return true;
}

bool SelectionItem::hasSelection() const
{
    return m_rect.width() != 0 && m_rect.height() != 0;
}

Handle SelectionItem::hitTest(const QPointF &scenePos) const
{
    return SelectionHandles::hitTest(m_rect, scenePos, m_view->zoom());
}

QPointF SelectionItem::handleAnchor(const QPointF &scenePos) const
{
    return SelectionHandles::anchor(m_rect, hitTest(scenePos), scenePos);
}

QPainterPath SelectionItem::handlePath(int handle)
{
    // Ids without an outline (None, Inside) get an empty one, so highlighting
    // them draws nothing.
    return m_handlePaths[handle];
}

void SelectionItem::updateHandlePaths()
{
    // While dragging, the outlines follow the corner being dragged, even past
    // the opposite side.
    const QRectF r = (m_creating || m_adjusting) ? m_rawRect : m_rect;
    m_handlePaths = outlines(r, m_view->zoom());
}

void SelectionItem::updateOutsidePath()
{
    const double onePixel = 1.0 / m_view->zoom();
    QRectF inside = m_rect;
    if (inside.width() > 0)
        inside.setWidth(inside.width() - onePixel);
    if (inside.height() > 0)
        inside.setHeight(inside.height() - onePixel);
    QPainterPath all;
    all.addRect(m_bounds);
    QPainterPath selected;
    selected.addRect(inside);
    m_outsidePath = all.subtracted(selected);
}

void SelectionItem::setHoverHandle(int handle)
{
    if (handle == m_hoverHandle)
        return;
    m_hoverHandle = handle;
    update();
}

void SelectionItem::updateCursor()
{
    if (!m_view->hasFocus())
        m_view->setFocus(Qt::OtherFocusReason);
    Qt::CursorShape shape;
    if (m_view->isPanning())
        shape = Qt::ClosedHandCursor;
    else if (m_view->isZoomDragging() || m_creating)
        shape = Qt::ArrowCursor; // also while a new selection is dragged out
    else
        shape = cursorShape(m_hoverHandle);
    // Runs on every mouse move: only tell the window system about changes.
    if (!hasCursor() || cursor().shape() != shape)
        setCursor(shape);
}

QPoint SelectionItem::sceneToGlobal(const QPointF &scenePos) const
{
    return m_view->viewport()->mapToGlobal(m_view->mapFromScene(scenePos));
}

void SelectionItem::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    setHoverHandle(hitTest(m_view->snappedScenePos()));
    updateCursor();
    QGraphicsItem::hoverMoveEvent(event);
}

bool SelectionItem::sceneEvent(QEvent *event)
{
    return QGraphicsItem::sceneEvent(event);
}

void SelectionItem::keyPressEvent(QKeyEvent *event)
{
    QGraphicsItem::keyPressEvent(event);
}

void SelectionItem::keyReleaseEvent(QKeyEvent *event)
{
    QGraphicsItem::keyReleaseEvent(event);
}

void SelectionItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::RightButton || m_imageRect.width() <= 0 ||
        m_imageRect.height() <= 0) {
        // Ignored, so the item does not grab the mouse.
        QGraphicsItem::mousePressEvent(event);
        updateCursor();
        return;
    }

    if (m_hoverHandle != None && !m_creating) {
        // Grabbing a corner a few pixels off puts the pointer exactly on it,
        // so that the corner then follows the pointer one to one.
        m_pressPos = handleAnchor(m_view->snappedScenePos());
        QCursor::setPos(sceneToGlobal(m_pressPos));
        m_activeHandle = m_hoverHandle;
        m_rectAtPress = m_rect;
        m_adjusting = true;
        updateCursor();
    } else {
        m_pressPos = m_view->snappedScenePos();
        setFromPoints(m_pressPos, m_pressPos);
        m_rectAtPress = m_rect;
        m_creating = true;
        update();
        updateCursor();
    }
    // Accepted: the item now grabs the mouse until the release.
    event->accept();
}

void SelectionItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (!m_creating && !m_adjusting) {
        QGraphicsItem::mouseMoveEvent(event);
        updateCursor();
        return;
    }

    const QPointF p = m_view->snappedScenePos();
    const double x0 = m_rectAtPress.x(), y0 = m_rectAtPress.y();
    const double w0 = m_rectAtPress.width(), h0 = m_rectAtPress.height();
    double x = x0, y = y0, w = w0, h = h0;
    // A new selection is dragged out by its bottom-right corner. Every step
    // starts again from the rectangle at the press, so a selection squeezed
    // against the image border regains its size when moved back.
    const int handle = m_creating ? BottomRight : m_activeHandle;
    const auto dragLeft = [&] {
        x = p.x(), w = w0 - (p.x() - x0);
    };
    const auto dragTop = [&] {
        y = p.y(), h = h0 - (p.y() - y0);
    };
    const auto dragRight = [&] {
        w = p.x() - x0;
    };
    const auto dragBottom = [&] {
        h = p.y() - y0;
    };
    switch (handle) {
    case Inside:
        x = x0 + (p.x() - m_pressPos.x());
        y = y0 + (p.y() - m_pressPos.y());
        break;
    case TopLeft:
        dragLeft();
        dragTop();
        break;
    case Top:
        dragTop();
        break;
    case TopRight:
        dragRight();
        dragTop();
        break;
    case Right:
        dragRight();
        break;
    case BottomRight:
        dragRight();
        dragBottom();
        break;
    case Bottom:
        dragBottom();
        break;
    case BottomLeft:
        dragLeft();
        dragBottom();
        break;
    case Left:
        dragLeft();
        break;
    default:
        break;
    }
    setFromPoints(QPointF(x, y), QPointF(x + w, y + h));

    const QRectF followed = handle == Inside ? QRectF(x, y, w, h) : QRectF(p, QSizeF(0, 0));
    followDrag(followed, p, DragScrollMargin);
    update();
    updateCursor();
}

void SelectionItem::followDrag(const QRectF &rect, const QPointF &anchor, double margin)
{
    ++s_followDragNesting;
    if (s_followDragNesting == 1) {
        // The picture scrolled by delta; moving the pointer with it keeps it
        // over the same image point.
        const QPoint delta = m_view->scrollToShow(rect, anchor, margin);
        if (!delta.isNull())
            QCursor::setPos(QCursor::pos() + delta);
    }
    --s_followDragNesting;
}

void SelectionItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_creating) {
        m_creating = false;
        update();
    } else if (m_adjusting) {
        m_adjusting = false;
        update();
    } else {
        QGraphicsItem::mouseReleaseEvent(event);
    }
    updateHandlePaths();
    updateCursor();
    if (Lumeno *window = Lumeno::instance())
        window->updateButtons();
}

void SelectionItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *)
{
    doubleClick();
}

void SelectionItem::doubleClick()
{
    if (m_hoverHandle != None)
        m_view->zoomToSel();
    else
        m_view->zoomToFit();
}

QFont SelectionItem::labelFont() const
{
    QFont font = Lumeno::instance() ? Lumeno::instance()->font() : QApplication::font();
    font.setPixelSize(20);
    return font;
}

void SelectionItem::updateLabel()
{
    // Rendered once per change of the rectangle, never while painting.
    m_labelImage.fill(QColor(255, 255, 255, 0));
    const QString text = QStringLiteral("%1x%2 @ (%3, %4)")
                             .arg(m_rect.width())
                             .arg(m_rect.height())
                             .arg(m_rect.x())
                             .arg(m_rect.y());
    QPainter painter(&m_labelImage);
    painter.setPen(
        QPen(QBrush(QColor(255, 255, 255, 255)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setFont(labelFont());
    painter.setRenderHints(QPainter::TextAntialiasing | QPainter::Antialiasing);
    painter.drawText(QPointF(0, 35), text);
    painter.end();
    m_labelPixmap = QPixmap::fromImage(m_labelImage);
}

void SelectionItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_image) {
        // The drop hint, centred on the scene rectangle, which is centred on
        // the window while there is no image.
        const int cx = (2 * int(m_bounds.x()) + int(m_bounds.width()) - 1) / 2;
        const int cy = (2 * int(m_bounds.y()) + int(m_bounds.height()) - 1) / 2;
        const QSize size = m_dropTargetPixmap.deviceIndependentSize().toSize();
        painter->drawPixmap(cx - size.width() / 2, cy - size.height() / 2, m_dropTargetPixmap);
        return;
    }
    if (!hasSelection() && !m_creating && !m_adjusting)
        return;

    const double zoom = m_view->zoom();
    const double onePixel = 1.0 / zoom;
    painter->setRenderHint(QPainter::Antialiasing, false);

    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0, 0, 0, 128));
    painter->drawPath(m_outsidePath);

    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 0));
    QRectF frame = m_rect;
    if (frame.width() > 0)
        frame.setWidth(frame.width() - onePixel);
    if (frame.height() > 0)
        frame.setHeight(frame.height() - onePixel);
    if (frame.width() > 0 && frame.height() > 0)
        painter->drawRect(frame);
    else
        painter->drawLine(frame.topLeft(), frame.bottomRight());

    if (m_hoverHandle != None) {
        QPen highlight(QBrush(Qt::red), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        highlight.setCosmetic(true);
        painter->setPen(highlight);
        painter->drawPath(handlePath(m_hoverHandle));
    }

    // The label keeps its size on screen: one unit is one view pixel here.
    painter->scale(onePixel, onePixel);
    painter->drawPixmap(QPointF(m_rect.x() * zoom, m_rect.y() * zoom - LabelOffset), m_labelPixmap);
}

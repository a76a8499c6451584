#include "view/selectionitem.h"

#include "selection/selection.h"
#include "util/artwork.h"
#include "util/utilities.h"
#include "view/view.h"

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

SelectionItem::SelectionItem(View *view, Selection *selection, const Artwork &artwork)
    : m_view(view), m_selection(selection), m_artwork(&artwork)
{
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsFocusable);
    setAcceptDrops(false);
    setFocus(Qt::OtherFocusReason);
    updateLabel();
    view->scene()->addItem(this);
    connect(selection, &Selection::changed, this, &SelectionItem::selectionChanged);
}

void SelectionItem::selectionChanged()
{
    updateOutsidePath();
    updateHandlePaths();
    updateLabel();
    update();
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

Handle SelectionItem::hitTest(const QPointF &scenePos) const
{
    return SelectionHandles::hitTest(m_selection->rect(), scenePos, m_view->zoom());
}

void SelectionItem::updateHandlePaths()
{
    // While dragging, the outlines follow the corner being dragged, even past
    // the opposite side.
    m_handlePaths = outlines(isDragging() ? m_rawRect : m_selection->rect(), m_view->zoom());
}

void SelectionItem::updateOutsidePath()
{
    const double onePixel = 1.0 / m_view->zoom();
    QRectF inside = m_selection->rect();
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

void SelectionItem::pointerMoved()
{
    setHoverHandle(hitTest(m_view->snappedScenePos()));
}

void SelectionItem::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    pointerMoved();
    updateCursor();
    QGraphicsItem::hoverMoveEvent(event);
}

void SelectionItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::RightButton || m_selection->bounds().isEmpty()) {
        // Ignored, so the item does not grab the mouse.
        QGraphicsItem::mousePressEvent(event);
        updateCursor();
        return;
    }

    if (m_hoverHandle != None && !m_creating) {
        // A corner grabbed a few pixels off stays that far from the pointer
        // and follows it one to one; the pointer itself is not moved onto
        // it, so this is the same where the platform cannot move it.
        const QPointF p = m_view->snappedScenePos();
        m_pressPos = anchor(m_selection->rect(), hitTest(p), p);
        m_grabOffset = m_pressPos - p;
        m_activeHandle = m_hoverHandle;
        m_rectAtPress = m_selection->rect();
        m_rawRect = m_rectAtPress;
        m_adjusting = true;
    } else {
        m_pressPos = m_view->snappedScenePos();
        m_grabOffset = QPointF();
        m_creating = true;
        dragTo(QRectF(m_pressPos, m_pressPos));
        m_rectAtPress = m_selection->rect();
    }
    update();
    updateCursor();
    // Accepted: the item now grabs the mouse until the release.
    event->accept();
}

void SelectionItem::dragTo(const QRectF &rect)
{
    m_rawRect = m_selection->snapped(rect.topLeft(), rect.bottomRight());
    m_selection->setFromPoints(rect.topLeft(), rect.bottomRight());
    updateHandlePaths();
}

void SelectionItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (!isDragging()) {
        QGraphicsItem::mouseMoveEvent(event);
        updateCursor();
        return;
    }

    const QPointF p = m_view->snappedScenePos() + m_grabOffset;
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
    dragTo(QRectF(x, y, w, h));

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
        // over the same image point. Where it cannot be moved, it stays over
        // a point further on: the next move drags there and scrolls again,
        // the further the pointer is past the margin, the faster.
        const QPoint delta = m_view->scrollToShow(rect, anchor, margin);
        if (!delta.isNull() && pointerCanBeMoved())
            QCursor::setPos(QCursor::pos() + delta);
        else if (!delta.isNull())
            m_view->hoverAt(m_view->cursorPos());
    }
    --s_followDragNesting;
}

void SelectionItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (!isDragging())
        QGraphicsItem::mouseReleaseEvent(event);
    m_creating = false;
    m_adjusting = false;
    updateHandlePaths();
    update();
    updateCursor();
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

void SelectionItem::updateLabel()
{
    // Rendered once per change of the rectangle, never while painting. Whole
    // numbers are written as such, however large.
    const QRectF r = m_selection->rect();
    const auto number = [](double value) {
        return QString::number(qint64(value));
    };
    const QString text = number(r.width()) + QLatin1Char('x') + number(r.height()) +
                         QStringLiteral(" @ (") + number(r.x()) + QStringLiteral(", ") +
                         number(r.y()) + QLatin1Char(')');
    QFont font = m_view->font();
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    QImage label(qMax(300, metrics.horizontalAdvance(text) + 4), 50, QImage::Format_ARGB32);
    label.fill(Qt::transparent);
    QPainter painter(&label);
    painter.setPen(
        QPen(QBrush(QColor(255, 255, 255, 255)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setFont(font);
    painter.setRenderHints(QPainter::TextAntialiasing | QPainter::Antialiasing);
    painter.drawText(QPointF(0, 35), text);
    painter.end();
    m_labelPixmap = QPixmap::fromImage(label);
}

void SelectionItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (m_selection->bounds().isEmpty()) {
        // The drop hint, centred on the scene rectangle, which is centred on
        // the window while there is no image; not while one is on its way.
        if (m_view->isPreviewing() || m_view->isAwaitingPicture())
            return;
        const QPixmap hint = m_artwork->pixmap(QStringLiteral("drag-and-drop-target"));
        const int cx = (2 * int(m_bounds.x()) + int(m_bounds.width()) - 1) / 2;
        const int cy = (2 * int(m_bounds.y()) + int(m_bounds.height()) - 1) / 2;
        const QSize size = hint.deviceIndependentSize().toSize();
        painter->drawPixmap(cx - size.width() / 2, cy - size.height() / 2, hint);
        return;
    }
    if (!m_selection->hasSelection() && !isDragging())
        return;

    const QRectF rect = m_selection->rect();
    const double zoom = m_view->zoom();
    const double onePixel = 1.0 / zoom;
    painter->setRenderHint(QPainter::Antialiasing, false);

    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0, 0, 0, 128));
    painter->drawPath(m_outsidePath);

    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 0));
    QRectF frame = rect;
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
        painter->drawPath(m_handlePaths.value(m_hoverHandle));
    }

    // The label keeps its size on screen: one unit is one view pixel here.
    painter->scale(onePixel, onePixel);
    painter->drawPixmap(QPointF(rect.x() * zoom, rect.y() * zoom - LabelOffset), m_labelPixmap);
}

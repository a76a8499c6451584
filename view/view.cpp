#include "view/view.h"

#include "app/lumeno.h"
#include "document/document.h"
#include "document/image.h"
#include "document/manager.h"
#include "selection/selectionitem.h"
#include "util/utilities.h"
#include "view/glcapabilities.h"
#include "view/pixmapitem.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QCursor>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>
#include <QVarLengthArray>
#include <QtMath>

#include <algorithm>

namespace {

constexpr double MinZoom = 1.0 / 32.0;
constexpr double MaxZoom = 128.0;
constexpr double WheelStep = 1.2;
constexpr int WheelNotch = 120; // eighths of a degree in one notch of a wheel
// The grid and the box show where what they frame is at least this many
// logical pixels across: from zoom 8 up for a single pixel.
constexpr double OverlayZoom = 8.0;
constexpr int GridAlpha = 56;
// View pixels kept between a nudged pointer and the window's edges.
constexpr double NudgeMargin = 25.0;

// The box is a dark ring on the framed pixels' outermost device pixels and a
// light one just outside them, each about one logical pixel wide.
int boxLineWidth(double ratio)
{
    return qMax(1, int(ratio));
}

// The logical viewport pixels the box around the given device pixels covers,
// with a pixel to spare; empty for no box.
QRect boxArea(const QRect &pixels, double ratio)
{
    if (pixels.isEmpty())
        return QRect();
    const int width = boxLineWidth(ratio);
    const QRectF device(pixels.adjusted(-width, -width, width, width));
    return QRectF(device.topLeft() / ratio, device.size() / ratio)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

// No view has been shown yet: the first show schedules the OpenGL switch.
bool s_firstShow = true;

} // namespace

View::View(QWidget *parent) : QGraphicsView(parent)
{
    setObjectName(QStringLiteral("view"));
    setScene(new QGraphicsScene(this));
    setDragMode(QGraphicsView::NoDrag);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // The scroll bars exist and are driven by code, but are never shown.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAcceptDrops(false);
    setRenderHint(QPainter::Antialiasing, false);
    setFrameShape(QFrame::NoFrame);
    // The selection item covers the whole scene, so nearly every change
    // repaints everything; say so instead of computing minimal regions.
    // (The box around the hovered pixel asks for its own small areas.)
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    // drawBackground() covers every pixel: nothing to erase first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    m_pixmapItem = new PixmapItem(this);
    scene()->addItem(m_pixmapItem);
    m_pixmapItem->setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
    m_pixmapItem->setAcceptDrops(false);

    if (Lumeno *window = Lumeno::instance())
        m_checkerBrush = QBrush(window->pixmap(QStringLiteral("checker")));

    // Created after the image item, so it is stacked above it.
    m_selectionItem = new SelectionItem(this);

    m_glTimer = new QTimer(this);
    m_glTimer->setInterval(200);
    m_glTimer->setSingleShot(true);

    // Dashes of two device pixels, dark and light in turn, so the grid shows
    // on every picture; along a line the pattern runs the same way.
    QImage tile(4, 4, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixelColor(
                x, y, (x + y) & 2 ? QColor(255, 255, 255, GridAlpha) : QColor(0, 0, 0, GridAlpha));
    }
    m_gridBrush = QBrush(tile);

    connect(m_selectionItem, &SelectionItem::selectionChanged, this, &View::selectionChanged);
    connect(m_glTimer, &QTimer::timeout, this, &View::ensureGlWidget);
}

bool View::hasImage() const
{
    return m_image && !m_image->isNull;
}

bool View::hasSelection() const
{
    return m_selectionItem->hasSelection();
}

bool View::canPaste() const
{
    // Asked at every button refresh, after every selection release among
    // them: look at the offered formats instead of fetching and decoding
    // what may be a large picture from another program each time.
    const QMimeData *data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasImage();
}

QColor View::sampledColor(const QPoint &pixel) const
{
    if (!m_image || !m_image->contains(pixel.x(), pixel.y()))
        return QColor(Qt::transparent);
    if (m_sampleSize == 1)
        return QColor::fromRgba(m_image->image.pixel(pixel));
    const int half = m_sampleSize / 2;
    return averageColor(m_image->image,
                        QRect(pixel - QPoint(half, half), QSize(m_sampleSize, m_sampleSize)));
}

void View::setSampleSize(int size)
{
    size = qBound(1, size | 1, 5);
    if (size == m_sampleSize)
        return;
    m_sampleSize = size;
    // The readout and the box follow at once, without a mouse move.
    emitHoverColor();
    updateHoverBox();
}

void View::setPixelGridVisible(bool visible)
{
    if (visible == m_pixelGridVisible)
        return;
    m_pixelGridVisible = visible;
    viewport()->update();
}

void View::setHoverBoxVisible(bool visible)
{
    m_hoverBoxVisible = visible;
    updateHoverBox();
}

PixelMapping View::pixelMapping() const
{
    // The same transform the items are painted with: a scale by the zoom,
    // then a shift by the whole-pixel scroll offsets.
    const QTransform t = viewportTransform();
    return PixelMapping(t.m11(), QPointF(-t.dx(), -t.dy()), viewport()->devicePixelRatio());
}

QPointF View::snappedScenePos() const
{
    const PixelMapping mapping = pixelMapping();
    return mapping.sceneAtCorner(mapping.devicePixelAt(m_eventPos));
}

QPointF View::eventPosition(const QSinglePointEvent *event) const
{
    const QPointF rounded = event->position();
    const QPointF precise = viewport()->mapFrom(viewport()->window(), event->scenePosition());
    // An event made by hand may carry its widget position as the window
    // position too: then the two disagree by more than the rounding.
    if (qAbs(precise.x() - rounded.x()) <= 0.5 && qAbs(precise.y() - rounded.y()) <= 0.5)
        return precise;
    return rounded;
}

void View::setImage(Image *image)
{
    m_image = image;
    m_pixmapItem->showPixmap(image->pixmap);
    m_selectionItem->setImage(image);
    m_selectionItem->clear();
    setZoom(1.0);
    updateSceneRect();
    centerOnImage();
    ensureGlWidgetDelayed();
}

void View::setZoom(double z)
{
    // The scene point at the centre of the viewport stays there. Scaling alone
    // does not ensure it: the scene rectangle, which depends on the zoom, is
    // only widened afterwards.
    const QPointF centre = mapToScene(viewport()->rect()).boundingRect().center();
    m_zoom = qBound(MinZoom, z, MaxZoom);
    // Set, not multiplied in: the transform's scale is exactly the zoom, so
    // what is painted and what is picked use the same number.
    setTransform(QTransform::fromScale(m_zoom, m_zoom));
    updateSceneRect();
    centerOn(centre);
    // Handle outlines and the dimmed area are kept in image pixels, sized for
    // a constant width on screen.
    m_selectionItem->updateHandlePaths();
    m_selectionItem->updateOutsidePath();
}

void View::updateSceneRect()
{
    // The user may scroll until any edge of the image reaches the middle of
    // the window, and no further.
    const QRectF imageRect = m_pixmapItem->boundingRect();
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    const qreal dx = visible.width() / 2;
    const qreal dy = visible.height() / 2;
    const QRectF sceneBounds = imageRect.adjusted(-dx, -dy, dx, dy);
    m_selectionItem->setBounds(sceneBounds);
    setSceneRect(sceneBounds);
}

void View::centerOnImage()
{
    const QRectF r = m_pixmapItem->boundingRect();
    centerOn(r.x() + 0.5 * r.width(), r.y() + 0.5 * r.height());
}

void View::fitRect(const QRectF &r, bool isSelection)
{
    // Nothing to fit (no image, or a selection without area): dividing by its
    // size would be meaningless.
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QRect area(QPoint(35, 20), QPoint(viewport()->width() - 36, viewport()->height() - 36));
    const QRectF s = mapToScene(area).boundingRect();
    const double factor = qMin(s.width() / r.width(), s.height() / r.height());
    setZoom(m_zoom * factor);
    centerOn(r.center());
    if (isSelection)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 10);
}

void View::zoomToFit()
{
    fitRect(m_pixmapItem->boundingRect(), false);
}

void View::zoomToSel()
{
    if (m_selectionItem->hasSelection())
        fitRect(m_selectionItem->rect(), true);
    else
        zoomToFit();
}

void View::zoomReset()
{
    setZoom(1.0);
    centerOnImage();
    viewport()->update();
}

QPoint View::scrollToShow(const QRectF &r, const QPointF &anchor, double margin)
{
    QRect vr = mapFromScene(r).boundingRect();
    const QPoint a = mapFromScene(anchor);
    const int m = int(margin);
    const QRect inner(QPoint(m, m),
                      QPoint(viewport()->width() - 1 - m, viewport()->height() - 1 - m));

    // Too large to show whole: keep the anchor in view instead.
    if (vr.right() - vr.left() > inner.right() - inner.left()) {
        vr.setLeft(a.x());
        vr.setRight(a.x());
    }
    if (vr.bottom() - vr.top() > inner.bottom() - inner.top()) {
        vr.setTop(a.y());
        vr.setBottom(a.y());
    }
    if (inner.contains(vr))
        return QPoint(0, 0);

    int dx = 0;
    if (vr.left() < inner.left())
        dx = inner.left() - vr.left();
    else if (vr.right() > inner.right())
        dx = inner.right() - vr.right();
    int dy = 0;
    if (vr.top() < inner.top())
        dy = inner.top() - vr.top();
    else if (vr.bottom() > inner.bottom())
        dy = inner.bottom() - vr.bottom();

    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() - dy);
    return QPoint(dx, dy);
}

void View::scrollBy(int dx, int dy)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void View::updateHover()
{
    updateHover(viewport()->mapFromGlobal(QPointF(QCursor::pos())));
}

void View::updateHover(const QPointF &viewportPos)
{
    m_cursorPos = viewportPos;
    setHoverScenePos(pixelMapping().scenePosAt(m_cursorPos));
    emitHoverColor();
}

void View::setHoverScenePos(const QPointF &scenePos)
{
    m_hoverScenePos = scenePos;
    updateHoverBox();
}

QRect View::hoverBoxPixels(const PixelMapping &mapping) const
{
    if (!m_hoverBoxVisible || !m_pointerInside || !hasImage() ||
        mapping.zoom() * m_sampleSize < OverlayZoom)
        return QRect();
    const QRect image(0, 0, m_image->width(), m_image->height());
    const QPoint centre = PixelMapping::pixelAt(m_hoverScenePos);
    if (!image.contains(centre))
        return QRect();
    const int half = m_sampleSize / 2;
    const QRect square(centre - QPoint(half, half), QSize(m_sampleSize, m_sampleSize));
    return mapping.deviceRect(square.intersected(image));
}

void View::updateHoverBox()
{
    // Everything else on screen stays as it is: only the box's old and new
    // places are repainted.
    const PixelMapping mapping = pixelMapping();
    const QRect area = boxArea(hoverBoxPixels(mapping), mapping.devicePixelRatio());
    if (area == m_hoverBoxArea)
        return;
    if (!m_hoverBoxArea.isEmpty())
        viewport()->update(m_hoverBoxArea);
    if (!area.isEmpty())
        viewport()->update(area);
    m_hoverBoxArea = area;
}

bool View::nudgePointer(const QPoint &delta)
{
    if (!hasImage() || !m_pointerInside)
        return false;
    const QPoint from = PixelMapping::pixelAt(m_hoverScenePos);
    const QRect image(0, 0, m_image->width(), m_image->height());
    if (!image.contains(from))
        return false;

    PixelMapping mapping = pixelMapping();
    // Where an image pixel is smaller than a screen pixel, the pointer moves
    // by screen pixels instead, so that every step shows.
    const bool fine = mapping.zoom() < 1.0;
    QPointF wanted = m_cursorPos + QPointF(delta) * (fine ? 1.0 : mapping.zoom());
    QPoint to = fine ? PixelMapping::pixelAt(mapping.scenePosAt(wanted)) : from + delta;
    // The pointer stays over the image: a step beyond its edge stops there.
    const QPoint bounded(qBound(0, to.x(), image.right()), qBound(0, to.y(), image.bottom()));
    if (fine && bounded.x() != to.x())
        wanted.setX(m_cursorPos.x());
    if (fine && bounded.y() != to.y())
        wanted.setY(m_cursorPos.y());
    to = bounded;

    const QPoint scrolled =
        scrollToShow(QRectF(to, QSizeF(1, 1)), QPointF(to) + QPointF(0.5, 0.5), NudgeMargin);
    mapping = pixelMapping();
    const QPoint pos = mapping.pointerPosIn(to, wanted + QPointF(scrolled));
    QCursor::setPos(viewport()->mapToGlobal(pos));
    // The window system reports the move later, or (where programs may not
    // move the pointer) never: the readout follows now.
    updateHover(QPointF(pos));
    return true;
}

void View::keepUnder(const QPointF &scenePos, const QPointF &viewportPos)
{
    const PixelMapping mapping = pixelMapping();
    const QPointF now = mapping.viewportPosAt(scenePos);
    const QPointF wanted = mapping.viewportPosAt(mapping.scenePosAt(viewportPos));
    scrollBy(qRound(now.x() - wanted.x()), qRound(now.y() - wanted.y()));
}

void View::emitHoverColor()
{
    // The colour and the position tokens both come from the pixel under the
    // point, floored: outside the image, also just left of or above it, that
    // is transparent black.
    if (hasImage())
        emit hoverColorChanged(sampledColor(PixelMapping::pixelAt(m_hoverScenePos)),
                               m_hoverScenePos);
}

void View::emitClickColor()
{
    if (hasImage())
        emit clickColorChanged(sampledColor(PixelMapping::pixelAt(m_hoverScenePos)),
                               m_hoverScenePos);
}

void View::mousePressEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    if (hasImage()) {
        // The click is where the button went down, also when no move came
        // first (the window was just shown under a still pointer).
        m_pointerInside = true;
        updateHover(m_eventPos);
        emitClickColor();
        if (!m_panning && !m_zoomDragging) {
            if (event->button() == Qt::LeftButton) {
                m_panning = true;
                m_pressCursorPos = m_cursorPos;
                m_vScrollAtPress = verticalScrollBar()->value();
                m_hScrollAtPress = horizontalScrollBar()->value();
                m_selectionItem->updateCursor();
                event->accept();
                return;
            }
            if (event->button() == Qt::MiddleButton) {
                m_zoomDragging = true;
                m_zoomAnchor = m_hoverScenePos;
                m_pressCursorPos = m_cursorPos;
                m_zoomAtPress = m_zoom;
                event->accept();
                return;
            }
        }
    }
    QGraphicsView::mousePressEvent(event);
}

void View::mouseMoveEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    m_pointerInside = true;
    updateHover(m_eventPos);
    if (m_zoomDragging) {
        // The exponent is of the whole distance from the press, so returning
        // to the press height restores the zoom at the press exactly.
        setZoom(m_zoomAtPress * qExp((m_pressCursorPos.y() - m_cursorPos.y()) / 100.0));
        keepUnder(m_zoomAnchor, m_pressCursorPos);
    }
    if (m_panning) {
        verticalScrollBar()->setValue(
            qRound(m_pressCursorPos.y() + m_vScrollAtPress - m_cursorPos.y()));
        horizontalScrollBar()->setValue(
            qRound(m_pressCursorPos.x() + m_hScrollAtPress - m_cursorPos.x()));
    }
    if (m_zoomDragging || m_panning) {
        // The picture moved under the cursor.
        setHoverScenePos(pixelMapping().scenePosAt(m_cursorPos));
        emitHoverColor();
    }
    QGraphicsView::mouseMoveEvent(event);
    m_selectionItem->updateCursor();
}

void View::mouseReleaseEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    if (hasImage()) {
        updateHover(m_eventPos);
        emitClickColor();
    }
    // A release of any button ends both gestures.
    m_zoomDragging = false;
    if (m_panning) {
        m_panning = false;
        m_selectionItem->updateCursor();
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void View::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The scene hands a double click to an item only if that item took the
    // press before it; the left and middle presses never reach the scene, so
    // the double click is handled here for every button.
    m_selectionItem->doubleClick();
    event->accept();
}

void View::wheelEvent(QWheelEvent *event)
{
    // The wheel never scrolls the view.
    event->accept();
    if (!hasImage())
        return;

    const QPoint angle = event->angleDelta();
    m_wheelRemainder += angle.y() != 0 ? angle.y() : angle.x();
    const int steps = m_wheelRemainder / WheelNotch;
    if (steps == 0)
        return;
    m_wheelRemainder -= steps * WheelNotch;

    updateHover(eventPosition(event));
    setZoom(m_zoom * qPow(WheelStep, steps));
    // Bring the scene point that was under the cursor back under it.
    keepUnder(m_hoverScenePos, m_cursorPos);
    if (m_panning) {
        // Continue the pan smoothly at the new zoom.
        updateHover(m_cursorPos);
        m_pressCursorPos = m_cursorPos;
        m_vScrollAtPress = verticalScrollBar()->value();
        m_hScrollAtPress = horizontalScrollBar()->value();
    }
}

void View::resizeEvent(QResizeEvent *event)
{
    updateHover();
    updateSceneRect();
    QGraphicsView::resizeEvent(event);
}

void View::showEvent(QShowEvent *event)
{
    updateHover();
    updateSceneRect();
    if (s_firstShow) {
        centerOnImage();
        s_firstShow = false;
        QTimer::singleShot(5000, this, &View::ensureGlWidget);
    }
    QGraphicsView::showEvent(event);
}

void View::keyPressEvent(QKeyEvent *event)
{
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        step = QPoint(0, 1);
        break;
    default:
        break;
    }
    if (!step.isNull()) {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        const int count = modifiers & Qt::ControlModifier ? 10 : 1;
        const Qt::KeyboardModifiers rest = modifiers & ~Qt::ControlModifier;
        bool handled = false;
        if (rest == Qt::NoModifier)
            handled = nudgePointer(step * count);
        else if (rest == Qt::ShiftModifier)
            handled = m_selectionItem->nudge(step * count, false);
        else if (rest == (Qt::ShiftModifier | Qt::AltModifier))
            handled = m_selectionItem->nudge(step * count, true);
        if (handled) {
            event->accept();
            return;
        }
    }
    // Elsewhere the arrows scroll, as they always did.
    QGraphicsView::keyPressEvent(event);
}

bool View::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave) {
        m_pointerInside = false;
        updateHoverBox();
    }
    return QGraphicsView::viewportEvent(event);
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

void View::drawForeground(QPainter *painter, const QRectF &rect)
{
    const PixelMapping mapping = pixelMapping();
    const double ratio = mapping.devicePixelRatio();
    const QRect box = hoverBoxPixels(mapping);
    // Where the box is on screen from now on: the place the next move of it
    // must clear, also when a zoom or a scroll moved it since it was asked
    // for.
    m_hoverBoxArea = boxArea(box, ratio);
    const bool grid = hasImage() && m_pixelGridVisible && mapping.zoom() >= OverlayZoom;
    if (!grid && box.isEmpty())
        return;
    // From the same mapping the picture is drawn with, in device pixels:
    // one unit is one device pixel from here on. (The view restores the
    // painter afterwards.)
    painter->resetTransform();
    painter->scale(1.0 / ratio, 1.0 / ratio);
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (grid) {
        // Only the exposed part: a moving box repaints two small areas.
        const QRect exposed = QRectF(mapping.viewportPosAt(rect.topLeft()) * ratio,
                                     mapping.viewportPosAt(rect.bottomRight()) * ratio)
                                  .toAlignedRect();
        const GridLayout &layout = gridLayout(mapping);
        paintGrid(painter, layout, exposed.intersected(layout.image));
    }
    if (!box.isEmpty())
        paintHoverBox(painter, box, boxLineWidth(ratio));
}

const View::GridLayout &View::gridLayout(const PixelMapping &mapping)
{
    const double ratio = mapping.devicePixelRatio();
    const QSize size(qCeil(viewport()->width() * ratio), qCeil(viewport()->height() * ratio));
    const QSize imageSize(m_image->width(), m_image->height());
    if (m_grid.mapping == mapping && m_grid.size == size && m_grid.imageSize == imageSize &&
        m_grid.columns.style() != Qt::NoBrush)
        return m_grid;
    m_grid.mapping = mapping;
    m_grid.size = size;
    m_grid.imageSize = imageSize;
    // A line on the first device column and row of every image pixel.
    const QImage dashes = m_gridBrush.textureImage();
    QImage columns(size.width(), dashes.height(), QImage::Format_ARGB32_Premultiplied);
    columns.fill(Qt::transparent);
    for (int column = mapping.columnAt(0); column <= mapping.columnAt(size.width() - 1); ++column) {
        const int x = mapping.deviceCorner(QPoint(column, 0)).x();
        for (int y = 0; x >= 0 && x < size.width() && y < dashes.height(); ++y)
            columns.setPixel(x, y, dashes.pixel(x % dashes.width(), y));
    }
    m_grid.columns = QBrush(columns);
    m_grid.rows.clear();
    for (int row = mapping.rowAt(0); row <= mapping.rowAt(size.height() - 1); ++row) {
        const int y = mapping.deviceCorner(QPoint(0, row)).y();
        if (y >= 0 && y < size.height())
            m_grid.rows.append(y);
    }
    m_grid.image =
        mapping.deviceRect(QRect(QPoint(0, 0), imageSize)).intersected(QRect(QPoint(0, 0), size));
    return m_grid;
}

void View::paintGrid(QPainter *painter, const GridLayout &grid, const QRect &area)
{
    if (area.isEmpty())
        return;
    // The vertical lines are alike on every row but for the dashes, so one
    // fill draws them all; line by line, every device row of every line
    // would be a span of its own.
    painter->fillRect(area, grid.columns);
    QVarLengthArray<QRect, 256> rows;
    const auto first = std::lower_bound(grid.rows.begin(), grid.rows.end(), area.top());
    for (auto y = first; y != grid.rows.end() && *y <= area.bottom(); ++y)
        rows.append(QRect(area.left(), *y, area.width(), 1));
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_gridBrush);
    painter->drawRects(rows.constData(), int(rows.size()));
}

void View::paintHoverBox(QPainter *painter, const QRect &pixels, int width)
{
    const auto ring = [painter, width](const QRect &r, const QColor &colour) {
        painter->fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.top() + width, width, r.height() - 2 * width), colour);
        painter->fillRect(
            QRect(r.right() - width + 1, r.top() + width, width, r.height() - 2 * width), colour);
    };
    ring(pixels, QColor(0, 0, 0));
    ring(pixels.adjusted(-width, -width, width, width), QColor(255, 255, 255));
}

void View::ensureGlWidgetDelayed()
{
    if (!m_glViewportCreated)
        m_glTimer->start();
}

void View::ensureGlWidget()
{
    if (m_glViewportCreated)
        return;
    m_glViewportCreated = true;
    // Software OpenGL (Mesa's llvmpipe under Xvfb, say) paints a frame in
    // tens of milliseconds where the raster viewport takes one or two, and the
    // offscreen platform cannot paint into an OpenGL widget at all.
    const GlCapabilities gl = GlCapabilities::probe();
    if (!gl.worthUsing())
        return;
    auto *glWidget = new QOpenGLWidget;
    setViewport(glWidget);
    viewport()->setMouseTracking(true);
    // Larger pictures than one texture can hold are drawn in pieces.
    m_pixmapItem->setTileSize(qMin(gl.maxTextureSize, 4096));
}

void View::contextActionHandler(int id)
{
    switch (id) {
    case 0:
        copy();
        break;
    case 1:
        paste();
        break;
    case 2:
        undo();
        break;
    case 3:
        redo();
        break;
    case 4:
        selectAll();
        break;
    case 5:
        clearSelection();
        break;
    case 6:
        crop();
        break;
    default:
        break;
    }
}

void View::copy()
{
    if (hasImage() && m_document) {
        const QRect selected =
            m_selectionItem->hasSelection() ? m_selectionItem->rect().toRect() : QRect();
        QApplication::clipboard()->setImage(m_document->copy(selected), QClipboard::Clipboard);
    }
    viewport()->update();
}

void View::paste()
{
    if (Lumeno *window = Lumeno::instance())
        window->manager()->setFromClipboard();
    viewport()->update();
}

void View::selectAll()
{
    m_selectionItem->selectAll();
    viewport()->update();
}

void View::clearSelection()
{
    m_selectionItem->clear();
    viewport()->update();
}

void View::undo()
{
    if (m_document)
        m_document->undoStack()->undo();
    viewport()->update();
}

void View::redo()
{
    if (m_document)
        m_document->undoStack()->redo();
    viewport()->update();
}

void View::crop()
{
    if (hasImage() && m_document && m_selectionItem->hasSelection())
        m_document->crop(m_selectionItem->rect().toRect());
    viewport()->update();
}

void View::setDocument(Document *document)
{
    m_document = document;
    connect(document, &Document::shown, this, &View::showDocument);
    document->setViewStateSource([this] { return viewState(); });
}

ViewState View::viewState() const
{
    ViewState state;
    state.valid = true;
    state.selection = m_selectionItem->rect();
    state.zoom = m_zoom;
    state.centre = mapToScene(viewport()->rect()).boundingRect().center();
    return state;
}

void View::showDocument(Image *image, const ViewState &state)
{
    setImage(image);
    if (!state.valid)
        return;
    setZoom(state.zoom);
    m_selectionItem->setFromPoints(state.selection.topLeft(), state.selection.bottomRight());
    centerOn(state.centre);
}

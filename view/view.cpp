#include "view/view.h"

#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/artwork.h"
#include "view/glcapabilities.h"
#include "view/pixmapitem.h"
#include "view/selectionitem.h"

#include <QCursor>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QtMath>

#include <utility>

namespace {

constexpr double MinZoom = 1.0 / 32.0;
constexpr double MaxZoom = 128.0;
// Scroll bar values are ints and the pixel mapping counts device pixels in
// ints: the picture never spans more device pixels than this, whatever the
// zoom.
constexpr double MostDevicePixels = double(1 << 30);

} // namespace

View::View(Document *document, Selection *selection, PickModel *pick, const Artwork &artwork,
           QWidget *parent)
    : QGraphicsView(parent), m_document(document), m_selection(selection), m_pick(pick),
      m_navigation(this, pick, selection)
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
    m_checkerBrush = QBrush(artwork.pixmap(QStringLiteral("checker")));
    // Created after the image item, so it is stacked above it.
    m_selectionItem = new SelectionItem(this, selection, artwork);

    m_glTimer = new QTimer(this);
    m_glTimer->setInterval(200);
    m_glTimer->setSingleShot(true);
    connect(m_glTimer, &QTimer::timeout, this, &View::ensureGlWidget);

    connect(document, &Document::shown, this, &View::showDocument);
    connect(document, &Document::displayChanged, this,
            [this] { m_pixmapItem->showImage(m_document->shownPixels()); });
    document->setViewStateSource([this] { return viewState(); });
    connect(pick, &PickModel::hoverChanged, this, &View::updateHoverBox);
    connect(pick, &PickModel::sampleSizeChanged, this, &View::updateHoverBox);
}

bool View::hasImage() const
{
    return !m_document->image()->isNull;
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

ViewState View::viewState() const
{
    ViewState state;
    state.valid = true;
    state.selection = m_selection->rect();
    state.zoom = m_zoom;
    state.centre = mapToScene(viewport()->rect()).boundingRect().center();
    return state;
}

void View::showPreview(const QImage &part, const QSize &size, const QPoint &offset)
{
    if (hasImage())
        return;
    if (!m_previewItem) {
        m_previewItem = new QGraphicsPixmapItem;
        m_previewItem->setZValue(m_pixmapItem->zValue());
        scene()->addItem(m_previewItem);
    }
    m_previewItem->setPixmap(QPixmap::fromImage(part));
    m_previewItem->setOffset(offset);
    m_previewItem->show();
    m_previewSize = size;
    setZoom(1.0);
    updateSceneRect();
    centerOnImage();
    viewport()->setCursor(Qt::BusyCursor);
    viewport()->update();
}

QRectF View::pictureRect() const
{
    return isPreviewing() ? QRectF(QPointF(0, 0), QSizeF(m_previewSize))
                          : m_pixmapItem->boundingRect();
}

void View::setAwaitingPicture(bool awaiting)
{
    m_awaitingPicture = awaiting;
    viewport()->update();
}

void View::clearPreview()
{
    m_awaitingPicture = false;
    if (!isPreviewing())
        return;
    dropPreview();
    m_hasPendingClick = false;
    updateSceneRect();
    viewport()->update();
}

void View::dropPreview()
{
    m_previewItem->setPixmap(QPixmap());
    m_previewItem->hide();
    m_previewSize = QSize();
    viewport()->unsetCursor();
    // Set again, the item's cursor reaches the viewport again.
    m_selectionItem->unsetCursor();
    m_selectionItem->updateCursor();
}

void View::showDocument(Image *, const ViewState &state)
{
    // The preview goes; the picture comes in the same place, with the scene
    // never shrunk in between.
    const bool pending = std::exchange(m_hasPendingClick, false);
    m_awaitingPicture = false;
    if (isPreviewing())
        dropPreview();
    m_pixmapItem->showImage(m_document->shownPixels());
    setZoom(state.valid ? state.zoom : 1.0);
    updateSceneRect();
    if (state.valid)
        centerOn(state.centre);
    else
        centerOnImage();
    if (!m_glViewportCreated)
        m_glTimer->start();
    // The picture moved under a pointer that did not; a pick point may lie
    // beyond the new picture, so the pointer leads again.
    m_keyboardPick = false;
    if (m_pointerInside)
        hoverAt(m_cursorPos);
    else
        updateHoverBox();
    if (pending)
        m_pick->click(m_pendingClick);
}

double View::maxZoom() const
{
    const QRectF image = m_pixmapItem->boundingRect();
    const double extent = qMax(image.width(), image.height()) * devicePixelRatioF();
    return extent > 0 ? qMin(MaxZoom, MostDevicePixels / extent) : MaxZoom;
}

void View::setZoom(double z)
{
    // The scene point at the centre of the viewport stays there. Scaling alone
    // does not ensure it: the scene rectangle, which depends on the zoom, is
    // only widened afterwards.
    const QPointF centre = mapToScene(viewport()->rect()).boundingRect().center();
    m_zoom = qBound(MinZoom, z, maxZoom());
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
    const QRectF imageRect = pictureRect();
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    const qreal dx = visible.width() / 2;
    const qreal dy = visible.height() / 2;
    const QRectF sceneBounds = imageRect.adjusted(-dx, -dy, dx, dy);
    m_selectionItem->setBounds(sceneBounds);
    setSceneRect(sceneBounds);
}

void View::centerOnImage()
{
    const QRectF r = pictureRect();
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
    if (m_selection->hasSelection())
        fitRect(m_selection->rect(), true);
    else
        zoomToFit();
}

void View::zoomReset()
{
    setZoom(1.0);
    centerOnImage();
}

QPoint View::scrollToShow(const QRectF &r, const QPointF &anchor, double margin)
{
    const int m = int(margin);
    const QRect inner(QPoint(m, m),
                      QPoint(viewport()->width() - 1 - m, viewport()->height() - 1 - m));
    const QPoint shift =
        Navigation::shiftToShow(mapFromScene(r).boundingRect(), mapFromScene(anchor), inner);
    scrollBy(-shift.x(), -shift.y());
    return shift;
}

void View::scrollBy(int dx, int dy)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

void View::keepUnder(const QPointF &scenePos, const QPointF &viewportPos)
{
    const PixelMapping mapping = pixelMapping();
    const QPointF now = mapping.viewportPosAt(scenePos);
    const QPointF wanted = mapping.viewportPosAt(mapping.scenePosAt(viewportPos));
    scrollBy(qRound(now.x() - wanted.x()), qRound(now.y() - wanted.y()));
}

void View::updateHover()
{
    if (m_keyboardPick)
        updateHoverBox();
    else
        hoverAt(viewport()->mapFromGlobal(QPointF(QCursor::pos())));
}

void View::followPointer(const QPointF &viewportPos)
{
    if (!m_keyboardPick || viewportPos != m_cursorPos)
        hoverAt(viewportPos);
}

void View::pickPixel(const QPoint &pixel)
{
    m_keyboardPick = true;
    m_pick->hover(QPointF(pixel) + QPointF(0.5, 0.5));
    updateHoverBox();
}

void View::hoverAt(const QPointF &viewportPos)
{
    m_keyboardPick = false;
    m_cursorPos = viewportPos;
    // The colour and the position tokens both come from the pixel under the
    // point, floored: outside the image, also just left of or above it, that
    // is transparent black.
    m_pick->hover(pixelMapping().scenePosAt(m_cursorPos));
    updateHoverBox();
}

QRect View::hoverBoxPixels(const PixelMapping &mapping) const
{
    const int size = m_pick->sampleSize();
    if (!m_hoverBoxVisible || !(m_pointerInside || m_keyboardPick) || !hasImage() ||
        mapping.zoom() * size < PixelOverlay::OverlayZoom)
        return QRect();
    const QRect image(QPoint(0, 0), m_document->image()->image.size());
    const QPoint centre = PixelMapping::pixelAt(m_pick->hoverPoint());
    if (!image.contains(centre))
        return QRect();
    const int half = size / 2;
    const QRect square(centre - QPoint(half, half), QSize(size, size));
    return mapping.deviceRect(square.intersected(image));
}

void View::updateHoverBox()
{
    // Everything else on screen stays as it is: only the box's old and new
    // places are repainted.
    const PixelMapping mapping = pixelMapping();
    const QRect area = PixelOverlay::boxArea(hoverBoxPixels(mapping), mapping.devicePixelRatio());
    if (area == m_hoverBoxArea)
        return;
    if (!m_hoverBoxArea.isEmpty())
        viewport()->update(m_hoverBoxArea);
    if (!area.isEmpty())
        viewport()->update(area);
    m_hoverBoxArea = area;
}

void View::mousePressEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    if (isPreviewing() && event->button() == Qt::LeftButton) {
        m_pendingClick = pixelMapping().scenePosAt(m_eventPos);
        m_hasPendingClick = true;
    }
    if (hasImage()) {
        // The click is where the button went down, also when no move came
        // first (the window was just shown under a still pointer).
        m_pointerInside = true;
        followPointer(m_eventPos);
        m_pick->click(m_pick->hoverPoint());
        if (m_navigation.press(event->button(), m_cursorPos)) {
            m_selectionItem->updateCursor();
            event->accept();
            return;
        }
    }
    QGraphicsView::mousePressEvent(event);
}

void View::mouseMoveEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    m_pointerInside = true;
    followPointer(m_eventPos);
    // The picture moved under the cursor.
    if (m_navigation.move(m_cursorPos))
        followPointer(m_cursorPos);
    // A move with no button held matters to the selection's handles alone;
    // asked directly, it spares the scene's hover dispatch, which hit-tests
    // every item on every move and costs twice the rest of the move.
    if (event->buttons() == Qt::NoButton && !scene()->mouseGrabberItem())
        m_selectionItem->pointerMoved();
    else
        QGraphicsView::mouseMoveEvent(event);
    m_selectionItem->updateCursor();
}

void View::mouseReleaseEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    if (hasImage()) {
        followPointer(m_eventPos);
        m_pick->click(m_pick->hoverPoint());
    }
    // A release of any button ends both gestures.
    const bool panned = m_navigation.isPanning();
    m_navigation.release();
    if (panned)
        m_selectionItem->updateCursor();
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
    if (hasImage()) {
        const QPoint angle = event->angleDelta();
        m_navigation.wheel(angle.y() != 0 ? angle.y() : angle.x(), eventPosition(event));
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
    if (m_firstShow) {
        centerOnImage();
        m_firstShow = false;
        QTimer::singleShot(5000, this, &View::ensureGlWidget);
    }
    QGraphicsView::showEvent(event);
}

void View::keyPressEvent(QKeyEvent *event)
{
    if (m_navigation.arrowKey(event->key(), event->modifiers(), m_pointerInside,
                              m_selectionItem->isDragging())) {
        event->accept();
        return;
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
    if (hasImage() || isPreviewing()) {
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
    m_hoverBoxArea = PixelOverlay::boxArea(box, ratio);
    const bool grid = hasImage() && m_pixelGridVisible && PixelOverlay::gridShows(mapping);
    if (!grid && box.isEmpty())
        return;
    // From the same mapping the picture is drawn with, in device pixels:
    // one unit is one device pixel from here on. (The view restores the
    // painter afterwards.) Only the exposed part: a moving box repaints two
    // small areas.
    painter->resetTransform();
    painter->scale(1.0 / ratio, 1.0 / ratio);
    const QRect exposed = QRectF(mapping.viewportPosAt(rect.topLeft()) * ratio,
                                 mapping.viewportPosAt(rect.bottomRight()) * ratio)
                              .toAlignedRect();
    const QSize deviceSize(qCeil(viewport()->width() * ratio), qCeil(viewport()->height() * ratio));
    m_overlay.paint(painter, mapping, deviceSize, m_document->image()->image.size(), grid, exposed,
                    box);
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

#include "view/view.h"

#include "app/lumeno.h"
#include "document/document.h"
#include "document/image.h"
#include "document/manager.h"
#include "selection/selectionitem.h"
#include "view/glcapabilities.h"
#include "view/pixmapitem.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QCursor>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QUndoStack>
#include <QtMath>

namespace {

constexpr double MinZoom = 1.0 / 32.0;
constexpr double MaxZoom = 128.0;
constexpr double WheelStep = 1.2;
constexpr int WheelNotch = 120; // eighths of a degree in one notch of a wheel

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
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

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

QColor View::colorAt(const QPointF &scenePos) const
{
    return m_image ? m_image->pixelColor(scenePos, Qt::transparent) : QColor(Qt::transparent);
}

QColor View::colorOfPixel(const QPoint &pixel) const
{
    if (!m_image || !m_image->contains(pixel.x(), pixel.y()))
        return QColor(Qt::transparent);
    return QColor::fromRgba(m_image->image.pixel(pixel));
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
    m_hoverScenePos = pixelMapping().scenePosAt(m_cursorPos);
    emitHoverColor();
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
        emit hoverColorChanged(colorOfPixel(PixelMapping::pixelAt(m_hoverScenePos)),
                               m_hoverScenePos);
}

void View::emitClickColor()
{
    if (hasImage())
        emit clickColorChanged(colorOfPixel(PixelMapping::pixelAt(m_hoverScenePos)),
                               m_hoverScenePos);
}

void View::mousePressEvent(QMouseEvent *event)
{
    m_eventPos = eventPosition(event);
    if (hasImage()) {
        // The click is where the button went down, also when no move came
        // first (the window was just shown under a still pointer).
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
        m_hoverScenePos = pixelMapping().scenePosAt(m_cursorPos);
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

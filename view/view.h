#ifndef LUMENO_VIEW_H
#define LUMENO_VIEW_H

#include "view/navigation.h"
#include "view/pixelmapping.h"
#include "view/pixeloverlay.h"

#include <QBrush>
#include <QGraphicsView>
#include <QPointF>

class Artwork;
class Document;
class QGraphicsPixmapItem;
class Image;
class PickModel;
class PixmapItem;
class QSinglePointEvent;
class QTimer;
class Selection;
class SelectionItem;
struct ViewState;

// The graphics view that shows the document's picture, tells the PickModel
// where the pointer is and shows the Selection.
//
// Scene coordinates are image pixel coordinates: the image item sits at the
// origin, so scene point (x, y) lies over pixel (int(x), int(y)). The view's
// transform is a uniform scale equal to zoom(), in view pixels per image
// pixel. Left drag pans, middle drag zooms, the wheel zooms around the
// cursor; the right button belongs to the selection item. The arrow keys move
// a pick point over the picture pixel by pixel (Ctrl: ten), Shift+arrows move
// the selection, Shift+Alt+arrows move its right or bottom edge.
//
// The pick point is what the pick model hovers while the keys lead: the
// pointer itself is never moved, on any platform (Wayland forbids it). It
// starts at the hovered pixel, or at the pixel in the middle of the view when
// the pointer is not over the picture. A mouse event away from where the
// pointer was last reported, or a wheel turn, gives the lead back to the
// pointer; a press and release where it still is pick the pick point, as they
// would if the pointer had followed it.
//
// Shows every picture the document announces, where the document says; the
// document, the selection and the pick model are not owned and must outlive
// the view.
class View : public QGraphicsView
{
    Q_OBJECT

public:
    View(Document *document, Selection *selection, PickModel *pick, const Artwork &artwork,
         QWidget *parent = nullptr);

    // Where the user stands: selection, zoom and the scene point centred.
    ViewState viewState() const;
    // Shows part (sRGB) of a picture of size pixels at offset, where a new
    // picture opens (zoom 1, centred), until the document shows a picture:
    // then that picture takes its place, without a jump. Only to look at:
    // nothing is picked meanwhile, the pointer shows that the picture is
    // still loading, and a click made meanwhile is taken on the picture
    // once it is there. Ignored while a picture is shown.
    void showPreview(const QImage &part, const QSize &size, const QPoint &offset);
    bool isPreviewing() const { return m_previewSize.isValid(); }
    // Back to what was shown before the preview (its picture failed to
    // load); ends awaiting too.
    void clearPreview();
    // A picture is on its way (the file named at start): until it or a
    // preview of it is shown, the empty view shows no hint to drop one.
    void setAwaitingPicture(bool awaiting);
    bool isAwaitingPicture() const { return m_awaitingPicture; }
    // The picture's rectangle in the scene: the document's, or the previewed one's.
    QRectF pictureRect() const;
    // Hides the preview and forgets it; the scene stays as it is.
    void dropPreview();
    // Scrolls so that scenePos lies under the centre of the device pixel at
    // viewportPos again, as near as whole scroll steps allow.
    void keepUnder(const QPointF &scenePos, const QPointF &viewportPos);
    // Clamps z to [1/32, maxZoom()] and applies it, keeping the viewport
    // centre.
    void setZoom(double z);
    // The largest zoom for the picture shown: 128, or less where the picture
    // is so large that its scene would leave the range in which scrolling and
    // the pixel mapping are exact (2^30 device pixels).
    double maxZoom() const;
    // Fits r (scene coordinates) into the window with a margin and centres it;
    // a selection is moved 10 view pixels down to leave room for its label.
    // An empty r changes nothing.
    void fitRect(const QRectF &r, bool isSelection);
    void centerOnImage();
    void updateSceneRect();
    // Scrolls just enough that r (or, when it does not fit, the anchor point)
    // lies margin view pixels inside the viewport. r and anchor are in scene
    // coordinates; returns the distance the picture moved, in view pixels.
    QPoint scrollToShow(const QRectF &r, const QPointF &anchor, double margin);

    double zoom() const { return m_zoom; }
    bool isPanning() const { return m_navigation.isPanning(); }
    bool isZoomDragging() const { return m_navigation.isZoomDragging(); }
    // The pointer in logical viewport coordinates, as last reported.
    QPointF cursorPos() const { return m_cursorPos; }
    // The pointer is at viewportPos: the pick model learns the scene point
    // under it (the centre of the device pixel there). Ends keyboard picking.
    void hoverAt(const QPointF &viewportPos);
    // The keys lead: the pick model hovers the centre of image pixel until
    // the pointer takes over again.
    void pickPixel(const QPoint &pixel);
    bool isKeyboardPicking() const { return m_keyboardPick; }
    bool hasImage() const;
    SelectionItem *selectionItem() const { return m_selectionItem; }
    PixmapItem *pixmapItem() const { return m_pixmapItem; }

    // The mapping between viewport positions and image pixels as the view
    // stands now.
    PixelMapping pixelMapping() const;
    // The scene position of the device pixel under the mouse event being
    // handled, at the pixel's top-left corner: how the selection reads the
    // pointer. On a scaled display it moves in device pixels; at zoom 1 a
    // press on a pixel lands on that pixel's corner.
    QPointF snappedScenePos() const;
    // Where a mouse or wheel event happened, in logical viewport
    // coordinates. The toolkit rounds an event's widget position to whole
    // logical pixels; on a scaled display the pointer is finer than that,
    // and only the window position keeps the fraction.
    QPointF eventPosition(const QSinglePointEvent *event) const;
    bool isGlViewportCreated() const { return m_glViewportCreated; }

    void setPixelGridVisible(bool visible);
    bool isPixelGridVisible() const { return m_pixelGridVisible; }
    // The box around the sampled pixels; on unless switched off (to measure
    // what it costs).
    void setHoverBoxVisible(bool visible);

public slots:
    // Replaces the raster viewport by an OpenGL one, once, and only where a
    // hardware renderer is available; otherwise the raster viewport stays.
    void ensureGlWidget();
    void zoomToSel();
    void zoomToFit();
    void zoomReset();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;

private:
    // Shows image at zoom 1, centred, or where state says when it is valid.
    void showDocument(Image *image, const ViewState &state);
    // Reads the cursor from the window system and reports it, unless the
    // keys lead.
    void updateHover();
    // A mouse event at viewportPos: hovers there, except where it is where
    // the pointer already was while the keys lead.
    void followPointer(const QPointF &viewportPos);
    void scrollBy(int dx, int dy);
    // The device pixels showing the pixels the hover colour comes from, when
    // the box around them is shown; empty otherwise.
    QRect hoverBoxPixels(const PixelMapping &mapping) const;
    // Repaints where the box was and where it is now, nothing else.
    void updateHoverBox();

    Document *m_document;
    Selection *m_selection;
    PickModel *m_pick;
    double m_zoom = 1.0;
    QPointF m_cursorPos;
    // The position of the mouse event being handled (logical viewport
    // coordinates): what the selection item reads.
    QPointF m_eventPos;
    SelectionItem *m_selectionItem; // owned by the scene
    PixmapItem *m_pixmapItem;       // owned by the scene
    // The preview, while one is shown (owned by the scene), the size of the
    // picture it is part of, and a click made meanwhile (scene coordinates).
    QGraphicsPixmapItem *m_previewItem = nullptr;
    QSize m_previewSize;
    QPointF m_pendingClick;
    bool m_hasPendingClick = false;
    bool m_awaitingPicture = false;
    bool m_glViewportCreated = false;
    bool m_firstShow = true;
    QBrush m_checkerBrush;
    QTimer *m_glTimer;
    bool m_pixelGridVisible = true;
    bool m_hoverBoxVisible = true;
    // The mouse is over the viewport: between a move and leaving it.
    bool m_pointerInside = false;
    // The arrow keys lead the pick point, not the pointer.
    bool m_keyboardPick = false;
    // The logical viewport pixels the box covers on screen, or will once
    // the repaint asked for has run; empty without a box.
    QRect m_hoverBoxArea;
    PixelOverlay m_overlay;
    Navigation m_navigation;
};

#endif

#ifndef LUMENO_VIEW_H
#define LUMENO_VIEW_H

#include "view/pixelmapping.h"

#include <QBrush>
#include <QColor>
#include <QGraphicsView>
#include <QPointF>

class Document;
class Image;
struct ViewState;
class PixmapItem;
class QSinglePointEvent;
class QTimer;
class SelectionItem;

// The graphics view that shows the document, reports the colour under the
// mouse and carries out the editing commands.
//
// Scene coordinates are image pixel coordinates: the image item sits at the
// origin, so scene point (x, y) lies over pixel (int(x), int(y)). The view's
// transform is a uniform scale equal to zoom(), in view pixels per image
// pixel. Left drag pans, middle drag zooms, the wheel zooms around the
// cursor; the right button belongs to the selection item.
//
// From zoom 8 up the view draws a grid on the image pixels' borders, and
// wherever the pixels the hover colour comes from span 8 logical pixels or
// more, a box around them; both are painted over the scene in device pixels
// and exist only on screen. The arrow keys step the
// pointer over the image pixel by pixel (Ctrl: ten), Shift+arrows move the
// selection, Shift+Alt+arrows move its right or bottom edge.
class View : public QGraphicsView
{
    Q_OBJECT

public:
    explicit View(QWidget *parent = nullptr);

    // Shows image (not owned; it must outlive the view) at zoom 1, centred,
    // without a selection.
    void setImage(Image *image);
    // The document that copy, crop, undo and redo act on (not owned). The
    // view shows each picture it announces, where it says.
    void setDocument(Document *document);
    // Where the user stands: selection, zoom and the scene point centred.
    ViewState viewState() const;
    // Scrolls so that scenePos lies under the centre of the device pixel at
    // viewportPos again, as near as whole scroll steps allow.
    void keepUnder(const QPointF &scenePos, const QPointF &viewportPos);
    // Clamps z to [1/32, 128] and applies it, keeping the viewport centre.
    void setZoom(double z);
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
    bool isPanning() const { return m_panning; }
    bool isZoomDragging() const { return m_zoomDragging; }
    Image *image() const { return m_image; }
    SelectionItem *selectionItem() const { return m_selectionItem; }
    PixmapItem *pixmapItem() const { return m_pixmapItem; }
    // The scene point under the mouse at the last update: the centre of the
    // device pixel under the pointer.
    QPointF hoverScenePos() const { return m_hoverScenePos; }

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

    bool hasImage() const;
    bool hasSelection() const;
    bool canPaste() const;

    // The colour the view reports for an image pixel: the pixel's own, or the
    // average of the sample square centred on it (the part inside the
    // image). Transparent black outside the image.
    QColor sampledColor(const QPoint &pixel) const;

    // The side of the square the hover and click colours are averaged over:
    // 1 (the pixel itself), 3 or 5. An even size counts as the next odd one;
    // sizes beyond 1 to 5 as the nearer end.
    void setSampleSize(int size);
    int sampleSize() const { return m_sampleSize; }
    void setPixelGridVisible(bool visible);
    bool isPixelGridVisible() const { return m_pixelGridVisible; }
    // The box around the sampled pixels; on unless switched off (to measure
    // what it costs).
    void setHoverBoxVisible(bool visible);

signals:
    // c is the colour of the pixel under p, the scene point under the mouse.
    // Emitted on mouse moves, never while no image is shown.
    void hoverColorChanged(const QColor &c, const QPointF &p);
    // The same pair, on every press and release of a mouse button.
    void clickColorChanged(const QColor &c, const QPointF &p);
    void selectionChanged();

public slots:
    // Replaces the raster viewport by an OpenGL one, once, and only where a
    // hardware renderer is available; otherwise the raster viewport stays.
    void ensureGlWidget();
    void ensureGlWidgetDelayed();
    void contextActionHandler(int id);
    void copy();
    void paste();
    void selectAll();
    void clearSelection();
    void undo();
    void redo();
    void crop();
    void zoomToSel();
    void zoomToFit();
    void zoomReset();
    // Shows image, and where state says when it is valid.
    void showDocument(Image *image, const ViewState &state);

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
    // The grid as laid out for one mapping and viewport size: its vertical
    // lines across the viewport, four device rows of them (a period of the
    // dashes), tiled down in one fill; the device rows of its horizontal
    // lines; and the device pixels the image covers.
    struct GridLayout
    {
        PixelMapping mapping;
        QSize size;
        QSize imageSize;
        QBrush columns;
        QList<int> rows;
        QRect image;
    };
    const GridLayout &gridLayout(const PixelMapping &mapping);

    // Reads the cursor (viewport coordinates) and the scene point under it,
    // and reports the hover colour.
    void updateHover();
    void updateHover(const QPointF &viewportPos);
    void emitHoverColor();
    void emitClickColor();
    void scrollBy(int dx, int dy);
    void setHoverScenePos(const QPointF &scenePos);
    // Moves the pointer by delta image pixels (at least as many logical
    // pixels), staying over the image and scrolling to keep it in view.
    // False when the pointer is not over the image.
    bool nudgePointer(const QPoint &delta);
    // The device pixels showing the pixels the hover colour comes from, when
    // the box around them is shown; empty otherwise.
    QRect hoverBoxPixels(const PixelMapping &mapping) const;
    // Repaints where the box was and where it is now, nothing else.
    void updateHoverBox();
    void paintGrid(QPainter *painter, const GridLayout &grid, const QRect &area);
    void paintHoverBox(QPainter *painter, const QRect &pixels, int width);

    double m_zoom = 1.0;
    QPointF m_hoverScenePos;
    QPointF m_cursorPos;
    // The position of the mouse event being handled (logical viewport
    // coordinates): what the selection item reads.
    QPointF m_eventPos;
    bool m_panning = false;
    bool m_zoomDragging = false;
    Image *m_image = nullptr;
    Document *m_document = nullptr; // not owned
    SelectionItem *m_selectionItem; // owned by the scene
    PixmapItem *m_pixmapItem;       // owned by the scene
    QPointF m_zoomAnchor;
    QPointF m_pressCursorPos;
    double m_zoomAtPress = 1.0;
    int m_vScrollAtPress = 0;
    int m_hScrollAtPress = 0;
    bool m_glViewportCreated = false;
    QBrush m_checkerBrush;
    QTimer *m_glTimer;
    // Wheel rotation not yet turned into a zoom step, in eighths of a degree:
    // fine-grained wheels and touchpads send fractions of a 15-degree notch.
    int m_wheelRemainder = 0;
    int m_sampleSize = 1;
    bool m_pixelGridVisible = true;
    bool m_hoverBoxVisible = true;
    // The mouse is over the viewport: between a move and leaving it.
    bool m_pointerInside = false;
    // The logical viewport pixels the box covers on screen, or will once
    // the repaint asked for has run; empty without a box.
    QRect m_hoverBoxArea;
    // Alternating faint dark and light dashes, one device pixel per texel.
    QBrush m_gridBrush;
    GridLayout m_grid;
};

#endif

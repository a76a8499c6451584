#ifndef LUMENO_VIEW_H
#define LUMENO_VIEW_H

#include <QBrush>
#include <QGraphicsView>

class Image;
class PixmapItem;

// The graphics view that shows the document.
//
// Scene coordinates are image pixel coordinates: the image item sits at the
// origin, so scene point (x, y) lies over pixel (int(x), int(y)). The view's
// transform is a uniform scale equal to zoom(), in view pixels per image pixel.
class View : public QGraphicsView
{
    Q_OBJECT

public:
    explicit View(QWidget *parent = nullptr);

    // Shows image (not owned; it must outlive the view) at zoom 1, centred.
    void setImage(Image *image);
    // Clamps z to [1/32, 128] and applies it, keeping the viewport centre.
    void setZoom(double z);

    double zoom() const { return m_zoom; }
    Image *image() const { return m_image; }
    bool hasImage() const;

    void centerOnImage();
    void updateSceneRect();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;

private:
    double m_zoom = 1.0;
    Image *m_image = nullptr;
    PixmapItem *m_pixmapItem; // owned by the scene
    QBrush m_checkerBrush;
};

#endif

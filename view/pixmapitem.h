#ifndef LUMENO_PIXMAPITEM_H
#define LUMENO_PIXMAPITEM_H

#include "view/pixelmapping.h"

#include <QGraphicsItem>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>

class View;

// Shows the document's pixels at the scene origin, one scene unit per image
// pixel, with a one-view-pixel light grey outline along the image border so
// that the extent of an image with transparent edges stays visible against
// the checkerboard.
//
// Wherever an image pixel covers at least one device pixel, every image pixel
// is a sharp block, and each device pixel shows exactly the image pixel the
// view's PixelMapping puts there, which is also the pixel the view reports
// under the pointer. Where image pixels are smaller than device pixels the
// picture is drawn smoothly from a halved copy close to the zoom (built on
// first use and kept until the next picture), so that zooming far out stays
// fast and does not alias.
//
// The picture is the document's own, shared: where it is drawn pixel for
// pixel no full-size copy of it is made, only of what is on screen.
class PixmapItem : public QGraphicsItem
{
public:
    explicit PixmapItem(View *view);

    // Shows image and forgets everything derived from the previous one.
    void showImage(const QImage &image);
    // Draw in pieces of at most size x size pixels (an OpenGL viewport cannot
    // hold a texture larger than its maximum size); 0 draws in one piece.
    void setTileSize(int size);
    int tileSize() const { return m_tileSize; }

    // The copy drawn where an image pixel covers scale device pixels: the
    // picture itself at 0.5 and above, otherwise the picture halved level
    // times, with 2^-level >= scale.
    int levelForZoom(double scale) const;
    QImage levelImage(int level);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    // Draws the picture one device pixel at a time from the mapping, into a
    // copy of the visible part kept until the view or the picture changes.
    void paintExact(QPainter *painter, const PixelMapping &mapping);
    void paintTiled(QPainter *painter, const QStyleOptionGraphicsItem *option, int level);

    struct Tile
    {
        QRect rect; // in the level's pixels
        QPixmap pixmap;
    };
    const QList<Tile> &tiles(int level);

    View *m_view; // not owned; its zoom sets the outline's inset
    int m_tileSize = 0;
    QImage m_source;
    // A translucent picture premultiplied, made when it is first drawn
    // scaled.
    QImage m_premultiplied;
    QList<QImage> m_levels; // m_levels[i] is the picture halved i + 1 times
    QHash<int, QList<Tile>> m_tiles;
    // The visible part as drawn last, in device pixels, and what it was made
    // for.
    QImage m_drawn;
    PixelMapping m_drawnMapping;
    QRect m_drawnRect;
};

#endif

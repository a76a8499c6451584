#ifndef LUMENO_PIXMAPITEM_H
#define LUMENO_PIXMAPITEM_H

#include <QGraphicsPixmapItem>
#include <QHash>
#include <QList>
#include <QPixmap>

class View;

// Shows the document's pixels at the scene origin, one scene unit per image
// pixel, with a one-view-pixel light grey outline along the image border so
// that the extent of an image with transparent edges stays visible against
// the checkerboard.
//
// At zoom 1 and above every image pixel is a sharp square. Below zoom 1 the
// picture is drawn smoothly from a halved copy close to the zoom (built on
// first use and kept until the next picture), so that zooming far out stays
// fast and does not alias.
class PixmapItem : public QGraphicsPixmapItem
{
public:
    explicit PixmapItem(View *view);

    // Shows pixmap and forgets everything derived from the previous one.
    void showPixmap(const QPixmap &pixmap);
    // Draw in pieces of at most size x size pixels (an OpenGL viewport cannot
    // hold a texture larger than its maximum size); 0 draws in one piece.
    void setTileSize(int size);
    int tileSize() const { return m_tileSize; }

    // The copy drawn at zoom: the picture itself at zoom 0.5 and above,
    // otherwise the picture halved level times, with 2^-level >= zoom.
    int levelForZoom(double zoom) const;
    QPixmap levelPixmap(int level);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    struct Tile
    {
        QRect rect; // in the level's pixels
        QPixmap pixmap;
    };
    const QList<Tile> &tiles(int level);

    View *m_view; // not owned; its zoom sets the outline's inset
    int m_tileSize = 0;
    QList<QPixmap> m_levels; // m_levels[i] is the picture halved i + 1 times
    QHash<int, QList<Tile>> m_tiles;
};

#endif

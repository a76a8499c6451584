#ifndef LUMENO_PIXMAPITEM_H
#define LUMENO_PIXMAPITEM_H

#include <QGraphicsPixmapItem>

class View;

// Shows the document's pixels at the scene origin, one scene unit per image
// pixel, with a one-view-pixel light grey outline along the image border so
// that the extent of an image with transparent edges stays visible against
// the checkerboard.
class PixmapItem : public QGraphicsPixmapItem
{
public:
    explicit PixmapItem(View *view);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    View *m_view; // not owned; its zoom sets the outline's inset
};

#endif

#ifndef LUMENO_SELECTION_H
#define LUMENO_SELECTION_H

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

class Document;
class Image;
struct ViewState;

// The one rectangular selection over the document's picture, in image pixels
// (scene coordinates).
//
// The rectangle is always whole pixels, normalized and inside the picture;
// there is a selection when both its width and its height are above zero.
// It follows the document: a new picture comes without a selection, a
// restored one (undo, redo, a crop) with the selection it was seen with.
// changed() follows every change of the rectangle or of the picture's bounds,
// after it is made.
class Selection : public QObject
{
    Q_OBJECT

public:
    explicit Selection(Document *document, QObject *parent = nullptr);

    QRectF rect() const { return m_rect; }
    bool hasSelection() const { return m_rect.width() > 0 && m_rect.height() > 0; }
    // The picture's pixels; empty without a picture.
    QRect bounds() const { return m_bounds; }

    // The rectangle between two corners, each clamped to the picture and
    // rounded to whole pixels, in the order given (width and height may be
    // negative).
    QRectF snapped(const QPointF &p1, const QPointF &p2) const;
    // Sets the normalized rectangle between two corners, snapped.
    void setFromPoints(const QPointF &p1, const QPointF &p2);
    void clear();
    void selectAll();
    // Moves the selection by delta whole pixels, or with edges set moves its
    // right and bottom edges (keeping at least one pixel), always inside the
    // picture. False, changing nothing, when there is no selection.
    bool nudge(const QPoint &delta, bool edges);

signals:
    void changed();

private:
    void show(Image *image, const ViewState &state);

    QRectF m_rect;
    QRect m_bounds;
};

#endif

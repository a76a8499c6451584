#ifndef LUMENO_SELECTIONHANDLES_H
#define LUMENO_SELECTIONHANDLES_H

#include <QHash>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <Qt>

// The grips of a selection rectangle: which one lies under a point, where it
// puts the pointer when grabbed, its cursor, and its outline. Everything is in
// image pixels (scene coordinates); tolerances are given in view pixels and
// converted with the zoom, so they stay the same size on screen.
namespace SelectionHandles {

// The numbering is shared by the hit test, the cursors, the outlines and the
// drag rules.
enum Handle
{
    None = 0,
    Inside = 1,
    TopLeft = 2,
    Top = 3,
    TopRight = 4,
    Right = 5,
    BottomRight = 6,
    Bottom = 7,
    BottomLeft = 8,
    Left = 9,
};

// How far from a side, in view pixels, a point still grabs it.
constexpr double Tolerance = 25.0;

// The handle of rect under point p. Top wins over bottom and left over right
// where the bands overlap; a rectangle without width and height has none.
Handle hitTest(const QRectF &rect, const QPointF &p, double zoom);

// The point a grabbed handle stands for: the exact corner, the point of the
// edge straight across from p, or p itself for Inside and None.
QPointF anchor(const QRectF &rect, Handle handle, const QPointF &p);

Qt::CursorShape cursorShape(int handle);

// The eight outlines of r (which may have a negative width or height while a
// side is dragged past the opposite one): L-shaped brackets at the corners and
// the parts of the sides between them.
QHash<int, QPainterPath> outlines(const QRectF &r, double zoom);

} // namespace SelectionHandles

#endif

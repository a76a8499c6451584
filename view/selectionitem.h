#ifndef LUMENO_SELECTIONITEM_H
#define LUMENO_SELECTIONITEM_H

#include "selection/selectionhandles.h"

#include <QGraphicsItem>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPainterPath>
#include <QPixmap>

class Artwork;
class Selection;
class View;

// Shows the Selection over the picture and runs its mouse gestures: a right
// drag draws a new selection, or moves or resizes the one under the pointer
// by its inside, edges and corners.
//
// Lies at the scene origin with no transform, so its coordinates are image
// pixels; its bounding rectangle is the whole scene rectangle, so it sees
// every mouse event over the picture and can dim everything outside the
// selection. While no picture is shown it paints the drop hint instead.
// Created by the View and owned by its scene; the selection is not owned.
class SelectionItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    // The artwork gives the hint shown while there is no picture, taken when
    // it is first painted; it must outlive the item.
    SelectionItem(View *view, Selection *selection, const Artwork &artwork);

    // The scene rectangle; the dimmed area is computed against it.
    void setBounds(const QRectF &bounds);

    SelectionHandles::Handle hitTest(const QPointF &scenePos) const;
    int hoverHandle() const { return m_hoverHandle; }
    bool isCreating() const { return m_creating; }
    bool isAdjusting() const { return m_adjusting; }
    bool isDragging() const { return m_creating || m_adjusting; }

    // Rebuild the cached outlines; both depend on the view's zoom.
    void updateHandlePaths();
    void updateOutsidePath();

    // A double click of any button: zooms to the selection when the pointer
    // is on or near it, otherwise fits the picture.
    void doubleClick();

    // Gives the view the keyboard focus and sets the cursor for the current
    // gesture or the handle under the mouse.
    void updateCursor();
    // The pointer moved with no button held: the handle under it, if any, is
    // the one hovered (the view calls this instead of the scene's hover
    // dispatch).
    void pointerMoved();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    void selectionChanged();
    void setHoverHandle(int handle);
    // Sets the selection from the rectangle dragged so far.
    void dragTo(const QRectF &rect);
    void followDrag(const QRectF &rect, const QPointF &anchor, double margin);
    void updateLabel();

    View *m_view;
    Selection *m_selection;
    int m_hoverHandle = SelectionHandles::None;
    bool m_creating = false;
    bool m_adjusting = false;
    int m_activeHandle = SelectionHandles::None;
    QRectF m_rectAtPress;
    // The rectangle as dragged, before it is normalized: width and height
    // may be negative while a side is dragged past the opposite one.
    QRectF m_rawRect;
    QPointF m_pressPos;
    // From the pointer at the press to the point grabbed on the corner or
    // edge (scene coordinates); none for a new selection.
    QPointF m_grabOffset;
    QRectF m_bounds;
    QHash<int, QPainterPath> m_handlePaths;
    const Artwork *m_artwork;
    QPainterPath m_outsidePath;
    QPixmap m_labelPixmap;
};

#endif

#ifndef LUMENO_SELECTIONITEM_H
#define LUMENO_SELECTIONITEM_H

#include "selection/selectionhandles.h"

#include <QGraphicsItem>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPainterPath>
#include <QPixmap>

class Image;
class View;

// The one rectangular selection over the image.
//
// Lies at the scene origin with no transform, so its coordinates are image
// pixels; its bounding rectangle is the whole scene rectangle, so it sees every
// mouse event over the picture and can dim everything outside the selection.
// The selection is kept in whole pixels, normalized and inside the image.
// Created by the View and owned by its scene.
class SelectionItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    explicit SelectionItem(View *view);

    void setImage(Image *image);
    // The scene rectangle; the dimmed area is computed against it.
    void setBounds(const QRectF &bounds);
    // The only way the selection changes: both corners are clamped to the
    // image, rounded to whole pixels and the rectangle normalized. Emits
    // selectionChanged() when the result differs from the current selection.
    void setFromPoints(const QPointF &p1, const QPointF &p2);
    void clear();
    void selectAll();
    // Moves the selection by delta whole pixels, or with edges set moves its
    // right and bottom edges (keeping at least one pixel), always inside the
    // image. False, changing nothing, when there is no selection to move.
    bool nudge(const QPoint &delta, bool edges);

    // True when the selection has a non-zero width and height.
    bool hasSelection() const;
    QRectF rect() const { return m_rect; }
    QRectF rawRect() const { return m_rawRect; }

    SelectionHandles::Handle hitTest(const QPointF &scenePos) const;
    QPointF handleAnchor(const QPointF &scenePos) const;
    QPainterPath handlePath(int handle);
    int hoverHandle() const { return m_hoverHandle; }
    bool isCreating() const { return m_creating; }
    bool isAdjusting() const { return m_adjusting; }

    // Rebuild the cached outlines; both depend on the view's zoom.
    void updateHandlePaths();
    void updateOutsidePath();

    // A double click of any button: zooms to the selection when the pointer
    // is on or near it, otherwise fits the image.
    void doubleClick();

    // Gives the view the keyboard focus and sets the cursor for the current
    // gesture or the handle under the mouse.
    void updateCursor();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

signals:
    void selectionChanged();

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    void setHoverHandle(int handle);
    void followDrag(const QRectF &rect, const QPointF &anchor, double margin);
    QPoint sceneToGlobal(const QPointF &scenePos) const;
    void updateLabel();
    QFont labelFont() const;

    int m_hoverHandle = SelectionHandles::None;
    QRectF m_rect;
    View *m_view;
    Image *m_image = nullptr; // not owned
    QRectF m_imageRect;
    bool m_creating = false;
    bool m_adjusting = false;
    int m_activeHandle = SelectionHandles::None;
    QRectF m_rectAtPress;
    // The last two corners before normalizing: width and height may be
    // negative while a side is dragged past the opposite one.
    QRectF m_rawRect;
    QPointF m_pressPos;
    QRectF m_bounds;
    QHash<int, QPainterPath> m_handlePaths;
    QPixmap m_dropTargetPixmap;
    QPainterPath m_outsidePath;
    QPixmap m_labelPixmap;
    QImage m_labelImage;
};

#endif

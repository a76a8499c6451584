#ifndef LUMENO_NAVIGATION_H
#define LUMENO_NAVIGATION_H

#include <QPoint>
#include <QPointF>
#include <QRect>

class PickModel;
class Selection;
class View;

// The view's gestures for moving about the picture: a left drag pans one to
// one, a middle drag zooms (up zooms in, by e per 100 pixels, around the
// press), the wheel zooms by 1.2 a notch around the pointer, and the arrow
// keys move the view's pick point over the picture by image pixels (Ctrl: by
// ten), with Shift moving the selection instead and Shift+Alt its right or
// bottom edge. None of them moves the system pointer: the drags work from the
// pointer's own movement.
//
// Positions are logical viewport coordinates. The view hands its events
// here and reads back whether a gesture took them.
class Navigation
{
public:
    Navigation(View *view, PickModel *pick, Selection *selection);

    // How far the content must move (viewport pixels) to bring shown inside
    // inner; when shown is too large for inner, the anchor point instead.
    static QPoint shiftToShow(QRect shown, const QPoint &anchor, const QRect &inner);

    bool isPanning() const { return m_panning; }
    bool isZoomDragging() const { return m_zoomDragging; }

    // A button went down with the pointer at cursor; true when that starts
    // a pan or a zoom drag.
    bool press(Qt::MouseButton button, const QPointF &cursor);
    // The pointer moved to cursor: pans or zooms while a gesture runs; true
    // when the picture moved under the pointer.
    bool move(const QPointF &cursor);
    // A release of any button ends both gestures.
    void release();
    // Wheel rotation in eighths of a degree, with the pointer at cursor.
    void wheel(int angle, const QPointF &cursor);
    // An arrow key (Qt::Key_Left...) with modifiers; true when it moved the
    // pick point or the selection. pointerInside: the pointer is over the
    // view.
    bool arrowKey(int key, Qt::KeyboardModifiers modifiers, bool pointerInside,
                  bool selectionDragged);

private:
    // Moves the pick point by delta image pixels, staying on the image and
    // scrolling to keep it in view; it starts at the hovered pixel, or at the
    // one in the middle of the view when the pointer is not over the image.
    // False without a picture.
    bool movePick(const QPoint &delta, bool pointerInside);
    void startFrom(const QPointF &cursor);

    View *m_view;
    PickModel *m_pick;
    Selection *m_selection;
    bool m_panning = false;
    bool m_zoomDragging = false;
    QPointF m_zoomAnchor;
    QPointF m_pressCursorPos;
    double m_zoomAtPress = 1.0;
    int m_vScrollAtPress = 0;
    int m_hScrollAtPress = 0;
    // Wheel rotation not yet turned into a zoom step, in eighths of a degree:
    // fine-grained wheels and touchpads send fractions of a 15-degree notch.
    int m_wheelRemainder = 0;
};

#endif

#include "view/navigation.h"

#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "view/view.h"

#include <QScrollBar>
#include <QtMath>

namespace {

constexpr double WheelStep = 1.2;
constexpr int WheelNotch = 120; // eighths of a degree in one notch of a wheel
// View pixels kept between the pick point and the window's edges.
constexpr double NudgeMargin = 25.0;

} // namespace

Navigation::Navigation(View *view, PickModel *pick, Selection *selection)
    : m_view(view), m_pick(pick), m_selection(selection)
{
}

void Navigation::startFrom(const QPointF &cursor)
{
    m_pressCursorPos = cursor;
    m_vScrollAtPress = m_view->verticalScrollBar()->value();
    m_hScrollAtPress = m_view->horizontalScrollBar()->value();
}

bool Navigation::press(Qt::MouseButton button, const QPointF &cursor)
{
    if (m_panning || m_zoomDragging)
        return false;
    if (button == Qt::LeftButton) {
        m_panning = true;
        startFrom(cursor);
        return true;
    }
    if (button == Qt::MiddleButton) {
        m_zoomDragging = true;
        // Under the pointer, also where the keys lead the pick point.
        m_zoomAnchor = m_view->pixelMapping().scenePosAt(cursor);
        m_zoomAtPress = m_view->zoom();
        startFrom(cursor);
        return true;
    }
    return false;
}

bool Navigation::move(const QPointF &cursor)
{
    if (m_zoomDragging) {
        // The exponent is of the whole distance from the press, so returning
        // to the press height restores the zoom at the press exactly.
        m_view->setZoom(m_zoomAtPress * qExp((m_pressCursorPos.y() - cursor.y()) / 100.0));
        m_view->keepUnder(m_zoomAnchor, m_pressCursorPos);
    }
    if (m_panning) {
        m_view->verticalScrollBar()->setValue(
            qRound(m_pressCursorPos.y() + m_vScrollAtPress - cursor.y()));
        m_view->horizontalScrollBar()->setValue(
            qRound(m_pressCursorPos.x() + m_hScrollAtPress - cursor.x()));
    }
    return m_zoomDragging || m_panning;
}

void Navigation::release()
{
    m_zoomDragging = false;
    m_panning = false;
}

void Navigation::wheel(int angle, const QPointF &cursor)
{
    m_wheelRemainder += angle;
    const int steps = m_wheelRemainder / WheelNotch;
    if (steps == 0)
        return;
    m_wheelRemainder -= steps * WheelNotch;

    m_view->hoverAt(cursor);
    m_view->setZoom(m_view->zoom() * qPow(WheelStep, steps));
    // Bring the scene point that was under the cursor back under it.
    m_view->keepUnder(m_pick->hoverPoint(), cursor);
    m_view->hoverAt(cursor);
    // A pan goes on smoothly at the new zoom.
    if (m_panning)
        startFrom(cursor);
}

bool Navigation::arrowKey(int key, Qt::KeyboardModifiers modifiers, bool pointerInside,
                          bool selectionDragged)
{
    QPoint step;
    switch (key) {
    case Qt::Key_Left:
        step = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        step = QPoint(0, 1);
        break;
    default:
        return false;
    }
    modifiers &= ~Qt::KeypadModifier;
    const int count = modifiers & Qt::ControlModifier ? 10 : 1;
    const Qt::KeyboardModifiers rest = modifiers & ~Qt::ControlModifier;
    if (rest == Qt::NoModifier)
        return movePick(step * count, pointerInside);
    if (selectionDragged)
        return false;
    if (rest == Qt::ShiftModifier)
        return m_selection->nudge(step * count, false);
    if (rest == (Qt::ShiftModifier | Qt::AltModifier))
        return m_selection->nudge(step * count, true);
    return false;
}

bool Navigation::movePick(const QPoint &delta, bool pointerInside)
{
    if (!m_view->hasImage())
        return false;
    const QRect image = m_selection->bounds();
    QPoint to = PixelMapping::pixelAt(m_pick->hoverPoint());
    if (m_view->isKeyboardPicking() || (pointerInside && image.contains(to))) {
        to += delta;
    } else {
        const QSizeF size = m_view->viewport()->size();
        to = PixelMapping::pixelAt(
            m_view->pixelMapping().scenePosAt(QPointF(size.width() / 2, size.height() / 2)));
    }
    // A step beyond the image's edge stops there.
    to = QPoint(qBound(0, to.x(), image.right()), qBound(0, to.y(), image.bottom()));
    m_view->scrollToShow(QRectF(to, QSizeF(1, 1)), QPointF(to) + QPointF(0.5, 0.5), NudgeMargin);
    m_view->pickPixel(to);
    return true;
}

QPoint Navigation::shiftToShow(QRect shown, const QPoint &anchor, const QRect &inner)
{
    if (shown.width() > inner.width()) {
        shown.setLeft(anchor.x());
        shown.setRight(anchor.x());
    }
    if (shown.height() > inner.height()) {
        shown.setTop(anchor.y());
        shown.setBottom(anchor.y());
    }
    const auto shift = [](int low, int high, int from, int to) {
        return low < from ? from - low : high > to ? to - high : 0;
    };
    return QPoint(shift(shown.left(), shown.right(), inner.left(), inner.right()),
                  shift(shown.top(), shown.bottom(), inner.top(), inner.bottom()));
}

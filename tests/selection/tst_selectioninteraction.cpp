#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"

#include <QCursor>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace SelectionHandles;

// Right-button drags through the real view: drawing, moving and resizing the
// selection, the cursors, the pointer snapping onto a grabbed handle,
// scrolling along at the window border, and the double click.
class TestSelectionInteraction : public QObject
{
    Q_OBJECT

private slots:
    void drawing_data();
    void drawing();
    void adjusting_data();
    void adjusting();
    void movingAgainstTheBorderAndBack();
    void resizeSnapsThePointerOntoTheHandle();
    void cursorOfEachHandle_data();
    void cursorOfEachHandle();
    void rightClickWithoutMovingIsNoSelection();
    void noImageNoSelection();
    void draggingPastTheWindowScrollsAndMovesThePointer();
    void doubleClick();

private:
    // Drags with the right button between two scene points, in steps.
    static void rightDrag(ViewFixture &f, const QPointF &from, const QPointF &to,
                          bool release = true);
};

void TestSelectionInteraction::rightDrag(ViewFixture &f, const QPointF &from, const QPointF &to,
                                         bool release)
{
    QWidget *viewport = f.view->viewport();
    const QPoint start = f.viewportPosOf(from);
    const QPoint end = f.viewportPosOf(to);
    f.hover(start);
    QTest::mousePress(viewport, Qt::RightButton, {}, start);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(viewport, start + (end - start) * i / 4);
    if (release)
        QTest::mouseRelease(viewport, Qt::RightButton, {}, end);
}

void TestSelectionInteraction::drawing_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("rect");
    QTest::newRow("down and right")
        << QPointF(10.3, 10.3) << QPointF(50.6, 30.2) << QRectF(10, 10, 41, 20);
    QTest::newRow("up and left") << QPointF(50, 50) << QPointF(20, 20) << QRectF(20, 20, 30, 30);
    QTest::newRow("up and right") << QPointF(20, 50) << QPointF(60, 10) << QRectF(20, 10, 40, 40);
    QTest::newRow("starting outside the image")
        << QPointF(-30, 40) << QPointF(30, 60) << QRectF(0, 40, 30, 20);
    QTest::newRow("ending beyond the image")
        << QPointF(80, 80) << QPointF(130, 90) << QRectF(80, 80, 20, 10);
}

void TestSelectionInteraction::drawing()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRectF, rect);

    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    QSignalSpy changed(f.view, &View::selectionChanged);
    rightDrag(f, from, to);
    QCOMPARE(f.view->selectionItem()->rect(), rect);
    QVERIFY(!f.view->selectionItem()->isCreating());
    QVERIFY(!changed.isEmpty());
}

void TestSelectionInteraction::adjusting_data()
{
    QTest::addColumn<QPointF>("grab");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("rect");
    // All on (100, 100, 300, 200) at zoom 1.
    QTest::newRow("top left corner")
        << QPointF(103, 97) << QPointF(150, 160) << QRectF(150, 160, 250, 140);
    QTest::newRow("right edge flips past the left")
        << QPointF(400, 200) << QPointF(60, 200) << QRectF(60, 100, 40, 200);
    // The pointer is snapped onto the edge at the press; the drag then goes on
    // from where the mouse is.
    QTest::newRow("bottom edge") << QPointF(250, 305) << QPointF(250, 355)
                                 << QRectF(100, 100, 300, 255);
    QTest::newRow("move") << QPointF(250, 200) << QPointF(270, 190) << QRectF(120, 90, 300, 200);
    QTest::newRow("bottom left") << QPointF(98, 302) << QPointF(80, 250)
                                 << QRectF(80, 100, 320, 150);
}

void TestSelectionInteraction::adjusting()
{
    QFETCH(QPointF, grab);
    QFETCH(QPointF, to);
    QFETCH(QRectF, rect);

    ViewFixture f(QSize(1000, 800));
    f.show(TestImages::pattern(500, 500));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(100, 100), QPointF(400, 300));
    rightDrag(f, grab, to);
    QCOMPARE(selection->rect(), rect);
    QVERIFY(!selection->isAdjusting());
}

void TestSelectionInteraction::movingAgainstTheBorderAndBack()
{
    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(10, 10), QPointF(60, 60));
    f.view->setZoom(4);
    QWidget *viewport = f.view->viewport();
    const QPoint grab = f.viewportPosOf(QPointF(35, 35));
    f.hover(grab);
    QTest::mousePress(viewport, Qt::RightButton, {}, grab);
    QTest::mouseMove(viewport, grab + QPoint(-30 * 4, 0));
    // Squeezed against the left border while the mouse is held...
    QCOMPARE(selection->rect(), QRectF(0, 10, 30, 50));
    QTest::mouseMove(viewport, grab);
    // ...and whole again when moved back.
    QCOMPARE(selection->rect(), QRectF(10, 10, 50, 50));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, grab);
}

void TestSelectionInteraction::resizeSnapsThePointerOntoTheHandle()
{
    ViewFixture f(QSize(1000, 800));
    f.show(TestImages::pattern(500, 500));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(100, 100), QPointF(400, 300));
    QWidget *viewport = f.view->viewport();

    const QPoint offCorner = f.viewportPosOf(QPointF(103, 97));
    f.hover(offCorner);
    QCOMPARE(selection->hoverHandle(), int(TopLeft));
    QTest::mousePress(viewport, Qt::RightButton, {}, offCorner);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(f.viewportPosOf(QPointF(100, 100))));
    QVERIFY(selection->isAdjusting());
    QTest::mouseRelease(viewport, Qt::RightButton, {}, offCorner);

    // Grabbing the interior leaves the pointer where it is.
    QCursor::setPos(QPoint(5, 5));
    const QPoint inside = f.viewportPosOf(QPointF(250, 200));
    f.hover(inside);
    QTest::mousePress(viewport, Qt::RightButton, {}, inside);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(inside));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, inside);
}

void TestSelectionInteraction::cursorOfEachHandle_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("shape");
    QTest::newRow("inside") << QPointF(250, 200) << int(Qt::SizeAllCursor);
    QTest::newRow("top left") << QPointF(100, 100) << int(Qt::SizeFDiagCursor);
    QTest::newRow("top") << QPointF(250, 100) << int(Qt::SizeVerCursor);
    QTest::newRow("top right") << QPointF(400, 100) << int(Qt::SizeBDiagCursor);
    QTest::newRow("right") << QPointF(400, 200) << int(Qt::SizeHorCursor);
    QTest::newRow("bottom right") << QPointF(400, 300) << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom") << QPointF(250, 300) << int(Qt::SizeVerCursor);
    QTest::newRow("bottom left") << QPointF(100, 300) << int(Qt::SizeBDiagCursor);
    QTest::newRow("left") << QPointF(100, 200) << int(Qt::SizeHorCursor);
    QTest::newRow("away") << QPointF(20, 20) << int(Qt::ArrowCursor);
}

void TestSelectionInteraction::cursorOfEachHandle()
{
    QFETCH(QPointF, point);
    QFETCH(int, shape);
    ViewFixture f(QSize(1000, 800));
    f.show(TestImages::pattern(500, 500));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(100, 100), QPointF(400, 300));
    f.hover(f.viewportPosOf(point));
    QCOMPARE(int(selection->cursor().shape()), shape);
    // The view takes the keyboard focus whenever the mouse moves over it.
    QVERIFY(f.view->hasFocus() || !f.view->isActiveWindow());

    // While a new selection is dragged out the cursor is the arrow.
    rightDrag(f, QPointF(450, 450), QPointF(480, 480), false);
    QVERIFY(selection->isCreating());
    QCOMPARE(selection->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(f.view->viewport(), Qt::RightButton, {},
                        f.viewportPosOf(QPointF(480, 480)));
}

void TestSelectionInteraction::rightClickWithoutMovingIsNoSelection()
{
    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    const QPoint point = f.viewportPosOf(QPointF(40.2, 40.2));
    f.hover(point);
    QTest::mouseClick(f.view->viewport(), Qt::RightButton, {}, point);
    QCOMPARE(f.view->selectionItem()->rect(), QRectF(40, 40, 0, 0));
    QVERIFY(!f.view->hasSelection());

    f.view->selectionItem()->setFromPoints(QPointF(1, 1), QPointF(5, 5));
    QSignalSpy changed(f.view, &View::selectionChanged);
    QTest::mouseClick(f.view->viewport(), Qt::RightButton, {}, point);
    QCOMPARE(changed.size(), 1);
    QVERIFY(!f.view->hasSelection());
}

void TestSelectionInteraction::noImageNoSelection()
{
    ViewFixture f;
    QSignalSpy changed(f.view, &View::selectionChanged);
    QWidget *viewport = f.view->viewport();
    f.hover(QPoint(100, 100));
    QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(viewport, QPoint(300, 300));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(300, 300));
    QCOMPARE(changed.size(), 0);
    QVERIFY(!f.view->selectionItem()->isCreating());
}

void TestSelectionInteraction::draggingPastTheWindowScrollsAndMovesThePointer()
{
    ViewFixture f(QSize(800, 600));
    f.show(TestImages::pattern(3000, 3000));
    QWidget *viewport = f.view->viewport();
    QScrollBar *horizontal = f.view->horizontalScrollBar();

    const QPoint start(400, 300);
    f.hover(start);
    QTest::mousePress(viewport, Qt::RightButton, {}, start);
    const int scrollBefore = horizontal->value();
    const QPointF underEnd = f.view->mapToScene(QPoint(790, 300));

    // The pointer moves 16 pixels past the 25-pixel margin.
    QCursor::setPos(viewport->mapToGlobal(QPoint(790, 300)));
    QTest::mouseMove(viewport, QPoint(790, 300));
    // The picture scrolled left just enough and the pointer went with it,
    // staying over the same image point.
    QCOMPARE(horizontal->value() - scrollBefore, 16);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(QPoint(774, 300)));
    QCOMPARE(f.view->mapToScene(QPoint(774, 300)), underEnd);

    // The window system reports the pointer where it was put; the dragged
    // corner is under it again, and nothing more scrolls.
    QTest::mouseMove(viewport, QPoint(774, 300));
    QCOMPARE(horizontal->value() - scrollBefore, 16);
    QCOMPARE(f.view->selectionItem()->rect().right(), qRound(underEnd.x()));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(774, 300));
    QCOMPARE(horizontal->value() - scrollBefore, 16);
}

namespace {

// What the window system delivers for a double click: press, release, a
// double-click press, release.
void doubleClickAt(ViewFixture &f, const QPoint &pos)
{
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(f.view->viewport(), Qt::LeftButton, {}, pos);
}

} // namespace

void TestSelectionInteraction::doubleClick()
{
    ViewFixture f(QSize(800, 600));
    f.show(TestImages::pattern(1000, 1000));
    f.view->selectionItem()->setFromPoints(QPointF(100, 200), QPointF(246, 309));

    const QPoint inside = f.viewportPosOf(QPointF(150, 250));
    f.hover(inside);
    doubleClickAt(f, inside);
    QVERIFY2(qAbs(f.view->zoom() - 5.0) < 1e-9, qPrintable(QString::number(f.view->zoom())));

    f.view->setZoom(1);
    f.view->centerOn(900, 900);
    const QPoint away = f.viewportPosOf(QPointF(900, 900));
    f.hover(away);
    QCOMPARE(f.view->selectionItem()->hoverHandle(), int(None));
    doubleClickAt(f, away);
    QVERIFY2(qAbs(f.view->zoom() - 0.545) < 1e-9, qPrintable(QString::number(f.view->zoom())));
}

LUMENO_TEST_MAIN(TestSelectionInteraction)
#include "tst_selectioninteraction.moc"

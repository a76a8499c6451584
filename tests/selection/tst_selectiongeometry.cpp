#include "selection/selectionhandles.h"
#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace SelectionHandles;

Q_DECLARE_METATYPE(SelectionHandles::Handle)

// The selection is kept in whole pixels inside the image; its handles are
// found with a tolerance that stays 25 pixels wide on screen.
class TestSelectionGeometry : public QObject
{
    Q_OBJECT

private slots:
    void roundingClampingNormalising_data();
    void roundingClampingNormalising();
    void changesAreSignalledOnce();
    void selectAllAndClearWithoutAnImage();
    void hitTest_data();
    void hitTest();
    void anchorsPutThePointerOnTheHandle_data();
    void anchorsPutThePointerOnTheHandle();
    void outlinesAreBracketsAlongTheSides();
    void outlinesFollowAFlippedRectangle();
    void dimmedAreaIsEverythingButTheSelection();
    void selectedImage();
};

void TestSelectionGeometry::roundingClampingNormalising_data()
{
    QTest::addColumn<QPointF>("p1");
    QTest::addColumn<QPointF>("p2");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QRectF>("raw");

    QTest::newRow("rounded and normalised") << QPointF(10.4, 20.6) << QPointF(3.5, 7.2)
                                            << QRectF(4, 7, 6, 14) << QRectF(10, 21, -6, -14);
    QTest::newRow("clamped to the image")
        << QPointF(-5, 50) << QPointF(500, 60) << QRectF(0, 50, 100, 10) << QRectF(0, 50, 100, 10);
    QTest::newRow("corner on the far border") << QPointF(100, 100) << QPointF(99.6, 99.4)
                                              << QRectF(100, 99, 0, 1) << QRectF(100, 100, 0, -1);
    QTest::newRow("halves round up")
        << QPointF(0.5, 1.5) << QPointF(2.5, 2.49) << QRectF(1, 2, 2, 0) << QRectF(1, 2, 2, 0);
}

void TestSelectionGeometry::roundingClampingNormalising()
{
    QFETCH(QPointF, p1);
    QFETCH(QPointF, p2);
    QFETCH(QRectF, rect);
    QFETCH(QRectF, raw);

    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(p1, p2);
    QCOMPARE(selection->rect(), rect);
    QCOMPARE(selection->rawRect(), raw);
    QCOMPARE(selection->hasSelection(), rect.width() != 0 && rect.height() != 0);
}

void TestSelectionGeometry::changesAreSignalledOnce()
{
    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    SelectionItem *selection = f.view->selectionItem();
    QSignalSpy changed(f.view, &View::selectionChanged);

    selection->clear(); // already empty
    QCOMPARE(changed.size(), 0);
    selection->setFromPoints(QPointF(1, 1), QPointF(9, 9));
    selection->setFromPoints(QPointF(1.2, 0.8), QPointF(9.4, 8.6)); // the same after rounding
    QCOMPARE(changed.size(), 1);
    selection->clear();
    QCOMPARE(changed.size(), 2);
    QVERIFY(!f.view->hasSelection());

    // A new document clears the selection.
    selection->setFromPoints(QPointF(1, 1), QPointF(9, 9));
    f.show(TestImages::pattern(50, 50));
    QCOMPARE(changed.size(), 4);
    QCOMPARE(selection->rect(), QRectF(0, 0, 0, 0));
}

void TestSelectionGeometry::selectAllAndClearWithoutAnImage()
{
    ViewFixture f;
    SelectionItem *selection = f.view->selectionItem();
    QSignalSpy changed(f.view, &View::selectionChanged);
    f.view->selectAll();
    QCOMPARE(selection->rect(), QRectF(0, 0, 0, 0));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(selection->hitTest(QPointF(0, 0)), None);

    f.show(TestImages::pattern(64, 48));
    f.view->selectAll();
    QCOMPARE(selection->rect(), QRectF(0, 0, 64, 48));
    QCOMPARE(changed.size(), 1);
}

void TestSelectionGeometry::hitTest_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<Handle>("handle");

    const QRectF r(100, 100, 300, 200);
    QTest::newRow("inside") << r << 1.0 << QPointF(250, 200) << Inside;
    QTest::newRow("corner") << r << 1.0 << QPointF(100, 100) << TopLeft;
    QTest::newRow("left band") << r << 1.0 << QPointF(90, 200) << Left;
    QTest::newRow("top band") << r << 1.0 << QPointF(250, 96) << Top;
    QTest::newRow("too far left") << r << 1.0 << QPointF(60, 200) << None;
    QTest::newRow("beyond bottom right") << r << 1.0 << QPointF(420, 310) << BottomRight;
    QTest::newRow("outer edge is included") << r << 1.0 << QPointF(75, 100) << TopLeft;
    QTest::newRow("just past the outer edge") << r << 1.0 << QPointF(74.9, 100) << None;
    QTest::newRow("top right") << r << 1.0 << QPointF(410, 95) << TopRight;
    QTest::newRow("bottom left") << r << 1.0 << QPointF(110, 305) << BottomLeft;
    QTest::newRow("right") << r << 1.0 << QPointF(405, 200) << Right;
    QTest::newRow("bottom") << r << 1.0 << QPointF(250, 320) << Bottom;
    // At zoom 4 the bands are 25 view pixels, 6.25 image pixels, wide.
    QTest::newRow("zoom 4, in the band") << r << 4.0 << QPointF(94, 200) << Left;
    QTest::newRow("zoom 4, on the band's edge") << r << 4.0 << QPointF(93.75, 200) << Left;
    QTest::newRow("zoom 4, outside the band") << r << 4.0 << QPointF(93.5, 200) << None;
    QTest::newRow("zoom 4, inside") << r << 4.0 << QPointF(107, 200) << Inside;
    QTest::newRow("zoom 1/4, far away still grabs") << r << 0.25 << QPointF(10, 200) << Left;
    // A small rectangle keeps an interior of a third of each side.
    QTest::newRow("small, centre") << QRectF(0, 0, 6, 6) << 1.0 << QPointF(3, 3) << Inside;
    QTest::newRow("small, corner") << QRectF(0, 0, 6, 6) << 1.0 << QPointF(1, 1) << TopLeft;
    // Top wins over bottom and left over right where the bands overlap.
    QTest::newRow("thin, top wins") << QRectF(10, 10, 6, 0) << 1.0 << QPointF(13, 10) << Top;
    QTest::newRow("line, left wins")
        << QRectF(10, 10, 0, 5) << 1.0 << QPointF(10, 30) << BottomLeft;
    QTest::newRow("point has none") << QRectF(10, 10, 0, 0) << 1.0 << QPointF(10, 10) << None;
}

void TestSelectionGeometry::hitTest()
{
    QFETCH(QRectF, rect);
    QFETCH(double, zoom);
    QFETCH(QPointF, point);
    QFETCH(Handle, handle);
    QCOMPARE(SelectionHandles::hitTest(rect, point, zoom), handle);
}

void TestSelectionGeometry::anchorsPutThePointerOnTheHandle_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPointF>("anchor");
    QTest::newRow("top left") << QPointF(103, 97) << QPointF(100, 100);
    QTest::newRow("top") << QPointF(250, 97) << QPointF(250, 100);
    QTest::newRow("top right") << QPointF(395, 110) << QPointF(400, 100);
    QTest::newRow("right") << QPointF(410, 200) << QPointF(400, 200);
    QTest::newRow("bottom right") << QPointF(405, 305) << QPointF(400, 300);
    QTest::newRow("bottom") << QPointF(250, 290) << QPointF(250, 300);
    QTest::newRow("bottom left") << QPointF(90, 310) << QPointF(100, 300);
    QTest::newRow("left") << QPointF(95, 222) << QPointF(100, 222);
    QTest::newRow("inside") << QPointF(222, 222) << QPointF(222, 222);
    QTest::newRow("none") << QPointF(10, 10) << QPointF(10, 10);
}

void TestSelectionGeometry::anchorsPutThePointerOnTheHandle()
{
    QFETCH(QPointF, point);
    QFETCH(QPointF, anchor);
    ViewFixture f;
    f.show(TestImages::pattern(500, 500));
    f.view->selectionItem()->setFromPoints(QPointF(100, 100), QPointF(400, 300));
    QCOMPARE(f.view->selectionItem()->handleAnchor(point), anchor);
}

void TestSelectionGeometry::outlinesAreBracketsAlongTheSides()
{
    // rect (100, 100, 300, 200) at zoom 1: the right and bottom strokes lie
    // one view pixel in; corner arms are 25 view pixels long.
    const QHash<int, QPainterPath> paths = outlines(QRectF(100, 100, 300, 200), 1.0);
    QCOMPARE(paths.size(), 8);
    const QPainterPath topLeft = paths.value(TopLeft);
    QCOMPARE(topLeft.elementCount(), 3);
    QCOMPARE(QPointF(topLeft.elementAt(0)), QPointF(100, 125));
    QCOMPARE(QPointF(topLeft.elementAt(1)), QPointF(100, 100));
    QCOMPARE(QPointF(topLeft.elementAt(2)), QPointF(125, 100));
    const QPainterPath bottomRight = paths.value(BottomRight);
    QCOMPARE(QPointF(bottomRight.elementAt(1)), QPointF(399, 299));
    const QPainterPath top = paths.value(Top);
    QCOMPARE(QPointF(top.elementAt(0)), QPointF(125, 100));
    QCOMPARE(QPointF(top.elementAt(1)), QPointF(374, 100));

    // At zoom 4 the arms are a quarter as long in image pixels.
    const QPainterPath zoomed = outlines(QRectF(100, 100, 300, 200), 4.0).value(TopLeft);
    QCOMPARE(QPointF(zoomed.elementAt(2)), QPointF(106.25, 100));

    ViewFixture f;
    f.show(TestImages::pattern(10, 10));
    QVERIFY(f.view->selectionItem()->handlePath(Inside).isEmpty());
    QVERIFY(f.view->selectionItem()->handlePath(None).isEmpty());
}

void TestSelectionGeometry::outlinesFollowAFlippedRectangle()
{
    // Dragged past the opposite side: the arms still point inward.
    const QPainterPath topLeft = outlines(QRectF(100, 100, -61, -41), 1.0).value(TopLeft);
    QCOMPARE(QPointF(topLeft.elementAt(0)), QPointF(100, 86));
    // w' = -62, so the arm is 62 / 3 long, toward smaller x.
    QVERIFY(qAbs(topLeft.elementAt(2).x - (100 - 62.0 / 3)) < 1e-9);
    QCOMPARE(topLeft.elementAt(2).y, 100.0);
}

void TestSelectionGeometry::dimmedAreaIsEverythingButTheSelection()
{
    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(10, 10), QPointF(30, 20));
    f.view->setZoom(2.0);
    // Painting reads the cached path; check it through a rendered frame.
    const QImage frame = f.view->viewport()->grab().toImage();
    const QColor inside = frame.pixelColor(f.viewportPosOf(QPointF(20, 15)));
    const QColor outside = frame.pixelColor(f.viewportPosOf(QPointF(50, 50)));
    const QColor original = QColor::fromRgba(f.image.image.pixel(50, 50));
    QCOMPARE(inside, QColor::fromRgba(f.image.image.pixel(20, 15)));
    // Half-transparent black over the picture.
    QVERIFY(qAbs(outside.red() - original.red() / 2) <= 1);
    QVERIFY(qAbs(outside.green() - original.green() / 2) <= 1);
}

void TestSelectionGeometry::selectedImage()
{
    ViewFixture f;
    const QImage pixels = TestImages::pattern(40, 30);
    f.show(pixels);
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(0, 0), QPointF(0, 7)); // a line: no selection
    QCOMPARE(selection->selectedImage(), pixels);
    selection->setFromPoints(QPointF(3, 4), QPointF(13, 6));
    QCOMPARE(selection->selectedImage(), pixels.copy(3, 4, 10, 2));
}

LUMENO_TEST_MAIN(TestSelectionGeometry)
#include "tst_selectiongeometry.moc"

#include "selection/selectionhandles.h"
#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"

#include <QScrollBar>
#include <QSignalSpy>

using namespace SelectionHandles;
Q_DECLARE_METATYPE(SelectionHandles::Handle)

namespace {

// Drags with the right button between two scene points, in steps.
void rightDrag(ViewFixture &f, const QPointF &from, const QPointF &to, bool release = true)
{
    QWidget *viewport = f.view->viewport();
    const QPoint start = f.viewportPosOf(from), end = f.viewportPosOf(to);
    f.hover(start);
    QTest::mousePress(viewport, Qt::RightButton, {}, start);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(viewport, start + (end - start) * i / 4);
    if (release)
        QTest::mouseRelease(viewport, Qt::RightButton, {}, end);
}

QImage solid(const QColor &colour)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool dimmed(const QColor &shown, const QColor &under)
{
    return qAbs(shown.red() - under.red() / 2) <= 1 && qAbs(shown.green() - under.green() / 2) <= 1;
}

} // namespace

// The one selection: whole pixels inside the image, handles 25 screen pixels
// wide, right-button drags, and what it paints.
class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void corners_data();
    void corners();
    void handles_data();
    void handles();
    void outlines();
    void drags_data();
    void drags();
    void pointerSnapsAndCursorsFollow();
    void draggingPastTheWindowScrolls();
    void doubleClick();
    void painting_data();
    void painting();
    void dropHintOnlyWithoutImage();
};

void TestSelection::corners_data()
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
}

void TestSelection::corners()
{
    QFETCH(QPointF, p1);
    QFETCH(QPointF, p2);
    QFETCH(QRectF, rect);
    QFETCH(QRectF, raw);
    ViewFixture f;
    SelectionItem *selection = f.view->selectionItem();
    f.view->selectAll(); // no image: nothing to select
    QCOMPARE(selection->rect(), QRectF(0, 0, 0, 0));
    const QImage pixels = TestImages::pattern(100, 100);
    f.show(pixels);
    QSignalSpy changed(f.view, &View::selectionChanged);
    selection->setFromPoints(p1, p2);
    selection->setFromPoints(p1 + QPointF(-0.1, 0.1), p2); // the same after rounding
    QCOMPARE(selection->rect(), rect);
    QCOMPARE(selection->rawRect(), raw);
    QCOMPARE(changed.size(), 1);
    // Copy and crop take these pixels; a line is no selection, so the whole
    // image.
    const bool area = rect.width() && rect.height();
    QCOMPARE(selection->selectedImage(), area ? pixels.copy(rect.toRect()) : pixels);
    selection->clear();
    selection->clear();
    QCOMPARE(changed.size(), 2);
    f.view->selectAll();
    QCOMPARE(selection->rect(), QRectF(0, 0, 100, 100));
}

void TestSelection::handles_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<Handle>("handle");
    QTest::addColumn<QPointF>("anchor"); // where grabbing it puts the pointer

    const QRectF r(100, 100, 300, 200);
    QTest::newRow("inside") << r << 1.0 << QPointF(250, 200) << Inside << QPointF(250, 200);
    QTest::newRow("top left") << r << 1.0 << QPointF(103, 97) << TopLeft << QPointF(100, 100);
    QTest::newRow("left") << r << 1.0 << QPointF(90, 222) << Left << QPointF(100, 222);
    QTest::newRow("top") << r << 1.0 << QPointF(250, 96) << Top << QPointF(250, 100);
    QTest::newRow("too far") << r << 1.0 << QPointF(60, 200) << None << QPointF(60, 200);
    QTest::newRow("bottom right") << r << 1.0 << QPointF(420, 310) << BottomRight
                                  << QPointF(400, 300);
    QTest::newRow("outer edge included")
        << r << 1.0 << QPointF(75, 100) << TopLeft << QPointF(100, 100);
    QTest::newRow("just past it") << r << 1.0 << QPointF(74.9, 100) << None << QPointF(74.9, 100);
    QTest::newRow("top right") << r << 1.0 << QPointF(410, 95) << TopRight << QPointF(400, 100);
    QTest::newRow("bottom left") << r << 1.0 << QPointF(110, 305) << BottomLeft
                                 << QPointF(100, 300);
    QTest::newRow("right") << r << 1.0 << QPointF(405, 200) << Right << QPointF(400, 200);
    QTest::newRow("bottom") << r << 1.0 << QPointF(250, 320) << Bottom << QPointF(250, 300);
    // 25 view pixels are 6.25 image pixels at zoom 4.
    QTest::newRow("zoom 4, band's edge")
        << r << 4.0 << QPointF(93.75, 200) << Left << QPointF(100, 200);
    QTest::newRow("zoom 4, outside")
        << r << 4.0 << QPointF(93.5, 200) << None << QPointF(93.5, 200);
    QTest::newRow("zoom 4, inside") << r << 4.0 << QPointF(107, 200) << Inside << QPointF(107, 200);
    // A small rectangle keeps a third of each side as its interior; top wins
    // over bottom, left over right.
    QTest::newRow("small, centre")
        << QRectF(0, 0, 6, 6) << 1.0 << QPointF(3, 3) << Inside << QPointF(3, 3);
    QTest::newRow("small, corner")
        << QRectF(0, 0, 6, 6) << 1.0 << QPointF(1, 1) << TopLeft << QPointF(0, 0);
    QTest::newRow("thin, top wins")
        << QRectF(10, 10, 6, 0) << 1.0 << QPointF(13, 10) << Top << QPointF(13, 10);
    QTest::newRow("line, left wins")
        << QRectF(10, 10, 0, 5) << 1.0 << QPointF(10, 30) << BottomLeft << QPointF(10, 15);
    QTest::newRow("point has none")
        << QRectF(10, 10, 0, 0) << 1.0 << QPointF(10, 10) << None << QPointF(10, 10);
}

void TestSelection::handles()
{
    QFETCH(QRectF, rect);
    QFETCH(double, zoom);
    QFETCH(QPointF, point);
    QFETCH(Handle, handle);
    QFETCH(QPointF, anchor);
    QCOMPARE(SelectionHandles::hitTest(rect, point, zoom), handle);
    QCOMPARE(SelectionHandles::anchor(rect, handle, point), anchor);
}

void TestSelection::outlines()
{
    // The right and bottom strokes lie one view pixel in; arms are 25 view
    // pixels long, a third of a short side at most, and point inward also
    // when the rectangle is dragged past its opposite side.
    const auto at = [](const QRectF &r, double zoom, Handle handle) {
        QList<QPointF> points;
        const QPainterPath path = SelectionHandles::outlines(r, zoom).value(handle);
        for (int i = 0; i < path.elementCount(); ++i)
            points << QPointF(path.elementAt(i));
        return points;
    };
    const QRectF r(100, 100, 300, 200);
    QCOMPARE(at(r, 1, TopLeft), (QList<QPointF>{{100, 125}, {100, 100}, {125, 100}}));
    QCOMPARE(at(r, 1, BottomRight), (QList<QPointF>{{399, 274}, {399, 299}, {374, 299}}));
    QCOMPARE(at(r, 1, Top), (QList<QPointF>{{125, 100}, {374, 100}}));
    QCOMPARE(at(r, 4, TopLeft).last(), QPointF(106.25, 100));
    QCOMPARE(at(QRectF(100, 100, -61, -41), 1, TopLeft),
             (QList<QPointF>{{100, 86}, {100, 100}, {100 - 62.0 / 3, 100}}));
    QCOMPARE(SelectionHandles::outlines(r, 1).size(), 8);
}

void TestSelection::drags_data()
{
    QTest::addColumn<QRectF>("before"); // empty: none
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("after");

    const QRectF none, r(100, 100, 300, 200);
    QTest::newRow("draw") << none << QPointF(10.3, 10.3) << QPointF(50.6, 30.2)
                          << QRectF(10, 10, 41, 20);
    QTest::newRow("draw up and left")
        << none << QPointF(50, 50) << QPointF(20, 20) << QRectF(20, 20, 30, 30);
    QTest::newRow("draw from outside")
        << none << QPointF(-30, 40) << QPointF(30, 60) << QRectF(0, 40, 30, 20);
    QTest::newRow("draw beyond") << none << QPointF(480, 480) << QPointF(530, 490)
                                 << QRectF(480, 480, 20, 10);
    QTest::newRow("top left corner")
        << r << QPointF(103, 97) << QPointF(150, 160) << QRectF(150, 160, 250, 140);
    QTest::newRow("right edge flips past the left")
        << r << QPointF(400, 200) << QPointF(60, 200) << QRectF(60, 100, 40, 200);
    // The pointer snaps onto the edge at the press; the drag goes on from
    // where the mouse is.
    QTest::newRow("bottom edge") << r << QPointF(250, 305) << QPointF(250, 355)
                                 << QRectF(100, 100, 300, 255);
    QTest::newRow("bottom left") << r << QPointF(98, 302) << QPointF(80, 250)
                                 << QRectF(80, 100, 320, 150);
    QTest::newRow("move") << r << QPointF(250, 200) << QPointF(270, 190)
                          << QRectF(120, 90, 300, 200);
    // Squeezed against the border while held.
    QTest::newRow("move against the border")
        << r << QPointF(250, 200) << QPointF(100, 200) << QRectF(0, 100, 250, 200);
    QTest::newRow("right click") << r << QPointF(40.2, 40.2) << QPointF(40.2, 40.2)
                                 << QRectF(40, 40, 0, 0);
}

void TestSelection::drags()
{
    QFETCH(QRectF, before);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRectF, after);

    ViewFixture f(QSize(1000, 800));
    f.show(TestImages::pattern(500, 500));
    SelectionItem *selection = f.view->selectionItem();
    if (!before.isEmpty())
        selection->setFromPoints(before.topLeft(), before.bottomRight());
    QSignalSpy changed(f.view, &View::selectionChanged);
    rightDrag(f, from, to, false);
    QCOMPARE(selection->rect(), after);
    QTest::mouseRelease(f.view->viewport(), Qt::RightButton, {}, f.viewportPosOf(to));
    QVERIFY(!selection->isCreating() && !selection->isAdjusting());
    QVERIFY(changed.size() > 0);
}

void TestSelection::pointerSnapsAndCursorsFollow()
{
    ViewFixture f(QSize(1000, 800));
    f.show(TestImages::pattern(500, 500));
    SelectionItem *selection = f.view->selectionItem();
    selection->setFromPoints(QPointF(100, 100), QPointF(400, 300));
    QWidget *viewport = f.view->viewport();
    const QList<QPair<QPointF, Qt::CursorShape>> cursors = {
        {{250, 200}, Qt::SizeAllCursor}, {{100, 100}, Qt::SizeFDiagCursor},
        {{250, 100}, Qt::SizeVerCursor}, {{400, 100}, Qt::SizeBDiagCursor},
        {{400, 200}, Qt::SizeHorCursor}, {{400, 300}, Qt::SizeFDiagCursor},
        {{250, 300}, Qt::SizeVerCursor}, {{100, 300}, Qt::SizeBDiagCursor},
        {{100, 200}, Qt::SizeHorCursor}, {{20, 20}, Qt::ArrowCursor}};
    for (const auto &[point, shape] : cursors) {
        f.hover(f.viewportPosOf(point));
        QCOMPARE(selection->cursor().shape(), shape);
    }
    // Grabbing a corner a little off puts the pointer exactly on it; the
    // interior leaves it where it is.
    const QPoint offCorner = f.viewportPosOf(QPointF(103, 97));
    f.hover(offCorner);
    QTest::mousePress(viewport, Qt::RightButton, {}, offCorner);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(f.viewportPosOf(QPointF(100, 100))));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, offCorner);
    QCursor::setPos(QPoint(5, 5));
    const QPoint inside = f.viewportPosOf(QPointF(250, 200));
    f.hover(inside);
    QTest::mousePress(viewport, Qt::RightButton, {}, inside);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(inside));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, inside);
    // While a new selection is dragged out the cursor is the arrow.
    rightDrag(f, QPointF(450, 450), QPointF(480, 480), false);
    QCOMPARE(selection->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, f.viewportPosOf(QPointF(480, 480)));
}

void TestSelection::draggingPastTheWindowScrolls()
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
    // 16 pixels past the 25-pixel margin: the picture scrolls just that far
    // and the pointer goes with it, over the same image point.
    QCursor::setPos(viewport->mapToGlobal(QPoint(790, 300)));
    QTest::mouseMove(viewport, QPoint(790, 300));
    QCOMPARE(horizontal->value() - scrollBefore, 16);
    QCOMPARE(QCursor::pos(), viewport->mapToGlobal(QPoint(774, 300)));
    // Where the pointer was put, nothing more scrolls.
    QTest::mouseMove(viewport, QPoint(774, 300));
    QCOMPARE(horizontal->value() - scrollBefore, 16);
    QCOMPARE(f.view->selectionItem()->rect().right(), qRound(underEnd.x()));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(774, 300));
}

void TestSelection::doubleClick()
{
    ViewFixture f(QSize(800, 600));
    f.show(TestImages::pattern(1000, 1000));
    f.view->selectionItem()->setFromPoints(QPointF(100, 200), QPointF(246, 309));
    // Inside the selection zooms to it, away from it fits the image.
    for (const QPointF &point : {QPointF(150, 250), QPointF(900, 900)}) {
        f.view->centerOn(point);
        const QPoint at = f.viewportPosOf(point);
        f.hover(at);
        QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(f.view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY2(qAbs(f.view->zoom() - (point.x() < 500 ? 5.0 : 0.545)) < 1e-9,
                 qPrintable(QString::number(f.view->zoom())));
        f.view->setZoom(1);
    }
}

void TestSelection::painting_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("zoom 1") << 1.0;
    QTest::newRow("zoom 4") << 4.0;
}

void TestSelection::painting()
{
    QFETCH(double, zoom);
    const QColor base(60, 120, 180);
    ViewFixture f;
    f.show(solid(base));
    f.view->setZoom(zoom);
    f.view->selectionItem()->setFromPoints(QPointF(40, 60), QPointF(100, 100));
    f.view->centerOn(70, 80);
    const QPoint topLeft = f.viewportPosOf(QPointF(40, 60));
    const QPoint bottomRight = f.viewportPosOf(QPointF(100, 100)) - QPoint(1, 1);
    const int midX = (topLeft.x() + bottomRight.x()) / 2,
              midY = (topLeft.y() + bottomRight.y()) / 2;
    QImage shot = f.view->viewport()->grab().toImage();
    // Dimmed outside only; a white frame one screen pixel wide on the
    // outermost selected pixels.
    QVERIFY(dimmed(shot.pixelColor(topLeft.x() - 3, midY), base));
    QVERIFY(dimmed(shot.pixelColor(midX, bottomRight.y() + 3), base));
    QCOMPARE(shot.pixelColor(midX, midY), base);
    for (const QPoint &p : {QPoint(topLeft.x(), midY), QPoint(bottomRight.x(), midY),
                            QPoint(midX, topLeft.y()), QPoint(midX, bottomRight.y())})
        QCOMPARE(shot.pixelColor(p), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(topLeft.x() + 1, midY), base);
    // The label: white text whose baseline lies 5 pixels above the top edge,
    // never scaled by the zoom.
    const QImage label = shot.copy(topLeft.x(), topLeft.y() - 40, 300, 40);
    int lowest = -1, rightmost = -1;
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x) {
            if (qGray(label.pixel(x, y)) > 200)
                lowest = qMax(lowest, y), rightmost = qMax(rightmost, x);
        }
    }
    QVERIFY2(lowest >= 34 && lowest <= 39, qPrintable(QString::number(lowest)));
    QFont font = f.window->font();
    font.setPixelSize(20);
    QVERIFY(qAbs(rightmost - QFontMetrics(font).horizontalAdvance("60x40 @ (40, 60)")) <= 3);

    // Hovering the bottom edge highlights the part between the corner
    // brackets in red, three screen pixels wide; the interior highlights
    // nothing.
    f.hover(QPoint(midX, bottomRight.y() - 1));
    shot = f.view->viewport()->grab().toImage();
    for (int dy = -2; dy <= 2; ++dy)
        QCOMPARE(shot.pixel(midX, bottomRight.y() + dy) == qRgb(255, 0, 0), qAbs(dy) < 2);
    QCOMPARE(shot.pixelColor(topLeft.x() + 2, bottomRight.y()), QColor(Qt::white));
    f.hover(QPoint(midX, midY));
    QCOMPARE(f.view->viewport()->grab().toImage().pixelColor(midX, bottomRight.y()),
             QColor(Qt::white));

    // Cleared, nothing is painted; while a new one is drawn, a line shows.
    f.view->clearSelection();
    QCOMPARE(f.view->viewport()->grab().toImage().pixelColor(topLeft.x() - 3, midY), base);
    rightDrag(f, QPointF(50, 70), QPointF(50, 90), false);
    shot = f.view->viewport()->grab().toImage();
    const QPoint line = f.viewportPosOf(QPointF(50, 80));
    QTest::mouseRelease(f.view->viewport(), Qt::RightButton, {}, line);
    QCOMPARE(shot.pixelColor(line), QColor(Qt::white));
    QVERIFY(dimmed(shot.pixelColor(line + QPoint(5, 0)), base));
}

void TestSelection::dropHintOnlyWithoutImage()
{
    ViewFixture f(QSize(800, 600));
    const QImage shot = f.view->viewport()->grab().toImage();
    QRect box; // everything not white
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    }
    // The picture is 450 x 329, centred; its drawn part lies within.
    QVERIFY(QRect(175, 135, 450, 329).contains(box));
    QVERIFY(box.width() > 350 && box.height() > 250);
    QVERIFY(qAbs(box.center().x() - 400) <= 2);
    f.show(solid(Qt::blue));
    f.view->setZoom(4);
    QCOMPARE(f.view->viewport()->grab().toImage().pixelColor(400, 300), QColor(Qt::blue));
}

LUMENO_TEST_MAIN(TestSelection)

#include "tst_selection.moc"

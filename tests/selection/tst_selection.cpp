#include "view/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"

#include <QSettings>
#include <QUndoStack>
#include <QSignalSpy>

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

bool dimmed(const QColor &shown, const QColor &under)
{
    return qAbs(shown.red() - under.red() / 2) <= 1 && qAbs(shown.green() - under.green() / 2) <= 1;
}

} // namespace

// The one selection: whole pixels inside the image, following the document;
// handles 25 screen pixels wide, right-button drags, and what it paints. And
// what is picked: colours averaged by alpha over the sample square.
class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void corners();
    void followsTheDocument();
    void picking();
    void drags();
    void painting_data();
    void painting();
};

void TestSelection::corners()
{
    Document document;
    Selection selection(&document);
    selection.selectAll(); // no image: nothing to select
    QCOMPARE(selection.rect(), QRectF(0, 0, 0, 0));
    document.open(QStringLiteral("/tmp/a.png"), TestImages::pattern(100, 100));
    QSignalSpy changed(&selection, &Selection::changed);
    // Corners are clamped to the image, rounded (halves up) and normalised;
    // snapped, they keep the order they came in.
    const QList<std::tuple<QPointF, QPointF, QRectF, QRectF>> cases = {
        {{10.4, 20.6}, {3.5, 7.2}, {4, 7, 6, 14}, {10, 21, -6, -14}},
        {{-5, 50}, {500, 60}, {0, 50, 100, 10}, {0, 50, 100, 10}},
        {{100, 100}, {99.6, 99.4}, {100, 99, 0, 1}, {100, 100, 0, -1}}};
    for (const auto &[p1, p2, rect, raw] : cases) {
        selection.setFromPoints(p1, p2);
        QCOMPARE(selection.rect(), rect);
        QCOMPARE(selection.snapped(p1, p2), raw);
        QCOMPARE(selection.hasSelection(), rect.width() && rect.height());
    }
    selection.clear();
    selection.clear();
    QCOMPARE(changed.size(), 4);
    selection.selectAll();
    QCOMPARE(selection.rect(), QRectF(0, 0, 100, 100));
}

// A new picture comes without a selection, a restored one with the
// selection it was seen with; a picture of another size says so even where
// the selection stays empty.
void TestSelection::followsTheDocument()
{
    Document document;
    Selection selection(&document);
    ViewState where;
    where.valid = true;
    where.selection = QRectF(2, 3, 4, 5);
    document.setViewStateSource([&where] { return where; });
    document.open(QStringLiteral("/tmp/a.png"), TestImages::pattern(30, 20));
    QSignalSpy changed(&selection, &Selection::changed);
    document.crop(QRect(0, 0, 10, 10));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(selection.bounds(), QRect(0, 0, 10, 10));
    QVERIFY(!selection.hasSelection());
    document.undoStack()->undo();
    QCOMPARE(selection.rect(), QRectF(2, 3, 4, 5));
    document.open(QStringLiteral("/tmp/b.png"), TestImages::pattern(30, 20));
    QVERIFY(!selection.hasSelection());
    QCOMPARE(changed.size(), 3);
    // A state that is not valid is a new picture's, whatever else it holds.
    emit document.shown(document.image(), {false, QRectF(2, 3, 4, 5), 1.0, QPointF()});
    QVERIFY(!selection.hasSelection());
}

// The sample size is an odd one, kept between runs; nothing is picked
// without a picture, transparent black beside it.
void TestSelection::picking()
{
    QSettings().setValue(QStringLiteral("colors/sample_size"), 4); // none of the sizes
    Document document;
    PickModel pick(&document);
    QCOMPARE(pick.sampleSize(), 1);
    QSignalSpy hovered(&pick, &PickModel::hoverChanged);
    pick.hover(QPointF(1, 1));
    QVERIFY(hovered.isEmpty());
    document.open(QStringLiteral("/tmp/a.png"), TestImages::pattern(3, 3));
    pick.hover(QPointF(0.5, 0.5));
    pick.setSampleSize(2); // the next odd size, at once
    QCOMPARE(hovered.size(), 2);
    QCOMPARE(pick.hoverColor(), QColor(1, 1, 1)); // of the four pixels inside
    pick.click(QPointF(-0.5, 0.5));
    QCOMPARE(pick.clickColor(), QColor(Qt::transparent));
    PickModel next(&document);
    QCOMPARE(next.sampleSize(), 3);
}

void TestSelection::drags()
{
    // The selection before (empty: none), a right-drag, the selection after.
    const QRectF none, r(100, 100, 300, 200);
    const QList<std::tuple<QRectF, QPointF, QPointF, QRectF>> cases = {
        {none, {10.3, 10.3}, {50.6, 30.2}, {10, 10, 41, 20}},
        {none, {50, 50}, {20, 20}, {20, 20, 30, 30}},
        {none, {-30, 40}, {30, 60}, {0, 40, 30, 20}},       // from outside the image
        {none, {480, 480}, {530, 490}, {480, 480, 20, 10}}, // beyond it
        {r, {103, 97}, {150, 160}, {147, 163, 253, 137}},   // top left corner, grabbed off
        {r, {400, 200}, {60, 200}, {60, 100, 40, 200}},     // right edge past the left
        // A handle grabbed off its line keeps that distance from the pointer.
        {r, {250, 305}, {250, 355}, {100, 100, 300, 250}},
        {r, {98, 302}, {80, 250}, {82, 100, 318, 148}},
        {r, {250, 200}, {270, 190}, {120, 90, 300, 200}},      // moved
        {r, {250, 200}, {100, 200}, {0, 100, 250, 200}},       // squeezed against the border
        {{20, 20, 6, 6}, {23, 23}, {33, 43}, {30, 40, 6, 6}},  // a small one has an inside,
        {{20, 20, 6, 6}, {25, 23}, {35, 23}, {20, 20, 16, 6}}, // and edges a third of it wide
        {r, {40.2, 40.2}, {40.2, 40.2}, {40, 40, 0, 0}}};      // a click: no selection
    for (const auto &[before, from, to, after] : cases) {
        ViewFixture f(QSize(1000, 800));
        f.show(TestImages::pattern(500, 500));
        if (!before.isEmpty())
            f.selection.setFromPoints(before.topLeft(), before.bottomRight());
        QSignalSpy changed(&f.selection, &Selection::changed);
        rightDrag(f, from, to);
        QCOMPARE(f.selection.rect(), after);
        QVERIFY(!f.view->selectionItem()->isDragging() && changed.size() > 0);
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
    QImage flat(400, 300, QImage::Format_RGB32);
    flat.fill(base);
    f.show(flat);
    f.view->setZoom(zoom);
    f.selection.setFromPoints(QPointF(40, 60), QPointF(100, 100));
    f.view->centerOn(70, 80);
    const QPoint topLeft = f.viewportPosOf(QPointF(40, 60));
    const QPoint bottomRight = f.viewportPosOf(QPointF(100, 100)) - QPoint(1, 1);
    const int midX = (topLeft.x() + bottomRight.x()) / 2,
              midY = (topLeft.y() + bottomRight.y()) / 2;
    const QImage shot = f.view->viewport()->grab().toImage();
    // Dimmed outside only; a white frame one screen pixel wide on the
    // outermost selected pixels.
    QVERIFY(dimmed(shot.pixelColor(topLeft.x() - 3, midY), base));
    QVERIFY(dimmed(shot.pixelColor(midX, bottomRight.y() + 3), base));
    QCOMPARE(shot.pixelColor(midX, midY), base);
    for (const QPoint &p : {QPoint(topLeft.x(), midY), QPoint(bottomRight.x(), midY),
                            QPoint(midX, topLeft.y()), QPoint(midX, bottomRight.y())})
        QCOMPARE(shot.pixelColor(p), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(topLeft.x() + 1, midY), base);
}

LUMENO_TEST_MAIN(TestSelection)

#include "tst_selection.moc"

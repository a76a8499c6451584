#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"

#include <QTest>

using namespace SelectionHandles;

// What the selection paints, checked on rendered frames at zoom 1 and 4:
// strokes and the label keep their size on screen.
class TestSelectionPainting : public QObject
{
    Q_OBJECT

private slots:
    void dimmingFrameAndHighlight_data();
    void dimmingFrameAndHighlight();
    void labelNeverScales();
    void lineWhileDrawing();
    void nothingWithoutSelection();
    void dropHintCentredWithoutImage();

private:
    static QImage frame(ViewFixture &f) { return f.view->viewport()->grab().toImage(); }
};

namespace {

const QColor Base(60, 120, 180);

QColor dimmed(const QColor &c)
{
    return QColor(c.red() / 2, c.green() / 2, c.blue() / 2);
}

bool close(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 1 && qAbs(a.green() - b.green()) <= 1 &&
           qAbs(a.blue() - b.blue()) <= 1;
}

} // namespace

void TestSelectionPainting::dimmingFrameAndHighlight_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("zoom 1") << 1.0;
    QTest::newRow("zoom 4") << 4.0;
}

void TestSelectionPainting::dimmingFrameAndHighlight()
{
    QFETCH(double, zoom);
    ViewFixture f;
    QImage pixels(200, 150, QImage::Format_RGB32);
    pixels.fill(Base);
    f.show(pixels);
    f.view->setZoom(zoom);
    f.view->selectionItem()->setFromPoints(QPointF(40, 30), QPointF(100, 80));

    const QPoint topLeft = f.viewportPosOf(QPointF(40, 30));
    const QPoint bottomRight = f.viewportPosOf(QPointF(100, 80)) - QPoint(1, 1);
    const int midX = (topLeft.x() + bottomRight.x()) / 2;
    const int midY = (topLeft.y() + bottomRight.y()) / 2;

    QImage shot = frame(f);
    // Half-transparent black outside only.
    QVERIFY(close(shot.pixelColor(topLeft.x() - 3, midY), dimmed(Base)));
    QVERIFY(close(shot.pixelColor(midX, bottomRight.y() + 3), dimmed(Base)));
    QCOMPARE(shot.pixelColor(midX, midY), Base);
    // A white frame one screen pixel wide on the outermost selected pixels.
    QCOMPARE(shot.pixelColor(topLeft.x(), midY), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(topLeft.x() + 1, midY), Base);
    QCOMPARE(shot.pixelColor(bottomRight.x(), midY), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(bottomRight.x() - 1, midY), Base);
    QCOMPARE(shot.pixelColor(midX, topLeft.y()), QColor(Qt::white));

    // Hovering the top edge highlights the part between the corner brackets
    // in red, three screen pixels wide.
    f.hover(QPoint(midX, topLeft.y() + 1));
    QCOMPARE(f.view->selectionItem()->hoverHandle(), int(Top));
    shot = frame(f);
    const QColor red(Qt::red);
    QCOMPARE(shot.pixelColor(midX, topLeft.y() - 1), red);
    QCOMPARE(shot.pixelColor(midX, topLeft.y()), red);
    QCOMPARE(shot.pixelColor(midX, topLeft.y() + 1), red);
    QVERIFY(shot.pixelColor(midX, topLeft.y() + 2) != red);
    QVERIFY(shot.pixelColor(midX, topLeft.y() - 2) != red);
    QCOMPARE(shot.pixelColor(topLeft.x() + 2, topLeft.y()),
             QColor(Qt::white)); // the corner stays white

    // The interior highlights nothing.
    f.hover(QPoint(midX, midY));
    QCOMPARE(f.view->selectionItem()->hoverHandle(), int(Inside));
    shot = frame(f);
    QCOMPARE(shot.pixelColor(midX, topLeft.y()), QColor(Qt::white));
}

void TestSelectionPainting::labelNeverScales()
{
    QImage labels[2];
    const double zooms[2] = {1.0, 4.0};
    for (int i = 0; i < 2; ++i) {
        ViewFixture f;
        QImage pixels(400, 300, QImage::Format_RGB32);
        pixels.fill(Base);
        f.show(pixels);
        f.view->setZoom(zooms[i]);
        // Low enough that the label lies over the picture at both zooms.
        f.view->selectionItem()->setFromPoints(QPointF(10, 60), QPointF(130, 105));
        f.view->centerOn(70, 80);
        const QImage shot = frame(f);
        const QPoint corner = f.viewportPosOf(QPointF(10, 60));
        labels[i] = shot.copy(corner.x(), corner.y() - 40, 300, 40);

        // White text whose baseline lies 5 pixels above the top edge: the
        // lowest row of the digits.
        int lowest = -1;
        int rightmost = -1;
        for (int y = 0; y < labels[i].height(); ++y) {
            for (int x = 0; x < labels[i].width(); ++x) {
                if (qGray(labels[i].pixel(x, y)) > 200) {
                    lowest = qMax(lowest, y);
                    rightmost = qMax(rightmost, x);
                }
            }
        }
        QVERIFY(lowest >= 0);
        // "(" and ")" reach below the baseline by a few pixels at most.
        QVERIFY2(lowest >= 34 && lowest <= 39, qPrintable(QString::number(lowest)));
        QFont font = f.window->font();
        font.setPixelSize(20);
        const int advance =
            QFontMetrics(font).horizontalAdvance(QStringLiteral("120x45 @ (10, 60)"));
        QVERIFY2(qAbs(rightmost - advance) <= 3,
                 qPrintable(QStringLiteral("%1 vs %2").arg(rightmost).arg(advance)));
    }
    QCOMPARE(labels[0], labels[1]);
}

void TestSelectionPainting::lineWhileDrawing()
{
    ViewFixture f;
    QImage pixels(200, 150, QImage::Format_RGB32);
    pixels.fill(Base);
    f.show(pixels);
    QWidget *viewport = f.view->viewport();
    const QPoint start = f.viewportPosOf(QPointF(50, 40));
    f.hover(start);
    QTest::mousePress(viewport, Qt::RightButton, {}, start);
    QTest::mouseMove(viewport, start + QPoint(0, 30));
    QVERIFY(!f.view->hasSelection());
    const QImage shot = frame(f);
    // A vertical white line, everything else dimmed.
    QCOMPARE(shot.pixelColor(start + QPoint(0, 15)), QColor(Qt::white));
    QVERIFY(close(shot.pixelColor(start + QPoint(5, 15)), dimmed(Base)));
    QVERIFY(close(shot.pixelColor(start + QPoint(-5, 15)), dimmed(Base)));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, start + QPoint(0, 30));
}

void TestSelectionPainting::nothingWithoutSelection()
{
    ViewFixture f;
    f.show(TestImages::pattern(100, 100));
    f.view->selectionItem()->setFromPoints(QPointF(10, 10), QPointF(50, 50));
    f.view->clearSelection(); // what Escape does
    const QImage with = frame(f);
    f.view->selectionItem()->hide();
    const QImage without = frame(f);
    QCOMPARE(with, without);
}

void TestSelectionPainting::dropHintCentredWithoutImage()
{
    ViewFixture f(QSize(800, 600));
    const QImage shot = frame(f);
    // The bounding box of everything that is not white background.
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    }
    // ...which is the drawn part of the drop picture, centred.
    const QImage hint = f.window->pixmap(QStringLiteral("drag-and-drop-target")).toImage();
    QRect drawn;
    for (int y = 0; y < hint.height(); ++y) {
        for (int x = 0; x < hint.width(); ++x) {
            if (qAlpha(hint.pixel(x, y)) > 0 && (hint.pixel(x, y) | 0xff000000) != 0xffffffff)
                drawn |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!box.isEmpty());
    QCOMPARE(box.size(), drawn.size());
    const QPoint hintOrigin(400 - hint.width() / 2, 300 - hint.height() / 2);
    QVERIFY(qAbs(box.x() - (hintOrigin.x() + drawn.x())) <= 1);
    QVERIFY(qAbs(box.y() - (hintOrigin.y() + drawn.y())) <= 1);

    // Gone once an image is shown.
    QImage pixels(2000, 2000, QImage::Format_RGB32);
    pixels.fill(Base);
    f.show(pixels);
    const QImage shown = frame(f);
    for (int y = 0; y < shown.height(); y += 7) {
        for (int x = 0; x < shown.width(); x += 7)
            QCOMPARE(shown.pixelColor(x, y), Base);
    }
}

LUMENO_TEST_MAIN(TestSelectionPainting)
#include "tst_selectionpainting.moc"

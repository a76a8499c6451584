#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"
#include "view/pixelmapping.h"
#include "view/pixmapitem.h"
#include "view/selectionitem.h"

#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtMath>

namespace {

QPointF centre(const ViewFixture &f)
{
    return f.view->mapToScene(f.view->viewport()->rect().center());
}

bool near(const QPointF &a, const QPointF &b, double tolerance)
{
    return qAbs(a.x() - b.x()) <= tolerance && qAbs(a.y() - b.y()) <= tolerance;
}

// 240 x 180 pixels, every block of them its own colour: red is the column,
// green the row, blue 99.
QImage coded(int block = 1)
{
    QImage pixels(240, 180, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, qRgb(x / block * block, y / block * block, 99));
    }
    return pixels;
}

} // namespace

class TestView : public QObject
{
    Q_OBJECT

private slots:
    void pickIsTheDrawnPixel_data();
    void pickIsTheDrawnPixel();
    void gestures();
    void drawing();
    void overlays_data();
    void overlays();
    void nudging_data();
    void nudging();
    void veryWidePicture();
    void previewGivesWayToThePicture();
};

void TestView::pickIsTheDrawnPixel_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<int>("block");   // image pixels per colour, along each side
    QTest::addColumn<bool>("tagged"); // Display P3: shown and picked in sRGB

    const QPoint offsets[] = {{0, 0}, {7, -5}, {-23, 31}};
    for (const double zoom : {1.0, 1.728, 6.1917364224, 0.5}) {
        for (const QPoint &offset : offsets) {
            // Zoomed out, a smoothed picture shows exact colours only where
            // neighbouring pixels agree.
            QTest::addRow("zoom %g scroll %d,%d", zoom, offset.x(), offset.y())
                << zoom << offset << (zoom < 1 ? 2 : 1) << false;
        }
        QTest::addRow("zoom %g, Display P3", zoom)
            << zoom << QPoint() << (zoom < 1 ? 2 : 1) << true;
    }
}

void TestView::pickIsTheDrawnPixel()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(int, block);
    QFETCH(bool, tagged);

    ViewFixture f(QSize(401, 301));
    QImage picture = coded(block);
    if (tagged)
        picture.setColorSpace(QColorSpace::DisplayP3);
    f.show(picture);
    f.view->setZoom(zoom);
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + scroll.x());
    f.view->verticalScrollBar()->setValue(f.view->verticalScrollBar()->value() + scroll.y());
    const QImage drawn = f.view->viewport()->grab().toImage();
    const double ratio = drawn.devicePixelRatio();
    const double level = std::log2(zoom * ratio);
    if (level < 0 && level != std::round(level))
        QSKIP("smoothed: a device pixel shows a blend of image pixels");

    // Device pixels on both sides of every border drawn along a row and a
    // column through the middle, the image's edges among them.
    QList<QPoint> probes;
    const int midX = drawn.width() / 2, midY = drawn.height() / 2;
    for (int x = 0; x + 1 < drawn.width(); ++x) {
        if (drawn.pixel(x, midY) != drawn.pixel(x + 1, midY))
            probes << QPoint(x, midY) << QPoint(x + 1, midY);
    }
    for (int y = 0; y + 1 < drawn.height(); ++y) {
        if (drawn.pixel(midX, y) != drawn.pixel(midX, y + 1))
            probes << QPoint(midX, y) << QPoint(midX, y + 1);
    }
    probes.erase(std::unique(probes.begin(), probes.end()), probes.end());
    QVERIFY(probes.size() > 20);

    int exact = 0;
    for (const QPoint &device : std::as_const(probes)) {
        // Where a pointer on that device pixel puts the mouse: its corner.
        f.hover(QPointF(device) / ratio);
        const QColor reported = f.pick.hoverColor();
        const QPoint pixel = f.hoveredPixel();
        const QRgb shown = drawn.pixel(device);
        // The checkerboard beside the image reports transparent black; the
        // picture's stored values tell which pixel is drawn.
        const QImage &pixels = f.document.image()->image;
        const bool inside = pixels.rect().contains(pixel);
        const QRgb stored = inside ? pixels.pixel(pixel) : 0;
        const bool grey = qRed(shown) == qGreen(shown) && qGreen(shown) == qBlue(shown);
        const bool same = !inside ? grey && reported.alpha() == 0
                                  : reported.rgb() == shown &&
                                        f.document.shownPixels().pixel(pixel) == shown &&
                                        pixel.x() / block * block == qRed(stored) &&
                                        pixel.y() / block * block == qGreen(stored);
        if (same)
            ++exact;
        else
            qWarning("device pixel %d,%d shows %08x, picked %08x at pixel %d,%d", device.x(),
                     device.y(), shown, reported.rgba(), pixel.x(), pixel.y());
    }
    qInfo("scale %g: %d of %d picks exact", ratio, exact, int(probes.size()));
    QCOMPARE(exact, int(probes.size()));
}

void TestView::gestures()
{
    ViewFixture f;
    QSignalSpy hover(&f.pick, &PickModel::hoverChanged);
    QSignalSpy click(&f.pick, &PickModel::clickChanged);
    QWidget *viewport = f.view->viewport();
    // Without an image nothing moves and nothing is reported.
    f.hover(QPoint(100, 100));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, 100));
    f.wheel(QPoint(100, 100), 120);
    QVERIFY(hover.isEmpty() && click.isEmpty() && f.view->zoom() == 1.0);

    f.view->setZoom(3);
    f.show(TestImages::pattern(400, 300));
    QVERIFY(f.view->zoom() == 1.0 && near(centre(f), QPointF(200, 150), 1.0));
    QCOMPARE(f.view->sceneRect(), QRectF(-400, -300, 1200, 900)); // edges reach the middle

    // The wheel zooms by 1.2 around the pointer, from 1/32 to 128.
    // Touchpads and fine wheels send parts of a notch: three make one step.
    const QPoint cursor(300, 200);
    for (int i = 1; i <= 21; ++i) {
        const QPointF before = f.view->mapToScene(cursor);
        f.wheel(cursor, i <= 18 ? 120 : 40);
        QVERIFY(near(before, f.view->mapToScene(cursor), 1.0 / f.view->zoom()));
        QVERIFY(qAbs(f.view->zoom() - qPow(1.2, i <= 18 ? i : 18 + i / 21)) < 1e-9);
    }
    for (int i = 0; i < 9; ++i)
        f.wheel(cursor, 120);
    QCOMPARE(f.view->zoom(), 128.0);
    for (int i = 0; i < 60; ++i)
        f.wheel(cursor, -120);
    QCOMPARE(f.view->zoom(), 1.0 / 32);

    f.view->setZoom(2.0);
    const QPoint press(350, 250);

    // The left button pans one to one with the closed hand, and reports the
    // clicked colour at press (where no move came first) and release; any
    // release ends the pan.
    const QPoint at = press + QPoint(-60, 25);
    const QPointF grabbed = f.view->mapToScene(at);
    click.clear();
    QTest::mousePress(viewport, Qt::LeftButton, {}, at);
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(viewport, at + QPoint(30, -20));
    QCOMPARE(f.view->mapToScene(at + QPoint(30, -20)), grabbed);
    // The same pixel stayed under the pointer.
    const QPoint pixel = PixelMapping::pixelAt(grabbed);
    QCOMPARE(PixelMapping::pixelAt(f.pick.clickPoint()), pixel);
    QCOMPARE(click.size(), 1);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at + QPoint(30, -20));
    QVERIFY(!f.view->isPanning());
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(PixelMapping::pixelAt(f.pick.clickPoint()), pixel);
    QCOMPARE(f.pick.clickColor().rgba(), f.document.image()->image.pixel(pixel));
}

void TestView::drawing()
{
    ViewFixture f;
    // Panned, the picture moves on screen with it.
    f.show(TestImages::pattern(2000, 2000));
    const QImage unmoved = f.view->viewport()->grab().toImage();
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + 3);
    QCOMPARE(f.view->viewport()->grab().toImage().copy(0, 0, 100, 100),
             unmoved.copy(3, 0, 100, 100));

    // Drawn whole or in tiles alike.
    f.show(TestImages::pattern(90, 70, true));
    for (const double zoom : {1.0, 3.0, 0.5}) {
        f.view->setZoom(zoom);
        f.view->pixmapItem()->setTileSize(0);
        const QImage whole = f.view->viewport()->grab().toImage();
        f.view->pixmapItem()->setTileSize(16);
        QVERIFY(f.view->viewport()->grab().toImage() == whole);
    }
}

void TestView::overlays_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("pixel"); // hovered
    QTest::addColumn<int>("size");     // sampled square
    QTest::addColumn<bool>("keys");    // then picked by the keys, the pointer gone

    QTest::newRow("zoom 8") << 8.0 << QPoint(120, 90) << 1 << false;
    QTest::newRow("zoom 8, 5 x 5 at the corner") << 8.0 << QPoint(0, 0) << 5 << false;
    QTest::newRow("zoom 16, 3 x 3") << 16.0 << QPoint(120, 90) << 3 << false;
    QTest::newRow("zoom 16, by the keys") << 16.0 << QPoint(120, 90) << 1 << true;
    QTest::newRow("zoom 128") << 128.0 << QPoint(120, 90) << 1 << false;
    QTest::newRow("zoom 2, 5 x 5: box, no grid") << 2.0 << QPoint(120, 90) << 5 << false;
    QTest::newRow("zoom 4: neither") << 4.0 << QPoint(120, 90) << 1 << false;
}

// The grid and the box lie on the borders of the pixels as drawn: found in a
// plain picture of the view, not computed from the mapping.
void TestView::overlays()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, pixel);
    QFETCH(int, size);
    QFETCH(bool, keys);

    ViewFixture f(QSize(401, 301));
    f.show(coded());
    f.view->setZoom(zoom);
    f.pick.setSampleSize(size);
    f.view->centerOn(QPointF(pixel) + QPointF(0.3, 0.3));
    const QPoint pos = f.viewportPosOf(QPointF(pixel) + QPointF(0.5, 0.5));
    f.hover(pos);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, pos);
    QEvent leave(QEvent::Leave);
    if (keys) {
        QApplication::sendEvent(f.view->viewport(), &leave);
        QTest::keyClick(f.view, Qt::Key_Up); // starts at the pixel in the middle
    }
    const QRect sampled =
        QRect(pixel - QPoint(size / 2, size / 2), QSize(size, size)) & QRect(0, 0, 240, 180);
    // Both colours are the mean of the sampled pixels, with the centre's point.
    const QRgb mean = qRgb(sampled.center().x(), sampled.center().y(), 99);
    QCOMPARE(f.pick.hoverColor().rgb(), mean);
    QCOMPARE(f.pick.clickColor().rgb(), mean);
    QCOMPARE(f.hoveredPixel(), pixel);
    QCOMPARE(PixelMapping::pixelAt(f.pick.clickPoint()), pixel);
    const auto shot = [&f](bool grid, bool box) {
        f.view->setPixelGridVisible(grid);
        f.view->setHoverBoxVisible(box);
        return f.view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage plain = shot(false, false), grid = shot(true, false), box = shot(false, true);
    const auto coords = [&plain](int x, int y) {
        const QRgb c = plain.pixel(x, y);
        return qBlue(c) == 99 ? QPoint(qRed(c), qGreen(c)) : QPoint(-1, -1);
    };
    QRect framed; // the device pixels showing the sampled pixels
    for (int y = 1; y < plain.height(); ++y) {
        for (int x = 1; x < plain.width(); ++x) {
            const QPoint at = coords(x, y);
            framed |= sampled.contains(at) ? QRect(x, y, 1, 1) : QRect();
            // A faint line on the first device pixel of each column and row.
            const bool line = at.x() >= 0 && zoom >= 8 &&
                              (coords(x - 1, y).x() != at.x() || coords(x, y - 1).y() != at.y());
            if (line == (grid.pixel(x, y) == plain.pixel(x, y)))
                QFAIL(qPrintable(QStringLiteral("grid at %1,%2").arg(x).arg(y)));
        }
    }
    // A dark ring on the framed pixels' edge and a light one around it, each
    // about a logical pixel wide.
    const int w = zoom * size >= 8 ? qMax(1, int(plain.devicePixelRatio())) : 0;
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            const QPoint p(x, y);
            const QRgb expected = framed.adjusted(w, w, -w, -w).contains(p)   ? plain.pixel(p)
                                  : framed.contains(p)                        ? qRgb(0, 0, 0)
                                  : framed.adjusted(-w, -w, w, w).contains(p) ? qRgb(255, 255, 255)
                                                                              : plain.pixel(p);
            if (box.pixel(p) != expected)
                QFAIL(qPrintable(QStringLiteral("box at %1,%2").arg(x).arg(y)));
        }
    }
    // Moved after a zoom and a scroll, the box leaves no trace on the screen:
    // what the window shows is what a full repaint shows. (The offscreen
    // platform grabs its windows unscaled; Wayland lets no program grab them.)
    if (f.view->devicePixelRatio() != 1 || QGuiApplication::platformName() == "wayland")
        return;
    const auto onScreen = [&f] {
        QCoreApplication::processEvents();
        const QPoint corner = f.view->viewport()->mapTo(f.view->window(), QPoint(0, 0));
        return f.view->screen()
            ->grabWindow(f.view->window()->winId())
            .toImage()
            .copy(QRect(corner, f.view->viewport()->size()));
    };
    onScreen();
    f.wheel(pos, 120);
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + 7);
    onScreen();
    f.hover(pos + QPoint(40, 30));
    QCOMPARE(onScreen(), f.view->viewport()->grab().toImage());
}

void TestView::nudging_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("start"); // negated: the pointer then leaves the view
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QPoint>("step"); // of the hovered pixel
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<QRect>("selected");

    const QPoint p(100, 80);
    const QRect none, s(10, 10, 20, 20);
    QTest::newRow("ten with Ctrl")
        << 16.0 << p << "Ctrl+Left, Down" << QPoint(-10, 1) << none << none;
    QTest::newRow("stops at the edge")
        << 16.0 << QPoint(1, 0) << "Up, Left, Left" << QPoint(-1, 0) << none << none;
    QTest::newRow("zoomed out: an image pixel")
        << 0.5 << p << "Right" << QPoint(1, 0) << none << none;
    QTest::newRow("scrolls at zoom 128")
        << 128.0 << p << "Right, Right, Right, Down" << QPoint(3, 1) << none << none;
    QTest::newRow("pointer away: starts in the middle")
        << 16.0 << -p << "Left, Down" << QPoint(0, 1) << none << none;
    QTest::newRow("Shift moves it, up to the border")
        << 16.0 << p << "Shift+Right, Ctrl+Shift+Up" << QPoint() << s << s.translated(1, -10);
    QTest::newRow("Shift+Alt: right and bottom edges")
        << 16.0 << p << "Shift+Alt+Right, Shift+Alt+Up" << QPoint() << s << s.adjusted(0, 0, 1, -1);
    QTest::newRow("inside the image, at least a pixel")
        << 16.0 << p << "Ctrl+Shift+Alt+Right, Ctrl+Shift+Alt+Up" << QPoint()
        << QRect(230, 10, 2, 2) << QRect(230, 10, 10, 1);
}

void TestView::nudging()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, start);
    QFETCH(QString, keys);
    QFETCH(QPoint, step);
    QFETCH(QRect, selection);
    QFETCH(QRect, selected);

    ViewFixture f(QSize(401, 301));
    f.show(coded());
    f.selection.setFromPoints(selection.topLeft(), selection.bottomRight() + QPoint(1, 1));
    f.view->setZoom(zoom);
    const QPointF middle(qAbs(start.x()) + 0.5, qAbs(start.y()) + 0.5);
    f.view->centerOn(middle);
    const QPoint pointer = f.viewportPosOf(middle) + (start.x() < 0 ? QPoint(40, 40) : QPoint());
    f.hover(pointer);
    QEvent leave(QEvent::Leave);
    if (start.x() < 0)
        QApplication::sendEvent(f.view->viewport(), &leave);
    // Zoomed out, the pointer may show a neighbour of the start.
    const QPoint from = start.x() < 0 ? -start : f.hoveredPixel();
    QSignalSpy changed(&f.selection, &Selection::changed);
    const QKeySequence sequence(keys);
    for (int i = 0; i < sequence.count(); ++i)
        QTest::keyClick(f.view, sequence[i].key(), sequence[i].keyboardModifiers());

    const QPoint to = f.hoveredPixel();
    QCOMPARE(to - from, step);
    if (!step.isNull()) {
        // The readout follows, the pick point stays in sight, and a click
        // where the pointer stayed picks it, as if the pointer had followed;
        // a move gives the lead back to the pointer.
        QCOMPARE(f.pick.hoverColor().rgb(), qRgb(to.x(), to.y(), 99));
        QVERIFY(
            f.view->viewport()->rect().contains(f.viewportPosOf(QPointF(to) + QPointF(.5, .5))));
        QTest::mouseClick(f.view->viewport(), Qt::LeftButton, {}, pointer);
        QCOMPARE(PixelMapping::pixelAt(f.pick.clickPoint()), to);
        f.hover(pointer + QPoint(1, 0));
        QCOMPARE(f.pick.hoverPoint(), f.view->pixelMapping().scenePosAt(pointer + QPoint(1, 0)));
    }
    QCOMPARE(f.selection.rect(), QRectF(selected));
    QCOMPARE(changed.isEmpty(), selected == selection);
}

// Nine million pixels wide: the zoom stops where the scene still fits the
// scroll range, so the view reaches the far end, and what is picked there is
// what is drawn.
void TestView::veryWidePicture()
{
    ViewFixture f(QSize(401, 301));
    QImage wide(9000000, 1, QImage::Format_RGB32);
    auto *line = reinterpret_cast<QRgb *>(wide.scanLine(0));
    for (int x = 0; x < wide.width(); ++x)
        line[x] = qRgb(x & 255, (x >> 8) & 255, x >> 16);
    f.show(wide);
    f.view->setZoom(128);
    QVERIFY(f.view->zoom() < 128 && f.view->zoom() > 32);
    f.view->centerOn(8888888.5, 0.5);
    const QPoint middle = f.view->viewport()->rect().center();
    QVERIFY(qAbs(f.view->mapToScene(middle).x() - 8888888.5) < 1);
    const QImage drawn = f.view->viewport()->grab().toImage();
    f.hover(middle);
    const QPoint pixel = f.hoveredPixel();
    QVERIFY(qAbs(pixel.x() - 8888888) <= 1);
    QCOMPARE(f.pick.hoverColor().rgb(), line[pixel.x()]);
    QCOMPARE(drawn.pixel(middle * drawn.devicePixelRatio()), line[pixel.x()]);
}

// A preview is only looked at: nothing is picked from it, a click waits for
// the picture, which then takes its place without moving.
void TestView::previewGivesWayToThePicture()
{
    const QImage picture = coded();
    ViewFixture f(QSize(300, 200));
    QImage part(100, 60, QImage::Format_RGB32);
    part.fill(Qt::black); // not the picture's colours
    f.view->showPreview(part, picture.size(), QPoint(70, 60));
    QVERIFY(f.view->isPreviewing());
    const QPointF centre = f.view->mapToScene(f.view->viewport()->rect().center());
    const QPoint at = f.viewportPosOf(QPointF(120.25, 90.25));
    const auto drawn = [&] {
        const QImage image = f.view->viewport()->grab().toImage();
        const QPointF device = (QPointF(at) + QPointF(0.5, 0.5)) * image.devicePixelRatio();
        return image.pixel(int(device.x()), int(device.y()));
    };
    QCOMPARE(drawn(), qRgb(0, 0, 0));
    QSignalSpy clicked(&f.pick, &PickModel::clickChanged);
    f.hover(at);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(f.pick.hoverColor(), QColor(Qt::transparent));
    QCOMPARE(clicked.size(), 0);

    f.show(picture);
    QVERIFY(!f.view->isPreviewing());
    QCOMPARE(f.view->mapToScene(f.view->viewport()->rect().center()), centre);
    // The click, taken now, is the pixel drawn where it was made.
    const QPoint pixel = PixelMapping::pixelAt(f.pick.clickPoint());
    QVERIFY((pixel - QPoint(120, 90)).manhattanLength() <= 2);
    QCOMPARE(drawn(), picture.pixel(pixel));
    QCOMPARE(f.pick.clickColor(), QColor(picture.pixel(pixel)));
}

LUMENO_TEST_MAIN(TestView)

#include "tst_view.moc"

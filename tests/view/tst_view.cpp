#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"
#include "view/glcapabilities.h"
#include "view/pixelmapping.h"
#include "view/pixmapitem.h"

#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtMath>

namespace {

QImage solid(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QPointF centre(const ViewFixture &f)
{
    return f.view->mapToScene(f.view->viewport()->rect().center());
}

bool near(const QPointF &a, const QPointF &b, double tolerance)
{
    return qAbs(a.x() - b.x()) <= tolerance && qAbs(a.y() - b.y()) <= tolerance;
}

} // namespace

class TestView : public QObject
{
    Q_OBJECT

private slots:
    void pickIsTheDrawnPixel_data();
    void pickIsTheDrawnPixel();
    void gestures();
    void fitting_data();
    void fitting();
    void copyAndCrop();
    void drawing();
    void openGlOnlyWhereItPays();
};

void TestView::pickIsTheDrawnPixel_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<int>("block"); // image pixels per colour, along each side

    const QPoint offsets[] = {{0, 0}, {7, -5}, {-23, 31}};
    for (const double zoom : {1.0, 1.728, 6.1917364224, 0.5}) {
        for (const QPoint &offset : offsets) {
            // Zoomed out, a smoothed picture shows exact colours only where
            // neighbouring pixels agree.
            QTest::addRow("zoom %g scroll %d,%d", zoom, offset.x(), offset.y())
                << zoom << offset << (zoom < 1 ? 2 : 1);
        }
    }
}

void TestView::pickIsTheDrawnPixel()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(int, block);

    // Every colour different: red is the column, green the row.
    QImage pixels(240, 180, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, qRgb(x / block * block, y / block * block, 99));
    }
    ViewFixture f(QSize(401, 301));
    f.show(pixels);
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

    QSignalSpy hover(f.view, &View::hoverColorChanged);
    int exact = 0;
    for (const QPoint &device : std::as_const(probes)) {
        // Where a pointer on that device pixel puts the mouse: its corner.
        f.hover(QPointF(device) / ratio);
        const QColor reported = hover.last().at(0).value<QColor>();
        const QPoint pixel = PixelMapping::pixelAt(hover.last().at(1).toPointF());
        const QRgb shown = drawn.pixel(device);
        // The checkerboard beside the image reports transparent black.
        const bool same = qBlue(shown) != 99 ? reported.alpha() == 0
                                             : reported.rgb() == shown &&
                                                   pixel.x() / block * block == qRed(shown) &&
                                                   pixel.y() / block * block == qGreen(shown);
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
    QSignalSpy hover(f.view, &View::hoverColorChanged);
    QSignalSpy click(f.view, &View::clickColorChanged);
    QWidget *viewport = f.view->viewport();
    // Without an image nothing moves and nothing is reported.
    f.hover(QPoint(100, 100));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, 100));
    f.wheel(QPoint(100, 100), 120);
    QVERIFY(hover.isEmpty() && click.isEmpty() && f.view->zoom() == 1.0);

    f.view->setZoom(3);
    f.show(TestImages::pattern(400, 300));
    QCOMPARE(f.view->zoom(), 1.0);
    QVERIFY(near(centre(f), QPointF(200, 150), 1.0));
    QCOMPARE(f.view->sceneRect(), QRectF(-400, -300, 1200, 900)); // edges reach the middle

    // The wheel zooms by 1.2 around the pointer, from 1/32 to 128.
    const QPoint cursor(300, 200);
    for (int i = 0; i < 18; ++i) {
        const QPointF before = f.view->mapToScene(cursor);
        f.wheel(cursor, 120);
        QVERIFY(near(before, f.view->mapToScene(cursor), 1.0 / f.view->zoom()));
    }
    QVERIFY(qAbs(f.view->zoom() - qPow(1.2, 18)) < 1e-9);
    for (int i = 0; i < 10; ++i)
        f.wheel(cursor, 120);
    QCOMPARE(f.view->zoom(), 128.0);
    for (int i = 0; i < 60; ++i)
        f.wheel(cursor, -120);
    QCOMPARE(f.view->zoom(), 1.0 / 32);
    f.view->setZoom(1.0);
    for (int i = 0; i < 4; ++i) // a fine wheel adds up to one step a notch
        f.wheel(cursor, 30);
    QVERIFY(qAbs(f.view->zoom() - 1.2) < 1e-9);

    // The middle button zooms by e per 100 pixels up, around the press.
    f.view->setZoom(2.0);
    const QPoint press(350, 250);
    f.hover(press);
    const QPointF anchor = f.view->mapToScene(press);
    QTest::mousePress(viewport, Qt::MiddleButton, {}, press);
    QTest::mouseMove(viewport, press - QPoint(0, 100));
    QVERIFY(qAbs(f.view->zoom() - 2.0 * M_E) < 1e-6);
    QVERIFY(near(QPointF(f.view->mapFromScene(anchor)), QPointF(press), 1.0));
    QTest::mouseMove(viewport, press);
    QVERIFY(qAbs(f.view->zoom() - 2.0) < 1e-9);
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, press);

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
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at + QPoint(30, -20));
    QVERIFY(!f.view->isPanning());
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(click.size(), 2);
    for (const QList<QVariant> &reported : std::as_const(click)) {
        // The same pixel stayed under the pointer.
        const QPoint pixel = PixelMapping::pixelAt(reported.at(1).toPointF());
        QCOMPARE(pixel, PixelMapping::pixelAt(grabbed));
        QCOMPARE(reported.at(0).value<QColor>().rgba(), f.image.image.pixel(pixel));
    }
}

void TestView::fitting_data()
{
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QRect>("selection"); // empty: zoom to fit
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPointF>("centre");

    // The target area of an 800 x 600 viewport is 730 x 545.
    QTest::newRow("wide image") << QSize(1000, 500) << QRect() << 0.73 << QPointF(500, 250);
    QTest::newRow("small image grows") << QSize(73, 50) << QRect() << 10.0 << QPointF(36.5, 25);
    QTest::newRow("selection, 10 view pixels lower")
        << QSize(1000, 1000) << QRect(100, 200, 146, 109) << 5.0 << QPointF(173, 252.5);
    QTest::newRow("empty selection fits the image")
        << QSize(1000, 500) << QRect(10, 10, 0, 40) << 0.73 << QPointF(500, 250);
    QTest::newRow("no image changes nothing") << QSize() << QRect() << 2.5 << QPointF(-1, -1);
}

void TestView::fitting()
{
    QFETCH(QSize, imageSize);
    QFETCH(QRect, selection);
    QFETCH(double, zoom);
    QFETCH(QPointF, centre);

    ViewFixture f(QSize(800, 600));
    f.view->setZoom(2.5);
    if (imageSize.isValid())
        f.show(solid(imageSize.width(), imageSize.height(), Qt::blue));
    if (!selection.isNull()) {
        f.view->selectionItem()->setFromPoints(selection.topLeft(),
                                               QPointF(selection.topLeft()) +
                                                   QPointF(selection.width(), selection.height()));
    }
    const QPointF before = ::centre(f);
    selection.isNull() ? f.view->zoomToFit() : f.view->zoomToSel();
    QVERIFY2(qAbs(f.view->zoom() - zoom) < 1e-9, qPrintable(QString::number(f.view->zoom())));
    QVERIFY(near(::centre(f), imageSize.isValid() ? centre : before, 2.0 / zoom));
}

void TestView::copyAndCrop()
{
    ViewFixture f;
    const QImage pixels = TestImages::pattern(100, 100, true);
    f.show(pixels);
    f.view->copy(); // no selection: the whole image
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32), pixels);
    // Crop keeps the zoom, centres the new picture and clears the selection.
    f.view->selectionItem()->setFromPoints(QPointF(5, 5), QPointF(15, 25));
    f.view->setZoom(3.0);
    f.view->contextActionHandler(6);
    QCOMPARE(f.image.image.convertToFormat(QImage::Format_ARGB32), pixels.copy(5, 5, 10, 20));
    QVERIFY(!f.view->hasSelection() && f.view->zoom() == 3.0);
    QVERIFY(near(centre(f), QPointF(5, 10), 2.0 / 3));
    f.view->crop(); // no selection: nothing
    QCOMPARE(f.image.image.size(), QSize(10, 20));
}

void TestView::drawing()
{
    ViewFixture f;
    QCOMPARE(f.view->viewport()->grab().toImage().pixel(2, 2), qRgb(255, 255, 255));

    // Panned, the picture moves on screen with it.
    f.show(TestImages::pattern(2000, 2000));
    const QImage unmoved = f.view->viewport()->grab().toImage();
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + 3);
    QCOMPARE(f.view->viewport()->grab().toImage().copy(0, 0, 100, 100),
             unmoved.copy(3, 0, 100, 100));

    // A transparent picture shows the checkerboard of 7-pixel squares, fixed
    // to the window.
    f.show(solid(2000, 2000, Qt::transparent));
    const QImage before = f.view->viewport()->grab().toImage();
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + 3);
    QCOMPARE(f.view->viewport()->grab().toImage(), before);
    QCOMPARE(before.pixel(6, 6), qRgb(195, 195, 195));
    QCOMPARE(before.pixel(7, 0), qRgb(255, 255, 255));
    QCOMPARE(before.pixel(7, 7), qRgb(195, 195, 195));

    // A grey outline one screen pixel wide shows only where the border is
    // transparent.
    QImage bordered = solid(20, 20, QColor(0, 128, 0));
    for (int i = 0; i < 20; ++i)
        bordered.setPixel(0, i, 0);
    f.show(bordered);
    for (const double zoom : {1.0, 4.0}) {
        f.view->setZoom(zoom);
        const QImage frame = f.view->viewport()->grab().toImage();
        const QPoint left = f.viewportPosOf(QPointF(0, 10));
        const QPoint right = f.viewportPosOf(QPointF(20, 10)) - QPoint(1, 0);
        QCOMPARE(frame.pixel(left), qRgb(170, 170, 170));
        QVERIFY(frame.pixel(left + QPoint(1, 0)) != qRgb(170, 170, 170));
        QCOMPARE(frame.pixel(right), qRgb(0, 128, 0));
    }

    // Far out, black and white columns average to grey, drawn whole or in
    // tiles alike.
    QImage stripes(1024, 1024, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        stripes.setPixel(x, 0, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    for (int y = 1; y < stripes.height(); ++y)
        memcpy(stripes.scanLine(y), stripes.constScanLine(0), stripes.bytesPerLine());
    f.show(stripes);
    for (const double zoom : {1.0 / 8, 1.0 / 32, 0.3}) {
        f.view->setZoom(zoom);
        const QImage frame = f.view->viewport()->grab().toImage();
        for (int dx = -3; dx <= 3; ++dx) {
            const int grey =
                qGray(frame.pixel(f.view->viewport()->rect().center() + QPoint(dx, 0)));
            QVERIFY2(grey > 90 && grey < 165, qPrintable(QString::number(grey)));
        }
    }
    f.show(TestImages::pattern(90, 70, true));
    for (const double zoom : {1.0, 3.0, 0.5}) {
        f.view->setZoom(zoom);
        f.view->pixmapItem()->setTileSize(0);
        const QImage whole = f.view->viewport()->grab().toImage();
        f.view->pixmapItem()->setTileSize(16);
        QVERIFY(f.view->viewport()->grab().toImage() == whole);
    }
}

void TestView::openGlOnlyWhereItPays()
{
    for (const char *software :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Google SwiftShader", "GDI Generic", ""})
        QVERIFY(GlCapabilities::isSoftwareRenderer(QLatin1String(software)));
    for (const char *hardware :
         {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce RTX 3060/PCIe/SSE2"})
        QVERIFY(!GlCapabilities::isSoftwareRenderer(QLatin1String(hardware)));

    // The offscreen platform cannot paint into an OpenGL widget at all.
    ViewFixture f;
    f.show(TestImages::pattern(50, 50));
    QWidget *raster = f.view->viewport();
    QTRY_VERIFY(f.view->isGlViewportCreated()); // 200 ms after an image
    QCOMPARE(f.view->viewport(), raster);
    QCOMPARE(f.view->pixmapItem()->tileSize(), 0);
}

LUMENO_TEST_MAIN(TestView)

#include "tst_view.moc"

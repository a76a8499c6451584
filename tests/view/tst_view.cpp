#include "selection/selectionitem.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"
#include "view/glcapabilities.h"
#include "view/pixelmapping.h"
#include "view/pixmapitem.h"

#include <QClipboard>
#include <QOpenGLWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

namespace {

QImage solid(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
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
    void showingCentresAtZoomOne();
    void sceneRectLetsEveryEdgeReachTheMiddle();
    void wheelZoomIsClampedAndKeepsThePointUnderTheCursor();
    void middleDragZoomsAndReturns();
    void leftDragPansExactlyWithTheClosedHand();
    void fitting_data();
    void fitting();
    void fittingNothingChangesNothing();
    void pickIsTheDrawnPixel_data();
    void pickIsTheDrawnPixel();
    void sampling();
    void noImageNoColours();
    void copyAndCrop();
    void cropOfTheWholeImageKeepsThePixels();
    void contextActions();
    void checkerboardIsFixedToTheWindow();
    void outlineOnlyWhereTheBorderIsTransparent();
    void sharpSquaresWhenZoomedIn();
    void smoothWhenZoomedFarOut();
    void tiledDrawingMatchesWholeDrawing();
    void openGlOnlyWhereItPays_data();
    void openGlOnlyWhereItPays();
    void rasterViewportStaysWithoutHardware();
};

void TestView::showingCentresAtZoomOne()
{
    ViewFixture f;
    f.view->setZoom(3);
    f.show(solid(100, 80, Qt::red));
    QCOMPARE(f.view->zoom(), 1.0);
    const QPointF centre = f.view->mapToScene(f.view->viewport()->rect().center());
    QVERIFY2(near(centre, QPointF(50, 40), 1.0),
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

void TestView::sceneRectLetsEveryEdgeReachTheMiddle()
{
    ViewFixture f(QSize(800, 600));
    f.show(solid(100, 100, Qt::red));
    QCOMPARE(f.view->sceneRect(), QRectF(-400, -300, 900, 700));
    QCOMPARE(f.view->selectionItem()->boundingRect(), f.view->sceneRect());
    f.view->setZoom(2);
    QCOMPARE(f.view->sceneRect(), QRectF(-200, -150, 500, 400));
}

void TestView::wheelZoomIsClampedAndKeepsThePointUnderTheCursor()
{
    ViewFixture f;
    f.show(TestImages::pattern(400, 300));
    const QPoint cursor(300, 200);
    for (int i = 0; i < 18; ++i) {
        const QPointF before = f.view->mapToScene(cursor);
        f.wheel(cursor, 120);
        const QPointF after = f.view->mapToScene(cursor);
        // Within one view pixel.
        QVERIFY2(near(before, after, 1.0 / f.view->zoom()),
                 qPrintable(QStringLiteral("step %1").arg(i)));
    }
    QVERIFY(qAbs(f.view->zoom() - qPow(1.2, 18)) < 1e-9);
    for (int i = 0; i < 10; ++i)
        f.wheel(cursor, 120);
    QCOMPARE(f.view->zoom(), 128.0);
    for (int i = 0; i < 60; ++i)
        f.wheel(cursor, -120);
    QCOMPARE(f.view->zoom(), 1.0 / 32);

    // A fine-grained wheel adds up to one step per notch.
    f.view->setZoom(1.0);
    for (int i = 0; i < 4; ++i)
        f.wheel(cursor, 30);
    QVERIFY(qAbs(f.view->zoom() - 1.2) < 1e-9);
}

void TestView::middleDragZoomsAndReturns()
{
    ViewFixture f;
    f.show(TestImages::pattern(400, 300));
    f.view->setZoom(2.0);
    QWidget *viewport = f.view->viewport();
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
    QVERIFY(!f.view->isZoomDragging());
}

void TestView::leftDragPansExactlyWithTheClosedHand()
{
    ViewFixture f;
    f.show(TestImages::pattern(2000, 2000));
    QWidget *viewport = f.view->viewport();
    const QPoint press(400, 300);
    f.hover(press);
    const QPointF grabbed = f.view->mapToScene(press);

    QTest::mousePress(viewport, Qt::LeftButton, {}, press);
    QVERIFY(f.view->isPanning());
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(viewport, press + QPoint(30, -20));
    QCOMPARE(f.view->mapToScene(press + QPoint(30, -20)), grabbed);
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ClosedHandCursor);

    // Any button's release ends the pan.
    QTest::mouseRelease(viewport, Qt::RightButton, {}, press + QPoint(30, -20));
    QVERIFY(!f.view->isPanning());
    QCOMPARE(f.view->selectionItem()->cursor().shape(), Qt::ArrowCursor);
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
    QTest::newRow("selection") << QSize(1000, 1000) << QRect(100, 200, 146, 109) << 5.0
                               << QPointF(173, 254.5 - 2.0); // 10 view pixels lower
    QTest::newRow("zoom to empty selection fits")
        << QSize(1000, 500) << QRect(10, 10, 0, 40) << 0.73 << QPointF(500, 250);
}

void TestView::fitting()
{
    QFETCH(QSize, imageSize);
    QFETCH(QRect, selection);
    QFETCH(double, zoom);
    QFETCH(QPointF, centre);

    ViewFixture f(QSize(800, 600));
    f.show(solid(imageSize.width(), imageSize.height(), Qt::blue));
    if (selection.isNull()) {
        f.view->zoomToFit();
    } else {
        f.view->selectionItem()->setFromPoints(selection.topLeft(),
                                               selection.topLeft() +
                                                   QPoint(selection.width(), selection.height()));
        f.view->zoomToSel();
    }
    QVERIFY2(qAbs(f.view->zoom() - zoom) < 1e-9, qPrintable(QString::number(f.view->zoom())));
    const QPointF shown = f.view->mapToScene(f.view->viewport()->rect().center());
    QVERIFY2(near(shown, centre, 2.0 / zoom),
             qPrintable(QStringLiteral("%1,%2").arg(shown.x()).arg(shown.y())));
}

void TestView::fittingNothingChangesNothing()
{
    ViewFixture f;
    f.view->setZoom(2.5);
    const int h = f.view->horizontalScrollBar()->value();
    f.view->zoomToFit(); // no image: what a double click on the empty view does
    f.view->zoomToSel();
    f.view->fitRect(QRectF(10, 10, 0, 0), true);
    QCOMPARE(f.view->zoom(), 2.5);
    QCOMPARE(f.view->horizontalScrollBar()->value(), h);
}

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
            const int block = zoom < 1 ? 2 : 1;
            QTest::addRow("zoom %g scroll %d,%d", zoom, offset.x(), offset.y())
                << zoom << offset << block;
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
        const bool checker = qBlue(shown) != 99;
        const bool same = checker ? reported.alpha() == 0
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

void TestView::sampling()
{
    ViewFixture f;
    QImage pixels = solid(10, 10, QColor(255, 0, 0));
    pixels.setPixel(0, 3, qRgba(0, 0, 255, 128));
    f.show(pixels);
    f.view->setZoom(5);
    QWidget *viewport = f.view->viewport();
    QSignalSpy hover(f.view, &View::hoverColorChanged);
    QSignalSpy click(f.view, &View::clickColorChanged);

    f.hover(f.viewportPosOf(QPointF(3.5, 4.5)));
    QVERIFY(!hover.isEmpty());
    QCOMPARE(hover.last().at(0).value<QColor>(), QColor(255, 0, 0, 255));
    QPointF point = hover.last().at(1).toPointF();
    QCOMPARE(int(point.x()), 3);
    QCOMPARE(int(point.y()), 4);

    // Just left of the image the checkerboard is drawn, and reported.
    f.hover(f.viewportPosOf(QPointF(-0.6, 3.5)));
    point = hover.last().at(1).toPointF();
    QVERIFY(point.x() < 0 && point.x() > -1);
    QCOMPARE(hover.last().at(0).value<QColor>(), QColor(0, 0, 0, 0));

    // Further out the colour is transparent black, with the real point.
    f.hover(f.viewportPosOf(QPointF(-3.5, 20.5)));
    QCOMPARE(hover.last().at(0).value<QColor>(), QColor(0, 0, 0, 0));
    QVERIFY(hover.last().at(1).toPointF().x() < -3);

    // Press and release report the clicked colour; a left press also pans.
    f.hover(f.viewportPosOf(QPointF(2.5, 2.5)));
    QTest::mousePress(viewport, Qt::LeftButton, {}, f.viewportPosOf(QPointF(2.5, 2.5)));
    QCOMPARE(click.size(), 1);
    QCOMPARE(click.last().at(0).value<QColor>(), QColor(255, 0, 0, 255));
    QTest::mouseMove(viewport, f.viewportPosOf(QPointF(2.5, 2.5)) + QPoint(20, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, {},
                        f.viewportPosOf(QPointF(2.5, 2.5)) + QPoint(20, 0));
    QCOMPARE(click.size(), 2);
    // The picture followed the mouse, so the same pixel is under it.
    QCOMPARE(int(click.last().at(1).toPointF().x()), 2);
}

void TestView::noImageNoColours()
{
    ViewFixture f;
    QSignalSpy hover(f.view, &View::hoverColorChanged);
    QSignalSpy click(f.view, &View::clickColorChanged);
    QWidget *viewport = f.view->viewport();
    f.hover(QPoint(100, 100));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(120, 100));
    f.wheel(QPoint(100, 100), 120);
    QCOMPARE(hover.size(), 0);
    QCOMPARE(click.size(), 0);
    QCOMPARE(f.view->zoom(), 1.0);
    QVERIFY(!f.view->isPanning());
}

void TestView::copyAndCrop()
{
    ViewFixture f;
    const QImage pixels = TestImages::pattern(100, 100, true);
    f.show(pixels);
    SelectionItem *selection = f.view->selectionItem();

    f.view->copy();
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32), pixels);

    selection->setFromPoints(QPointF(5, 5), QPointF(15, 25));
    f.view->copy();
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32),
             pixels.copy(5, 5, 10, 20));
    QCOMPARE(selection->rect(), QRectF(5, 5, 10, 20)); // copying changes nothing

    f.view->setZoom(3.0);
    QSignalSpy changed(f.view, &View::selectionChanged);
    f.view->crop();
    QCOMPARE(f.image.image.convertToFormat(QImage::Format_ARGB32), pixels.copy(5, 5, 10, 20));
    QVERIFY(f.image.modified);
    QCOMPARE(f.view->zoom(), 3.0);
    QVERIFY(!f.view->hasSelection());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(f.view->pixmapItem()->pixmap().size(), QSize(10, 20));
    const QPointF centre = f.view->mapToScene(f.view->viewport()->rect().center());
    QVERIFY2(near(centre, QPointF(5, 10), 2.0 / 3),
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));

    // Without a selection crop does nothing.
    f.view->crop();
    QCOMPARE(f.image.image.size(), QSize(10, 20));
}

void TestView::cropOfTheWholeImageKeepsThePixels()
{
    ViewFixture f;
    const QImage pixels = TestImages::pattern(30, 20);
    f.show(pixels);
    f.view->selectAll();
    QVERIFY(f.view->hasSelection());
    f.view->crop();
    QCOMPARE(f.image.image, pixels);
    QVERIFY(!f.image.modified);
    QVERIFY(!f.view->hasSelection());
}

void TestView::contextActions()
{
    ViewFixture f;
    f.show(TestImages::pattern(30, 20));
    f.view->contextActionHandler(7);
    f.view->contextActionHandler(-1);
    QVERIFY(!f.view->hasSelection());
    f.view->contextActionHandler(4);
    QCOMPARE(f.view->selectionItem()->rect(), QRectF(0, 0, 30, 20));
    f.view->contextActionHandler(5);
    QVERIFY(!f.view->hasSelection());
    f.view->contextActionHandler(2);
    f.view->contextActionHandler(3);
    QCOMPARE(f.image.image.size(), QSize(30, 20));
}

void TestView::checkerboardIsFixedToTheWindow()
{
    ViewFixture f;
    f.show(solid(2000, 2000, QColor(0, 0, 0, 0)));
    const QImage before = f.view->viewport()->grab().toImage();
    f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->value() + 3);
    f.view->verticalScrollBar()->setValue(f.view->verticalScrollBar()->value() + 5);
    const QImage after = f.view->viewport()->grab().toImage();
    // The transparent picture shows the background, which did not move.
    QCOMPARE(after.pixel(100, 100), before.pixel(100, 100));
    QCOMPARE(after.pixel(106, 100), before.pixel(106, 100));
    // Squares of 7 window pixels.
    QCOMPARE(before.pixel(0, 0), qRgb(195, 195, 195));
    QCOMPARE(before.pixel(6, 6), qRgb(195, 195, 195));
    QCOMPARE(before.pixel(7, 0), qRgb(255, 255, 255));
    QCOMPARE(before.pixel(7, 7), qRgb(195, 195, 195));

    // Without an image the view is white.
    ViewFixture empty;
    QImage blank = empty.view->viewport()->grab().toImage();
    QCOMPARE(blank.pixel(2, 2), qRgb(255, 255, 255));
}

void TestView::outlineOnlyWhereTheBorderIsTransparent()
{
    const QRgb grey = qRgb(170, 170, 170);
    for (double zoom : {1.0, 4.0}) {
        ViewFixture f;
        QImage pixels = solid(20, 20, QColor(0, 128, 0));
        for (int i = 0; i < 20; ++i)
            pixels.setPixel(0, i, qRgba(0, 0, 0, 0)); // transparent left column
        f.show(pixels);
        f.view->setZoom(zoom);
        const QImage frame = f.view->viewport()->grab().toImage();
        const QPoint topLeft = f.viewportPosOf(QPointF(0, 0));
        const QPoint bottomRight = f.viewportPosOf(QPointF(20, 20)) - QPoint(1, 1);
        const int midY = (topLeft.y() + bottomRight.y()) / 2;
        // The left border is transparent: the grey line shows there, one view
        // pixel wide.
        QCOMPARE(frame.pixel(topLeft.x(), midY), grey);
        QVERIFY(frame.pixel(topLeft.x() + 1, midY) != grey);
        // Elsewhere the opaque pixels cover it.
        QCOMPARE(frame.pixel(bottomRight.x(), midY), qRgb(0, 128, 0));
        QCOMPARE(frame.pixel((topLeft.x() + bottomRight.x()) / 2, bottomRight.y()),
                 qRgb(0, 128, 0));
    }
}

void TestView::sharpSquaresWhenZoomedIn()
{
    ViewFixture f;
    QImage pixels(2, 2, QImage::Format_RGB32);
    pixels.setPixel(0, 0, qRgb(255, 0, 0));
    pixels.setPixel(1, 0, qRgb(0, 255, 0));
    pixels.setPixel(0, 1, qRgb(0, 0, 255));
    pixels.setPixel(1, 1, qRgb(255, 255, 0));
    f.show(pixels);
    f.view->setZoom(16);
    const QImage frame = f.view->viewport()->grab().toImage();
    const QPoint origin = f.viewportPosOf(QPointF(0, 0));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            QCOMPARE(frame.pixel(origin + QPoint(x, y)), pixels.pixel(x / 16, y / 16));
        }
    }
}

void TestView::smoothWhenZoomedFarOut()
{
    // Alternating black and white columns average to grey when zoomed out;
    // sampling single pixels would show black or white stripes instead.
    QImage stripes(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(stripes.scanLine(y));
        for (int x = 0; x < stripes.width(); ++x)
            line[x] = (x % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    ViewFixture f;
    f.show(stripes);
    for (double zoom : {1.0 / 8, 1.0 / 32, 0.3}) {
        f.view->setZoom(zoom);
        const QImage frame = f.view->viewport()->grab().toImage();
        const QPoint centre = f.view->viewport()->rect().center();
        for (int dx = -3; dx <= 3; ++dx) {
            const int grey = qGray(frame.pixel(centre + QPoint(dx, 0)));
            QVERIFY2(grey > 90 && grey < 165,
                     qPrintable(QStringLiteral("zoom %1: %2").arg(zoom).arg(grey)));
        }
    }
}

void TestView::tiledDrawingMatchesWholeDrawing()
{
    for (double zoom : {1.0, 3.0, 0.5}) {
        ViewFixture f;
        f.show(TestImages::pattern(90, 70, true));
        f.view->setZoom(zoom);
        const QImage whole = f.view->viewport()->grab().toImage();
        f.view->pixmapItem()->setTileSize(16);
        const QImage tiled = f.view->viewport()->grab().toImage();
        QVERIFY2(whole == tiled, qPrintable(QStringLiteral("zoom %1").arg(zoom)));
    }
}

void TestView::openGlOnlyWhereItPays_data()
{
    QTest::addColumn<QString>("renderer");
    QTest::addColumn<bool>("software");
    QTest::newRow("mesa llvmpipe") << "llvmpipe (LLVM 15.0.6, 256 bits)" << true;
    QTest::newRow("mesa softpipe") << "softpipe" << true;
    QTest::newRow("swiftshader") << "Google SwiftShader" << true;
    QTest::newRow("windows gdi") << "GDI Generic" << true;
    QTest::newRow("unknown") << "" << true;
    QTest::newRow("intel") << "Mesa Intel(R) UHD Graphics 620 (KBL GT2)" << false;
    QTest::newRow("amd") << "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)" << false;
    QTest::newRow("nvidia") << "NVIDIA GeForce RTX 3060/PCIe/SSE2" << false;
}

void TestView::openGlOnlyWhereItPays()
{
    QFETCH(QString, renderer);
    QFETCH(bool, software);
    QCOMPARE(GlCapabilities::isSoftwareRenderer(renderer), software);
    GlCapabilities capabilities;
    capabilities.contextCreated = true;
    capabilities.renderer = renderer;
    QCOMPARE(capabilities.worthUsing(), !software);
}

void TestView::rasterViewportStaysWithoutHardware()
{
    // The offscreen platform cannot paint into an OpenGL widget at all.
    QVERIFY(!GlCapabilities::probe().worthUsing());
    ViewFixture f;
    f.show(TestImages::pattern(50, 50));
    QWidget *raster = f.view->viewport();
    QTRY_VERIFY(f.view->isGlViewportCreated()); // the 200 ms timer after an image
    QCOMPARE(f.view->viewport(), raster);
    QVERIFY(!qobject_cast<QOpenGLWidget *>(f.view->viewport()));
    QCOMPARE(f.view->pixmapItem()->tileSize(), 0);
    f.view->ensureGlWidget();
    QCOMPARE(f.view->viewport(), raster);
}

LUMENO_TEST_MAIN(TestView)
#include "tst_view.moc"

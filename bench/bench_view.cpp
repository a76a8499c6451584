// Repainting the view: a full repaint of a 1280 x 900 viewport showing a
// 12000 x 9000 picture at several zooms, unchanged and while panning, against
// the same repaint of a 1600 x 1200 picture at zoom 1 in the same run; the
// pixel grid's share of a repaint while panning from zoom 8 up; and the
// memory a shown document takes against the 4 bytes a pixel needs. Reported,
// not asserted.

#include "bench/benchutil.h"
#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/artwork.h"
#include "document/image.h"
#include "view/view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>

namespace {

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 7) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255);
    }
    return image;
}

// Median time of a synchronous full repaint, in milliseconds.
double repaintTime(View *view, int frames)
{
    view->viewport()->repaint(); // warm-up: builds any cached copies
    QVector<double> times;
    for (int i = 0; i < frames; ++i) {
        QElapsedTimer timer;
        timer.start();
        view->viewport()->repaint();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return BenchUtil::median(times);
}

// Median time of a repaint after the picture moved by one pixel, as while
// panning: nothing drawn before can be reused. In milliseconds.
double panTime(View *view, int frames)
{
    QScrollBar *bar = view->horizontalScrollBar();
    view->viewport()->repaint();
    QVector<double> times;
    for (int i = 0; i < frames; ++i) {
        bar->setValue(bar->value() + (i % 2 ? -1 : 1));
        QElapsedTimer timer;
        timer.start();
        view->viewport()->repaint();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return BenchUtil::median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    QApplication app(argc, argv);
    const int frames = BenchUtil::countArgument(argc, argv, 20);

    Artwork artwork(app.devicePixelRatio());
    Document document;
    Selection selection(&document);
    PickModel pick(&document);
    View view(&document, &selection, &pick, artwork);
    BenchUtil::showAtSize(&view, QSize(1280, 900));

    // The baseline is measured before and after the large picture; the
    // faster of the two counts, so that a machine still warming up does not
    // flatter the ratios.
    const QImage small = picture(1600, 1200);
    document.open(QStringLiteral("small.png"), small);
    const double baselineBefore = repaintTime(&view, frames);

    const qint64 before = BenchUtil::residentBytes();
    document.open(QStringLiteral("large.png"), picture(12000, 9000));
    const double megapixels = 108.0;
    const double heldShown = (BenchUtil::residentBytes() - before) / (megapixels * 1e6);

    const double zooms[] = {1.0 / 32, 1.0 / 4, 1.0, 4.0, 64.0};
    double times[5], firstFrames[5], panning[5];
    for (int i = 0; i < 5; ++i) {
        view.setZoom(zooms[i]);
        QElapsedTimer first;
        first.start();
        view.viewport()->repaint();
        firstFrames[i] = first.nsecsElapsed() / 1e6;
        times[i] = repaintTime(&view, frames);
        panning[i] = panTime(&view, frames);
    }
    const double heldZoomedOut = (BenchUtil::residentBytes() - before) / (megapixels * 1e6);

    document.open(QStringLiteral("small.png"), small);
    const double baseline = qMin(baselineBefore, repaintTime(&view, frames));
    // With and without the grid in turns, the better of three each.
    const double gridZooms[] = {8.0, 16.0, 64.0};
    double withGrid[3], withoutGrid[3];
    for (int i = 0; i < 3; ++i) {
        view.setZoom(gridZooms[i]);
        withGrid[i] = withoutGrid[i] = 1e9;
        for (int turn = 0; turn < 3; ++turn) {
            view.setPixelGridVisible(true);
            withGrid[i] = qMin(withGrid[i], panTime(&view, frames));
            view.setPixelGridVisible(false);
            withoutGrid[i] = qMin(withoutGrid[i], panTime(&view, frames));
        }
    }
    std::printf("1600 x 1200 at zoom 1: %.2f ms a frame (baseline)\n", baseline);
    for (int i = 0; i < 5; ++i) {
        std::printf("12000 x 9000 at zoom %-8g %7.2f ms a frame, ratio %.2fx (goal <= 2x); "
                    "panning %.2f ms, ratio %.2fx; first frame %.1f ms\n",
                    zooms[i], times[i], times[i] / baseline, panning[i], panning[i] / baseline,
                    firstFrames[i]);
        const QString what = QStringLiteral("12000 x 9000 at zoom %1: ")
                                 .arg(zooms[i] < 1 ? QStringLiteral("1/%1").arg(1 / zooms[i])
                                                   : QString::number(zooms[i]));
        BenchUtil::report(what + QStringLiteral("repaint, against 1600 x 1200 at zoom 1"), times[i],
                          baseline, "ms", "<= 2.00");
        BenchUtil::report(what + QStringLiteral("panning repaint, against 1600 x 1200 at zoom 1"),
                          panning[i], baseline, "ms");
        BenchUtil::report(what + QStringLiteral("first frame, against 1600 x 1200 at zoom 1"),
                          firstFrames[i], baseline, "ms");
    }
    for (int i = 0; i < 3; ++i) {
        std::printf("1600 x 1200 panning at zoom %g: %.2f ms a frame with the pixel grid, %.2f ms "
                    "without, ratio %.2fx\n",
                    gridZooms[i], withGrid[i], withoutGrid[i], withGrid[i] / withoutGrid[i]);
        BenchUtil::report(QStringLiteral("1600 x 1200 panning at zoom %1: with the pixel grid, "
                                         "against without")
                              .arg(gridZooms[i]),
                          withGrid[i], withoutGrid[i], "ms");
    }
    std::printf("12000 x 9000 shown: %.2f bytes a pixel held (against 4); after zooming out "
                "%.2f (the halved copies included)\n",
                heldShown, heldZoomedOut);
    BenchUtil::report(QStringLiteral("12000 x 9000 shown: memory held a pixel, against 4 bytes"),
                      heldShown, 4, "B");
    BenchUtil::report(QStringLiteral("12000 x 9000 after zooming out: memory held a pixel, "
                                     "against 4 bytes"),
                      heldZoomedOut, 4, "B");
    return 0;
}

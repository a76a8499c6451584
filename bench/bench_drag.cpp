// One drag step of the selection, a mouse move that changes it through to
// the painted frame, against a plain repaint of the same 1280 x 900 view in
// the same run. Reported, not asserted.

#include "bench/benchutil.h"
#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/artwork.h"
#include "document/image.h"
#include "view/view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <cstdio>

namespace {

void send(QWidget *viewport, QEvent::Type type, const QPoint &pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(viewport->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    QApplication app(argc, argv);
    const int steps = BenchUtil::countArgument(argc, argv, 200);

    Artwork artwork(app.devicePixelRatio());
    Document document;
    Selection selection(&document);
    PickModel pick(&document);
    View view(&document, &selection, &pick, artwork);
    BenchUtil::showAtSize(&view, QSize(1280, 900));
    QImage pixels(4000, 3000, QImage::Format_RGB32);
    pixels.fill(QColor(90, 140, 200));
    document.open(QStringLiteral("bench.png"), pixels);
    QWidget *viewport = view.viewport();

    // The baseline repaints the same view in the same state, selection and
    // all; the two are measured in turns so that both see the same machine.
    const QPoint start(300, 200);
    send(viewport, QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    send(viewport, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    send(viewport, QEvent::MouseMove, start + QPoint(200, 150), Qt::NoButton, Qt::RightButton);
    QVector<double> plain;
    QVector<double> drag;
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        viewport->repaint();
        plain.append(timer.nsecsElapsed() / 1e6);

        // Every step moves the corner by whole pixels, so the selection,
        // its outlines, the dimmed area and the label all change.
        const QPoint to = start + QPoint(200 + (i % 50) * 3, 150 + (i % 40) * 2);
        timer.start();
        send(viewport, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
        viewport->repaint();
        drag.append(timer.nsecsElapsed() / 1e6);
    }
    send(viewport, QEvent::MouseButtonRelease, start, Qt::RightButton, Qt::NoButton);

    const double base = BenchUtil::median(plain);
    const double step = BenchUtil::median(drag);
    std::printf("plain repaint %.2f ms, drag step %.2f ms, ratio %.2fx (goal <= 1.5x)\n", base,
                step, step / base);
    BenchUtil::report(QStringLiteral("selection drag step, against a plain repaint"), step, base,
                      "ms", "<= 1.50");
    return 0;
}

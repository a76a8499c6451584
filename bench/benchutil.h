#ifndef LUMENO_BENCHUTIL_H
#define LUMENO_BENCHUTIL_H

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <cstdio>

class QImage;
class QSize;
class QWidget;

// What the benchmarks share: set-up, medians, and process memory figures
// (Linux /proc).
namespace BenchUtil {

// Before the application object exists: run on the offscreen platform unless
// another one was asked for.
void useOffscreenPlatform();
// The first command-line argument as a count, or fallback.
int countArgument(int argc, char *argv[], int fallback);
// Shows widget at size and waits until it can paint.
void showAtSize(QWidget *widget, const QSize &size);
double median(QVector<double> values);

// A photo-like picture: smooth gradients, shapes and grain, so that the
// encoders and decoders work as hard as on a real photo. The same size gives
// the same pixels in every run.
QImage photo(int width, int height);

// Prints one result line of the shared protocol,
//   BENCH|<what>|<figure> <unit>|<baseline> <unit>|<ratio>|<goal>
// goal is a comparison and a number ("<= 1.10") or "-" for none.
void report(const QString &what, double figure, double baseline, const char *unit,
            const char *goal = "-");

qint64 residentBytes();
qint64 peakResidentBytes();
// Starts a new peak from the current resident size.
void resetPeakMemory();

} // namespace BenchUtil

#endif

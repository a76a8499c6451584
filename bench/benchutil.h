#ifndef LUMENO_BENCHUTIL_H
#define LUMENO_BENCHUTIL_H

#include <QVector>
#include <QtGlobal>

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
// encoders work as hard as on a real photo. The same for the same size.
QImage photo(int width, int height);

qint64 residentBytes();
qint64 peakResidentBytes();
// Starts a new peak from the current resident size.
void resetPeakMemory();

} // namespace BenchUtil

#endif

#ifndef LUMENO_BENCHUTIL_H
#define LUMENO_BENCHUTIL_H

#include <QtGlobal>

// Process memory figures for the benchmarks (Linux /proc).
namespace BenchUtil {

qint64 residentBytes();
qint64 peakResidentBytes();
// Starts a new peak from the current resident size.
void resetPeakMemory();

} // namespace BenchUtil

#endif

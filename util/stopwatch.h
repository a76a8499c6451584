#ifndef LUMENO_STOPWATCH_H
#define LUMENO_STOPWATCH_H

#include <QElapsedTimer>

// Accumulates wall-clock time in seconds over any number of start/stop
// periods, on the monotonic high-resolution clock. A profiling aid for
// development; nothing in the program's behaviour depends on it.
class Stopwatch
{
public:
    Stopwatch();

    // Begins a period and counts it; does nothing while a period is running,
    // so a second start() neither restarts the period nor counts.
    void start();
    // Ends the running period, adds it to the total and returns the total.
    // Without a running period it returns the total and changes nothing.
    double stop();
    // Seconds since the running period began; 0 while stopped.
    double elapsed() const;
    // Back to the freshly constructed state: no total, no starts, stopped.
    void reset();

    // Periods begun since construction or the last reset().
    int startCount() const { return m_startCount; }

private:
    // Seconds from an arbitrary origin; only differences are meaningful.
    double now() const;

    QElapsedTimer m_clock;
    bool m_running = false;
    double m_startTime = 0;
    double m_total = 0;
    int m_startCount = 0;
};

// Constructed during static initialisation, so it can time code that runs
// before the application object exists.
extern Stopwatch globalStopwatch;

// Resets globalStopwatch.
void resetStopwatch();

#endif

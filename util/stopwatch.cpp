#include "util/stopwatch.h"

Stopwatch globalStopwatch;

Stopwatch::Stopwatch()
{
    m_clock.start();
}

void Stopwatch::start()
{
    if (m_running)
        return;
    ++m_startCount;
    m_startTime = now();
    m_running = true;
}

double Stopwatch::stop()
{
    if (!m_running)
        return m_total;
    m_running = false;
    m_total += now() - m_startTime;
    return m_total;
}

double Stopwatch::elapsed() const
{
    return m_running ? now() - m_startTime : 0.0;
}

void Stopwatch::reset()
{
    m_startCount = 0;
    m_startTime = 0;
    m_total = 0;
    m_running = false;
}

double Stopwatch::now() const
{
    return double(m_clock.nsecsElapsed()) / 1e9;
}

void resetStopwatch()
{
    globalStopwatch.reset();
}

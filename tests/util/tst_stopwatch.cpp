#include "util/stopwatch.h"

#include "tests/support/testmain.h"

#include <QElapsedTimer>

namespace {

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// Busy-waits for at least ms milliseconds and returns the seconds actually
// waited, read from a clock started after the caller's last stopwatch call.
double spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
    }
    return seconds(timer);
}

// Both clocks have nanosecond ticks but go through doubles differently.
constexpr double slack = 1e-9;

} // namespace

class TestStopwatch : public QObject
{
    Q_OBJECT

private slots:
    void accumulatesPeriods();
    void resetStartsOver();
};

void TestStopwatch::accumulatesPeriods()
{
    Stopwatch watch;
    QCOMPARE(watch.stop(), 0.0);
    QCOMPARE(watch.elapsed(), 0.0);
    QCOMPARE(watch.startCount(), 0);

    watch.start();
    const double firstWait = spin(3);
    QVERIFY(watch.elapsed() >= firstWait - slack);
    watch.start(); // neither restarts nor counts
    const double first = watch.stop();
    QVERIFY2(first >= firstWait - slack, qPrintable(QString::number(first)));
    QCOMPARE(watch.elapsed(), 0.0);

    // Time between periods does not count, and stopping again changes nothing.
    spin(5);
    QCOMPARE(watch.stop(), first);

    QElapsedTimer bracket;
    bracket.start();
    watch.start();
    const double secondWait = spin(2);
    const double second = watch.stop();
    const double bracketed = seconds(bracket);
    QCOMPARE(watch.startCount(), 2);
    QVERIFY(second - first >= secondWait - slack);
    QVERIFY2(second - first <= bracketed + slack,
             qPrintable(QStringLiteral("%1 %2 %3").arg(first).arg(second).arg(bracketed)));
}

void TestStopwatch::resetStartsOver()
{
    // The global instance's clock runs from static initialisation on.
    globalStopwatch.start();
    spin(1);
    globalStopwatch.stop();
    globalStopwatch.start();

    resetStopwatch();
    QCOMPARE(globalStopwatch.startCount(), 0);
    QCOMPARE(globalStopwatch.elapsed(), 0.0);
    QCOMPARE(globalStopwatch.stop(), 0.0);

    globalStopwatch.start();
    const double waited = spin(1);
    QCOMPARE(globalStopwatch.startCount(), 1);
    QVERIFY(globalStopwatch.stop() >= waited - slack);
}

LUMENO_TEST_MAIN(TestStopwatch)

#include "tst_stopwatch.moc"

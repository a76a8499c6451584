#include "util/stopwatch.h"

#include "tests/support/testmain.h"

#include <QElapsedTimer>

namespace {

// Busy-waits for at least ms milliseconds and returns the seconds actually
// waited, read from a clock started after the caller's last stopwatch call.
double spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

// Both clocks have nanosecond ticks but go through doubles differently.
constexpr double slack = 1e-9;

} // namespace

class TestStopwatch : public QObject
{
    Q_OBJECT

private slots:
    void freshStopwatchIsStopped();
    void elapsedGrowsWhileRunning();
    void elapsedIsZeroWhenStopped();
    void secondStartDoesNotRestart();
    void stopWhenStoppedChangesNothing();
    void totalsAccumulate();
    void resetClearsEverything();
    void globalStopwatch();
};

void TestStopwatch::freshStopwatchIsStopped()
{
    Stopwatch watch;
    QCOMPARE(watch.startCount(), 0);
    QCOMPARE(watch.elapsed(), 0.0);
    QCOMPARE(watch.stop(), 0.0);
    QCOMPARE(watch.startCount(), 0);
}

void TestStopwatch::elapsedGrowsWhileRunning()
{
    Stopwatch watch;
    watch.start();
    const double waited = spin(2);
    const double first = watch.elapsed();
    QVERIFY(first >= waited - slack);
    spin(1);
    QVERIFY(watch.elapsed() > first);
}

void TestStopwatch::elapsedIsZeroWhenStopped()
{
    Stopwatch watch;
    watch.start();
    spin(2);
    QVERIFY(watch.stop() > 0);
    // Not the length of the last period.
    QCOMPARE(watch.elapsed(), 0.0);
}

void TestStopwatch::secondStartDoesNotRestart()
{
    Stopwatch watch;
    watch.start();
    const double waited = spin(3);
    watch.start();
    const double total = watch.stop();

    QCOMPARE(watch.startCount(), 1);
    // Measured from the first start; a restart would give almost nothing.
    QVERIFY2(total >= waited - slack, qPrintable(QString::number(total)));
}

void TestStopwatch::stopWhenStoppedChangesNothing()
{
    Stopwatch watch;
    watch.start();
    spin(2);
    const double total = watch.stop();
    QVERIFY(total > 0);

    spin(1);
    QCOMPARE(watch.stop(), total);
    QCOMPARE(watch.stop(), total);
    QCOMPARE(watch.startCount(), 1);
    QCOMPARE(watch.elapsed(), 0.0);
}

void TestStopwatch::totalsAccumulate()
{
    Stopwatch watch;
    watch.start();
    const double firstWait = spin(2);
    const double first = watch.stop();
    QVERIFY(first >= firstWait - slack);

    // Time between periods does not count: the second period lies within
    // what the bracketing clock saw.
    spin(5);

    QElapsedTimer bracket;
    bracket.start();
    watch.start();
    const double secondWait = spin(2);
    const double second = watch.stop();
    const double bracketed = double(bracket.nsecsElapsed()) / 1e9;

    QCOMPARE(watch.startCount(), 2);
    QVERIFY(second - first >= secondWait - slack);
    QVERIFY2(second - first <= bracketed + slack,
             qPrintable(QStringLiteral("%1 %2 %3").arg(first).arg(second).arg(bracketed)));
}

void TestStopwatch::resetClearsEverything()
{
    Stopwatch watch;
    watch.start();
    spin(1);
    watch.stop();
    watch.start();
    spin(1);

    watch.reset();
    QCOMPARE(watch.startCount(), 0);
    QCOMPARE(watch.elapsed(), 0.0);
    QCOMPARE(watch.stop(), 0.0);

    // Still usable afterwards, counting from zero again.
    watch.start();
    const double waited = spin(1);
    QCOMPARE(watch.startCount(), 1);
    QVERIFY(watch.stop() >= waited - slack);
}

void TestStopwatch::globalStopwatch()
{
    // The instance is ready before main() runs: its clock is already going.
    ::globalStopwatch.start();
    spin(1);
    QVERIFY(::globalStopwatch.elapsed() > 0);
    QVERIFY(::globalStopwatch.startCount() >= 1);

    resetStopwatch();
    QCOMPARE(::globalStopwatch.startCount(), 0);
    QCOMPARE(::globalStopwatch.elapsed(), 0.0);
    QCOMPARE(::globalStopwatch.stop(), 0.0);
}

LUMENO_TEST_MAIN(TestStopwatch)

#include "tst_stopwatch.moc"

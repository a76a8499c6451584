#include "bench/benchutil.h"

#include <QFile>
#include <QTest>
#include <QWidget>

#include <algorithm>

namespace {

qint64 statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

} // namespace

namespace BenchUtil {

void useOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int countArgument(int argc, char *argv[], int fallback)
{
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    return count > 0 ? count : fallback;
}

void showAtSize(QWidget *widget, const QSize &size)
{
    widget->resize(size);
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget))
        qWarning("the widget was not exposed");
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

qint64 residentBytes()
{
    return statusField("VmRSS");
}

qint64 peakResidentBytes()
{
    return statusField("VmHWM");
}

void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace BenchUtil

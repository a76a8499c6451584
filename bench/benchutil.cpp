#include "bench/benchutil.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
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

QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor(40, 90, 160));
    sky.setColorAt(0.5, QColor(230, 180, 120));
    sky.setColorAt(1, QColor(30, 60, 40));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(7);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 120 + random.bounded(120),
                                         100 + random.bounded(155), 160));
        painter.setPen(Qt::NoPen);
        const int size = 20 + random.bounded(width / 8);
        painter.drawEllipse(random.bounded(width), random.bounded(height), size, size);
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(17)) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return image;
}

void report(const QString &what, double figure, double baseline, const char *unit, const char *goal)
{
    // Figures below 10 keep two decimals, larger ones one: microseconds and
    // ratios near 1 need the precision, hundreds of milliseconds do not.
    const auto number = [](double value) {
        return QString::number(value, 'f', qAbs(value) < 10 ? 2 : 1);
    };
    std::printf("BENCH|%s|%s %s|%s %s|%.2f|%s\n", qPrintable(what), qPrintable(number(figure)),
                unit, qPrintable(number(baseline)), unit, baseline > 0 ? figure / baseline : 0.0,
                goal);
    std::fflush(stdout);
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

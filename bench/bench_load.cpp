// Opening a photo: time from Manager::setPath to showImage for 24-megapixel
// JPEG and PNG files, against QImageReader decoding the same file in the same
// run, and the memory a shown document takes per megapixel against the 4
// bytes a pixel needs. Reported, not asserted.

#include "bench/benchutil.h"
#include "document/manager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A photo-like picture: smooth gradients, shapes and grain, so that the
// encoders work as hard as on a real photo.
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

void benchFile(const QString &path, const char *label, int rounds)
{
    QVector<double> reader, shown;
    for (int round = 0; round < rounds; ++round) {
        {
            QElapsedTimer timer;
            timer.start();
            QImageReader imageReader(path);
            const QImage image = imageReader.read();
            reader.append(timer.nsecsElapsed() / 1e6);
            if (image.isNull())
                qFatal("the baseline reader failed: %s", qPrintable(imageReader.errorString()));
        }
        {
            Manager manager;
            QSignalSpy spy(manager.document(), &Document::shown);
            QElapsedTimer timer;
            timer.start();
            manager.setPath(path);
            if (!spy.wait(60000))
                qFatal("the document was not shown");
            shown.append(timer.nsecsElapsed() / 1e6);
        }
    }
    const double base = BenchUtil::median(reader);
    const double ours = BenchUtil::median(shown);
    std::printf("%-5s 24 MP: QImageReader %7.1f ms, setPath -> showImage %7.1f ms, ratio %.2fx "
                "(goal <= 1.10x)\n",
                label, base, ours, ours / base);
}

void benchMemory(const QString &path, const char *label)
{
    BenchUtil::resetPeakMemory();
    const qint64 before = BenchUtil::residentBytes();
    Manager manager;
    QSignalSpy spy(manager.document(), &Document::shown);
    manager.setPath(path);
    if (!spy.wait(60000))
        qFatal("the document was not shown");
    QCoreApplication::processEvents();
    const double megapixels =
        manager.document()->image()->width() * double(manager.document()->image()->height()) / 1e6;
    const double peak = (BenchUtil::peakResidentBytes() - before) / megapixels;
    const double held = (BenchUtil::residentBytes() - before) / megapixels;
    std::printf("%-5s memory per megapixel: %.2f MB peak, %.2f MB held, against %.2f MB for 4 "
                "bytes a pixel (%.2fx peak, %.2fx held)\n",
                label, peak / 1e6, held / 1e6, 4.0, peak / 4e6, held / 4e6);
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    QApplication app(argc, argv);
    const int rounds = BenchUtil::countArgument(argc, argv, 5);

    QTemporaryDir dir;
    std::printf("Making the 6000 x 4000 test files...\n");
    const QImage picture = photo(6000, 4000);
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    QImageWriter(jpeg).write(picture);
    QImageWriter(png).write(picture);

    benchFile(jpeg, "JPEG", rounds);
    benchFile(png, "PNG", rounds);
    benchMemory(jpeg, "JPEG");
    benchMemory(png, "PNG");
    return 0;
}

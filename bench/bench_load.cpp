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
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

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
            QSignalSpy spy(&manager, &Manager::showImage);
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
    QSignalSpy spy(&manager, &Manager::showImage);
    manager.setPath(path);
    if (!spy.wait(60000))
        qFatal("the document was not shown");
    QCoreApplication::processEvents();
    const double megapixels =
        manager.currentImage()->width() * double(manager.currentImage()->height()) / 1e6;
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
    const QImage picture = BenchUtil::photo(6000, 4000);
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

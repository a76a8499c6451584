// Opening a photo: time from Manager::setPath to showImage for 24-megapixel
// JPEG and PNG files, and from setPath to the end of the first frame of the
// real window's view that shows the picture (on the offscreen platform),
// both against QImageReader decoding the same file in the same run; and the
// memory a shown document adds per megapixel against the 4 bytes a pixel
// needs; and the first frame of the JPEG carrying a Display P3 profile (shown
// converted to sRGB) against the same file without it. Reported, not
// asserted.
//
//   bench_load [ROUNDS [FOLDER]]
//
// FOLDER holds photo-6000x4000-420.jpg and photo-6000x4000.png as
// bench_pictures writes them; without it the files are made in a temporary
// folder first (Qt's JPEG writer at its default quality).

#include "app/lumeno.h"
#include "app/startup.h"
#include "bench/benchutil.h"
#include "bench/eventwatch.h"
#include "document/manager.h"
#include "view/view.h"

#include <QApplication>
#include <QColorSpace>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

double readerTime(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QImageReader imageReader(path);
    const QImage image = imageReader.read();
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (image.isNull())
        qFatal("the baseline reader failed: %s", qPrintable(imageReader.errorString()));
    return milliseconds;
}

double shownTime(const QString &path)
{
    Manager manager;
    QSignalSpy spy(manager.document(), &Document::shown);
    QElapsedTimer timer;
    timer.start();
    manager.setPath(path);
    if (!spy.wait(60000))
        qFatal("the document was not shown");
    return timer.nsecsElapsed() / 1e6;
}

// From setPath on a new, shown window to the end of the first paint of its
// view with the picture in it: the end is taken by a call queued from the
// paint event, which runs once the paint and the flush to the window are
// done.
struct Frames
{
    double first = -1; // the first frame showing any of the picture (a preview)
    double whole = -1; // the first frame showing the whole picture
};

Frames firstFrameTimes(const QString &path)
{
    Lumeno window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the window was not exposed");
    QTest::qWait(50); // the window's own first frames
    View *view = window.view();
    QWidget *viewport = view->viewport();
    QElapsedTimer timer;
    Frames frames;
    bool waitingFirst = false, waitingWhole = false;
    const auto filter = [&](QObject *, QEvent *event) {
        if (event->type() != QEvent::Paint)
            return false;
        const auto mark = [&](double *at) {
            QMetaObject::invokeMethod(
                viewport, [&timer, at] { *at = timer.nsecsElapsed() / 1e6; }, Qt::QueuedConnection);
        };
        if ((view->hasImage() || view->isPreviewing()) && !waitingFirst) {
            waitingFirst = true;
            mark(&frames.first);
        }
        if (view->hasImage() && !waitingWhole) {
            waitingWhole = true;
            mark(&frames.whole);
        }
        return false;
    };
    EventWatch watch(viewport, filter);
    timer.start();
    window.manager()->setPath(path);
    if (!QTest::qWaitFor([&] { return frames.whole >= 0 && frames.first >= 0; }, 60000))
        qFatal("the picture was not painted");
    return frames;
}

void benchFile(const QString &path, const char *label, int rounds)
{
    QVector<double> reader, shown, painted, whole;
    for (int round = 0; round < rounds; ++round) {
        reader.append(readerTime(path));
        shown.append(shownTime(path));
        const Frames frames = firstFrameTimes(path);
        painted.append(frames.first);
        whole.append(frames.whole);
    }
    const double base = BenchUtil::median(reader);
    const double ours = BenchUtil::median(shown);
    const double frame = BenchUtil::median(painted);
    const double wholeFrame = BenchUtil::median(whole);
    std::printf("%-5s 24 MP: QImageReader %7.1f ms, setPath -> showImage %7.1f ms, ratio %.2fx; "
                "setPath -> first frame %7.1f ms, ratio %.2fx; whole picture %7.1f ms, ratio "
                "%.2fx\n",
                label, base, ours, ours / base, frame, frame / base, wholeFrame, wholeFrame / base);
    const QString name = QString::fromLatin1(label) + QStringLiteral(" 24 MP: setPath -> ");
    BenchUtil::report(name + QStringLiteral("showImage, against QImageReader"), ours, base, "ms");
    // With a preview (JPEG) the first frame comes before the whole decode.
    if (QByteArray(label) == "JPEG")
        BenchUtil::report(name + QStringLiteral("first frame (preview), against QImageReader"),
                          frame, base, "ms", "< 1.00");
    BenchUtil::report(name + QStringLiteral("frame of the whole picture, against QImageReader"),
                      wholeFrame, base, "ms", "<= 1.10");
}
// The JPEG at path with a Display P3 profile put in after its start marker,
// as cameras and phones write it: the same pixels, the same coding.
QString taggedCopy(const QString &path, const QString &target)
{
    QFile in(path);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        qFatal("cannot make the tagged JPEG");
    const QByteArray jpeg = in.readAll();
    const QByteArray payload =
        QByteArray("ICC_PROFILE\0\1\1", 14) + QColorSpace(QColorSpace::DisplayP3).iccProfile();
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xff\xe2");
    segment += char(length >> 8);
    segment += char(length & 0xff);
    out.write(jpeg.left(2) + segment + payload + jpeg.mid(2));
    return target;
}

void benchTagged(const QString &path, const QString &tagged, int rounds)
{
    QVector<double> plain, converted, plainWhole, convertedWhole;
    for (int round = 0; round < rounds; ++round) {
        const Frames untaggedFrames = firstFrameTimes(path);
        const Frames taggedFrames = firstFrameTimes(tagged);
        plain.append(untaggedFrames.first);
        plainWhole.append(untaggedFrames.whole);
        converted.append(taggedFrames.first);
        convertedWhole.append(taggedFrames.whole);
    }
    const double base = BenchUtil::median(plain), ours = BenchUtil::median(converted);
    const double baseWhole = BenchUtil::median(plainWhole);
    const double oursWhole = BenchUtil::median(convertedWhole);
    std::printf("JPEG 24 MP Display P3: setPath -> first frame %7.1f ms, untagged %7.1f ms, "
                "ratio %.2fx (goal <= 1.10x); whole picture %7.1f ms, untagged %7.1f ms, ratio "
                "%.2fx\n",
                ours, base, ours / base, oursWhole, baseWhole, oursWhole / baseWhole);
    const QString name = QStringLiteral("JPEG 24 MP Display P3: setPath -> ");
    BenchUtil::report(name + QStringLiteral("first frame, against the file untagged"), ours, base,
                      "ms", "<= 1.10");
    BenchUtil::report(name + QStringLiteral("frame of the whole picture, against untagged"),
                      oursWhole, baseWhole, "ms");
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
    const QString name = QString::fromLatin1(label) + QStringLiteral(" 24 MP: memory a megapixel ");
    BenchUtil::report(name +
                          QStringLiteral("adds at its peak while opening, against 4 bytes a pixel"),
                      peak / 1e6, 4.0, "MB");
    BenchUtil::report(name + QStringLiteral("holds once shown, against 4 bytes a pixel"),
                      held / 1e6, 4.0, "MB");
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    // The window reads and writes its settings: keep the user's out of it.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    prepareApplication();
    const int rounds = BenchUtil::countArgument(argc, argv, 5);

    QTemporaryDir dir;
    QString jpeg, png;
    if (argc > 2) {
        const QDir folder(QString::fromLocal8Bit(argv[2]));
        jpeg = folder.filePath(QStringLiteral("photo-6000x4000-420.jpg"));
        png = folder.filePath(QStringLiteral("photo-6000x4000.png"));
    } else {
        std::printf("Making the 6000 x 4000 test files...\n");
        const QImage picture = BenchUtil::photo(6000, 4000);
        jpeg = dir.filePath(QStringLiteral("photo.jpg"));
        png = dir.filePath(QStringLiteral("photo.png"));
        QImageWriter(jpeg).write(picture);
        QImageWriter(png).write(picture);
    }

    benchFile(jpeg, "JPEG", rounds);
    benchFile(png, "PNG", rounds);
    benchTagged(jpeg, taggedCopy(jpeg, dir.filePath(QStringLiteral("p3.jpg"))), rounds);
    benchMemory(jpeg, "JPEG");
    benchMemory(png, "PNG");
    return 0;
}

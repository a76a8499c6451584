// Decoding 12-megapixel HEIC and AVIF photos through ImageDecoder, against
// libheif's own command-line decoder, heif-convert, on the same file in the
// same run. heif-convert writes Y4M, the raw planes as decoded: the cheapest
// output it has (no conversion to RGB, no encoding), so the baseline is the
// library's decoding and little else, process start included. Reported, not
// asserted.
//
//   bench_formats [ROUNDS]

#include "bench/benchutil.h"
#include "document/imagedecoder.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
}

void benchFile(const QString &path, const char *label, int rounds)
{
    const QString raw = path + QStringLiteral(".y4m");
    QVector<double> convert, decoder;
    // The first round of each reads the file into the page cache.
    for (int round = 0; round <= rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        run(QStringLiteral("heif-convert"), {QStringLiteral("--quiet"), path, raw});
        if (round > 0)
            convert.append(timer.nsecsElapsed() / 1e6);

        timer.restart();
        ImageDecoder imageDecoder(path);
        if (imageDecoder.decode() != ImageDecoder::Result::Decoded)
            qFatal("%s was not decoded", label);
        if (round > 0)
            decoder.append(timer.nsecsElapsed() / 1e6);
    }
    const double base = BenchUtil::median(convert);
    const double ours = BenchUtil::median(decoder);
    std::printf("%s: heif-convert %.1f ms, ImageDecoder %.1f ms\n", label, base, ours);
    BenchUtil::report(QStringLiteral("%1 12 MP: ImageDecoder::decode, against heif-convert to Y4M")
                          .arg(QLatin1String(label)),
                      ours, base, "ms", "<= 1.10");
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    ImageDecoder::installAllocationLimit();
    const int rounds = BenchUtil::countArgument(argc, argv, 5);

    QTemporaryDir dir;
    std::printf("Making the 4000 x 3000 test files...\n");
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    const QString heic = dir.filePath(QStringLiteral("photo.heic"));
    const QString avif = dir.filePath(QStringLiteral("photo.avif"));
    BenchUtil::photo(4000, 3000).save(png);
    // The quality a phone uses; AVIF at the encoder's faster speed, which
    // changes the coding little and the time to make the file a lot.
    run(QStringLiteral("heif-enc"), {"-q", "85", "-o", heic, png});
    run(QStringLiteral("heif-enc"), {"-q", "85", "-p", "speed=8", "-o", avif, png});

    benchFile(heic, "HEIC", rounds);
    benchFile(avif, "AVIF", rounds);
    return 0;
}

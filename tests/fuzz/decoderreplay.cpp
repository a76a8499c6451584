// decoder-replay FILE...
//
// Decodes each file, and six damaged copies of it, the way the program does,
// and checks that every byte of every decoded picture is defined. Under
// valgrind's memcheck an undefined byte (a pixel the reader never wrote, or
// wrote from uninitialised memory) is reported and makes the exit status 1;
// outside valgrind the check passes silently.
#include "document/imagedecoder.h"

#include <QGuiApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

#if __has_include(<valgrind/memcheck.h>)
#include <valgrind/memcheck.h>
#else
#define VALGRIND_CHECK_MEM_IS_DEFINED(address, length) 0
#endif

// The bytes of each row that hold pixels (not the padding after them).
static bool pixelsDefined(const QImage &image)
{
    const qsizetype used = (qsizetype(image.width()) * image.depth() + 7) / 8;
    for (int y = 0; y < image.height(); ++y) {
        if (VALGRIND_CHECK_MEM_IS_DEFINED(image.constScanLine(y), used) != 0)
            return false;
    }
    const QList<QRgb> table = image.colorTable();
    return VALGRIND_CHECK_MEM_IS_DEFINED(table.constData(), table.size() * sizeof(QRgb)) == 0;
}

int main(int argc, char *argv[])
{
    // The text of an SVG needs the fonts of a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ImageDecoder::installAllocationLimit();
    QRandomGenerator random(12); // the same damage on every run
    int decoded = 0;
    int undefined = 0;
    for (const QString &path : application.arguments().mid(1)) {
        QFile file(path);
        const QByteArray original = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        for (int copy = 0; copy <= 6; ++copy) {
            // Flips, cuts or repeats a few bytes, the way damage and crafted
            // files do; copy 0 is the file as it is.
            QByteArray data = original;
            for (int edit = copy ? 4 : 0; edit > 0 && !data.isEmpty(); --edit) {
                const int at = int(random.bounded(data.size()));
                if (const int kind = int(random.bounded(3)); kind == 0)
                    data[at] = char(data[at] ^ (1 << random.bounded(8)));
                else if (kind == 1)
                    data.truncate(at);
                else
                    data.insert(at, data.mid(at, int(random.bounded(64))));
            }
            ImageDecoder decoder(data);
            if (decoder.decode() != ImageDecoder::Result::Decoded)
                continue;
            ++decoded;
            if (!pixelsDefined(decoder.image())) {
                ++undefined;
                std::fprintf(stderr, "undefined pixels in %s (copy %d)\n", qPrintable(path), copy);
            }
        }
    }
    std::fprintf(stderr, "%d pictures decoded, %d with undefined pixels\n", decoded, undefined);
    return undefined == 0 ? 0 : 1;
}

// decoder-replay [--verdicts] [--mutations N] FILE...
//
// Decodes each file, and N mutated copies of it, the way the program does,
// then checks that every byte of every decoded picture is defined. Run under
// valgrind's memcheck, an undefined byte (a pixel the reader never wrote, or
// wrote from uninitialised memory) is reported and makes the exit status 1;
// outside valgrind the check passes silently. With --verdicts, prints each
// file's verdict as tests/corpus/verdicts records them.
#include "document/imagedecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>

#if __has_include(<valgrind/memcheck.h>)
#include <valgrind/memcheck.h>
#else
#define VALGRIND_CHECK_MEM_IS_DEFINED(address, length) 0
#endif

namespace {

QString verdict(ImageDecoder &decoder)
{
    switch (decoder.decode()) {
    case ImageDecoder::Result::Decoded:
        return QStringLiteral("decoded %1x%2")
            .arg(decoder.image().width())
            .arg(decoder.image().height());
    case ImageDecoder::Result::TooLarge:
        return QStringLiteral("too-large");
    case ImageDecoder::Result::Unreadable:
        return QStringLiteral("unreadable");
    case ImageDecoder::Result::NotAnImage:
        break;
    }
    return QStringLiteral("refused");
}

// The bytes of each row that hold pixels (not the padding after them).
bool pixelsDefined(const QImage &image)
{
    const qsizetype used = (qsizetype(image.width()) * image.depth() + 7) / 8;
    for (int y = 0; y < image.height(); ++y) {
        if (VALGRIND_CHECK_MEM_IS_DEFINED(image.constScanLine(y), used) != 0)
            return false;
    }
    const QList<QRgb> table = image.colorTable();
    return table.isEmpty() ||
           VALGRIND_CHECK_MEM_IS_DEFINED(table.constData(), table.size() * sizeof(QRgb)) == 0;
}

// Flips, overwrites, cuts or repeats a few bytes, the way damage and crafted
// files do.
QByteArray mutated(QByteArray data, QRandomGenerator &random)
{
    const int edits = 1 + int(random.bounded(4));
    for (int i = 0; i < edits && !data.isEmpty(); ++i) {
        const int at = int(random.bounded(data.size()));
        switch (random.bounded(4)) {
        case 0:
            data[at] = char(data[at] ^ (1 << random.bounded(8)));
            break;
        case 1:
            data[at] = char(QByteArray("\x00\xff\x7f\x80", 4).at(int(random.bounded(4))));
            break;
        case 2:
            data.truncate(at);
            break;
        default:
            data.insert(at, data.mid(at, int(random.bounded(64))));
            break;
        }
    }
    return data;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    ImageDecoder::installAllocationLimit();
    QStringList files = application.arguments().mid(1);
    const bool printVerdicts = files.removeAll(QStringLiteral("--verdicts")) > 0;
    int mutations = 0;
    if (const int at = int(files.indexOf(QStringLiteral("--mutations")));
        at >= 0 && at + 1 < files.size()) {
        mutations = files.at(at + 1).toInt();
        files.remove(at, 2);
    }

    // Seeded: the same files give the same mutations on every run.
    QRandomGenerator random(12);
    int decoded = 0;
    int undefined = 0;
    for (const QString &path : std::as_const(files)) {
        ImageDecoder decoder(path);
        const QString result = verdict(decoder);
        if (printVerdicts)
            std::printf("%s %s\n", qPrintable(QFileInfo(path).fileName()), qPrintable(result));
        QList<QImage> images{decoder.image()};
        QFile file(path);
        const QByteArray original = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        for (int i = 0; i < mutations; ++i) {
            ImageDecoder variant(mutated(original, random));
            if (variant.decode() == ImageDecoder::Result::Decoded)
                images.append(variant.image());
        }
        for (const QImage &image : std::as_const(images)) {
            if (image.isNull())
                continue;
            ++decoded;
            if (!pixelsDefined(image)) {
                ++undefined;
                std::fprintf(stderr, "undefined pixels in %s (or a mutation of it)\n",
                             qPrintable(path));
            }
        }
    }
    std::fprintf(stderr,
                 "%lld files, %d mutations each, %d pictures decoded, %d with undefined pixels\n",
                 static_cast<long long>(files.size()), mutations, decoded, undefined);
    return undefined == 0 ? 0 : 1;
}

#include "tests/support/testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

#include <zlib.h>

namespace TestImages {

QImage pattern(int width, int height, bool translucentBorder)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const int alpha = translucentBorder && border ? 128 : 255;
            line[x] = qRgba(x & 255, y & 255, (x + y) & 255, alpha);
        }
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return data;
}

QByteArray gif(int width, int height, QImage *expected)
{
    QVector<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(i, 255 - i, (i * 3) & 255);
    const auto indexAt = [](int x, int y) {
        return (7 * x + 13 * y) & 255;
    };
    if (expected) {
        *expected = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                expected->setPixel(x, y, palette[indexAt(x, y)]);
        }
    }

    QByteArray out("GIF89a");
    const auto word = [&out](int value) {
        out.append(char(value & 255));
        out.append(char((value >> 8) & 255));
    };
    word(width);
    word(height);
    out.append(char(0xF7)); // global colour table of 256 entries
    out.append(char(0));
    out.append(char(0));
    for (QRgb colour : palette) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    out.append(char(0));
    out.append(char(8)); // LZW minimum code size

    // Uncompressed LZW: 9-bit literal codes, with a clear code often enough
    // that the code size never grows.
    QByteArray codes;
    quint32 bits = 0;
    int count = 0;
    const auto emitCode = [&](int code) {
        bits |= quint32(code) << count;
        count += 9;
        while (count >= 8) {
            codes.append(char(bits & 255));
            bits >>= 8;
            count -= 8;
        }
    };
    int sinceClear = 0;
    emitCode(256);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 250) {
                emitCode(256);
                sinceClear = 0;
            }
            emitCode(indexAt(x, y));
            ++sinceClear;
        }
    }
    emitCode(257);
    if (count > 0)
        codes.append(char(bits & 255));
    for (int i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));
    out.append(';');
    return out;
}

QString write(const QString &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return path;
}

namespace {

QByteArray chunk(const char *type, const QByteArray &payload)
{
    QByteArray out;
    quint32 length = qToBigEndian(quint32(payload.size()));
    out.append(reinterpret_cast<const char *>(&length), 4);
    const QByteArray typed = QByteArray(type, 4) + payload;
    out.append(typed);
    quint32 crc = qToBigEndian(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))));
    out.append(reinterpret_cast<const char *>(&crc), 4);
    return out;
}

} // namespace

QByteArray pngWithClaimedSize(quint32 width, quint32 height)
{
    QByteArray header;
    const quint32 w = qToBigEndian(width);
    const quint32 h = qToBigEndian(height);
    header.append(reinterpret_cast<const char *>(&w), 4);
    header.append(reinterpret_cast<const char *>(&h), 4);
    header.append(char(8)); // bit depth
    header.append(char(6)); // RGBA
    header.append(char(0));
    header.append(char(0));
    header.append(char(0));

    // One row of zero pixels, deflated: far less data than the header claims.
    const QByteArray row(1 + 4 * 16, '\0');
    uLongf size = compressBound(uLong(row.size()));
    QByteArray deflated(int(size), '\0');
    compress(reinterpret_cast<Bytef *>(deflated.data()), &size,
             reinterpret_cast<const Bytef *>(row.constData()), uLong(row.size()));
    deflated.truncate(int(size));

    return QByteArray("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("IDAT", deflated) +
           chunk("IEND", QByteArray());
}

} // namespace TestImages

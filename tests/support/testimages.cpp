#include "tests/support/testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

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

QString write(const QString &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return path;
}

} // namespace TestImages

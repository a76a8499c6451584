#ifndef LUMENO_TESTIMAGES_H
#define LUMENO_TESTIMAGES_H

#include <QByteArray>
#include <QImage>
#include <QString>

// Test pictures, made on the fly so the tests depend on no sample files.
namespace TestImages {

// A w x h picture whose every pixel is different and easy to predict:
// red = x, green = y, blue = (x + y), alpha = 255 (or 128 on the border when
// translucentBorder is set).
QImage pattern(int width, int height, bool translucentBorder = false);

// pattern() encoded in format ("png", "jpeg", "bmp", ...).
QByteArray encoded(const QImage &image, const char *format, int quality = -1);

// A GIF of width x height (the toolkit writes no GIF). Pixel (x, y) has
// palette index (7x + 13y) mod 256; expected receives the decoded picture.
QByteArray gif(int width, int height, QImage *expected = nullptr);

// Writes data to dir/name and returns the full path.
QString write(const QString &dir, const QString &name, const QByteArray &data);

// A PNG whose header claims width x height pixels, with a valid header CRC
// and a tiny, valid-looking IDAT: a decoder that trusts the header would
// allocate width * height pixels.
QByteArray pngWithClaimedSize(quint32 width, quint32 height);

} // namespace TestImages

#endif

#ifndef LUMENO_TESTIMAGES_H
#define LUMENO_TESTIMAGES_H

#include <QByteArray>
#include <QImage>
#include <QString>

// Test pictures, made on the fly so the tests depend on no sample files.
namespace TestImages {

// A width x height picture whose every pixel is different and easy to
// predict: red = x, green = y, blue = x + y (each mod 256), alpha 255, or 128
// on the border when translucentBorder is set.
QImage pattern(int width, int height, bool translucentBorder = false);

// image encoded in format ("png", "jpeg", ...).
QByteArray encoded(const QImage &image, const char *format, int quality = -1);

// Writes data to dir/name and returns the full path.
QString write(const QString &dir, const QString &name, const QByteArray &data);

} // namespace TestImages

#endif

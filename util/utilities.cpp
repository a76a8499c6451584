#include "util/utilities.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cmath>
#include <limits>

namespace {

// The relative luminance of an sRGB colour composed over white, from 0
// (black) to 1 (white).
double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    const double alpha = rgb.alphaF();
    const auto linear = [alpha](int channel) {
        return linearFromSrgb((channel / 255.0) * alpha + (1.0 - alpha));
    };
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

} // namespace

QString readTextFile(const QString &path)
{
    // Checked first only to spare the console QFile's warning about it.
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    return stream.readAll();
}

QString escapeHtml(const QString &text)
{
    // The ampersand goes first so that the entities inserted by the later
    // passes are not escaped once more.
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    escaped.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    escaped.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    escaped.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return escaped;
}

QString escapeMnemonics(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool pointerCanBeMoved()
{
    // "wayland", "wayland-egl", "wayland-xcomposite-glx"...
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

int floorToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double floored = std::floor(value);
    if (floored <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (floored >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(floored);
}

QColor averageColor(const QImage &image, const QRect &area)
{
    const QRect inside = area.intersected(image.rect());
    // Sums of at most a few thousand 16-bit products fit 64 bits with room
    // to spare; integers keep the rounding exact.
    qint64 count = 0, alpha = 0, red = 0, green = 0, blue = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int a = qAlpha(pixel);
            ++count;
            alpha += a;
            red += qRed(pixel) * a;
            green += qGreen(pixel) * a;
            blue += qBlue(pixel) * a;
        }
    }
    if (alpha == 0)
        return QColor(Qt::transparent);
    // round(sum / n) for non-negative integers, halves up.
    const auto rounded = [](qint64 sum, qint64 n) {
        return int((2 * sum + n) / (2 * n));
    };
    return QColor(rounded(red, alpha), rounded(green, alpha), rounded(blue, alpha),
                  rounded(alpha, count));
}

double linearFromSrgb(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

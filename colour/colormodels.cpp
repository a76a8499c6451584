#include "colour/colormodels.h"

#include "util/utilities.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace ColorModels {

namespace {

struct Channels
{
    double red, green, blue, max, min;
};

Channels channels(QRgb rgb)
{
    const double red = qRed(rgb) / 255.0, green = qGreen(rgb) / 255.0, blue = qBlue(rgb) / 255.0;
    return {red, green, blue, std::max({red, green, blue}), std::min({red, green, blue})};
}

// The hue that HSL and HSV share.
double hue(const Channels &c)
{
    const double range = c.max - c.min;
    if (range <= 0)
        return 0;
    double degrees;
    if (c.max == c.red)
        degrees = 60 * std::fmod((c.green - c.blue) / range + 6, 6);
    else if (c.max == c.green)
        degrees = 60 * ((c.blue - c.red) / range + 2);
    else
        degrees = 60 * ((c.red - c.green) / range + 4);
    return degrees >= 360 ? degrees - 360 : degrees;
}

} // namespace

Hsl toHsl(QRgb rgb)
{
    const Channels c = channels(rgb);
    const double lightness = (c.max + c.min) / 2;
    const double range = c.max - c.min;
    const double saturation = range <= 0 ? 0 : range / (1 - std::fabs(2 * lightness - 1));
    return {hue(c), saturation, lightness};
}

Hsv toHsv(QRgb rgb)
{
    const Channels c = channels(rgb);
    return {hue(c), c.max <= 0 ? 0 : (c.max - c.min) / c.max, c.max};
}

Oklch toOklch(QRgb rgb)
{
    // Linear sRGB to the cone responses, their cube roots, then to Oklab.
    const Channels c = channels(rgb);
    const double r = linearFromSrgb(c.red), g = linearFromSrgb(c.green), b = linearFromSrgb(c.blue);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    const double lightness = 0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s;
    const double a = 1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s;
    const double bb = 0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s;
    const double chroma = std::hypot(a, bb);
    // Greys have no hue; what atan2 makes of rounding noise is none either.
    double degrees = chroma < 1e-4 ? 0 : qRadiansToDegrees(std::atan2(bb, a));
    if (degrees < 0)
        degrees += 360;
    return {lightness, chroma < 1e-4 ? 0 : chroma, degrees};
}

} // namespace ColorModels

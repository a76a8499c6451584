#ifndef LUMENO_COLORMODELS_H
#define LUMENO_COLORMODELS_H

#include <QRgb>

// An 8-bit sRGB colour in the models that designers and web developers write
// colours in, as CSS Color 4 defines them. Hues are in degrees, [0, 360), and
// 0 where the colour has none (greys).
namespace ColorModels {

struct Hsl
{
    double hue;
    double saturation; // 0 to 1
    double lightness;  // 0 to 1
};

struct Hsv
{
    double hue;
    double saturation; // 0 to 1
    double value;      // 0 to 1
};

struct Oklch
{
    double lightness; // 0 (black) to 1 (white)
    double chroma;    // 0 for greys, about 0.32 at most for sRGB colours
    double hue;
};

// Alpha is ignored by all three.
Hsl toHsl(QRgb rgb);
Hsv toHsv(QRgb rgb);
Oklch toOklch(QRgb rgb);

} // namespace ColorModels

#endif

#ifndef LUMENO_COLORPROFILE_H
#define LUMENO_COLORPROFILE_H

#include <QColorSpace>
#include <QImage>
#include <QString>

// What the program does with a picture's colour profile: the picture is
// shown and picked in sRGB, the display target (the toolkit cannot tell the
// monitor's profile), while the document keeps the values the file stores.
//
// A picture without a usable profile, or with an sRGB one, needs no
// conversion: it is shown exactly as stored. Stateless; any thread may call
// these.
class ColorProfile
{
public:
    // Whether pixels in space are shown converted: a valid space other than
    // sRGB. sRGB's primaries with a gamma of 2.2 (PNG's usual way to say
    // sRGB) count as sRGB.
    static bool needsConversion(const QColorSpace &space);
    // The picture has a profile that is not used: a grey picture's.
    static bool isIgnored(const QImage &image);

    // stored converted to sRGB, tagged sRGB; stored itself (shared, not
    // copied) when it needs no conversion. Null when memory runs out.
    // Uses every core for large pictures.
    static QImage toSrgb(const QImage &stored);

    // The profile's name for people ("Display P3"); "sRGB" for an untagged
    // picture, which is taken as sRGB.
    static QString name(const QColorSpace &space);

    // The name CSS Color 4 gives the space ("display-p3", "a98-rgb",
    // "prophoto-rgb", "srgb", "srgb-linear"), or an empty string when CSS
    // names none. An untagged picture counts as "srgb".
    static QString cssName(const QColorSpace &space);

    // A stored colour in sRGB, not clipped: channels outside 0 to 1 tell
    // how far the colour lies outside sRGB.
    struct Unclipped
    {
        float red, green, blue;
        bool outsideSrgb() const;
    };
    static Unclipped toSrgbUnclipped(QRgb stored, const QColorSpace &space);
};

#endif

#ifndef LUMENO_PICTURE_H
#define LUMENO_PICTURE_H

#include <QImage>
#include <QRect>

// A picture as the program holds it: the pixels as their source stores them,
// with their colour space, and the same picture in sRGB, which is what is
// shown and picked. The two share their pixels when no conversion is needed,
// so an untagged or sRGB picture costs nothing extra.
//
// A plain value; copies share the pixels.
struct Picture
{
    Picture() = default;
    // stored with its sRGB copy made (ColorProfile::toSrgb); implicit, so a
    // plain image is taken as a picture everywhere. Where memory runs out
    // for the copy, the stored pixels are shown as they are.
    Picture(const QImage &stored, bool profileIgnored = false);
    Picture(const QImage &stored, const QImage &srgb, bool profileIgnored)
        : stored(stored), srgb(srgb), profileIgnored(profileIgnored)
    {
    }

    QImage stored;
    QImage srgb;
    // The source carries a colour profile the toolkit cannot use (grey,
    // CMYK, damaged): the picture is shown as stored, as if untagged.
    bool profileIgnored = false;

    bool isNull() const { return stored.isNull(); }
    // The pixels of rect (image pixels), in both forms.
    Picture copy(const QRect &rect) const;
    // The pixels shown: in sRGB, or as stored when colour management is off.
    const QImage &shown(bool colorManaged) const { return colorManaged ? srgb : stored; }
};

#endif

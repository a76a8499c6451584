#include "document/picture.h"

#include "document/colorprofile.h"

Picture::Picture(const QImage &stored, bool profileIgnored)
    : stored(stored), srgb(ColorProfile::toSrgb(stored)),
      profileIgnored(profileIgnored || ColorProfile::isIgnored(stored))
{
    if (srgb.isNull())
        srgb = stored;
}

Picture Picture::copy(const QRect &rect) const
{
    const QImage part = stored.copy(rect);
    // Shared pixels stay shared.
    const bool same = srgb.cacheKey() == stored.cacheKey();
    return Picture(part, same ? part : srgb.copy(rect), profileIgnored);
}

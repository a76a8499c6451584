#ifndef LUMENO_IMAGE_H
#define LUMENO_IMAGE_H

#include "document/picture.h"

#include <QImage>
#include <QString>

// The open document: the pixels, the file they belong to and the two flags
// behind the window title and the Save button.
//
// A plain value. Exactly one lives for the whole run, inside the Document;
// others may hold a non-owning pointer to that one object, and a new picture
// is assigned into it, so the pointer never dangles.
class Image
{
public:
    Image();
    Image(const QString &path, const Picture &picture, bool modified, bool hasFile);

    // Replaces the pixels (see setPicture), then stores the path and flags as
    // given: they win over the "modified" that setPicture sets.
    void set(const QString &path, const Picture &picture, bool modified, bool hasFile);

    // Replaces the pixels and marks the document modified. A picture with
    // the same stored pixels as the current one changes nothing.
    void setPicture(const Picture &picture);
    Picture picture() const { return Picture(image, srgb, profileIgnored); }

    // Writes the stored pixels to path, the format following the suffix,
    // which must be one canWrite() accepts, with their colour profile; a
    // format that cannot hold one (BMP, PPM and the like) gets the pixels
    // converted to sRGB, so the file looks the same everywhere. The target
    // is replaced only once the whole image has been written; on failure
    // nothing changes and false is returned. On success the document
    // belongs to path.
    bool save(const QString &path);

    // Whether save() writes a file under path: its suffix names a format
    // written here (JPEG, PNG, BMP, TIFF, PPM, XBM, XPM, and when named,
    // WebP, PBM, PGM). Formats that are only read (HEIC, AVIF, JPEG XL, SVG,
    // icons, GIF...) are not written, so no file ever holds another format
    // than its name says.
    static bool canWrite(const QString &path);
    // The Save As dialog's name filter: every format written, then each on
    // its own.
    static QString saveFilter();

    QString fileName() const;
    int width() const { return image.width(); }
    int height() const { return image.height(); }
    bool contains(int x, int y) const;

    // Public fields; isNull always follows image because only setPicture
    // writes it. image: as stored, with its colour space; srgb: as shown
    // (see Picture).
    QImage image;
    QImage srgb;
    bool profileIgnored = false;
    bool isNull = true;
    bool modified = false;
    bool hasFile = false;
    QString path;
};

#endif

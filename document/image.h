#ifndef LUMENO_IMAGE_H
#define LUMENO_IMAGE_H

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
    Image(const QString &path, const QImage &image, bool modified, bool hasFile);

    // Replaces the pixels (see setImage), then stores the path and flags as
    // given: they win over the "modified" that setImage sets.
    void set(const QString &path, const QImage &image, bool modified, bool hasFile);

    // Replaces the pixels and marks the document modified. An image equal to
    // the current one changes nothing.
    void setImage(const QImage &image);

    // Writes the pixels to path, the format following the suffix. The target is
    // replaced only once the whole image has been written; on failure nothing
    // changes and false is returned. On success the document belongs to path.
    bool save(const QString &path);

    QString fileName() const;
    int width() const { return image.width(); }
    int height() const { return image.height(); }
    bool contains(int x, int y) const;

    // Public fields; isNull always follows image because only setImage
    // writes it.
    QImage image;
    bool isNull = true;
    bool modified = false;
    bool hasFile = false;
    QString path;
};

#endif

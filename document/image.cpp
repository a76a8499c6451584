#include "document/image.h"

#include "document/colorprofile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

Image::Image() = default;

Image::Image(const QString &path, const Picture &picture, bool modified, bool hasFile)
{
    set(path, picture, modified, hasFile);
}

void Image::set(const QString &path, const Picture &picture, bool modified, bool hasFile)
{
    setPicture(picture);
    this->path = path;
    this->modified = modified;
    this->hasFile = hasFile;
}

void Image::setPicture(const Picture &picture)
{
    if (picture.stored == image)
        return;
    image = picture.stored;
    srgb = picture.srgb;
    profileIgnored = picture.profileIgnored;
    isNull = image.isNull();
    modified = true;
}

bool Image::save(const QString &targetPath)
{
    if (image.isNull() || targetPath.isEmpty())
        return false;

    // Write to a temporary file beside the target and rename it over the
    // target only when every byte is written: a full disk, a missing folder or
    // an unknown suffix must never leave a damaged or truncated original.
    const QByteArray format = QFileInfo(targetPath).suffix().toLower().toLatin1();
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return false;
    // Encoded in memory first: the writers never see a failing disk, so none
    // of them can stop half-way through and leak (the PNG writer loses its
    // row pointers when it does).
    QByteArray encoded;
    {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        static const QByteArrayList KeepProfile = {"png", "jpg", "jpeg", "tif", "tiff", "webp"};
        if (!writer.write(KeepProfile.contains(format) ? image : ColorProfile::toSrgb(image)))
            return false;
    }
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A small picture waits in the file's buffer until commit(), which
    // reports success even when writing that buffer out fails (a full disk)
    // and then puts the cut file in place of the target: it is written out
    // here, where a failure still counts.
    if (file.write(encoded) != encoded.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;

    modified = false;
    path = QFileInfo(targetPath).absoluteFilePath();
    hasFile = true;
    return true;
}

QString Image::fileName() const
{
    return QFileInfo(path).fileName();
}

bool Image::contains(int x, int y) const
{
    return x >= 0 && y >= 0 && x < width() && y < height();
}

#include "document/image.h"

#include "document/colorprofile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace {

// The formats written, by name, and the suffixes each is written under.
const QList<QPair<QString, QStringList>> &writtenFormats()
{
    static const QList<QPair<QString, QStringList>> formats = {
        {QStringLiteral("JPEG"), {QStringLiteral("jpg"), QStringLiteral("jpeg")}},
        {QStringLiteral("BMP"), {QStringLiteral("bmp")}},
        {QStringLiteral("TIFF"), {QStringLiteral("tif"), QStringLiteral("tiff")}},
        {QStringLiteral("PNG"), {QStringLiteral("png")}},
        {QStringLiteral("Other"),
         {QStringLiteral("ppm"), QStringLiteral("xbm"), QStringLiteral("xpm")}},
    };
    return formats;
}

// Written when a name asks for them, as they always were, though the Save
// As dialog does not offer them.
const QStringList &alsoWritten()
{
    static const QStringList suffixes = {QStringLiteral("webp"), QStringLiteral("pbm"),
                                         QStringLiteral("pgm")};
    return suffixes;
}

QString patterns(const QStringList &suffixes)
{
    QStringList list;
    for (const QString &suffix : suffixes)
        list << QStringLiteral("*.") + suffix;
    return list.join(QLatin1Char(' '));
}

} // namespace

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
    if (!canWrite(targetPath))
        return false;
    const QByteArray format = QFileInfo(targetPath).suffix().toLower().toLatin1();
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

bool Image::canWrite(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (alsoWritten().contains(suffix))
        return QImageWriter::supportedImageFormats().contains(suffix.toLatin1());
    for (const auto &format : writtenFormats()) {
        if (format.second.contains(suffix))
            return true;
    }
    return false;
}

QString Image::saveFilter()
{
    QStringList all, each;
    for (const auto &[name, suffixes] : writtenFormats()) {
        all << patterns(suffixes);
        each << name + QStringLiteral(" (") + patterns(suffixes) + QLatin1Char(')');
    }
    return QStringLiteral("All Images (") + all.join(QLatin1Char(' ')) + QStringLiteral(");;") +
           each.join(QStringLiteral(";;"));
}

QString Image::fileName() const
{
    return QFileInfo(path).fileName();
}

bool Image::contains(int x, int y) const
{
    return x >= 0 && y >= 0 && x < width() && y < height();
}

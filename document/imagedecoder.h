#ifndef LUMENO_IMAGEDECODER_H
#define LUMENO_IMAGEDECODER_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Turns one image file into a QImage, safely.
//
// Files come from anywhere, so only the formats a user of this tool means are
// decoded (JPEG, PNG, BMP, GIF, TIFF, PBM/PGM/PPM, XBM, XPM, WebP), chosen by
// the file's content, never by its suffix; the toolkit's other, rarely used
// readers are never tried. An image whose pixels would not fit in the memory
// budget is refused from its header, before anything is allocated.
//
// Safe to use on any thread: it shares nothing between instances.
class ImageDecoder
{
public:
    enum class Result
    {
        Decoded,
        NotAnImage,
        TooLarge
    };

    explicit ImageDecoder(const QString &path);

    Result decode();

    // The decoded image; null unless decode() answered Decoded.
    QImage image() const { return m_image; }
    // The size the file's header claims; invalid when it could not be read.
    QSize size() const { return m_size; }

    // The reader's format name ("png", "jpeg", ...) for the leading bytes of a
    // file, or an empty array when they belong to no format we decode.
    static QByteArray formatFromContent(const QByteArray &head);

    // The largest image, in bytes of pixel data, that is opened: a quarter of
    // the machine's physical memory, and never less than a 16384 x 16384 image
    // with 16-bit channels needs.
    static qint64 maxImageBytes();

    // Raises the toolkit's allocation limit (128 MB by default) to
    // maxImageBytes(). The limit is process-wide: call it on the GUI thread
    // before any decoding thread runs.
    static void installAllocationLimit();

private:
    QString m_path;
    QImage m_image;
    QSize m_size;
};

#endif

#ifndef LUMENO_IMAGEDECODER_H
#define LUMENO_IMAGEDECODER_H

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Turns one image file, or encoded image data held in memory, into a QImage,
// safely.
//
// Files come from anywhere, so only the formats a user of this tool means are
// decoded (JPEG, PNG, BMP, GIF, TIFF, PBM/PGM/PPM, XBM, XPM, WebP), chosen by
// the content, never by a suffix; the toolkit's other, rarely used readers are
// never tried. Before any pixel memory is reserved, the size the header claims
// is checked twice: the picture, with every copy the program makes of it, must
// fit in the memory budget, and the data must be long enough to fill it at the
// format's best compression. Pixels the data does not provide are transparent
// black, never whatever memory held before.
//
// Safe to use on any thread: it shares nothing between instances.
class ImageDecoder
{
public:
    enum class Result
    {
        Decoded,
        NotAnImage,
        TooLarge,
        // The file could not be opened or read (permissions, a disk error).
        Unreadable
    };

    explicit ImageDecoder(const QString &path);
    // Encoded data (a PNG from the clipboard, say) instead of a file.
    explicit ImageDecoder(const QByteArray &data);

    Result decode();

    // The decoded image, with the colour space the file gives; null unless
    // decode() answered Decoded.
    QImage image() const { return m_image; }
    // The file carries a colour profile the toolkit could not use (grey,
    // CMYK, damaged): the image has no colour space.
    bool profileIgnored() const { return m_profileIgnored; }
    // The size the header claims; invalid when it could not be read.
    QSize size() const { return m_size; }

    // The reader's format name ("png", "jpeg", ...) for the leading bytes of a
    // file, or an empty array when they belong to no format we decode.
    static QByteArray formatFromContent(const QByteArray &head);

    // The most memory one picture may take, every copy counted: half of the
    // machine's physical memory.
    static qint64 memoryBudget();

    // The memory the program holds at its peak for a picture of width x height
    // pixels decoded at bitsPerPixel: the decoded pixels, the display copy, one
    // full-size conversion on the way (an orientation fix, a format change,
    // the view's tiles) and the halved copies shown when zoomed out.
    static qint64 peakBytes(qint64 width, qint64 height, int bitsPerPixel);

    // True when an image already decoded elsewhere (clipboard, drop) fits in
    // the budget with every copy the program will make of it.
    static bool fitsInMemory(const QImage &image);

    // Raises the toolkit's allocation limit (128 MB by default) to the memory
    // budget. The limit is process-wide: call it on the GUI thread before any
    // decoding thread runs.
    static void installAllocationLimit();

private:
    // padded: the data has already been given the zeros a run-length BMP
    // needs after its end.
    Result decodeFrom(QIODevice *device, bool padded = false);

    QString m_path;
    QByteArray m_data;
    bool m_fromMemory = false;
    QImage m_image;
    QSize m_size;
    bool m_profileIgnored = false;
};

#endif

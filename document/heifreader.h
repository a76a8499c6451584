#ifndef LUMENO_HEIFREADER_H
#define LUMENO_HEIFREADER_H

#include <QByteArray>
#include <QImage>
#include <QSize>

struct heif_context;
struct heif_image_handle;

// Reads the primary image of a HEIF file (HEIC, AVIF) through libheif.
//
// readHeader() parses only the boxes: no pixel memory is reserved until
// read(), so the caller can weigh size() against its memory budget first.
// The image comes out the way the file asks it to be shown (rotated, mirrored,
// cropped), 8 bits a channel, tagged with the file's colour space where the
// toolkit can express it; the pixels are never converted to another space.
//
// Decodes on the calling thread (the codecs may use helper threads of their
// own); one instance is used by one thread.
class HeifReader
{
public:
    // data must outlive the reader: libheif reads it in place.
    explicit HeifReader(const QByteArray &data);
    ~HeifReader();
    HeifReader(const HeifReader &) = delete;
    HeifReader &operator=(const HeifReader &) = delete;

    // False when the data is no HEIF file or its primary image is missing.
    bool readHeader();
    // The primary image's size as shown, after rotation and cropping.
    QSize size() const { return m_size; }
    // The most memory decoding and showing the image takes, the library's
    // working copies included (see ImageDecoder::peakBytes).
    qint64 peakBytes() const;
    // The decoded image, or a null one when the data is damaged.
    QImage read();

private:
    QByteArray m_data;
    heif_context *m_context = nullptr;
    heif_image_handle *m_handle = nullptr;
    QSize m_size;
    QSize m_codedSize;
};

#endif

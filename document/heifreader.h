#ifndef LUMENO_HEIFREADER_H
#define LUMENO_HEIFREADER_H

#include "document/formatreader.h"

#include <QByteArray>

struct heif_context;
struct heif_image_handle;

// Reads the primary image of a HEIF file (HEIC, AVIF) through libheif.
//
// readHeader() parses only the boxes. The image is rotated, mirrored and
// cropped as the file asks, 8 bits a channel, tagged with the file's colour
// space where the toolkit can express it; the pixels are never converted to
// another space. The codecs may use helper threads of their own.
class HeifReader : public FormatReader
{
public:
    // data must outlive the reader: libheif reads it in place.
    explicit HeifReader(const QByteArray &data);
    ~HeifReader() override;

    // False also when the primary image is missing.
    bool readHeader() override;
    qint64 peakBytes() const override;
    QImage read() override;

private:
    QByteArray m_data;
    heif_context *m_context = nullptr;
    heif_image_handle *m_handle = nullptr;
    QSize m_codedSize;
};

#endif

#ifndef LUMENO_FORMATREADER_H
#define LUMENO_FORMATREADER_H

#include <QImage>
#include <QSize>

// A reader for a format the toolkit reads no better itself (HEIF, JPEG XL,
// SVG, icons), as ImageDecoder drives it on the loader thread.
//
// readHeader() reads no more than it needs to tell the picture's size and
// reserves no pixel memory, so the caller can weigh size() and peakBytes()
// against its memory budget before read() decodes. The picture comes out the
// way the file asks it to be shown. Works on the calling thread; one instance
// is used by one thread.
class FormatReader
{
public:
    FormatReader() = default;
    virtual ~FormatReader() = default;
    FormatReader(const FormatReader &) = delete;
    FormatReader &operator=(const FormatReader &) = delete;

    // False when the data holds no picture of the format the reader can read.
    virtual bool readHeader() = 0;
    // The picture's size as shown, once readHeader() succeeded.
    QSize size() const { return m_size; }
    // The most memory decoding and showing the picture takes, the library's
    // working copies included (see ImageDecoder::peakBytes).
    virtual qint64 peakBytes() const = 0;
    // The decoded picture, or a null one when the data is damaged.
    virtual QImage read() = 0;

protected:
    QSize m_size;
};

#endif

#ifndef LUMENO_ICONREADER_H
#define LUMENO_ICONREADER_H

#include <QByteArray>
#include <QImage>
#include <QSize>

// Reads the largest picture of a Windows icon or cursor file (.ico, .cur).
//
// readHeader() reads the directory and the header of each picture in it,
// since the sizes the directory gives are only a byte each and may be wrong;
// it reserves no pixel memory, so the caller can weigh size() against its
// memory budget first. A picture stored as PNG goes through ImageDecoder and
// all its checks; a bitmap through the toolkit's icon reader, once the data
// is known to hold every row it needs.
//
// Works on the calling thread; one instance is used by one thread.
class IconReader
{
public:
    explicit IconReader(const QByteArray &data);

    // False when the directory names no picture the data holds in full.
    bool readHeader();
    // The size of the largest picture (by area; of those, the deepest).
    QSize size() const { return m_size; }
    // The most memory decoding and showing that picture takes (see
    // ImageDecoder::peakBytes).
    qint64 peakBytes() const;
    QImage read();

private:
    QByteArray m_data;
    QSize m_size;
    int m_index = -1;
    bool m_png = false;
    qint64 m_offset = 0;
    qint64 m_length = 0;
};

#endif

#ifndef LUMENO_ICONREADER_H
#define LUMENO_ICONREADER_H

#include "document/formatreader.h"

#include <QByteArray>

// Reads the largest picture of a Windows icon or cursor file (.ico, .cur).
//
// readHeader() reads the directory and the header of each picture in it,
// since the sizes the directory gives are only a byte each and may be wrong;
// its size is the largest picture's (by area; of those, the deepest). A
// picture stored as PNG goes through ImageDecoder and all its checks; a
// bitmap through the toolkit's icon reader, once the data is known to hold
// every row it needs.
class IconReader : public FormatReader
{
public:
    explicit IconReader(const QByteArray &data);

    // False when the directory names no picture the data holds in full.
    bool readHeader() override;
    qint64 peakBytes() const override;
    QImage read() override;

private:
    QByteArray m_data;
    int m_index = -1;
    bool m_png = false;
    qint64 m_offset = 0;
    qint64 m_length = 0;
};

#endif

#include "document/iconreader.h"

#include "document/imagedecoder.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>

namespace {

quint32 little(const QByteArray &data, qint64 at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | quint8(data[at + i]);
    return value;
}

quint32 big32(const QByteArray &data, qint64 at)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | quint8(data[at + i]);
    return value;
}

} // namespace

IconReader::IconReader(const QByteArray &data) : m_data(data)
{
}

bool IconReader::readHeader()
{
    const qint64 size = m_data.size();
    if (size < 6)
        return false;
    const int count = int(little(m_data, 4, 2));
    if (count == 0 || 6 + 16 * qint64(count) > size)
        return false;
    qint64 bestArea = 0;
    int bestDepth = 0;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = 6 + 16 * qint64(i);
        const qint64 length = little(m_data, entry + 8, 4);
        const qint64 offset = little(m_data, entry + 12, 4);
        if (offset < 6 + 16 * qint64(count) || length < 40 || offset + length > size)
            continue;
        qint64 width = 0, height = 0;
        int depth = 32;
        const bool png = memcmp(m_data.constData() + offset, "\x89PNG\r\n\x1A\n", 8) == 0;
        if (png) {
            width = big32(m_data, offset + 16);
            height = big32(m_data, offset + 20);
        } else {
            // A bitmap without a file header, twice as high as the picture
            // (the colours, then the transparency mask), bottom row first.
            const qint64 header = little(m_data, offset, 4);
            width = qint32(little(m_data, offset + 4, 4));
            height = qint32(little(m_data, offset + 8, 4)) / 2;
            depth = int(little(m_data, offset + 14, 2));
            const quint32 compression = little(m_data, offset + 16, 4);
            const qint64 used = little(m_data, offset + 32, 4);
            if (header < 40 || header > length || compression != 0 ||
                (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) ||
                width <= 0 || height <= 0)
                continue;
            // Every row must be there: the toolkit's reader would leave the
            // rows the data lacks as they were in memory.
            const qint64 colours = depth <= 8 ? (used ? used : 1 << depth) : 0;
            const qint64 colourRow = (width * depth + 31) / 32 * 4;
            const qint64 maskRow = (width + 31) / 32 * 4;
            if (colours > 256 || colourRow > length || height > length / colourRow ||
                header + 4 * colours + (colourRow + maskRow) * height > length)
                continue;
        }
        if (width <= 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
            continue;
        const qint64 area = width * height;
        if (area > bestArea || (area == bestArea && depth > bestDepth)) {
            bestArea = area;
            bestDepth = depth;
            m_size = QSize(int(width), int(height));
            m_index = i;
            m_png = png;
            m_offset = offset;
            m_length = length;
        }
    }
    return m_index >= 0;
}

qint64 IconReader::peakBytes() const
{
    return ImageDecoder::peakBytes(m_size.width(), m_size.height(), 32);
}

QImage IconReader::read()
{
    QImage image;
    if (m_png) {
        ImageDecoder decoder(m_data.mid(m_offset, m_length));
        if (decoder.decode() == ImageDecoder::Result::Decoded)
            image = decoder.image();
    } else {
        QBuffer buffer;
        buffer.setData(m_data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        reader.setAutoDetectImageFormat(false);
        if (reader.jumpToImage(m_index))
            image = reader.read();
    }
    if (image.size() != m_size)
        return {};
    return image;
}

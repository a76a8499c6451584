#ifndef LUMENO_JXLREADER_H
#define LUMENO_JXLREADER_H

#include <QByteArray>
#include <QImage>
#include <QSize>

struct JxlDecoderStruct;

// Reads a JPEG XL file (bare codestream or container) through libjxl.
//
// readHeader() reads only the basic information: no pixel memory is reserved
// until read(), so the caller can weigh size() against its memory budget
// first. The image comes out the way the file asks it to be shown (its
// orientation applied), 8 bits a channel, tagged with the colour space the
// decoded pixels are in; of an animation, the first frame.
//
// Decodes on the calling thread with helper threads sized to the picture;
// one instance is used by one thread.
class JxlReader
{
public:
    // data must outlive the reader: libjxl reads it in place.
    explicit JxlReader(const QByteArray &data);
    ~JxlReader();
    JxlReader(const JxlReader &) = delete;
    JxlReader &operator=(const JxlReader &) = delete;

    // False when the data holds no readable JPEG XL header.
    bool readHeader();
    // The image's size as shown, after its orientation.
    QSize size() const { return m_size; }
    // The most memory decoding and showing the image takes, the library's
    // working copies included (see ImageDecoder::peakBytes).
    qint64 peakBytes() const;
    // The decoded image, or a null one when the data is damaged.
    QImage read();

private:
    QByteArray m_data;
    JxlDecoderStruct *m_decoder = nullptr;
    void *m_runner = nullptr;
    QSize m_size;
    int m_channels = 0;
    bool m_alpha = false;
    bool m_grey = false;
    bool m_originalProfile = false;
};

#endif

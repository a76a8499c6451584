#ifndef LUMENO_JXLREADER_H
#define LUMENO_JXLREADER_H

#include "document/formatreader.h"

#include <QByteArray>

struct JxlDecoderStruct;

// Reads a JPEG XL file (bare codestream or container) through libjxl.
//
// readHeader() reads only the basic information. The image has its
// orientation applied, 8 bits a channel, tagged with the colour space the
// decoded pixels are in; of an animation, the first frame. Decodes with
// helper threads sized to the picture.
class JxlReader : public FormatReader
{
public:
    // data must outlive the reader: libjxl reads it in place.
    explicit JxlReader(const QByteArray &data);
    ~JxlReader() override;

    bool readHeader() override;
    qint64 peakBytes() const override;
    QImage read() override;

private:
    QByteArray m_data;
    JxlDecoderStruct *m_decoder = nullptr;
    void *m_runner = nullptr;
    int m_channels = 0;
    bool m_alpha = false;
    bool m_grey = false;
    bool m_originalProfile = false;
};

#endif

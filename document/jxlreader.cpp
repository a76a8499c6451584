#include "document/jxlreader.h"

#include "document/imagedecoder.h"

#include <QColorSpace>

#include <jxl/decode.h>
#include <jxl/resizable_parallel_runner.h>

#include <limits>

JxlReader::JxlReader(const QByteArray &data) : m_data(data)
{
}

JxlReader::~JxlReader()
{
    if (m_decoder)
        JxlDecoderDestroy(m_decoder);
    if (m_runner)
        JxlResizableParallelRunnerDestroy(m_runner);
}

bool JxlReader::readHeader()
{
    m_decoder = JxlDecoderCreate(nullptr);
    // The runner works on the calling thread alone until read() gives it
    // helpers: a refused header starts no threads.
    m_runner = JxlResizableParallelRunnerCreate(nullptr);
    if (!m_decoder || !m_runner ||
        JxlDecoderSetParallelRunner(m_decoder, JxlResizableParallelRunner, m_runner) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSubscribeEvents(m_decoder, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING |
                                                 JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(m_decoder, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(m_decoder, reinterpret_cast<const uint8_t *>(m_data.constData()),
                           size_t(m_data.size())) != JXL_DEC_SUCCESS)
        return false;
    JxlDecoderCloseInput(m_decoder);
    JxlBasicInfo info;
    if (JxlDecoderProcessInput(m_decoder) != JXL_DEC_BASIC_INFO ||
        JxlDecoderGetBasicInfo(m_decoder, &info) != JXL_DEC_SUCCESS)
        return false;
    // Orientations 5 to 8 turn the picture by a quarter.
    const bool turned = info.orientation >= JXL_ORIENT_TRANSPOSE;
    const qint64 width = turned ? info.ysize : info.xsize;
    const qint64 height = turned ? info.xsize : info.ysize;
    constexpr qint64 most = std::numeric_limits<int>::max();
    m_size = QSize(int(qMin(width, most)), int(qMin(height, most)));
    m_channels = int(qMin<quint64>(quint64(info.num_color_channels) + info.num_extra_channels, 64));
    m_alpha = info.alpha_bits > 0;
    m_grey = info.num_color_channels == 1;
    m_originalProfile = info.uses_original_profile;
    return true;
}

qint64 JxlReader::peakBytes() const
{
    // Before the 8-bit image is written, the library holds the frame as
    // 32-bit samples, one plane for each channel (extra channels included).
    const qint64 pixels = qint64(m_size.width()) * m_size.height();
    const qint64 shown = ImageDecoder::peakBytes(m_size.width(), m_size.height(), 32);
    const qint64 most = std::numeric_limits<qint64>::max();
    if (pixels > (most - shown) / (4 * qMax(1, m_channels)))
        return most;
    return pixels * 4 * qMax(1, m_channels) + shown;
}

QImage JxlReader::read()
{
    JxlResizableParallelRunnerSetThreads(
        m_runner, JxlResizableParallelRunnerSuggestThreads(quint64(m_size.width()),
                                                           quint64(m_size.height())));
    const JxlPixelFormat pixelFormat = {4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    QImage image;
    QColorSpace space;
    for (;;) {
        switch (JxlDecoderProcessInput(m_decoder)) {
        case JXL_DEC_COLOR_ENCODING: {
            // Lossy files hold no RGB at all (their pixels are coded in XYB):
            // the decoder writes them in the original colour space where the
            // file names one, else in sRGB, instead of its default, linear
            // sRGB, which 8 bits cannot hold without banding.
            if (!m_originalProfile) {
                JxlColorEncoding original;
                const bool named = JxlDecoderGetColorAsEncodedProfile(
                                       m_decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL,
                                       &original) == JXL_DEC_SUCCESS;
                if (!named ||
                    JxlDecoderSetPreferredColorProfile(m_decoder, &original) != JXL_DEC_SUCCESS) {
                    JxlColorEncoding srgb = {};
                    srgb.color_space = m_grey ? JXL_COLOR_SPACE_GRAY : JXL_COLOR_SPACE_RGB;
                    srgb.white_point = JXL_WHITE_POINT_D65;
                    srgb.primaries = JXL_PRIMARIES_SRGB;
                    srgb.transfer_function = JXL_TRANSFER_FUNCTION_SRGB;
                    srgb.rendering_intent = JXL_RENDERING_INTENT_PERCEPTUAL;
                    JxlDecoderSetPreferredColorProfile(m_decoder, &srgb);
                }
            }
            // The pixels' own profile, given or made by the library from the
            // file's colour description. A grey one is left out: the image
            // holds the grey as RGB, which the toolkit's grey colour spaces
            // do not describe.
            size_t iccSize = 0;
            if (!m_grey &&
                JxlDecoderGetICCProfileSize(m_decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                            &iccSize) == JXL_DEC_SUCCESS &&
                iccSize > 0) {
                QByteArray icc(qsizetype(iccSize), '\0');
                if (JxlDecoderGetColorAsICCProfile(
                        m_decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                        reinterpret_cast<uint8_t *>(icc.data()), iccSize) == JXL_DEC_SUCCESS)
                    space = QColorSpace::fromIccProfile(icc);
            }
            break;
        }
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            size_t bytes = 0;
            image = QImage(m_size, QImage::Format_RGBA8888);
            if (image.isNull() ||
                JxlDecoderImageOutBufferSize(m_decoder, &pixelFormat, &bytes) != JXL_DEC_SUCCESS ||
                bytes != size_t(image.sizeInBytes()) ||
                JxlDecoderSetImageOutBuffer(m_decoder, &pixelFormat, image.bits(), bytes) !=
                    JXL_DEC_SUCCESS)
                return {};
            break;
        }
        case JXL_DEC_FULL_IMAGE:
            // The first frame is the picture; the rest of an animation is
            // not read.
            if (image.isNull())
                return {};
            image.convertTo(m_alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            if (space.isValid())
                image.setColorSpace(space);
            return image;
        default:
            // An error, the end of the data before the first frame was
            // complete, or the end of the file without one.
            return {};
        }
    }
}

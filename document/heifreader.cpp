#include "document/heifreader.h"

#include "document/imagedecoder.h"

#include <QColorSpace>
#include <QPointF>
#include <QtEndian>

#include <libheif/heif.h>

#include <limits>
#include <memory>
#include <thread>

namespace {

// libheif counts its users; the first one registers the built-in codecs. It
// stays initialised for the life of the process.
void initialiseOnce()
{
    static const bool initialised = [] {
        heif_init(nullptr);
        return true;
    }();
    Q_UNUSED(initialised);
}

// space with the camera curve of BT.709, BT.601 and BT.2020 in place of its
// sRGB curve: a power law with a linear foot, read back the way the decoders
// of the web read it, V / 4.5 below 0.081 and ((V + 0.099) / 1.099)^(1 / 0.45)
// above. QColorSpace has no constructor for such a curve but reads it from an
// ICC profile as a parametric curve of the same kind as sRGB's: space's own
// profile is given the curve's parameters instead. An invalid space when the
// profile is not laid out as expected.
QColorSpace withCameraCurve(const QColorSpace &space)
{
    QByteArray icc = space.iccProfile();
    const auto number = [&icc](qsizetype at) {
        return at + 4 <= icc.size() ? qFromBigEndian<quint32>(icc.constData() + at) : 0u;
    };
    // The tag table follows the 128-byte header: a count, then signature,
    // offset and size of each tag. The three curves share one parametric
    // curve of function type 3, (aX + b)^g from d on and cX below it.
    const quint32 tags = qMin<quint32>(number(128), 64);
    for (quint32 tag = 0; tag < tags; ++tag) {
        const qsizetype entry = 132 + 12 * qsizetype(tag);
        const qsizetype offset = number(entry + 4);
        if (number(entry) != 0x72545243 /* rTRC */)
            continue;
        if (number(offset) != 0x70617261 /* para */ || number(offset + 8) >> 16 != 3 ||
            offset + 32 > icc.size())
            return {};
        const double parameters[] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
        for (int i = 0; i < 5; ++i)
            qToBigEndian<qint32>(qint32(qRound(parameters[i] * 65536)),
                                 icc.data() + offset + 12 + 4 * i);
        return QColorSpace::fromIccProfile(icc);
    }
    return {};
}

// The colour space an nclx colour description names: any primaries with the
// sRGB curve, the camera curve of BT.709, BT.601 and BT.2020, a pure gamma or
// a linear one. PQ, HLG, the logarithmic curves and the rarer others cannot be
// expressed and leave the image untagged, as do unspecified primaries: the
// pixels are kept as they are either way.
QColorSpace colourSpaceFromNclx(const heif_color_profile_nclx &nclx)
{
    if (nclx.color_primaries == heif_color_primaries_unspecified)
        return {};
    QColorSpace::TransferFunction transfer = QColorSpace::TransferFunction::SRgb;
    float gamma = 0.0f;
    bool camera = false;
    switch (nclx.transfer_characteristics) {
    case heif_transfer_characteristic_IEC_61966_2_1:
        break;
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit:
        camera = true;
        break;
    case heif_transfer_characteristic_linear:
        transfer = QColorSpace::TransferFunction::Linear;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.2f;
        break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        transfer = QColorSpace::TransferFunction::Gamma;
        gamma = 2.8f;
        break;
    default:
        return {};
    }
    // libheif fills in the chromaticities of the named primaries.
    const QColorSpace space(QPointF(nclx.color_primary_white_x, nclx.color_primary_white_y),
                            QPointF(nclx.color_primary_red_x, nclx.color_primary_red_y),
                            QPointF(nclx.color_primary_green_x, nclx.color_primary_green_y),
                            QPointF(nclx.color_primary_blue_x, nclx.color_primary_blue_y), transfer,
                            gamma);
    return camera && space.isValid() ? withCameraCurve(space) : space;
}

// The embedded ICC profile if there is one the toolkit understands, else the
// nclx description of the file's colr box or, failing that, of the coded
// stream (which libheif hands on with the decoded image).
QColorSpace colourSpace(const heif_image_handle *handle, const heif_image *image)
{
    const size_t iccSize = heif_image_handle_get_raw_color_profile_size(handle);
    if (iccSize > 0) {
        QByteArray icc(qsizetype(iccSize), '\0');
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code == heif_error_Ok) {
            const QColorSpace space = QColorSpace::fromIccProfile(icc);
            if (space.isValid())
                return space;
        }
    }
    // libheif can fail after it has allocated the description (primaries it
    // does not know): it is freed whatever the answer.
    heif_color_profile_nclx *nclx = nullptr;
    heif_error error = heif_image_handle_get_nclx_color_profile(handle, &nclx);
    if (error.code != heif_error_Ok) {
        heif_nclx_color_profile_free(nclx);
        nclx = nullptr;
        error = heif_image_get_nclx_color_profile(image, &nclx);
    }
    const QColorSpace space =
        error.code == heif_error_Ok && nclx ? colourSpaceFromNclx(*nclx) : QColorSpace();
    heif_nclx_color_profile_free(nclx);
    return space;
}

} // namespace

HeifReader::HeifReader(const QByteArray &data) : m_data(data)
{
    initialiseOnce();
}

HeifReader::~HeifReader()
{
    if (m_handle)
        heif_image_handle_release(m_handle);
    if (m_context)
        heif_context_free(m_context);
}

bool HeifReader::readHeader()
{
    m_context = heif_context_alloc();
    if (!m_context)
        return false;
    // Grids of tiles (what phones write) are decoded on every core.
    heif_context_set_max_decoding_threads(m_context,
                                          int(qMax(1u, std::thread::hardware_concurrency())));
    if (heif_context_read_from_memory_without_copy(m_context, m_data.constData(),
                                                   size_t(m_data.size()), nullptr)
                .code != heif_error_Ok ||
        heif_context_get_primary_image_handle(m_context, &m_handle).code != heif_error_Ok)
        return false;
    m_size = QSize(heif_image_handle_get_width(m_handle), heif_image_handle_get_height(m_handle));
    // The stored size before rotation and cropping; absent from some files.
    m_codedSize = QSize(heif_image_handle_get_ispe_width(m_handle),
                        heif_image_handle_get_ispe_height(m_handle));
    return true;
}

qint64 HeifReader::peakBytes() const
{
    // Before the 8-bit image is made, the library holds the coded planes (up
    // to 16 bits a sample, three of them and alpha) at the stored size, then
    // the converted copy and, when the file asks for it, a rotated one.
    const qint64 shown = qint64(m_size.width()) * m_size.height();
    const qint64 coded = qMax(qint64(m_codedSize.width()) * m_codedSize.height(), shown);
    // Past 2^40 pixels (beyond any machine) no sum below can overflow.
    if (coded > qint64(1) << 40)
        return std::numeric_limits<qint64>::max();
    return coded * 8 + shown * 4 + ImageDecoder::peakBytes(m_size.width(), m_size.height(), 32);
}

QImage HeifReader::read()
{
    const std::unique_ptr<heif_decoding_options, void (*)(heif_decoding_options *)> options(
        heif_decoding_options_alloc(), heif_decoding_options_free);
    if (!options)
        return {};
    options->convert_hdr_to_8bit = 1;
    heif_image *decoded = nullptr;
    if (heif_decode_image(m_handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                          options.get())
            .code != heif_error_Ok) {
        if (decoded)
            heif_image_release(decoded);
        return {};
    }
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    int stride = 0;
    uchar *pixels = heif_image_get_plane(decoded, heif_channel_interleaved, &stride);
    // A stream that codes another size than the header gave (a crafted file)
    // is refused: the budget was weighed against the header's.
    if (!pixels || QSize(width, height) != m_size ||
        heif_image_get_bits_per_pixel(decoded, heif_channel_interleaved) != 32) {
        heif_image_release(decoded);
        return {};
    }

    // The library's RGBA bytes become the toolkit's ARGB words where they
    // are, and the image keeps the library's buffer.
    const bool alpha = heif_image_handle_has_alpha_channel(m_handle);
    for (int y = 0; y < height; ++y) {
        uchar *line = pixels + qsizetype(y) * stride;
        auto *words = reinterpret_cast<QRgb *>(line);
        for (int x = 0; x < width; ++x) {
            const uchar *p = line + 4 * x;
            words[x] = qRgba(p[0], p[1], p[2], alpha ? p[3] : 255);
        }
    }
    const QImage::Format format = !alpha ? QImage::Format_RGB32
                                  : heif_image_is_premultiplied_alpha(decoded)
                                      ? QImage::Format_ARGB32_Premultiplied
                                      : QImage::Format_ARGB32;
    QImage image(
        pixels, width, height, stride, format,
        [](void *image) { heif_image_release(static_cast<heif_image *>(image)); }, decoded);
    image.setColorSpace(colourSpace(m_handle, decoded));
    return image;
}

#include "document/colorprofile.h"

#include <QColorTransform>
#include <QRgbaFloat32>
#include <QtConcurrent/QtConcurrentMap>

#include <array>
#include <cmath>
#include <vector>

namespace {

// Linear light is summed in fixed point with this many steps from 0 to 1: at
// its steepest (near black) sRGB's curve then moves a fifth of an 8-bit step
// per step, so rounding matches a float conversion.
constexpr int LinearSteps = 1 << 14;

// A conversion of 8-bit RGB between two spaces whose profiles are a tone
// curve per channel and a matrix, which is every RGB profile the toolkit
// reads: out = encode(sum over the channels c of curve_c(in_c) * column_c).
// Each channel's curve times its matrix column is tabulated for the 256
// input values, so a pixel costs three table rows summed and three lookups.
class Converter
{
public:
    explicit Converter(const QColorSpace &from)
    {
        // Mapping a primary at each level to linear sRGB gives curve times
        // column exactly: the toolkit's own transform is the reference.
        const QColorTransform toLinear =
            from.transformationToColorSpace(QColorSpace(QColorSpace::SRgbLinear));
        for (int level = 0; level < 256; ++level) {
            const float value = level / 255.0f;
            for (int channel = 0; channel < 3; ++channel) {
                QRgbaFloat32 in{0, 0, 0, 1};
                (channel == 0 ? in.r : channel == 1 ? in.g : in.b) = value;
                const QRgbaFloat32 out = toLinear.map(in);
                m_rows[channel][level] = {{fixed(out.r), fixed(out.g), fixed(out.b), 0}};
            }
        }
        for (int step = 0; step <= LinearSteps; ++step) {
            const double linear = double(step) / LinearSteps;
            const double encoded =
                linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
            m_encode[step] = uchar(qBound(0L, std::lround(encoded * 255), 255L));
        }
    }

    QRgb map(QRgb pixel) const
    {
        const Row &r = m_rows[0][qRed(pixel)];
        const Row &g = m_rows[1][qGreen(pixel)];
        const Row &b = m_rows[2][qBlue(pixel)];
        // Four lanes, the last unused: the sums are one vector addition.
        int sum[4];
        for (int lane = 0; lane < 4; ++lane)
            sum[lane] = r.lanes[lane] + g.lanes[lane] + b.lanes[lane];
        return qRgba(encoded(sum[0]), encoded(sum[1]), encoded(sum[2]), qAlpha(pixel));
    }

    void mapRow(const QRgb *in, QRgb *out, int width) const
    {
        for (int x = 0; x < width; ++x)
            out[x] = map(in[x]);
    }

private:
    static int fixed(float linear)
    {
        // Far outside sRGB still sums without overflow; the sum is clamped.
        return int(std::lround(qBound(-4.0f, linear, 4.0f) * LinearSteps));
    }
    int encoded(int sum) const { return m_encode[qBound(0, sum, LinearSteps)]; }

    struct alignas(16) Row
    {
        int lanes[4];
    };
    std::array<std::array<Row, 256>, 3> m_rows;
    std::array<uchar, LinearSteps + 1> m_encode;
};

} // namespace

bool ColorProfile::needsConversion(const QColorSpace &space)
{
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return false;
    // Many programs write sRGB as a PNG gamma of 1/2.2 with sRGB's
    // primaries; browsers show those as sRGB, and so do we, bit for bit.
    const bool gamma22 = space.transferFunction() == QColorSpace::TransferFunction::Gamma &&
                         qAbs(space.gamma() - 2.2f) < 0.01f;
    if (!gamma22 && space.transferFunction() != QColorSpace::TransferFunction::SRgb)
        return true;
    // The primaries, mapped to linear sRGB, land on its own where they are
    // the same, up to the rounding of the file's numbers.
    const QColorTransform toLinear =
        space.transformationToColorSpace(QColorSpace(QColorSpace::SRgbLinear));
    for (int channel = 0; channel < 3; ++channel) {
        const QRgbaFloat32 primary = toLinear.map(
            QRgbaFloat32{float(channel == 0), float(channel == 1), float(channel == 2), 1});
        const float expected[3] = {float(channel == 0), float(channel == 1), float(channel == 2)};
        if (qAbs(primary.r - expected[0]) > 0.002f || qAbs(primary.g - expected[1]) > 0.002f ||
            qAbs(primary.b - expected[2]) > 0.002f)
            return true;
    }
    return false;
}

QImage ColorProfile::toSrgb(const QImage &stored)
{
    if (stored.isNull() || isIgnored(stored) || !needsConversion(stored.colorSpace()))
        return stored;
    const QImage::Format format = stored.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32) {
        // Colour tables, greys, 16-bit and float pixels: the toolkit's own
        // conversion, which keeps their depth.
        QImage converted = stored.convertedToColorSpace(QColorSpace(QColorSpace::SRgb));
        return converted;
    }
    QImage converted(stored.size(), format);
    if (converted.isNull())
        return QImage();
    converted.setDotsPerMeterX(stored.dotsPerMeterX());
    converted.setDotsPerMeterY(stored.dotsPerMeterY());
    converted.setColorSpace(QColorSpace(QColorSpace::SRgb));

    const Converter converter(stored.colorSpace());
    // Bands of rows, converted in parallel: the picture is on its way to
    // the screen and the cores are otherwise idle.
    constexpr int BandRows = 64;
    std::vector<int> bands;
    for (int y = 0; y < stored.height(); y += BandRows)
        bands.push_back(y);
    const auto convertBand = [&](int top) {
        const int bottom = qMin(top + BandRows, stored.height());
        for (int y = top; y < bottom; ++y) {
            converter.mapRow(reinterpret_cast<const QRgb *>(stored.constScanLine(y)),
                             reinterpret_cast<QRgb *>(converted.scanLine(y)), stored.width());
        }
    };
    if (bands.size() == 1)
        convertBand(0);
    else
        QtConcurrent::blockingMap(bands, convertBand);
    return converted;
}

bool ColorProfile::isIgnored(const QImage &image)
{
    // Grey pictures keep their values: the toolkit reads a grey profile as
    // an RGB one and converts no grey pixels.
    return (image.format() == QImage::Format_Grayscale8 ||
            image.format() == QImage::Format_Grayscale16) &&
           needsConversion(image.colorSpace());
}

QString ColorProfile::name(const QColorSpace &space)
{
    const QString description = space.description().trimmed();
    if (!needsConversion(space))
        return description.isEmpty() ? QStringLiteral("sRGB") : description;
    return description.isEmpty() ? QStringLiteral("unnamed profile") : description;
}

QString ColorProfile::cssName(const QColorSpace &space)
{
    if (!needsConversion(space))
        return QStringLiteral("srgb");
    if (space == QColorSpace(QColorSpace::SRgbLinear))
        return QStringLiteral("srgb-linear");
    if (space == QColorSpace(QColorSpace::DisplayP3))
        return QStringLiteral("display-p3");
    if (space == QColorSpace(QColorSpace::AdobeRgb))
        return QStringLiteral("a98-rgb");
    if (space == QColorSpace(QColorSpace::ProPhotoRgb))
        return QStringLiteral("prophoto-rgb");
    return QString();
}

bool ColorProfile::Unclipped::outsideSrgb() const
{
    // Half an 8-bit step: rounding inside the profile maths is not a colour
    // outside sRGB.
    constexpr float Slack = 0.5f / 255;
    for (const float channel : {red, green, blue}) {
        if (channel < -Slack || channel > 1 + Slack)
            return true;
    }
    return false;
}

ColorProfile::Unclipped ColorProfile::toSrgbUnclipped(QRgb stored, const QColorSpace &space)
{
    QRgbaFloat32 color{qRed(stored) / 255.0f, qGreen(stored) / 255.0f, qBlue(stored) / 255.0f, 1};
    if (needsConversion(space))
        color = space.transformationToColorSpace(QColorSpace(QColorSpace::SRgb)).map(color);
    return {color.r, color.g, color.b};
}

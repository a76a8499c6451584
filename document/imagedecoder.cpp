#include "document/imagedecoder.h"

#include <QFile>
#include <QImageReader>

#include <unistd.h>

namespace {

// Enough bytes to recognise every accepted format, XBM's "#define x_width"
// after a leading comment included.
constexpr qint64 HeadLength = 512;

bool startsWith(const QByteArray &head, const char *magic, int length)
{
    return head.size() >= length && memcmp(head.constData(), magic, size_t(length)) == 0;
}

} // namespace

ImageDecoder::ImageDecoder(const QString &path) : m_path(path)
{
}

QByteArray ImageDecoder::formatFromContent(const QByteArray &head)
{
    if (startsWith(head, "\xFF\xD8\xFF", 3))
        return "jpeg";
    if (startsWith(head, "\x89PNG\r\n\x1A\n", 8))
        return "png";
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return "gif";
    if (startsWith(head, "BM", 2) && head.size() >= 18)
        return "bmp";
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4))
        return "tiff";
    if (startsWith(head, "RIFF", 4) && head.size() >= 12 && head.mid(8, 4) == "WEBP")
        return "webp";
    if (head.size() >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6' &&
        QByteArray(" \t\r\n#").contains(head[2])) {
        switch (head[1]) {
        case '1':
        case '4':
            return "pbm";
        case '2':
        case '5':
            return "pgm";
        default:
            return "ppm";
        }
    }
    const QByteArray text = head.trimmed();
    if (text.startsWith("/* XPM */"))
        return "xpm";
    if ((text.startsWith("#define") || text.startsWith("/*")) && text.contains("#define") &&
        text.contains("_width"))
        return "xbm";
    return {};
}

qint64 ImageDecoder::maxImageBytes()
{
    const qint64 floor = qint64(16384) * 16384 * 8;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return floor;
    return qMax(floor, qint64(pages) * pageSize / 4);
}

void ImageDecoder::installAllocationLimit()
{
    const qint64 megabytes = maxImageBytes() >> 20;
    QImageReader::setAllocationLimit(int(qMin<qint64>(megabytes, std::numeric_limits<int>::max())));
}

ImageDecoder::Result ImageDecoder::decode()
{
    m_image = QImage();
    m_size = QSize();

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::NotAnImage;
    const QByteArray format = formatFromContent(file.peek(HeadLength));
    if (format.isEmpty())
        return Result::NotAnImage;

    // The format is fixed: a file that the named reader cannot read is not
    // handed on to the other readers.
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    m_size = reader.size();
    if (m_size.isValid()) {
        if (m_size.isEmpty())
            return Result::NotAnImage;
        const QImage::Format pixelFormat = reader.imageFormat();
        const int depth = pixelFormat == QImage::Format_Invalid
                              ? 32
                              : qMax(32, int(QImage::toPixelFormat(pixelFormat).bitsPerPixel()));
        const qint64 bytes = qint64(m_size.width()) * m_size.height() * (depth / 8);
        if (bytes > maxImageBytes())
            return Result::TooLarge;
    }

    // Some readers (BMP among them) stop at the end of a truncated file and
    // report success, leaving the rest of the image as whatever the allocator
    // handed out. Given an image of the right size and format they decode into
    // it, so a cleared one turns the missing part into transparent black.
    // JPEG, PNG and WebP either fill every row or fail, and skip the extra pass.
    QImage decoded;
    const bool fillsEveryRow = format == "jpeg" || format == "png" || format == "webp";
    if (!fillsEveryRow && m_size.isValid() && reader.imageFormat() != QImage::Format_Invalid) {
        decoded = QImage(m_size, reader.imageFormat());
        if (decoded.isNull())
            return Result::TooLarge;
        decoded.fill(0);
    }
    if (!reader.read(&decoded) || decoded.isNull())
        return Result::NotAnImage;
    m_image = decoded;
    m_size = m_image.size();
    return Result::Decoded;
}

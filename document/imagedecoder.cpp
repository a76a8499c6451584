#include "document/imagedecoder.h"

#include <QBuffer>
#include <QFile>
#include <QColorSpace>
#include <QImageReader>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough bytes to recognise every accepted format, XBM's "#define x_width"
// after a leading comment included.
constexpr qint64 HeadLength = 512;
// Where an embedded colour profile is looked for: PNG puts it before the
// pixels, JPEG after the Exif data, which may fill 64 KB.
constexpr qint64 ProfileSearchLength = 96 * 1024;

bool startsWith(const QByteArray &head, const char *magic, int length)
{
    return head.size() >= length && memcmp(head.constData(), magic, size_t(length)) == 0;
}

// The most rows that `bytes` of data in format can fill for an image `width`
// pixels wide, at the format's best compression. A file that claims more rows
// is refused before any pixel memory is reserved: a few bytes of header can
// no longer cost gigabytes.
qint64 mostRows(const QByteArray &format, qint64 width, qint64 bytes)
{
    // Deflate expands at most 1032 times; a row takes at least a filter byte
    // and one bit a pixel.
    if (format == "png")
        return bytes * 1032 / (1 + (width + 7) / 8) + 1;
    // The most pixels one byte can stand for.
    qint64 pixels = 65536; // lossless WebP has no real limit (16383 squared at most)
    qint64 per = 1;
    if (format == "ppm") {
        per = 3; // three bytes a pixel, binary or text
        pixels = 1;
    } else if (format == "pgm" || format == "xpm") {
        pixels = 1;
    } else if (format == "xbm") {
        pixels = 3; // "0x0" stands for eight pixels
    } else if (format == "pbm") {
        pixels = 8;
    } else if (format == "bmp") {
        pixels = 128; // run-length coding: 255 pixels in two bytes
    } else if (format == "jpeg") {
        pixels = 512; // one bit for an 8 x 8 block
    } else if (format == "gif") {
        pixels = 2731; // 4096 pixels in a 12-bit code
    }
    const qint64 rows = (bytes * pixels / per + width - 1) / width;
    // CCITT group 4 codes a blank row in one bit, whatever its width; the
    // pixel bound of WebP is kept as well, a sane limit for a blank page.
    if (format == "tiff")
        return qMin(bytes * 8 + 1, rows);
    return rows;
}

// A cleared image whose memory comes straight from calloc: a large one is
// made of untouched zero pages that cost nothing until a decoder writes them,
// so a file that fails early costs no more than the part it filled.
QImage clearedImage(qint64 width, qint64 height, QImage::Format format)
{
    const qint64 bytesPerLine =
        (width * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    if (width <= 0 || height <= 0 || bytesPerLine > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return QImage();
    void *data = calloc(size_t(height), size_t(bytesPerLine));
    if (!data)
        return QImage();
    return QImage(
        static_cast<uchar *>(data), int(width), int(height), bytesPerLine, format,
        [](void *memory) { free(memory); }, data);
}

// Run-length coded (RLE8 or RLE4), as the compression field of the usual
// 40-byte or longer header says.
bool isRunLengthBmp(const QByteArray &head)
{
    if (head.size() < 34)
        return false;
    const auto word = [&head](int at) {
        return quint32(quint8(head[at])) | quint32(quint8(head[at + 1])) << 8 |
               quint32(quint8(head[at + 2])) << 16 | quint32(quint8(head[at + 3])) << 24;
    };
    return word(14) >= 40 && (word(30) == 1 || word(30) == 2);
}

// Readers write every opaque pixel with a full alpha byte, so a pixel of a
// cleared RGB32 image that still has none was never written: the data ran
// out first. Such an image becomes ARGB32, where those pixels are transparent
// black, without a copy.
void markUnfilledPixels(QImage &image)
{
    if (image.format() != QImage::Format_RGB32)
        return;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0) {
                image.reinterpretAsFormat(QImage::Format_ARGB32);
                return;
            }
        }
    }
}

} // namespace

ImageDecoder::ImageDecoder(const QString &path) : m_path(path)
{
}

ImageDecoder::ImageDecoder(const QByteArray &data) : m_data(data), m_fromMemory(true)
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

qint64 ImageDecoder::memoryBudget()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return qint64(1) << 30;
    return qint64(pages) * pageSize / 2;
}

qint64 ImageDecoder::peakBytes(qint64 width, qint64 height, int bitsPerPixel)
{
    // Sizes come from headers: past 2^40 pixels (beyond any machine) the
    // answer is simply the largest, and no product below can overflow.
    constexpr qint64 limit = qint64(1) << 31;
    width = qMin(qAbs(width), limit);
    height = qMin(qAbs(height), limit);
    if (width * height > qint64(1) << 40)
        return std::numeric_limits<qint64>::max();
    const qint64 decoded = (width * qMax(1, bitsPerPixel) + 7) / 8 * height;
    const qint64 display = 4 * width * height; // the pixmap
    const qint64 conversion = 4 * width * height;
    // The halved copies take a third of the display copy together; the first
    // is held twice while its pixmap is made.
    const qint64 halved = 7 * width * height / 3;
    return decoded + display + conversion + halved;
}

bool ImageDecoder::fitsInMemory(const QImage &image)
{
    return peakBytes(image.width(), image.height(), image.depth()) <= memoryBudget();
}

void ImageDecoder::installAllocationLimit()
{
    const qint64 megabytes = memoryBudget() >> 20;
    QImageReader::setAllocationLimit(int(qMin<qint64>(megabytes, std::numeric_limits<int>::max())));
}

ImageDecoder::Result ImageDecoder::decode()
{
    m_image = QImage();
    m_size = QSize();
    if (m_fromMemory) {
        QBuffer buffer(&m_data);
        buffer.open(QIODevice::ReadOnly);
        return decodeFrom(&buffer);
    }

    // Opened without blocking and checked on the open descriptor: a path that
    // has become a pipe or a device since it was chosen must not hang the
    // loader or be read forever.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Result::Unreadable;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Result::NotAnImage;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Result::Unreadable;
    }
    const Result result = decodeFrom(&file);
    if (result != Result::Decoded && file.error() == QFileDevice::ReadError) {
        m_image = QImage();
        return Result::Unreadable;
    }
    return result;
}

ImageDecoder::Result ImageDecoder::decodeFrom(QIODevice *device, bool padded)
{
    const QByteArray head = device->peek(HeadLength);
    const QByteArray format = formatFromContent(head);
    if (format.isEmpty())
        return Result::NotAnImage;

    // The toolkit's run-length BMP reader does not check every read: data
    // that ends inside a run leaves the run's colour uninitialised, and it is
    // painted into the picture. A few zero bytes after the end give such a
    // read a defined value instead (an empty run, the end of a line).
    if (!padded && format == "bmp" && isRunLengthBmp(head)) {
        QByteArray data = device->readAll() + QByteArray(8, '\0');
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return decodeFrom(&buffer, true);
    }

    // Peeked before the reader moves on; only looked at when the decoded
    // picture has no colour space.
    const QByteArray start = device->peek(ProfileSearchLength);

    // The format is fixed: data that the named reader cannot read is not
    // handed on to the other readers.
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    // Some headers give a negative height (top-down BMP): the sign says in
    // which order the rows come, the size is the same.
    const QSize claimed = reader.size();
    qint64 width = qAbs(qint64(claimed.width()));
    qint64 height = qAbs(qint64(claimed.height()));
    if (!claimed.isValid() && (claimed.width() == -1 || claimed.height() == -1))
        return Result::NotAnImage;
    // The GIF reader answers with the first frame's size but paints it on the
    // whole screen the header declares, which may be far larger.
    if (format == "gif" && head.size() >= 10) {
        width = qMax(width, qint64(quint8(head[6]) | quint8(head[7]) << 8));
        height = qMax(height, qint64(quint8(head[8]) | quint8(head[9]) << 8));
    }
    m_size = QSize(int(qMin<qint64>(width, std::numeric_limits<int>::max())),
                   int(qMin<qint64>(height, std::numeric_limits<int>::max())));
    if (width == 0 || height == 0)
        return Result::NotAnImage;
    const QImage::Format pixelFormat = reader.imageFormat();
    const int depth = pixelFormat == QImage::Format_Invalid
                          ? 32
                          : int(QImage::toPixelFormat(pixelFormat).bitsPerPixel());
    if (peakBytes(width, height, depth) > memoryBudget())
        return Result::TooLarge;
    if (height > mostRows(format, width, device->size()))
        return Result::NotAnImage;

    // Readers decode into an image of the right size and format when given
    // one; a cleared one turns whatever a short or damaged file leaves out
    // into zeros instead of what the allocator last held there.
    QImage decoded;
    if (pixelFormat != QImage::Format_Invalid) {
        decoded = clearedImage(width, height, pixelFormat);
        if (decoded.isNull())
            return Result::TooLarge;
    }
    const uchar *cleared = decoded.constBits();
    if (!reader.read(&decoded) || decoded.isNull())
        return Result::NotAnImage;
    if (cleared && decoded.constBits() == cleared)
        markUnfilledPixels(decoded);
    m_image = decoded;
    m_size = m_image.size();
    // The chunk or marker names of PNG, JPEG and WebP profiles.
    m_profileIgnored = !m_image.colorSpace().isValid() &&
                       (start.contains("iCCP") || start.contains("ICC_PROFILE") ||
                        (format == "webp" && start.contains("ICCP")));
    return Result::Decoded;
}

#include "document/imagedecoder.h"

#include "document/heifreader.h"
#include "document/iconreader.h"
#include "document/jxlreader.h"
#include "document/svgreader.h"

#include <QBuffer>
#include <QFile>
#include <QColorSpace>
#include <QImageReader>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough bytes to recognise every accepted format: XBM's "#define x_width"
// after a leading comment, an SVG root element after a long document type.
constexpr qint64 HeadLength = 4096;
// Where an embedded colour profile is looked for: PNG puts it before the
// pixels, JPEG after the Exif data, which may fill 64 KB.
constexpr qint64 ProfileSearchLength = 96 * 1024;

bool startsWith(const QByteArray &head, const char *magic, int length)
{
    return head.size() >= length && memcmp(head.constData(), magic, size_t(length)) == 0;
}

quint32 word(const QByteArray &head, int at, bool bigEndian)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= quint32(quint8(head[at + i])) << (bigEndian ? 24 - 8 * i : 8 * i);
    return value;
}

// An ISO base media file (HEIF, AVIF) starts with a file type box naming a
// major brand and the brands the file is compatible with. The first AVIF or
// HEIC brand decides; the generic image brands (mif1, msf1) name plain HEIF
// when no other one is there. Videos (isom, mp41...) are none of these.
QByteArray isoMediaFormat(const QByteArray &head)
{
    if (head.size() < 16 || head.mid(4, 4) != "ftyp")
        return {};
    const qint64 boxSize = word(head, 0, true);
    if (boxSize < 16 || boxSize % 4 != 0)
        return {};
    QList<QByteArray> brands = {head.mid(8, 4)};
    for (qint64 at = 16; at + 4 <= qMin<qint64>(boxSize, head.size()); at += 4)
        brands.append(head.mid(int(at), 4));
    static const QList<QByteArray> avif = {"avif", "avis"};
    static const QList<QByteArray> heic = {"heic", "heix", "hevc", "hevx",
                                           "heim", "heis", "hevm", "hevs"};
    for (const QByteArray &brand : brands) {
        if (avif.contains(brand))
            return "avif";
        if (heic.contains(brand))
            return "heif";
    }
    if (brands.contains("mif1") || brands.contains("msf1"))
        return "heif";
    return {};
}

// A Windows icon or cursor: a reserved zero, the type, a count of pictures
// whose directory fits before the first picture's data.
QByteArray iconFormat(const QByteArray &head)
{
    if (head.size() < 22 || head[0] != 0 || head[1] != 0 || head[3] != 0 ||
        (head[2] != 1 && head[2] != 2) || head[9] != 0)
        return {};
    const quint32 count = quint8(head[4]) | quint32(quint8(head[5])) << 8;
    if (count == 0 || word(head, 18, false) < 6 + 16 * count || word(head, 14, false) == 0)
        return {};
    return head[2] == 1 ? "ico" : "cur";
}

// The formats read by a library or reader of their own, with what their
// reader says about the picture before it reserves any pixel memory.
ImageDecoder::Result decodeWith(FormatReader &reader, QSize *size, QImage *image)
{
    if (!reader.readHeader())
        return ImageDecoder::Result::NotAnImage;
    *size = reader.size();
    if (size->isEmpty())
        return ImageDecoder::Result::NotAnImage;
    if (reader.peakBytes() > ImageDecoder::memoryBudget())
        return ImageDecoder::Result::TooLarge;
    *image = reader.read();
    if (image->isNull())
        return ImageDecoder::Result::NotAnImage;
    *size = image->size();
    return ImageDecoder::Result::Decoded;
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
    const size_t bytes = size_t(height) * size_t(bytesPerLine);
    void *data = calloc(size_t(height), size_t(bytesPerLine));
    if (!data)
        return QImage();
    // Large pages for a large picture: the decoder touches every page of it
    // once, and faulting in 4 KB pages costs as much as a fifth of a JPEG's
    // decoding. Advice only; where it is refused nothing changes.
    constexpr size_t HugePage = size_t(2) << 20;
    const auto start = (reinterpret_cast<uintptr_t>(data) + HugePage - 1) & ~(HugePage - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(HugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
    return QImage(
        static_cast<uchar *>(data), int(width), int(height), bytesPerLine, format,
        [](void *memory) { free(memory); }, data);
}

// Whether the JPEG whose first bytes are start codes its pixels in one
// sequential scan (baseline or extended): only those decode a part near the
// top quickly. False when the frame header is not among the first bytes.
bool isSequentialJpeg(const QByteArray &start)
{
    int at = 2;
    while (at + 4 <= start.size()) {
        if (quint8(start[at]) != 0xff)
            return false;
        const int marker = quint8(start[at + 1]);
        if (marker == 0xc0 || marker == 0xc1)
            return true;
        if (marker >= 0xc2 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc)
            return false;
        at += 2 + (quint8(start[at + 2]) << 8 | quint8(start[at + 3]));
    }
    return false;
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
    // A whole row at a time, without a branch per pixel: this runs over
    // every pixel of a large picture.
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        QRgb written = 0xff000000;
        for (int x = 0; x < width; ++x)
            written &= line[x];
        if (qAlpha(written) != 0xff) {
            for (int x = 0; x < width; ++x) {
                if (qAlpha(line[x]) == 0) {
                    image.reinterpretAsFormat(QImage::Format_ARGB32);
                    return;
                }
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

QByteArray ImageDecoder::formatFromContent(const QByteArray &data)
{
    const QByteArray head = data.left(HeadLength);
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
    if (startsWith(head, "\xFF\x0A", 2) || startsWith(head, "\0\0\0\x0CJXL \r\n\x87\n", 12))
        return "jxl";
    if (const QByteArray format = isoMediaFormat(head); !format.isEmpty())
        return format;
    if (const QByteArray format = iconFormat(head); !format.isEmpty())
        return format;
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
    if (SvgReader::isSvg(head))
        return "svg";
    return {};
}

QString ImageDecoder::nameFilter()
{
    // The suffixes people give the formats decoded (which reader a file gets
    // is still decided by its content): the toolkit's formats first, as the
    // dialog has always listed them, then those read by libraries of their
    // own.
    static const QList<QPair<QString, QString>> formats = {
        {QStringLiteral("JPEG"), QStringLiteral("*.jpg *.jpeg")},
        {QStringLiteral("BMP"), QStringLiteral("*.bmp")},
        {QStringLiteral("TIFF"), QStringLiteral("*.tif *.tiff")},
        {QStringLiteral("PNG"), QStringLiteral("*.png")},
        {QStringLiteral("GIF"), QStringLiteral("*.gif")},
        {QStringLiteral("WebP"), QStringLiteral("*.webp")},
        {QStringLiteral("PBM, PGM, PPM, XBM, XPM"),
         QStringLiteral("*.pbm *.pgm *.ppm *.xbm *.xpm")},
        {QStringLiteral("HEIC/HEIF"), QStringLiteral("*.heic *.heif")},
        {QStringLiteral("AVIF"), QStringLiteral("*.avif")},
        {QStringLiteral("JPEG XL"), QStringLiteral("*.jxl")},
        {QStringLiteral("SVG"), QStringLiteral("*.svg *.svgz")},
        {QStringLiteral("Icons"), QStringLiteral("*.ico *.cur")},
    };
    QStringList all, each;
    for (const auto &[name, patterns] : formats) {
        all << patterns;
        each << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return QStringLiteral("All Images (") + all.join(QLatin1Char(' ')) + QStringLiteral(");;") +
           each.join(QStringLiteral(";;"));
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
    if (format.isEmpty() || (m_previewOf.isValid() && format != "jpeg"))
        return Result::NotAnImage;

    // Read by their own readers, from memory: the compressed data of a
    // picture that fits the budget is far smaller than its pixels.
    if (format == "heif" || format == "avif" || format == "jxl" || format == "svg" ||
        format == "ico" || format == "cur") {
        if (device->size() > memoryBudget())
            return Result::NotAnImage;
        const QByteArray data = device->readAll();
        if (format == "jxl") {
            JxlReader reader(data);
            return decodeWith(reader, &m_size, &m_image);
        }
        if (format == "svg") {
            SvgReader reader(data);
            return decodeWith(reader, &m_size, &m_image);
        }
        if (format == "ico" || format == "cur") {
            IconReader reader(data);
            return decodeWith(reader, &m_size, &m_image);
        }
        HeifReader reader(data);
        return decodeWith(reader, &m_size, &m_image);
    }

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

    if (m_previewOf.isValid()) {
        // A part worth decoding alone: a quarter of the picture at most,
        // upright as stored (the clip is taken before any turn).
        const qint64 side = 32; // beyond the view, rounded to whole blocks
        const qint64 partWidth = qMin(width, (m_previewOf.width() + side) / 16 * 16 + 16);
        const qint64 partHeight = qMin(height, (m_previewOf.height() + side) / 16 * 16 + 16);
        if (format != "jpeg" || !isSequentialJpeg(start) ||
            reader.transformation() != QImageIOHandler::TransformationNone ||
            partWidth * partHeight * 4 > width * height)
            return Result::NotAnImage;
        // Centred as the view centres a new picture; the clip's top left on
        // whole blocks of 16, where the decoder starts them anyway.
        const QRect part(int((width - partWidth) / 2) & ~15, int((height - partHeight) / 2) & ~15,
                         int(partWidth), int(partHeight));
        reader.setClipRect(part);
        width = part.width();
        height = part.height();
        m_previewOffset = part.topLeft();
    }

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
    if (!m_previewOf.isValid())
        m_size = m_image.size();
    // The chunk or marker names of PNG, JPEG and WebP profiles.
    m_profileIgnored = !m_image.colorSpace().isValid() &&
                       (start.contains("iCCP") || start.contains("ICC_PROFILE") ||
                        (format == "webp" && start.contains("ICCP")));
    return Result::Decoded;
}

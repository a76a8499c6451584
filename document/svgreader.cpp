#include "document/svgreader.h"

#include "document/imagedecoder.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>
#include <zlib.h>

namespace {

bool isGzip(const QByteArray &data)
{
    return data.startsWith("\x1F\x8B\x08");
}

// Inflates gzip-compressed data a piece at a time, handing each piece to
// take, until the end of the data or until more than limit bytes came out.
// True when the data was complete and its text no longer than limit.
template <typename Take> bool inflateGzip(const QByteArray &data, qint64 limit, Take take)
{
    z_stream stream = {};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(qMin<qsizetype>(data.size(), std::numeric_limits<uInt>::max()));
    char piece[64 * 1024];
    qint64 total = 0;
    int status = Z_OK;
    while (status == Z_OK && total <= limit) {
        stream.next_out = reinterpret_cast<Bytef *>(piece);
        stream.avail_out = sizeof(piece);
        status = inflate(&stream, Z_NO_FLUSH);
        const qsizetype length = qsizetype(sizeof(piece) - stream.avail_out);
        total += length;
        take(piece, length);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && total <= limit;
}

// Skips from `at` past the first `end` after it; false when the text ends
// first.
bool skipPast(const QByteArray &text, qsizetype &at, const char *end)
{
    const qsizetype found = text.indexOf(end, at);
    if (found < 0)
        return false;
    at = found + qsizetype(qstrlen(end));
    return true;
}

// The document again, without the references to anything outside it (an
// href that is neither a fragment of the document nor a data: URL): QtSvg
// would read a picture named by path, from any file, a pipe or a device too,
// and wait for it. Empty when the document is no well-formed XML.
QByteArray selfContained(const QByteArray &text)
{
    QXmlStreamReader reader(text);
    QByteArray copy;
    QXmlStreamWriter writer(&copy);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Its entities are expanded in the text the reader hands on.
            break;
        case QXmlStreamReader::StartElement: {
            writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
            const QXmlStreamNamespaceDeclarations declarations = reader.namespaceDeclarations();
            for (const QXmlStreamNamespaceDeclaration &declaration : declarations)
                writer.writeNamespace(declaration.namespaceUri().toString(),
                                      declaration.prefix().toString());
            const QXmlStreamAttributes attributes = reader.attributes();
            for (const QXmlStreamAttribute &attribute : attributes) {
                const QStringView value = attribute.value().trimmed();
                if (attribute.name() != QLatin1String("href") || value.startsWith(u'#') ||
                    value.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
                    writer.writeAttribute(attribute);
            }
            break;
        }
        case QXmlStreamReader::Invalid:
            return {};
        default:
            writer.writeCurrentToken(reader);
        }
    }
    return reader.hasError() ? QByteArray() : copy;
}

// The longest document text drawn, far beyond what people draw or export:
// QtSvg's tree of it takes several times its length, which must leave the
// budget room for the picture; and a small compressed file can hold a text
// of gigabytes.
qint64 mostText()
{
    return qMin<qint64>(ImageDecoder::memoryBudget() / 16, 64 << 20);
}

} // namespace

SvgReader::SvgReader(const QByteArray &data) : m_data(data)
{
}

SvgReader::~SvgReader() = default;

bool SvgReader::isSvg(const QByteArray &head)
{
    QByteArray text = head;
    if (isGzip(head)) {
        text.clear();
        inflateGzip(head, head.size(),
                    [&text](const char *piece, qsizetype length) { text.append(piece, length); });
    }
    qsizetype at = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (at < text.size() && QByteArray(" \t\r\n").contains(text.at(at)))
            ++at;
        const QByteArray rest = text.mid(at, 10);
        if (rest.startsWith("<?")) {
            if (!skipPast(text, at, "?>"))
                return false;
        } else if (rest.startsWith("<!--")) {
            if (!skipPast(text, at, "-->"))
                return false;
        } else if (rest.startsWith("<!DOCTYPE")) {
            // An internal subset in brackets may hold '>' of its own.
            const qsizetype bracket = text.indexOf('[', at);
            const qsizetype close = text.indexOf('>', at);
            if (bracket >= 0 && bracket < close && !skipPast(text, at, "]"))
                return false;
            if (!skipPast(text, at, ">"))
                return false;
        } else {
            return rest.size() >= 5 && rest.startsWith("<svg") &&
                   QByteArray(" \t\r\n/>").contains(rest.at(4));
        }
    }
}

bool SvgReader::readHeader()
{
    QByteArray text = m_data;
    if (isGzip(m_data)) {
        // Measured first, so that a text too long costs no memory.
        qint64 length = 0;
        if (!inflateGzip(m_data, mostText(),
                         [&length](const char *, qsizetype piece) { length += piece; }))
            return false;
        text.clear();
        text.reserve(qsizetype(length));
        inflateGzip(m_data, length,
                    [&text](const char *piece, qsizetype size) { text.append(piece, size); });
    }
    if (text.isEmpty() || text.size() > mostText())
        return false;
    text = selfContained(text);
    if (text.isEmpty())
        return false;
    m_renderer = std::make_unique<QSvgRenderer>();
    if (!m_renderer->load(text) || !m_renderer->isValid())
        return false;
    const QSize natural = m_renderer->defaultSize();
    if (natural.width() < 0 || natural.height() < 0)
        return false;
    m_size = natural.expandedTo(QSize(1, 1));
    return true;
}

qint64 SvgReader::peakBytes() const
{
    return ImageDecoder::peakBytes(m_size.width(), m_size.height(), 32);
}

QImage SvgReader::read()
{
    QImage image(m_size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    m_renderer->render(&painter);
    painter.end();
    return image;
}

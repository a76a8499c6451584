#ifndef LUMENO_SVGREADER_H
#define LUMENO_SVGREADER_H

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <memory>

class QSvgRenderer;

// Draws an SVG document, plain or gzip-compressed (.svgz), through QtSvg at
// its natural size on a transparent background.
//
// readHeader() parses the document (an SVG has no header apart from it) and
// reserves no pixel memory, so the caller can weigh size() against its memory
// budget before read() draws. Only what the document itself holds is drawn:
// pictures it names by path are left out, so a document cannot make the
// program read other files (or a pipe that never ends).
//
// Works on the calling thread; one instance is used by one thread.
class SvgReader
{
public:
    explicit SvgReader(const QByteArray &data);
    ~SvgReader();
    SvgReader(const SvgReader &) = delete;
    SvgReader &operator=(const SvgReader &) = delete;

    // True when the leading bytes of a file (plain or gzip-compressed) are an
    // SVG document's: an <svg> root element, after an optional XML
    // declaration, comments, processing instructions or a document type.
    static bool isSvg(const QByteArray &head);

    // False when the data is no SVG document QtSvg can parse, or too long.
    bool readHeader();
    // The natural size in pixels, at least 1 x 1.
    QSize size() const { return m_size; }
    // The most memory drawing and showing the picture takes (see
    // ImageDecoder::peakBytes).
    qint64 peakBytes() const;
    QImage read();

private:
    QByteArray m_data;
    std::unique_ptr<QSvgRenderer> m_renderer;
    QSize m_size;
};

#endif

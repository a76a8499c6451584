#ifndef LUMENO_SVGREADER_H
#define LUMENO_SVGREADER_H

#include "document/formatreader.h"

#include <QByteArray>

#include <memory>

class QSvgRenderer;

// Draws an SVG document, plain or gzip-compressed (.svgz), through QtSvg at
// its natural size on a transparent background.
//
// readHeader() parses the document (an SVG has no header apart from it);
// its size is the natural size in pixels, at least 1 x 1. Only what the
// document itself holds is drawn: pictures it names by path are left out, so
// a document cannot make the program read other files (or a pipe that never
// ends).
class SvgReader : public FormatReader
{
public:
    explicit SvgReader(const QByteArray &data);
    ~SvgReader() override;

    // True when the leading bytes of a file (plain or gzip-compressed) are an
    // SVG document's: an <svg> root element, after an optional XML
    // declaration, comments, processing instructions or a document type.
    static bool isSvg(const QByteArray &head);

    // False also for a document too long.
    bool readHeader() override;
    qint64 peakBytes() const override;
    QImage read() override;

private:
    QByteArray m_data;
    std::unique_ptr<QSvgRenderer> m_renderer;
};

#endif

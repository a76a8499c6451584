// Writes the benchmarks' test pictures into a folder, each only when it is not
// there yet, so that a second run of the benchmarks starts at once:
//
//   bench_pictures FOLDER NAME...
//
// The names it knows:
//   photo-6000x4000-444.jpg   24 MP photo, JPEG quality 90, no chroma subsampling
//   photo-6000x4000-420.jpg   the same picture, chroma halved both ways (4:2:0)
//   photo-6000x4000.png       the same picture as PNG
//   photo-10000x10000-420.jpg 100 MP photo, JPEG quality 90, 4:2:0
//   screenshot-1920x1080.png  2 MP screenshot: flat panels, text, a few pictures
//   small-64x64.png           a 64 x 64 icon-like picture
//
// Every picture carries the first-paint marker: solid squares of the marker
// colour (255, 0, 255), 32 x 32 pixels at a pitch of 128 from (48, 48), so that
// any 160 x 160 part of a picture holds a whole square, and the squares lie on
// the JPEG blocks and survive its compression. The 64 x 64 picture has one
// square, in its middle. The marker covers a sixteenth of a picture; the rest
// is what the picture's kind would hold.

#include "bench/benchutil.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstdio>
#include <jpeglib.h>

namespace {

const QColor Marker(255, 0, 255);

void paintMarkers(QImage &image)
{
    QPainter painter(&image);
    if (image.width() < 160 || image.height() < 160) {
        painter.fillRect(QRect(image.width() / 2 - 16, image.height() / 2 - 16, 32, 32), Marker);
        return;
    }
    for (int y = 48; y + 32 <= image.height(); y += 128) {
        for (int x = 48; x + 32 <= image.width(); x += 128)
            painter.fillRect(x, y, 32, 32, Marker);
    }
}

// A desktop as a screenshot shows it: a gradient, windows with title bars,
// side bars, lines of text, buttons and a picture or two.
QImage screenshot(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient desktop(0, 0, 0, height);
    desktop.setColorAt(0, QColor(32, 74, 135));
    desktop.setColorAt(1, QColor(12, 30, 60));
    painter.fillRect(image.rect(), desktop);
    painter.fillRect(0, 0, width, 28, QColor(30, 30, 30));
    QRandomGenerator random(11);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    painter.setFont(font);
    const QRect windows[] = {{60, 80, 1100, 720}, {820, 300, 1000, 680}, {200, 620, 700, 420}};
    for (const QRect &window : windows) {
        painter.fillRect(window.adjusted(4, 4, 4, 4), QColor(0, 0, 0, 60));
        painter.fillRect(window, QColor(246, 245, 244));
        painter.fillRect(QRect(window.topLeft(), QSize(window.width(), 36)), QColor(222, 221, 218));
        painter.setPen(QColor(40, 40, 40));
        painter.drawText(QRect(window.left(), window.top(), window.width(), 36), Qt::AlignCenter,
                         QStringLiteral("Documents - Files"));
        const QRect side(window.left(), window.top() + 36, 200, window.height() - 36);
        painter.fillRect(side, QColor(235, 235, 233));
        for (int row = 0; row * 28 + 50 < side.height(); ++row) {
            painter.fillRect(side.left() + 12, side.top() + 14 + row * 28, 16, 16,
                             QColor::fromHsv(random.bounded(360), 160, 200));
            painter.drawText(side.left() + 36, side.top() + 27 + row * 28,
                             QStringLiteral("Folder %1").arg(row + 1));
        }
        const QRect content(side.right() + 1, side.top(), window.right() - side.right(),
                            side.height());
        int y = content.top() + 24;
        for (int line = 0; y < content.bottom() - 120; ++line, y += 20) {
            painter.drawText(
                content.left() + 20, y,
                QStringLiteral("%1  report-%2.pdf   %3 kB   12 March, 10:%4")
                    .arg(line % 3 ? QStringLiteral("\u25A1") : QStringLiteral("\u25A0"))
                    .arg(random.bounded(1000))
                    .arg(random.bounded(100, 9000))
                    .arg(random.bounded(10, 60)));
        }
        // A thumbnail of a photo, and two buttons.
        const QImage thumbnail = BenchUtil::photo(240, 100);
        painter.drawImage(content.left() + 20, content.bottom() - 110, thumbnail);
        for (int b = 0; b < 2; ++b) {
            const QRect button(content.right() - 220 + b * 105, content.bottom() - 50, 95, 32);
            painter.setBrush(b ? QColor(53, 132, 228) : QColor(250, 250, 250));
            painter.setPen(QColor(180, 180, 180));
            painter.drawRoundedRect(button, 5, 5);
            painter.setPen(b ? Qt::white : QColor(40, 40, 40));
            painter.drawText(button, Qt::AlignCenter,
                             b ? QStringLiteral("Open") : QStringLiteral("Cancel"));
        }
    }
    painter.end();
    return image;
}

QImage icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size * 0.4, size * 0.35, size * 0.6);
    glow.setColorAt(0, QColor(250, 200, 90));
    glow.setColorAt(1, QColor(200, 90, 30));
    painter.setBrush(glow);
    painter.setPen(QPen(QColor(90, 40, 10), 2));
    painter.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    return image;
}

// Quality 90, the samples of the two colour components taken every
// `chromaStep` pixels in both directions (1: 4:4:4, 2: 4:2:0).
bool writeJpeg(const QImage &image, const QString &path, int chromaStep)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    // QImage's 32-bit pixels lie in memory as B, G, R, X on this byte order.
    info.input_components = 4;
    info.in_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.comp_info[0].h_samp_factor = chromaStep;
    info.comp_info[0].v_samp_factor = chromaStep;
    info.comp_info[1].h_samp_factor = info.comp_info[1].v_samp_factor = 1;
    info.comp_info[2].h_samp_factor = info.comp_info[2].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto *row = const_cast<JSAMPLE *>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool write(const QString &name, const QString &path)
{
    static const QRegularExpression photoName(
        QStringLiteral("^photo-(\\d+)x(\\d+)(?:-(444|420))?\\.(jpg|png)$"));
    const QRegularExpressionMatch match = photoName.match(name);
    if (match.hasMatch()) {
        // The files of one size share their picture: made once a run.
        static QImage image;
        const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
        if (image.size() != size) {
            image = QImage(); // the previous one goes first: 100 MP take 400 MB
            image = BenchUtil::photo(size.width(), size.height());
            paintMarkers(image);
        }
        if (match.captured(4) == QLatin1String("png"))
            return QImageWriter(path, "png").write(image);
        return writeJpeg(image, path, match.captured(3) == QLatin1String("444") ? 1 : 2);
    }
    if (name == QLatin1String("screenshot-1920x1080.png")) {
        QImage image = screenshot(1920, 1080);
        paintMarkers(image);
        return QImageWriter(path, "png").write(image);
    }
    if (name == QLatin1String("small-64x64.png")) {
        QImage image = icon(64);
        paintMarkers(image);
        return QImageWriter(path, "png").write(image);
    }
    std::fprintf(stderr, "bench_pictures: no picture is called %s\n", qPrintable(name));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    BenchUtil::useOffscreenPlatform();
    QGuiApplication app(argc, argv); // fonts for the screenshot's text
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_pictures FOLDER NAME...\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;
    for (int i = 2; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        const QString path = folder.filePath(name);
        if (QFile::exists(path))
            continue;
        std::printf("Writing %s...\n", qPrintable(path));
        std::fflush(stdout);
        // Written beside it and renamed: an interrupted run leaves no half
        // picture to be taken for a whole one next time.
        const QString partial = path + QStringLiteral(".partial");
        if (!write(name, partial) || !QFile::rename(partial, path)) {
            QFile::remove(partial);
            std::fprintf(stderr, "bench_pictures: could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

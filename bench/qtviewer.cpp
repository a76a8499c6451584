// The toolkit's floor for first paint: a bare Qt program that decodes the
// picture given on the command line with QImageReader, then opens a window
// where Lumeno opens its own (900 x 700 at 50,100) and paints the picture at
// zoom 1 centred below a 32-pixel strip, as Lumeno's view does. Nothing is
// overlapped or deferred: start-up, decode and one paint, one after the
// other. bench_firstpaint runs it beside Lumeno.

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {

class PictureWindow : public QWidget
{
public:
    explicit PictureWindow(const QImage &picture) : m_picture(picture) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(200, 200, 200));
        const QRect view(0, 32, width(), height() - 32);
        painter.setClipRect(view);
        painter.drawImage(view.center() - m_picture.rect().center(), m_picture);
    }

private:
    QImage m_picture;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_qtviewer PICTURE\n");
        return 2;
    }
    // The toolkit refuses images above 256 MB by default; 100 MP take 400.
    QImageReader::setAllocationLimit(0);
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        std::fprintf(stderr, "bench_qtviewer: %s\n", qPrintable(reader.errorString()));
        return 1;
    }
    PictureWindow window(picture);
    window.setGeometry(50, 100, 900, 700);
    window.show();
    return QApplication::exec();
}

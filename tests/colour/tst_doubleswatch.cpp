#include "app/lumeno.h"
#include "colour/doubleswatch.h"
#include "tests/support/testmain.h"

#include <QTest>

namespace {

// The checkerboard tile is laid from the widget's top-left corner.
QColor checkerAt(int x, int y)
{
    return ((x % 14) < 7) == ((y % 14) < 7) ? QColor(195, 195, 195) : QColor(Qt::white);
}

// Source-over of colour onto an opaque background, within one step of the
// raster engine's rounding.
bool isOver(const QColor &actual, const QColor &background, const QColor &colour)
{
    const double alpha = colour.alphaF();
    const auto near = [alpha](int got, int under, int above) {
        return qAbs(got - int(above * alpha + under * (1 - alpha) + 0.5)) <= 1;
    };
    return actual.alpha() == 255 && near(actual.red(), background.red(), colour.red()) &&
           near(actual.green(), background.green(), colour.green()) &&
           near(actual.blue(), background.blue(), colour.blue());
}

} // namespace

// What the user sees of a picked colour: the exact pixels of both halves,
// the frame and the checkerboard that shows through translucent colours.
class TestDoubleSwatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_window = new Lumeno; } // the pixmap registry
    void cleanupTestCase() { delete m_window; }
    void paintedPixels_data();
    void paintedPixels();
    void newColourIsRepainted();

private:
    Lumeno *m_window = nullptr;
};

void TestDoubleSwatch::paintedPixels_data()
{
    QTest::addColumn<QColor>("hover");
    QTest::addColumn<QColor>("selected");
    // Invalid colours: left as constructed, which is transparent.
    QTest::newRow("nothing yet") << QColor() << QColor();
    QTest::newRow("opaque") << QColor(10, 200, 30) << QColor(250, 5, 128);
    QTest::newRow("translucent") << QColor(255, 0, 0, 128) << QColor(0, 0, 255, 64);
}

void TestDoubleSwatch::paintedPixels()
{
    QFETCH(QColor, hover);
    QFETCH(QColor, selected);

    DoubleSwatch swatch;
    swatch.resize(40, 28);
    if (hover.isValid()) {
        swatch.setHoverColor(hover, QPointF());
        swatch.setSelectedColor(selected, QPointF());
    } else {
        hover = selected = Qt::transparent;
    }
    const QImage image = swatch.grab().toImage();
    QCOMPARE(image.size(), QSize(40, 28));

    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool frame = x == 0 || y == 0 || x == 39 || y == 27;
            const QColor colour = frame ? QColor(160, 160, 164, 255) : x <= 19 ? hover : selected;
            const QColor actual = image.pixelColor(x, y);
            QVERIFY2(
                isOver(actual, checkerAt(x, y), colour),
                qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(actual.name())));
        }
    }
}

void TestDoubleSwatch::newColourIsRepainted()
{
    struct Counting : DoubleSwatch
    {
        int paints = 0;
        void paintEvent(QPaintEvent *event) override
        {
            ++paints;
            DoubleSwatch::paintEvent(event);
        }
    } swatch;
    swatch.resize(40, 28);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    QTRY_VERIFY(swatch.paints > 0);

    int before = swatch.paints;
    swatch.setHoverColor(Qt::red, QPointF());
    QTRY_VERIFY(swatch.paints > before);
    before = swatch.paints;
    swatch.setSelectedColor(Qt::blue, QPointF());
    QTRY_VERIFY(swatch.paints > before);
}

LUMENO_TEST_MAIN(TestDoubleSwatch)
#include "tst_doubleswatch.moc"

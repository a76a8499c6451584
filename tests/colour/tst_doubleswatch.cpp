#include "app/lumeno.h"
#include "colour/doubleswatch.h"
#include "tests/support/testmain.h"

#include <QHBoxLayout>
#include <QTest>

namespace {

const QColor frameGrey(160, 160, 164);
const QColor checkerGrey(195, 195, 195);

// The checkerboard tile is laid from the widget's top-left corner.
QColor checkerAt(int x, int y)
{
    return ((x % 14) < 7) == ((y % 14) < 7) ? checkerGrey : QColor(Qt::white);
}

// Source-over of colour onto an opaque background, as the raster engine
// does it on premultiplied 8-bit channels (within one step of rounding).
QColor over(const QColor &background, const QColor &colour)
{
    const double alpha = colour.alphaF();
    const auto channel = [alpha](int under, int above) {
        return int(above * alpha + under * (1 - alpha) + 0.5);
    };
    return QColor(channel(background.red(), colour.red()),
                  channel(background.green(), colour.green()),
                  channel(background.blue(), colour.blue()));
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 1 && qAbs(a.green() - b.green()) <= 1 &&
           qAbs(a.blue() - b.blue()) <= 1 && a.alpha() == 255;
}

QString describe(const QColor &c)
{
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue())
        .arg(c.alpha());
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
    void startsTransparentAtTheOrigin();
    void paintedPixels_data();
    void paintedPixels();
    void repaintsOnlyFromTheEventLoop();
    void keepsItsWidthAndTakesTheRowsHeight();

private:
    Lumeno *m_window = nullptr;
};

void TestDoubleSwatch::startsTransparentAtTheOrigin()
{
    DoubleSwatch swatch;
    QCOMPARE(swatch.hoverColor(), QColor(Qt::transparent));
    QCOMPARE(swatch.selectedColor(), QColor(Qt::transparent));
    QCOMPARE(swatch.hoverPos(), QPointF());
    QCOMPARE(swatch.selectedPos(), QPointF());

    swatch.setHoverColor(Qt::red, QPointF(1.5, 2));
    swatch.setSelectedColor(Qt::blue, QPointF(-3, 4.25));
    QCOMPARE(swatch.hoverColor(), QColor(Qt::red));
    QCOMPARE(swatch.hoverPos(), QPointF(1.5, 2));
    QCOMPARE(swatch.selectedColor(), QColor(Qt::blue));
    QCOMPARE(swatch.selectedPos(), QPointF(-3, 4.25));
}

void TestDoubleSwatch::paintedPixels_data()
{
    QTest::addColumn<QColor>("hover");
    QTest::addColumn<QColor>("selected");
    const QColor none(Qt::transparent);
    QTest::newRow("nothing yet") << none << none;
    QTest::newRow("opaque") << QColor(10, 200, 30) << QColor(250, 5, 128);
    QTest::newRow("translucent") << QColor(255, 0, 0, 128) << QColor(0, 0, 255, 64);
    QTest::newRow("opaque and transparent") << QColor(0, 0, 0) << none;
}

void TestDoubleSwatch::paintedPixels()
{
    QFETCH(QColor, hover);
    QFETCH(QColor, selected);

    DoubleSwatch swatch;
    swatch.resize(40, 28);
    swatch.setHoverColor(hover, QPointF());
    swatch.setSelectedColor(selected, QPointF());
    const QImage image = swatch.grab().toImage();
    QCOMPARE(image.size(), QSize(40, 28));

    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x < 40; ++x) {
            QColor expected;
            if (x == 0 || y == 0 || x == 39 || y == 27)
                expected = frameGrey;
            else if (x <= 19)
                expected = over(checkerAt(x, y), hover);
            else if (x <= 38)
                expected = over(checkerAt(x, y), selected);
            const QColor actual = image.pixelColor(x, y);
            QVERIFY2(near(actual, expected),
                     qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(describe(actual), describe(expected))));
        }
    }

    // Translucent colours let the checkerboard through, opaque ones hide it.
    const bool hoverShowsChecker = image.pixelColor(1, 1) != image.pixelColor(8, 1);
    QCOMPARE(hoverShowsChecker, hover.alpha() < 255);
}

void TestDoubleSwatch::repaintsOnlyFromTheEventLoop()
{
    DoubleSwatch swatch;
    swatch.resize(40, 28);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    swatch.setSelectedColor(Qt::blue, QPointF());
    QTRY_COMPARE(swatch.grab().toImage().pixelColor(30, 10), QColor(Qt::blue));

    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    swatch.installEventFilter(&counter);
    swatch.setHoverColor(Qt::red, QPointF());
    QCOMPARE(counter.paints, 0);
    QTRY_VERIFY(counter.paints > 0);
    const QImage image = swatch.grab().toImage();
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(image.pixelColor(30, 10), QColor(Qt::blue));
}

void TestDoubleSwatch::keepsItsWidthAndTakesTheRowsHeight()
{
    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *swatch = new DoubleSwatch(&row);
    layout->addWidget(swatch);
    layout->addStretch(1);
    row.resize(100, 28);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    for (const QSize size : {QSize(100, 28), QSize(600, 28), QSize(600, 5), QSize(600, 300)}) {
        row.resize(size);
        QTRY_COMPARE(swatch->size(), QSize(40, size.height()));
    }
}

LUMENO_TEST_MAIN(TestDoubleSwatch)
#include "tst_doubleswatch.moc"

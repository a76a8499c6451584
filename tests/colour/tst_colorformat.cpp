#include "app/lumeno.h"
#include "colour/colorformat.h"
#include "document/image.h"
#include "selection/selectionitem.h"
#include "tests/support/testmain.h"
#include "view/view.h"

#include <QTest>

#include <limits>

// The format language is what users store in their settings, so its exact
// replacement order and its oddities are pinned down here.
class TestColorFormat : public QObject
{
    Q_OBJECT

private slots:
    void formatting_data();
    void formatting();
    void selectionOfTheWindowsView();
};

void TestColorFormat::formatting_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QString>("expected");

    const QColor orange(255, 128, 0, 255);
    const QColor small(10, 11, 12, 13);
    const QPointF origin;
    const QRectF none;
    const QRectF integral(10, 20, 5, 3);
    const auto row = [](const char *name, const char *format, const QColor &color,
                        const QPointF &point, const QRectF &selection, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(format) << color << point << selection
                            << QString::fromUtf8(expected);
    };

    row("every token once",
        "%r %g %b %a %rr %gg %bb %aa %rrr %ggg %bbb %aaa %x %y %x0 %y0 %x1 %y1 %w %h", small,
        QPointF(1.5, 2.5), integral, "10 11 12 13 0a 0b 0c 0d 010 011 012 013 1 2 10 20 15 23 5 3");
    row("another colour model reads as rgb", "%r,%g,%b,%a", QColor::fromHsv(0, 255, 255, 7), origin,
        none, "255,0,0,7");

    // The replacement order.
    row("four letters: three, then a literal", "%rrrr", orange, origin, none, "255r");
    row("five letters: three, then a literal pair", "%ggggg", orange, origin, none, "128gg");
    row("tokens are lower case only", "%R%G%B", orange, origin, none, "%R%G%B");
    row("x1 always means the right edge", "%x1", orange, QPointF(7, 8), integral, "15");
    row("x10 is the right edge and a zero", "%x10", orange, QPointF(7, 8), integral, "150");
    row("x2 is the point and a two", "%x2", orange, QPointF(7, 8), integral, "72");

    // Percent signs without a token, and ones that meet a replacement.
    row("no percent at all", "plain text", orange, origin, none, "plain text");
    row("argument markers stay", "%1 %%", orange, origin, none, "%1 %%");
    row("percent before a token stays", "%%r", orange, origin, none, "%255");
    row("hex output meets a literal percent", "%%rr", QColor(171, 0, 0), origin, none, "255b");

    // Positions: floored, signed, the selection taken as it is.
    row("point floored", "%x,%y", orange, QPointF(12.7, -0.5), none, "12,-1");
    row("fractional selection: right edge floored from the sum", "%x0 %y0 %x1 %y1 %w %h", orange,
        origin, QRectF(10.5, 20.25, 100.75, 50.5), "10 20 111 70 100 50");
    row("selection not normalized", "%x0 %x1 %w", orange, origin, QRectF(20, 0, -5.5, 1),
        "20 14 -6");

    // Beyond the int range positions saturate; NaN gives 0.
    const double huge = 1e12;
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const char *beyond = "%x %x0 %w";
    row("above int", beyond, orange, QPointF(huge, 0), QRectF(huge, 0, huge, 0),
        "2147483647 2147483647 2147483647");
    row("below int", beyond, orange, QPointF(-huge, 0), QRectF(-huge, 0, -huge, 0),
        "-2147483648 -2147483648 -2147483648");
    row("infinity", beyond, orange, QPointF(inf, 0), QRectF(inf, 0, inf, 0),
        "2147483647 2147483647 2147483647");
    row("not a number", beyond, orange, QPointF(nan, 0), QRectF(nan, 0, nan, 0), "0 0 0");
}

void TestColorFormat::formatting()
{
    QFETCH(QString, format);
    QFETCH(QColor, color);
    QFETCH(QPointF, point);
    QFETCH(QRectF, selection);
    QFETCH(QString, expected);

    const ColorFormat colorFormat(format);
    QCOMPARE(colorFormat.formatColor(color, point, selection), expected);
    QCOMPARE(colorFormat.formatString(), format);
}

void TestColorFormat::selectionOfTheWindowsView()
{
    QCOMPARE(ColorFormat().formatString(), QStringLiteral("#%rr%gg%bb"));
    // Read at the moment of each call: without a window, without a picture,
    // with a selection.
    const ColorFormat format(QStringLiteral("%x0 %y0 %x1 %y1 %w %h|%x,%y"));
    QCOMPARE(format.formatColor(Qt::red, QPointF(4.5, 5.5)), QStringLiteral("0 0 0 0 0 0|4,5"));
    Lumeno window;
    QCOMPARE(format.formatColor(Qt::red, QPointF(4.5, 5.5)), QStringLiteral("0 0 0 0 0 0|4,5"));
    QImage pixels(200, 100, QImage::Format_ARGB32);
    pixels.fill(Qt::white);
    Image image(QStringLiteral("/tmp/selection.png"), pixels, false, true);
    window.view()->setImage(&image);
    window.view()->selectionItem()->setFromPoints(QPointF(10, 20), QPointF(15, 23));
    QCOMPARE(format.formatColor(Qt::red, QPointF(4.5, 5.5)), QStringLiteral("10 20 15 23 5 3|4,5"));
}

LUMENO_TEST_MAIN(TestColorFormat)
#include "tst_colorformat.moc"

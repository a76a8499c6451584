#include "app/lumeno.h"
#include "colour/colorformat.h"
#include "document/image.h"
#include "selection/selectionitem.h"
#include "tests/support/testmain.h"
#include "view/view.h"

#include <QTest>

#include <cmath>
#include <limits>

// The format language is what users store in their settings, so its exact
// replacement order and its oddities are pinned down here.
class TestColorFormat : public QObject
{
    Q_OBJECT

private slots:
    void defaultFormat();
    void formatting_data();
    void formatting();
    void pointsBeyondTheIntRangeSaturate_data();
    void pointsBeyondTheIntRangeSaturate();
    void selectionWithoutWindow();
    void selectionOfTheWindowsView();
    void menuLabel_data();
    void menuLabel();
};

void TestColorFormat::defaultFormat()
{
    QCOMPARE(ColorFormat().formatString(), QStringLiteral("#%rr%gg%bb"));
    QCOMPARE(ColorFormat().formatColor(QColor(255, 128, 0), QPointF()), QStringLiteral("#ff8000"));
}

void TestColorFormat::formatting_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QString>("expected");

    const QColor orange(255, 128, 0, 255);
    const QColor small(10, 11, 12, 13);
    const QColor ab(171, 0, 0, 255);
    const QColor outside(0, 0, 0, 0);
    const QPointF origin;
    const QRectF none;
    const QRectF fractional(10.5, 20.25, 100.75, 50.5);
    const QRectF integral(10, 20, 5, 3);

    const auto row = [](const char *name, const char *format, const QColor &color,
                        const QPointF &point, const QRectF &selection, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(format) << color << point << selection
                            << QString::fromUtf8(expected);
    };

    // Channels in their three forms.
    row("hex rgb", "#%rr%gg%bb", orange, origin, none, "#ff8000");
    row("hex rgba", "#%rr%gg%bb%aa", orange, origin, none, "#ff8000ff");
    row("decimal", "%r,%g,%b,%a", orange, origin, none, "255,128,0,255");
    row("css rgb", "rgb(%r,%g,%b)", orange, origin, none, "rgb(255,128,0)");
    row("css rgba", "rgba(%r,%g,%b,%a)", orange, origin, none, "rgba(255,128,0,255)");
    row("three digits", "%rrr %ggg %bbb", orange, origin, none, "255 128 000");
    row("hex zero-filled, lower case", "%rr%gg%bb%aa", small, origin, none, "0a0b0c0d");
    row("three digits and decimal", "%rrr,%a", small, origin, none, "010,13");
    row("three-digit alpha", "%aaa", small, origin, none, "013");
    row("transparent black", "%r,%g,%b,%a", outside, origin, none, "0,0,0,0");
    row("transparent black, hex", "#%rr%gg%bb%aa", outside, origin, none, "#00000000");
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
    row("empty", "", orange, origin, none, "");
    row("no percent at all", "plain text", orange, origin, none, "plain text");
    row("argument markers stay", "%1 %%", orange, origin, none, "%1 %%");
    row("percent before a token stays", "%%r", orange, origin, none, "%255");
    row("hex output meets a literal percent", "%%rr", ab, origin, none, "255b");
    row("hex output makes no token by itself", "%rr", QColor(0xaa, 0, 0), origin, none, "aa");
    row("trailing percent", "%r%", orange, origin, none, "255%");

    // The point: floored, signed.
    row("fractional point", "%x,%y", orange, QPointF(12.7, 3.2), none, "12,3");
    row("negative fraction floors down", "%x,%y", orange, QPointF(-0.5, 4.0), none, "-1,4");
    row("negative whole", "%x,%y", orange, QPointF(-3, -7), none, "-3,-7");
    row("point next to hex", "%x%rr", orange, QPointF(1.9, 0), none, "1ff");

    // The selection.
    row("fractional selection", "%x0 %y0 %x1 %y1 %w %h", orange, origin, fractional,
        "10 20 111 70 100 50");
    row("integral selection, exclusive edges", "%x0 %y0 %x1 %y1 %w %h", orange, origin, integral,
        "10 20 15 23 5 3");
    row("no selection", "%x0 %y0 %x1 %y1 %w %h", orange, origin, none, "0 0 0 0 0 0");
    row("selection taken as it is, not normalized", "%x0 %x1 %w", orange, origin,
        QRectF(20, 0, -5.5, 1), "20 14 -6");
    row("every token once",
        "%r %g %b %a %rr %gg %bb %aa %rrr %ggg %bbb %aaa %x %y %x0 %y0 %x1 %y1 %w %h", small,
        QPointF(1.5, 2.5), integral, "10 11 12 13 0a 0b 0c 0d 010 011 012 013 1 2 10 20 15 23 5 3");
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

void TestColorFormat::pointsBeyondTheIntRangeSaturate_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("expected");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("largest int") << 2147483647.5 << QStringLiteral("2147483647");
    QTest::newRow("beyond") << 1e12 << QStringLiteral("2147483647");
    QTest::newRow("smallest int") << -2147483648.0 << QStringLiteral("-2147483648");
    QTest::newRow("below") << -1e12 << QStringLiteral("-2147483648");
    QTest::newRow("infinity") << infinity << QStringLiteral("2147483647");
    QTest::newRow("minus infinity") << -infinity << QStringLiteral("-2147483648");
    QTest::newRow("not a number") << nan << QStringLiteral("0");
}

void TestColorFormat::pointsBeyondTheIntRangeSaturate()
{
    QFETCH(double, x);
    QFETCH(QString, expected);
    const ColorFormat format(QStringLiteral("%x|%x0|%w"));
    QCOMPARE(format.formatColor(Qt::red, QPointF(x, 0), QRectF(x, 0, x, 0)),
             expected + QLatin1Char('|') + expected + QLatin1Char('|') + expected);
}

void TestColorFormat::selectionWithoutWindow()
{
    QVERIFY(!Lumeno::instance());
    const ColorFormat format(QStringLiteral("%x0 %y0 %x1 %y1 %w %h|%x,%y|%r"));
    QCOMPARE(format.formatColor(QColor(1, 2, 3), QPointF(4.5, 5.5)),
             QStringLiteral("0 0 0 0 0 0|4,5|1"));
}

void TestColorFormat::selectionOfTheWindowsView()
{
    Lumeno window;
    QVERIFY(window.view());
    QImage pixels(200, 100, QImage::Format_ARGB32);
    pixels.fill(Qt::white);
    Image image(QStringLiteral("/tmp/selection.png"), pixels, false, true);
    window.view()->setImage(&image);
    const ColorFormat format(QStringLiteral("%x0 %y0 %x1 %y1 %w %h"));
    QCOMPARE(format.formatColor(Qt::red, QPointF()), QStringLiteral("0 0 0 0 0 0"));

    // Read at the moment of the call: no caching between calls.
    window.view()->selectionItem()->setFromPoints(QPointF(10, 20), QPointF(15, 23));
    QCOMPARE(format.formatColor(Qt::red, QPointF()), QStringLiteral("10 20 15 23 5 3"));
    window.view()->selectionItem()->setFromPoints(QPointF(199, 99), QPointF(150, 0));
    QCOMPARE(format.formatColor(Qt::red, QPointF()), QStringLiteral("150 0 199 99 49 99"));
}

void TestColorFormat::menuLabel_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("label");
    QTest::newRow("decimal") << QStringLiteral("%r,%g,%b,%a") << QStringLiteral("r,g,b,a");
    QTest::newRow("hex") << QStringLiteral("#%rr%gg%bb%aa") << QStringLiteral("#rrggbbaa");
    QTest::newRow("css") << QStringLiteral("rgba(%r,%g,%b,%a)") << QStringLiteral("rgba(r,g,b,a)");
    QTest::newRow("percents only") << QStringLiteral("%%%") << QString();
    QTest::newRow("no percent") << QStringLiteral("a & b") << QStringLiteral("a & b");
    QTest::newRow("empty") << QString() << QString();
}

void TestColorFormat::menuLabel()
{
    QFETCH(QString, format);
    QFETCH(QString, label);
    QCOMPARE(ColorFormat(format).menuLabel(), label);
}

LUMENO_TEST_MAIN(TestColorFormat)
#include "tst_colorformat.moc"

#include "colour/colorformat.h"
#include "colour/colorwidget.h"
#include "colour/doubleswatch.h"
#include "colour/formatlist.h"
#include "colour/formatmenu.h"
#include "colour/recentcolors.h"
#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "tests/support/modals.h"
#include "tests/support/testmain.h"
#include "util/artwork.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QClipboard>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>

namespace {

void storeFormats(const QStringList &strings, const QVariant &index)
{
    QSettings settings;
    settings.clear();
    settings.setValue(QStringLiteral("colors/format_strings"), strings);
    settings.setValue(QStringLiteral("colors/format_index"), index);
}

// The format menu as the user reads it: "-" for a separator, "*" before the
// checked entry, ">" before the submenu, whose entries follow in brackets.
QString menuText(QMenu *menu)
{
    QStringList entries;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator())
            entries << QStringLiteral("-");
        else if (a->menu())
            entries << QLatin1Char('>') + a->text() + '[' + menuText(a->menu()) + ']';
        else
            entries << (a->isChecked() ? QStringLiteral("*") : QString()) + a->text();
    }
    return entries.join(QLatin1Char('|'));
}

QString expectedMenu(const QStringList &custom, int checked, const QStringList &recent = {},
                     int sample = 0)
{
    QStringList entries = {"Point Sample",
                           "3 x 3 Average",
                           "5 x 5 Average",
                           "-",
                           "*Colour-Managed Display",
                           "-",
                           "r,g,b,a",
                           "#rrggbbaa",
                           "#rrggbb",
                           "rgb(r,g,b)",
                           "rgba(r,g,b,a)",
                           "-"};
    entries[sample].prepend(QLatin1Char('*'));
    QStringList labels;
    for (const QString &string : custom)
        labels << QString(string).remove(QLatin1Char('%'));
    entries << labels;
    entries[checked < 5 ? checked + 6 : checked + 7].prepend(QLatin1Char('*'));
    entries << QStringLiteral("-") << QStringLiteral("Add Custom");
    if (!custom.isEmpty())
        entries << ">Remove Custom[" + (labels + QStringList{"-", "Remove All"}).join('|') + ']';
    entries << QStringLiteral("-") << ">Recent[" + recent.join('|') + ']';
    return entries.join(QLatin1Char('|'));
}

// The colour panel with models of its own, shown at the width it asks for.
struct Panel
{
    Panel() { widget.resize(widget.sizeHint()); }

    // Shows a picture whose pixel hoverAt has hoverColour and clickAt
    // clickColour, and hovers and clicks them.
    void pick(const QColor &hoverColour, QPoint hoverAt, const QColor &clickColour, QPoint clickAt,
              const QColorSpace &space = QColorSpace())
    {
        QImage picture(100, 100, QImage::Format_ARGB32);
        picture.fill(Qt::black);
        picture.setColorSpace(space);
        picture.setPixelColor(hoverAt, hoverColour);
        picture.setPixelColor(clickAt, clickColour);
        document.open(QStringLiteral("/tmp/a.png"), picture);
        widget.resize(widget.sizeHint());
        pickModel.hover(QPointF(hoverAt) + QPointF(0.5, 0.5));
        pickModel.click(QPointF(clickAt) + QPointF(0.5, 0.5));
    }
    QString menu() const { return menuText(widget.formatButton()->buttonMenu()); }

    Document document;
    Selection selection{&document};
    PickModel pickModel{&document};
    FormatList formats;
    RecentColors recent;
    Artwork artwork{1.0};
    ColorWidget widget{&pickModel, &selection, &formats, &recent, artwork};
};

} // namespace

class TestColour : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void formatting_data();
    void formatting();
    void swatch();
    void storedFormats_data();
    void storedFormats();
    void addingAndRemoving_data();
    void addingAndRemoving();
    void userTextIsData();
    void samplingAndRecentColours();
    void contrastToolTip();
    void copyTextFollowsTheSelection();
    void colourManagedPanel();
};

// The format language is what users store in their settings: its exact
// replacement order and its oddities stay.
void TestColour::formatting_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QRectF>("selection");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QColor>("stored");
    QTest::addColumn<QColorSpace>("space");

    const QColor orange(255, 128, 0);
    const QRectF integral(10, 20, 5, 3);
    const auto row = [](const char *name, const char *format, const QColor &color,
                        const QPointF &point, const QRectF &selection, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(format) << color << point << selection
                            << QString::fromUtf8(expected) << QColor() << QColorSpace();
    };
    row("every token once",
        "%r %g %b %a %rr %gg %bb %aa %rrr %ggg %bbb %aaa %x %y %x0 %y0 %x1 %y1 %w %h",
        QColor(10, 11, 12, 13), QPointF(1.5, 2.5), integral,
        "10 11 12 13 0a 0b 0c 0d 010 011 012 013 1 2 10 20 15 23 5 3");
    row("lower case only, argument markers stay", "%R %1 %%", orange, {}, {}, "%R %1 %%");
    row("x1 is the right edge, x10 and a zero", "%x1 %x10 %x2", orange, QPointF(7, 8), integral,
        "15 150 72");
    row("hex output meets a literal percent", "%%rr", QColor(171, 0, 0), {}, {}, "255b");
    row("right edge floored from the sum", "%x0 %y0 %x1 %y1 %w %h", orange, {},
        QRectF(10.5, 20.25, 100.75, 50.5), "10 20 111 70 100 50");
    row("selection not normalized", "%x0 %x1 %w", orange, {}, QRectF(20, 0, -5.5, 1), "20 14 -6");
    // The colour models, against published values (CSS Color 4); HSL and
    // HSV in whole degrees and percent, OKLCH lightness and chroma to three
    // decimals and hue to two, channels to three.
    const char *models = "%Lh %Ls %Ll|%Vs %Vv|%Ol %Oc %Oh|%Fr %Fg %Fb %Fa";
    const QList<QPair<const char *, const char *>> published = {
        {"#ff0000", "0 100 50|100 100|0.628 0.258 29.23|1.000 0.000 0.000 1.000"},
        {"#663399", "270 50 40|67 60|0.440 0.160 303.37|0.400 0.200 0.600 1.000"},
        {"#123456", "210 65 20|79 34|0.319 0.072 251.17|0.071 0.204 0.337 1.000"},
        {"#00000080", "0 0 0|0 0|0.000 0.000 0.00|0.000 0.000 0.000 0.502"}};
    for (const auto &[name, expected] : published) {
        QColor colour(QLatin1String(name).left(7));
        colour.setAlpha(QByteArray(name).size() > 7 ? 0x80 : 255);
        row(name, models, colour, {}, {}, expected);
    }
    row("a hue just below 360 is 0", "%Lh %Vh", QColor(255, 0, 1), {}, {}, "0 0");
    // No older token changes: "%hue" is still the height and "ue".
    row("older tokens keep their output", "%hue %Lhh %%Lh", QColor(255, 0, 0), {},
        QRectF(0, 0, 4, 7), "7ue 0h %0");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    row("beyond the int range, not a number", "%x %y %x0 %w", orange, QPointF(1e12, -1e12),
        QRectF(nan, 0, -1e12, 0), "2147483647 -2147483648 0 -2147483648");

    // The file's own values beside the shown ones.
    const auto stored = [](const char *name, const char *format, const QColor &shown,
                           const QColor &stored, const QColorSpace &space, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(format) << shown << QPointF() << QRectF()
                            << QString::fromUtf8(expected) << stored << space;
    };
    stored("Display P3", "%r,%g,%b %Sr,%Sg,%Sb,%Sa %Pn %Pc", QColor(215, 93, 31),
           QColor(200, 100, 50), QColorSpace::DisplayP3,
           "215,93,31 200,100,50,255 Display P3 color(display-p3 0.784 0.392 0.196)");
    stored("untagged: stored is shown", "%Sr %Sa %Pn %Pc", QColor(255, 128, 0, 128), QColor(),
           QColorSpace(), "255 128 sRGB color(srgb 1.000 0.502 0.000 / 0.502)");
    stored("Adobe RGB", "%Pc", QColor(227, 100, 42), QColor(200, 100, 50), QColorSpace::AdobeRgb,
           "color(a98-rgb 0.784 0.392 0.196)");
    // CSS has no name for it: the colour in sRGB, unclipped.
    stored("unnamed profile", "%Pn %Pc", Qt::red, Qt::red,
           QColorSpace(QColorSpace::Primaries::AdobeRgb, QColorSpace::TransferFunction::Linear),
           "unnamed profile color(srgb 1.158 0.000 0.000)");
    QColorSpace named(QColorSpace::DisplayP3);
    named.setDescription(QStringLiteral("%Sr %x %Pc"));
    stored("a profile's name is data", "%Pn", Qt::red, Qt::red, named, "%Sr %x %Pc");
}

void TestColour::formatting()
{
    QFETCH(QString, format);
    QFETCH(QColor, color);
    QFETCH(QPointF, point);
    QFETCH(QRectF, selection);
    QFETCH(QString, expected);
    QFETCH(QColor, stored);
    QFETCH(QColorSpace, space);
    QCOMPARE(ColorFormat(format).formatColor(color, point, selection, {stored, space}), expected);
}

void TestColour::swatch()
{
    Panel panel;
    panel.pick(QColor(255, 0, 0, 128), QPoint(1, 1), QColor(10, 200, 30), QPoint(2, 2));
    DoubleSwatch *swatch = panel.widget.swatch();
    swatch->resize(40, 28);
    const QImage image = swatch->grab().toImage();
    // In a grey frame, the hovered colour lies over a checkerboard of 7-pixel
    // squares by its alpha on the left, the clicked one on the right.
    const QList<QPair<QPoint, QRgb>> expected = {
        {{0, 5}, qRgb(160, 160, 164)},  {{3, 3}, qRgb(225, 97, 97)},
        {{10, 3}, qRgb(255, 127, 127)}, {{19, 10}, qRgb(255, 127, 127)},
        {{20, 3}, qRgb(10, 200, 30)},   {{38, 26}, qRgb(10, 200, 30)}};
    for (const auto &[at, colour] : expected)
        QCOMPARE(QColor(image.pixel(at)).name(), QColor(colour).name());
}

void TestColour::storedFormats_data()
{
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("kept"); // custom formats read, from the first; -1: all

    const QStringList one = {QStringLiteral("K1")};
    QTest::newRow("first run") << QStringList() << QVariant() << 0 << -1;
    QTest::newRow("beyond the end") << one << QVariant(7) << 5 << -1;
    // Texts the settings file could get wrong.
    QTest::newRow("syntax, quotes, commas, spaces, duplicates")
        << QStringList{"@Invalid()", "\"%r\" \\n \\%g", "%r, %g", "   ", "\u8272 %rr", "\u8272 %rr"}
        << QVariant(10) << 10 << -1;
    // Bounds: a string over 1000 characters is dropped and the index follows
    // its own string, or falls back to the first format; past 100 strings the
    // rest are left out.
    const QString longest(1000, QLatin1Char('x'));
    QTest::newRow("too long, index follows")
        << QStringList{"a", longest + 'x', longest} << QVariant(7) << 6 << -2;
    QStringList many;
    for (int i = 0; i < 150; ++i)
        many.append(QString::number(i));
    QTest::newRow("over 100, index kept") << many << QVariant(104) << 104 << 100;
    QTest::newRow("over 100, index left out") << many << QVariant(125) << 0 << 100;
}

void TestColour::storedFormats()
{
    QFETCH(QStringList, strings);
    QFETCH(QVariant, index);
    QFETCH(int, expected);
    QFETCH(int, kept);

    if (index.isValid())
        storeFormats(strings, index);
    if (kept == -2)
        strings.removeAt(1);
    else if (kept >= 0)
        strings = strings.mid(0, kept);
    {
        Panel panel;
        QCOMPARE(panel.formats.currentIndex(), expected);
        QCOMPARE(panel.menu(), expectedMenu(strings, expected));
        QCOMPARE(panel.widget.clickText(),
                 panel.formats.current().formatColor(Qt::transparent, QPointF(), QRectF()));
    }
    // Written back at once.
    QCOMPARE(QSettings().value(QStringLiteral("colors/format_strings")).toStringList(), strings);
    QCOMPARE(QSettings().value(QStringLiteral("colors/format_index")).toInt(), expected);
}

void TestColour::addingAndRemoving_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("id"); // -1 Add Custom, -2 Remove All, 5 + custom count + k: remove k
    QTest::addColumn<QString>("answer"); // Yes, No, or the add dialog's closing and typed text
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("expectedIndex");

    const QStringList k1 = {"K1"}, k123 = {"K1", "K2", "K3"};
    QTest::newRow("add, Return") << k1 << 2 << -1 << "Return %r-%g" << QStringList{"K1", "%r-%g"}
                                 << 6;
    QTest::newRow("add from a custom format, OK")
        << k1 << 5 << -1 << "OK %x,%y" << QStringList{"K1", "%x,%y"} << 6;
    QTest::newRow("add nothing") << k1 << 3 << -1 << "Return " << k1 << 3;
    QTest::newRow("add, Escape") << k1 << 4 << -1 << "Escape %r" << k1 << 4;
    // Removing keeps the index's number where it can.
    QTest::newRow("remove the current one")
        << k123 << 6 << 9 << "Yes" << QStringList{"K1", "K3"} << 6;
    QTest::newRow("remove the current last one")
        << k123 << 7 << 10 << "Yes" << QStringList{"K1", "K2"} << 6;
    QTest::newRow("declined") << k123 << 6 << 9 << "No" << k123 << 6;
    QTest::newRow("remove all, built-in current") << k123 << 2 << -2 << "Yes" << QStringList() << 2;
}

void TestColour::addingAndRemoving()
{
    QFETCH(QStringList, before);
    QFETCH(int, index);
    QFETCH(int, id);
    QFETCH(QString, answer);
    QFETCH(QStringList, after);
    QFETCH(int, expectedIndex);

    storeFormats(before, index);
    Panel panel;
    panel.pick(QColor(1, 2, 3, 4), QPoint(19, 70), QColor(5, 6, 7), QPoint(30, 5));
    panel.selection.setFromPoints(QPointF(1, 2), QPointF(4, 6));
    const QString startFormat = panel.formats.current().formatString();
    QSettings().clear();

    Modals modals(answer == QLatin1String("No") ? QMessageBox::No : QMessageBox::Yes);
    modals.close = answer.section(QLatin1Char(' '), 0, 0);
    modals.typed = answer.section(QLatin1Char(' '), 1);
    panel.widget.formatMenu()->trigger(id);
    // The dialog opens with the current format and previews the clicked
    // colour in the one typed.
    const QRectF selection(1, 2, 3, 4);
    if (id == -1)
        QCOMPARE(modals.seen,
                 (QStringList{startFormat,
                              "= " + ColorFormat(modals.typed)
                                         .formatColor(QColor(5, 6, 7), {30.5, 5.5}, selection)}));
    else
        QCOMPARE(modals.seen.size(), 1);

    QCOMPARE(panel.formats.currentIndex(), expectedIndex);
    QCOMPARE(panel.menu(), expectedMenu(after, expectedIndex));
    const ColorFormat current = panel.formats.current();
    QCOMPARE(panel.widget.hoverLabel()->text(),
             current.formatColor(QColor(1, 2, 3, 4), {19.5, 70.5}, selection));
    QCOMPARE(panel.widget.copyButton()->text(),
             current.formatColor(QColor(5, 6, 7), {30.5, 5.5}, selection));
    // Written whenever something changed.
    if (after != before || expectedIndex != index) {
        QCOMPARE(QSettings().value(QStringLiteral("colors/format_strings")).toStringList(), after);
        QCOMPARE(QSettings().value(QStringLiteral("colors/format_index")).toInt(), expectedIndex);
    }
}

void TestColour::userTextIsData()
{
    storeFormats({QStringLiteral("<b>%r&%g</b> &&")}, 5);
    Panel panel;
    panel.pick(QColor(1, 2, 3), QPoint(0, 0), QColor(4, 5, 6), QPoint(1, 0));
    // Markup stays text; ampersands are no mnemonics.
    QCOMPARE(panel.widget.hoverLabel()->text(), QStringLiteral("<b>1&2</b> &&"));
    QCOMPARE(panel.widget.hoverLabel()->textFormat(), Qt::PlainText);
    QVERIFY(QKeySequence::mnemonic(panel.widget.copyButton()->text()).isEmpty());
    QVERIFY(panel.menu().contains("*<b>r&&g</b> &&&&"));
    QTest::mouseClick(panel.widget.copyButton(), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<b>4&5</b> &&"));
}

void TestColour::samplingAndRecentColours()
{
    storeFormats({}, 2);
    QSettings().setValue(QStringLiteral("colors/recent_colors"),
                         QStringList{"a", "", "a", QString(5000, 'x'), "b"});
    Panel panel;
    QCOMPARE(panel.recent.texts(), (QStringList{"a", "b"}));

    // Eleven copies and a repeat: the last ten, newest first, once each.
    for (const int red : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 5}) {
        panel.pick(Qt::black, QPoint(0, 0), QColor(red, 0, 0), QPoint(50, 50));
        QTest::mouseClick(panel.widget.copyButton(), Qt::LeftButton);
    }
    QStringList recent = {"#050000", "#0a0000", "#090000", "#080000", "#070000",
                          "#060000", "#040000", "#030000", "#020000", "#010000"};
    QCOMPARE(panel.recent.texts(), recent);
    panel.widget.formatMenu()->trigger(-12); // 5 x 5
    QCOMPARE(panel.pickModel.sampleSize(), 5);
    QCOMPARE(panel.menu(), expectedMenu({}, 2, recent, 2));
    // Choosing one copies it again.
    panel.widget.formatMenu()->trigger(-109);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("#010000"));
    recent.move(9, 0);

    Panel next; // the next run
    QCOMPARE(next.menu(), expectedMenu({}, 2, recent, 2));
}

void TestColour::contrastToolTip()
{
    // The format is the user's text: it stays text in the rich tool tip.
    storeFormats({"<b>%rr"}, 5);
    Panel panel;
    panel.pick(QColor(0x777777), QPoint(0, 0), Qt::white, QPoint(1, 0));
    QWidget *swatch = panel.widget.swatch();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), swatch->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(swatch, &help);
    QCOMPARE(
        swatch->toolTip(),
        "<qt>Hovered: &lt;b&gt;77<br>Clicked: &lt;b&gt;ff<br>Contrast ratio: 4.48:1<br>"
        "AA: normal text fail, large text pass<br>AAA: normal text fail, large text fail</qt>");
}

// The copy button and Ctrl+D give the clicked colour with the selection as
// it is now, however it changed since the click.
void TestColour::copyTextFollowsTheSelection()
{
    storeFormats({"%x0,%y0 %wx%h"}, 5);
    Panel panel;
    panel.pick(Qt::red, QPoint(3, 3), Qt::blue, QPoint(4, 4));
    panel.selection.setFromPoints(QPointF(40, 30), QPointF(91, 95));
    QCOMPARE(panel.widget.copyButton()->text(), QStringLiteral("40,30 51x65"));
    panel.selection.nudge(QPoint(1, 0), false);
    QCOMPARE(panel.widget.copyButton()->text(), QStringLiteral("41,30 51x65"));
    panel.selection.selectAll();
    panel.widget.copyColor();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("0,0 100x100"));
}

// A picture with a profile is shown and picked in sRGB; the menu's switch,
// kept in the settings, shows the stored values instead.
void TestColour::colourManagedPanel()
{
    storeFormats({"%rr%gg%bb %Sr"}, 5);
    Panel panel;
    panel.pick(QColor(200, 100, 50), QPoint(0, 0), Qt::red, QPoint(1, 0), QColorSpace::DisplayP3);
    QCOMPARE(panel.widget.hoverText(), QStringLiteral("d75d1f 200"));
    QWidget *swatch = panel.widget.swatch();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), swatch->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(swatch, &help);
    QVERIFY2(swatch->toolTip().endsWith(
                 "<br>Color profile: Display P3 (shown in sRGB)<br>Clicked: outside sRGB, shown "
                 "clipped; unclipped: 1.093 -0.227 -0.150</qt>"),
             qPrintable(swatch->toolTip()));

    panel.widget.formatMenu()->trigger(-20);
    QCOMPARE(panel.widget.hoverText(), QStringLiteral("c86432 200"));
    QCOMPARE(panel.widget.clickText(), QStringLiteral("ff0000 255"));
    Panel next; // the next run
    QVERIFY(!next.document.colorManaged());
    QVERIFY(next.menu().contains("|Colour-Managed Display|"));
}

LUMENO_TEST_MAIN(TestColour)

#include "tst_colour.moc"

#include "app/lumeno.h"
#include "app/stylesheet.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"
#include "tests/support/testmain.h"

#include <QApplication>
#include <QFrame>
#include <QRegularExpression>
#include <QTest>

// The style sheet writes each colour once, as a variable; the window expands
// the variables at start-up and the result must reach the widgets.
class TestStyleSheet : public QObject
{
    Q_OBJECT

private slots:
    void expansion_data();
    void expansion();
    void installedAtStartUp();
};

void TestStyleSheet::expansion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const char *text, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(expected);
    };
    row("definition and use", "$tab-pane-color = \"rgb(1,2,3)\"\nb: %tab-pane-color%;",
        "$tab-pane-color = \"rgb(1,2,3)\"\nb: rgb(1,2,3);");
    row("no definitions", "A { margin: 0px; } %x%", "A { margin: 0px; } %x%");
    row("last line without line break", "%x%\n$x = \"red\"", "%x%\n$x = \"red\"");
    row("blanks before the line break", "$x = \"red\" \t\n%x%", "$x = \"red\" \t\nred");
    row("line breaks around '='", "$x\n =\n \"red\"\n%x%", "$x\n =\n \"red\"\nred");
    row("CRLF", "/*\r\n$x = \"red\"\r\n$y = \"1px\"\r\n*/\r\nA { b: %x% %y%; }\r\n",
        "/*\r\n$x = \"red\"\r\n$y = \"1px\"\r\n*/\r\nA { b: red 1px; }\r\n");
    row("empty value", "$x = \"\"\n[%x%]", "$x = \"\"\n[]");
    row("case sensitive", "$x = \"red\"\n%X% %x%", "$x = \"red\"\n%X% red");
    row("prefix of a longer name", "$a-b = \"1\"\n$a-b-c = \"2\"\n%a-b-c% %a-b%",
        "$a-b = \"1\"\n$a-b-c = \"2\"\n2 1");
    row("first definition wins", "$x = \"1\"\n$x = \"2\"\n%x%", "$x = \"1\"\n$x = \"2\"\n1");
    row("undefined placeholder stays", "$x = \"red\"\n%y% %x", "$x = \"red\"\n%y% %x");
    row("quote inside the value", "$x = \"a\"b\"\n%x%", "$x = \"a\"b\"\n%x%");
    row("no closing quote", "$x = \"red\n%x%", "$x = \"red\n%x%");
    row("non-ASCII letters in names", "$grün = \"green\"\n%grün%", "$grün = \"green\"\ngreen");
    row("later values reach earlier placeholders", "$a = \"%b%\"\n$b = \"x\"\n%a%",
        "$a = \"x\"\n$b = \"x\"\nx");
}

void TestStyleSheet::expansion()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(expandStyleSheetVariables(text), expected);
}

void TestStyleSheet::installedAtStartUp()
{
    QVERIFY(qApp->styleSheet().isEmpty());
    Lumeno window;
    const QString sheet = qApp->styleSheet();
    QVERIFY(sheet.contains(QStringLiteral("background-color: rgb(210,226,246);")));
    QVERIFY2(!sheet.contains(QRegularExpression(QStringLiteral("%[\\w-]+%"))),
             "a placeholder is left");

    // The rules reach the kit's buttons by type name: ToolButton's border,
    // inherited by MenuButton, and not on a plain tool button.
    const QRgb border = qRgb(184, 198, 215);
    ToolButton toolButton(nullptr, QStringLiteral("crop"), QString(), QString(), QString());
    MenuButton menuButton(nullptr, QStringLiteral("wrench"));
    QToolButton plain;
    plain.setFixedSize(toolButton.size());
    const auto topEdge = [](QWidget &widget) {
        return widget.grab().toImage().pixel(widget.width() / 2, 0) & 0xffffff;
    };
    QCOMPARE(topEdge(toolButton), border & 0xffffff);
    QCOMPARE(topEdge(menuButton), border & 0xffffff);
    QVERIFY(topEdge(plain) != (border & 0xffffff));

    QFrame toolbar;
    toolbar.setObjectName(QStringLiteral("toolbar"));
    toolbar.resize(40, 20);
    QCOMPARE(QColor(toolbar.grab().toImage().pixel(20, 10)), QColor(210, 226, 246));
}

LUMENO_TEST_MAIN(TestStyleSheet)
#include "tst_stylesheet.moc"

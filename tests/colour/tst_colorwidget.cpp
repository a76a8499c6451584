#include "app/lumeno.h"
#include "app/startup.h"
#include "colour/addcustomformatdialog.h"
#include "colour/colorwidget.h"
#include "colour/doubleswatch.h"
#include "tests/support/testmain.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

// Answers the modal windows the panel opens and remembers what each showed: a
// confirmation with a click on answer, the add dialog by replacing its text
// with typed and pressing Return (accept) or Escape.
struct ModalUser : QObject
{
    explicit ModalUser(QMessageBox::StandardButton answer, const QString &typed = QString(),
                       bool accept = true)
    {
        connect(&timer, &QTimer::timeout, this, [this, answer, typed, accept] {
            const auto windows = QApplication::topLevelWidgets();
            for (QWidget *window : windows) {
                if (!window->isVisible())
                    continue;
                if (auto *box = qobject_cast<QMessageBox *>(window)) {
                    shown << box->text();
                    box->button(answer)->click();
                } else if (auto *dialog = qobject_cast<AddCustomFormatDialog *>(window)) {
                    auto *edit = dialog->findChild<QLineEdit *>();
                    shown << edit->text();
                    edit->clear();
                    QTest::keyClicks(edit, typed);
                    QTest::keyClick(edit, accept ? Qt::Key_Return : Qt::Key_Escape);
                }
            }
        });
        timer.start(5);
    }

    QStringList shown;
    QTimer timer;
};

void storeSettings(const QStringList &strings, const QVariant &index)
{
    QSettings settings;
    settings.clear();
    settings.setValue(QStringLiteral("colors/format_strings"), strings);
    settings.setValue(QStringLiteral("colors/format_index"), index);
}

QVariant stored(const char *key)
{
    return QSettings().value(QStringLiteral("colors/") + QLatin1String(key));
}

// The menu as the user reads it: "-" for a separator, "*" before the checked
// entry, ">" before a submenu.
QStringList entries(QMenu *menu)
{
    QStringList list;
    const auto actions = menu->actions();
    for (const QAction *a : actions)
        list << (a->isSeparator() ? QStringLiteral("-")
                 : a->menu()      ? ">" + a->text()
                                  : (a->isChecked() ? "*" : "") + a->text());
    return list;
}

QStringList formatMenuFor(const QStringList &customStrings, int checked)
{
    QStringList list = {"r,g,b,a", "#rrggbbaa", "#rrggbb", "rgb(r,g,b)", "rgba(r,g,b,a)", "-"};
    for (const QString &string : customStrings)
        list.append(QString(string).remove(QLatin1Char('%')));
    list[checked < 5 ? checked : checked + 1].prepend(QLatin1Char('*'));
    list << QStringLiteral("-") << QStringLiteral("Add Custom");
    if (!customStrings.isEmpty())
        list << QStringLiteral(">Remove Custom");
    return list;
}

// Opens the format menu with a press on its button and clicks through the
// entries named by path, opening submenus on the way, as a user would.
void chooseFromMenu(ColorWidget &panel, const QStringList &path)
{
    bool done = false;
    QTimer::singleShot(0, &panel, [&] {
        for (const QString &text : path) {
            QMenu *menu = nullptr;
            QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) &&
                        menu->isVisible());
            const auto actions = menu->actions();
            const auto found = std::find_if(actions.begin(), actions.end(),
                                            [&](QAction *a) { return a->text() == text; });
            QVERIFY2(found != actions.end(), qPrintable(text));
            if ((*found)->menu()) {
                menu->setActiveAction(*found);
                QTest::keyClick(menu, Qt::Key_Right);
                QTRY_COMPARE(QApplication::activePopupWidget(), (*found)->menu());
                continue;
            }
            const QPoint centre = menu->actionGeometry(*found).center();
            QTest::mouseMove(menu, centre);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, centre);
        }
        done = true;
    });
    QTest::mousePress(panel.formatButton(), Qt::LeftButton);
    QTest::mouseRelease(panel.formatButton(), Qt::LeftButton);
    QTRY_VERIFY(done);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

} // namespace

// The panel: both colours as text in the chosen format, the format menu with
// its custom formats, their storage, and Ctrl+D.
class TestColorWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareApplication(); }
    void init() { QSettings().clear(); }
    void firstRun();
    void worksWithoutMainWindow();
    void storedSettingsAreReadAndWrittenBack_data();
    void storedSettingsAreReadAndWrittenBack();
    void choosingReformatsBothTextsAtOnce();
    void adding_data();
    void adding();
    void removing_data();
    void removing();
    void userTextIsShownAndCopiedAsTyped();
    void ctrlDCopiesTheButtonText_data();
    void ctrlDCopiesTheButtonText();
};

void TestColorWidget::firstRun()
{
    Lumeno window;
    ColorWidget panel;
    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor({}, 0));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("0,0,0,0"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("0,0,0,0"));
    QCOMPARE(stored("format_strings").toStringList(), QStringList());
    QCOMPARE(stored("format_index"), QVariant(0));
    QCOMPARE(panel.addFormatDialog()->parent(), &window);
    // The style sheet hides the arrow of this name.
    QCOMPARE(panel.formatButton()->objectName(), QStringLiteral("no_arrow"));

    // One row, left to right, the full 28 pixels high.
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const QWidgetList parts = {panel.hoverLabel(), panel.swatch(), panel.copyButton(),
                               panel.formatButton()};
    for (int i = 0; i < parts.size(); ++i) {
        QCOMPARE(parts.at(i)->height(), 28);
        if (i > 0)
            QVERIFY(parts.at(i - 1)->geometry().right() < parts.at(i)->geometry().left());
    }
    QCOMPARE(panel.swatch()->width(), 40);
}

void TestColorWidget::worksWithoutMainWindow()
{
    QVERIFY(!Lumeno::instance());
    storeSettings({QStringLiteral("K1")}, 5);
    ColorWidget panel;
    QCOMPARE(panel.addFormatDialog()->parent(), &panel);
    panel.setSelectedColor(QColor(1, 2, 3), QPointF(4, 5));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("K1"));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(!panel.grab().isNull());

    ModalUser user(QMessageBox::Yes, QStringLiteral("%g"));
    panel.formatMenuActionHandler(-2);
    panel.formatMenuActionHandler(-1);
    QCOMPARE(user.shown.size(), 2);
    QCOMPARE(panel.customFormats().size(), 1);
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("2"));
}

void TestColorWidget::storedSettingsAreReadAndWrittenBack_data()
{
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("kept"); // the custom formats after reading
    const auto row = [](const char *name, const QStringList &strings, const QVariant &index,
                        int expected, const QStringList &kept) {
        QTest::newRow(name) << strings << index << expected << kept;
    };
    const QStringList one = {QStringLiteral("K1")};
    row("in range", one, 3, 3, one);
    row("beyond the end", one, 7, 5, one);
    row("negative", one, -3, 0, one);
    row("no custom, beyond", {}, 5, 4, {});
    row("not a number", one, QStringLiteral("x"), 0, one);
    // Texts the settings file could get wrong.
    row("one, with commas", {"%r, %g, %b"}, 5, 5, {"%r, %g, %b"});
    row("one, only spaces", {"   "}, 5, 5, {"   "});
    const QStringList syntax = {"@Invalid()", "@Variant(x)", "\"%r\" \\n \\%g",
                                "a;b=c",      " %r ",        "\t%g"};
    row("syntax, quotes, backslashes, outer spaces", syntax, 10, 10, syntax);
    const QStringList unicode = {QStringLiteral("R\u00f6t %r \u2713"), QStringLiteral("\u8272 %rr"),
                                 QStringLiteral("\u8272 %rr")};
    row("non-ascii, duplicates", unicode, 7, 7, unicode);
    // Bounds: a string over 1000 characters is dropped, the index follows its
    // own string or falls back to the first format; past 100 strings the rest
    // are left out.
    const QString longest(1000, QLatin1Char('x'));
    const QString tooLong = longest + QLatin1Char('x');
    row("too long, index follows", {"a", tooLong, longest}, 7, 6, {"a", longest});
    row("too long, index on it", {"a", tooLong}, 6, 0, {"a"});
    QStringList many;
    for (int i = 0; i < 150; ++i)
        many.append(QString::number(i));
    row("more than 100, index kept", many, 5 + 99, 5 + 99, many.mid(0, 100));
    row("more than 100, index left out", many, 5 + 120, 0, many.mid(0, 100));
}

void TestColorWidget::storedSettingsAreReadAndWrittenBack()
{
    QFETCH(QStringList, strings);
    QFETCH(QVariant, index);
    QFETCH(int, expected);
    QFETCH(QStringList, kept);

    storeSettings(strings, index);
    {
        ColorWidget panel;
        QCOMPARE(panel.formatIndex(), expected);
        QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor(kept, expected));
    }

    // What the panel wrote back. The process keeps its settings in memory; a
    // copy of the file shows what the next process will read.
    QSettings settings;
    settings.sync();
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(settings.fileName(), copy));
    QSettings reread(copy, QSettings::IniFormat);
    QCOMPARE(reread.value(QStringLiteral("colors/format_strings")).toStringList(), kept);
    QCOMPARE(reread.value(QStringLiteral("colors/format_index")).toInt(), expected);
}

void TestColorWidget::choosingReformatsBothTextsAtOnce()
{
    Lumeno window;
    ColorWidget panel;
    panel.setHoverColor(QColor(255, 128, 0), QPointF(1, 2));
    panel.setSelectedColor(QColor(10, 11, 12, 13), QPointF(3, 4));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("255,128,0,255"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("10,11,12,13"));

    chooseFromMenu(panel, {QStringLiteral("#rrggbbaa")});
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("#ff8000ff"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("#0a0b0c0d"));
    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor({}, 1));
    QCOMPARE(stored("format_index"), QVariant(1));
}

void TestColorWidget::adding_data()
{
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QString>("texts");
    const QStringList k1 = {QStringLiteral("K1")};
    QTest::newRow("added and current")
        << 2 << "%r-%g" << true << "#%rr%gg%bb" << k1 + QStringList{"%r-%g"} << 6 << "1-2 | 5-6";
    QTest::newRow("from a custom format, stored points floored")
        << 5 << "%x,%y" << true << "K1" << k1 + QStringList{"%x,%y"} << 6 << "-20,70 | 30,5";
    QTest::newRow("spaces only kept")
        << 0 << "  " << true << "%r,%g,%b,%a" << k1 + QStringList{"  "} << 6 << "   |   ";
    QTest::newRow("empty adds nothing")
        << 3 << "" << true << "rgb(%r,%g,%b)" << k1 << 3 << "rgb(1,2,3) | rgb(5,6,7)";
    QTest::newRow("cancelled adds nothing") << 4 << "%r" << false << "rgba(%r,%g,%b,%a)" << k1 << 4
                                            << "rgba(1,2,3,4) | rgba(5,6,7,255)";
}

void TestColorWidget::adding()
{
    QFETCH(int, startIndex);
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, shown);
    QFETCH(QStringList, expected);
    QFETCH(int, expectedIndex);
    QFETCH(QString, texts);

    Lumeno window;
    storeSettings({QStringLiteral("K1")}, startIndex);
    ColorWidget panel;
    panel.setHoverColor(QColor(1, 2, 3, 4), QPointF(-19.5, 70.5));
    panel.setSelectedColor(QColor(5, 6, 7), QPointF(30.5, 5.5));
    QSettings().clear();

    ModalUser user(QMessageBox::No, typed, accept);
    chooseFromMenu(panel, {QStringLiteral("Add Custom")});
    QCOMPARE(user.shown, QStringList{shown});
    QCOMPARE(panel.formatIndex(), expectedIndex);
    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor(expected, expectedIndex));
    QCOMPARE(panel.hoverLabel()->text() + " | " + panel.copyButton()->text(), texts);
    // Written whether or not something was added.
    QCOMPARE(stored("format_strings").toStringList(), expected);
    QCOMPARE(stored("format_index"), QVariant(expectedIndex));
}

void TestColorWidget::removing_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("entry"); // in the "Remove Custom" submenu
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QString>("current");

    // The index keeps its number where it can.
    const QStringList k123 = {"K1", "K2", "K3"};
    const QString lastBuiltin = QStringLiteral("rgba(%r,%g,%b,%a)");
    QTest::newRow("one before the current")
        << k123 << 6 << "K1" << true << QStringList{"K2", "K3"} << 6 << "K3";
    QTest::newRow("the current one")
        << k123 << 6 << "K2" << true << QStringList{"K1", "K3"} << 6 << "K3";
    QTest::newRow("the current last one")
        << k123 << 7 << "K3" << true << QStringList{"K1", "K2"} << 6 << "K2";
    QTest::newRow("the only one") << QStringList{"K2"} << 5 << "K2" << true << QStringList() << 4
                                  << lastBuiltin;
    QTest::newRow("declined") << k123 << 6 << "K2" << false << k123 << 6 << "K2";
    QTest::newRow("all") << k123 << 6 << "Remove All" << true << QStringList() << 4 << lastBuiltin;
    QTest::newRow("all, with a built-in current")
        << k123 << 2 << "Remove All" << true << QStringList() << 2 << "#%rr%gg%bb";
    QTest::newRow("unknown id") << k123 << 6 << "" << true << k123 << 6 << "K2";
}

void TestColorWidget::removing()
{
    QFETCH(QStringList, before);
    QFETCH(int, index);
    QFETCH(QString, entry);
    QFETCH(bool, yes);
    QFETCH(QStringList, after);
    QFETCH(int, expectedIndex);
    QFETCH(QString, current);

    Lumeno window;
    storeSettings(before, index);
    ColorWidget panel;
    panel.setSelectedColor(QColor(8, 9, 10), QPointF());
    QSettings().clear();

    ModalUser user(yes ? QMessageBox::Yes : QMessageBox::No);
    if (entry.isEmpty())
        panel.formatMenuActionHandler(-7);
    else
        chooseFromMenu(panel, {QStringLiteral("Remove Custom"), entry});
    QCOMPARE(user.shown.size(), entry.isEmpty() ? 0 : 1);
    if (!entry.isEmpty())
        QCOMPARE(user.shown.first().contains(QLatin1String("clear all")), entry == "Remove All");

    QCOMPARE(panel.formatIndex(), expectedIndex);
    QCOMPARE(stored("format_strings").toStringList(), after);
    QCOMPARE(stored("format_index"), QVariant(expectedIndex));
    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor(after, expectedIndex));
    if (!after.isEmpty())
        QCOMPARE(entries(panel.removeMenu()), after + QStringList({"-", "Remove All"}));
    QCOMPARE(panel.copyButton()->text(),
             ColorFormat(current).formatColor(QColor(8, 9, 10), QPointF()));
}

void TestColorWidget::userTextIsShownAndCopiedAsTyped()
{
    Lumeno window;
    storeSettings({QStringLiteral("<b>%r&%g</b> &&")}, 5);
    ColorWidget panel;
    panel.setHoverColor(QColor(1, 2, 3), QPointF());
    panel.setSelectedColor(QColor(4, 5, 6), QPointF());

    // Markup stays text; ampersands are not mnemonics.
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("<b>1&2</b> &&"));
    QCOMPARE(panel.hoverLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("<b>4&&5</b> &&&&"));
    QVERIFY(QKeySequence::mnemonic(panel.copyButton()->text()).isEmpty());
    QCOMPARE(entries(panel.removeMenu()).first(), QStringLiteral("<b>r&&g</b> &&&&"));
    QVERIFY(entries(panel.formatButton()->buttonMenu()).contains("*<b>r&&g</b> &&&&"));

    QApplication::clipboard()->clear();
    QTest::mouseClick(panel.copyButton(), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<b>4&5</b> &&"));
}

void TestColorWidget::ctrlDCopiesTheButtonText_data()
{
    QTest::addColumn<bool>("otherWindow");
    QTest::addColumn<bool>("ambiguous");
    QTest::newRow("focus in the panel's window") << false << false;
    QTest::newRow("focus in another window") << true << false;
    QTest::newRow("another Ctrl+D exists") << false << true;
}

void TestColorWidget::ctrlDCopiesTheButtonText()
{
    QFETCH(bool, otherWindow);
    QFETCH(bool, ambiguous);

    Lumeno window;
    ColorWidget panel;
    panel.setSelectedColor(QColor(171, 205, 239, 18), QPointF());
    panel.formatMenuActionHandler(1);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QLineEdit other;
    if (ambiguous)
        new QShortcut(QKeySequence(QStringLiteral("Ctrl+D")), &panel, nullptr, nullptr,
                      Qt::ApplicationShortcut);
    QWidget *focus = otherWindow ? static_cast<QWidget *>(&other) : &panel;
    focus->show();
    focus->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(focus));

    QApplication::clipboard()->setText(QStringLiteral("before"));
    QSignalSpy clicked(panel.copyButton(), &QAbstractButton::clicked);
    QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    // An ambiguous key goes to the shortcuts in turn.
    if (ambiguous && !panel.copyButton()->isDown())
        QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    // The button shows pressed first, then clicks.
    QVERIFY(panel.copyButton()->isDown());
    QCOMPARE(clicked.count(), 0);
    QVERIFY(clicked.wait());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("#abcdef12"));
    QCOMPARE(QApplication::clipboard()->text(), panel.copyButton()->text());
}

LUMENO_TEST_MAIN(TestColorWidget)
#include "tst_colorwidget.moc"

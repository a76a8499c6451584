#include "app/lumeno.h"
#include "app/startup.h"
#include "colour/addcustomformatdialog.h"
#include "colour/colorwidget.h"
#include "colour/doubleswatch.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "tests/support/viewfixture.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QStringList builtinLabels = {QStringLiteral("r,g,b,a"), QStringLiteral("#rrggbbaa"),
                                   QStringLiteral("#rrggbb"), QStringLiteral("rgb(r,g,b)"),
                                   QStringLiteral("rgba(r,g,b,a)")};

// Handles every window of type W that the code under test opens modally:
// handle runs once for each time such a window is visible.
template <typename W> class ModalHandler : public QObject
{
public:
    explicit ModalHandler(std::function<void(W *)> handle) : m_handle(std::move(handle))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalHandler::poll);
        m_timer.start();
    }

    int count = 0;

private:
    void poll()
    {
        if (m_busy)
            return;
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget *widget : widgets) {
            auto *window = qobject_cast<W *>(widget);
            if (!window || !window->isVisible())
                continue;
            m_busy = true;
            ++count;
            m_handle(window);
            m_busy = false;
        }
    }

    std::function<void(W *)> m_handle;
    QTimer m_timer;
    bool m_busy = false;
};

// Answers every confirmation with a click on one of its buttons.
struct Confirmations : ModalHandler<QMessageBox>
{
    explicit Confirmations(QMessageBox::StandardButton answer)
        : ModalHandler<QMessageBox>([this, answer](QMessageBox *box) {
              titles.append(box->windowTitle());
              texts.append(box->text());
              QTest::mouseClick(box->button(answer), Qt::LeftButton);
          })
    {
    }
    QStringList titles;
    QStringList texts;
};

// Replaces the add dialog's text with typed and closes it with OK or Cancel,
// remembering what the dialog showed when it opened.
struct DialogUser : ModalHandler<AddCustomFormatDialog>
{
    DialogUser(const QString &typed, bool accept)
        : ModalHandler<AddCustomFormatDialog>([this, typed, accept](AddCustomFormatDialog *d) {
              auto *edit = d->findChild<QLineEdit *>();
              shownText = edit->text();
              shownCursor = edit->cursorPosition();
              edit->clear();
              QTest::keyClicks(edit, typed);
              QTest::keyClick(edit, accept ? Qt::Key_Return : Qt::Key_Escape);
          })
    {
    }
    QString shownText;
    int shownCursor = -1;
};

void clearSettings()
{
    QSettings().clear();
}

void storeSettings(const QStringList &strings, const QVariant &index)
{
    QSettings settings;
    settings.clear();
    settings.setValue(QStringLiteral("colors/format_strings"), strings);
    settings.setValue(QStringLiteral("colors/format_index"), index);
}

QStringList storedStrings()
{
    return QSettings().value(QStringLiteral("colors/format_strings")).toStringList();
}

QVariant storedIndex()
{
    return QSettings().value(QStringLiteral("colors/format_index"));
}

// The menu as the user reads it: "-" for a separator, "*" before the checked
// entry, ">" before a submenu.
QStringList entries(QMenu *menu)
{
    QStringList list;
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->isSeparator())
            list.append(QStringLiteral("-"));
        else if (action->menu())
            list.append(QLatin1Char('>') + action->text());
        else
            list.append((action->isChecked() ? QStringLiteral("*") : QString()) + action->text());
    }
    return list;
}

QStringList formatMenuFor(const QStringList &customLabels, int checked)
{
    QStringList list = builtinLabels + QStringList{QStringLiteral("-")} + customLabels;
    list[checked < 5 ? checked : checked + 1].prepend(QLatin1Char('*'));
    list << QStringLiteral("-") << QStringLiteral("Add Custom");
    if (!customLabels.isEmpty())
        list << QStringLiteral(">Remove Custom");
    return list;
}

QStringList formatStrings(const QList<ColorFormat> &formats)
{
    QStringList list;
    for (const ColorFormat &format : formats)
        list.append(format.formatString());
    return list;
}

QAction *entry(QMenu *menu, const QString &text)
{
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QMenu *activePopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// Opens the format menu with a press on its button and clicks through the
// entries named by path, opening submenus on the way, as a user would. The
// last entry is clicked with the mouse.
void chooseFromMenu(ColorWidget &panel, const QStringList &path)
{
    bool done = false;
    QTimer::singleShot(0, &panel, [&] {
        for (int i = 0; i < path.size(); ++i) {
            QMenu *menu = nullptr;
            QTRY_VERIFY((menu = activePopup()) && menu->isVisible());
            QAction *action = entry(menu, path.at(i));
            QVERIFY2(action, qPrintable(path.at(i)));
            if (action->menu()) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Right);
                QTRY_COMPARE(activePopup(), action->menu());
                continue;
            }
            const QPoint centre = menu->actionGeometry(action).center();
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
    void initTestCase();
    void init() { clearSettings(); }
    void firstRun();
    void worksWithoutMainWindow();
    void storedIndexIsClampedAndWrittenBack_data();
    void storedIndexIsClampedAndWrittenBack();
    void storedFormatsSurviveARestart_data();
    void storedFormatsSurviveARestart();
    void choosingReformatsBothTextsAtOnce();
    void adding_data();
    void adding();
    void addedFormatsSurviveARestart();
    void removing_data();
    void removing();
    void removingThroughTheMenus();
    void userTextIsShownAndCopiedAsTyped();
    void followsTheView();
    void ctrlDCopiesTheButtonText_data();
    void ctrlDCopiesTheButtonText();
};

void TestColorWidget::initTestCase()
{
    prepareApplication();
}

void TestColorWidget::firstRun()
{
    Lumeno window;
    ColorWidget panel;

    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor({}, 0));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("0,0,0,0"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("0,0,0,0"));
    QCOMPARE(storedStrings(), QStringList());
    QCOMPARE(storedIndex().toInt(), 0);
    QCOMPARE(panel.copyButton()->objectName(), QStringLiteral("copy_color_button"));
    QCOMPARE(panel.formatButton()->objectName(), QStringLiteral("no_arrow"));
    QVERIFY(!panel.copyButton()->icon().isNull());
    QCOMPARE(panel.addFormatDialog()->parent(), &window);

    // Right-aligned in one row, 28 pixels high, the swatch 40 wide.
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(panel.height(), 28);
    const QList<QWidget *> order = {panel.hoverLabel(), panel.swatch(), panel.copyButton(),
                                    panel.formatButton()};
    for (int i = 0; i < order.size(); ++i) {
        QCOMPARE(order.at(i)->height(), 28);
        if (i > 0)
            QVERIFY(order.at(i - 1)->geometry().right() < order.at(i)->geometry().left());
    }
    QCOMPARE(panel.swatch()->width(), 40);
    QVERIFY(panel.formatButton()->geometry().right() >= panel.width() - 1);
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

    Confirmations yes(QMessageBox::Yes);
    panel.formatMenuActionHandler(-2);
    QCOMPARE(yes.count, 1);
    QCOMPARE(panel.customFormats().size(), 0);

    DialogUser user(QStringLiteral("%g"), true);
    panel.formatMenuActionHandler(-1);
    QCOMPARE(user.count, 1);
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("2"));
}

void TestColorWidget::storedIndexIsClampedAndWrittenBack_data()
{
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("current");
    const QStringList one = {QStringLiteral("K1")};
    QTest::newRow("beyond the end") << one << QVariant(7) << 5 << QStringLiteral("K1");
    QTest::newRow("negative") << one << QVariant(-3) << 0 << QStringLiteral("%r,%g,%b,%a");
    QTest::newRow("in range") << one << QVariant(3) << 3 << QStringLiteral("rgb(%r,%g,%b)");
    QTest::newRow("no custom, beyond")
        << QStringList() << QVariant(5) << 4 << QStringLiteral("rgba(%r,%g,%b,%a)");
    QTest::newRow("not a number") << one << QVariant(QStringLiteral("x")) << 0
                                  << QStringLiteral("%r,%g,%b,%a");
    QTest::newRow("far beyond") << one << QVariant(2147483647) << 5 << QStringLiteral("K1");
}

void TestColorWidget::storedIndexIsClampedAndWrittenBack()
{
    QFETCH(QStringList, strings);
    QFETCH(QVariant, index);
    QFETCH(int, expected);
    QFETCH(QString, current);

    storeSettings(strings, index);
    ColorWidget panel;
    QCOMPARE(panel.formatIndex(), expected);
    QCOMPARE(panel.currentFormat().formatString(), current);
    QCOMPARE(storedIndex().toInt(), expected);
    QCOMPARE(storedStrings(), strings);
    QVERIFY(panel.formatButton()->buttonMenu()->isChecked(expected));
}

void TestColorWidget::storedFormatsSurviveARestart_data()
{
    QTest::addColumn<QStringList>("strings");
    const auto row = [](const char *name, const QStringList &strings) {
        QTest::newRow(name) << strings;
    };
    row("one plain", {QStringLiteral("K1")});
    row("one with commas", {QStringLiteral("%r, %g, %b")});
    row("one made of spaces", {QStringLiteral("   ")});
    row("duplicates", {QStringLiteral("%r"), QStringLiteral("%r")});
    row("settings syntax", {QStringLiteral("@Invalid()"), QStringLiteral("@Variant(x)")});
    row("quotes and backslashes", {QStringLiteral("\"%r\" \\n \\%g"), QStringLiteral("a;b=c")});
    row("non-ascii", {QStringLiteral("R\u00f6t %r \u2713"), QStringLiteral("\u8272 %rr")});
    row("leading and trailing spaces", {QStringLiteral(" %r "), QStringLiteral("\t%g")});
}

void TestColorWidget::storedFormatsSurviveARestart()
{
    QFETCH(QStringList, strings);
    storeSettings(strings, 5);
    for (int run = 0; run < 2; ++run) {
        // Every start writes the formats back, so the second start reads what
        // the first one wrote.
        ColorWidget panel;
        QCOMPARE(formatStrings(panel.customFormats()), strings);
        QCOMPARE(storedStrings(), strings);
        QCOMPARE(panel.formatIndex(), 5);
    }

    // The process keeps its settings in memory; a copy of the file shows
    // what the next process will read.
    QString path;
    {
        QSettings settings;
        settings.sync();
        path = settings.fileName();
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QVERIFY(QFile::copy(path, copy));
    QSettings reread(copy, QSettings::IniFormat);
    QCOMPARE(reread.value(QStringLiteral("colors/format_strings")).toStringList(), strings);
    QCOMPARE(reread.value(QStringLiteral("colors/format_index")).toInt(), 5);
}

void TestColorWidget::choosingReformatsBothTextsAtOnce()
{
    Lumeno window;
    ColorWidget panel;
    panel.setHoverColor(QColor(255, 128, 0, 255), QPointF(1, 2));
    panel.setSelectedColor(QColor(10, 11, 12, 13), QPointF(3, 4));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("255,128,0,255"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("10,11,12,13"));

    const struct
    {
        int id;
        const char *hover;
        const char *selected;
    } choices[] = {{2, "#ff8000", "#0a0b0c"},
                   {1, "#ff8000ff", "#0a0b0c0d"},
                   {4, "rgba(255,128,0,255)", "rgba(10,11,12,13)"},
                   {3, "rgb(255,128,0)", "rgb(10,11,12)"}};
    Menu *menu = panel.formatButton()->buttonMenu();
    for (const auto &choice : choices) {
        clearSettings();
        menu->action(choice.id)->trigger();
        QCOMPARE(panel.hoverLabel()->text(), QString::fromLatin1(choice.hover));
        QCOMPARE(panel.copyButton()->text(), QString::fromLatin1(choice.selected));
        QCOMPARE(entries(menu), formatMenuFor({}, choice.id));
        QCOMPARE(storedIndex().toInt(), choice.id);
        QCOMPARE(storedStrings(), QStringList());
    }

    // The same through the real menu.
    chooseFromMenu(panel, {QStringLiteral("r,g,b,a")});
    QCOMPARE(panel.formatIndex(), 0);
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("255,128,0,255"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("10,11,12,13"));
}

void TestColorWidget::adding_data()
{
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedIndex");
    const QStringList k1 = {QStringLiteral("K1")};
    const auto row = [&](const char *name, int start, const QString &typed, bool accept,
                         const char *shown, const QStringList &added, int index) {
        QTest::newRow(name) << start << typed << accept << QString::fromLatin1(shown) << k1 + added
                            << index;
    };
    row("added and current", 2, QStringLiteral("%r-%g"), true, "#%rr%gg%bb",
        {QStringLiteral("%r-%g")}, 6);
    row("starts from a custom format", 5, QStringLiteral("K1 again"), true, "K1",
        {QStringLiteral("K1 again")}, 6);
    row("duplicate allowed", 5, QStringLiteral("K1"), true, "K1", {QStringLiteral("K1")}, 6);
    row("spaces only kept", 0, QStringLiteral("  "), true, "%r,%g,%b,%a", {QStringLiteral("  ")},
        6);
    row("empty adds nothing", 3, QString(), true, "rgb(%r,%g,%b)", {}, 3);
    row("cancelled adds nothing", 4, QStringLiteral("%r"), false, "rgba(%r,%g,%b,%a)", {}, 4);
}

void TestColorWidget::adding()
{
    QFETCH(int, startIndex);
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, shown);
    QFETCH(QStringList, expected);
    QFETCH(int, expectedIndex);

    Lumeno window;
    storeSettings({QStringLiteral("K1")}, startIndex);
    ColorWidget panel;
    panel.setHoverColor(QColor(1, 2, 3, 4), QPointF());
    clearSettings();

    DialogUser user(typed, accept);
    chooseFromMenu(panel, {QStringLiteral("Add Custom")});
    QCOMPARE(user.count, 1);
    QCOMPARE(user.shownText, shown);
    QCOMPARE(user.shownCursor, shown.size());

    QCOMPARE(formatStrings(panel.customFormats()), expected);
    QCOMPARE(panel.formatIndex(), expectedIndex);
    QVERIFY(panel.formatButton()->buttonMenu()->isChecked(expectedIndex));
    QCOMPARE(panel.hoverLabel()->text(),
             panel.currentFormat().formatColor(QColor(1, 2, 3, 4), QPointF()));
    // Written whether or not something was added.
    QCOMPARE(storedStrings(), expected);
    QCOMPARE(storedIndex().toInt(), expectedIndex);
    QCOMPARE(entries(panel.removeMenu()).size(), expected.size() + 2);
}

void TestColorWidget::addedFormatsSurviveARestart()
{
    Lumeno window;
    auto panel = std::make_unique<ColorWidget>();
    for (const QString &text : {QStringLiteral("%x,%y"), QStringLiteral("[%r]")}) {
        DialogUser user(text, true);
        panel->formatMenuActionHandler(-1);
        QCOMPARE(user.count, 1);
    }
    panel->formatMenuActionHandler(5);
    const QStringList menu = entries(panel->formatButton()->buttonMenu());
    QCOMPARE(menu, formatMenuFor({QStringLiteral("x,y"), QStringLiteral("[r]")}, 5));

    panel = std::make_unique<ColorWidget>();
    QCOMPARE(formatStrings(panel->customFormats()), (QStringList{"%x,%y", "[%r]"}));
    QCOMPARE(panel->formatIndex(), 5);
    QCOMPARE(entries(panel->formatButton()->buttonMenu()), menu);
    QCOMPARE(entries(panel->removeMenu()), (QStringList{"x,y", "[r]", "-", "Remove All"}));
}

void TestColorWidget::removing_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QString>("current");

    const QStringList k123 = {"K1", "K2", "K3"};
    // Ids of the submenu: 5 + 3 + k with three custom formats.
    QTest::newRow("one before the current")
        << k123 << 6 << 8 << true << QStringList{"K2", "K3"} << 6 << "K3";
    QTest::newRow("one after the current")
        << k123 << 6 << 10 << true << QStringList{"K1", "K2"} << 6 << "K2";
    QTest::newRow("the current one")
        << k123 << 6 << 9 << true << QStringList{"K1", "K3"} << 6 << "K3";
    QTest::newRow("the current last one")
        << k123 << 7 << 10 << true << QStringList{"K1", "K2"} << 6 << "K2";
    QTest::newRow("the only one") << QStringList{"K2"} << 5 << 6 << true << QStringList() << 4
                                  << "rgba(%r,%g,%b,%a)";
    QTest::newRow("declined") << k123 << 6 << 9 << false << k123 << 6 << "K2";
    QTest::newRow("all") << k123 << 6 << -2 << true << QStringList() << 4 << "rgba(%r,%g,%b,%a)";
    QTest::newRow("all, with a built-in current")
        << k123 << 2 << -2 << true << QStringList() << 2 << "#%rr%gg%bb";
    QTest::newRow("all declined") << k123 << 7 << -2 << false << k123 << 7 << "K3";
    QTest::newRow("unknown id") << k123 << 6 << -7 << true << k123 << 6 << "K2";
}

void TestColorWidget::removing()
{
    QFETCH(QStringList, before);
    QFETCH(int, index);
    QFETCH(int, id);
    QFETCH(bool, yes);
    QFETCH(QStringList, after);
    QFETCH(int, expectedIndex);
    QFETCH(QString, current);

    Lumeno window;
    storeSettings(before, index);
    ColorWidget panel;
    panel.setHoverColor(QColor(5, 6, 7), QPointF());
    panel.setSelectedColor(QColor(8, 9, 10), QPointF());
    clearSettings();

    Confirmations answers(yes ? QMessageBox::Yes : QMessageBox::No);
    panel.formatMenuActionHandler(id);
    if (id >= -2) {
        QCOMPARE(answers.count, 1);
        QCOMPARE(answers.titles.first(), QStringLiteral("Confirm Delete"));
        QCOMPARE(answers.texts.first(),
                 id == -2 ? QStringLiteral("Would you like to clear all custom format strings?")
                          : QStringLiteral(
                                "Would you like to delete the selected custom format string?"));
    } else {
        QCOMPARE(answers.count, 0);
    }

    QCOMPARE(formatStrings(panel.customFormats()), after);
    QCOMPARE(panel.formatIndex(), expectedIndex);
    QCOMPARE(panel.currentFormat().formatString(), current);
    QCOMPARE(storedStrings(), after);
    QCOMPARE(storedIndex().toInt(), expectedIndex);
    QCOMPARE(entries(panel.formatButton()->buttonMenu()), formatMenuFor(after, expectedIndex));
    QCOMPARE(panel.hoverLabel()->text(),
             ColorFormat(current).formatColor(QColor(5, 6, 7), QPointF()));
    QCOMPARE(panel.copyButton()->text(),
             ColorFormat(current).formatColor(QColor(8, 9, 10), QPointF()));
}

void TestColorWidget::removingThroughTheMenus()
{
    Lumeno window;
    storeSettings({"K1", "K2", "K3"}, 6);
    ColorWidget panel;
    {
        Confirmations yes(QMessageBox::Yes);
        chooseFromMenu(panel, {QStringLiteral("Remove Custom"), QStringLiteral("K1")});
        QCOMPARE(yes.count, 1);
    }
    QCOMPARE(formatStrings(panel.customFormats()), (QStringList{"K2", "K3"}));
    QCOMPARE(panel.formatIndex(), 6);
    QCOMPARE(entries(panel.removeMenu()), (QStringList{"K2", "K3", "-", "Remove All"}));
    {
        Confirmations yes(QMessageBox::Yes);
        chooseFromMenu(panel, {QStringLiteral("Remove Custom"), QStringLiteral("Remove All")});
        QCOMPARE(yes.count, 1);
    }
    QCOMPARE(formatStrings(panel.customFormats()), QStringList());
    QCOMPARE(panel.formatIndex(), 4);
    QCOMPARE(storedStrings(), QStringList());
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

    QApplication::clipboard()->clear();
    QTest::mouseClick(panel.copyButton(), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<b>4&5</b> &&"));
}

void TestColorWidget::followsTheView()
{
    ViewFixture f;
    f.show(TestImages::pattern(60, 50));
    // A viewport pixel covers a quarter of an image pixel, so a pixel centre
    // is hit within an eighth of a pixel.
    f.view->setZoom(4);
    ColorWidget panel;
    connect(f.view, &View::hoverColorChanged, &panel, &ColorWidget::setHoverColor);
    connect(f.view, &View::clickColorChanged, &panel, &ColorWidget::setSelectedColor);

    // Hover: red = x, green = y, blue = x + y.
    f.hover(f.viewportPosOf(QPointF(10.5, 20.5)));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("10,20,30,255"));
    QCOMPARE(panel.swatch()->hoverColor(), QColor(10, 20, 30));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("0,0,0,0"));

    const QPoint clicked = f.viewportPosOf(QPointF(30.5, 5.5));
    f.hover(clicked);
    QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, clicked);
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("30,5,35,255"));
    QCOMPARE(panel.swatch()->selectedColor(), QColor(30, 5, 35));

    // Outside the image: transparent black; the clicked text stays.
    f.hover(f.viewportPosOf(QPointF(-19.5, 70.5)));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("0,0,0,0"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("30,5,35,255"));

    // Points, floored; a new format applies to the stored points at once.
    DialogUser user(QStringLiteral("%x,%y"), true);
    panel.formatMenuActionHandler(-1);
    QCOMPARE(user.count, 1);
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("-20,70"));
    QCOMPARE(panel.copyButton()->text(), QStringLiteral("30,5"));
    f.hover(f.viewportPosOf(QPointF(12.5, 3.5)));
    QCOMPARE(panel.hoverLabel()->text(), QStringLiteral("12,3"));
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
    QWidget top;
    auto *layout = new QHBoxLayout(&top);
    auto *edit = new QLineEdit(&top);
    layout->addWidget(edit);
    auto *panel = new ColorWidget(&top);
    layout->addWidget(panel);
    panel->setSelectedColor(QColor(171, 205, 239, 18), QPointF());
    chooseFromMenu(*panel, {QStringLiteral("#rrggbbaa")});
    top.show();
    QVERIFY(QTest::qWaitForWindowExposed(&top));

    QLineEdit other;
    QLineEdit *focus = edit;
    if (otherWindow) {
        other.show();
        focus = &other;
    }
    if (ambiguous)
        new QShortcut(QKeySequence(QStringLiteral("Ctrl+D")), edit, nullptr, nullptr,
                      Qt::ApplicationShortcut);
    focus->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(focus->window()));
    focus->setFocus();

    QApplication::clipboard()->setText(QStringLiteral("before"));
    QSignalSpy clicked(panel->copyButton(), &QAbstractButton::clicked);
    QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    // An ambiguous key goes to the shortcuts in turn.
    if (ambiguous && !panel->copyButton()->isDown())
        QTest::keyClick(focus, Qt::Key_D, Qt::ControlModifier);
    // The button shows pressed first, then clicks.
    QVERIFY(panel->copyButton()->isDown());
    QCOMPARE(clicked.count(), 0);
    QVERIFY(clicked.wait());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("#abcdef12"));
    QCOMPARE(QApplication::clipboard()->text(), panel->copyButton()->text());
    QCOMPARE(edit->text(), QString());
}

LUMENO_TEST_MAIN(TestColorWidget)
#include "tst_colorwidget.moc"

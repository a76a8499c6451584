#include "app/lumeno.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// Buttons take their size from the registry's pictures, describe themselves
// as "Label (Shortcut)", answer their shortcut and never steal the focus.
class TestButtons : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_window = new Lumeno; } // the icon registry
    void cleanupTestCase() { delete m_window; }
    void toolTipAndShortcut_data();
    void toolTipAndShortcut();
    void sizeFromIcon_data();
    void sizeFromIcon();
    void neverTakesFocus();
    void buttonPressedComesBeforeTheMenu();

private:
    Lumeno *m_window = nullptr;
};

void TestButtons::toolTipAndShortcut_data()
{
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const char *toolTip, const char *shortcut,
                        const char *expected) {
        QTest::newRow(name) << QString(toolTip) << QString(shortcut) << QString(expected);
    };
    row("both", "Open", "Ctrl+O", "Open (Ctrl+O)");
    row("no tool tip, still a shortcut", "", "Ctrl+Shift+S", "");
    row("no shortcut, no parentheses", "Zoom To Fit", "", "Zoom To Fit");
}

void TestButtons::toolTipAndShortcut()
{
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(QString, expected);

    QWidget window;
    auto *button = new ToolButton(&window, "open", toolTip, shortcut, "some_button");
    ToolButton textButton(nullptr, "Copy", "copy", toolTip, shortcut, QString());
    QCOMPARE(button->toolTip(), expected);
    QCOMPARE(textButton.toolTip(), expected);
    QCOMPARE(button->shortcut(), QKeySequence(shortcut));
    QVERIFY(!button->autoRepeat());
    if (shortcut.isEmpty())
        return;

    // The key clicks the button, which itself never has the focus.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keySequence(&window, QKeySequence(shortcut));
    QTRY_COMPARE(clicked.count(), 1);
}

void TestButtons::sizeFromIcon_data()
{
    QTest::addColumn<QString>("iconName");
    QTest::addColumn<QSize>("fixedSize"); // invalid: not fixed

    QTest::newRow("open") << "open" << QSize(34, 29);
    QTest::newRow("no icon name") << "" << QSize();
    QTest::newRow("unknown name") << "no-such-icon" << QSize(10, 10);
}

void TestButtons::sizeFromIcon()
{
    QFETCH(QString, iconName);
    QFETCH(QSize, fixedSize);

    const QSize unlimited(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ToolButton button(nullptr, iconName, QString(), QString(), QString());
    QCOMPARE(button.minimumSize(), fixedSize.isValid() ? fixedSize : QSize(0, 0));
    QCOMPARE(button.maximumSize(), fixedSize.isValid() ? fixedSize : unlimited);

    // With text beside the icon the button sizes itself.
    ToolButton textButton(nullptr, "Copy", iconName, QString(), QString(), QString());
    QCOMPARE(textButton.maximumSize(), unlimited);
    QCOMPARE(textButton.toolButtonStyle(),
             iconName.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

void TestButtons::neverTakesFocus()
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *first = new QLineEdit(&window);
    auto *toolButton = new ToolButton(&window, "open", "Open", QString(), QString());
    auto *menuButton = new MenuButton(&window, "wrench");
    auto *last = new QLineEdit(&window);
    for (QWidget *widget : QWidgetList{first, toolButton, menuButton, last})
        layout->addWidget(widget);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), last);
    QTest::mouseClick(toolButton, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), last);
}

void TestButtons::buttonPressedComesBeforeTheMenu()
{
    QWidget window;
    auto *button = new MenuButton(&window, "wrench");
    Menu *menu = button->buttonMenu();
    QAction *entry = menu->addAction(6, QString(), "Entry", QString(), Qt::WidgetShortcut);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStringList events;
    connect(button, &MenuButton::buttonPressed, this,
            [&] { events << (menu->isVisible() ? "pressed, menu open" : "pressed"); });
    connect(menu, &QMenu::aboutToShow, this, [&] {
        events << QStringLiteral("menu");
        // The press returns only when the menu has closed: pick the entry
        // once the menu is up.
        QTimer::singleShot(0, menu, [&] {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        });
    });
    QSignalSpy ids(menu, &Menu::actionTriggered);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(events, QStringList({"pressed", "menu"}));
    QCOMPARE(ids, QList<QList<QVariant>>({{6}}));
}

LUMENO_TEST_MAIN(TestButtons)
#include "tst_buttons.moc"

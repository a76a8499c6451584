#include "app/lumeno.h"
#include "tests/support/testmain.h"
#include "widgets/elidedlabel.h"
#include "widgets/flowlayout.h"
#include "widgets/headerwidget.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>

// The widget kit: menus handled by id, buttons sized from the registry's
// pictures, the flow of the toolbar, eliding captions, and the header strip.
class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_window = new Lumeno; } // the picture registry
    void cleanupTestCase() { delete m_window; }
    void menuReportsIds_data();
    void menuReportsIds();
    void menuGroupsAndRebuilding();
    void submenuEntriesReachTheOuterMenu();
    void buttons_data();
    void buttons();
    void buttonsNeverTakeFocusAndMenusComeAfterThePress();
    void flow_data();
    void flow();
    void elidedLabel();
    void header();

private:
    Lumeno *m_window = nullptr;
};

void TestWidgets::menuReportsIds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("addAction, shortcut text") << 0 << true << false;
    QTest::newRow("addAction, key sequence") << 1 << true << false;
    QTest::newRow("exclusive") << 2 << true << true;
    QTest::newRow("non-exclusive") << 3 << true << true;
    QTest::newRow("base class") << 4 << false << false;
    QTest::newRow("long long data") << 5 << false << false;
}

void TestWidgets::menuReportsIds()
{
    QFETCH(int, kind);
    QFETCH(bool, reported);
    QFETCH(bool, checkable);
    Menu menu;
    const QString icon = QStringLiteral("open"), keys = QStringLiteral("Ctrl+O");
    const auto context = Qt::WidgetShortcut;
    QAction *action = kind == 0   ? menu.addAction(-3, icon, "A", keys, context)
                      : kind == 1 ? menu.addAction(-3, icon, "A", QKeySequence(keys), context)
                      : kind == 2 ? menu.addExclusiveAction(-3, 1, icon, "A", keys, context)
                      : kind == 3 ? menu.addNonExclusiveAction(-3, 1, icon, "A", keys, context)
                                  : menu.QMenu::addAction(QStringLiteral("A"));
    if (kind == 5)
        action->setData(qlonglong(-3));
    QCOMPARE(action->isCheckable(), checkable);
    if (kind < 4) {
        QCOMPARE(action->shortcut(), QKeySequence(keys));
        QVERIFY(!action->icon().isNull());
        QCOMPARE(menu.action(-3), action);
    }
    QSignalSpy spy(&menu, &Menu::actionTriggered);
    action->trigger();
    QCOMPARE(spy, reported ? QList<QList<QVariant>>{{-3}} : QList<QList<QVariant>>{});
}

void TestWidgets::menuGroupsAndRebuilding()
{
    for (const bool exclusive : {true, false}) {
        Menu menu;
        for (int id = 1; id <= 3; ++id)
            exclusive ? menu.addExclusiveAction(id, 7, {}, "A", {}, Qt::WidgetShortcut)
                      : menu.addNonExclusiveAction(id, 7, {}, "A", {}, Qt::WidgetShortcut);
        menu.setChecked(1, true);
        menu.setChecked(2, true);
        QCOMPARE(menu.isChecked(1), !exclusive);
        QVERIFY(menu.isChecked(2) && !menu.isChecked(3) && !menu.isChecked(99));
        // A group keeps the flag it was made with.
        QActionGroup *group = menu.actionGroup(7, !exclusive);
        QCOMPARE(group->isExclusive(), exclusive);
        QCOMPARE(menu.actionGroup(-1, true), nullptr);

        // The same id twice: both report it, queries reach the later one.
        QAction *later = menu.addNonExclusiveAction(2, 0, {}, "B", {}, Qt::WidgetShortcut);
        menu.setChecked(2, false);
        QVERIFY(!later->isChecked() && menu.action(1)->actionGroup() == group);

        // Cleared, no query reaches a deleted action; rebuilding re-uses the
        // group.
        menu.clear();
        QCOMPARE(menu.action(1), nullptr);
        menu.setChecked(1, true);
        QAction *again = menu.addExclusiveAction(1, 7, {}, "A", {}, Qt::WidgetShortcut);
        QCOMPARE(again->actionGroup(), group);
        QVERIFY(!menu.isChecked(1));
    }
}

void TestWidgets::submenuEntriesReachTheOuterMenu()
{
    Menu outer;
    auto *sub = new Menu(&outer);
    sub->setTitle(QStringLiteral("More"));
    QAction *entry = sub->addAction(42, QString(), "Deep", QString(), Qt::WidgetShortcut);
    QAction *subAction = outer.addMenu(sub);
    QSignalSpy outerSpy(&outer, &Menu::actionTriggered);
    QSignalSpy subSpy(sub, &Menu::actionTriggered);
    outer.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&outer));
    QTest::mouseClick(&outer, Qt::LeftButton, {}, outer.actionGeometry(subAction).center());
    QTRY_VERIFY(sub->isVisible());
    QTest::mouseClick(sub, Qt::LeftButton, {}, sub->actionGeometry(entry).center());
    QCOMPARE(outerSpy, QList<QList<QVariant>>({{42}}));
    QCOMPARE(subSpy, QList<QList<QVariant>>({{42}}));
}

void TestWidgets::buttons_data()
{
    QTest::addColumn<QString>("iconName");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QSize>("fixedSize"); // invalid: not fixed

    QTest::newRow("both") << "open"
                          << "Open"
                          << "Ctrl+O"
                          << "Open (Ctrl+O)" << QSize(34, 29);
    QTest::newRow("no tool tip, still a shortcut") << "crop"
                                                   << ""
                                                   << "Ctrl+Shift+S"
                                                   << "" << QSize(34, 34);
    QTest::newRow("no shortcut, no parentheses") << ""
                                                 << "Zoom To Fit"
                                                 << ""
                                                 << "Zoom To Fit" << QSize();
    QTest::newRow("unknown picture") << "no-such-icon"
                                     << ""
                                     << ""
                                     << "" << QSize(10, 10);
}

void TestWidgets::buttons()
{
    QFETCH(QString, iconName);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(QString, expected);
    QFETCH(QSize, fixedSize);

    QWidget window;
    auto *button = new ToolButton(&window, iconName, toolTip, shortcut, "some_button");
    ToolButton textButton(nullptr, "Copy", iconName, toolTip, shortcut, QString());
    QCOMPARE(button->toolTip(), expected);
    QCOMPARE(textButton.toolTip(), expected);
    QCOMPARE(button->maximumSize(), fixedSize.isValid() ? fixedSize : QSize(16777215, 16777215));
    QCOMPARE(textButton.maximumWidth(), 16777215); // with text beside the icon it sizes itself
    QCOMPARE(button->shortcut(), QKeySequence(shortcut));
    if (shortcut.isEmpty())
        return;
    // The key clicks the button, which never has the focus itself.
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keySequence(&window, QKeySequence(shortcut));
    QTRY_COMPARE(clicked.count(), 1);
}

void TestWidgets::buttonsNeverTakeFocusAndMenusComeAfterThePress()
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

    Menu *menu = menuButton->buttonMenu();
    QAction *entry = menu->addAction(6, QString(), "Entry", QString(), Qt::WidgetShortcut);
    QStringList events;
    connect(menuButton, &MenuButton::buttonPressed, this,
            [&] { events << (menu->isVisible() ? "pressed, menu open" : "pressed"); });
    connect(menu, &QMenu::aboutToShow, this, [&] {
        events << QStringLiteral("menu");
        // The press returns only when the menu has closed.
        QTimer::singleShot(0, menu, [&] {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        });
    });
    QSignalSpy ids(menu, &Menu::actionTriggered);
    QTest::mouseClick(menuButton, Qt::LeftButton);
    QCOMPARE(events, QStringList({"pressed", "menu"}));
    QCOMPARE(ids, QList<QList<QVariant>>({{6}}));
}

void TestWidgets::flow_data()
{
    QTest::addColumn<QList<QSize>>("sizes"); // an empty size: a hidden widget
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<QRect>>("expected");

    const QSize s(30, 20);
    QTest::newRow("wraps") << QList<QSize>{s, s, s} << 80
                           << QList<QRect>{{0, 0, 30, 20}, {35, 0, 30, 20}, {0, 23, 30, 20}};
    // The second item's last column would be the row's last column.
    QTest::newRow("ends on the edge: wraps")
        << QList<QSize>{s, s} << 65 << QList<QRect>{{0, 0, 30, 20}, {0, 23, 30, 20}};
    QTest::newRow("one pixel more: fits")
        << QList<QSize>{s, s} << 66 << QList<QRect>{{0, 0, 30, 20}, {35, 0, 30, 20}};
    QTest::newRow("wider than the row, top-aligned rows")
        << QList<QSize>{{200, 10}, {30, 40}, s} << 70
        << QList<QRect>{{0, 0, 200, 10}, {0, 13, 30, 40}, {35, 13, 30, 20}};
    QTest::newRow("hidden widgets take no room")
        << QList<QSize>{s, {}, {}, s} << 66
        << QList<QRect>{{0, 0, 30, 20}, {}, {}, {35, 0, 30, 20}};
}

void TestWidgets::flow()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(int, width);
    QFETCH(QList<QRect>, expected);
    QWidget parent;
    auto *layout = new FlowLayout(&parent, 0, 5, 3);
    for (const QSize &size : sizes) {
        auto *widget = new QWidget(&parent);
        widget->setFixedSize(size.isEmpty() ? QSize(9, 9) : size);
        widget->setHidden(size.isEmpty());
        layout->addWidget(widget);
    }
    const int height = layout->heightForWidth(width);
    layout->setGeometry(QRect(0, 0, width, height));
    int bottom = 0;
    for (int i = 0; i < expected.size(); ++i) {
        if (!expected.at(i).isNull())
            QCOMPARE(layout->itemAt(i)->geometry(), expected.at(i));
        bottom = qMax(bottom, expected.at(i).bottom() + 1);
    }
    QCOMPARE(height, bottom);

    // Gaps of -1 take the spacing of the layout the flow sits in.
    QHBoxLayout box;
    box.setSpacing(7);
    auto *nested = new FlowLayout(0, -1, -1);
    QCOMPARE(nested->effectiveHorizontalGap(), -1);
    box.addLayout(nested);
    QCOMPARE(nested->effectiveHorizontalGap(), 7);
}

void TestWidgets::elidedLabel()
{
    const QString text = QStringLiteral(" Zoom To Fit");
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new ElidedLabel(&window);
    label->setText(text);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    label->setTextColor(QColor(0, 0, 255));
    layout->addWidget(label);
    window.resize(500, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Never wider than its text.
    QCOMPARE(label->width(), label->fontMetrics().horizontalAdvance(text) + 3);
    QCOMPARE(label->displayText(), text);
    window.resize(40, 20);
    QTRY_COMPARE(label->width(), 40);
    QVERIFY(label->displayText().endsWith(QChar(0x2026)));
    QVERIFY(text.startsWith(label->displayText().chopped(1)));
    QCOMPARE(label->toolTip(), text);
    // A new text while shown is elided at once.
    label->setText(QStringLiteral("Another very long caption"));
    QVERIFY(label->displayText().startsWith(QStringLiteral("An")));

    // Disabled, the text fades to alpha 64 and keeps its colour.
    for (const bool enabled : {true, false}) {
        label->setEnabled(enabled);
        QImage image(label->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int alpha = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                alpha = qMax(alpha, qAlpha(image.pixel(x, y)));
                QVERIFY(!qAlpha(image.pixel(x, y)) ||
                        (qRed(image.pixel(x, y)) == 0 && qGreen(image.pixel(x, y)) == 0));
            }
        }
        QCOMPARE(alpha, enabled ? 255 : 64);
    }
}

void TestWidgets::header()
{
    QFont font;
    font.setPixelSize(20);
    m_window->setFont(font);
    HeaderWidget header;
    header.resize(200, 10);
    header.addItem(QStringLiteral("Fixed"), FixedWidth, Qt::AlignLeft, 1, Qt::black, false, 0, 0,
                   {});
    header.setItemWidth(0, 40);
    header.addItem(QStringLiteral("one"), Stretch, Qt::AlignLeft, 1, Qt::black, false, 0, 0, {});
    header.addItem(QStringLiteral("three"), Stretch, Qt::AlignLeft, 3, Qt::black, true, 0, 0, {});
    header.layoutItems();
    QCOMPARE(header.height(), 30); // 1.5 times the font's pixel size
    QCOMPARE(header.item(0).width, 40);
    QCOMPARE(header.item(1).width, 40); // the rest shared 1 : 3
    QCOMPARE(header.item(2).width, 120);
    QVERIFY(!header.grab().isNull());
}

LUMENO_TEST_MAIN(TestWidgets)

#include "tst_widgets.moc"

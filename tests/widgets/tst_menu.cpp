#include "app/lumeno.h"
#include "widgets/menu.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QActionGroup>
#include <QSignalSpy>
#include <QTest>

// Menus are handled by id: every way of adding an action must report its id
// exactly once, also through a parent menu, and no query may reach an action
// that the menu has deleted.
class TestMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_window = new Lumeno; } // the icon registry
    void cleanupTestCase() { delete m_window; }
    void everyAddReportsItsId_data();
    void everyAddReportsItsId();
    void groups_data();
    void groups();
    void sameIdTwiceReachesTheLaterAction();
    void submenuEntriesReachTheOuterMenu();
    void queriesAfterClear();

private:
    Lumeno *m_window = nullptr;
};

void TestMenu::everyAddReportsItsId_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("addAction, shortcut text") << 0 << true << false;
    QTest::newRow("addAction, key sequence") << 1 << true << false;
    QTest::newRow("exclusive") << 2 << true << true;
    QTest::newRow("non-exclusive") << 3 << true << true;
    QTest::newRow("registerAction") << 4 << true << false;
    QTest::newRow("base class") << 5 << false << false;
    QTest::newRow("long long data") << 6 << false << false;
}

void TestMenu::everyAddReportsItsId()
{
    QFETCH(int, kind);
    QFETCH(bool, reported);
    QFETCH(bool, checkable);

    Menu menu;
    const int id = -3;
    const QString icon = QStringLiteral("open");
    const QString keys = QStringLiteral("Ctrl+O");
    const auto context = Qt::WidgetShortcut;
    QAction *action = kind == 0   ? menu.addAction(id, icon, "A", keys, context)
                      : kind == 1 ? menu.addAction(id, icon, "A", QKeySequence(keys), context)
                      : kind == 2 ? menu.addExclusiveAction(id, 1, icon, "A", keys, context)
                      : kind == 3 ? menu.addNonExclusiveAction(id, 1, icon, "A", keys, context)
                                  : menu.QMenu::addAction(QStringLiteral("A"));
    if (kind == 4)
        menu.registerAction(id, -1, action, true);
    if (kind == 6)
        action->setData(qlonglong(id));
    QCOMPARE(action->isCheckable(), checkable);
    if (kind < 4) {
        QCOMPARE(action->shortcut(), QKeySequence(keys));
        QCOMPARE(action->shortcutContext(), context);
        QVERIFY(!action->icon().isNull());
    }

    QSignalSpy spy(&menu, &Menu::actionTriggered);
    action->trigger();
    QCOMPARE(spy.count(), reported ? 1 : 0);
    if (reported)
        QCOMPARE(spy.at(0).at(0).toInt(), id);
}

void TestMenu::groups_data()
{
    QTest::addColumn<bool>("exclusive");
    QTest::newRow("exclusive") << true;
    QTest::newRow("non-exclusive") << false;
}

void TestMenu::groups()
{
    QFETCH(bool, exclusive);
    Menu menu;
    for (int id = 1; id <= 3; ++id) {
        if (exclusive)
            menu.addExclusiveAction(id, 7, QString(), "A", QString(), Qt::WidgetShortcut);
        else
            menu.addNonExclusiveAction(id, 7, QString(), "A", QString(), Qt::WidgetShortcut);
    }
    menu.setChecked(1, true);
    menu.setChecked(2, true);
    QCOMPARE(menu.isChecked(1), !exclusive);
    QVERIFY(menu.isChecked(2));
    QVERIFY(!menu.isChecked(3));
    QVERIFY(!menu.isChecked(99));

    // A group keeps the flag it was made with.
    QActionGroup *group = menu.actionGroup(7, !exclusive);
    QCOMPARE(group, menu.action(1)->actionGroup());
    QCOMPARE(group->isExclusive(), exclusive);
    QCOMPARE(menu.actionGroup(-1, exclusive), nullptr);
}

void TestMenu::sameIdTwiceReachesTheLaterAction()
{
    Menu menu;
    QAction *first =
        menu.addNonExclusiveAction(4, 0, QString(), "1", QString(), Qt::WidgetShortcut);
    QAction *later =
        menu.addNonExclusiveAction(4, 0, QString(), "2", QString(), Qt::WidgetShortcut);
    QSignalSpy spy(&menu, &Menu::actionTriggered);
    first->trigger();
    later->trigger();
    QCOMPARE(spy, QList<QList<QVariant>>({{4}, {4}}));

    first->setChecked(false);
    later->setChecked(false);
    menu.setChecked(4, true);
    QVERIFY(later->isChecked());
    QVERIFY(!first->isChecked());
}

void TestMenu::submenuEntriesReachTheOuterMenu()
{
    Menu outer;
    auto *sub = new Menu(&outer);
    sub->setTitle(QStringLiteral("More"));
    QAction *entry = sub->addAction(42, QString(), "Deep", QString(), Qt::WidgetShortcut);
    outer.addAction(1, QString(), "Top", QString(), Qt::WidgetShortcut);
    QAction *subAction = outer.addMenu(sub);
    QSignalSpy outerSpy(&outer, &Menu::actionTriggered);
    QSignalSpy subSpy(sub, &Menu::actionTriggered);

    // Through the user interface: open the submenu, click its entry.
    outer.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&outer));
    QTest::mouseClick(&outer, Qt::LeftButton, {}, outer.actionGeometry(subAction).center());
    QTRY_VERIFY(sub->isVisible());
    QTest::mouseClick(sub, Qt::LeftButton, {}, sub->actionGeometry(entry).center());
    QCOMPARE(outerSpy, QList<QList<QVariant>>({{42}}));
    QCOMPARE(subSpy, QList<QList<QVariant>>({{42}}));

    // Programmatically, with the menus closed.
    entry->trigger();
    QCOMPARE(outerSpy.count(), 2);
    QCOMPARE(subSpy.count(), 2);
}

void TestMenu::queriesAfterClear()
{
    Menu menu;
    menu.addExclusiveAction(1, 3, QString(), "1", QString(), Qt::WidgetShortcut);
    menu.addAction(2, QString(), "2", QString(), Qt::WidgetShortcut);
    QActionGroup *group = menu.actionGroup(3, true);
    menu.setChecked(1, true);

    menu.clear();
    QCOMPARE(menu.action(1), nullptr);
    QCOMPARE(menu.action(2), nullptr);
    QVERIFY(!menu.isChecked(1));
    menu.setChecked(1, true);
    menu.setChecked(2, true);

    // Rebuilding re-uses the surviving group.
    QAction *again = menu.addExclusiveAction(1, 3, QString(), "1", QString(), Qt::WidgetShortcut);
    QCOMPARE(again->actionGroup(), group);
    QCOMPARE(menu.action(1), again);
    QVERIFY(!menu.isChecked(1));
}

LUMENO_TEST_MAIN(TestMenu)
#include "tst_menu.moc"

#include "widgets/menu.h"

#include "app/lumeno.h"

#include <QAction>
#include <QActionGroup>

Menu::Menu(QWidget *parent) : QMenu(parent)
{
    // QMenu also emits triggered() for actions of submenus whose parent widget
    // is this menu, so those ids are reported here as well.
    connect(this, &QMenu::triggered, this, &Menu::handleAction);
}

void Menu::handleAction(QAction *action)
{
    if (!action)
        return;
    const QVariant data = action->data();
    // Only the ids the menu stored itself; other integer types are not ids.
    if (data.typeId() == QMetaType::Int)
        emit actionTriggered(data.toInt());
}

QActionGroup *Menu::actionGroup(int groupId, bool exclusive)
{
    if (groupId == -1)
        return nullptr;
    QActionGroup *&group = m_groups[groupId];
    if (!group) {
        group = new QActionGroup(this);
        group->setExclusive(exclusive);
    }
    return group;
}

void Menu::registerAction(int id, int groupId, QAction *action, bool exclusive)
{
    action->setData(id);
    if (QActionGroup *group = actionGroup(groupId, exclusive)) {
        action->setCheckable(true);
        group->addAction(action);
    }
    m_actions.insert(id, action);
}

QAction *Menu::addGroupedAction(int id, int groupId, const QString &iconName, const QString &text,
                                const QKeySequence &shortcut, Qt::ShortcutContext context,
                                bool exclusive)
{
    QAction *action = QMenu::addAction(text);
    if (!iconName.isEmpty()) {
        if (Lumeno *window = Lumeno::instance())
            action->setIcon(window->icon(iconName));
        action->setIconVisibleInMenu(true);
    }
    registerAction(id, groupId, action, exclusive);
    action->setShortcut(shortcut);
    action->setShortcutContext(context);
    return action;
}

QAction *Menu::addExclusiveAction(int id, int groupId, const QString &iconName, const QString &text,
                                  const QString &shortcut, Qt::ShortcutContext context)
{
    return addGroupedAction(id, groupId, iconName, text, QKeySequence(shortcut), context, true);
}

QAction *Menu::addNonExclusiveAction(int id, int groupId, const QString &iconName,
                                     const QString &text, const QString &shortcut,
                                     Qt::ShortcutContext context)
{
    return addGroupedAction(id, groupId, iconName, text, QKeySequence(shortcut), context, false);
}

QAction *Menu::addAction(int id, const QString &iconName, const QString &text,
                         const QKeySequence &shortcut, Qt::ShortcutContext context)
{
    return addGroupedAction(id, -1, iconName, text, shortcut, context, false);
}

QAction *Menu::addAction(int id, const QString &iconName, const QString &text,
                         const QString &shortcut, Qt::ShortcutContext context)
{
    return addAction(id, iconName, text, QKeySequence(shortcut), context);
}

bool Menu::isChecked(int id) const
{
    const QAction *found = action(id);
    return found && found->isChecked();
}

void Menu::setChecked(int id, bool checked)
{
    if (QAction *found = action(id))
        found->setChecked(checked);
}

QAction *Menu::action(int id) const
{
    return m_actions.value(id);
}

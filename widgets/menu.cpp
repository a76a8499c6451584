#include "widgets/menu.h"

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
    // Only the ids the menu stored itself; other integer types are not ids.
    const QVariant data = action->data();
    if (data.typeId() == QMetaType::Int)
        emit actionTriggered(data.toInt());
}

void Menu::registerAction(int id, QAction *action)
{
    action->setData(id);
    m_actions.insert(id, action);
}

QAction *Menu::addAction(int id, const QString &text)
{
    QAction *action = QMenu::addAction(text);
    registerAction(id, action);
    return action;
}

void Menu::addAction(int id, QAction *action)
{
    QMenu::addAction(action);
    registerAction(id, action);
}

QAction *Menu::addExclusiveAction(int id, int groupId, const QString &text)
{
    QAction *action = addAction(id, text);
    QActionGroup *&group = m_groups[groupId];
    if (!group)
        group = new QActionGroup(this);
    action->setCheckable(true);
    group->addAction(action);
    return action;
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

#ifndef LUMENO_MENU_H
#define LUMENO_MENU_H

#include <QHash>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QString>

class QAction;
class QActionGroup;

// A pop-up menu whose actions are addressed by integer ids. Every action added
// through the id operations carries its id as an int in QAction::data(), and
// whichever of them is triggered - also from a submenu whose parent widget is
// this menu - the menu emits actionTriggered(id), so an owner handles the whole
// menu in one slot.
//
// The menu owns the actions it creates and the action groups (both are its
// children). Registrations are never removed; clear() deletes the actions but
// keeps the groups, so re-adding actions with the same group id puts them into
// the same group again. An id whose action was deleted behaves as if it had
// never been registered.
class Menu : public QMenu
{
    Q_OBJECT

public:
    explicit Menu(QWidget *parent = nullptr);

    // The plain QMenu forms stay available; actions added through them carry
    // no id and trigger no actionTriggered().
    using QMenu::addAction;

    // The group stored under groupId, made with the given exclusive flag when
    // it is first asked for (later calls do not change the flag). Group id -1
    // means "no group" and gives null.
    QActionGroup *actionGroup(int groupId, bool exclusive);

    // Gives action the id (replacing any earlier action under that id) and,
    // unless groupId is -1, makes it checkable and puts it into that group.
    void registerAction(int id, int groupId, QAction *action, bool exclusive);

    // Appends a checkable action in an exclusive (radio-like) or a
    // non-exclusive group. An empty icon name leaves the action without icon;
    // an empty shortcut text gives no shortcut.
    QAction *addExclusiveAction(int id, int groupId, const QString &iconName, const QString &text,
                                const QString &shortcut, Qt::ShortcutContext context);
    QAction *addNonExclusiveAction(int id, int groupId, const QString &iconName,
                                   const QString &text, const QString &shortcut,
                                   Qt::ShortcutContext context);

    // Appends a plain (not checkable) action without group.
    QAction *addAction(int id, const QString &iconName, const QString &text,
                       const QKeySequence &shortcut, Qt::ShortcutContext context);
    QAction *addAction(int id, const QString &iconName, const QString &text,
                       const QString &shortcut, Qt::ShortcutContext context);

    // False, or nothing, for an id without a living action.
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    // The action last registered under id; null if there is none (any more).
    QAction *action(int id) const;

signals:
    // Emitted once per triggered action that carries an int id.
    void actionTriggered(int id);

public slots:
    void handleAction(QAction *action);

private:
    QAction *addGroupedAction(int id, int groupId, const QString &iconName, const QString &text,
                              const QKeySequence &shortcut, Qt::ShortcutContext context,
                              bool exclusive);

    // Guarded: clear() deletes the actions behind the menu's back.
    QHash<int, QPointer<QAction>> m_actions;
    QHash<int, QActionGroup *> m_groups;
};

#endif

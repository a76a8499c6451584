#ifndef LUMENO_MENU_H
#define LUMENO_MENU_H

#include <QHash>
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
// children); actions handed in stay their owner's. clear() deletes the
// menu's own actions but keeps the groups, so re-adding actions with the same
// group id puts them into the same group again. An id whose action was
// deleted behaves as if it had never been registered.
class Menu : public QMenu
{
    Q_OBJECT

public:
    explicit Menu(QWidget *parent = nullptr);

    // The plain QMenu forms stay available; actions added through them carry
    // no id and trigger no actionTriggered().
    using QMenu::addAction;

    // Appends a plain action with text.
    QAction *addAction(int id, const QString &text);
    // Appends action, made elsewhere, under id.
    void addAction(int id, QAction *action);
    // Appends a checkable action in an exclusive (radio-like) group.
    QAction *addExclusiveAction(int id, int groupId, const QString &text);

    // False, or nothing, for an id without a living action.
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    // The action last registered under id; null if there is none (any more).
    QAction *action(int id) const;

signals:
    // Emitted once per triggered action that carries an int id.
    void actionTriggered(int id);

private:
    void handleAction(QAction *action);
    // Gives action the id, replacing any earlier action under that id.
    void registerAction(int id, QAction *action);

    // Guarded: clear() deletes the actions behind the menu's back.
    QHash<int, QPointer<QAction>> m_actions;
    QHash<int, QActionGroup *> m_groups;
};

#endif

#ifndef LUMENO_MENUBUTTON_H
#define LUMENO_MENUBUTTON_H

#include "widgets/toolbutton.h"

class Menu;

// A ToolButton that owns an id Menu and pops it up as soon as it is pressed.
// Its object name is "menu_button"; callers may change it to select another
// style-sheet rule ("no_arrow" hides the caption and the arrow).
class MenuButton : public ToolButton
{
    Q_OBJECT

public:
    explicit MenuButton(QWidget *parent);
    MenuButton(QWidget *parent, const QString &iconName);

    // The button's menu; a child of the button, alive as long as it is.
    Menu *buttonMenu() const { return m_buttonMenu; }

signals:
    // Emitted once per mouse press, before the menu is shown, so that a
    // receiver can still rebuild or update the menu.
    void buttonPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void setUpMenu();

    Menu *m_buttonMenu = nullptr;
};

#endif

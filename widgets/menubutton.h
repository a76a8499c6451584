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
    // Icon only, as ToolButton's.
    MenuButton(QWidget *parent, const QIcon &icon, const QSize &iconSize);

    // The button's menu; a child of the button, alive as long as it is.
    Menu *buttonMenu() const { return m_buttonMenu; }

private:
    Menu *m_buttonMenu;
};

#endif

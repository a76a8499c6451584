#include "widgets/menubutton.h"

#include "widgets/menu.h"

MenuButton::MenuButton(QWidget *parent, const QIcon &icon, const QSize &iconSize)
    : ToolButton(parent, icon, iconSize, QStringLiteral("menu_button")),
      m_buttonMenu(new Menu(this))
{
    setPopupMode(QToolButton::InstantPopup);
    setMenu(m_buttonMenu);
}

#include "widgets/menubutton.h"

#include "widgets/menu.h"

MenuButton::MenuButton(QWidget *parent)
    : ToolButton(parent, QString(), QString(), QString(), QStringLiteral("menu_button"))
{
    setUpMenu();
}

MenuButton::MenuButton(QWidget *parent, const QString &iconName)
    : ToolButton(parent, iconName, QString(), QString(), QStringLiteral("menu_button"))
{
    setUpMenu();
}

void MenuButton::setUpMenu()
{
    setPopupMode(QToolButton::InstantPopup);
    m_buttonMenu = new Menu(this);
    setMenu(m_buttonMenu);
}

void MenuButton::mousePressEvent(QMouseEvent *event)
{
    emit buttonPressed();
    // Opens the menu (instant popup) and returns only when it has closed.
    ToolButton::mousePressEvent(event);
}

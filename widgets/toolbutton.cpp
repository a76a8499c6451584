#include "widgets/toolbutton.h"

ToolButton::ToolButton(QWidget *parent, const QIcon &icon, const QSize &iconSize,
                       const QString &objectName)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);
    if (!icon.isNull()) {
        setIcon(icon);
        setIconSize(iconSize);
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setFixedSize(iconSize.width() + 10, iconSize.height() + 10);
    }
}

ToolButton::ToolButton(QWidget *parent, const QString &text, const QIcon &icon,
                       const QString &toolTip, const QString &objectName)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);
    setText(text);
    setToolTip(toolTip);
    if (!icon.isNull()) {
        setIcon(icon);
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
}

void ToolButton::setExpandingHeight(bool expanding)
{
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Preferred,
                  expanding ? QSizePolicy::Ignored : QSizePolicy::Expanding);
}

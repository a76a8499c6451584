#include "widgets/toolbutton.h"

#include "app/lumeno.h"

#include <QKeySequence>
#include <QPainter>

namespace {

QPixmap registryPixmap(const QString &name)
{
    Lumeno *window = Lumeno::instance();
    return window ? window->pixmap(name) : QPixmap();
}

QIcon registryIcon(const QString &name)
{
    Lumeno *window = Lumeno::instance();
    return window ? window->icon(name) : QIcon();
}

} // namespace

ToolButton::ToolButton(QWidget *parent, const QString &iconName, const QString &toolTip,
                       const QString &shortcut, const QString &objectName)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setUp(iconName, toolTip, shortcut, true);
}

ToolButton::ToolButton(QWidget *parent, const QString &text, const QString &iconName,
                       const QString &toolTip, const QString &shortcut, const QString &objectName)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setText(text);
    setUp(iconName, toolTip, shortcut, false);
}

void ToolButton::setUp(const QString &iconName, const QString &toolTip, const QString &shortcut,
                       bool iconOnly)
{
    if (!iconName.isEmpty()) {
        setIcon(registryIcon(iconName));
        if (iconOnly) {
            // Logical pixels: on a scaled display the picture has more.
            const QSize size = registryPixmap(iconName).deviceIndependentSize().toSize();
            setIconSize(size);
            setToolButtonStyle(Qt::ToolButtonIconOnly);
            setFixedSize(size.width() + 10, size.height() + 10);
        } else {
            setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        }
    }

    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(false);

    if (!toolTip.isEmpty()) {
        setToolTip(shortcut.isEmpty()
                       ? toolTip
                       : toolTip + QStringLiteral(" (") + shortcut + QLatin1Char(')'));
    }
    if (!shortcut.isEmpty())
        setShortcut(QKeySequence(shortcut));
}

void ToolButton::setOverlayText(const QString &text, const QColor &color, const QFont &font)
{
    m_overlayText = text;
    m_overlayColor = color;
    m_overlayFont = font;
    m_overlayEnabled = true;
}

void ToolButton::setExpandingHeight(bool expanding)
{
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Preferred,
                  expanding ? QSizePolicy::Ignored : QSizePolicy::Expanding);
}

void ToolButton::setSizeFromIcon(int margin)
{
    setFixedSize(iconSize().width() + margin, iconSize().height() + margin);
}

void ToolButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (!m_overlayEnabled)
        return;
    QPainter painter(this);
    painter.setFont(m_overlayFont);
    painter.setPen(m_overlayColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(QRect(0, 0, width(), height()), Qt::AlignCenter, m_overlayText);
}

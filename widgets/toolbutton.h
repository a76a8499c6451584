#ifndef LUMENO_TOOLBUTTON_H
#define LUMENO_TOOLBUTTON_H

#include <QIcon>
#include <QSize>
#include <QString>
#include <QToolButton>

// The toolbar and panel button. Its class name is a style-sheet type selector
// ("ToolButton"). It never takes keyboard focus and never auto-repeats.
class ToolButton : public QToolButton
{
    Q_OBJECT

public:
    // Icon only, of iconSize logical pixels; the button gets a fixed size of
    // the icon's plus 10 pixels in each dimension. A null icon leaves it
    // unsized.
    ToolButton(QWidget *parent, const QIcon &icon, const QSize &iconSize,
               const QString &objectName);
    // Text beside the icon (text only with a null icon); no fixed size.
    ToolButton(QWidget *parent, const QString &text, const QIcon &icon, const QString &toolTip,
               const QString &objectName);

    // Lets the button take the full height of its row (true) or grow with
    // spare vertical space (false).
    void setExpandingHeight(bool expanding);
};

#endif

#ifndef LUMENO_TOOLBUTTON_H
#define LUMENO_TOOLBUTTON_H

#include <QColor>
#include <QFont>
#include <QString>
#include <QToolButton>

// The toolbar and panel button. Its class name is a style-sheet type selector
// ("ToolButton"). It never takes keyboard focus and never auto-repeats.
//
// Icons are looked up by name in the main window's registry
// (Lumeno::pixmap() and Lumeno::icon()); without a main window, or for an
// unknown name, the button gets a null icon. The tool tip reads
// "Label (Shortcut)" with the shortcut text exactly as the caller wrote it, and
// the shortcut itself is installed on the button.
class ToolButton : public QToolButton
{
    Q_OBJECT

public:
    // Icon only; the button gets a fixed size of the icon's pixmap size plus
    // 10 pixels in each dimension. An empty icon name leaves it unsized.
    ToolButton(QWidget *parent, const QString &iconName, const QString &toolTip,
               const QString &shortcut, const QString &objectName);
    // Text beside the icon (text only without icon name); no fixed size.
    ToolButton(QWidget *parent, const QString &text, const QString &iconName,
               const QString &toolTip, const QString &shortcut, const QString &objectName);

    // Paints text centred over the whole button from the next repaint on;
    // it does not schedule one. The overlay cannot be switched off again.
    void setOverlayText(const QString &text, const QColor &color, const QFont &font);
    // Lets the button take the full height of its row (true) or grow with
    // spare vertical space (false).
    void setExpandingHeight(bool expanding);
    // Fixes the size to the current icon size plus margin in each dimension.
    void setSizeFromIcon(int margin);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setUp(const QString &iconName, const QString &toolTip, const QString &shortcut,
               bool iconOnly);

    bool m_overlayEnabled = false;
    QString m_overlayText;
    QColor m_overlayColor;
    QFont m_overlayFont;
};

#endif

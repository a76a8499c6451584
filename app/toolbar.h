#ifndef LUMENO_TOOLBAR_H
#define LUMENO_TOOLBAR_H

#include <QFrame>
#include <QString>

class ColorWidget;
class FlowLayout;
class Menu;
class MenuButton;
class QHBoxLayout;
class ToolButton;

// The strip across the top of the main window: the tool menu button, the nine
// command buttons and the mouse legend in a flow layout that wraps onto more
// rows in a narrow window, and the colour panel at the right end.
//
// Owns its widgets through Qt parenting; the main window connects them.
class Toolbar : public QFrame
{
    Q_OBJECT

public:
    // The commands, by the id they carry in the tool menu.
    enum Command
    {
        Open = 0,
        Save = 1,
        SaveAs = 2,
        Copy = 3,
        Paste = 4,
        Crop = 5,
        ZoomToSelection = 6,
        ZoomToFit = 7,
        ResetZoom = 8,
        CommandCount = 9,
    };

    explicit Toolbar(QWidget *parent);

    MenuButton *menuButton() const { return m_menuButton; }
    Menu *menu() const;
    // The button of a command; null for an id that is no command.
    ToolButton *button(int command) const;
    ColorWidget *colorWidget() const { return m_colorWidget; }

private:
    ToolButton *addToolbarButton(const QString &iconName, const QString &toolTip,
                                 const QString &shortcut, const QString &objectName);
    void addLegendItem(const QString &pixmapName, const QString &text);
    QFrame *addToolbarFrame();
    void makeSeparator(QLayout *layout);

    QHBoxLayout *m_toolbarLayout;
    FlowLayout *m_flowLayout;
    MenuButton *m_menuButton;
    ToolButton *m_buttons[CommandCount] = {};
    ColorWidget *m_colorWidget;
};

#endif

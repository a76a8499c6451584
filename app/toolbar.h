#ifndef LUMENO_TOOLBAR_H
#define LUMENO_TOOLBAR_H

#include <QFrame>
#include <QList>
#include <QString>

class ColorWidget;
class FlowLayout;
class Menu;
class MenuButton;
class QHBoxLayout;
class ToolButton;

// The strip across the top of the main window: the tool menu button, the nine
// command buttons and the mouse legend in a flow layout, and the colour panel
// at the right end.
//
// The strip is always one row, 32 pixels high, so the picture below it never
// moves. Where the window is too narrow for everything, the legend gives way:
// its items are hidden whole, from the right. The strip's minimum width keeps
// the menu button, the nine buttons and the colour panel in view.
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
        // Tool menu entries without a button.
        About = 9,
        PixelGrid = 10, // checkable: the view's pixel grid
        Undo = 11,
        Redo = 12,
        GrabScreen = 13,
    };

    explicit Toolbar(QWidget *parent);

    MenuButton *menuButton() const { return m_menuButton; }
    Menu *menu() const;
    // The button of a command; null for an id that is no command.
    ToolButton *button(int command) const;
    ColorWidget *colorWidget() const { return m_colorWidget; }
    // The legend's items, left to right; hidden ones did not fit.
    QList<QWidget *> legendItems() const { return m_legendItems; }

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Shows as many legend items as fit beside everything else, and sets the
    // minimum width.
    void updateLegend();
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
    QList<QWidget *> m_legendItems;
};

#endif

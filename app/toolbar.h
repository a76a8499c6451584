#ifndef LUMENO_TOOLBAR_H
#define LUMENO_TOOLBAR_H

#include <QFrame>
#include <QList>
#include <QString>

class Artwork;
class ColorWidget;
class Commands;
class FlowLayout;
class Menu;
class MenuButton;
class QHBoxLayout;
class ToolButton;

// The strip across the top of the main window: the tool menu button, the nine
// command buttons and the mouse legend in a flow layout, and the colour panel
// at the right end. The buttons and the tool menu show the commands' actions.
//
// The strip is always one row, 32 pixels high, so the picture below it never
// moves. Where the window is too narrow for everything, the legend gives way
// first: its items are hidden whole, from the right; then the colour panel
// gives up room, down to its minimum. The strip's minimum width keeps the
// menu button, the nine buttons and the panel at its minimum in view, and
// does not depend on the colour format.
class Toolbar : public QFrame
{
    Q_OBJECT

public:
    // The panel is taken over as a child; the commands are not owned.
    Toolbar(Commands *commands, const Artwork &artwork, ColorWidget *panel, QWidget *parent);

    MenuButton *menuButton() const { return m_menuButton; }
    Menu *menu() const;
    // The button of a command; null for an id without a button.
    ToolButton *button(int command) const;
    ColorWidget *colorWidget() const { return m_colorWidget; }
    // The legend's items, left to right; hidden ones did not fit.
    QList<QWidget *> legendItems() const { return m_legendItems; }

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Gives the panel its width, shows as many legend items as fit beside
    // everything else, and sets the minimum width.
    void updateLegend();
    void addLegendItem(const QPixmap &picture, const QString &text);
    void makeSeparator(QLayout *layout);

    QHBoxLayout *m_toolbarLayout;
    FlowLayout *m_flowLayout;
    MenuButton *m_menuButton;
    QList<ToolButton *> m_buttons;
    ColorWidget *m_colorWidget;
    QList<QWidget *> m_legendItems;
};

#endif

#ifndef LUMENO_FORMATMENU_H
#define LUMENO_FORMATMENU_H

#include <QObject>
#include <QString>

class FormatList;
class Menu;
class PickModel;
class RecentColors;
class Selection;

// Fills the colour panel's format menu from the models and carries out what
// is chosen in it: the sample size (ids -10, -11, -12: a point, 3 x 3 or
// 5 x 5), the formats (their indexes in the FormatList), "Add Custom" (-1,
// through the add dialog, which previews the clicked colour), the "Remove
// Custom" submenu (the custom indexes offset by the whole count, and -2 for
// "Remove All", each confirmed first) and the "Recent" submenu (ids -100 to
// -109, newest first), whose entries are copied again. "Colour-Managed
// Display" (-20) switches the document between showing its pictures in sRGB
// and as stored.
//
// The menu is rebuilt whenever the format list or the recent texts change.
// Neither the menu nor the models are owned; dialogs are parented to the
// menu's window.
class FormatMenu : public QObject
{
    Q_OBJECT

public:
    FormatMenu(Menu *menu, FormatList *formats, RecentColors *recent, PickModel *pick,
               Selection *selection, QObject *parent = nullptr);

    // Carries out the entry with that id, as if it was chosen.
    void trigger(int id);

signals:
    // A recent text was chosen: it is to be copied again.
    void copyRequested(const QString &text);

private:
    void rebuild();
    void rebuildRecent();
    bool confirm(const QString &text);
    void addCustomFormat();

    Menu *m_menu;
    Menu *m_removeMenu;
    Menu *m_recentMenu;
    FormatList *m_formats;
    RecentColors *m_recent;
    PickModel *m_pick;
    Selection *m_selection;
};

#endif

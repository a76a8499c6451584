#ifndef LUMENO_LUMENO_H
#define LUMENO_LUMENO_H

#include "util/artwork.h"

#include <QStringList>
#include <QWidget>

class ColorWidget;
class Commands;
class FileWorkflow;
class FormatList;
class Manager;
class PickModel;
class RecentColors;
class ScreenGrab;
class Selection;
class Toolbar;
class View;

// The program's only window, and the place where its parts are put
// together: the models (the document with its manager, the selection, what
// is picked, the formats and the recent colours), the toolbar with the
// colour panel, the view, and the commands, each connected to what it does.
// Nothing below this class knows it: the parts only talk through the models'
// signals and the commands' actions.
//
// Owns all of them, through Qt parenting. Until the first picture is shown
// the title stays "Corvane"; then it names the file, its size and the
// selection.
class Lumeno : public QWidget
{
    Q_OBJECT

public:
    // firstPath, when it names a file, starts decoding at once, while the
    // window is built.
    explicit Lumeno(const QString &firstPath = QString(), QWidget *parent = nullptr);
    // Writes the window settings first.
    ~Lumeno() override;

    // Shows the first of paths (the images named on the command line), or
    // with none the clipboard's image, if it has one, a moment later. A path
    // that is no image file shows nothing, and then the clipboard is not
    // consulted either.
    void chooseFirstImage(const QStringList &paths);

    View *view() const { return m_view; }
    Manager *manager() const { return m_manager; }
    Toolbar *toolbar() const { return m_toolbar; }
    ColorWidget *colorWidget() const { return m_colorWidget; }
    Commands *commands() const { return m_commands; }
    FileWorkflow *files() const { return m_files; }
    Selection *selection() const { return m_selection; }
    PickModel *pick() const { return m_pick; }
    FormatList *formats() const { return m_formats; }

protected:
    // Closing asks about unsaved changes first.
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void connectCommands();
    void updateTitle();
    // The small window that tells what Lumeno is, its version and where its
    // settings are kept.
    void about();
    void copySelection();
    void loadStyleSheet();

    Artwork m_artwork;
    Manager *m_manager;
    Selection *m_selection;
    PickModel *m_pick;
    FormatList *m_formats;
    RecentColors *m_recent;
    Commands *m_commands;
    ColorWidget *m_colorWidget;
    Toolbar *m_toolbar;
    View *m_view;
    FileWorkflow *m_files;
    ScreenGrab *m_screenGrab;
};

#endif

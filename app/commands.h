#ifndef LUMENO_COMMANDS_H
#define LUMENO_COMMANDS_H

#include <QList>
#include <QObject>

class Artwork;
class Document;
class QAction;
class Selection;

// Every command of the program, one QAction each, with its text, icon,
// keys and enabled state: the one place where keys are bound. The toolbar's
// buttons and the tool menu are built from these actions; the main window
// connects what they do.
//
// The ids of the first fourteen are the ids the tool menu reports; they keep
// their meaning. An action is enabled exactly when its command can act, as
// the document, the selection, the undo history and the clipboard say; the
// states follow their change signals.
class Commands : public QObject
{
    Q_OBJECT

public:
    enum Id
    {
        // With a toolbar button, in the buttons' order.
        Open = 0,
        Save = 1,
        SaveAs = 2,
        Copy = 3,
        Paste = 4,
        Crop = 5,
        ZoomToSelection = 6,
        ZoomToFit = 7,
        ResetZoom = 8,
        ButtonCount = 9,
        // In the tool menu only.
        About = 9,
        PixelGrid = 10, // checkable: the view's pixel grid
        Undo = 11,
        Redo = 12,
        GrabScreen = 13,
        // Keys only.
        SelectAll,
        ClearSelection,
        CopyColor,
        Quit,
        PickHovered, // the hovered colour, or the keys' pick point, as clicked
        Count
    };

    // The models are not owned.
    Commands(const Artwork &artwork, Document *document, Selection *selection,
             QObject *parent = nullptr);

    QAction *action(int id) const;
    QList<QAction *> actions() const { return m_actions; }
    // The object name of a command's toolbar button ("load_button"...).
    static QString buttonName(int id);
    // The name of a command's picture in the artwork; empty without one.
    static QString iconName(int id);

private:
    void updateStates();

    Document *m_document;
    Selection *m_selection;
    QList<QAction *> m_actions;
};

#endif

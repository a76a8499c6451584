#ifndef LUMENO_FILEWORKFLOW_H
#define LUMENO_FILEWORKFLOW_H

#include <QObject>
#include <QString>

class Manager;
class QDropEvent;
class QMimeData;
class QWidget;

// How pictures come from files and go back to them: the Open and Save As
// dialogs, Save, the question about unsaved changes before a picture is set
// aside, and pictures or files dropped onto the window.
//
// The dialogs start in the folder last used, which is kept in the settings
// ("file/current_dir"); message boxes and dialogs belong to window. Neither
// the window nor the manager is owned.
class FileWorkflow : public QObject
{
    Q_OBJECT

public:
    FileWorkflow(QWidget *window, Manager *manager);

    // The folder the Open and Save As dialogs start in.
    QString currentDir() const { return m_currentDir; }

    // Before the picture is replaced by a file or the window closes: a
    // modified document is saved, discarded or kept as the user answers.
    // Returns whether to go on.
    bool maySetDocumentAside();
    // Whether a drag carries something a drop would open.
    static bool isAcceptableDrop(const QMimeData *data, Qt::DropActions actions);
    // Opens what was dropped: image data at once, or the first local file
    // once the picture shown may be set aside. False when nothing in it
    // could be used.
    bool drop(const QMimeData *data, Qt::DropActions actions);

public slots:
    void open();
    // Save, or Save As when the document has no file; true once it is
    // written.
    bool save();
    bool saveAs();

private:
    // Writes the document to path; tells the user when that fails. Returns
    // whether the document is saved now.
    bool saveTo(const QString &path);
    // The folder the file dialogs start in: the one last used, or the home
    // folder when that one does not exist.
    QString dialogFolder() const;
    void setCurrentDir(const QString &path);

    QWidget *m_window;
    Manager *m_manager;
    QString m_currentDir;
};

#endif

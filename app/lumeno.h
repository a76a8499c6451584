#ifndef LUMENO_LUMENO_H
#define LUMENO_LUMENO_H

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class Image;
class Manager;
class QMimeData;
class ScreenGrab;
class QTimer;
class Toolbar;
class View;

// The program's only window: the toolbar strip across the top and the image
// view below it. Also the program's service point: other classes reach the
// picture registry, the fixed-pitch font, the document source and the title
// and button refreshes through Lumeno::instance().
//
// Owns, through Qt parenting, the toolbar and its widgets, the view, the
// Manager (and with it the loader thread and the one document) and its timer.
class Lumeno : public QWidget
{
    Q_OBJECT

public:
    explicit Lumeno(QWidget *parent = nullptr);
    // Writes the window settings first.
    ~Lumeno() override;

    // The window under construction or alive; null before the first and after
    // the last one.
    static Lumeno *instance();

    // The registered picture of that base name ("open", "checker"). A name
    // never registered is added with a null value, which is returned.
    QPixmap &pixmap(const QString &name);
    QIcon &icon(const QString &name);
    // A copy of source drawn at opacity alpha / 255 on a transparent pixmap.
    static QPixmap fadedPixmap(const QPixmap &source, int alpha);
    // The window's font with the family "courier", everything else kept.
    QFont monospaceFont() const;

    // Shows the first of paths (the images named on the command line), or
    // with none the clipboard's image, if it has one, a moment later. A path
    // that is no image file shows nothing, and then the clipboard is not
    // consulted either.
    void chooseFirstImage(const QStringList &paths);

    View *view() const { return m_view; }
    Manager *manager() const { return m_manager; }
    Toolbar *toolbar() const { return m_toolbar; }
    QString currentDir() const { return m_currentDir; }

public slots:
    // Installs the expanded style sheet on the application.
    void updateStyleSheet();
    // Reads the style sheet resource, expands its variables and installs it.
    void loadStyleSheet();
    void showImageHandler(Image *image);
    void loadButtonClickedHandler();
    void saveButtonClickedHandler();
    void saveAsButtonClickedHandler();
    void copyButtonClickedHandler();
    void pasteButtonClickedHandler();
    void cropButtonClickedHandler();
    void zoomToSelButtonClickedHandler();
    void zoomToFitButtonClickedHandler();
    void zoomResetButtonClickedHandler();
    void menuActionHandler(int id);
    // The small window that tells what Lumeno is, its version and where its
    // settings are kept.
    void aboutHandler();
    // Hides the window, captures the screens and shows the capture as a new,
    // unsaved document named "screen", with the pixel that was under the
    // pointer under it again.
    void grabScreenHandler();
    // Before the first document the title stays "Corvane".
    void updateTitle();
    // Enables each button and tool-menu entry exactly when it can act.
    void updateButtons();
    void selectionChangedHandler();

protected:
    // Closing asks about unsaved changes first.
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void loadResources();
    void loadImageResource(const QString &path, bool makeIcon);
    void installShortcuts();
    void connectToolbar();
    void loadSettings();
    void saveSettings();
    // Writes the document to path; tells the user when that fails. Returns
    // whether the document is saved now.
    bool saveTo(const QString &path);
    // Save, or Save As when the document has no file; true once it is
    // written.
    bool saveDocument();
    bool saveDocumentAs();
    // Before the document is replaced by a file or the window closes: a
    // modified document is saved, discarded or kept as the user answers.
    // Returns whether to go on.
    bool maySetDocumentAside();
    // The folder the file dialogs start in: the one last used, or the home
    // folder when that one does not exist.
    QString dialogFolder() const;
    static bool isAcceptableDrop(const QMimeData *data, Qt::DropActions actions);
    // A stored geometry (screen coordinates), whatever its values, made to
    // fit wholly in the free area of the screen that shows most of it.
    static QRect placedOnScreen(const QRect &geometry);

    // File-dialog filters: every format that opens, and every one that saves.
    QString m_openFilter;
    QString m_saveFilter;
    View *m_view = nullptr;
    Manager *m_manager = nullptr;
    QHash<QString, QPixmap> m_pixmaps;
    QHash<QString, QIcon> m_icons;
    // The application's style sheet with its variables expanded.
    QString m_styleSheet;
    Toolbar *m_toolbar = nullptr;
    // The folder the Open and Save As dialogs start in.
    QString m_currentDir;
    QTimer *m_updateButtonsTimer = nullptr;
    ScreenGrab *m_screenGrab = nullptr;
};

#endif

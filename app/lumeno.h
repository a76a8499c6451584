#ifndef LUMENO_LUMENO_H
#define LUMENO_LUMENO_H

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class Image;
class Manager;
class View;

// The program's only window, and its service point: other classes reach the
// picture registry, the fixed-pitch font, the document source and the title
// and button refreshes through Lumeno::instance().
//
// Owns, through Qt parenting, every widget of the window, the view and the
// Manager (and with it the loader thread and the one document).
class Lumeno : public QWidget
{
    Q_OBJECT

public:
    explicit Lumeno(QWidget *parent = nullptr);
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

    View *view() const { return m_view; }
    Manager *manager() const { return m_manager; }

public slots:
    // Installs the expanded style sheet on the application.
    void updateStyleSheet();
    // Reads the style sheet resource, expands its variables and installs it.
    void loadStyleSheet();
    void showImageHandler(Image *image);
    void updateTitle();
    void updateButtons();
    void selectionChangedHandler();

private:
    void loadResources();
    void loadImageResource(const QString &path, bool makeIcon);
    void installShortcuts();
    void chooseFirstImage();

    View *m_view = nullptr;
    Manager *m_manager = nullptr;
    QHash<QString, QPixmap> m_pixmaps;
    QHash<QString, QIcon> m_icons;
    // The application's style sheet with its variables expanded.
    QString m_styleSheet;
    QString m_currentDir;
};

#endif

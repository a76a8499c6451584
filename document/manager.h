#ifndef LUMENO_MANAGER_H
#define LUMENO_MANAGER_H

#include "document/document.h"

#include <QFileInfo>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class LoadThread;
class QMimeData;

// The one way a new picture enters the document: a file path (decoded on the
// loader thread), the clipboard's image, or image data dropped on the window.
// A file opens as a new document; pasted, dropped and grabbed pictures
// replace it undoably.
//
// The newest thing the user did wins. Every request for a file carries a
// generation number, and so does every change of the document's picture; a
// decode that ends after anything newer (another file asked for, a paste, a
// drop, a crop, an undo) is dropped without a word, so a late file never
// replaces newer work.
//
// Owns the Document and the loader thread. A failed load leaves the document
// as it was and says why through failed().
class Manager : public QObject
{
    Q_OBJECT

public:
    explicit Manager(QObject *parent = nullptr);
    ~Manager() override;

    Document *document() const { return m_document; }
    // From a request for a file until its result arrives or something newer
    // makes it stale.
    bool isLoading() const;

signals:
    // A picture could not be opened; title and text say why, in words for
    // the user. Emitted on the GUI thread.
    void failed(const QString &title, const QString &text);

public slots:
    // Loads path in the background once control is back in the event loop;
    // several calls before then load the last path once. An empty or missing
    // path is ignored; one that exists but is no regular file (a folder, a
    // pipe, a device) is named in failed().
    void setPath(const QString &path);
    void setFromClipboard();
    // Takes over a picture that has no file, modified, under name, with its
    // colour space. A null image is ignored.
    void setImage(const QImage &image, const QString &name = QStringLiteral("untitled"));
    // Takes over the picture in dropped or pasted data, through the same
    // checks as a file: encoded image bytes are decoded here, an image the
    // toolkit has already decoded must fit in the memory budget. Returns
    // false when the data holds no picture at all.
    bool setImageData(const QMimeData *data);
    // Takes the clipboard's image only while no picture is shown and none is
    // on its way.
    void trySetFromClipboard();

private:
    void startLoading();
    // Whether a result of the request of generation may still be shown; ends
    // the request either way.
    bool takeResult(quint64 generation);
    void imageLoadedHandler(const QFileInfo &file, quint64 generation, const Picture &picture);
    void imageFailedHandler(const QFileInfo &file, quint64 generation);
    void imageTooLargeHandler(const QFileInfo &file, quint64 generation, const QSize &size);
    void imageUnreadableHandler(const QFileInfo &file, quint64 generation);
    void warn(const QString &text, const QString &title = QStringLiteral("Unable To Open File"));
    void warnTooLarge(const QSize &size);

    LoadThread *m_loadThread;
    Document *m_document;
    QString m_pendingPath;
    // Counts requests for files and changes of the document's picture.
    quint64 m_generation = 0;
    // The generation of the request for a file not answered yet; 0: none.
    quint64 m_request = 0;
};

#endif

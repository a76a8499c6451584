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

// The one way a new document enters the program: a file path (decoded on the
// loader thread), the clipboard's image, or image data dropped on the window.
//
// Owns the Document, whose one Image it announces with showImage() whenever
// a picture is shown; every later picture is assigned into the same object,
// so that pointer stays valid for the Manager's whole life. A file opens as a
// new document; pasted and dropped pictures replace it undoably. A failed
// load leaves the document as it was and tells the user in a warning box.
class Manager : public QObject
{
    Q_OBJECT

public:
    explicit Manager(QObject *parent = nullptr);
    ~Manager() override;

    Image *currentImage() { return m_document->image(); }
    Document *document() const { return m_document; }

signals:
    // A new document is ready; always the address of the Manager's image.
    void showImage(Image *image);

public slots:
    // Loads path in the background once control is back in the event loop;
    // several calls before then load the last path once. An empty or missing
    // path is ignored; one that exists but is no regular file (a folder, a
    // pipe, a device) is named in a warning.
    void setPath(const QString &path);
    void setFromClipboard();
    // Takes over an image that has no file ("untitled", modified). A null
    // image is ignored.
    void setImage(const QImage &image);
    // Takes over the picture in dropped or pasted data, through the same
    // checks as a file: encoded image bytes are decoded here, an image the
    // toolkit has already decoded must fit in the memory budget. Returns
    // false when the data holds no picture at all.
    bool setImageData(const QMimeData *data);
    void imageLoadedHandler(const QFileInfo &file, const QImage &image);
    void imageFailedHandler(const QFileInfo &file);
    void imageTooLargeHandler(const QFileInfo &file, const QSize &size);
    void imageUnreadableHandler(const QFileInfo &file);
    // Takes the clipboard's image only while no document has been shown.
    void trySetFromClipboard();
    void parsePath();

private:
    void loadFile(const QFileInfo &file);
    void warn(const QString &text, const QString &title = QStringLiteral("Unable To Open File"));
    void warnTooLarge(const QSize &size);

    LoadThread *m_loadThread;
    Document *m_document;
    QString m_pendingPath;
};

#endif

#ifndef LUMENO_MANAGER_H
#define LUMENO_MANAGER_H

#include "document/image.h"

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
// Owns the single Image by value and announces its address with showImage();
// every later document is assigned into the same object, so that pointer stays
// valid for the Manager's whole life. A failed load leaves the document as it
// was and tells the user in a warning box.
class Manager : public QObject
{
    Q_OBJECT

public:
    explicit Manager(QObject *parent = nullptr);
    ~Manager() override;

    Image *currentImage() { return &m_image; }

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
    void setImage(const QString &path, const QImage &image, bool modified, bool hasFile);
    void emitShowImage();
    void warn(const QString &text, const QString &title = QStringLiteral("Unable To Open File"));
    void warnTooLarge(const QSize &size);

    LoadThread *m_loadThread;
    Image m_image;
    QString m_pendingPath;
};

#endif

#ifndef LUMENO_MANAGER_H
#define LUMENO_MANAGER_H

#include "document/image.h"

#include <QFileInfo>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class LoadThread;

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
    // Loads path in the background once control is back in the event loop.
    // Empty paths and anything but an existing regular file are ignored.
    void setPath(const QString &path);
    void setFromClipboard();
    // Takes over an image that has no file ("untitled", modified). A null
    // image is ignored.
    void setImage(const QImage &image);
    void imageLoadedHandler(const QFileInfo &file, const QImage &image);
    void imageFailedHandler(const QFileInfo &file);
    void imageTooLargeHandler(const QFileInfo &file, const QSize &size);
    // Takes the clipboard's image only while no document has been shown.
    void trySetFromClipboard();
    void parsePath();

private:
    void loadFile(const QFileInfo &file);
    void setImage(const QString &path, const QImage &image, bool modified, bool hasFile);
    void emitShowImage();
    void warn(const QString &text);

    LoadThread *m_loadThread;
    Image m_image;
    QString m_pendingPath;
};

#endif

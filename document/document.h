#ifndef LUMENO_DOCUMENT_H
#define LUMENO_DOCUMENT_H

#include "document/image.h"

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QRectF>

#include <functional>

class DocumentChange;
class QUndoStack;

// Where the user stands in the picture: what undo and redo restore besides
// the document itself. Scene coordinates (image pixels).
struct ViewState
{
    bool valid = false; // not valid: a new picture, shown at zoom 1, centred
    QRectF selection;
    double zoom = 1.0;
    QPointF centre;
};

// The open document: the one Image, changed only through the operations
// below, with the history of its changes.
//
// Opening a file starts a new document and a new history. Replacing the
// picture (paste, drop, screen grab) and cropping are recorded, so undo and
// redo restore the whole document (pixels, path, the file and modified flags)
// and the selection and zoom it was seen with. The history keeps at most
// historyLimit() bytes of pictures, the oldest steps going first, but always
// the newest step.
//
// Every change emits changed() (the title and the buttons follow it); a new
// or restored picture also emits shown(). The Image's address never changes,
// so those who show it may keep a pointer to it.
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);

    Image *image() { return &m_image; }
    const Image *image() const { return &m_image; }
    // The pixels shown and picked: the picture in sRGB, or as stored while
    // colour management is off.
    const QImage &shownPixels() const { return m_colorManaged ? m_image.srgb : m_image.image; }
    // Stored in the settings group "colors" as "color_managed" (default on):
    // read at construction, written when it changes.
    bool colorManaged() const { return m_colorManaged; }
    // Off: shows and picks the stored values instead of the sRGB ones.
    // Emits displayChanged() when that changes what is shown.
    void setColorManaged(bool on);
    QUndoStack *undoStack() const { return m_undoStack; }
    // Asked where the user stands whenever a change is recorded.
    void setViewStateSource(const std::function<ViewState()> &source);

    // A file's pixels, as a new, unmodified document with a new history.
    void open(const QString &path, const Picture &picture);
    // A picture without a file (pasted, dropped, grabbed): untitled and
    // modified, shown at zoom 1. Recorded, unless no picture was shown yet.
    void replace(const Picture &picture, const QString &name = QStringLiteral("untitled"));
    // Keeps the pixels of rect (image pixels, clipped to the image), at the
    // zoom the picture is seen with; recorded. False when nothing is left.
    bool crop(const QRect &rect);
    // Writes the document to path (Image::save); it belongs to that file
    // then. Not recorded.
    bool save(const QString &path);
    // The stored pixels of rect, with their colour space, or the whole
    // picture for an empty rect.
    QImage copy(const QRect &rect) const;

    // The bytes of pictures the history holds besides the current one, and
    // the most it may hold beyond its newest step: 1 GB or four times the
    // current picture, whichever is smaller.
    qint64 historyBytes() const;
    qint64 historyLimit() const;

signals:
    // Pixels, path or flags changed.
    void changed();
    // A new or restored picture is to be shown, in state when that is valid.
    void shown(Image *image, const ViewState &state);
    // The same picture is to be shown with other pixels (colour management
    // switched): same size, same place.
    void displayChanged();

private:
    friend class DocumentChange;

    // Everything a step of the history restores.
    struct Snapshot
    {
        Picture pixels;
        QString path;
        bool modified = false;
        bool hasFile = false;
        ViewState view;
    };

    Snapshot snapshot() const;
    // Makes the document what snapshot says.
    void restore(const Snapshot &snapshot);
    void record(const Snapshot &after, const QString &text);
    void trimHistory();
    // The step at index of the history; the stack hands out const steps only.
    DocumentChange *step(int index) const;

    Image m_image;
    QUndoStack *m_undoStack;
    // What each file holds, as far as the document knows: the picture last
    // opened from it or saved to it (its cache key). A picture differs from
    // its file unless it is that one.
    QHash<QString, qint64> m_onDisk;
    std::function<ViewState()> m_viewState;
    // While the history is rebuilt, its steps are pushed without being done.
    bool m_rebuilding = false;
    bool m_colorManaged;
};

#endif

#ifndef LUMENO_SCREENGRAB_H
#define LUMENO_SCREENGRAB_H

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QDBusServiceWatcher;
class QWidget;

// Captures everything on the screens, without the window that asks for it:
// the window hides, the screens are captured once it is gone, and it comes
// back. On X11 the toolkit captures the screens; elsewhere (Wayland) the
// desktop portal is asked for a screenshot. Nothing is written to disk by the
// program: a picture the portal hands over as a file is read and removed.
//
// grab() returns at once; grabbed() or failed() follows.
class ScreenGrab : public QObject
{
    Q_OBJECT

public:
    // window is hidden during the grab (not owned).
    explicit ScreenGrab(QWidget *window, QObject *parent = nullptr);

    void grab();

signals:
    // picture has one pixel per device pixel of the screens (its device
    // pixel ratio is 1); pointer is where the mouse pointer was on it, or
    // (-1, -1) when that is not known (through the portal: Wayland tells no
    // program where the pointer is on the screen).
    void grabbed(const QImage &picture, const QPoint &pointer);
    // Nothing was captured: the desktop does not let programs capture the
    // screen, the user cancelled, or the capture failed; reason says which,
    // in words for the user.
    void failed(const QString &reason);

private slots:
    void portalResponse(uint response, const QVariantMap &results);

private:
    void captureScreens();
    bool askPortal();
    // Listens for the portal's answer on the request object at path (an
    // empty path: on none); false when the bus refuses.
    bool listen(const QString &path);
    void finish();

    QPointer<QWidget> m_window;
    // The request object the portal answers on, while a grab waits for it.
    QString m_request;
    // Fails the grab when the portal leaves the bus before it has answered.
    QDBusServiceWatcher *m_portalWatcher = nullptr;
};

#endif

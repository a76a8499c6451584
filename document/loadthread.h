#ifndef LUMENO_LOADTHREAD_H
#define LUMENO_LOADTHREAD_H

#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>
#include <QThread>

// Decodes image files away from the GUI thread.
//
// Requests are queued by loadImage() on the GUI thread and decoded one at a
// time, in order of arrival, by a worker running at the lowest priority. Every
// request that is decoded produces exactly one of the four signals, emitted on the worker
// thread with the QFileInfo exactly as it was requested; receivers on the GUI
// thread get them through queued connections, in request order.
//
// The object itself lives on the GUI thread; only run() executes on the
// worker. Destroying it drops the requests still queued and waits only for
// the one being decoded.
class LoadThread : public QThread
{
    Q_OBJECT

public:
    explicit LoadThread(QObject *parent = nullptr);
    ~LoadThread() override;

signals:
    void imageLoaded(const QFileInfo &file, const QImage &image);
    void imageFailed(const QFileInfo &file);
    // The file holds an image whose pixels would not fit in memory; size is
    // what its header claims.
    void imageTooLarge(const QFileInfo &file, const QSize &size);
    // The file could not be opened or read.
    void imageUnreadable(const QFileInfo &file);

public slots:
    void loadImage(const QFileInfo &file);

protected:
    void run() override;

private:
    QMutex m_mutex;
    QList<QFileInfo> m_queue;
    // True from the moment a worker is asked for until that worker has found
    // the queue empty under the lock. Guarded by m_mutex; it, not isRunning(),
    // decides whether a new request needs a new start, so a request that
    // arrives while the worker is on its way out is never left behind.
    bool m_workerActive = false;
};

#endif

#ifndef LUMENO_LOADTHREAD_H
#define LUMENO_LOADTHREAD_H

#include "document/picture.h"

#include <QFileInfo>
#include <QImage>
#include <QMutex>
#include <QSize>
#include <QThread>

// Decodes image files away from the GUI thread.
//
// Requests are made by loadImage() on the GUI thread, each with the
// generation number of the caller, and decoded one at a time by a worker
// running at the lowest priority. Only the newest file is wanted: a request
// replaces the one still waiting, if there is one, and never the one being
// decoded. Every request that is decoded produces exactly one of the four
// signals, emitted on the worker thread with the QFileInfo and the generation
// exactly as they were requested; receivers on the GUI thread get them
// through queued connections, in request order.
//
// The object itself lives on the GUI thread; only run() executes on the
// worker. Destroying it drops the request still waiting and waits only for
// the one being decoded.
class LoadThread : public QThread
{
    Q_OBJECT

public:
    explicit LoadThread(QObject *parent = nullptr);
    ~LoadThread() override;

signals:
    // The picture comes with its sRGB copy made (see Picture).
    void imageLoaded(const QFileInfo &file, quint64 generation, const Picture &picture);
    void imageFailed(const QFileInfo &file, quint64 generation);
    // The file holds an image whose pixels would not fit in memory; size is
    // what its header claims.
    void imageTooLarge(const QFileInfo &file, quint64 generation, const QSize &size);
    // The file could not be opened or read.
    void imageUnreadable(const QFileInfo &file, quint64 generation);

public slots:
    void loadImage(const QFileInfo &file, quint64 generation);

protected:
    void run() override;

private:
    QMutex m_mutex;
    // The request waiting for the worker; guarded by m_mutex.
    QFileInfo m_waiting;
    quint64 m_waitingGeneration = 0;
    bool m_hasWaiting = false;
    // True from the moment a worker is asked for until that worker has found
    // no request waiting, under the lock. Guarded by m_mutex; it, not
    // isRunning(), decides whether a new request needs a new start, so a
    // request that arrives while the worker is on its way out is never left
    // behind.
    bool m_workerActive = false;
};

#endif

#include "document/loadthread.h"

#include "document/imagedecoder.h"

#include <QMutexLocker>

LoadThread::LoadThread(QObject *parent) : QThread(parent)
{
    setObjectName(QStringLiteral("load_thread"));
    ImageDecoder::installAllocationLimit();
}

LoadThread::~LoadThread()
{
    // Closing the window must not wait for files nobody will see.
    {
        QMutexLocker locker(&m_mutex);
        m_queue.clear();
    }
    wait();
}

void LoadThread::loadImage(const QFileInfo &file)
{
    bool startWorker = false;
    {
        QMutexLocker locker(&m_mutex);
        m_queue.append(file);
        if (!m_workerActive) {
            m_workerActive = true;
            startWorker = true;
        }
    }
    if (startWorker) {
        // The previous worker has already given up the queue; let it return
        // from run() before starting again (start() on a running thread is
        // ignored).
        wait();
        start(QThread::LowestPriority);
    }
}

void LoadThread::run()
{
    for (;;) {
        QFileInfo file;
        {
            QMutexLocker locker(&m_mutex);
            if (m_queue.isEmpty()) {
                m_workerActive = false;
                return;
            }
            file = m_queue.takeFirst();
        }

        ImageDecoder decoder(file.absoluteFilePath());
        switch (decoder.decode()) {
        case ImageDecoder::Result::Decoded:
            emit imageLoaded(file, decoder.image());
            break;
        case ImageDecoder::Result::TooLarge:
            emit imageTooLarge(file, decoder.size());
            break;
        case ImageDecoder::Result::Unreadable:
            emit imageUnreadable(file);
            break;
        case ImageDecoder::Result::NotAnImage:
            emit imageFailed(file);
            break;
        }
    }
}

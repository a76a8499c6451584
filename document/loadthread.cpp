#include "document/loadthread.h"

#include "document/imagedecoder.h"

#include <QMutexLocker>

LoadThread::LoadThread(QObject *parent) : QThread(parent)
{
    setObjectName(QStringLiteral("load_thread"));
    qRegisterMetaType<QFileInfo>("QFileInfo");
    ImageDecoder::installAllocationLimit();
}

LoadThread::~LoadThread()
{
    // Closing the window must not wait for a file nobody will see.
    {
        QMutexLocker locker(&m_mutex);
        m_hasWaiting = false;
    }
    wait();
}

void LoadThread::loadImage(const QFileInfo &file, quint64 generation)
{
    bool startWorker = false;
    {
        QMutexLocker locker(&m_mutex);
        m_waiting = file;
        m_waitingGeneration = generation;
        m_hasWaiting = true;
        if (!m_workerActive) {
            m_workerActive = true;
            startWorker = true;
        }
    }
    if (startWorker) {
        // The previous worker has already given up; let it return from run()
        // before starting again (start() on a running thread is ignored).
        wait();
        start(QThread::LowestPriority);
    }
}

void LoadThread::run()
{
    for (;;) {
        QFileInfo file;
        quint64 generation = 0;
        {
            QMutexLocker locker(&m_mutex);
            if (!m_hasWaiting) {
                m_workerActive = false;
                return;
            }
            file = m_waiting;
            generation = m_waitingGeneration;
            m_hasWaiting = false;
        }

        ImageDecoder decoder(file.absoluteFilePath());
        switch (decoder.decode()) {
        case ImageDecoder::Result::Decoded:
            emit imageLoaded(file, generation, Picture(decoder.image(), decoder.profileIgnored()));
            break;
        case ImageDecoder::Result::TooLarge:
            emit imageTooLarge(file, generation, decoder.size());
            break;
        case ImageDecoder::Result::Unreadable:
            emit imageUnreadable(file, generation);
            break;
        case ImageDecoder::Result::NotAnImage:
            emit imageFailed(file, generation);
            break;
        }
    }
}

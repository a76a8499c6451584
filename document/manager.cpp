#include "document/manager.h"

#include "app/lumeno.h"
#include "document/loadthread.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

Manager::Manager(QObject *parent) : QObject(parent), m_loadThread(new LoadThread(this))
{
    connect(m_loadThread, &LoadThread::imageLoaded, this, &Manager::imageLoadedHandler);
    connect(m_loadThread, &LoadThread::imageFailed, this, &Manager::imageFailedHandler);
    connect(m_loadThread, &LoadThread::imageTooLarge, this, &Manager::imageTooLargeHandler);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &Manager::trySetFromClipboard);
}

Manager::~Manager()
{
    // Results decoded while we wait for the worker must not reach a Manager
    // that is half destroyed.
    disconnect(m_loadThread, nullptr, this, nullptr);
    delete m_loadThread;
}

void Manager::setPath(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile())
        return;
    m_pendingPath = file.absoluteFilePath();
    QTimer::singleShot(0, this, &Manager::parsePath);
}

void Manager::parsePath()
{
    if (m_pendingPath.isEmpty())
        return;
    loadFile(QFileInfo(m_pendingPath));
}

void Manager::loadFile(const QFileInfo &file)
{
    m_loadThread->loadImage(file);
}

void Manager::imageLoadedHandler(const QFileInfo &file, const QImage &image)
{
    setImage(file.absoluteFilePath(), image, false, true);
    emitShowImage();
}

void Manager::imageFailedHandler(const QFileInfo &file)
{
    // The file name is data: it goes in through a single-pass substitution and
    // is never scanned for placeholders again.
    warn(QStringLiteral("The file '%1' is not a recognized image file.").arg(file.fileName()));
}

void Manager::imageTooLargeHandler(const QFileInfo &file, const QSize &size)
{
    warn(QStringLiteral("The image in '%1' is too large to open: at %2 x %3 pixels it would not "
                        "fit in this computer's memory.")
             .arg(file.fileName(), QString::number(size.width()), QString::number(size.height())));
}

void Manager::warn(const QString &text)
{
    QMessageBox::warning(Lumeno::instance(), QStringLiteral("Unable To Open File"), text);
}

void Manager::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    setImage(QStringLiteral("untitled"), image, true, false);
    emitShowImage();
}

void Manager::setImage(const QString &path, const QImage &image, bool modified, bool hasFile)
{
    if (image.isNull())
        return;
    m_image = Image(path, image, modified, hasFile);
}

void Manager::setFromClipboard()
{
    setImage(QApplication::clipboard()->image(QClipboard::Clipboard));
}

void Manager::trySetFromClipboard()
{
    if (m_image.isNull)
        setFromClipboard();
}

void Manager::emitShowImage()
{
    if (!m_image.isNull)
        emit showImage(&m_image);
}

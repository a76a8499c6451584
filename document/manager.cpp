#include "document/manager.h"

#include "document/imagedecoder.h"
#include "document/loadthread.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QTimer>

#include <sys/stat.h>
#include <utility>

namespace {

// What a path that exists but is no regular file is, in words.
QString kindOfFile(const QString &path)
{
    struct stat info;
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("not a regular file");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

} // namespace

Manager::Manager(QObject *parent)
    : QObject(parent), m_loadThread(new LoadThread(this)), m_document(new Document(this))
{
    // Any new picture, from wherever it came, makes the files asked for
    // before it stale.
    connect(m_document, &Document::shown, this, [this] { ++m_generation; });
    connect(m_loadThread, &LoadThread::imageLoaded, this, &Manager::imageLoadedHandler);
    connect(m_loadThread, &LoadThread::imageFailed, this, &Manager::imageFailedHandler);
    connect(m_loadThread, &LoadThread::imageTooLarge, this, &Manager::imageTooLargeHandler);
    connect(m_loadThread, &LoadThread::imageUnreadable, this, &Manager::imageUnreadableHandler);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Manager::trySetFromClipboard);
}

Manager::~Manager()
{
    // Results decoded while we wait for the worker must not reach a Manager
    // that is half destroyed.
    disconnect(m_loadThread, nullptr, this, nullptr);
    delete m_loadThread;
}

bool Manager::isLoading() const
{
    return m_request != 0 && m_request == m_generation;
}

void Manager::setPath(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo file(QDir::cleanPath(path));
    if (!file.isFile()) {
        // Nothing there at all stays silent; something that is no file is
        // named, or the user is left wondering. The name is data, joined in
        // as it is.
        if (file.exists()) {
            const QString name =
                file.fileName().isEmpty() ? file.absoluteFilePath() : file.fileName();
            warn(QLatin1Char('\'') + name + QStringLiteral("' is ") +
                 kindOfFile(file.absoluteFilePath()) + QStringLiteral(", not an image file."));
        }
        return;
    }
    if (m_pendingPath.isEmpty())
        QTimer::singleShot(0, this, &Manager::startLoading);
    m_pendingPath = file.absoluteFilePath();
    m_request = ++m_generation;
}

void Manager::startLoading()
{
    // Taken, not copied: a later call schedules its own start.
    const QString path = std::exchange(m_pendingPath, QString());
    if (!path.isEmpty() && isLoading())
        m_loadThread->loadImage(QFileInfo(path), m_request);
}

bool Manager::takeResult(quint64 generation)
{
    const bool current = generation == m_request && isLoading();
    if (current)
        m_request = 0;
    return current;
}

void Manager::imageLoadedHandler(const QFileInfo &file, quint64 generation, const Picture &picture)
{
    if (takeResult(generation))
        m_document->open(file.absoluteFilePath(), picture);
}

void Manager::imageFailedHandler(const QFileInfo &file, quint64 generation)
{
    if (!takeResult(generation))
        return;
    // The file name is data: it goes in through a single-pass substitution and
    // is never scanned for placeholders again.
    warn(QStringLiteral("The file '%1' is not a recognized image file.").arg(file.fileName()));
}

void Manager::imageTooLargeHandler(const QFileInfo &file, quint64 generation, const QSize &size)
{
    if (!takeResult(generation))
        return;
    warn(QStringLiteral("The image in '%1' is too large to open: at %2 x %3 pixels it would not "
                        "fit in this computer's memory.")
             .arg(file.fileName(), QString::number(size.width()), QString::number(size.height())));
}

void Manager::imageUnreadableHandler(const QFileInfo &file, quint64 generation)
{
    if (!takeResult(generation))
        return;
    warn(QStringLiteral("The file '%1' cannot be read. Check that it is still there and that "
                        "you are allowed to open it.")
             .arg(file.fileName()));
}

void Manager::warn(const QString &text, const QString &title)
{
    emit failed(title, text);
}

void Manager::warnTooLarge(const QSize &size)
{
    warn(QStringLiteral("The image is too large to open: at %1 x %2 pixels it would not fit in "
                        "this computer's memory.")
             .arg(QString::number(size.width()), QString::number(size.height())),
         QStringLiteral("Unable To Open Image"));
}

void Manager::setImage(const QImage &image, const QString &name)
{
    m_document->replace(Picture(image), name);
}

void Manager::setFromClipboard()
{
    setImageData(QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard));
}

bool Manager::setImageData(const QMimeData *data)
{
    if (!data)
        return false;
    // Encoded pictures (what other programs offer as image/png and the like)
    // go through the decoder and its checks; the content decides the format.
    const QStringList formats = data->formats();
    for (const QString &format : formats) {
        if (!format.startsWith(QLatin1String("image/")))
            continue;
        const QByteArray bytes = data->data(format);
        if (ImageDecoder::formatFromContent(bytes.left(512)).isEmpty())
            continue;
        ImageDecoder decoder(bytes);
        switch (decoder.decode()) {
        case ImageDecoder::Result::Decoded:
            m_document->replace(Picture(decoder.image(), decoder.profileIgnored()));
            return true;
        case ImageDecoder::Result::TooLarge:
            warnTooLarge(decoder.size());
            return true;
        default:
            break;
        }
    }
    // A picture only the toolkit can turn into an image: it is decoded by
    // now, but what the program would make of it must still fit.
    if (!data->hasImage())
        return false;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull())
        return false;
    if (!ImageDecoder::fitsInMemory(image)) {
        warnTooLarge(image.size());
        return true;
    }
    setImage(image);
    return true;
}

void Manager::trySetFromClipboard()
{
    if (m_document->image()->isNull && !isLoading())
        setFromClipboard();
}

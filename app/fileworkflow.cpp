#include "app/fileworkflow.h"

#include "document/manager.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QString CurrentDirKey = QStringLiteral("file/current_dir");

// File-dialog filters: every format that opens, and every one that saves.
const QString OpenFilter = QStringLiteral(
    "All Images (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.gif *.webp *.pbm *.pgm *.ppm *.xbm "
    "*.xpm);;JPEG (*.jpg *.jpeg);;BMP (*.bmp);;TIFF (*.tif *.tiff);;PNG (*.png);;GIF "
    "(*.gif);;WebP (*.webp);;Other (*.pbm *.pgm *.ppm *.xbm *.xpm)");
const QString SaveFilter = QStringLiteral(
    "All Images (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.ppm *.xbm *.xpm);;JPEG (*.jpg "
    "*.jpeg);;BMP (*.bmp);;TIFF (*.tif *.tiff);;PNG (*.png);;Other (*.ppm *.xbm *.xpm)");

} // namespace

FileWorkflow::FileWorkflow(QWidget *window, Manager *manager)
    : QObject(window), m_window(window), m_manager(manager),
      m_currentDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
{
    // A folder that is gone, or a value no folder name could be, leaves the
    // dialogs where they would start on a first run.
    const QString dir = QSettings().value(CurrentDirKey, m_currentDir).toString();
    if (dir.size() <= 4096 && QFileInfo(dir).isDir())
        m_currentDir = dir;
}

QString FileWorkflow::dialogFolder() const
{
    return QFileInfo(m_currentDir).isDir() ? m_currentDir : QDir::homePath();
}

void FileWorkflow::setCurrentDir(const QString &path)
{
    m_currentDir = QFileInfo(path).absolutePath();
    QSettings().setValue(CurrentDirKey, m_currentDir);
}

bool FileWorkflow::maySetDocumentAside()
{
    const Image *image = m_manager->document()->image();
    if (image->isNull || !image->modified)
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Unsaved Changes"),
                    QStringLiteral("The image '") + image->fileName() +
                        QStringLiteral("' has changes that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setInformativeText(QStringLiteral("Do you want to save them?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void FileWorkflow::open()
{
    if (!maySetDocumentAside())
        return;
    const QString path = QFileDialog::getOpenFileName(m_window, QStringLiteral("Open Image"),
                                                      dialogFolder(), OpenFilter);
    if (path.isEmpty())
        return;
    setCurrentDir(path);
    m_manager->setPath(path);
}

bool FileWorkflow::save()
{
    const Image *image = m_manager->document()->image();
    if (!image->isNull && image->hasFile)
        return saveTo(image->path);
    return saveAs();
}

bool FileWorkflow::saveAs()
{
    if (m_manager->document()->image()->isNull)
        return false;
    const QString path = QFileDialog::getSaveFileName(m_window, QStringLiteral("Save Image"),
                                                      dialogFolder(), SaveFilter);
    if (path.isEmpty())
        return false;
    setCurrentDir(path);
    return saveTo(path);
}

bool FileWorkflow::saveTo(const QString &path)
{
    // The document keeps its star and stays as it is; the file it was
    // replacing is untouched. The name goes in as data, not as a pattern.
    if (m_manager->document()->save(path))
        return true;
    QMessageBox::warning(m_window, QStringLiteral("Unable To Save File"),
                         QStringLiteral("The image could not be saved as '") +
                             QFileInfo(path).fileName() +
                             QStringLiteral("'. Check that the folder exists and can be "
                                            "written to, that there is space on the disk, and "
                                            "that the name ends in a format Lumeno can write, "
                                            "such as .png or .jpg."));
    return false;
}

bool FileWorkflow::isAcceptableDrop(const QMimeData *data, Qt::DropActions actions)
{
    return data && (data->hasImage() || data->hasUrls()) && (actions & Qt::CopyAction);
}

bool FileWorkflow::drop(const QMimeData *data, Qt::DropActions actions)
{
    if (!isAcceptableDrop(data, actions))
        return false;
    // Image data goes through the same checks as a file.
    if (data->hasImage() && m_manager->setImageData(data))
        return true;
    if (data->hasUrls()) {
        // Only the first of several files; a remote URL gives an empty path,
        // which is ignored.
        const QString path = data->urls().value(0).toLocalFile();
        if (!path.isEmpty() && maySetDocumentAside())
            m_manager->setPath(path);
    }
    return true;
}

#include "app/lumeno.h"

#include "app/screengrab.h"
#include "app/stylesheet.h"
#include "app/toolbar.h"
#include "colour/colorwidget.h"
#include "document/document.h"
#include "document/image.h"
#include "document/imagedecoder.h"
#include "document/manager.h"
#include "selection/selectionitem.h"
#include "util/utilities.h"
#include "view/view.h"
#include "widgets/menu.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QUrl>
#include <QPainter>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {
Lumeno *s_instance = nullptr;
} // namespace

Lumeno::Lumeno(QWidget *parent) : QWidget(parent, Qt::Window)
{
    s_instance = this;
    setObjectName(QStringLiteral("lumeno"));
    // The title names the document once one is shown.
    setWindowTitle(QStringLiteral("Corvane"));

    // Every picture is decoded once, here, before any widget asks for one.
    loadResources();
    setWindowIcon(icon(QStringLiteral("logo-48")));

    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_currentDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    m_openFilter = ImageDecoder::nameFilter();
    m_saveFilter =
        QStringLiteral("All Images (*.jpg *.jpeg *.bmp *.tif *.tiff *.png *.ppm *.xbm *.xpm);;"
                       "JPEG (*.jpg *.jpeg);;BMP (*.bmp);;TIFF (*.tif *.tiff);;PNG (*.png);;"
                       "Other (*.ppm *.xbm *.xpm)");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The colour panel inside the toolbar formats its first texts while the
    // toolbar is built, and must find no view yet.
    m_view = nullptr;
    m_toolbar = new Toolbar(this);
    layout->addWidget(m_toolbar);
    m_view = new View(this);
    layout->addWidget(m_view, 1);

    m_manager = new Manager(this);
    m_view->setDocument(m_manager->document());
    m_screenGrab = new ScreenGrab(this, this);

    m_updateButtonsTimer = new QTimer(this);
    m_updateButtonsTimer->setInterval(500);
    m_updateButtonsTimer->setSingleShot(true);

    installShortcuts();

    connect(m_manager, &Manager::showImage, this, &Lumeno::showImageHandler);
    connect(m_manager->document(), &Document::changed, this, &Lumeno::updateTitle);
    connect(m_manager->document(), &Document::changed, this, &Lumeno::updateButtons);
    connect(m_screenGrab, &ScreenGrab::grabbed, this,
            [this](const QImage &picture, QPoint pointer) {
                m_manager->document()->replace(picture, QStringLiteral("screen"));
                if (pointer.x() >= 0)
                    m_view->keepUnder(QPointF(pointer) + QPointF(0.5, 0.5),
                                      m_view->viewport()->mapFromGlobal(QPointF(QCursor::pos())));
            });
    connect(m_screenGrab, &ScreenGrab::failed, this, [this](const QString &reason) {
        QMessageBox::information(this, QStringLiteral("Grab Screen"), reason);
    });
    QUndoStack *history = m_manager->document()->undoStack();
    connect(history, &QUndoStack::canUndoChanged, this, &Lumeno::updateButtons);
    connect(history, &QUndoStack::canRedoChanged, this, &Lumeno::updateButtons);
    ColorWidget *colorWidget = m_toolbar->colorWidget();
    connect(m_view, &View::hoverColorChanged, colorWidget, &ColorWidget::setHoverColor);
    connect(m_view, &View::clickColorChanged, colorWidget, &ColorWidget::setSelectedColor);
    m_view->setSampleSize(colorWidget->sampleSize());
    connect(colorWidget, &ColorWidget::sampleSizeChanged, m_view, &View::setSampleSize);
    connectToolbar();
    connect(m_view, &View::selectionChanged, this, &Lumeno::selectionChangedHandler);
    connect(m_updateButtonsTimer, &QTimer::timeout, this, &Lumeno::updateButtons);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &Lumeno::updateButtons);

    loadSettings();
    loadStyleSheet();
    updateButtons();
}

Lumeno::~Lumeno()
{
    saveSettings();
    // The document goes with its children, later: what it says on the way
    // out must not reach a window that is half destroyed.
    m_manager->document()->disconnect(this);
    m_manager->document()->undoStack()->disconnect(this);
    if (s_instance == this)
        s_instance = nullptr;
}

Lumeno *Lumeno::instance()
{
    return s_instance;
}

void Lumeno::installShortcuts()
{
    // Window-wide keys for the view's commands; the toolbar buttons carry the
    // others.
    const Qt::ShortcutContext context = Qt::ApplicationShortcut;
    makeShortcut(QKeySequence::SelectAll, this, m_view, SLOT(selectAll()), context);
    // Written out: the platform's standard redo key alone may be either.
    makeShortcuts(QStringLiteral("Ctrl+Z"), this, m_view, SLOT(undo()), context);
    makeShortcuts(QStringLiteral("Ctrl+Shift+Z|Ctrl+Y"), this, m_view, SLOT(redo()), context);
    makeShortcuts(QStringLiteral("Escape"), this, m_view, SLOT(clearSelection()), context);
    makeShortcuts(QStringLiteral("Return"), this, m_view, SLOT(crop()), context);
    makeShortcuts(QStringLiteral("Ctrl+Shift+G"), this, this, SLOT(grabScreenHandler()), context);
    // Quits the way closing the window does.
    makeShortcuts(QStringLiteral("Ctrl+Q"), this, this, SLOT(close()), context);
}

void Lumeno::connectToolbar()
{
    using Handler = void (Lumeno::*)();
    const Handler handlers[Toolbar::CommandCount] = {
        &Lumeno::loadButtonClickedHandler,      &Lumeno::saveButtonClickedHandler,
        &Lumeno::saveAsButtonClickedHandler,    &Lumeno::copyButtonClickedHandler,
        &Lumeno::pasteButtonClickedHandler,     &Lumeno::cropButtonClickedHandler,
        &Lumeno::zoomToSelButtonClickedHandler, &Lumeno::zoomToFitButtonClickedHandler,
        &Lumeno::zoomResetButtonClickedHandler,
    };
    for (int command = 0; command < Toolbar::CommandCount; ++command)
        connect(m_toolbar->button(command), &QAbstractButton::clicked, this, handlers[command]);
    connect(m_toolbar->menu(), &Menu::actionTriggered, this, &Lumeno::menuActionHandler);
}

void Lumeno::chooseFirstImage(const QStringList &paths)
{
    if (!paths.isEmpty())
        m_manager->setPath(paths.first());
    else
        QTimer::singleShot(1, m_manager, &Manager::trySetFromClipboard);
}

void Lumeno::showImageHandler(Image *image)
{
    // The view has shown it already, where the document said.
    m_toolbar->colorWidget()->setImageSize(QSize(image->width(), image->height()));
    updateTitle();
    updateButtons();
}

void Lumeno::updateTitle()
{
    // Before the first document there is nothing to describe: the title stays.
    if (!m_view || !m_view->hasImage())
        return;
    const Image *image = m_view->image();
    const QString prefix = image->modified ? QStringLiteral("*") : QString();
    // Built by concatenation: the file name is data and may itself contain
    // percent signs or placeholders.
    QString title = prefix + QLatin1Char(' ') + image->fileName() + QStringLiteral(" (") +
                    QString::number(image->width()) + QLatin1Char('x') +
                    QString::number(image->height()) + QLatin1Char(')');
    if (m_view->hasSelection()) {
        const QRectF selection = m_view->selectionItem()->rect();
        const auto number = [](double value) {
            return QString::number(value, 'g', 6);
        };
        title += QStringLiteral(" - ") + number(selection.width()) + QLatin1Char('x') +
                 number(selection.height()) + QStringLiteral(" @ (") + number(selection.x()) +
                 QStringLiteral(", ") + number(selection.y()) + QLatin1Char(')');
    }
    setWindowTitle(title);
}

void Lumeno::updateButtons()
{
    if (!m_view || !m_toolbar)
        return;
    const bool hasImage = m_view->hasImage();
    const bool hasSelection = m_view->hasSelection();
    const bool enabled[Toolbar::CommandCount] = {
        true,                                  // Open
        hasImage && m_view->image()->modified, // Save
        hasImage,                              // Save As
        hasImage,                              // Copy
        m_view->canPaste(),                    // Paste
        hasSelection,                          // Crop
        hasSelection,                          // Zoom To Selection
        hasImage,                              // Zoom To Fit
        hasImage,                              // Reset Zoom
    };
    for (int command = 0; command < Toolbar::CommandCount; ++command) {
        m_toolbar->button(command)->setEnabled(enabled[command]);
        if (QAction *action = m_toolbar->menu()->action(command))
            action->setEnabled(enabled[command]);
    }
    const QUndoStack *history = m_manager->document()->undoStack();
    m_toolbar->menu()->action(Toolbar::Undo)->setEnabled(history->canUndo());
    m_toolbar->menu()->action(Toolbar::Redo)->setEnabled(history->canRedo());
}

void Lumeno::selectionChangedHandler()
{
    // Buttons follow a burst of changes once it settles; the title at once.
    m_updateButtonsTimer->start();
    updateTitle();
}

void Lumeno::loadResources()
{
    const auto load = [this](const QString &folder, bool makeIcon) {
        const QDir dir(folder, QStringLiteral("*.png"), QDir::Name | QDir::IgnoreCase, QDir::Files);
        for (const QFileInfo &file : dir.entryInfoList()) {
            // A name@2x.png file is the double-size variant of name.png.
            if (!file.baseName().endsWith(QLatin1String("@2x")))
                loadImageResource(file.filePath(), makeIcon);
        }
    };
    load(QStringLiteral(":/resources/icons"), true);
    load(QStringLiteral(":/resources/pixmaps"), false);
}

void Lumeno::loadImageResource(const QString &path, bool makeIcon)
{
    const QFileInfo file(path);
    const QString name = file.baseName();
    const QPixmap picture(path);
    QPixmap large(file.path() + QLatin1Char('/') + name + QStringLiteral("@2x.png"));
    large.setDevicePixelRatio(2.0);
    // On a scaled display the registry hands out the double-size picture,
    // which draws at the same logical size, only sharper.
    const bool scaled = qApp->devicePixelRatio() > 1.0 && !large.isNull();
    m_pixmaps[name] = scaled ? large : picture;
    if (makeIcon) {
        QIcon icon(picture);
        icon.addPixmap(fadedPixmap(picture, 64), QIcon::Disabled, QIcon::Off);
        if (!large.isNull()) {
            icon.addPixmap(large);
            icon.addPixmap(fadedPixmap(large, 64), QIcon::Disabled, QIcon::Off);
        }
        m_icons[name] = icon;
    }
}

QPixmap &Lumeno::pixmap(const QString &name)
{
    return m_pixmaps[name];
}

QIcon &Lumeno::icon(const QString &name)
{
    return m_icons[name];
}

QPixmap Lumeno::fadedPixmap(const QPixmap &source, int alpha)
{
    if (source.isNull())
        return QPixmap();
    QPixmap faded(source.size());
    faded.setDevicePixelRatio(source.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(alpha / 255.0);
    painter.drawPixmap(0, 0, source);
    return faded;
}

QFont Lumeno::monospaceFont() const
{
    QFont monospace = font();
    monospace.setFamily(QStringLiteral("courier"));
    return monospace;
}

void Lumeno::loadStyleSheet()
{
    // A missing resource gives an empty sheet: the platform's default look.
    m_styleSheet =
        expandStyleSheetVariables(readTextFile(QStringLiteral(":/resources/text/style_sheet.css")));
    updateStyleSheet();
}

void Lumeno::updateStyleSheet()
{
    qApp->setStyleSheet(m_styleSheet);
}

QString Lumeno::dialogFolder() const
{
    return QFileInfo(m_currentDir).isDir() ? m_currentDir : QDir::homePath();
}

bool Lumeno::maySetDocumentAside()
{
    if (!m_view->hasImage() || !m_view->image()->modified)
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Unsaved Changes"),
                    QStringLiteral("The image '") + m_view->image()->fileName() +
                        QStringLiteral("' has changes that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setInformativeText(QStringLiteral("Do you want to save them?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveDocument();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void Lumeno::closeEvent(QCloseEvent *event)
{
    if (maySetDocumentAside())
        event->accept();
    else
        event->ignore();
}

void Lumeno::loadButtonClickedHandler()
{
    if (!maySetDocumentAside())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Image"),
                                                      dialogFolder(), m_openFilter);
    if (path.isEmpty())
        return;
    m_currentDir = QFileInfo(path).absolutePath();
    m_manager->setPath(path);
}

void Lumeno::saveButtonClickedHandler()
{
    saveDocument();
}

void Lumeno::saveAsButtonClickedHandler()
{
    saveDocumentAs();
}

bool Lumeno::saveDocument()
{
    if (m_view->hasImage() && m_view->image()->hasFile)
        return saveTo(m_view->image()->path);
    return saveDocumentAs();
}

bool Lumeno::saveDocumentAs()
{
    if (!m_view->hasImage())
        return false;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Image"),
                                                      dialogFolder(), m_saveFilter);
    if (path.isEmpty())
        return false;
    m_currentDir = QFileInfo(path).absolutePath();
    return saveTo(path);
}

bool Lumeno::saveTo(const QString &path)
{
    // The document keeps its star and stays as it is; the file it was
    // replacing is untouched. The name goes in as data, not as a pattern.
    if (m_manager->document()->save(path))
        return true;
    QMessageBox::warning(this, QStringLiteral("Unable To Save File"),
                         QStringLiteral("The image could not be saved as '") +
                             QFileInfo(path).fileName() +
                             QStringLiteral("'. Check that the folder exists and can be "
                                            "written to, that there is space on the disk, and "
                                            "that the name ends in a format Lumeno can write, "
                                            "such as .png or .jpg."));
    return false;
}

void Lumeno::grabScreenHandler()
{
    m_screenGrab->grab();
}

void Lumeno::aboutHandler()
{
    // Plain text: the settings path is data.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Lumeno"),
                    QStringLiteral("Lumeno %1\n\nLooks at one raster image and picks colours, "
                                   "positions and sizes out of it.\n\nSettings: ")
                            .arg(QCoreApplication::applicationVersion()) +
                        QSettings().fileName(),
                    QMessageBox::Close, this);
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(pixmap(QStringLiteral("logo-48")));
    box.exec();
}

void Lumeno::copyButtonClickedHandler()
{
    m_view->copy();
}

void Lumeno::pasteButtonClickedHandler()
{
    m_view->paste();
}

void Lumeno::cropButtonClickedHandler()
{
    m_view->crop();
}

void Lumeno::zoomToSelButtonClickedHandler()
{
    m_view->zoomToSel();
}

void Lumeno::zoomToFitButtonClickedHandler()
{
    m_view->zoomToFit();
}

void Lumeno::zoomResetButtonClickedHandler()
{
    m_view->zoomReset();
}

void Lumeno::menuActionHandler(int id)
{
    switch (id) {
    case Toolbar::Open:
        loadButtonClickedHandler();
        break;
    case Toolbar::Save:
        saveButtonClickedHandler();
        break;
    case Toolbar::SaveAs:
        saveAsButtonClickedHandler();
        break;
    case Toolbar::Copy:
        m_view->copy();
        break;
    case Toolbar::Paste:
        m_view->paste();
        break;
    case Toolbar::Crop:
        m_view->crop();
        break;
    case Toolbar::ZoomToSelection:
        m_view->zoomToSel();
        break;
    case Toolbar::ZoomToFit:
        m_view->zoomToFit();
        break;
    case Toolbar::ResetZoom:
        m_view->zoomReset();
        break;
    case Toolbar::About:
        aboutHandler();
        break;
    case Toolbar::GrabScreen:
        grabScreenHandler();
        break;
    case Toolbar::Undo:
        m_view->undo();
        break;
    case Toolbar::Redo:
        m_view->redo();
        break;
    case Toolbar::PixelGrid:
        // The entry has toggled itself when the user chose it; set both
        // from the view, so that a call from elsewhere toggles too.
        m_view->setPixelGridVisible(!m_view->isPixelGridVisible());
        m_toolbar->menu()->setChecked(Toolbar::PixelGrid, m_view->isPixelGridVisible());
        break;
    default:
        break;
    }
}

bool Lumeno::isAcceptableDrop(const QMimeData *data, Qt::DropActions actions)
{
    return data && (data->hasImage() || data->hasUrls()) && (actions & Qt::CopyAction);
}

void Lumeno::dragEnterEvent(QDragEnterEvent *event)
{
    if (isAcceptableDrop(event->mimeData(), event->possibleActions()))
        event->acceptProposedAction();
}

void Lumeno::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!isAcceptableDrop(data, event->possibleActions())) {
        event->ignore();
        return;
    }
    // Image data goes through the same checks as a file.
    if (data->hasImage() && m_manager->setImageData(data)) {
        event->accept();
        return;
    }
    if (data->hasUrls()) {
        // Only the first of several files; a remote URL gives an empty path,
        // which is ignored.
        const QString path = data->urls().value(0).toLocalFile();
        if (!path.isEmpty() && maySetDocumentAside())
            m_manager->setPath(path);
    }
    event->accept();
}

void Lumeno::loadSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("view"));
    setGeometry(placedOnScreen(
        settings.value(QStringLiteral("window_geometry"), QRect(50, 100, 900, 700)).toRect()));
    if (settings.value(QStringLiteral("window_is_maximized"), false).toBool())
        setWindowState(Qt::WindowMaximized);
    const bool grid = settings.value(QStringLiteral("pixel_grid"), true).toBool();
    m_view->setPixelGridVisible(grid);
    m_toolbar->menu()->setChecked(Toolbar::PixelGrid, grid);
    settings.endGroup();

    // A folder that is gone, or a value no folder name could be, leaves the
    // dialogs where they would start on a first run.
    settings.beginGroup(QStringLiteral("file"));
    const QString dir = settings.value(QStringLiteral("current_dir"), m_currentDir).toString();
    if (dir.size() <= 4096 && QFileInfo(dir).isDir())
        m_currentDir = dir;
    settings.endGroup();
}

QRect Lumeno::placedOnScreen(const QRect &geometry)
{
    // The settings file may hold any four ints: the corners are taken as they
    // are and every sum is made in 64 bits, where none can overflow.
    int left = 0, top = 0, right = 0, bottom = 0;
    geometry.getCoords(&left, &top, &right, &bottom);
    qint64 x = left, y = top;
    qint64 width = qint64(right) - left + 1;
    qint64 height = qint64(bottom) - top + 1;
    if (width <= 0 || height <= 0) {
        x = 50;
        y = 100;
        width = 900;
        height = 700;
    }

    // The window goes on the screen that shows the most of it (the primary
    // one when none does: a monitor unplugged since), at most as large as
    // that screen's free area and wholly inside it.
    const QScreen *target = QGuiApplication::primaryScreen();
    qint64 mostShown = 0;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        const qint64 shownWidth =
            qMin<qint64>(x + width, qint64(area.x()) + area.width()) - qMax<qint64>(x, area.x());
        const qint64 shownHeight =
            qMin<qint64>(y + height, qint64(area.y()) + area.height()) - qMax<qint64>(y, area.y());
        if (shownWidth > 0 && shownHeight > 0 && shownWidth * shownHeight > mostShown) {
            mostShown = shownWidth * shownHeight;
            target = screen;
        }
    }
    if (!target)
        return QRect(50, 100, 900, 700);
    const QRect area = target->availableGeometry();
    width = qMin<qint64>(width, area.width());
    height = qMin<qint64>(height, area.height());
    x = qBound<qint64>(area.x(), x, qint64(area.x()) + area.width() - width);
    y = qBound<qint64>(area.y(), y, qint64(area.y()) + area.height() - height);
    return QRect(int(x), int(y), int(width), int(height));
}

void Lumeno::saveSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("view"));
    settings.setValue(QStringLiteral("window_geometry"), normalGeometry());
    settings.setValue(QStringLiteral("window_is_maximized"), isMaximized());
    settings.setValue(QStringLiteral("pixel_grid"), m_view->isPixelGridVisible());
    settings.endGroup();

    settings.beginGroup(QStringLiteral("file"));
    settings.setValue(QStringLiteral("current_dir"), m_currentDir);
    settings.endGroup();
}

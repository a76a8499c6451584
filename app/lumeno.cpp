#include "app/lumeno.h"

#include "app/commands.h"
#include "app/fileworkflow.h"
#include "app/screengrab.h"
#include "app/stylesheet.h"
#include "app/toolbar.h"
#include "app/windowsettings.h"
#include "colour/colorwidget.h"
#include "colour/formatlist.h"
#include "colour/recentcolors.h"
#include "document/manager.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/utilities.h"
#include "view/view.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const QString PixelGridKey = QStringLiteral("view/pixel_grid");

} // namespace

Lumeno::Lumeno(const QString &firstPath, QWidget *parent)
    : QWidget(parent, Qt::Window), m_artwork(qApp->devicePixelRatio())
{
    // The file named at start decodes on its own thread while everything
    // below is built. A large JPEG's centre first: a preview as large as
    // the window will be.
    m_manager = new Manager(this);
    m_manager->setPreviewSize(WindowSettings::restoredSize());
    if (QFileInfo(firstPath).isFile())
        m_manager->setPathNow(firstPath);

    setObjectName(QStringLiteral("lumeno"));
    setWindowTitle(QStringLiteral("Corvane"));
    setWindowIcon(m_artwork.icon(QStringLiteral("logo-48")));
    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    // The models first: the widgets show them from the start.
    Document *document = m_manager->document();
    m_selection = new Selection(document, this);
    m_pick = new PickModel(document, this);
    m_formats = new FormatList(this);
    m_recent = new RecentColors(this);
    m_commands = new Commands(m_artwork, document, m_selection, this);
    addActions(m_commands->actions());

    m_colorWidget = new ColorWidget(m_pick, m_selection, m_formats, m_recent, m_artwork);
    m_toolbar = new Toolbar(m_commands, m_artwork, m_colorWidget, this);
    m_view = new View(document, m_selection, m_pick, m_artwork, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_view, 1);

    m_files = new FileWorkflow(this, m_manager);
    m_screenGrab = new ScreenGrab(this, this);
    connect(m_screenGrab, &ScreenGrab::grabbed, this,
            [this](const QImage &picture, QPoint pointer) {
                m_manager->setImage(picture, QStringLiteral("screen"));
                // The grabbed pixel goes under the pointer by scrolling the
                // picture, not by moving the pointer: the same everywhere.
                if (pointer.x() >= 0)
                    m_view->keepUnder(QPointF(pointer) + QPointF(0.5, 0.5),
                                      m_view->viewport()->mapFromGlobal(QPointF(QCursor::pos())));
            });
    connect(m_screenGrab, &ScreenGrab::failed, this, [this](const QString &reason) {
        QMessageBox::information(this, QStringLiteral("Grab Screen"), reason);
    });
    m_view->setAwaitingPicture(m_manager->isLoading());
    connect(m_manager, &Manager::previewReady, m_view, &View::showPreview);
    connect(m_manager, &Manager::failed, m_view, &View::clearPreview);
    connect(m_manager, &Manager::failed, this, [this](const QString &title, const QString &text) {
        QMessageBox::warning(this, title, text);
    });
    connect(document, &Document::changed, this, &Lumeno::updateTitle);
    connect(m_selection, &Selection::changed, this, &Lumeno::updateTitle);
    connectCommands();

    WindowSettings::restore(this);
    loadStyleSheet();
}

Lumeno::~Lumeno()
{
    WindowSettings::store(this);
    // The models go with their children, later: what they say on the way
    // out must not reach a window that is half destroyed.
    m_manager->document()->disconnect(this);
    m_selection->disconnect(this);
}

void Lumeno::connectCommands()
{
    const auto on = [this](int id, auto target) {
        connect(m_commands->action(id), &QAction::triggered, this, target);
    };
    Document *document = m_manager->document();
    on(Commands::Open, [this] { m_files->open(); });
    on(Commands::Save, [this] { m_files->save(); });
    on(Commands::SaveAs, [this] { m_files->saveAs(); });
    on(Commands::Copy, [this] { copySelection(); });
    on(Commands::Paste, [this] { m_manager->setFromClipboard(); });
    on(Commands::Crop, [this, document] {
        if (m_selection->hasSelection())
            document->crop(m_selection->rect().toRect());
    });
    on(Commands::ZoomToSelection, [this] { m_view->zoomToSel(); });
    on(Commands::ZoomToFit, [this] { m_view->zoomToFit(); });
    on(Commands::ResetZoom, [this] { m_view->zoomReset(); });
    on(Commands::About, [this] { about(); });
    on(Commands::Undo, [document] { document->undoStack()->undo(); });
    on(Commands::Redo, [document] { document->undoStack()->redo(); });
    on(Commands::GrabScreen, [this] { m_screenGrab->grab(); });
    on(Commands::SelectAll, [this] { m_selection->selectAll(); });
    on(Commands::ClearSelection, [this] { m_selection->clear(); });
    // The copy button shows pressed for a moment, then copies.
    on(Commands::CopyColor, [this] { m_colorWidget->copyButton()->animateClick(); });
    // Quits the way closing the window does.
    on(Commands::Quit, [this] { close(); });
    on(Commands::PickHovered, [this] { m_pick->click(m_pick->hoverPoint()); });

    QAction *grid = m_commands->action(Commands::PixelGrid);
    grid->setChecked(QSettings().value(PixelGridKey, true).toBool());
    m_view->setPixelGridVisible(grid->isChecked());
    connect(grid, &QAction::toggled, this, [this](bool visible) {
        m_view->setPixelGridVisible(visible);
        QSettings().setValue(PixelGridKey, visible);
    });
}

void Lumeno::chooseFirstImage(const QStringList &paths)
{
    // A file already on its way (started at construction) is not asked for
    // again.
    if (!paths.isEmpty() && !m_manager->isLoading())
        m_manager->setPath(paths.first());
    else
        QTimer::singleShot(1, m_manager, &Manager::trySetFromClipboard);
}

void Lumeno::updateTitle()
{
    const Image *image = m_manager->document()->image();
    // Before the first picture there is nothing to describe: the title stays.
    if (image->isNull)
        return;
    // Built by concatenation: the file name is data and may itself contain
    // percent signs or placeholders. Sizes and places are whole numbers,
    // written as such however large.
    const auto number = [](double value) {
        return QString::number(qint64(value));
    };
    QString title = (image->modified ? QStringLiteral("*") : QString()) + QLatin1Char(' ') +
                    image->fileName() + QStringLiteral(" (") + number(image->width()) +
                    QLatin1Char('x') + number(image->height()) + QLatin1Char(')');
    if (m_selection->hasSelection()) {
        const QRectF selection = m_selection->rect();
        title += QStringLiteral(" - ") + number(selection.width()) + QLatin1Char('x') +
                 number(selection.height()) + QStringLiteral(" @ (") + number(selection.x()) +
                 QStringLiteral(", ") + number(selection.y()) + QLatin1Char(')');
    }
    setWindowTitle(title);
}

void Lumeno::copySelection()
{
    const QRect selected = m_selection->hasSelection() ? m_selection->rect().toRect() : QRect();
    QApplication::clipboard()->setImage(m_manager->document()->copy(selected),
                                        QClipboard::Clipboard);
}

void Lumeno::about()
{
    // Plain text: the settings path is data.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Lumeno"),
                    QStringLiteral("Lumeno %1\n\nLooks at one raster image and picks colours, "
                                   "positions and sizes out of it.\n\nSettings: ")
                            .arg(QCoreApplication::applicationVersion()) +
                        QSettings().fileName(),
                    QMessageBox::Close, this);
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(m_artwork.pixmap(QStringLiteral("logo-48")));
    box.exec();
}

void Lumeno::loadStyleSheet()
{
    // A missing resource gives an empty sheet: the platform's default look.
    qApp->setStyleSheet(expandStyleSheetVariables(
        readTextFile(QStringLiteral(":/resources/text/style_sheet.css"))));
}

void Lumeno::closeEvent(QCloseEvent *event)
{
    if (m_files->maySetDocumentAside())
        event->accept();
    else
        event->ignore();
}

void Lumeno::dragEnterEvent(QDragEnterEvent *event)
{
    if (FileWorkflow::isAcceptableDrop(event->mimeData(), event->possibleActions()))
        event->acceptProposedAction();
}

void Lumeno::dropEvent(QDropEvent *event)
{
    if (m_files->drop(event->mimeData(), event->possibleActions()))
        event->accept();
    else
        event->ignore();
}

#include "app/lumeno.h"

#include "app/stylesheet.h"
#include "document/image.h"
#include "document/manager.h"
#include "selection/selectionitem.h"
#include "util/utilities.h"
#include "view/view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace {
Lumeno *s_instance = nullptr;
} // namespace

Lumeno::Lumeno(QWidget *parent) : QWidget(parent, Qt::Window)
{
    s_instance = this;
    setObjectName(QStringLiteral("lumeno"));
    setWindowTitle(QStringLiteral("Corvane"));

    // Every picture is decoded once, here, before any widget asks for one.
    loadResources();
    setWindowIcon(icon(QStringLiteral("logo-48")));

    setAcceptDrops(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_currentDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_view = new View(this);
    layout->addWidget(m_view);

    m_manager = new Manager(this);

    installShortcuts();

    connect(m_manager, &Manager::showImage, this, &Lumeno::showImageHandler);
    connect(m_view, &View::selectionChanged, this, &Lumeno::selectionChangedHandler);

    resize(900, 700);
    move(50, 100);

    loadStyleSheet();
    updateButtons();
    chooseFirstImage();
}

Lumeno::~Lumeno()
{
    if (s_instance == this)
        s_instance = nullptr;
}

Lumeno *Lumeno::instance()
{
    return s_instance;
}

void Lumeno::installShortcuts()
{
    // Window-wide keys for the view's commands.
    const Qt::ShortcutContext context = Qt::ApplicationShortcut;
    makeShortcut(QKeySequence::SelectAll, this, m_view, SLOT(selectAll()), context);
    makeShortcut(QKeySequence::Undo, this, m_view, SLOT(undo()), context);
    makeShortcut(QKeySequence::Redo, this, m_view, SLOT(redo()), context);
    makeShortcuts(QStringLiteral("Escape"), this, m_view, SLOT(clearSelection()), context);
    makeShortcuts(QStringLiteral("Return"), this, m_view, SLOT(crop()), context);
    // Until the toolbar buttons carry them, the command keys live here.
    makeShortcuts(QStringLiteral("Ctrl+C"), this, m_view, SLOT(copy()), context);
    makeShortcuts(QStringLiteral("Ctrl+V"), this, m_view, SLOT(paste()), context);
    makeShortcuts(QStringLiteral("Enter"), this, m_view, SLOT(crop()), context);
    makeShortcuts(QStringLiteral("Space"), this, m_view, SLOT(zoomToSel()), context);
    makeShortcuts(QStringLiteral("Home"), this, m_view, SLOT(zoomToFit()), context);
    makeShortcuts(QStringLiteral("Backspace"), this, m_view, SLOT(zoomReset()), context);
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

void Lumeno::chooseFirstImage()
{
    // A path on the command line wins, even when it turns out to be unusable:
    // the clipboard is consulted only when no path was given.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        m_manager->setPath(arguments.at(1));
    else
        QTimer::singleShot(1, m_manager, &Manager::trySetFromClipboard);
}

void Lumeno::showImageHandler(Image *image)
{
    m_view->setImage(image);
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

void Lumeno::selectionChangedHandler()
{
    updateTitle();
}

void Lumeno::updateButtons()
{
    // The toolbar's buttons take their states from the view here once they
    // exist; until then there is nothing to refresh.
}

void Lumeno::loadResources()
{
    const auto load = [this](const QString &folder, bool makeIcon) {
        const QDir dir(folder, QStringLiteral("*.png"), QDir::Name | QDir::IgnoreCase, QDir::Files);
        for (const QFileInfo &file : dir.entryInfoList())
            loadImageResource(file.filePath(), makeIcon);
    };
    load(QStringLiteral(":/resources/icons"), true);
    load(QStringLiteral(":/resources/pixmaps"), false);
}

void Lumeno::loadImageResource(const QString &path, bool makeIcon)
{
    const QString name = QFileInfo(path).baseName();
    const QPixmap picture(path);
    m_pixmaps[name] = picture;
    if (makeIcon) {
        QIcon icon(picture);
        icon.addPixmap(fadedPixmap(picture, 64), QIcon::Disabled, QIcon::Off);
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

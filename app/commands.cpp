#include "app/commands.h"

#include "document/document.h"
#include "selection/selection.h"
#include "util/artwork.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUndoStack>

namespace {

struct Command
{
    const char *text;
    const char *icon;
    // The keys, '|' between several; the first is the one menus show.
    const char *keys;
    // A window-wide key works while the main window is active; an
    // application-wide one also from the program's other windows.
    Qt::ShortcutContext context;
    const char *buttonName;
};

const Command Table[Commands::Count] = {
    {"Open", "open", "Ctrl+O", Qt::WindowShortcut, "load_button"},
    {"Save", "save", "Ctrl+S", Qt::WindowShortcut, "save_button"},
    {"Save As", "save-as", "Ctrl+Shift+S", Qt::WindowShortcut, "save_as_button"},
    {"Copy", "copy", "Ctrl+C", Qt::WindowShortcut, "copy_button"},
    {"Paste", "paste", "Ctrl+V", Qt::WindowShortcut, "paste_button"},
    {"Crop", "crop", "Enter|Return", Qt::ApplicationShortcut, "crop_button"},
    {"Zoom To Selection", "zoom-to-sel", "Space", Qt::WindowShortcut, "zoom_to_sel_button"},
    {"Zoom To Fit", "zoom-to-fit", "Home", Qt::WindowShortcut, "zoom_to_fit_button"},
    {"Reset Zoom", "zoom-reset", "Backspace", Qt::WindowShortcut, "zoom_reset_button"},
    {"About Lumeno", "logo-16", "", Qt::WindowShortcut, nullptr},
    {"Pixel Grid", "", "", Qt::WindowShortcut, nullptr},
    {"Undo", "", "Ctrl+Z", Qt::ApplicationShortcut, nullptr},
    {"Redo", "", "Ctrl+Shift+Z|Ctrl+Y", Qt::ApplicationShortcut, nullptr},
    {"Grab Screen", "", "Ctrl+Shift+G", Qt::ApplicationShortcut, nullptr},
    {"Select All", "", "Ctrl+A", Qt::ApplicationShortcut, nullptr},
    {"Clear Selection", "", "Escape", Qt::ApplicationShortcut, nullptr},
    {"Copy Color String", "", "Ctrl+D", Qt::ApplicationShortcut, nullptr},
    {"Quit", "", "Ctrl+Q", Qt::ApplicationShortcut, nullptr},
    {"Pick Hovered Color", "", "P", Qt::WindowShortcut, nullptr},
};

} // namespace

Commands::Commands(const Artwork &artwork, Document *document, Selection *selection,
                   QObject *parent)
    : QObject(parent), m_document(document), m_selection(selection)
{
    for (const Command &command : Table) {
        auto *action = new QAction(QString::fromLatin1(command.text), this);
        if (*command.icon)
            action->setIcon(artwork.icon(QString::fromLatin1(command.icon)));
        // Written out, in the portable (English) names: the platform's
        // standard redo key alone may be either.
        QList<QKeySequence> keys;
        for (const QString &key :
             QString::fromLatin1(command.keys).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            keys << QKeySequence(key, QKeySequence::PortableText);
        action->setShortcuts(keys);
        action->setShortcutContext(command.context);
        const QString firstKey = QString::fromLatin1(command.keys).section(QLatin1Char('|'), 0, 0);
        if (!firstKey.isEmpty())
            action->setToolTip(action->text() + QStringLiteral(" (") + firstKey + QLatin1Char(')'));
        m_actions << action;
    }
    action(PixelGrid)->setCheckable(true);

    QUndoStack *history = document->undoStack();
    connect(document, &Document::changed, this, &Commands::updateStates);
    connect(selection, &Selection::changed, this, &Commands::updateStates);
    connect(history, &QUndoStack::canUndoChanged, this, &Commands::updateStates);
    connect(history, &QUndoStack::canRedoChanged, this, &Commands::updateStates);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &Commands::updateStates);
    // The document may go first; its history says "cannot undo" on the way
    // out, after the document itself is gone.
    connect(document, &QObject::destroyed, this, [this, history] {
        history->disconnect(this);
        m_document = nullptr;
    });
    updateStates();
}

QAction *Commands::action(int id) const
{
    return m_actions.value(id);
}

QString Commands::buttonName(int id)
{
    const char *name = id >= 0 && id < Count ? Table[id].buttonName : nullptr;
    return name ? QString::fromLatin1(name) : QString();
}

QString Commands::iconName(int id)
{
    return id >= 0 && id < Count ? QString::fromLatin1(Table[id].icon) : QString();
}

void Commands::updateStates()
{
    if (!m_document)
        return;
    const Image *image = m_document->image();
    const bool hasImage = !image->isNull;
    const bool hasSelection = hasImage && m_selection->hasSelection();
    // Asked at every change: look at the offered formats instead of fetching
    // and decoding what may be a large picture from another program.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    const QUndoStack *history = m_document->undoStack();
    const QList<QPair<int, bool>> states = {
        {Save, hasImage && image->modified},
        {SaveAs, hasImage},
        {Copy, hasImage},
        {Paste, data && data->hasImage()},
        {Crop, hasSelection},
        {ZoomToSelection, hasSelection},
        {ZoomToFit, hasImage},
        {ResetZoom, hasImage},
        {PickHovered, hasImage},
        {Undo, history->canUndo()},
        {Redo, history->canRedo()},
    };
    for (const auto &[id, enabled] : states)
        action(id)->setEnabled(enabled);
}

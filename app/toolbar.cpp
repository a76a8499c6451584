#include "app/toolbar.h"

#include "app/lumeno.h"
#include "colour/colorwidget.h"
#include "widgets/elidedlabel.h"
#include "widgets/flowlayout.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"
#include "widgets/verticalseparator.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int StripHeight = 32;
constexpr int ItemHeight = 28;

struct CommandText
{
    const char *iconName;
    const char *text;
    const char *shortcut;
    const char *objectName;
};

// The buttons from left to right, which is also the order of the menu.
const CommandText Commands[Toolbar::CommandCount] = {
    {"open", "Open", "Ctrl+O", "load_button"},
    {"save", "Save", "Ctrl+S", "save_button"},
    {"save-as", "Save As", "Ctrl+Shift+S", "save_as_button"},
    {"copy", "Copy", "Ctrl+C", "copy_button"},
    {"paste", "Paste", "Ctrl+V", "paste_button"},
    {"crop", "Crop", "Enter", "crop_button"},
    {"zoom-to-sel", "Zoom To Selection", "Space", "zoom_to_sel_button"},
    {"zoom-to-fit", "Zoom To Fit", "Home", "zoom_to_fit_button"},
    {"zoom-reset", "Reset Zoom", "Backspace", "zoom_reset_button"},
};

bool separatorFollows(int command)
{
    return command == Toolbar::SaveAs || command == Toolbar::Crop || command == Toolbar::ResetZoom;
}

} // namespace

Toolbar::Toolbar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("toolbar"));
    setFixedHeight(StripHeight);

    m_toolbarLayout = new QHBoxLayout(this);
    m_toolbarLayout->setContentsMargins(2, 2, 2, 2);
    m_toolbarLayout->setSpacing(2);
    // Gaps of -1 take the box layout's spacing.
    m_flowLayout = new FlowLayout(0, -1, -1);
    m_toolbarLayout->addLayout(m_flowLayout, 1);

    m_menuButton = new MenuButton(this, QStringLiteral("wrench"));
    m_menuButton->setFixedHeight(ItemHeight);
    m_flowLayout->addWidget(m_menuButton);
    makeSeparator(m_flowLayout);

    Menu *toolMenu = menu();
    for (int command = 0; command < CommandCount; ++command) {
        const CommandText &c = Commands[command];
        toolMenu->addAction(command, QString::fromLatin1(c.iconName), QString::fromLatin1(c.text),
                            QString::fromLatin1(c.shortcut), Qt::WidgetShortcut);
        if (command == SaveAs || command == Crop)
            toolMenu->addSeparator();
    }
    toolMenu->addSeparator();
    toolMenu->addAction(Undo, QString(), QStringLiteral("Undo"), QStringLiteral("Ctrl+Z"),
                        Qt::WidgetShortcut);
    toolMenu->addAction(Redo, QString(), QStringLiteral("Redo"), QStringLiteral("Ctrl+Shift+Z"),
                        Qt::WidgetShortcut);
    toolMenu->addSeparator();
    toolMenu->addAction(GrabScreen, QString(), QStringLiteral("Grab Screen"),
                        QStringLiteral("Ctrl+Shift+G"), Qt::WidgetShortcut);
    toolMenu->addSeparator();
    toolMenu->addNonExclusiveAction(PixelGrid, 1, QString(), QStringLiteral("Pixel Grid"),
                                    QString(), Qt::WidgetShortcut);
    toolMenu->addSeparator();
    toolMenu->addAction(About, QStringLiteral("logo-16"), QStringLiteral("About Lumeno"), QString(),
                        Qt::WidgetShortcut);

    for (int command = 0; command < CommandCount; ++command) {
        const CommandText &c = Commands[command];
        m_buttons[command] =
            addToolbarButton(QString::fromLatin1(c.iconName), QString::fromLatin1(c.text),
                             QString::fromLatin1(c.shortcut), QString::fromLatin1(c.objectName));
        if (separatorFollows(command))
            makeSeparator(m_flowLayout);
    }

    addLegendItem(QStringLiteral("left-click"), tr("Pan"));
    addLegendItem(QStringLiteral("right-click"), tr("Select"));
    addLegendItem(QStringLiteral("wheel"), tr("Zoom"));
    addLegendItem(QStringLiteral("double-left-click"), tr("Zoom To Fit"));

    m_colorWidget = new ColorWidget(this);
    m_toolbarLayout->addWidget(m_colorWidget, 0);
}

bool Toolbar::event(QEvent *event)
{
    // The colour panel asks for a new width when the format or the picture
    // changes; the legend makes room for it.
    if (event->type() == QEvent::LayoutRequest)
        updateLegend();
    return QFrame::event(event);
}

void Toolbar::resizeEvent(QResizeEvent *event)
{
    updateLegend();
    QFrame::resizeEvent(event);
}

void Toolbar::updateLegend()
{
    const QMargins margins = m_toolbarLayout->contentsMargins();
    const int gap = m_flowLayout->effectiveHorizontalGap();
    const int panel = m_colorWidget->sizeHint().width();
    // The width the flow layout gets, and what it needs for everything but
    // the legend. An item fits the row when it ends left of the flow's last
    // column.
    const int flowWidth =
        width() - margins.left() - margins.right() - m_toolbarLayout->spacing() - panel;
    int used = 0;
    for (int i = 0; i < m_flowLayout->count(); ++i) {
        QLayoutItem *item = m_flowLayout->itemAt(i);
        if (!m_legendItems.contains(item->widget()))
            used += item->sizeHint().width() + gap;
    }
    setMinimumWidth(used + margins.left() + margins.right() + m_toolbarLayout->spacing() + panel);

    bool fits = true;
    for (QWidget *item : std::as_const(m_legendItems)) {
        // Measured as if shown: the layout counts a hidden item as empty.
        const int width =
            qBound(item->minimumWidth(), item->sizeHint().width(), item->maximumWidth());
        fits = fits && used + width <= flowWidth - 1;
        if (fits)
            used += width + gap;
        // Only real changes: each one asks for a new layout.
        if (item->isVisibleTo(this) != fits)
            item->setVisible(fits);
    }
}

Menu *Toolbar::menu() const
{
    return m_menuButton->buttonMenu();
}

ToolButton *Toolbar::button(int command) const
{
    return command >= 0 && command < CommandCount ? m_buttons[command] : nullptr;
}

ToolButton *Toolbar::addToolbarButton(const QString &iconName, const QString &toolTip,
                                      const QString &shortcut, const QString &objectName)
{
    // Sized from its icon; the shortcut lives on the button, so it works
    // whenever the window is active.
    auto *button = new ToolButton(this, iconName, toolTip, shortcut, objectName);
    button->setFixedHeight(ItemHeight);
    m_flowLayout->addWidget(button);
    return button;
}

void Toolbar::addLegendItem(const QString &pixmapName, const QString &text)
{
    QFrame *frame = addToolbarFrame();
    m_legendItems.append(frame);

    auto *picture = new QLabel(frame);
    if (Lumeno *window = Lumeno::instance())
        picture->setPixmap(window->pixmap(pixmapName));
    picture->setToolTip(text);
    frame->layout()->addWidget(picture);

    auto *label = new ElidedLabel(frame);
    label->setObjectName(QStringLiteral("toolbar_label"));
    label->setTextColor(QColor(0, 0, 0, 128));
    label->setText(QLatin1Char(' ') + text);
    frame->layout()->addWidget(label);

    makeSeparator(frame->layout());
}

QFrame *Toolbar::addToolbarFrame()
{
    auto *frame = new QFrame(this);
    frame->setFixedHeight(ItemHeight);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_flowLayout->addWidget(frame);
    return frame;
}

void Toolbar::makeSeparator(QLayout *layout)
{
    auto *separator = new VerticalSeparator(this);
    separator->setFixedHeight(ItemHeight);
    layout->addWidget(separator);
}

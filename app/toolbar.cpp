#include "app/toolbar.h"

#include "app/commands.h"
#include "colour/colorwidget.h"
#include "util/artwork.h"
#include "widgets/elidedlabel.h"
#include "widgets/flowlayout.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"
#include "widgets/verticalseparator.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int StripHeight = 32;
constexpr int ItemHeight = 28;

bool separatorFollows(int command)
{
    return command == Commands::SaveAs || command == Commands::Crop ||
           command == Commands::ResetZoom;
}

} // namespace

Toolbar::Toolbar(Commands *commands, const Artwork &artwork, ColorWidget *panel, QWidget *parent)
    : QFrame(parent), m_colorWidget(panel)
{
    setObjectName(QStringLiteral("toolbar"));
    setFixedHeight(StripHeight);

    m_toolbarLayout = new QHBoxLayout(this);
    m_toolbarLayout->setContentsMargins(2, 2, 2, 2);
    m_toolbarLayout->setSpacing(2);
    // Gaps of -1 take the box layout's spacing.
    m_flowLayout = new FlowLayout(0, -1, -1);
    m_toolbarLayout->addLayout(m_flowLayout, 1);

    const QString wrench = QStringLiteral("wrench");
    m_menuButton = new MenuButton(this, artwork.icon(wrench), artwork.iconSize(wrench));
    m_menuButton->setFixedHeight(ItemHeight);
    m_flowLayout->addWidget(m_menuButton);
    makeSeparator(m_flowLayout);

    // The buttons' order is also the menu's, with the menu's own entries
    // after them.
    Menu *toolMenu = menu();
    for (int command = 0; command < Commands::ButtonCount; ++command) {
        toolMenu->addAction(command, commands->action(command));
        if (command == Commands::SaveAs || command == Commands::Crop)
            toolMenu->addSeparator();
    }
    for (const int command :
         {-1, int(Commands::Undo), int(Commands::Redo), -1, int(Commands::GrabScreen), -1,
          int(Commands::PixelGrid), -1, int(Commands::About)}) {
        if (command < 0)
            toolMenu->addSeparator();
        else
            toolMenu->addAction(command, commands->action(command));
    }

    for (int command = 0; command < Commands::ButtonCount; ++command) {
        QAction *action = commands->action(command);
        // Sized from its icon at the display's scale.
        auto *button =
            new ToolButton(this, action->icon(), artwork.iconSize(Commands::iconName(command)),
                           Commands::buttonName(command));
        button->setDefaultAction(action);
        button->setFixedHeight(ItemHeight);
        m_flowLayout->addWidget(button);
        m_buttons << button;
        if (separatorFollows(command))
            makeSeparator(m_flowLayout);
    }

    addLegendItem(artwork.pixmap(QStringLiteral("left-click")), tr("Pan"));
    addLegendItem(artwork.pixmap(QStringLiteral("right-click")), tr("Select"));
    addLegendItem(artwork.pixmap(QStringLiteral("wheel")), tr("Zoom"));
    addLegendItem(artwork.pixmap(QStringLiteral("double-left-click")), tr("Zoom To Fit"));

    panel->setParent(this);
    m_toolbarLayout->addWidget(panel, 0);
}

bool Toolbar::event(QEvent *event)
{
    // The colour panel asks for a new width when the format or the picture
    // changes; the legend and the panel share the room anew.
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
    const int around = margins.left() + margins.right() + m_toolbarLayout->spacing();
    // What the flow layout needs for everything but the legend. An item fits
    // the row when it ends left of the flow's last column.
    int used = 0;
    for (int i = 0; i < m_flowLayout->count(); ++i) {
        QLayoutItem *item = m_flowLayout->itemAt(i);
        if (!m_legendItems.contains(item->widget()))
            used += item->sizeHint().width() + gap;
    }
    const int panelMinimum = m_colorWidget->minimumSizeHint().width();
    setMinimumWidth(used + around + panelMinimum);
    // The panel gets what it wants where there is room for it beside the
    // buttons, and never less than its minimum.
    const int panel =
        qBound(panelMinimum, width() - around - used + gap - 1, m_colorWidget->sizeHint().width());
    if (m_colorWidget->width() != panel || m_colorWidget->minimumWidth() != panel)
        m_colorWidget->setFixedWidth(panel);
    const int flowWidth = width() - around - panel;

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
    return m_buttons.value(command);
}

void Toolbar::addLegendItem(const QPixmap &pixmap, const QString &text)
{
    auto *frame = new QFrame(this);
    frame->setFixedHeight(ItemHeight);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_flowLayout->addWidget(frame);
    m_legendItems.append(frame);

    auto *picture = new QLabel(frame);
    picture->setPixmap(pixmap);
    picture->setToolTip(text);
    layout->addWidget(picture);

    auto *label = new ElidedLabel(frame);
    label->setObjectName(QStringLiteral("toolbar_label"));
    label->setTextColor(QColor(0, 0, 0, 128));
    label->setText(QLatin1Char(' ') + text);
    layout->addWidget(label);

    makeSeparator(layout);
}

void Toolbar::makeSeparator(QLayout *layout)
{
    auto *separator = new VerticalSeparator(this);
    separator->setFixedHeight(ItemHeight);
    layout->addWidget(separator);
}

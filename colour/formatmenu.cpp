#include "colour/formatmenu.h"

#include "colour/addcustomformatdialog.h"
#include "colour/formatlist.h"
#include "colour/recentcolors.h"
#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/utilities.h"
#include "widgets/menu.h"

#include <QAction>
#include <QMessageBox>
#include <QPointer>

namespace {

// Entries added to the format menu after its format ids were settled: in a
// negative range of their own, below the commands -1 and -2.
struct SampleChoice
{
    int id;
    int size;
    const char *text;
};
const SampleChoice SampleChoices[] = {
    {-10, 1, "Point Sample"},
    {-11, 3, "3 x 3 Average"},
    {-12, 5, "5 x 5 Average"},
};
constexpr int ColorManagedId = -20;
constexpr int AddCustomId = -1;
constexpr int RemoveAllId = -2;
constexpr int FirstRecentId = -100; // the newest; older ones count down

} // namespace

FormatMenu::FormatMenu(Menu *menu, FormatList *formats, RecentColors *recent, PickModel *pick,
                       Selection *selection, QObject *parent)
    : QObject(parent), m_menu(menu), m_removeMenu(new Menu(menu)), m_recentMenu(new Menu(menu)),
      m_formats(formats), m_recent(recent), m_pick(pick), m_selection(selection)
{
    m_removeMenu->setTitle(QStringLiteral("Remove Custom"));
    m_recentMenu->setTitle(QStringLiteral("Recent"));
    // Entries of the submenus are reported by this menu too.
    connect(menu, &Menu::actionTriggered, this, &FormatMenu::trigger);
    connect(formats, &FormatList::changed, this, &FormatMenu::rebuild);
    connect(recent, &RecentColors::changed, this, &FormatMenu::rebuildRecent);
    connect(pick, &PickModel::sampleSizeChanged, this, [this](int size) {
        for (const SampleChoice &choice : SampleChoices)
            m_menu->setChecked(choice.id, choice.size == size);
    });
    rebuild();
}

void FormatMenu::rebuild()
{
    const QList<ColorFormat> builtin = m_formats->builtinFormats();
    const QList<ColorFormat> custom = m_formats->customFormats();
    const int nb = int(builtin.size());
    const int nc = int(custom.size());

    m_menu->clear();
    for (const SampleChoice &choice : SampleChoices) {
        m_menu->addExclusiveAction(choice.id, 1, QString::fromLatin1(choice.text));
        m_menu->setChecked(choice.id, choice.size == m_pick->sampleSize());
    }
    m_menu->addSeparator();
    QAction *managed = m_menu->addAction(ColorManagedId, QStringLiteral("Colour-Managed Display"));
    managed->setCheckable(true);
    managed->setChecked(m_pick->document()->colorManaged());
    m_menu->addSeparator();
    for (int i = 0; i < nb; ++i)
        m_menu->addExclusiveAction(i, 0, escapeMnemonics(builtin.at(i).menuLabel()));
    m_menu->addSeparator();
    for (int j = 0; j < nc; ++j)
        m_menu->addExclusiveAction(nb + j, 0, escapeMnemonics(custom.at(j).menuLabel()));
    m_menu->setChecked(m_formats->currentIndex(), true);
    m_menu->addSeparator();
    m_menu->addAction(AddCustomId, QStringLiteral("Add Custom"));
    if (nc > 0) {
        m_menu->addMenu(m_removeMenu);
        m_removeMenu->clear();
        for (int j = 0; j < nc; ++j)
            m_removeMenu->addAction(nb + nc + j, escapeMnemonics(custom.at(j).menuLabel()));
        m_removeMenu->addSeparator();
        m_removeMenu->addAction(RemoveAllId, QStringLiteral("Remove All"));
    }
    m_menu->addSeparator();
    m_menu->addMenu(m_recentMenu);
    rebuildRecent();
}

void FormatMenu::rebuildRecent()
{
    m_recentMenu->clear();
    const QStringList texts = m_recent->texts();
    for (int i = 0; i < texts.size(); ++i) {
        // A tab would start a shortcut column.
        QString text = texts.at(i);
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (text.size() > 60)
            text = text.left(59) + QChar(0x2026);
        m_recentMenu->addAction(FirstRecentId - i, escapeMnemonics(text));
    }
    m_recentMenu->menuAction()->setEnabled(!texts.isEmpty());
}

void FormatMenu::trigger(int id)
{
    for (const SampleChoice &choice : SampleChoices) {
        if (id == choice.id) {
            m_menu->setChecked(id, true);
            m_pick->setSampleSize(choice.size);
            return;
        }
    }
    if (id == ColorManagedId) {
        Document *document = m_pick->document();
        document->setColorManaged(!document->colorManaged());
        m_menu->setChecked(id, document->colorManaged());
        return;
    }
    const int recent = FirstRecentId - id;
    if (recent >= 0 && recent < RecentColors::Count) {
        if (recent < m_recent->texts().size())
            emit copyRequested(m_recent->texts().at(recent));
        return;
    }
    const int count = m_formats->count();
    const int nc = int(m_formats->customFormats().size());
    if (id >= 0 && id < count) {
        m_formats->setCurrentIndex(id);
    } else if (id >= count && id < count + nc) {
        // The confirmation runs an event loop of its own.
        QPointer<FormatList> formats(m_formats);
        if (confirm(tr("Would you like to delete the selected custom format string?")) && formats)
            formats->removeCustomFormat(id - count);
    } else if (id == AddCustomId) {
        addCustomFormat();
    } else if (id == RemoveAllId) {
        QPointer<FormatList> formats(m_formats);
        if (confirm(tr("Would you like to clear all custom format strings?")) && formats)
            formats->removeAllCustomFormats();
    }
}

bool FormatMenu::confirm(const QString &text)
{
    return QMessageBox::question(
               m_menu->parentWidget() ? m_menu->parentWidget()->window() : nullptr,
               tr("Confirm Delete"), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void FormatMenu::addCustomFormat()
{
    QPointer<FormatList> formats(m_formats);
    AddCustomFormatDialog dialog(m_menu->parentWidget() ? m_menu->parentWidget()->window()
                                                        : nullptr);
    dialog.setFormatText(m_formats->current().formatString());
    dialog.setPreviewSubject(m_pick->clickColor(), m_pick->clickPoint(), m_selection->rect(),
                             {m_pick->clickStored(), m_pick->colorSpace()});
    if (dialog.exec() == QDialog::Accepted && formats)
        formats->addCustomFormat(dialog.formatText());
}

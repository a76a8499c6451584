#include "colour/colorwidget.h"

#include "app/lumeno.h"
#include "colour/addcustomformatdialog.h"
#include "colour/doubleswatch.h"
#include "util/utilities.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QShortcut>
#include <QStringList>
#include <QTimer>

namespace {

constexpr QLatin1String settingsGroup("colors");
constexpr QLatin1String formatStringsKey("format_strings");
constexpr QLatin1String formatIndexKey("format_index");
// Bounds on what the settings file may bring in: longer strings are dropped,
// strings past the count are left out, so a damaged or hostile file can make
// neither start-up nor every hover slow.
constexpr int maxFormatLength = 1000;
constexpr int maxCustomFormats = 100;
constexpr QLatin1String sampleSizeKey("sample_size");
constexpr QLatin1String recentColorsKey("recent_colors");

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
constexpr int FirstRecentId = -100; // the newest; older ones count down
constexpr int RecentCount = 10;
constexpr int CopiedMilliseconds = 1000;
constexpr int PanelHeight = 28;

// Buttons and menu entries read a '&' as a mnemonic marker: it would vanish
// from the text and bind Alt+<next character>. Format strings and the texts
// they make are data, so every '&' is doubled to show as itself.
QString escapeMnemonics(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString unescapeMnemonics(const QString &text)
{
    return QString(text).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

ColorWidget::ColorWidget(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(PanelHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    m_hboxLayout = new QHBoxLayout(this);
    m_hboxLayout->setContentsMargins(0, 0, 0, 0);
    m_hboxLayout->setSpacing(2);
    m_hboxLayout->addStretch(1);

    m_hoverLabel = new QLabel(this);
    m_hoverLabel->setToolTip(tr("Hovered Color"));
    // Fixed in both directions (the width follows the format): a new text
    // then repaints the label without laying out the panel again, on every
    // hover.
    m_hoverLabel->setFixedHeight(PanelHeight);
    m_hoverLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The text comes from a user's format string: never rich text.
    m_hoverLabel->setTextFormat(Qt::PlainText);
    m_hboxLayout->addWidget(m_hoverLabel);

    m_swatch = new DoubleSwatch(this);
    m_hboxLayout->addWidget(m_swatch);

    m_copyButton = new ToolButton(this, QString(), QStringLiteral("copy"),
                                  QStringLiteral("Copy Color String (Ctrl+D)"), QString(),
                                  QStringLiteral("copy_color_button"));
    m_copyButton->setExpandingHeight(true);
    m_copyButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    m_hboxLayout->addWidget(m_copyButton);

    m_formatButton = new MenuButton(this, QStringLiteral("menu-button-arrow"));
    m_formatButton->setObjectName(QStringLiteral("no_arrow"));
    m_formatButton->setExpandingHeight(true);
    m_formatButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    m_hboxLayout->addWidget(m_formatButton);

    m_removeMenu = new Menu(this);
    m_removeMenu->setTitle(QStringLiteral("Remove Custom"));
    m_recentMenu = new Menu(this);
    m_recentMenu->setTitle(QStringLiteral("Recent"));

    // Over the copy button, and transparent to the mouse: the button stays
    // clickable while it shows.
    m_copiedLabel = new QLabel(m_copyButton);
    m_copiedLabel->setObjectName(QStringLiteral("copied_label"));
    m_copiedLabel->setAlignment(Qt::AlignCenter);
    m_copiedLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_copiedLabel->hide();
    m_copiedTimer = new QTimer(this);
    m_copiedTimer->setSingleShot(true);
    m_copiedTimer->setInterval(CopiedMilliseconds);
    connect(m_copiedTimer, &QTimer::timeout, m_copiedLabel, &QWidget::hide);
    // The tool tip is made when it is asked for, not on every mouse move.
    m_swatch->installEventFilter(this);

    m_addFormatDialog = new AddCustomFormatDialog(dialogParent());

    // Owned by the copy button, so it lives exactly as long as the button it
    // clicks. The application context makes it fire whichever window of the
    // application has the focus, while the button is visible and enabled and
    // no modal dialog shadows the panel.
    QShortcut *copyShortcut =
        makeShortcut(QKeySequence(QStringLiteral("Ctrl+D"), QKeySequence::PortableText),
                     m_copyButton, m_copyButton, SLOT(animateClick()), Qt::ApplicationShortcut);
    // Another Ctrl+D elsewhere must not silence this one.
    connect(copyShortcut, &QShortcut::activatedAmbiguously, m_copyButton,
            &QAbstractButton::animateClick);

    connect(m_copyButton, &QAbstractButton::clicked, this, &ColorWidget::copyButtonClickedHandler);
    // Entries of the submenu are reported by this menu too.
    connect(m_formatButton->buttonMenu(), &Menu::actionTriggered, this,
            &ColorWidget::formatMenuActionHandler);

    loadFormatSettings();
    loadPickSettings();
    addBuiltinFormat(QStringLiteral("%r,%g,%b,%a"));
    addBuiltinFormat(QStringLiteral("#%rr%gg%bb%aa"));
    addBuiltinFormat(QStringLiteral("#%rr%gg%bb"));
    addBuiltinFormat(QStringLiteral("rgb(%r,%g,%b)"));
    addBuiltinFormat(QStringLiteral("rgba(%r,%g,%b,%a)"));
    rebuildFormatMenu();

    updateHoverText();
    updateSelectedText();
}

ColorWidget::~ColorWidget()
{
    // The dialog belongs to the main window, but serves only this panel.
    delete m_addFormatDialog;
}

ColorFormat ColorWidget::currentFormat() const
{
    const int nb = int(m_builtinFormats.size());
    if (m_formatIndex >= 0 && m_formatIndex < nb)
        return m_builtinFormats.at(m_formatIndex);
    const int custom = m_formatIndex - nb;
    if (custom >= 0 && custom < m_customFormats.size())
        return m_customFormats.at(custom);
    return ColorFormat();
}

AddCustomFormatDialog *ColorWidget::addFormatDialog() const
{
    return m_addFormatDialog;
}

void ColorWidget::setHoverColor(const QColor &c, const QPointF &p)
{
    m_swatch->setHoverColor(c, p);
    updateHoverText();
}

void ColorWidget::setSelectedColor(const QColor &c, const QPointF &p)
{
    m_swatch->setSelectedColor(c, p);
    updateSelectedText();
}

void ColorWidget::copyButtonClickedHandler()
{
    copyText(unescapeMnemonics(m_copyButton->text()));
}

void ColorWidget::copyText(const QString &text)
{
    QApplication::clipboard()->setText(text, QClipboard::Clipboard);
    if (!text.isEmpty()) {
        m_recentColors.removeAll(text);
        m_recentColors.prepend(text);
        m_recentColors = m_recentColors.mid(0, RecentCount);
        QSettings settings;
        settings.setValue(settingsGroup + QLatin1Char('/') + recentColorsKey, m_recentColors);
        rebuildRecentMenu();
    }

    const QString word = QStringLiteral("Copied");
    const int room = m_copyButton->width() - 6;
    m_copiedLabel->setText(m_copiedLabel->fontMetrics().horizontalAdvance(word) <= room
                               ? word
                               : QStringLiteral("\u2713"));
    m_copiedLabel->setGeometry(m_copyButton->rect());
    m_copiedLabel->raise();
    m_copiedLabel->show();
    m_copiedTimer->start();
}

void ColorWidget::formatMenuActionHandler(int id)
{
    for (const SampleChoice &choice : SampleChoices) {
        if (id == choice.id) {
            m_formatButton->buttonMenu()->setChecked(id, true);
            if (choice.size != m_sampleSize) {
                m_sampleSize = choice.size;
                QSettings().setValue(settingsGroup + QLatin1Char('/') + sampleSizeKey,
                                     m_sampleSize);
                emit sampleSizeChanged(m_sampleSize);
            }
            return;
        }
    }
    const int recent = FirstRecentId - id;
    if (recent >= 0 && recent < RecentCount) {
        if (recent < m_recentColors.size())
            copyText(m_recentColors.at(recent));
        return;
    }

    const int nb = int(m_builtinFormats.size());
    const int nc = int(m_customFormats.size());
    if (id >= 0 && id < nb + nc) {
        m_formatIndex = id;
        rebuildFormatMenu();
        updateHoverText();
        updateSelectedText();
        return;
    }

    // The confirmations and the dialog run event loops of their own.
    QPointer<ColorWidget> alive(this);
    const int k = id - nb - nc;
    if (k >= 0 && k < nc) {
        if (askConfirmation(tr("Confirm Delete"),
                            tr("Would you like to delete the selected custom format string?")) &&
            alive && k < m_customFormats.size())
            m_customFormats.removeAt(k);
    } else if (id == -1) {
        addCustomFormatFromDialog();
    } else if (id == -2) {
        if (askConfirmation(tr("Confirm Delete"),
                            tr("Would you like to clear all custom format strings?")) &&
            alive)
            m_customFormats.clear();
    }
    if (!alive)
        return;

    // The index is left as it is: the clamp keeps it on the same number.
    rebuildFormatMenu();
    updateHoverText();
    updateSelectedText();
}

void ColorWidget::rebuildFormatMenu()
{
    const int nb = int(m_builtinFormats.size());
    const int nc = int(m_customFormats.size());
    m_formatIndex = qBound(0, m_formatIndex, nb + nc - 1);

    Menu *menu = m_formatButton->buttonMenu();
    menu->clear();
    const QString noIcon;
    const QString noShortcut;
    for (const SampleChoice &choice : SampleChoices)
        menu->addExclusiveAction(choice.id, 1, noIcon, QString::fromLatin1(choice.text), noShortcut,
                                 Qt::WidgetShortcut);
    for (const SampleChoice &choice : SampleChoices)
        menu->setChecked(choice.id, choice.size == m_sampleSize);
    menu->addSeparator();
    for (int i = 0; i < nb; ++i)
        menu->addExclusiveAction(i, 0, noIcon, escapeMnemonics(m_builtinFormats.at(i).menuLabel()),
                                 noShortcut, Qt::WidgetShortcut);
    menu->addSeparator();
    for (int j = 0; j < nc; ++j)
        menu->addExclusiveAction(nb + j, 0, noIcon,
                                 escapeMnemonics(m_customFormats.at(j).menuLabel()), noShortcut,
                                 Qt::WidgetShortcut);
    menu->setChecked(m_formatIndex, true);
    menu->addSeparator();
    menu->addAction(-1, noIcon, QStringLiteral("Add Custom"), noShortcut, Qt::WidgetShortcut);

    if (nc > 0) {
        menu->addMenu(m_removeMenu);
        m_removeMenu->clear();
        for (int j = 0; j < nc; ++j)
            m_removeMenu->addAction(nb + nc + j, noIcon,
                                    escapeMnemonics(m_customFormats.at(j).menuLabel()), noShortcut,
                                    Qt::WidgetShortcut);
        m_removeMenu->addSeparator();
        m_removeMenu->addAction(-2, noIcon, QStringLiteral("Remove All"), noShortcut,
                                Qt::WidgetShortcut);
    }
    menu->addSeparator();
    menu->addMenu(m_recentMenu);
    rebuildRecentMenu();
    saveFormatSettings();
    updateTextWidths();
}

void ColorWidget::rebuildRecentMenu()
{
    m_recentMenu->clear();
    for (int i = 0; i < m_recentColors.size(); ++i) {
        // A tab would start a shortcut column.
        QString text = m_recentColors.at(i);
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (text.size() > 60)
            text = text.left(59) + QChar(0x2026);
        m_recentMenu->addAction(FirstRecentId - i, QString(), escapeMnemonics(text), QString(),
                                Qt::WidgetShortcut);
    }
    m_recentMenu->menuAction()->setEnabled(!m_recentColors.isEmpty());
}

void ColorWidget::loadPickSettings()
{
    QSettings settings;
    settings.beginGroup(settingsGroup);
    const int size = settings.value(sampleSizeKey, 1).toInt();
    m_sampleSize = size == 3 || size == 5 ? size : 1;
    m_recentColors.clear();
    const QStringList stored = settings.value(recentColorsKey).toStringList();
    for (const QString &text : stored) {
        // Copied texts come from formats of at most maxFormatLength characters,
        // whose tokens give a few characters each.
        if (!text.isEmpty() && text.size() <= 4 * maxFormatLength &&
            !m_recentColors.contains(text) && m_recentColors.size() < RecentCount)
            m_recentColors.append(text);
    }
    settings.endGroup();
}

bool ColorWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_swatch && event->type() == QEvent::ToolTip)
        m_swatch->setToolTip(contrastToolTip());
    return QWidget::eventFilter(watched, event);
}

QString ColorWidget::contrastToolTip() const
{
    const ColorFormat format = currentFormat();
    const QColor hover = m_swatch->hoverColor();
    const QColor selected = m_swatch->selectedColor();
    const double ratio = contrastRatio(hover, selected);
    const auto verdict = [ratio](double normal, double large) {
        return tr("normal text %1, large text %2")
            .arg(ratio >= normal ? tr("pass") : tr("fail"),
                 ratio >= large ? tr("pass") : tr("fail"));
    };
    // The texts are the user's data: escaped, and joined, never substituted.
    QStringList lines = {
        tr("Hovered:") + QLatin1Char(' ') +
            escapeHtml(format.formatColor(hover, m_swatch->hoverPos())),
        tr("Clicked:") + QLatin1Char(' ') +
            escapeHtml(format.formatColor(selected, m_swatch->selectedPos())),
        tr("Contrast ratio: %1:1").arg(QString::number(ratio, 'f', 2)),
        QStringLiteral("AA: ") + verdict(4.5, 3.0),
        QStringLiteral("AAA: ") + verdict(7.0, 4.5),
    };
    if (hover.alpha() < 255 || selected.alpha() < 255)
        lines << tr("Translucent colors are composed over white.");
    return QStringLiteral("<qt>") + lines.join(QStringLiteral("<br>")) + QStringLiteral("</qt>");
}

void ColorWidget::updateHoverText()
{
    QString text = currentFormat().formatColor(m_swatch->hoverColor(), m_swatch->hoverPos());
    // Only a point far outside a large image makes a text longer than the
    // room kept for it; that one is cut rather than moving the panel.
    if (text.size() > m_labelCharacters)
        text = m_hoverLabel->fontMetrics().elidedText(text, Qt::ElideRight,
                                                      m_hoverLabel->contentsRect().width());
    // Most mouse moves stay on one pixel, or on pixels of one colour.
    if (text != m_hoverLabel->text())
        m_hoverLabel->setText(text);
}

void ColorWidget::updateSelectedText()
{
    m_copyButton->setText(escapeMnemonics(
        currentFormat().formatColor(m_swatch->selectedColor(), m_swatch->selectedPos())));
}

void ColorWidget::setImageSize(const QSize &size)
{
    if (size == m_imageSize)
        return;
    m_imageSize = size;
    updateTextWidths();
}

void ColorWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        updateTextWidths();
}

void ColorWidget::updateTextWidths()
{
    const QFontMetrics metrics = m_hoverLabel->fontMetrics();
    const auto widest = [&metrics](QLatin1String glyphs) {
        QChar best = QLatin1Char(glyphs[0]);
        for (const char glyph : glyphs) {
            if (metrics.horizontalAdvance(QLatin1Char(glyph)) > metrics.horizontalAdvance(best))
                best = QLatin1Char(glyph);
        }
        return best;
    };
    const QChar digit = widest(QLatin1String("0123456789"));
    const QChar hexDigit = widest(QLatin1String("0123456789abcdef"));
    const int largest = qMax(1, qMax(m_imageSize.width(), m_imageSize.height()));
    const QString longest =
        currentFormat().widestText(digit, hexDigit, int(QString::number(largest).size()));

    m_labelCharacters = int(longest.size());
    const QMargins margins = m_hoverLabel->contentsMargins();
    // A few pixels more than the advance: the last glyph may overhang it.
    m_hoverLabel->setFixedWidth(metrics.horizontalAdvance(longest) + margins.left() +
                                margins.right() + 4);

    // The button measures itself, style sheet included.
    const QString shown = m_copyButton->text();
    m_copyButton->setMinimumWidth(0);
    m_copyButton->setMaximumWidth(QWIDGETSIZE_MAX);
    m_copyButton->setText(escapeMnemonics(longest));
    const int buttonWidth = m_copyButton->sizeHint().width();
    m_copyButton->setText(shown);
    m_copyButton->setFixedWidth(buttonWidth);
}

void ColorWidget::addBuiltinFormat(const QString &text)
{
    m_builtinFormats.append(ColorFormat(text));
}

void ColorWidget::addCustomFormat(const QString &text)
{
    m_customFormats.append(ColorFormat(text));
}

bool ColorWidget::askConfirmation(const QString &title, const QString &text)
{
    return QMessageBox::question(dialogParent(), title, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void ColorWidget::loadFormatSettings()
{
    QSettings settings;
    settings.beginGroup(settingsGroup);
    const QStringList strings = settings.value(formatStringsKey, QStringList()).toStringList();
    // Clamped by rebuildFormatMenu(), which also writes the clamped value.
    m_formatIndex = settings.value(formatIndexKey, 0).toInt();
    settings.endGroup();

    // The index keeps pointing at the same string when strings before it are
    // dropped; it falls back to the first format when its own one is.
    const int nb = 5; // the built-in formats, added after this
    const int storedCustom = m_formatIndex - nb;
    m_customFormats.clear();
    int i = 0;
    for (; i < strings.size() && m_customFormats.size() < maxCustomFormats; ++i) {
        if (strings.at(i).size() > maxFormatLength) {
            if (i == storedCustom)
                m_formatIndex = 0;
            continue;
        }
        if (i == storedCustom)
            m_formatIndex = nb + int(m_customFormats.size());
        addCustomFormat(strings.at(i));
    }
    if (storedCustom >= i && storedCustom < strings.size())
        m_formatIndex = 0;
}

void ColorWidget::saveFormatSettings()
{
    QStringList strings;
    strings.reserve(m_customFormats.size());
    for (const ColorFormat &format : std::as_const(m_customFormats))
        strings.append(format.formatString());
    QSettings settings;
    settings.beginGroup(settingsGroup);
    settings.setValue(formatStringsKey, strings);
    settings.setValue(formatIndexKey, m_formatIndex);
    settings.endGroup();
}

void ColorWidget::addCustomFormatFromDialog()
{
    // Gone only when the main window went before the panel.
    if (!m_addFormatDialog)
        m_addFormatDialog = new AddCustomFormatDialog(dialogParent());
    QPointer<AddCustomFormatDialog> dialog = m_addFormatDialog;
    dialog->setFormatText(currentFormat().formatString());
    dialog->setPreviewSubject(m_swatch->selectedColor(), m_swatch->selectedPos());
    if (dialog->exec() != QDialog::Accepted || !dialog)
        return;
    const QString text = dialog->formatText();
    if (text.isEmpty())
        return;
    m_formatIndex = int(m_builtinFormats.size() + m_customFormats.size());
    addCustomFormat(text);
    rebuildFormatMenu();
}

QWidget *ColorWidget::dialogParent()
{
    if (Lumeno *window = Lumeno::instance())
        return window;
    return this;
}

#include "colour/colorwidget.h"

#include "colour/doubleswatch.h"
#include "colour/formatlist.h"
#include "colour/formatmenu.h"
#include "colour/recentcolors.h"
#include "document/colorprofile.h"
#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/artwork.h"
#include "util/utilities.h"
#include "widgets/menubutton.h"

#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int CopiedMilliseconds = 1000;
constexpr int PanelHeight = 28;
constexpr int Spacing = 2;
// The least room a text gets, whatever the format: the panel's minimum
// width depends on nothing else than the font and the style.
constexpr int MinimumTextRoom = 40;

const char *const HoverToolTip = "Hovered Color";
const char *const CopyToolTip = "Copy Color String (Ctrl+D)";

} // namespace

ColorWidget::ColorWidget(PickModel *pick, Selection *selection, FormatList *formats,
                         RecentColors *recent, const Artwork &artwork, QWidget *parent)
    : QWidget(parent), m_pick(pick), m_selection(selection), m_formats(formats), m_recent(recent)
{
    setFixedHeight(PanelHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    m_hoverLabel = new QLabel(this);
    m_hoverLabel->setToolTip(tr(HoverToolTip));
    m_hoverLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The text comes from a user's format string: never rich text.
    m_hoverLabel->setTextFormat(Qt::PlainText);

    m_swatch = new DoubleSwatch(pick, artwork.pixmap(QStringLiteral("checker-swatch")), this);
    m_copyButton = new ToolButton(this, QString(), artwork.icon(QStringLiteral("copy")),
                                  tr(CopyToolTip), QStringLiteral("copy_color_button"));
    const QString arrow = QStringLiteral("menu-button-arrow");
    m_formatButton = new MenuButton(this, artwork.icon(arrow), artwork.iconSize(arrow));
    m_formatButton->setObjectName(QStringLiteral("no_arrow"));
    // Both buttons take the panel's full height.
    m_copyButton->setExpandingHeight(true);
    m_formatButton->setExpandingHeight(true);
    m_formatMenu =
        new FormatMenu(m_formatButton->buttonMenu(), formats, recent, pick, selection, this);

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

    connect(m_copyButton, &QAbstractButton::clicked, this, &ColorWidget::copyColor);
    connect(m_formatMenu, &FormatMenu::copyRequested, this, &ColorWidget::copyText);
    connect(pick, &PickModel::hoverChanged, this, &ColorWidget::updateHoverText);
    connect(pick, &PickModel::clickChanged, this, &ColorWidget::updateCopyText);
    connect(formats, &FormatList::changed, this, &ColorWidget::measureTexts);
    connect(selection, &Selection::changed, this, [this] {
        // The picture's size decides the room the position tokens get.
        if (m_selection->bounds().size() != m_measuredSize)
            measureTexts();
        else
            layoutParts();
    });
    measureTexts();
}

QString ColorWidget::hoverText() const
{
    return m_formats->current().formatColor(m_pick->hoverColor(), m_pick->hoverPoint(),
                                            m_selection->rect(),
                                            {m_pick->hoverStored(), m_pick->colorSpace()});
}

QString ColorWidget::clickText() const
{
    return m_formats->current().formatColor(m_pick->clickColor(), m_pick->clickPoint(),
                                            m_selection->rect(),
                                            {m_pick->clickStored(), m_pick->colorSpace()});
}

void ColorWidget::copyColor()
{
    copyText(clickText());
}

void ColorWidget::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
    m_recent->add(text);

    const QString word = tr("Copied");
    const int room = m_copyButton->width() - 6;
    m_copiedLabel->setText(m_copiedLabel->fontMetrics().horizontalAdvance(word) <= room
                               ? word
                               : QStringLiteral("\u2713"));
    m_copiedLabel->setGeometry(m_copyButton->rect());
    m_copiedLabel->raise();
    m_copiedLabel->show();
    m_copiedTimer->start();
}

int ColorWidget::copyButtonWidth(const QString &text) const
{
    // The button measures itself, style sheet included.
    const QString shown = m_copyButton->text();
    m_copyButton->setText(escapeMnemonics(text));
    const int width = m_copyButton->sizeHint().width();
    m_copyButton->setText(shown);
    return width;
}

void ColorWidget::measureTexts()
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
    m_measuredSize = m_selection->bounds().size();
    const int largest = qMax(1, qMax(m_measuredSize.width(), m_measuredSize.height()));
    const QString longest =
        m_formats->current().widestText(digit, hexDigit, int(QString::number(largest).size()));

    m_fittingCharacters = int(longest.size());
    const QMargins margins = m_hoverLabel->contentsMargins();
    // A few pixels more than the advance: the last glyph may overhang it.
    m_labelWidth = metrics.horizontalAdvance(longest) + margins.left() + margins.right() + 4;
    m_buttonWidth = copyButtonWidth(longest);
    m_minimumButtonWidth = copyButtonWidth(QString()) + MinimumTextRoom;
    updateGeometry();
    layoutParts();
}

QSize ColorWidget::sizeHint() const
{
    return QSize(fixedWidth() + m_labelWidth + m_buttonWidth, PanelHeight);
}

QSize ColorWidget::minimumSizeHint() const
{
    return QSize(fixedWidth() + MinimumTextRoom + m_minimumButtonWidth, PanelHeight);
}

int ColorWidget::fixedWidth() const
{
    return m_swatch->width() + m_formatButton->width() + 3 * Spacing;
}

void ColorWidget::layoutParts()
{
    const int formatWidth = m_formatButton->width();
    const int room = width() - fixedWidth();
    int label = m_labelWidth;
    int button = m_buttonWidth;
    const int excess = label + button - room;
    if (excess > 0) {
        // Both give up room in proportion to what they can spare.
        const int spareLabel = qMax(0, label - MinimumTextRoom);
        const int spareButton = qMax(0, button - m_minimumButtonWidth);
        const int spare = spareLabel + spareButton;
        const int fromLabel = spare > 0 ? int(qint64(excess) * spareLabel / spare) : 0;
        label = qMax(qMin(label, MinimumTextRoom), label - fromLabel);
        button = qMax(qMin(button, m_minimumButtonWidth), button - (excess - fromLabel));
    }
    int x = qMax(0, width() - (label + button + fixedWidth()));
    m_hoverLabel->setGeometry(x, 0, label, PanelHeight);
    x += label + Spacing;
    m_swatch->setGeometry(x, 0, m_swatch->width(), PanelHeight);
    x += m_swatch->width() + Spacing;
    m_copyButton->setGeometry(x, 0, button, PanelHeight);
    x += button + Spacing;
    m_formatButton->setGeometry(x, 0, formatWidth, PanelHeight);
    m_hoverText.clear();
    m_copyText.clear();
    updateHoverText();
    updateCopyText();
}

void ColorWidget::updateHoverText()
{
    const QString text = hoverText();
    // Most mouse moves stay on one pixel, or on pixels of one colour.
    if (text == m_hoverText && !m_hoverText.isNull())
        return;
    m_hoverText = text;
    QString shown = text;
    if (text.size() > m_fittingCharacters || m_hoverLabel->width() < m_labelWidth)
        shown = m_hoverLabel->fontMetrics().elidedText(text, Qt::ElideRight,
                                                       m_hoverLabel->contentsRect().width());
    m_hoverLabel->setText(shown);
    m_hoverLabel->setToolTip(shown == text ? tr(HoverToolTip) : text);
}

void ColorWidget::updateCopyText()
{
    const QString text = clickText();
    if (text == m_copyText && !m_copyText.isNull())
        return;
    m_copyText = text;
    QString shown = text;
    if (m_copyButton->width() < m_buttonWidth || text.size() > m_fittingCharacters)
        shown = m_copyButton->fontMetrics().elidedText(
            text, Qt::ElideRight, m_copyButton->width() - copyButtonWidth(QString()));
    m_copyButton->setText(escapeMnemonics(shown));
    m_copyButton->setToolTip(shown == text ? tr(CopyToolTip)
                                           : text + QLatin1Char('\n') + tr(CopyToolTip));
}

void ColorWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void ColorWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        measureTexts();
}

bool ColorWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_swatch && event->type() == QEvent::ToolTip)
        m_swatch->setToolTip(contrastToolTip());
    return QWidget::eventFilter(watched, event);
}

QStringList ColorWidget::profileLines() const
{
    const Document *document = m_pick->document();
    const Image *image = document->image();
    if (image->isNull)
        return {};
    const QColorSpace space = m_pick->colorSpace();
    if (image->profileIgnored)
        return {tr("Color profile: ignored (unsupported or damaged); shown as stored.")};
    if (!space.isValid())
        return {};
    // The name is the file's data: escaped, never substituted into.
    QStringList lines = {tr("Color profile:") + QLatin1Char(' ') +
                         escapeHtml(ColorProfile::name(space)) + QLatin1Char(' ') +
                         (!ColorProfile::needsConversion(space) ? QString()
                          : document->colorManaged()            ? tr("(shown in sRGB)")
                                                                : tr("(shown as stored)"))};
    // A colour outside sRGB is shown clipped: say so, with the true values.
    const auto gamut = [&](const QString &which, const QColor &stored) {
        const ColorProfile::Unclipped srgb = ColorProfile::toSrgbUnclipped(stored.rgba(), space);
        if (srgb.outsideSrgb()) {
            lines << which + QLatin1Char(' ') + tr("outside sRGB, shown clipped; unclipped:") +
                         QStringLiteral(" %1 %2 %3")
                             .arg(srgb.red, 0, 'f', 3)
                             .arg(srgb.green, 0, 'f', 3)
                             .arg(srgb.blue, 0, 'f', 3);
        }
    };
    gamut(tr("Hovered:"), m_pick->hoverStored());
    gamut(tr("Clicked:"), m_pick->clickStored());
    return lines;
}

QString ColorWidget::contrastToolTip() const
{
    const QColor hover = m_pick->hoverColor();
    const QColor clicked = m_pick->clickColor();
    const double ratio = contrastRatio(hover, clicked);
    const auto verdict = [ratio](double normal, double large) {
        return tr("normal text %1, large text %2")
            .arg(ratio >= normal ? tr("pass") : tr("fail"),
                 ratio >= large ? tr("pass") : tr("fail"));
    };
    // The texts are the user's data: escaped, and joined, never substituted.
    QStringList lines = {
        tr("Hovered:") + QLatin1Char(' ') + escapeHtml(hoverText()),
        tr("Clicked:") + QLatin1Char(' ') + escapeHtml(clickText()),
        tr("Contrast ratio: %1:1").arg(QString::number(ratio, 'f', 2)),
        QStringLiteral("AA: ") + verdict(4.5, 3.0),
        QStringLiteral("AAA: ") + verdict(7.0, 4.5),
    };
    if (hover.alpha() < 255 || clicked.alpha() < 255)
        lines << tr("Translucent colors are composed over white.");
    lines << profileLines();
    return QStringLiteral("<qt>") + lines.join(QStringLiteral("<br>")) + QStringLiteral("</qt>");
}

#ifndef LUMENO_COLORWIDGET_H
#define LUMENO_COLORWIDGET_H

#include <QSize>
#include <QString>
#include <QWidget>

class Artwork;
class DoubleSwatch;
class FormatList;
class FormatMenu;
class MenuButton;
class PickModel;
class QLabel;
class QTimer;
class RecentColors;
class Selection;
class ToolButton;

// The colour panel at the right end of the toolbar: the hovered colour as
// text and as the left half of a swatch, the clicked colour as the right half
// and as the text of a copy button, and the format menu (FormatMenu) that
// chooses the format both texts are made with.
//
// It only shows its models: the pick model's colours and points, the current
// format of the format list, the selection (for the selection tokens) and the
// recent texts. Both texts follow every change of any of them; the copy
// button's text is always the clicked colour formatted with the selection as
// it is now, and the copy button copies exactly that text. Every copy shows
// "Copied" over the button for a second.
//
// The label and the copy button are as wide as the longest text the current
// format can give for the picture shown, so they keep one width while the
// pointer moves; where the panel has less room than that, the texts are
// elided to it, with the full text in their tool tips. The panel's minimum
// width does not depend on the format. The swatch's tool tip gives both
// colours' texts and their contrast ratio with the accessibility verdicts,
// and the picture's colour profile, marking a colour outside sRGB.
//
// The models are not owned.
class ColorWidget : public QWidget
{
    Q_OBJECT

public:
    ColorWidget(PickModel *pick, Selection *selection, FormatList *formats, RecentColors *recent,
                const Artwork &artwork, QWidget *parent = nullptr);

    // The full texts, as made from the models (the widgets may show them
    // elided).
    QString hoverText() const;
    QString clickText() const;

    QLabel *hoverLabel() const { return m_hoverLabel; }
    DoubleSwatch *swatch() const { return m_swatch; }
    ToolButton *copyButton() const { return m_copyButton; }
    MenuButton *formatButton() const { return m_formatButton; }
    FormatMenu *formatMenu() const { return m_formatMenu; }
    // Shown over the copy button for a second after each copy.
    QLabel *copiedLabel() const { return m_copiedLabel; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // Copies the clicked colour's text.
    void copyColor();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Measures the widths the texts want for the current format, font and
    // picture size.
    void measureTexts();
    // Places the parts right-aligned in the panel, the texts shrunk towards
    // their minimum where room is short, and shows the texts.
    void layoutParts();
    void updateHoverText();
    void updateCopyText();
    int copyButtonWidth(const QString &text) const;
    // What the swatch, the format button and the gaps take.
    int fixedWidth() const;
    // Puts text on the clipboard, makes it the newest recent text and shows
    // the confirmation.
    void copyText(const QString &text);
    // The swatch's tool tip, rich text with the colour texts escaped.
    QString contrastToolTip() const;
    // The picture's colour profile, and any picked colour outside sRGB.
    QStringList profileLines() const;

    PickModel *m_pick;
    Selection *m_selection;
    FormatList *m_formats;
    RecentColors *m_recent;
    DoubleSwatch *m_swatch;
    QLabel *m_hoverLabel;
    ToolButton *m_copyButton;
    MenuButton *m_formatButton;
    FormatMenu *m_formatMenu;
    QLabel *m_copiedLabel;
    QTimer *m_copiedTimer;
    // The widths the label and the copy button want, and the most characters
    // a text may have to fit them unelided.
    int m_labelWidth = 0;
    int m_buttonWidth = 0;
    int m_fittingCharacters = 0;
    int m_minimumButtonWidth = 0;
    // The picture size the widths were measured for.
    QSize m_measuredSize;
    // The texts as last shown, before eliding.
    QString m_hoverText;
    QString m_copyText;
};

#endif

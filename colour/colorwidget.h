#ifndef LUMENO_COLORWIDGET_H
#define LUMENO_COLORWIDGET_H

#include "colour/colorformat.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <QWidget>

class AddCustomFormatDialog;
class DoubleSwatch;
class Menu;
class MenuButton;
class QHBoxLayout;
class QLabel;
class QTimer;
class ToolButton;

// The colour panel at the right end of the toolbar: the hovered colour as
// text and as the left half of a swatch, the clicked colour as the right half
// and as the text of a copy button, and a menu of format strings (five
// built-in ones, then the user's custom ones) that makes both texts.
//
// Formats are indexed over the built-in list followed by the custom list; the
// format menu uses these indexes as ids, the entries of its "Remove Custom"
// submenu the custom indexes offset by the whole count, and -1 and -2 for
// "Add Custom" and "Remove All". The custom formats and the current index
// live in the settings group "colors" ("format_strings", "format_index"):
// read once at construction, written after every change of the menu.
//
// Above the formats the menu offers the sample size (the hovered and clicked
// colours are single pixels or averages over 3 x 3 or 5 x 5 pixels; ids -10,
// -11, -12, stored as "sample_size"), and below them a "Recent" submenu with
// the last ten texts copied, newest first (ids -100 to -109, stored as
// "recent_colors"); choosing one copies it again.
//
// Ctrl+D clicks the copy button (animated: it shows pressed for 100 ms, then
// clicks), which puts its text on the clipboard, from wherever the focus is in
// the application, unless a modal dialog blocks it. Every copy shows
// "Copied" over the button for a second.
//
// The swatch's tool tip gives both colours' texts and their contrast ratio
// with the accessibility verdicts.
//
// The label and the copy button keep one width while the pointer moves: wide
// enough for the longest text the current format can give for the shown
// image, so neither the swatch nor the buttons move as the texts change. A
// change of format or of image size may resize them.
//
// Works without a main window: the add dialog and the message boxes are
// then parented to the panel.
class ColorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorWidget(QWidget *parent = nullptr);
    ~ColorWidget() override;

    int formatIndex() const { return m_formatIndex; }
    int sampleSize() const { return m_sampleSize; }
    // The texts copied last, newest first.
    QStringList recentColors() const { return m_recentColors; }
    QList<ColorFormat> customFormats() const { return m_customFormats; }
    // The format at formatIndex(), or the default format when there is none.
    ColorFormat currentFormat() const;

    QLabel *hoverLabel() const { return m_hoverLabel; }
    DoubleSwatch *swatch() const { return m_swatch; }
    ToolButton *copyButton() const { return m_copyButton; }
    MenuButton *formatButton() const { return m_formatButton; }
    Menu *removeMenu() const { return m_removeMenu; }
    Menu *recentMenu() const { return m_recentMenu; }
    // Shown over the copy button for a second after each copy.
    QLabel *copiedLabel() const { return m_copiedLabel; }
    AddCustomFormatDialog *addFormatDialog() const;

signals:
    // The user chose another sample size (1, 3 or 5).
    void sampleSizeChanged(int size);

public slots:
    void setHoverColor(const QColor &c, const QPointF &p);
    void setSelectedColor(const QColor &c, const QPointF &p);
    // Puts the copy button's text, as shown, on the clipboard.
    void copyButtonClickedHandler();
    void formatMenuActionHandler(int id);
    // Clamps the index into the lists, rebuilds both menus with the current
    // format checked, and writes the settings.
    void rebuildFormatMenu();
    // The size of the shown image, in pixels: its largest coordinates decide
    // the room position tokens get.
    void setImageSize(const QSize &size);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Fixes the widths of the label and the copy button for the current
    // format, font and image size.
    void updateTextWidths();
    void updateHoverText();
    void updateSelectedText();
    void addBuiltinFormat(const QString &text);
    void addCustomFormat(const QString &text);
    bool askConfirmation(const QString &title, const QString &text);
    void loadFormatSettings();
    void saveFormatSettings();
    void addCustomFormatFromDialog();
    // Puts text on the clipboard, makes it the newest recent text and shows
    // the confirmation.
    void copyText(const QString &text);
    void rebuildRecentMenu();
    void loadPickSettings();
    // The swatch's tool tip, rich text with the colour texts escaped.
    QString contrastToolTip() const;
    // The main window, or this panel without one.
    QWidget *dialogParent();

    QHBoxLayout *m_hboxLayout;
    DoubleSwatch *m_swatch;
    QLabel *m_hoverLabel;
    ToolButton *m_copyButton;
    MenuButton *m_formatButton;
    QList<ColorFormat> m_builtinFormats;
    QList<ColorFormat> m_customFormats;
    int m_formatIndex = 0;
    Menu *m_removeMenu;
    // A child of the main window, which may go first.
    QPointer<AddCustomFormatDialog> m_addFormatDialog;
    QSize m_imageSize;
    int m_sampleSize = 1;
    QStringList m_recentColors;
    Menu *m_recentMenu;
    QLabel *m_copiedLabel;
    QTimer *m_copiedTimer;
    // Texts of up to this many characters fit the label's width.
    int m_labelCharacters = 0;
};

#endif

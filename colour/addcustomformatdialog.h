#ifndef LUMENO_ADDCUSTOMFORMATDIALOG_H
#define LUMENO_ADDCUSTOMFORMATDIALOG_H

#include "colour/colorformat.h"

#include <QColor>
#include <QDialog>
#include <QPointF>
#include <QRectF>
#include <QString>

class PushButton;
class QLabel;
class QLineEdit;

// The modal dialog in which the user types a new colour format string, below
// a help text that explains the tokens, and sees below the edit, as they type,
// the text the format gives for a sample colour and point. It neither checks
// nor stores the text: the caller puts a text in, runs exec() and reads the
// text back when the dialog was accepted. Return accepts (OK is the default
// button), Escape rejects.
class AddCustomFormatDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AddCustomFormatDialog(QWidget *parent = nullptr);

    // Puts text into the edit with the cursor after its last character, and
    // gives the edit the focus for the next time the dialog opens.
    void setFormatText(const QString &text);
    // The edit's text exactly as typed, spaces included; may be empty.
    QString formatText() const;
    // The colour (as shown, and as stored), point and selection (image
    // pixels) the preview formats.
    void setPreviewSubject(const QColor &color, const QPointF &point, const QRectF &selection,
                           const ColorFormat::Stored &stored = ColorFormat::Stored());
    QString previewText() const;

public slots:
    void cancelButtonClickedHandler();
    void okButtonClickedHandler();

private:
    void updatePreview();

    QLineEdit *m_lineEdit;
    QLabel *m_preview;
    QColor m_previewColor;
    QPointF m_previewPoint;
    QRectF m_previewSelection;
    ColorFormat::Stored m_previewStored;
    PushButton *m_cancelButton;
    PushButton *m_okButton;
};

#endif

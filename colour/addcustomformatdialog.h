#ifndef LUMENO_ADDCUSTOMFORMATDIALOG_H
#define LUMENO_ADDCUSTOMFORMATDIALOG_H

#include <QDialog>
#include <QString>

class PushButton;
class QLineEdit;

// The modal dialog in which the user types a new colour format string, below
// a help text that explains the tokens. It neither checks nor stores the
// text: the caller puts a text in, runs exec() and reads the text back when
// the dialog was accepted. Return accepts (OK is the default button),
// Escape rejects.
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

public slots:
    void cancelButtonClickedHandler();
    void okButtonClickedHandler();

private:
    QLineEdit *m_lineEdit;
    PushButton *m_cancelButton;
    PushButton *m_okButton;
};

#endif

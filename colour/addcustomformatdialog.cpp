#include "colour/addcustomformatdialog.h"

#include "app/lumeno.h"
#include "util/utilities.h"
#include "widgets/pushbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

AddCustomFormatDialog::AddCustomFormatDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Add Custom Color Format"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto *layout = new QVBoxLayout(this);

    auto *helpLabel = new QLabel(this);
    helpLabel->setWordWrap(true);
    // The help text is our own HTML; a missing resource leaves the label empty.
    helpLabel->setTextFormat(Qt::RichText);
    helpLabel->setText(
        readTextFile(QStringLiteral(":/resources/text/add-custom-color-format-label.html")));
    helpLabel->setFixedWidth(450);
    layout->addWidget(helpLabel);
    layout->addSpacing(5);

    m_lineEdit = new QLineEdit(this);
    if (const Lumeno *window = Lumeno::instance()) {
        m_lineEdit->setFont(window->monospaceFont());
    } else {
        QFont monospace = font();
        monospace.setFamily(QStringLiteral("courier"));
        m_lineEdit->setFont(monospace);
    }
    layout->addWidget(m_lineEdit);

    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    m_okButton = new PushButton(tr("OK"), this);
    m_okButton->setDefault(true);
    buttons->addWidget(m_okButton);
    m_cancelButton = new PushButton(tr("Cancel"), this);
    buttons->addWidget(m_cancelButton);

    connect(m_okButton, &QPushButton::clicked, this,
            &AddCustomFormatDialog::okButtonClickedHandler);
    connect(m_cancelButton, &QPushButton::clicked, this,
            &AddCustomFormatDialog::cancelButtonClickedHandler);
}

void AddCustomFormatDialog::setFormatText(const QString &text)
{
    m_lineEdit->setText(text);
    m_lineEdit->setCursorPosition(int(text.size()));
    // The dialog is reused: without this, a button clicked in the last run
    // would keep the focus when the dialog opens again.
    m_lineEdit->setFocus();
}

QString AddCustomFormatDialog::formatText() const
{
    return m_lineEdit->text();
}

void AddCustomFormatDialog::cancelButtonClickedHandler()
{
    done(QDialog::Rejected);
}

void AddCustomFormatDialog::okButtonClickedHandler()
{
    done(QDialog::Accepted);
}

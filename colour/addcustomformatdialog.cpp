#include "colour/addcustomformatdialog.h"

#include "colour/colorformat.h"
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
    QFont monospace = font();
    monospace.setFamily(QStringLiteral("courier"));
    m_lineEdit->setFont(monospace);
    layout->addWidget(m_lineEdit);

    // What the format gives: data, never markup.
    m_preview = new QLabel(this);
    m_preview->setTextFormat(Qt::PlainText);
    m_preview->setFont(m_lineEdit->font());
    m_preview->setToolTip(tr("The text for the clicked colour"));
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_preview);

    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    buttons->addStretch(1);
    m_okButton = new PushButton(tr("OK"), this);
    m_okButton->setDefault(true);
    buttons->addWidget(m_okButton);
    m_cancelButton = new PushButton(tr("Cancel"), this);
    buttons->addWidget(m_cancelButton);

    connect(m_lineEdit, &QLineEdit::textChanged, this, &AddCustomFormatDialog::updatePreview);
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

void AddCustomFormatDialog::setPreviewSubject(const QColor &color, const QPointF &point,
                                              const QRectF &selection,
                                              const ColorFormat::Stored &stored)
{
    m_previewStored = stored;
    m_previewColor = color;
    m_previewPoint = point;
    m_previewSelection = selection;
    updatePreview();
}

QString AddCustomFormatDialog::previewText() const
{
    return m_preview->text();
}

void AddCustomFormatDialog::updatePreview()
{
    m_preview->setText(
        ColorFormat(m_lineEdit->text())
            .formatColor(m_previewColor, m_previewPoint, m_previewSelection, m_previewStored));
}

void AddCustomFormatDialog::cancelButtonClickedHandler()
{
    done(QDialog::Rejected);
}

void AddCustomFormatDialog::okButtonClickedHandler()
{
    done(QDialog::Accepted);
}

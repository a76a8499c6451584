#include "tests/support/modals.h"

#include "colour/addcustomformatdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Modals::Modals(QMessageBox::StandardButton answer) : button(answer)
{
    connect(&m_timer, &QTimer::timeout, this, &Modals::poll);
    m_timer.start(5);
}

void Modals::poll()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (!window->isVisible())
            continue;
        if (auto *box = qobject_cast<QMessageBox *>(window)) {
            seen << box->windowTitle() + QStringLiteral(": ") + box->text();
            QAbstractButton *answer = box->button(button);
            if (answer)
                answer->click();
            else
                box->done(button);
        } else if (auto *dialog = qobject_cast<QFileDialog *>(window)) {
            seen << dialog->windowTitle() + QStringLiteral(": ") +
                        dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            proposed = dialog->selectedFiles().value(0) + QStringLiteral(" | ") +
                       dialog->selectedNameFilter();
            if (file.isEmpty()) {
                dialog->reject();
                continue;
            }
            // Stands for the user confirming to replace an existing file.
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *add = qobject_cast<AddCustomFormatDialog *>(window)) {
            auto *edit = add->findChild<QLineEdit *>();
            seen << edit->text();
            edit->clear();
            QTest::keyClicks(edit, typed);
            seen << QStringLiteral("= ") + add->previewText();
            if (close == QLatin1String("Return"))
                QTest::keyClick(edit, Qt::Key_Return);
            else if (close == QLatin1String("Escape"))
                QTest::keyClick(edit, Qt::Key_Escape);
            for (QPushButton *push : add->findChildren<QPushButton *>()) {
                if (push->text() == close)
                    push->click();
            }
        }
    }
}

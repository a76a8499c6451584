#include "app/lumeno.h"
#include "colour/addcustomformatdialog.h"
#include "tests/support/testmain.h"
#include "widgets/pushbutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs dialog modally; act is called once the dialog is shown and active.
int runDialog(AddCustomFormatDialog &dialog, const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        if (!QTest::qWaitForWindowActive(&dialog))
            qWarning("the dialog did not become active");
        act();
    });
    return dialog.exec();
}

PushButton *buttonOf(AddCustomFormatDialog &dialog, const QString &text)
{
    const auto buttons = dialog.findChildren<PushButton *>();
    const auto found = std::find_if(buttons.begin(), buttons.end(),
                                    [&](PushButton *button) { return button->text() == text; });
    return found == buttons.end() ? nullptr : *found;
}

} // namespace

// The dialog hands back exactly what was typed, however it is closed.
class TestAddCustomFormatDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_window; }
    void helpTextAndFont();
    void closing_data();
    void closing();

private:
    Lumeno *m_window = nullptr; // the fixed-pitch font
    AddCustomFormatDialog *m_dialog = nullptr;
};

void TestAddCustomFormatDialog::initTestCase()
{
    m_window = new Lumeno;
    // One dialog for all rows, reused as the colour panel reuses it: a button
    // clicked in one row must not keep the focus in the next.
    m_dialog = new AddCustomFormatDialog(m_window);
}

void TestAddCustomFormatDialog::helpTextAndFont()
{
    QVERIFY(m_dialog->findChild<QLabel *>()->text().contains(QStringLiteral("<b>%x0, %y0</b>")));
    QCOMPARE(m_dialog->findChild<QLineEdit *>()->font().family(),
             m_window->monospaceFont().family());
}

void TestAddCustomFormatDialog::closing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("closeWith");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("OK") << QStringLiteral("%r-%g") << QStringLiteral("OK") << true;
    QTest::newRow("Cancel") << QStringLiteral("x") << QStringLiteral("Cancel") << false;
    QTest::newRow("Return, spaces kept")
        << QStringLiteral("  %r %g  ") << QStringLiteral("Return") << true;
    QTest::newRow("Escape") << QStringLiteral("x") << QStringLiteral("Escape") << false;
}

void TestAddCustomFormatDialog::closing()
{
    QFETCH(QString, typed);
    QFETCH(QString, closeWith);
    QFETCH(bool, accepted);

    m_dialog->setFormatText(QStringLiteral("#%rr%gg%bb"));
    QString shown;
    int cursor = -1;
    bool focused = false;
    const int result = runDialog(*m_dialog, [&] {
        auto *edit = m_dialog->findChild<QLineEdit *>();
        shown = edit->text();
        cursor = edit->cursorPosition();
        focused = edit->hasFocus();
        edit->clear();
        QTest::keyClicks(edit, typed);
        if (closeWith == QLatin1String("Return"))
            QTest::keyClick(edit, Qt::Key_Return);
        else if (closeWith == QLatin1String("Escape"))
            QTest::keyClick(edit, Qt::Key_Escape);
        else
            QTest::mouseClick(buttonOf(*m_dialog, closeWith), Qt::LeftButton);
    });
    QCOMPARE(shown, QStringLiteral("#%rr%gg%bb"));
    QCOMPARE(cursor, 10);
    QVERIFY(focused);
    QCOMPARE(result, int(accepted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(m_dialog->formatText(), typed);
}

LUMENO_TEST_MAIN(TestAddCustomFormatDialog)
#include "tst_addcustomformatdialog.moc"

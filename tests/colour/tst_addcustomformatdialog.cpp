#include "app/lumeno.h"
#include "colour/addcustomformatdialog.h"
#include "tests/support/testmain.h"
#include "widgets/pushbutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

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

QLineEdit *lineEditOf(AddCustomFormatDialog &dialog)
{
    return dialog.findChild<QLineEdit *>();
}

PushButton *buttonOf(AddCustomFormatDialog &dialog, const QString &text)
{
    const auto buttons = dialog.findChildren<PushButton *>();
    for (PushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

enum CloseBy
{
    OkButton,
    CancelButton,
    ReturnKey,
    EscapeKey,
    CloseWindow
};

} // namespace

// The dialog hands back exactly what was typed, however it is closed.
class TestAddCustomFormatDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_window = new Lumeno; } // the fixed-pitch font
    void cleanupTestCase() { delete m_window; }
    void layout();
    void startsWithTheGivenTextAndTheCursorAtTheEnd();
    void closing_data();
    void closing();
    void focusReturnsToTheEditWhenReused();

private:
    Lumeno *m_window = nullptr;
};

void TestAddCustomFormatDialog::layout()
{
    AddCustomFormatDialog dialog(m_window);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Custom Color Format"));

    auto *help = dialog.findChild<QLabel *>();
    QVERIFY(help);
    QVERIFY(help->wordWrap());
    QCOMPARE(help->width(), 450);
    QVERIFY(help->text().contains(QStringLiteral("<b>%x0, %y0</b>")));
    QVERIFY(help->text().contains(QStringLiteral("\"QColor(%r, %g, %b)\"")));
    QCOMPARE(lineEditOf(dialog)->font().family(), m_window->monospaceFont().family());

    PushButton *ok = buttonOf(dialog, QStringLiteral("OK"));
    PushButton *cancel = buttonOf(dialog, QStringLiteral("Cancel"));
    QVERIFY(ok && cancel);
    QVERIFY(ok->isDefault());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The help text wraps, and the buttons sit at the right, OK first.
    QVERIFY(help->height() > 3 * help->fontMetrics().height());
    QVERIFY(ok->geometry().right() < cancel->geometry().left());
    QVERIFY(cancel->geometry().right() > dialog.width() - 30);
}

void TestAddCustomFormatDialog::startsWithTheGivenTextAndTheCursorAtTheEnd()
{
    AddCustomFormatDialog dialog(m_window);
    dialog.setFormatText(QStringLiteral("#%rr%gg%bb"));
    QString shown;
    int cursor = -1;
    bool focused = false;
    const int result = runDialog(dialog, [&] {
        QLineEdit *edit = lineEditOf(dialog);
        shown = edit->text();
        cursor = edit->cursorPosition();
        focused = edit->hasFocus();
        // The dialog selects the whole text when it opens (toolkit
        // behaviour); typing after End appends.
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, QStringLiteral("%aa"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(shown, QStringLiteral("#%rr%gg%bb"));
    QCOMPARE(cursor, 10);
    QVERIFY(focused);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.formatText(), QStringLiteral("#%rr%gg%bb%aa"));
}

void TestAddCustomFormatDialog::closing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    const int accepted = QDialog::Accepted;
    const int rejected = QDialog::Rejected;
    QTest::newRow("OK") << QStringLiteral("%r-%g") << int(OkButton) << accepted;
    QTest::newRow("OK with empty text") << QString() << int(OkButton) << accepted;
    QTest::newRow("spaces kept") << QStringLiteral("  %r %g  ") << int(ReturnKey) << accepted;
    QTest::newRow("only spaces") << QStringLiteral("   ") << int(ReturnKey) << accepted;
    QTest::newRow("Cancel") << QStringLiteral("x") << int(CancelButton) << rejected;
    QTest::newRow("Escape") << QStringLiteral("x") << int(EscapeKey) << rejected;
    QTest::newRow("closed") << QStringLiteral("x") << int(CloseWindow) << rejected;
}

void TestAddCustomFormatDialog::closing()
{
    QFETCH(QString, typed);
    QFETCH(int, how);
    QFETCH(int, result);

    AddCustomFormatDialog dialog(m_window);
    dialog.setFormatText(QStringLiteral("something"));
    const int actual = runDialog(dialog, [&] {
        QLineEdit *edit = lineEditOf(dialog);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        switch (how) {
        case OkButton:
            QTest::mouseClick(buttonOf(dialog, QStringLiteral("OK")), Qt::LeftButton);
            break;
        case CancelButton:
            QTest::mouseClick(buttonOf(dialog, QStringLiteral("Cancel")), Qt::LeftButton);
            break;
        case ReturnKey:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case EscapeKey:
            QTest::keyClick(edit, Qt::Key_Escape);
            break;
        case CloseWindow:
            dialog.close();
            break;
        }
    });
    QCOMPARE(actual, result);
    QCOMPARE(dialog.formatText(), typed);
}

void TestAddCustomFormatDialog::focusReturnsToTheEditWhenReused()
{
    AddCustomFormatDialog dialog(m_window);
    for (int run = 0; run < 2; ++run) {
        dialog.setFormatText(QStringLiteral("%r"));
        bool focused = false;
        runDialog(dialog, [&] {
            focused = lineEditOf(dialog)->hasFocus();
            // A mouse click gives the button the focus.
            QTest::mouseClick(buttonOf(dialog, QStringLiteral("Cancel")), Qt::LeftButton);
        });
        QVERIFY2(focused, qPrintable(QStringLiteral("run %1").arg(run)));
    }
}

LUMENO_TEST_MAIN(TestAddCustomFormatDialog)
#include "tst_addcustomformatdialog.moc"

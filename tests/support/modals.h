#ifndef LUMENO_MODALS_H
#define LUMENO_MODALS_H

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal windows that the code under test opens, as a user would,
// and records what each one showed, so tests can run code that blocks in a
// dialog. Message boxes are answered with button; file dialogs choose file
// (or are cancelled while it is empty); the custom format dialog gets typed
// in place of its text and is closed with close: "OK", "Cancel", "Return" or
// "Escape".
class Modals : public QObject
{
    Q_OBJECT

public:
    explicit Modals(QMessageBox::StandardButton button = QMessageBox::Ok);

    QMessageBox::StandardButton button;
    QString file;
    QString typed;
    QString close = QStringLiteral("Return");

    // "title: text" of each box, "title: folder" of each file dialog, the
    // text the add dialog opened with and "= " and its preview once typed.
    QStringList seen;
    // The name filters of the last file dialog, and the file and filter it
    // opened with: "path | filter".
    QStringList filters;
    QString proposed;

private:
    void poll();

    QTimer m_timer;
};

#endif

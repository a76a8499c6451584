#include "tests/support/messageboxwatcher.h"

#include <QApplication>
#include <QMessageBox>

MessageBoxWatcher::MessageBoxWatcher(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    m_timer.start();
}

void MessageBoxWatcher::poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box || !box->isVisible())
            continue;
        titles.append(box->windowTitle());
        texts.append(box->text());
        box->done(QMessageBox::Ok);
    }
}

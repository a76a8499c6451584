#include "widgets/pushbutton.h"

PushButton::PushButton(QWidget *parent) : QPushButton(parent)
{
}

PushButton::PushButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
}

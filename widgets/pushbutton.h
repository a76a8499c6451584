#ifndef LUMENO_PUSHBUTTON_H
#define LUMENO_PUSHBUTTON_H

#include <QPushButton>

// The dialogs' push button; it exists so that the style sheet can select it
// by type ("PushButton") and otherwise behaves like QPushButton.
class PushButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PushButton(QWidget *parent = nullptr);
    explicit PushButton(const QString &text, QWidget *parent = nullptr);
};

#endif

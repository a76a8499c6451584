#ifndef LUMENO_VERTICALSEPARATOR_H
#define LUMENO_VERTICALSEPARATOR_H

#include <QFrame>

// A 12 pixel wide two-tone groove between groups of toolbar buttons. It takes
// whatever height its row gives it and draws from 5 pixels below its top to 5
// pixels above its bottom (so nothing sensible below 10 pixels of height).
class VerticalSeparator : public QFrame
{
    Q_OBJECT

public:
    explicit VerticalSeparator(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif

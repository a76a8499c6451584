#ifndef LUMENO_HEADERWIDGET_H
#define LUMENO_HEADERWIDGET_H

#include "widgets/headerbase.h"

#include <QFrame>

// A one-line header strip: HeaderBase's cells on a frame. The widget fixes its
// own height from the main window's font and lays its cells out again on every
// resize; after changing cells, call updateSizes(). Mouse presses stop here.
class HeaderWidget : public QFrame, public HeaderBase
{
    Q_OBJECT

public:
    explicit HeaderWidget(QWidget *parent = nullptr);

public slots:
    void updateSizes();

protected:
    void setHeaderHeight(double height) override;
    double headerWidth() const override;
    double headerHeight() const override;

    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

#endif

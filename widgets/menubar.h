#ifndef LUMENO_MENUBAR_H
#define LUMENO_MENUBAR_H

#include <QMenuBar>

// A menu bar that the style sheet can select by type ("MenuBar").
class MenuBar : public QMenuBar
{
    Q_OBJECT

public:
    explicit MenuBar(QWidget *parent = nullptr);
};

#endif

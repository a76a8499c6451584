#include "widgets/menubar.h"

MenuBar::MenuBar(QWidget *parent) : QMenuBar(parent)
{
}

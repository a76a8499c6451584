#ifndef LUMENO_WINDOWSETTINGS_H
#define LUMENO_WINDOWSETTINGS_H

#include <QRect>
#include <QSize>

class QWidget;

// The main window's place and size between runs, in the settings group
// "view" ("window_geometry", "window_is_maximized"). Whatever the settings
// file holds, the window comes back wholly on a screen.
namespace WindowSettings {

void restore(QWidget *window);
// The size restore() gives the window, read without a window: the screen's
// free area when it was maximized.
QSize restoredSize();
void store(const QWidget *window);

// A stored geometry (screen coordinates), whatever its values, made to fit
// wholly in the free area of the screen that shows most of it.
QRect placedOnScreen(const QRect &geometry);

} // namespace WindowSettings

#endif

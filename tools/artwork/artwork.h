// Every picture of the resource tree, one function each.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace art {

// Toolbar and menu icons.
QImage openIcon();
QImage saveIcon();
QImage saveAsIcon();
QImage copyIcon();
QImage pasteIcon();
QImage cutIcon();
QImage cropIcon();
QImage zoomToSelectionIcon();
QImage zoomToFitIcon();
QImage zoomResetIcon();
QImage wrenchIcon();
QImage menuButtonArrow();
QImage menuButtonArrowDisabled();

// Mouse legend.
QImage leftClickIcon();
QImage rightClickIcon();
QImage doubleLeftClickIcon();
QImage wheelIcon();

// The program's logo at 16, 24, 32 or 48 pixels, and the Windows icon file holding it.
QImage logo(int size);
QByteArray icoFile(const QList<QImage> &images);

// Larger pictures.
QImage checkerTile();
QImage dropTargetPicture();
QImage dragAndDropPicture();

} // namespace art

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

// The program's logo, square, at any size.
QImage logo(int size);

// Larger pictures.
QImage checkerTile();
QImage dropTargetPicture();

} // namespace art

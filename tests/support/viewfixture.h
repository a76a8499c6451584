#ifndef LUMENO_VIEWFIXTURE_H
#define LUMENO_VIEWFIXTURE_H

#include "app/lumeno.h"
#include "document/document.h"
#include "view/view.h"

#include <QPoint>
#include <QPointF>

class QWidget;

// A main window (for the picture registry and the document source) and a
// view of its own, shown at a known viewport size, showing a document of its
// own.
struct ViewFixture
{
    explicit ViewFixture(const QSize &viewportSize = QSize(800, 600));
    ~ViewFixture();

    // Opens pixels as the document, shown at zoom 1, centred.
    void show(const QImage &pixels);

    // Real wheel and mouse input at a viewport position.
    void wheel(const QPoint &pos, int angleDelta);
    // A mouse move with no button held. (QTest moves the cursor for that,
    // which the offscreen platform does not turn into a move event.)
    void hover(const QPointF &pos);
    QPoint viewportPosOf(const QPointF &scenePos) const;

    Lumeno *window = nullptr;
    View *view = nullptr;
    Document document;
};

#endif

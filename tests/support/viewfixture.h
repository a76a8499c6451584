#ifndef LUMENO_VIEWFIXTURE_H
#define LUMENO_VIEWFIXTURE_H

#include "document/document.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "util/artwork.h"
#include "view/view.h"

#include <QPoint>
#include <QPointF>

// A view of its own, shown at a known viewport size, with the models it
// shows: a document, its selection and the pick model.
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
    // The image pixel the pick model holds as hovered.
    QPoint hoveredPixel() const;

    Artwork artwork;
    Document document;
    Selection selection;
    PickModel pick;
    View *view = nullptr;
};

#endif

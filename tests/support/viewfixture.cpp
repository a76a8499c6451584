#include "tests/support/viewfixture.h"

#include "view/pixelmapping.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

ViewFixture::ViewFixture(const QSize &viewportSize)
    : artwork(qApp->devicePixelRatio()), selection(&document), pick(&document)
{
    view = new View(&document, &selection, &pick, artwork);
    view->resize(viewportSize);
    view->show();
    if (!QTest::qWaitForWindowExposed(view))
        qWarning("the view was not exposed");
}

ViewFixture::~ViewFixture()
{
    delete view;
}

void ViewFixture::show(const QImage &pixels)
{
    document.open(QStringLiteral("/tmp/test.png"), pixels);
}

void ViewFixture::wheel(const QPoint &pos, int angleDelta)
{
    QWheelEvent event(QPointF(pos), QPointF(view->viewport()->mapToGlobal(pos)), QPoint(),
                      QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(view->viewport(), &event);
}

void ViewFixture::hover(const QPointF &pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, view->viewport()->mapToGlobal(pos), Qt::NoButton,
                      QGuiApplication::mouseButtons(), Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
}

QPoint ViewFixture::viewportPosOf(const QPointF &scenePos) const
{
    return view->mapFromScene(scenePos);
}

QPoint ViewFixture::hoveredPixel() const
{
    return PixelMapping::pixelAt(pick.hoverPoint());
}

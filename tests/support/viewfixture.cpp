#include "tests/support/viewfixture.h"

#include <QApplication>
#include <QTest>
#include <QMouseEvent>
#include <QWheelEvent>

ViewFixture::ViewFixture(const QSize &viewportSize)
{
    window = new Lumeno;
    view = new View;
    view->setDocument(&document);
    view->resize(viewportSize);
    view->show();
    if (!QTest::qWaitForWindowExposed(view))
        qWarning("the view was not exposed");
}

ViewFixture::~ViewFixture()
{
    delete view;
    delete window;
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

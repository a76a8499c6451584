#include "widgets/flowlayout.h"
#include "tests/support/testmain.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QTest>
#include <QVBoxLayout>

// Items keep their size hints and flow into rows like words; the parent gets
// as many rows of height as the width needs.
class TestFlowLayout : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void gapsFromTheParentLayout();
    void itemsWithoutWidgetOrParent();
    void emptyLayout();
};

namespace {

QWidget *fixedWidget(QWidget *parent, QSize size)
{
    auto *widget = new QWidget(parent);
    widget->setFixedSize(size);
    return widget;
}

} // namespace

void TestFlowLayout::geometry_data()
{
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QList<QRect>>("expected");

    const QSize s(30, 20);
    QTest::newRow("wraps") << QList<QSize>{s, s, s} << 80 << 0
                           << QList<QRect>{{0, 0, 30, 20}, {35, 0, 30, 20}, {0, 23, 30, 20}};
    // The second item's last column would be the rectangle's last column.
    QTest::newRow("ends on the edge: wraps")
        << QList<QSize>{s, s} << 65 << 0 << QList<QRect>{{0, 0, 30, 20}, {0, 23, 30, 20}};
    QTest::newRow("one pixel more: fits")
        << QList<QSize>{s, s} << 66 << 0 << QList<QRect>{{0, 0, 30, 20}, {35, 0, 30, 20}};
    QTest::newRow("wider than the row")
        << QList<QSize>{{200, 10}, s} << 50 << 4 << QList<QRect>{{4, 4, 200, 10}, {4, 17, 30, 20}};
    QTest::newRow("top-aligned rows")
        << QList<QSize>{{30, 10}, {30, 40}, {30, 20}, s} << 110 << 0
        << QList<QRect>{{0, 0, 30, 10}, {35, 0, 30, 40}, {70, 0, 30, 20}, {0, 43, 30, 20}};
}

void TestFlowLayout::geometry()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(int, width);
    QFETCH(int, margin);
    QFETCH(QList<QRect>, expected);

    QWidget parent;
    auto *layout = new FlowLayout(&parent, margin, 5, 3);
    for (const QSize &size : sizes)
        layout->addWidget(fixedWidget(&parent, size));

    const int height = layout->heightForWidth(width);
    layout->setGeometry(QRect(0, 0, width, height));
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(layout->itemAt(i)->geometry(), expected.at(i));
    QCOMPARE(height, expected.last().bottom() + 1 + margin);
}

void TestFlowLayout::gapsFromTheParentLayout()
{
    // The toolbar's arrangement: a strip with a box layout of spacing 2, the
    // flow layout in it with default gaps, and the rest of the window below.
    QWidget window;
    auto *windowLayout = new QVBoxLayout(&window);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->setSpacing(0);
    auto *strip = new QWidget(&window);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(2, 2, 2, 2);
    stripLayout->setSpacing(2);
    auto *flow = new FlowLayout(0, -1, -1);
    QCOMPARE(flow->effectiveHorizontalGap(), -1);
    stripLayout->addLayout(flow, 1);
    QCOMPARE(flow->effectiveHorizontalGap(), 2);
    QCOMPARE(flow->effectiveVerticalGap(), 2);
    QList<QWidget *> buttons;
    for (int i = 0; i < 5; ++i) {
        buttons << fixedWidget(strip, QSize(30, 20));
        flow->addWidget(buttons.last());
    }
    windowLayout->addWidget(strip);
    windowLayout->addWidget(new QWidget(&window), 1);

    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(buttons.at(1)->pos(), QPoint(34, 2));
    QCOMPARE(strip->height(), 24);

    // Narrow: three buttons per row (2 + 3 * 30 + 2 * 2 + 2 = 98, and one
    // more because a button may not end on the last column), then two.
    window.resize(99, 300);
    QTRY_COMPARE(buttons.at(3)->pos(), QPoint(2, 24));
    QCOMPARE(buttons.at(2)->pos(), QPoint(66, 2));
    QCOMPARE(strip->height(), 46);
}

void TestFlowLayout::itemsWithoutWidgetOrParent()
{
    // No parent, hence no default gap, and items no style can be asked for.
    FlowLayout layout(0, -1, -1);
    layout.addItem(new QSpacerItem(20, 10));
    layout.addItem(new QSpacerItem(20, 10));
    layout.addItem(new QSpacerItem(20, 10));
    layout.setGeometry(QRect(0, 0, 45, layout.heightForWidth(45)));
    const QRect first = layout.itemAt(0)->geometry();
    const QRect second = layout.itemAt(1)->geometry();
    const QRect third = layout.itemAt(2)->geometry();
    QCOMPARE(first.topLeft(), QPoint(0, 0));
    QVERIFY(second.left() > first.right());
    QCOMPARE(second.top(), 0);
    QCOMPARE(third.left(), 0);
    QVERIFY(third.top() > first.bottom());
}

void TestFlowLayout::emptyLayout()
{
    FlowLayout layout(6, 2, 2);
    QCOMPARE(layout.heightForWidth(100), 12);
    QCOMPARE(layout.minimumSize(), QSize(11, 11));
    QCOMPARE(layout.itemAt(0), nullptr);
    QCOMPARE(layout.itemAt(-1), nullptr);
    QCOMPARE(layout.takeAt(0), nullptr);
    layout.setGeometry(QRect(0, 0, 10, 10));
}

LUMENO_TEST_MAIN(TestFlowLayout)
#include "tst_flowlayout.moc"

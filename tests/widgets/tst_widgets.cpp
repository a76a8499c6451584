#include "tests/support/testmain.h"
#include "widgets/elidedlabel.h"
#include "widgets/flowlayout.h"

// The widget kit: the toolbar's flow and eliding captions.
class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void flow();
    void elidedLabel();
};

void TestWidgets::flow()
{
    // Sizes (an empty one is a hidden widget), the row's width, and where
    // each item goes.
    const QList<std::tuple<QList<QSize>, int, QList<QRect>>> cases = {
        {{{30, 20}, {30, 20}, {30, 20}}, 80, {{0, 0, 30, 20}, {35, 0, 30, 20}, {0, 23, 30, 20}}},
        // Ending on the row's last column wraps; one pixel more fits.
        {{{30, 20}, {30, 20}}, 65, {{0, 0, 30, 20}, {0, 23, 30, 20}}},
        {{{30, 20}, {30, 20}}, 66, {{0, 0, 30, 20}, {35, 0, 30, 20}}},
        // Wider than the row; rows as high as their tallest, top-aligned.
        {{{200, 10}, {30, 40}, {30, 20}}, 70, {{0, 0, 200, 10}, {0, 13, 30, 40}, {35, 13, 30, 20}}},
        // Hidden widgets take no room.
        {{{30, 20}, {}, {30, 20}}, 66, {{0, 0, 30, 20}, {}, {35, 0, 30, 20}}}};
    for (const auto &[sizes, width, expected] : cases) {
        QWidget parent;
        auto *layout = new FlowLayout(&parent, 0, 5, 3);
        for (const QSize &size : sizes) {
            auto *widget = new QWidget(&parent);
            widget->setFixedSize(size.isEmpty() ? QSize(9, 9) : size);
            widget->setHidden(size.isEmpty());
            layout->addWidget(widget);
        }
        const int height = layout->heightForWidth(width);
        layout->setGeometry(QRect(0, 0, width, height));
        QRect all;
        for (int i = 0; i < expected.size(); ++i) {
            if (!expected.at(i).isNull())
                QCOMPARE(layout->itemAt(i)->geometry(), expected.at(i));
            all |= expected.at(i);
        }
        QCOMPARE(height, all.bottom() + 1);
    }
}

// Never wider than its text; narrower, elided, the whole text its tool tip.
void TestWidgets::elidedLabel()
{
    const QString text = QStringLiteral(" Zoom To Fit");
    ElidedLabel label;
    label.setText(text);
    label.resize(500, 20);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QCOMPARE(label.width(), label.fontMetrics().horizontalAdvance(text) + 3);
    QCOMPARE(label.displayText(), text);
    label.resize(40, 20);
    QTRY_VERIFY(label.displayText().endsWith(QChar(0x2026)));
    QVERIFY(text.startsWith(label.displayText().chopped(1)) && label.toolTip() == text);
}

LUMENO_TEST_MAIN(TestWidgets)

#include "tst_widgets.moc"

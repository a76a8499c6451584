#include "widgets/elidedlabel.h"
#include "tests/support/testmain.h"

#include <QHBoxLayout>
#include <QTest>

// Captions elide instead of pushing the toolbar wider, and never take more
// room than their whole text needs.
class TestElidedLabel : public QObject
{
    Q_OBJECT

private slots:
    void elidesToItsWidth();
    void textChangesWhileShown();
    void disabledLabelFadesItsText_data();
    void disabledLabelFadesItsText();
};

void TestElidedLabel::elidesToItsWidth()
{
    const QString text = QStringLiteral(" Zoom To Fit");
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new ElidedLabel(&window);
    label->setText(text);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(label);
    window.resize(500, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const int textWidth = label->fontMetrics().horizontalAdvance(text) + 3;
    QCOMPARE(label->sizeHint().width(), textWidth);
    QCOMPARE(label->width(), textWidth);
    QCOMPARE(label->displayText(), text);

    window.resize(40, 20);
    QTRY_COMPARE(label->width(), 40);
    QVERIFY(label->displayText().endsWith(QChar(0x2026)));
    QVERIFY(text.startsWith(label->displayText().chopped(1)));
    QCOMPARE(label->toolTip(), text);
}

void TestElidedLabel::textChangesWhileShown()
{
    QWidget window;
    auto *label = new ElidedLabel(&window);
    label->setText(QStringLiteral("A very long caption indeed"));
    label->setGeometry(0, 0, 60, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(label->displayText().startsWith(QStringLiteral("A v")));

    // Another long text: the label keeps its width, so no resize refreshes it.
    label->setText(QStringLiteral("Another very long caption"));
    QCOMPARE(label->width(), 60);
    QVERIFY(label->displayText().startsWith(QStringLiteral("An")));
    QVERIFY(label->displayText().endsWith(QChar(0x2026)));
}

void TestElidedLabel::disabledLabelFadesItsText_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("alpha");
    QTest::newRow("enabled") << true << 255;
    QTest::newRow("disabled") << false << 64;
}

void TestElidedLabel::disabledLabelFadesItsText()
{
    QFETCH(bool, enabled);
    QFETCH(int, alpha);

    ElidedLabel label;
    QFont font = label.font();
    font.setPixelSize(30);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.setBold(true);
    label.setTextColor(QColor(0, 0, 255));
    label.setText(QStringLiteral("MMMM"));
    label.resize(label.sizeHint().width(), 40);
    label.setEnabled(enabled);

    // The label's own painting only, on transparency.
    QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int maxAlpha = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            maxAlpha = qMax(maxAlpha, color.alpha());
            if (color.alpha() > 0)
                QCOMPARE(color.rgb(), qRgb(0, 0, 255));
        }
    }
    QCOMPARE(maxAlpha, alpha);
}

LUMENO_TEST_MAIN(TestElidedLabel)
#include "tst_elidedlabel.moc"

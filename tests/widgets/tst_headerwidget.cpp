#include "app/lumeno.h"
#include "widgets/headerwidget.h"
#include "tests/support/testmain.h"

#include <QTest>

// The header's height follows the window's font, and its cells share the
// width by their sizing rules, first cells first.
class TestHeaderWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void height_data();
    void height();
    void widths_data();
    void widths();
    void fontsAreCachedTextsElided();

private:
    Lumeno *m_window = nullptr;
};

namespace {

QFont pixelFont(int pixels)
{
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

void TestHeaderWidget::initTestCase()
{
    m_window = new Lumeno;
    m_window->setFont(pixelFont(20));
}

void TestHeaderWidget::cleanupTestCase()
{
    delete m_window;
}

void TestHeaderWidget::height_data()
{
    QTest::addColumn<double>("heightFactor");
    QTest::addColumn<double>("fontScale");
    QTest::addColumn<bool>("scaleFonts");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<bool>("fontInPoints");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("itemPixelSize");

    QTest::newRow("defaults") << 1.5 << 1.0 << true << 0 << false << 30 << 20;
    QTest::newRow("scaled") << 1.5 << 1.5 << true << 0 << false << 45 << 30;
    QTest::newRow("not scaled") << 1.5 << 1.5 << false << 0 << false << 30 << 20;
    QTest::newRow("minimum") << 1.5 << 1.0 << true << 40 << false << 40 << 20;
    QTest::newRow("font in points") << 1.5 << 1.0 << true << 0 << true << 30 << 20;
}

void TestHeaderWidget::height()
{
    QFETCH(double, heightFactor);
    QFETCH(double, fontScale);
    QFETCH(bool, scaleFonts);
    QFETCH(int, minimum);
    QFETCH(bool, fontInPoints);
    QFETCH(int, expected);
    QFETCH(int, itemPixelSize);

    if (fontInPoints) {
        QFont font;
        font.setPointSize(15); // 20 pixels at 96 dpi
        m_window->setFont(font);
    }
    HeaderWidget header;
    header.addItem(QStringLiteral("Text"), FitText, Qt::AlignLeft, 1, Qt::black, false, 0, 0,
                   QString());
    header.setHeightFactor(heightFactor);
    header.setFontScale(fontScale);
    header.setMinimumHeaderHeight(minimum);
    header.setScaleFonts(scaleFonts);
    header.updateSizes();
    m_window->setFont(pixelFont(20));

    QCOMPARE(header.height(), expected);
    QCOMPARE(QFontInfo(header.item(0).font).pixelSize(), itemPixelSize);
}

using Cells = QList<QList<int>>; // sizing, weight, natural or fixed width, visible

void TestHeaderWidget::widths_data()
{
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("fixed, then fit")
        << Cells{{FixedWidth, 1, 30, 1}, {FitText, 1, 20, 1}} << 100 << QList<int>{30, 20};
    QTest::newRow("fit wider than the room")
        << Cells{{FixedWidth, 1, 80, 1}, {FitText, 1, 50, 1}} << 100 << QList<int>{80, 20};
    QTest::newRow("no room left") << Cells{{FixedWidth, 1, 100, 1},
                                           {FitText, 1, 20, 1},
                                           {Stretch, 1, 0, 1}}
                                  << 100 << QList<int>{100, 0, 0};
    QTest::newRow("stretch 1:3") << Cells{{FixedWidth, 1, 20, 1},
                                          {Stretch, 1, 0, 1},
                                          {Stretch, 3, 0, 1}}
                                 << 120 << QList<int>{20, 25, 75};
    QTest::newRow("stretch to text, capped")
        << Cells{{StretchToText, 1, 10, 1}, {Stretch, 1, 0, 1}} << 100 << QList<int>{10, 90};
    QTest::newRow("stretch to text, shared")
        << Cells{{StretchToText, 1, 80, 1}, {Stretch, 1, 0, 1}} << 100 << QList<int>{50, 50};
    QTest::newRow("hidden cell takes nothing")
        << Cells{{FixedWidth, 1, 30, 0}, {Stretch, 1, 0, 1}} << 100 << QList<int>{-1, 100};
    QTest::newRow("unknown sizing")
        << Cells{{7, 1, 30, 1}, {Stretch, 1, 0, 1}} << 100 << QList<int>{0, 100};
    QTest::newRow("weight 0") << Cells{{Stretch, 0, 0, 1}, {StretchToText, 0, 10, 1}} << 100
                              << QList<int>{0, 0};
}

void TestHeaderWidget::widths()
{
    QFETCH(Cells, cells);
    QFETCH(int, width);
    QFETCH(QList<int>, expected);

    HeaderWidget header;
    for (const QList<int> &cell : cells) {
        // Empty texts: the natural width is the leading space alone.
        const int index = header.addItem(QString(), cell[0], Qt::AlignLeft, cell[1], Qt::black,
                                         false, cell[2], 0, QString());
        header.setItemWidth(index, cell[2]);
        header.setItemVisible(index, cell[3]);
    }
    header.resize(width, 10);
    header.updateSizes();
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(header.item(i).width, expected.at(i));
}

void TestHeaderWidget::fontsAreCachedTextsElided()
{
    HeaderWidget header;
    header.addItem(QStringLiteral("Caption"), FitText, Qt::AlignLeft, 1, Qt::black, false, 0, 0,
                   QStringLiteral("DejaVu Sans"));
    header.resize(200, 10);
    header.updateSizes();
    QVERIFY(header.isLayoutValid());
    QCOMPARE(header.item(0).font.family(), QStringLiteral("DejaVu Sans"));

    // The same text is no change; another index is none either.
    QVERIFY(!header.setItemText(0, QStringLiteral("Caption")));
    QVERIFY(!header.setItemText(1, QStringLiteral("Other")));
    QVERIFY(header.isLayoutValid());

    // The height follows a new scale at once, the cached font does not.
    header.setFontScale(2.0);
    QCOMPARE(header.height(), 60);
    QCOMPARE(header.item(0).font.pixelSize(), 20);
    QVERIFY(header.setItemText(0, QStringLiteral("New caption")));
    QVERIFY(!header.isLayoutValid());
    header.updateSizes();
    QCOMPARE(header.item(0).font.pixelSize(), 40);

    // A caption wider than the header gets all of it, elided.
    header.resize(60, 10);
    header.updateSizes();
    const HeaderItem &item = header.item(0);
    QCOMPARE(item.width, 60);
    QVERIFY(item.displayText.endsWith(QChar(0x2026)));
    QVERIFY(item.text.startsWith(item.displayText.chopped(1)));
}

LUMENO_TEST_MAIN(TestHeaderWidget)
#include "tst_headerwidget.moc"

#include "app/commandline.h"
#include "app/commands.h"
#include "app/fileworkflow.h"
#include "app/lumeno.h"
#include "app/startup.h"
#include "app/toolbar.h"
#include "colour/colorwidget.h"
#include "colour/formatmenu.h"
#include "document/manager.h"
#include "selection/pickmodel.h"
#include "selection/selection.h"
#include "tests/support/modals.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "view/view.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <climits>

namespace {

// Per command, in toolbar order: 1 enabled, 0 disabled, ? where the button
// and the menu entry disagree.
QString enabledStates(Lumeno &window)
{
    QString states;
    for (int command = 0; command < Commands::ButtonCount; ++command) {
        const bool button = window.toolbar()->button(command)->isEnabled();
        const bool entry = window.toolbar()->menu()->action(command)->isEnabled();
        states += button != entry ? QLatin1Char('?') : button ? QLatin1Char('1') : QLatin1Char('0');
    }
    return states;
}

// Offers data to the window as a drag and drops it; true when the drag was
// accepted.
bool drop(Lumeno &window, QMimeData *data, Qt::DropActions actions)
{
    QDragEnterEvent enter(QPoint(10, 10), actions, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent dropped(QPointF(10, 10), actions, data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return enter.isAccepted();
}

} // namespace

// The application shell: start-up, the style sheet, and the main window's
// strip, commands, title, button states, drops, file dialogs and settings.
class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void styleSheet();
    void commandLine();
    void toolbarKeepsItsHeightAndItsButtons();
    void enabledStatesAndKeys();
    void title();
    void drops();
    void settings_data();
    void settings();
    void openAndSave();
    void unsavedChangesAreAskedAbout();
    void ctrlD();
    void longFormatKeepsTheWindow();

private:
    QTemporaryDir m_dir;
    QString m_png;
};

void TestApp::initTestCase()
{
    prepareApplication();
    m_png = TestImages::write(m_dir.path(), "photo.png",
                              TestImages::encoded(TestImages::pattern(80, 60), "png"));
}

void TestApp::init()
{
    QSettings().clear();
    QApplication::clipboard()->setText(QStringLiteral("no image"));
}

void TestApp::styleSheet()
{
    Lumeno window; // installs the sheet
    // The installed sheet, its variables expanded, reaches the strip by type.
    QVERIFY(!qApp->styleSheet().contains(QRegularExpression(QStringLiteral("%[\\w-]+%"))));
    QFrame strip;
    strip.setObjectName(QStringLiteral("toolbar"));
    strip.resize(40, 20);
    QCOMPARE(strip.grab().toImage().pixel(20, 10), qRgb(210, 226, 246));
}

// Options end the program before a window is made: 0 for help and the
// version, 64 (a usage error) for one unknown; after "--" all are paths.
void TestApp::commandLine()
{
    const auto parse = [](const QStringList &arguments) {
        const CommandLine line = CommandLine::parse(QStringList{"lumeno"} + arguments, true);
        return QStringLiteral("%1 %2 %3").arg(line.exit).arg(line.status).arg(line.paths.join('|'));
    };
    QCOMPARE(parse({"a.png", "b.png"}), QStringLiteral("0 0 a.png|b.png"));
    QCOMPARE(parse({"--version", "--bogus"}), QStringLiteral("1 0 "));
    QCOMPARE(parse({"a.png", "--bogus", "-h"}), QStringLiteral("1 64 a.png"));
    QCOMPARE(parse({"-", "--", "-h", "--"}), QStringLiteral("0 0 -|-h|--"));
    QCOMPARE(CommandLine::parse({"lumeno", "--bogus", "-platform"}, false).exit, false);
}

void TestApp::toolbarKeepsItsHeightAndItsButtons()
{
    Lumeno window;
    window.resize(100, 500); // below the minimum
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Toolbar *toolbar = window.toolbar();
    ColorWidget *panel = toolbar->colorWidget();
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(1, 0, qRgb(200, 200, 200));
    window.manager()->setImage(picture);
    const int minimum = window.width();
    QCOMPARE(minimum, window.minimumWidth());
    const auto panelPlaces = [&] {
        QList<int> places;
        for (QWidget *part : panel->findChildren<QWidget *>())
            places << part->mapTo(&window, QPoint(0, 0)).x();
        return places;
    };
    // Steps finer than the difference between two legend items' widths.
    for (int width = minimum; width <= 1600; width += 5) {
        window.resize(width, 500);
        QList<int> places;
        // Texts of different lengths: "0,0,0,255" and "200,200,200,255".
        for (const double x : {0.5, 1.5}) {
            window.pick()->hover(QPointF(x, 0.5));
            window.pick()->click(QPointF(x, 0.5));
            for (int i = 0; i < 3; ++i)
                QApplication::processEvents();
            const QString at = QStringLiteral("width %1").arg(width);
            QVERIFY2(toolbar->height() == 32 && window.view()->y() == 32, qPrintable(at));
            // Every button shown, in the one row; the legend from the left,
            // as far as it fits.
            QList<QWidget *> shown{toolbar->menuButton(), panel};
            for (int command = 0; command < Commands::ButtonCount; ++command)
                shown << toolbar->button(command);
            bool gone = false;
            for (QWidget *legend : toolbar->legendItems()) {
                QVERIFY2(!(gone && legend->isVisible()), qPrintable(at));
                gone = gone || !legend->isVisible();
                if (legend->isVisible())
                    shown << legend;
            }
            for (QWidget *widget : std::as_const(shown)) {
                const QRect r = widget->geometry();
                QVERIFY2(widget->isVisible() && r.top() == 2 && r.right() < width &&
                             (widget == panel || r.right() < panel->x()),
                         qPrintable(at));
            }
            if (places.isEmpty())
                places = panelPlaces();
            QVERIFY2(places == panelPlaces(), qPrintable(at));
        }
    }
    QVERIFY(toolbar->legendItems().last()->isVisible());
    window.resize(minimum, 500);
    QTRY_VERIFY(!toolbar->legendItems().first()->isVisible());
}

void TestApp::enabledStatesAndKeys()
{
    Lumeno window;
    window.resize(1000, 700);
    window.show();
    // Open, Save, Save As, Copy, Paste, Crop, Zoom To Selection, Fit, Reset.
    QCOMPARE(enabledStates(window), QStringLiteral("100000000"));
    // An image copied elsewhere enables Paste and, while nothing is shown,
    // becomes the document.
    QApplication::clipboard()->setImage(TestImages::pattern(300, 200));
    QTRY_VERIFY(window.view()->hasImage());
    QCOMPARE(enabledStates(window), QStringLiteral("111110011"));
    window.selection()->setFromPoints(QPointF(10, 10), QPointF(40, 30));
    QCOMPARE(enabledStates(window), QStringLiteral("111111111"));
    QApplication::clipboard()->setText(QStringLiteral("text"));
    QCOMPARE(enabledStates(window), QStringLiteral("111101111"));

    // Keypad Enter crops, as Return does.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(window.manager()->document()->image()->image.size(), QSize(30, 20));
    // Saved, it is not modified: Save is disabled.
    QVERIFY(window.manager()->document()->save(m_dir.filePath(QStringLiteral("saved.png"))));
    QVERIFY(!window.toolbar()->button(Commands::Save)->isEnabled());
}

// The title tells the file, its size, the selection and unsaved changes; the
// name is data, placeholders and all.
void TestApp::title()
{
    const QString path = TestImages::write(m_dir.path(), "100% %1 %2 %L1.png",
                                           TestImages::encoded(TestImages::pattern(80, 60), "png"));
    Lumeno window;
    QSignalSpy shown(window.manager()->document(), &Document::shown);
    window.manager()->setPath(path);
    QVERIFY(shown.wait());
    window.selection()->setFromPoints(QPointF(1, 2), QPointF(4, 6));
    QCOMPARE(window.windowTitle(), QStringLiteral(" 100% %1 %2 %L1.png (80x60) - 3x4 @ (1, 2)"));
    window.commands()->action(Commands::Crop)->trigger();
    QCOMPARE(window.windowTitle(), QStringLiteral("* 100% %1 %2 %L1.png (3x4)"));
    // Another image opens without the last one's selection.
    window.selection()->selectAll();
    window.manager()->setPath(m_png);
    QVERIFY(shown.wait());
    QCOMPARE(window.windowTitle(), QStringLiteral(" photo.png (80x60)"));
    // Large sizes are whole numbers too.
    window.manager()->setImage(QImage(1234567, 1, QImage::Format_RGB32));
    window.selection()->selectAll();
    QCOMPARE(window.windowTitle(), QStringLiteral("* untitled (1234567x1) - 1234567x1 @ (0, 0)"));
}

void TestApp::drops()
{
    Lumeno window;
    window.show();
    QSignalSpy shown(window.manager()->document(), &Document::shown);
    // Image data, as a browser drags it: an untitled, modified document.
    QMimeData imageData;
    imageData.setImageData(TestImages::pattern(33, 22));
    QVERIFY(drop(window, &imageData, Qt::CopyAction));
    QCOMPARE(window.windowTitle(), QStringLiteral("* untitled (33x22)"));
    // Several files: only the first opens, once the untitled image is
    // discarded.
    Modals modals(QMessageBox::Discard);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(m_png), QUrl::fromLocalFile(m_dir.filePath("x.png"))});
    QVERIFY(drop(window, &files, Qt::CopyAction | Qt::MoveAction));
    QVERIFY(shown.wait());
    QCOMPARE(window.manager()->document()->image()->fileName(), QStringLiteral("photo.png"));
    // Text is refused.
    QMimeData text;
    text.setText(QStringLiteral("words"));
    QVERIFY(!drop(window, &text, Qt::CopyAction));
    QCoreApplication::processEvents();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(modals.seen.size(), 1);
}

// Whatever the settings file holds, the window fits the screen and the
// dialogs start in a folder that exists; the window's place and the grid are
// written back.
void TestApp::settings_data()
{
    QTest::addColumn<QVariant>("geometry");
    QTest::addColumn<QSize>("size"); // before it is bounded by the screen

    QTest::newRow("larger than the screen")
        << QVariant(QRect(100, 50, 5000, 3000)) << QSize(5000, 3000);
    // What @Rect(-2147483648 -2147483648 -5 -5) and @Rect(2147483647
    // 2147483647 2147483647 2147483647) turn into.
    QRect smallest, largest;
    smallest.setCoords(INT_MIN, INT_MIN, INT_MAX - 5, INT_MAX - 5);
    largest.setCoords(INT_MAX, INT_MAX, -2, -2);
    QTest::newRow("smallest ints") << QVariant(smallest) << QSize(INT_MAX, INT_MAX);
    QTest::newRow("largest ints") << QVariant(largest) << QSize(900, 700);
    QTest::newRow("not a rectangle") << QVariant(QStringLiteral("hello")) << QSize(900, 700);
}

void TestApp::settings()
{
    QFETCH(QVariant, geometry);
    QFETCH(QSize, size);
    QSettings().setValue(QStringLiteral("view/window_geometry"), geometry);
    QSettings().setValue(QStringLiteral("file/current_dir"), QStringLiteral("/no/such/folder"));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        Lumeno window;
        QVERIFY(area.contains(window.geometry()));
        QCOMPARE(window.size(), size.boundedTo(area.size()));
        QCOMPARE(window.files()->currentDir(),
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        window.setGeometry(QRect(61, 71, 739, 479));
        window.setWindowState(Qt::WindowMaximized);
        window.toolbar()->menu()->action(Commands::PixelGrid)->trigger(); // on by default
    }
    Lumeno again; // maximized with the geometry it had before
    QVERIFY(again.windowState() & Qt::WindowMaximized);
    QVERIFY(!again.view()->isPixelGridVisible() &&
            !again.toolbar()->menu()->isChecked(Commands::PixelGrid));
    QCOMPARE(QSettings().value(QStringLiteral("view/window_geometry")).toRect(),
             QRect(61, 71, 739, 479));
}

void TestApp::openAndSave()
{
    QTemporaryDir other;
    const QString elsewhere = TestImages::write(
        other.path(), "elsewhere.ico", TestImages::encoded(TestImages::pattern(4, 4), "ico"));
    Lumeno window;
    Modals modals;
    modals.file = elsewhere;
    QSignalSpy shown(window.manager()->document(), &Document::shown);
    window.files()->open();
    QVERIFY(shown.wait());
    QVERIFY(modals.filters.first().contains(QStringLiteral("*.webp *.pbm *.pgm")));
    QCOMPARE(window.files()->currentDir(), other.path());

    // An icon is not written: Save offers it as PNG beside it, and the icon
    // stays as it was when that is cancelled.
    modals.file.clear();
    QVERIFY(!window.files()->save());
    QCOMPARE(modals.proposed, other.filePath("elsewhere.png") + " | PNG (*.png)");

    // A pasted image has no file: Save asks for one, starting where the
    // last file came from, in a format that can be written.
    window.manager()->setImage(TestImages::pattern(30, 30));
    modals.file.clear();
    window.files()->save();
    QCOMPARE(modals.seen.last(), "Save Image: " + other.path());
    QVERIFY(!modals.filters.join(QLatin1Char(' ')).contains(QStringLiteral("gif")));
}

void TestApp::unsavedChangesAreAskedAbout()
{
    Lumeno window;
    window.show();
    window.manager()->setImage(TestImages::pattern(30, 30)); // untitled, modified
    Modals modals(QMessageBox::Cancel);
    QVERIFY(!window.close());
    window.files()->open(); // no file dialog after Cancel
    QCOMPARE(modals.seen.size(), 2);
    QCOMPARE(modals.seen.first(), QStringLiteral("Unsaved Changes: The image 'untitled' has "
                                                 "changes that are not saved."));
}

// Ctrl+D reaches the panel from any window of the program; the button shows
// pressed first, then clicks. (In the main window: the end-to-end test.)
void TestApp::ctrlD()
{
    Lumeno window;
    QImage picture(1, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(171, 205, 239, 18));
    window.manager()->setImage(picture);
    window.pick()->click(QPointF(0.5, 0.5));
    window.colorWidget()->formatMenu()->trigger(1);
    window.show();
    QLineEdit other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    ToolButton *button = window.colorWidget()->copyButton();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keyClick(&other, Qt::Key_D, Qt::ControlModifier);
    QVERIFY(button->isDown());
    QVERIFY(clicked.wait());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("#abcdef12"));
}

// However long the format, the colour panel never widens the window: its
// texts are elided, whole in their tool tips, and the first picture is
// centred in the window as it stays.
void TestApp::longFormatKeepsTheWindow()
{
    int minimum = 0;
    {
        Lumeno window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        minimum = window.minimumWidth();
    }
    QSettings().setValue(QStringLiteral("colors/format_strings"),
                         QStringList{QStringLiteral("rgba(%r,%g,%b,%a) ").repeated(12)});
    QSettings().setValue(QStringLiteral("colors/format_index"), 5);
    QSettings().setValue(QStringLiteral("view/window_geometry"), QRect(10, 10, 700, 500));
    Lumeno window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.manager()->setImage(TestImages::pattern(40, 30));
    QCoreApplication::processEvents();
    QCOMPARE(window.width(), 700);
    QCOMPARE(window.minimumWidth(), minimum);
    QLabel *label = window.colorWidget()->hoverLabel();
    QVERIFY(label->text().endsWith(QChar(0x2026)));
    QCOMPARE(label->toolTip(), window.colorWidget()->hoverText());
    const QPointF centre = window.view()->mapToScene(window.view()->viewport()->rect().center());
    QVERIFY(qAbs(centre.x() - 20) <= 1 && qAbs(centre.y() - 15) <= 1);
}

LUMENO_TEST_MAIN(TestApp)

#include "tst_app.moc"

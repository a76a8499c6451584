#include "app/lumeno.h"
#include "app/startup.h"
#include "app/toolbar.h"
#include "document/image.h"
#include "document/manager.h"
#include "selection/selectionitem.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "view/view.h"
#include "widgets/elidedlabel.h"
#include "widgets/menu.h"
#include "widgets/menubutton.h"
#include "widgets/toolbutton.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <climits>

namespace {

// Answers the next file dialog the window opens: records where it started
// and what it offered, then picks a file or cancels.
class FileDialogDriver : public QObject
{
public:
    explicit FileDialogDriver(const QString &answer) : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, &FileDialogDriver::poll);
        m_timer.start(5);
    }

    QString title;
    QString directory;
    QStringList filters;
    bool seen = false;

private:
    void poll()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget *widget : widgets) {
            auto *dialog = qobject_cast<QFileDialog *>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            seen = true;
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            if (m_answer.isEmpty()) {
                dialog->reject();
            } else {
                // Stands for the user confirming to replace an existing file.
                dialog->setOption(QFileDialog::DontConfirmOverwrite);
                dialog->selectFile(m_answer);
                QMetaObject::invokeMethod(dialog, "accept");
            }
            m_timer.stop();
        }
    }

    QString m_answer;
    QTimer m_timer;
};

QList<bool> enabledStates(Lumeno &window)
{
    QList<bool> states;
    for (int command = 0; command < Toolbar::CommandCount; ++command) {
        const bool button = window.toolbar()->button(command)->isEnabled();
        const bool action = window.toolbar()->menu()->action(command)->isEnabled();
        if (button != action)
            qWarning("button and menu entry %d disagree", command);
        states.append(button);
    }
    return states;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void structure();
    void toolbarWrapsInANarrowWindow();
    void enabledStates();
    void menuIds();
    void titles_data();
    void titles();
    void drops();
    void settingsDefaultsAndRoundTrip();
    // Whatever the settings file holds, the window fits the screen and the
    // dialogs start in a folder that exists.
    void storedValuesAreBounded_data();
    void storedValuesAreBounded();
    void openRemembersTheFolder();
    void saveOfAClipboardImageAsksForAFile();
    void failedSaveKeepsTheDocumentAndTheFile();

private:
    QTemporaryDir m_dir;
    QString m_png;
};

void TestMainWindow::initTestCase()
{
    prepareApplication();
    m_png = TestImages::write(m_dir.path(), "photo.png",
                              TestImages::encoded(TestImages::pattern(80, 60), "png"));
}

void TestMainWindow::init()
{
    QSettings().clear();
    QApplication::clipboard()->setText(QStringLiteral("no image"));
}

void TestMainWindow::structure()
{
    Lumeno window;
    window.resize(1400, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Corvane"));
    QCOMPARE(window.objectName(), QStringLiteral("lumeno"));
    QCOMPARE(window.toolbar()->objectName(), QStringLiteral("toolbar"));
    QCOMPARE(window.toolbar()->height(), 32);

    const struct
    {
        const char *name, *icon, *toolTip, *menuText, *shortcut;
    } commands[] = {
        {"load_button", "open", "Open (Ctrl+O)", "Open", "Ctrl+O"},
        {"save_button", "save", "Save (Ctrl+S)", "Save", "Ctrl+S"},
        {"save_as_button", "save-as", "Save As (Ctrl+Shift+S)", "Save As", "Ctrl+Shift+S"},
        {"copy_button", "copy", "Copy (Ctrl+C)", "Copy", "Ctrl+C"},
        {"paste_button", "paste", "Paste (Ctrl+V)", "Paste", "Ctrl+V"},
        {"crop_button", "crop", "Crop (Enter)", "Crop", "Enter"},
        {"zoom_to_sel_button", "zoom-to-sel", "Zoom To Selection (Space)", "Zoom To Selection",
         "Space"},
        {"zoom_to_fit_button", "zoom-to-fit", "Zoom To Fit (Home)", "Zoom To Fit", "Home"},
        {"zoom_reset_button", "zoom-reset", "Reset Zoom (Backspace)", "Reset Zoom", "Backspace"},
    };
    for (int command = 0; command < Toolbar::CommandCount; ++command) {
        ToolButton *button = window.toolbar()->button(command);
        QCOMPARE(button->objectName(), QString::fromLatin1(commands[command].name));
        QCOMPARE(button->toolTip(), QString::fromLatin1(commands[command].toolTip));
        QCOMPARE(button->height(), 28);
        QCOMPARE(button->width(),
                 window.pixmap(QString::fromLatin1(commands[command].icon)).width() + 10);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QAction *action = window.toolbar()->menu()->action(command);
        QVERIFY(action);
        QCOMPARE(action->text(), QString::fromLatin1(commands[command].menuText));
        QCOMPARE(action->shortcut(), QKeySequence(QString::fromLatin1(commands[command].shortcut)));
    }
    QVERIFY(!window.toolbar()->button(9));
    QCOMPARE(window.toolbar()->menuButton()->height(), 28);

    QStringList legend;
    for (ElidedLabel *label :
         window.toolbar()->findChildren<ElidedLabel *>(QStringLiteral("toolbar_label")))
        legend.append(label->text());
    QCOMPARE(legend, (QStringList{" Pan", " Select", " Zoom", " Zoom To Fit"}));
    QVERIFY(!window.windowIcon().isNull());
}

void TestMainWindow::toolbarWrapsInANarrowWindow()
{
    Lumeno window;
    window.resize(500, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Nothing is cut off: every button lies inside the strip.
    QTRY_VERIFY(window.toolbar()->height() > 32);
    for (int command = 0; command < Toolbar::CommandCount; ++command) {
        const QRect r = window.toolbar()->button(command)->geometry();
        QVERIFY(window.toolbar()->rect().contains(r));
    }
    QCOMPARE(window.view()->geometry().top(), window.toolbar()->geometry().bottom() + 1);
}

void TestMainWindow::enabledStates()
{
    QApplication::clipboard()->setText(QStringLiteral("text"));
    Lumeno window;
    window.show();
    using S = QList<bool>;
    //                   open  save   saveas copy   paste  crop   tosel  fit    reset
    QCOMPARE(::enabledStates(window),
             (S{true, false, false, false, false, false, false, false, false}));

    // An image copied elsewhere enables Paste at once, and, with no document
    // shown yet, becomes the document.
    QApplication::clipboard()->setImage(TestImages::pattern(50, 40));
    QTRY_VERIFY(window.view()->hasImage());
    QCOMPARE(::enabledStates(window), (S{true, true, true, true, true, false, false, true, true}));

    // A selection enables Crop and Zoom To Selection half a second later.
    window.view()->selectionItem()->setFromPoints(QPointF(1, 1), QPointF(20, 20));
    QTRY_VERIFY(window.toolbar()->button(Toolbar::Crop)->isEnabled());
    QVERIFY(window.toolbar()->button(Toolbar::ZoomToSelection)->isEnabled());
    window.view()->selectionItem()->setFromPoints(QPointF(1, 1), QPointF(1, 20));
    QTRY_VERIFY(!window.toolbar()->button(Toolbar::Crop)->isEnabled());

    // Text on the clipboard disables Paste.
    QApplication::clipboard()->setText(QStringLiteral("text"));
    QVERIFY(!window.toolbar()->button(Toolbar::Paste)->isEnabled());

    // A saved file is not modified: Save is disabled.
    QVERIFY(window.view()->image()->save(m_dir.filePath(QStringLiteral("saved.png"))));
    QVERIFY(!window.toolbar()->button(Toolbar::Save)->isEnabled());
    QCOMPARE(window.windowTitle(), QStringLiteral(" saved.png (50x40)"));
}

void TestMainWindow::menuIds()
{
    Lumeno window;
    window.resize(1000, 700);
    window.show();
    window.manager()->setImage(TestImages::pattern(300, 200));
    View *view = window.view();
    window.menuActionHandler(9);
    window.menuActionHandler(-1);
    QCOMPARE(view->zoom(), 1.0);

    window.menuActionHandler(Toolbar::ZoomToFit);
    QVERIFY(view->zoom() > 1.0);
    window.menuActionHandler(Toolbar::ResetZoom);
    QCOMPARE(view->zoom(), 1.0);
    view->selectionItem()->setFromPoints(QPointF(10, 10), QPointF(40, 30));
    window.menuActionHandler(Toolbar::ZoomToSelection);
    QVERIFY(view->zoom() > 5.0);
    window.menuActionHandler(Toolbar::Copy);
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(30, 20));
    window.menuActionHandler(Toolbar::Crop);
    QCOMPARE(view->image()->image.size(), QSize(30, 20));
    QApplication::clipboard()->setImage(TestImages::pattern(7, 7));
    window.menuActionHandler(Toolbar::Paste);
    QCOMPARE(view->image()->image.size(), QSize(7, 7));

    // Triggering the menu entry itself reaches the same handler.
    QSignalSpy triggered(window.toolbar()->menu(), &Menu::actionTriggered);
    window.toolbar()->menu()->action(Toolbar::ResetZoom)->trigger();
    QCOMPARE(triggered.size(), 1);
    QCOMPARE(triggered.at(0).at(0).toInt(), int(Toolbar::ResetZoom));
}

void TestMainWindow::titles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<bool>("crop");
    QTest::addColumn<QString>("title");

    QTest::newRow("file") << "a.png" << QRect() << false << " a.png (800x600)";
    QTest::newRow("selection") << "a.png" << QRect(10, 20, 100, 50) << false
                               << " a.png (800x600) - 100x50 @ (10, 20)";
    QTest::newRow("line is no selection")
        << "a.png" << QRect(10, 20, 0, 50) << false << " a.png (800x600)";
    QTest::newRow("cropped") << "a.png" << QRect(10, 20, 100, 50) << true << "* a.png (100x50)";
    // The name is shown as it is, placeholders and all.
    QTest::newRow("placeholders in the name") << "100% %1 %2 %L1.png" << QRect(1, 2, 3, 4) << false
                                              << " 100% %1 %2 %L1.png (800x600) - 3x4 @ (1, 2)";
}

void TestMainWindow::titles()
{
    QFETCH(QString, name);
    QFETCH(QRect, selection);
    QFETCH(bool, crop);
    QFETCH(QString, title);

    const QString path = TestImages::write(
        m_dir.path(), name, TestImages::encoded(TestImages::pattern(800, 600), "png"));
    Lumeno window;
    QSignalSpy shown(window.manager(), &Manager::showImage);
    window.manager()->setPath(path);
    QVERIFY(shown.wait());
    if (!selection.isNull()) {
        window.view()->selectionItem()->setFromPoints(
            selection.topLeft(),
            selection.topLeft() + QPoint(selection.width(), selection.height()));
    }
    if (crop)
        window.view()->crop();
    QCOMPARE(window.windowTitle(), title);
}

void TestMainWindow::drops()
{
    MessageBoxWatcher boxes;
    Lumeno window;
    window.show();
    QSignalSpy shown(window.manager(), &Manager::showImage);

    const auto drop = [&window](QMimeData *data, Qt::DropActions actions) {
        QDragEnterEvent enter(QPoint(10, 10), actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent dropped(QPointF(10, 10), actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        return enter.isAccepted();
    };

    // Image data, as a browser drags it: an untitled, modified document.
    QMimeData imageData;
    imageData.setImageData(TestImages::pattern(33, 22));
    QVERIFY(drop(&imageData, Qt::CopyAction));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(window.windowTitle(), QStringLiteral("* untitled (33x22)"));

    // Several files: only the first opens.
    const QString second = TestImages::write(m_dir.path(), "second.png",
                                             TestImages::encoded(TestImages::pattern(5, 5), "png"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(m_png), QUrl::fromLocalFile(second)});
    QVERIFY(drop(&files, Qt::CopyAction | Qt::MoveAction));
    QVERIFY(shown.wait());
    QCOMPARE(window.view()->image()->fileName(), QStringLiteral("photo.png"));
    QCOMPARE(shown.size(), 2);

    // A folder, a remote address, and a drop that offers no copy: nothing
    // opens.
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(m_dir.path())});
    QVERIFY(drop(&folder, Qt::CopyAction));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/picture.png"))});
    QVERIFY(drop(&remote, Qt::CopyAction));
    QMimeData moveOnly;
    moveOnly.setImageData(TestImages::pattern(9, 9));
    QVERIFY(!drop(&moveOnly, Qt::MoveAction));
    QMimeData text;
    text.setText(QStringLiteral("words"));
    QVERIFY(!drop(&text, Qt::CopyAction));
    QCoreApplication::processEvents();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(window.view()->image()->fileName(), QStringLiteral("photo.png"));
    // Only the folder said why nothing opened.
    QCOMPARE(boxes.texts, QStringList{QLatin1Char('\'') + QDir(m_dir.path()).dirName() +
                                      QStringLiteral("' is a folder, not an image file.")});
}

void TestMainWindow::settingsDefaultsAndRoundTrip()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        Lumeno window;
        // At most as large as the screen's free area (the offscreen one is
        // smaller than the default size).
        QCOMPARE(window.size(), QSize(900, 700).boundedTo(area.size()));
        QVERIFY(area.contains(window.geometry()));
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.currentDir(),
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        window.setGeometry(QRect(60, 70, 640, 480));
    }
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("view/window_geometry")).toRect(),
             QRect(60, 70, 640, 480));
    QCOMPARE(settings.value(QStringLiteral("view/window_is_maximized")).toBool(), false);
    QVERIFY(settings.contains(QStringLiteral("file/current_dir")));

    settings.setValue(QStringLiteral("view/window_is_maximized"), true);
    Lumeno again;
    QCOMPARE(again.geometry(), QRect(60, 70, 640, 480));
    QVERIFY(again.windowState() & Qt::WindowMaximized);
}

void TestMainWindow::storedValuesAreBounded_data()
{
    QTest::addColumn<QVariant>("geometry");
    QTest::addColumn<QSize>("size"); // before it is bounded by the screen
    QTest::addColumn<bool>("keepsPlace");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<bool>("keepsDir");
    QTest::newRow("fits") << QVariant(QRect(60, 70, 640, 480)) << QSize(640, 480) << true
                          << m_dir.path() << true;
    QTest::newRow("larger than the screen")
        << QVariant(QRect(100, 50, 5000, 3000)) << QSize(5000, 3000) << false << "/no/such/folder"
        << false;
    QTest::newRow("largest size") << QVariant(QRect(0, 0, INT_MAX, INT_MAX))
                                  << QSize(INT_MAX, INT_MAX) << false
                                  << QString(5000, QLatin1Char('a')) << false;
    // What the settings file's @Rect(-2147483648 -2147483648 -5 -5) and
    // @Rect(2147483647 2147483647 2147483647 2147483647) turn into.
    QRect smallest;
    smallest.setCoords(INT_MIN, INT_MIN, INT_MAX - 5, INT_MAX - 5);
    QTest::newRow("smallest ints")
        << QVariant(smallest) << QSize(INT_MAX, INT_MAX) << false << QString() << false;
    QRect largest;
    largest.setCoords(INT_MAX, INT_MAX, -2, -2);
    QTest::newRow("largest ints") << QVariant(largest) << QSize(900, 700) << false << QString()
                                  << false;
    QTest::newRow("off every screen")
        << QVariant(QRect(-5000, 9000, 700, 500)) << QSize(700, 500) << false << QString() << false;
    QTest::newRow("not a rectangle")
        << QVariant(QStringLiteral("hello")) << QSize(900, 700) << false << QString() << false;
}

void TestMainWindow::storedValuesAreBounded()
{
    QFETCH(QVariant, geometry);
    QFETCH(QSize, size);
    QFETCH(bool, keepsPlace);
    QFETCH(QString, dir);
    QFETCH(bool, keepsDir);
    {
        QSettings settings;
        settings.setValue(QStringLiteral("view/window_geometry"), geometry);
        settings.setValue(QStringLiteral("file/current_dir"), dir);
    }
    Lumeno window;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(window.geometry()));
    QCOMPARE(window.size(), size.boundedTo(area.size()));
    if (keepsPlace)
        QCOMPARE(window.pos(), geometry.toRect().topLeft());
    QCOMPARE(window.currentDir(),
             keepsDir ? dir : QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

void TestMainWindow::openRemembersTheFolder()
{
    QTemporaryDir other;
    const QString elsewhere = TestImages::write(
        other.path(), "elsewhere.png", TestImages::encoded(TestImages::pattern(4, 4), "png"));
    QString startDir;
    {
        Lumeno window;
        startDir = window.currentDir();
        {
            FileDialogDriver cancel{QString()};
            window.loadButtonClickedHandler();
            QVERIFY(cancel.seen);
            QCOMPARE(cancel.title, QStringLiteral("Open Image"));
            const QString all = cancel.filters.first();
            QVERIFY(all.startsWith(QStringLiteral("All Images (*.jpg")));
            QVERIFY(all.contains(QStringLiteral("*.webp")) &&
                    all.contains(QStringLiteral("*.pgm")));
        }
        QCOMPARE(window.currentDir(), startDir);

        FileDialogDriver choose(elsewhere);
        QSignalSpy shown(window.manager(), &Manager::showImage);
        window.loadButtonClickedHandler();
        QVERIFY(shown.wait());
        QCOMPARE(window.currentDir(), QFileInfo(elsewhere).absolutePath());

        // The next Save As starts there.
        FileDialogDriver saveAs{QString()};
        window.saveAsButtonClickedHandler();
        QCOMPARE(saveAs.title, QStringLiteral("Save Image"));
        QCOMPARE(saveAs.directory, QFileInfo(elsewhere).absolutePath());
        QVERIFY(!saveAs.filters.join(QLatin1Char(' ')).contains(QStringLiteral("gif")));
    }
    // And so does the next run.
    Lumeno again;
    QCOMPARE(again.currentDir(), QFileInfo(elsewhere).absolutePath());
}

void TestMainWindow::saveOfAClipboardImageAsksForAFile()
{
    Lumeno window;
    window.manager()->setImage(TestImages::pattern(30, 30));
    const QString target = m_dir.filePath(QStringLiteral("from-clipboard.png"));
    {
        FileDialogDriver driver(target);
        window.saveButtonClickedHandler();
        QVERIFY(driver.seen);
    }
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(window.windowTitle(), QStringLiteral(" from-clipboard.png (30x30)"));

    // From now on Save writes to that file without asking.
    window.view()->selectionItem()->setFromPoints(QPointF(0, 0), QPointF(10, 10));
    window.view()->crop();
    QVERIFY(window.windowTitle().startsWith(QLatin1Char('*')));
    FileDialogDriver unexpected(target);
    window.saveButtonClickedHandler();
    QVERIFY(!unexpected.seen);
    QCOMPARE(QImage(target).size(), QSize(10, 10));
    QVERIFY(!window.windowTitle().startsWith(QLatin1Char('*')));
}

void TestMainWindow::failedSaveKeepsTheDocumentAndTheFile()
{
    MessageBoxWatcher boxes;
    Lumeno window;
    window.manager()->setImage(TestImages::pattern(30, 30));
    const QByteArray original("precious bytes");
    const QString target = TestImages::write(m_dir.path(), "keep %1.unknownformat", original);
    {
        FileDialogDriver driver(target);
        window.saveAsButtonClickedHandler();
    }
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.titles.at(0), QStringLiteral("Unable To Save File"));
    QVERIFY(boxes.texts.at(0).contains(QStringLiteral("'keep %1.unknownformat'")));
    QVERIFY(window.windowTitle().startsWith(QStringLiteral("* untitled")));
    QVERIFY(window.toolbar()->button(Toolbar::Save)->isEnabled());
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), original);
}

LUMENO_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

#include "TestPlatform.h"
#include "lists/Form1.h"
#include "lists/Form2.h"
#include "catalog/FontGrouping.h"
#include "display/Form10.h"
#include "display/Form5.h"
#include "display/Form5Logic.h"
#include "display/Form6.h"
#include "find/FindWindow.h"
#include "files/Form8.h"
#include "formats/ComparisonFile.h"
#include "shell/MDIForm1.h"
#include "fontfileview/FontFileWindow.h"
#include "core/SettingsStore.h"
#include "identity/DetailedInventory.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using platform::RootKey;

namespace {

const QString NtKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

// A machine with a few fonts, the fixed-pitch counterpart among them.
void prepareMachine(TestPlatform& test, int extraFonts = 0)
{
    test.registry.put(RootKey::LocalMachine, NtKey, QStringLiteral("ProductName"), QStringLiteral("Debian GNU/Linux 12"));
    test.registry.put(RootKey::LocalMachine, NtKey + QStringLiteral("\\Fonts"), QStringLiteral("Arial (TrueType)"),
                      QStringLiteral("/usr/share/fonts/arial.ttf"));
    test.fonts.names = {QStringLiteral("Arial"), QStringLiteral("IPAゴシック"), QStringLiteral("Courier")};
    for (int i = 0; i < extraFonts; ++i)
        test.fonts.names << QStringLiteral("Synth %1").arg(i, 4, 10, QLatin1Char('0'));
    test.fonts.fixedCounterpart = QStringLiteral("IPAゴシック");
}

QList<QMdiSubWindow*> views(const MDIForm1& window)
{
    QList<QMdiSubWindow*> found;
    for (QMdiSubWindow* child : window.mdiArea()->subWindowList()) {
        if (qobject_cast<Form5*>(child->widget()))
            found << child;
    }
    return found;
}

// The action of a menu item, found by its menu's and its own caption.
QAction* menuItem(const MDIForm1& window, const QString& menuCaption, const QString& itemCaption)
{
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->text() != menuCaption || !menu->menu())
            continue;
        for (QAction* action : menu->menu()->actions()) {
            if (action->text() == itemCaption)
                return action;
        }
    }
    return nullptr;
}

QToolButton* toolbarButton(const MDIForm1& window, const QString& caption)
{
    for (QAction* action : window.Toolbar1->actions()) {
        if (action->text() == caption)
            return qobject_cast<QToolButton*>(window.Toolbar1->widgetForAction(action));
    }
    return nullptr;
}

// Uses a command the way a user does: "menu|item" through the menu's action,
// "key:SEQUENCE" pressed on the main window, "button:caption" clicked.
void useCommand(MDIForm1& window, const QString& command)
{
    if (command.startsWith(u"key:")) {
        QTest::keySequence(&window, QKeySequence(command.mid(4)));
    } else if (command.startsWith(u"button:")) {
        QToolButton* button = toolbarButton(window, command.mid(7));
        QVERIFY2(button, qPrintable(command));
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        const QStringList path = command.split(u'|');
        QAction* action = menuItem(window, path.at(0), path.at(1));
        QVERIFY2(action && action->isEnabled(), qPrintable(command));
        action->trigger();
    }
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandThroughItsControl_data();
    void everyCommandThroughItsControl();
    void toolsTakeTheFontOfTheWindowInFront_data();
    void toolsTakeTheFontOfTheWindowInFront();
    void aViewAsksForTheFontsThatShowItsText();
    void detailedInventoryFromTheFileMenu();
    void typingSelectsAFontInEveryList_data();
    void typingSelectsAFontInEveryList();
    void alwaysOnTopToggledTwice();
    void individualViews_data();
    void individualViews();
    void separatorButtonsDoNothing();
    void toolbarPicturesShareOneSize();
    void lockPanelsFollowTheKeyboard();
    void windowMenuListsOpenWindows();
    void comparisonFilesFromTheDesktop_data();
    void comparisonFilesFromTheDesktop();
    void secondStartWithAFileSaysWhereToOpenIt();
    void previewOpensOnceAndOpensViews();
    void aViewOpensOnTheFontChosen_data();
    void aViewOpensOnTheFontChosen();
    void preferencesRefreshThePreviewOnlyWhenItsTextChanged_data();
    void preferencesRefreshThePreviewOnlyWhenItsTextChanged();
};

void MainWindowTest::everyCommandThroughItsControl_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("effect");
    const QString file = u"ファイル(&F)|"_qs;
    const QString view = u"表示(&V)|"_qs;
    const QString property = u"プロパティ(&P)|"_qs;
    const QString window = u"ウインドウ(&W)|"_qs;
    const auto row = [](const QString& command, const QString& effect) {
        QTest::newRow(qPrintable(command)) << QStringList{command} << effect;
    };
    const QString openGfc = u"file dialog:フォント比較用ファイルを読み込む"_qs;
    const QString saveCsv = u"file dialog:全てのフォント名をファイルに保存"_qs;
    const QString saveGfc = u"file dialog:フォント比較用ファイルを保存"_qs;
    row(file + u"フォント名比較ファイルを読み込む(&O)..."_qs, openGfc);
    row(u"button:Gfc を開く"_qs, openGfc);
    row(file + u"全てのフォント名をファイルに保存(&S)..."_qs, saveCsv);
    row(u"key:Ctrl+S"_qs, saveCsv);
    row(u"button:Csv に書込"_qs, saveCsv);
    row(file + u"フォント名比較ファイルを保存(&C)..."_qs, saveGfc);
    row(u"button:Gfc に書込"_qs, saveGfc);
    row(file + u"詳しいフォント構成を保存(&D)..."_qs, u"file dialog:詳しいフォント構成を保存"_qs);
    row(file + u"印刷(&P)..."_qs, u"modal:Form7"_qs);
    row(u"key:Ctrl+P"_qs, u"modal:Form7"_qs);
    row(file + u"フォントファイルを開く(&F)..."_qs, u"file dialog:フォントファイルを開く"_qs);
    row(u"key:Ctrl+O"_qs, u"file dialog:フォントファイルを開く"_qs);
    row(file + u"終了(&X)"_qs, u"exit"_qs);
    row(u"key:F12"_qs, u"exit"_qs);
    QTest::newRow("always on top, on and off again")
        << QStringList{view + u"常に手前に表示(&T)"_qs, view + u"常に手前に表示(&T)"_qs} << u"on top:10"_qs;
    row(view + u"フォント全てを一覧(&A)..."_qs, u"shown:Form1"_qs);
    row(u"button:全て一覧"_qs, u"shown:Form1"_qs);
    row(view + u"フォントをインデックス別で一覧(&I)..."_qs, u"shown:Form2"_qs);
    row(u"button:インデックス別"_qs, u"shown:Form2"_qs);
    row(view + u"プレビュー(&P)..."_qs, u"shown:Form10"_qs);
    row(u"button:プレビュー"_qs, u"shown:Form10"_qs);
    row(view + u"個別表示(&K)..."_qs, u"shown:Form5"_qs);
    row(u"button:個別表示"_qs, u"shown:Form5"_qs);
    row(property + u"環境設定(&C)..."_qs, u"modal:Form6"_qs);
    row(u"button:環境設定"_qs, u"modal:Form6"_qs);
    row(property + u"フォントフォルダ(&F)..."_qs, u"fonts folder"_qs);
    row(property + u"画面のプロパティ(&S)..."_qs, u"display settings"_qs);
    row(window + u"上下に並べて表示(&H)"_qs, u"side by side"_qs);
    row(window + u"左右に並べて表示(&V)"_qs, u"one above the other"_qs);
    row(window + u"重ねて表示(&C)"_qs, u"cascaded"_qs);
    row(window + u"アイコンの整列(&A)"_qs, u"icons in a row"_qs);
    row(u"ヘルプ(&H)|バージョン情報(&V)..."_qs, u"modal:Form3"_qs);
    row(u"ツール(&T)|フォント検索(&F)..."_qs, u"shown:FindWindow"_qs);
    row(u"key:Ctrl+F"_qs, u"shown:FindWindow"_qs);
    row(u"button:フォント検索"_qs, u"shown:FindWindow"_qs);
    row(u"ツール(&T)|フォント情報(&I)..."_qs, u"shown:FontDetailsWindow"_qs);
    row(u"key:Ctrl+I"_qs, u"shown:FontDetailsWindow"_qs);
    row(u"ツール(&T)|文字一覧(&M)..."_qs, u"shown:CharacterMap"_qs);
    row(u"ツール(&T)|フォント構成の比較(&C)..."_qs, u"shown:InventoryWindow"_qs);
    row(u"ツール(&T)|無効にしたフォント(&D)..."_qs, u"shown:DisabledFontsWindow"_qs);
    row(u"key:Ctrl+M"_qs, u"shown:CharacterMap"_qs);
}

void MainWindowTest::everyCommandThroughItsControl()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, effect);
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.resize(900, 700);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The font the Tools menu's windows open on.
    window.form1()->List2->setCurrentRow(0);
    // Two windows to arrange, the view minimized for the icon row.
    QMdiSubWindow* second = nullptr;
    QSize secondSize;
    if (effect == u"side by side" || effect == u"one above the other" || effect == u"cascaded"
        || effect == u"icons in a row") {
        window.View_Click(2);
        window.View_Click(5);
        second = views(window).first();
        secondSize = second->size();
        if (effect == u"icons in a row")
            second->showMinimized();
    }

    // A modal dialog is named and closed as soon as it shows.
    QString modal;
    QTimer closer;
    connect(&closer, &QTimer::timeout, &window, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            modal = QString::fromLatin1(dialog->metaObject()->className());
            dialog->close();
        }
    });
    closer.start(0);
    QList<bool> onTop;
    for (const QString& command : commands) {
        useCommand(window, command);
        onTop << (window.alwaysOnTopChecked() && (window.windowFlags() & Qt::WindowStaysOnTopHint));
    }
    closer.stop();

    const QRect area = window.mdiArea()->viewport()->rect();
    if (effect.startsWith(u"file dialog:")) {
        QCOMPARE(test.dialogs.fileRequests.size(), 1);
        QCOMPARE(test.dialogs.fileRequests.first().title, effect.mid(12));
    } else if (effect.startsWith(u"modal:")) {
        QCOMPARE(modal, effect.mid(6));
    } else if (effect == u"exit") {
        QVERIFY(!window.isVisible());
        QVERIFY(test.registry.value(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("AlwaysTop")));
    } else if (effect.startsWith(u"on top:")) {
        const QString expected = effect.mid(7);
        QCOMPARE(onTop.size(), expected.size());
        for (qsizetype i = 0; i < onTop.size(); ++i)
            QCOMPARE(onTop.at(i), expected.at(i) == u'1');
        QVERIFY(window.isVisible());
    } else if (effect.startsWith(u"shown:")) {
        QMdiSubWindow* active = window.mdiArea()->activeSubWindow();
        QVERIFY(active && active->isVisible());
        QCOMPARE(QString::fromLatin1(active->widget()->metaObject()->className()), effect.mid(6));
    } else if (effect == u"fonts folder") {
        QCOMPARE(test.system.fontsFolderOpened, 1);
    } else if (effect == u"display settings") {
        QCOMPARE(test.system.displaySettingsOpened, 1);
    } else {
        const QRect one = window.form1Window()->geometry();
        const QRect two = second->geometry();
        if (effect == u"side by side") {
            QCOMPARE(one.top(), two.top());
            QVERIFY(one.right() < two.left());
        } else if (effect == u"one above the other") {
            QCOMPARE(one.left(), two.left());
            QVERIFY(one.bottom() < two.top());
        } else if (effect == u"cascaded") {
            QCOMPARE(one.topLeft(), QPoint(0, 0));
            QVERIFY(two.top() > one.top() && two.left() > one.left());
            // Moved, not shrunk.
            QCOMPARE(two.size(), secondSize);
        } else {
            QCOMPARE(two.bottom(), area.bottom());
            QCOMPARE(two.left(), 0);
        }
    }
}

void MainWindowTest::toolsTakeTheFontOfTheWindowInFront_data()
{
    QTest::addColumn<QString>("front");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    const QString map = u"ツール(&T)|文字一覧(&M)..."_qs;
    const QString typesetting = u"ツール(&T)|組版見本(&T)..."_qs;
    QTest::newRow("details") << u"details"_qs << map << u"文字一覧 / IPAゴシック"_qs;
    QTest::newRow("the index list") << u"index list"_qs << map << u"文字一覧 / IPAゴシック"_qs;
    QTest::newRow("typesetting, details") << u"details"_qs << typesetting << u"組版見本 / IPAゴシック"_qs;
    QTest::newRow("typesetting, the index list") << u"index list"_qs << typesetting << u"組版見本 / IPAゴシック"_qs;
}

// A menu activated through the accessibility bus is a window of its own, and
// while it is the active window the frame has no active child. The command
// must still take the window that was in front.
void MainWindowTest::toolsTakeTheFontOfTheWindowInFront()
{
    QFETCH(QString, front);
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.form1()->List2->setCurrentRow(0);
    if (front == u"details") {
        window.showFontDetails(u"IPAゴシック"_qs, QString());
    } else {
        window.View_Click(3);
        FontNameList* list = window.form2()->List1[std::size_t(FontGroupOf(u"IPAゴシック"_qs))];
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
    }
    QMenu popup;
    popup.addAction(u"文字一覧(&M)..."_qs);
    popup.popup(window.mapToGlobal(QPoint(10, 10)));
    QApplication::setActiveWindow(&popup);
    QVERIFY(QTest::qWaitForWindowActive(&popup));
    window.mdiArea()->setActiveSubWindow(nullptr);

    QFETCH(QString, command);
    useCommand(window, command);
    QStringList titles;
    for (QMdiSubWindow* child : window.mdiArea()->subWindowList())
        titles << child->widget()->windowTitle();
    QFETCH(QString, title);
    QVERIFY2(titles.contains(title), qPrintable(titles.join(u", "_qs)));
}

// The File menu's detailed inventory: this computer's fonts read once, and
// saved again from what was read.
void MainWindowTest::detailedInventoryFromTheFileMenu()
{
    QTemporaryDir folder;
    const QByteArray savedConfig = qgetenv("FONTCONFIG_FILE");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    TestEnvironment::useSyntheticFonts();
    qputenv("XDG_CACHE_HOME", folder.filePath(u"cache"_qs).toLocal8Bit());
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    test.dialogs.fileAnswers = {folder.filePath(u"proof"_qs), folder.filePath(u"again.json"_qs)};
    useCommand(window, u"ファイル(&F)|詳しいフォント構成を保存(&D)..."_qs);
    useCommand(window, u"ファイル(&F)|詳しいフォント構成を保存(&D)..."_qs);
    qputenv("FONTCONFIG_FILE", savedConfig);
    if (savedCache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", savedCache);

    QCOMPARE(test.dialogs.fileRequests.value(0).title, u"詳しいフォント構成を保存"_qs);
    QFile first(folder.filePath(u"proof.json"_qs));
    QVERIFY2(first.open(QIODevice::ReadOnly), "the suffix is added to a name typed without one");
    const QByteArray bytes = first.readAll();
    const InventoryRead read = ReadInventory(bytes);
    QVERIFY2(read.inventory, qPrintable(read.error));
    QVERIFY(read.inventory->faces.size() >= 64);
    QCOMPARE(read.inventory->names.size(), qsizetype(3));
    QVERIFY(QFile::exists(folder.filePath(u"cache/glyfaro2/file-facts"_qs)));
    QFile second(folder.filePath(u"again.json"_qs));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), bytes);
    // Only the welcome of a first start: no failure, no unreadable file.
    for (const auto& box : std::as_const(test.dialogs.boxes))
        QVERIFY2(box.text.startsWith(u"ダウンロード並びに"_qs), qPrintable(box.text));
}

void MainWindowTest::aViewAsksForTheFontsThatShowItsText()
{
    TestPlatform test;
    prepareMachine(test);
    test.fonts.characters = {{u"IPAゴシック"_qs, u"髙橋"_qs}, {u"Arial"_qs, u"橋"_qs}};
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.View_Click(5);
    auto view = static_cast<Form5*>(views(window).first()->widget());
    view->Text1->setPlainText(u"髙橋"_qs);
    view->FindFontsAction->trigger();
    FindWindow* find = window.findWindow();
    QVERIFY(find && find->isVisible());
    QCOMPARE(find->TextField->text(), u"髙橋"_qs);
    QCOMPARE(find->Results->model()->rowCount(), 1);

    // Enter on the font opens a view on exactly that font.
    find->Results->setFocus();
    QTest::keyClick(find->Results, Qt::Key_Return);
    QCOMPARE(views(window).size(), 2);
    const auto opened = static_cast<Form5*>(window.mdiArea()->activeSubWindow()->widget());
    QCOMPARE(opened->Combo1->currentText(), u"IPAゴシック"_qs);
    // It shows the text searched for; with none, the text every view opens with.
    QCOMPARE(opened->Text1Text(), u"髙橋"_qs);
    find->TextField->clear();
    QTest::keyClick(find->Results, Qt::Key_Return);
    QCOMPARE(static_cast<Form5*>(window.mdiArea()->activeSubWindow()->widget())->Text1Text(), Form5DesignText);
}

void MainWindowTest::typingSelectsAFontInEveryList_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("all fonts") << u"Form1"_qs;
    QTest::newRow("by index") << u"Form2"_qs;
    QTest::newRow("comparison") << u"Form8"_qs;
    QTest::newRow("find") << u"FindWindow"_qs;
}

void MainWindowTest::typingSelectsAFontInEveryList()
{
    QFETCH(QString, list);
    TestPlatform test;
    prepareMachine(test);
    test.fonts.names << u"Cambria"_qs << u"Comic"_qs;
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QAbstractItemView* view = nullptr;
    if (list == u"Form1") {
        view = window.form1()->List2;
    } else if (list == u"Form2") {
        view = window.form2()->List1[3];
    } else if (list == u"Form8") {
        view = window.form8()->List1;
    } else {
        window.Tools_Click(0);
        view = window.findWindow()->Results;
    }
    view->setFocus();
    QTest::keyClicks(view, u"com"_qs);
    QCOMPARE(view->currentIndex().data().toString(), u"Comic"_qs);
}

void MainWindowTest::alwaysOnTopToggledTwice()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.View_Click(0);
    QVERIFY(window.alwaysOnTopChecked());
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    window.View_Click(0);
    QVERIFY(!window.alwaysOnTopChecked());
    QVERIFY(!(window.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(window.isVisible());
    window.systemShutdown();
    QCOMPARE(*test.registry.value(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("AlwaysTop")),
             QStringLiteral("0"));
}

void MainWindowTest::individualViews_data()
{
    QTest::addColumn<bool>("designInstalled");
    QTest::addColumn<QString>("expected");
    QTest::newRow("counterpart") << false << QStringLiteral("IPAゴシック");
    QTest::newRow("design face") << true << QStringLiteral("ＭＳ ゴシック");
}

void MainWindowTest::individualViews()
{
    QFETCH(bool, designInstalled);
    QFETCH(QString, expected);
    TestPlatform test;
    prepareMachine(test);
    if (designInstalled)
        test.fonts.names << QStringLiteral("ＭＳ ゴシック");
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.resize(900, 700);
    for (int i = 0; i < 3; ++i)
        window.View_Click(5);
    const QList<QMdiSubWindow*> opened = views(window);
    QCOMPARE(opened.size(), 3);
    const QRect area = window.mdiArea()->viewport()->rect();
    QSet<QPoint> corners;
    for (QMdiSubWindow* child : opened) {
        QVERIFY2(area.contains(child->geometry()), "a new view lies wholly inside the client area");
        corners.insert(child->pos());
        QCOMPARE(static_cast<Form5*>(child->widget())->Combo1->currentText(), expected);
    }
    // Cascaded, not stacked on one spot.
    QCOMPARE(corners.size(), 3);
}

void MainWindowTest::toolbarPicturesShareOneSize()
{
    // Two of the pictures once drew smaller than the others.
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    const QSize size = window.Toolbar1->iconSize();
    int pictures = 0;
    for (QAction* action : window.Toolbar1->actions()) {
        if (action->isSeparator())
            continue;
        ++pictures;
        QCOMPARE(action->icon().actualSize(size), size);
        QCOMPARE(action->icon().pixmap(size).size(), size);
    }
    QCOMPARE(pictures, 9);
}

void MainWindowTest::separatorButtonsDoNothing()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    const auto children = window.mdiArea()->subWindowList().size();
    const bool form1Shown = window.form1Window()->isVisible();
    test.dialogs.boxes.clear();
    for (int index : {1, 3, 6, 11, 13, 0, 14})
        window.Toolbar1_ButtonClick(index);
    QCOMPARE(window.mdiArea()->subWindowList().size(), children);
    QCOMPARE(window.form1Window()->isVisible(), form1Shown);
    QVERIFY(test.dialogs.boxes.isEmpty());
    QVERIFY(window.isVisible());

    window.Toolbar1_ButtonClick(9);
    QVERIFY(window.form10Window() && window.form10Window()->isVisible());
}

void MainWindowTest::lockPanelsFollowTheKeyboard()
{
    TestPlatform test;
    prepareMachine(test);
    test.system.locks = {true, false};
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QCOMPARE(window.StatusPanels[1]->text(), QStringLiteral("CAPS"));
    QCOMPARE(window.StatusPanels[2]->text(), QStringLiteral("NUM"));
    QVERIFY(window.StatusPanels[1]->isEnabled());
    QVERIFY(!window.StatusPanels[2]->isEnabled());

    // Changed while the program runs, even by another program.
    test.system.locks = {false, true};
    QTRY_VERIFY(!window.StatusPanels[1]->isEnabled());
    QVERIFY(window.StatusPanels[2]->isEnabled());
}

// A comparison file named at start or dropped on the window is read as the
// File menu reads one: the comparison window shows its names. A font file,
// named at start, dropped or chosen through the File menu, opens its own
// window; one that cannot be read gets a box that says why.
void MainWindowTest::comparisonFilesFromTheDesktop_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("font"); // the small font copied there, if any
    QTest::addColumn<QString>("opens"); // comparison, font, refused or nothing
    QTest::newRow("named at start") << u"start"_qs << u"other.gfc"_qs << QString() << u"comparison"_qs;
    QTest::newRow("dropped") << u"drop"_qs << u"other.GFC"_qs << QString() << u"comparison"_qs;
    QTest::newRow("something else dropped") << u"drop"_qs << u"notes.txt"_qs << QString() << u"nothing"_qs;
    QTest::newRow("a collection named at start") << u"start"_qs << u"pair-mincho.ttc"_qs << u"pair-mincho.ttc"_qs
                                                 << u"font"_qs;
    QTest::newRow("a font dropped") << u"drop"_qs << u"Latin Box.TTF"_qs << u"latin-box.ttf"_qs << u"font"_qs;
    QTest::newRow("a font chosen in the File menu") << u"menu"_qs << u"latin-box.otf"_qs << u"latin-box.ttf"_qs
                                                    << u"font"_qs;
    QTest::newRow("a damaged font named at start") << u"start"_qs << u"garbage.ttf"_qs << u"garbage.ttf"_qs
                                                   << u"refused"_qs;
}

void MainWindowTest::comparisonFilesFromTheDesktop()
{
    QFETCH(QString, how);
    QFETCH(QString, fileName);
    QFETCH(QString, font);
    QFETCH(QString, opens);
    QTemporaryDir folder;
    const QString path = folder.filePath(fileName);
    if (font.isEmpty()) {
        comparison_file::Writer writer;
        writer.addRecord(u"Other Sans"_qs, 1);
        writer.addRecord(u"IPAゴシック"_qs, 2);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(writer.finish());
    } else {
        QVERIFY(QFile::copy(QStringLiteral(GLYFARO_SMALL_FONTS "/") + font, path));
    }
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.show();
    const qsizetype boxes = test.dialogs.boxes.size();
    if (how == u"start") {
        window.openStartFile(path);
    } else if (how == u"menu") {
        test.dialogs.fileAnswers.push_back(path);
        QAction* item = nullptr;
        for (QAction* action : window.menuBar()->actions().constFirst()->menu()->actions()) {
            if (action->text() == u"フォントファイルを開く(&F)..."_qs)
                item = action;
        }
        QVERIFY(item);
        item->trigger();
        QCOMPARE(test.dialogs.fileRequests.constLast().title, u"フォントファイルを開く"_qs);
    } else {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = window.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QCOMPARE(enter.isAccepted(), opens != u"nothing");
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
    }
    const bool read = opens == u"comparison";
    QCOMPARE(window.form8Window()->isVisible(), read);
    QCOMPARE(window.form8()->fileNames(), read ? QStringList({u"Other Sans"_qs, u"IPAゴシック"_qs}) : QStringList());
    QCOMPARE(window.settings().CurrentFileGFC == path, read);
    const QList<FontFileWindow*> fontWindows = window.findChildren<FontFileWindow*>();
    QCOMPARE(fontWindows.size(), opens == u"font" ? 1 : 0);
    if (opens == u"font") {
        QCOMPARE(fontWindows.first()->windowTitle(), u"フォントファイル / "_qs + fileName);
        QVERIFY(fontWindows.first()->isVisible());
    }
    QCOMPARE(test.dialogs.boxes.size(), boxes + (opens == u"refused" ? 1 : 0));
    if (opens == u"refused")
        QVERIFY(test.dialogs.boxes.constLast().text.startsWith(u"フォントファイル「"_qs + path + u"」を開けません。"_qs));
}

// The running copy keeps its windows; the second says it runs and where the
// file can be opened, then ends.
void MainWindowTest::secondStartWithAFileSaysWhereToOpenIt()
{
    const QString items[][2] = {{u"/home/user/other.gfc"_qs, u"「フォント名比較ファイルを読み込む」"_qs},
                                {u"/home/user/new.otf"_qs, u"「フォントファイルを開く」"_qs}};
    for (const auto& [file, item] : items) {
        TestPlatform test;
        prepareMachine(test);
        test.system.anotherInstance = true;
        MDIForm1 window(test.platform);
        window.setStartFile(file);
        QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Ended);
        QCOMPARE(test.dialogs.boxes.size(), 2);
        QCOMPARE(test.dialogs.boxes.at(0).text, u"このプログラムは既に起動しています。"_qs);
        QVERIFY(test.dialogs.boxes.at(1).text.startsWith(u"ファイル「"_qs + file + u"」は開いていません。"_qs));
        QVERIFY(test.dialogs.boxes.at(1).text.contains(item));
    }
}

void MainWindowTest::windowMenuListsOpenWindows()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.View_Click(5);
    window.View_Click(2);

    QMenu* menu = window.windowMenu();
    const auto listed = [menu] {
        QList<QAction*> entries;
        for (QAction* action : menu->actions()) {
            if (action->isCheckable())
                entries << action;
        }
        return entries;
    };
    for (int round = 0; round < 2; ++round) {
        emit menu->aboutToShow();
        const QList<QAction*> entries = listed();
        // The four commands stay first; the visible children follow, once each.
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("上下に並べて表示(&H)"));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0]->text(), QStringLiteral("&1 フォント全てを一覧"));
        QCOMPARE(entries[1]->text(), QStringLiteral("&2 個別表示 / IPAゴシック (20pt)"));
        QVERIFY(entries[0]->isChecked());
        QVERIFY(!entries[1]->isChecked());
    }
    listed().at(1)->trigger();
    QCOMPARE(window.mdiArea()->activeSubWindow(), views(window).first());
}

void MainWindowTest::previewOpensOnceAndOpensViews()
{
    TestPlatform test;
    prepareMachine(test, 97);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QVERIFY(!window.form10());
    window.View_Click(4);
    Form10* preview = window.form10();
    QVERIFY(preview);
    QVERIFY(window.isEnabled());
    QCOMPARE(preview->Label3->text(), QStringLiteral("Page: 1 / 15"));
    QVERIFY(window.mdiArea()->viewport()->rect().contains(window.form10Window()->geometry()));
    // Not exactly over the all-fonts window, which took the first place.
    QVERIFY(window.form10Window()->pos() != window.form1()->parentWidget()->pos());

    preview->VScroll1->setValue(1);
    preview->VScroll1_Change();
    preview->Label_DblClick(3);
    QCOMPARE(views(window).size(), 1);
    QCOMPARE(static_cast<Form5*>(views(window).first()->widget())->Combo1->currentIndex(), 10);

    // Closing only hides it; it comes back on the same page.
    QVERIFY(!window.form10Window()->close());
    window.View_Click(4);
    QCOMPARE(window.form10(), preview);
    QCOMPARE(preview->Label3->text(), QStringLiteral("Page: 2 / 15"));
}

void MainWindowTest::aViewOpensOnTheFontChosen_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all-fonts list after an index jump") << u"jump"_qs << u"Synth 0000"_qs;
    QTest::newRow("all-fonts list, a line chosen") << u"list"_qs << u"Synth 0041"_qs;
    QTest::newRow("index window") << u"index"_qs << u"Synth 0005"_qs;
    QTest::newRow("preview") << u"preview"_qs << u"IPAゴシック"_qs;
}

void MainWindowTest::aViewOpensOnTheFontChosen()
{
    QFETCH(QString, from);
    QFETCH(QString, expected);
    TestPlatform test;
    prepareMachine(test, 97);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    Form1* form1 = window.form1();
    constexpr int LineS = 19;
    if (from == u"jump" || from == u"list") {
        form1->selectIndexLine(LineS);
        if (from == u"list")
            form1->List2->setCurrentRow(form1->List2->currentRow() + 41);
        // The line shown as chosen is the one the view opens on.
        const QModelIndexList selected = form1->List2->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().row(), form1->List2->currentRow());
        QCOMPARE(selected.first().data().toString(), expected);
        form1->List2_DblClick();
    } else if (from == u"index") {
        window.form2()->List1[LineS]->setCurrentRow(5);
        window.form2()->List1_DblClick(LineS);
    } else {
        window.View_Click(4);
        window.form10()->Label_DblClick(2);
    }
    QCOMPARE(views(window).size(), 1);
    Form5* view = static_cast<Form5*>(views(window).first()->widget());
    QCOMPARE(view->Combo1->currentText(), expected);
    QCOMPARE(window.catalog().AllFontNames.at(view->Combo1->currentIndex()), expected);
    // One model of the names behind the list and every view.
    QCOMPARE(view->Combo1->model(), form1->List2->model());
}

void MainWindowTest::preferencesRefreshThePreviewOnlyWhenItsTextChanged_data()
{
    QTest::addColumn<bool>("untick");
    QTest::newRow("unchanged") << false;
    QTest::newRow("custom text unticked") << true;
}

void MainWindowTest::preferencesRefreshThePreviewOnlyWhenItsTextChanged()
{
    QFETCH(bool, untick);
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.settings().PreviewText = 1;
    window.View_Click(4);
    Form10* preview = window.form10();
    QCOMPARE(preview->Label2[0]->text(), window.settings().PreviewTextStrings);
    // A mark that only a refresh of the preview would overwrite.
    preview->Label2[1]->setText(QStringLiteral("mark"));

    bool answered = false;
    QTimer::singleShot(0, &window, [&] {
        auto dialog = qobject_cast<Form6*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (untick)
            dialog->Check1[0]->setChecked(false);
        dialog->Command1->click();
        answered = true;
    });
    window.Toolbar1_ButtonClick(12);
    QVERIFY(answered);
    QCOMPARE(window.settings().PreviewText, untick ? 0 : 1);
    QCOMPARE(preview->Label2[1]->text(), untick ? preview->Label1[1]->text() : QStringLiteral("mark"));
    QCOMPARE(preview->Label2[0]->text(),
             untick ? preview->Label1[0]->text() : window.settings().PreviewTextStrings);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

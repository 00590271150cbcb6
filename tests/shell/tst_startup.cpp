#include "TestPlatform.h"
#include "lists/Form1.h"
#include "display/Form5.h"
#include "shell/Form4.h"
#include "shell/MDIForm1.h"
#include "files/Form8.h"
#include "core/SettingsStore.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using platform::RootKey;

namespace {

const QString NtKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

// A machine with three fonts and the system keys start-up reads.
void prepareMachine(TestPlatform& test)
{
    test.registry.put(RootKey::LocalMachine, NtKey, QStringLiteral("ProductName"), QStringLiteral("Debian GNU/Linux 12"));
    test.registry.put(RootKey::LocalMachine, NtKey + QStringLiteral("\\Fonts"), QStringLiteral("Arial (TrueType)"),
                      QStringLiteral("/usr/share/fonts/arial.ttf"));
    test.fonts.names = {QStringLiteral("Arial"), QStringLiteral("@ＭＳ ゴシック"), QStringLiteral("ｂ")};
}

void putSetting(TestPlatform& test, const char* name, const QString& value)
{
    test.registry.put(RootKey::CurrentUser, SettingsKeyPath, QLatin1String(name), value);
}

bool hasSplash()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<Form4*>(widget))
            return true;
    }
    return false;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void firstRunWelcomesBeforeTheSplash();
    void startupWindows_data();
    void startupWindows();
    void maximizedStateWinsOverMaxWindow();
    void statusBarAndTimer();
    void exitQuestion();
    void keyDeletedWhileRunningIsNotRecreated();
    void shutdownSavesWithoutAsking();
    void terminationDuringStartUpWritesNothing_data();
    void terminationDuringStartUpWritesNothing();
    void damagedSettingsAreReported();
    void closingAListWindowOnlyHidesIt();
    void viewsOpenFromTheLists();
    void comparisonWindowAndFileMenu();
    void fileMenuExit_data();
    void fileMenuExit();
};

void StartupTest::refusals_data()
{
    QTest::addColumn<int>("scenario");
    QTest::addColumn<int>("message");
    QTest::newRow("second instance") << 0 << 0;
    QTest::newRow("Win32s") << 1 << 1;
    QTest::newRow("version query fails") << 2 << 2;
    QTest::newRow("identity changed") << 3 << 4;
    QTest::newRow("fonts key missing") << 4 << 2;
    QTest::newRow("smoothing query fails") << 5 << 2;
}

void StartupTest::refusals()
{
    QFETCH(int, scenario);
    QFETCH(int, message);
    TestPlatform test;
    prepareMachine(test);
    switch (scenario) {
    case 0: test.system.anotherInstance = true; break;
    case 1: test.system.versionRecord = platform::VersionRecord{3, 1, 0, 0}; break;
    case 2: test.system.versionRecord.reset(); break;
    case 3:
        putSetting(test, "ProgramNameID", QStringLiteral("Other"));
        break;
    case 4: test.registry.removeKey(RootKey::LocalMachine, NtKey + QStringLiteral("\\Fonts")); break;
    case 5: test.system.smoothingQueryWorks = false; break;
    }
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Ended);
    QCOMPARE(test.system.endCalls, 1);
    QVERIFY(!test.dialogs.boxes.isEmpty());
    QCOMPARE(test.dialogs.boxes.last().title, QStringLiteral("Glyfaro 2"));
    QVERIFY(test.dialogs.boxes.last().text.startsWith(
        message == 0 ? QStringLiteral("このプログラムは既に起動しています。")
        : message == 1 ? QStringLiteral("このバージョンのWindowsでは利用出来ません。")
        : message == 2 ? QStringLiteral("予期せぬエラーが発生しました。強制終了します。")
                       : QStringLiteral("レジストリが書き換えられた可能性があります。")));
    QVERIFY(!window.isVisible());
    QVERIFY(!hasSplash());
    if (scenario <= 2) {
        // Refused before the settings key was looked at.
        QVERIFY(!test.registry.hasKey(RootKey::CurrentUser, SettingsKeyPath));
        QCOMPARE(test.dialogs.boxes.size(), 1);
    }
}

void StartupTest::firstRunWelcomesBeforeTheSplash()
{
    TestPlatform test;
    prepareMachine(test);
    bool splashAtWelcome = true;
    test.dialogs.onBox = [&](const FakeDialogs::Box& box) {
        if (box.text.startsWith(QStringLiteral("ダウンロード")))
            splashAtWelcome = hasSplash();
    };
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QCOMPARE(test.dialogs.boxes.size(), 1);
    QVERIFY(!splashAtWelcome);
    QVERIFY(!hasSplash());
    QCOMPARE(test.registry.valueNames(RootKey::CurrentUser, SettingsKeyPath).size(), 22);
    // The defaults written are the values read back.
    QCOMPARE(window.settings().Width, 12000);
    QCOMPARE(window.settings().StartupOverall, 1);
    QVERIFY(window.isVisible());
    QVERIFY(window.form1Window()->isVisible());
    QCOMPARE(window.systemInfo().OsDescription, QStringLiteral("Debian GNU/Linux 12"));
    QCOMPARE(window.systemInfo().OsFamily, QStringLiteral("Linux"));
    QCOMPARE(window.catalog().FontTotal, 3);

    // The second start has nothing to say.
    test.dialogs.boxes.clear();
    TestPlatform again;
    prepareMachine(again);
    for (const QString& name : test.registry.valueNames(RootKey::CurrentUser, SettingsKeyPath))
        again.registry.put(RootKey::CurrentUser, SettingsKeyPath, name,
                           *test.registry.value(RootKey::CurrentUser, SettingsKeyPath, name));
    MDIForm1 second(again.platform);
    QCOMPARE(second.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QVERIFY(again.dialogs.boxes.isEmpty());
}

void StartupTest::startupWindows_data()
{
    QTest::addColumn<QString>("overall");
    QTest::addColumn<QString>("indexof");
    QTest::newRow("none") << "0" << "0";
    QTest::newRow("all fonts") << "1" << "0";
    QTest::newRow("by index") << "0" << "1";
    QTest::newRow("both") << "1" << "1";
}

void StartupTest::startupWindows()
{
    QFETCH(QString, overall);
    QFETCH(QString, indexof);
    TestPlatform test;
    prepareMachine(test);
    {
        MDIForm1 first(test.platform);
        QCOMPARE(first.MDIForm_Load(), MDIForm1::LoadResult::Started);
    }
    putSetting(test, "StartupOverall", overall);
    putSetting(test, "StartupIndexof", indexof);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QCOMPARE(window.form1Window()->isVisible(), overall == QLatin1String("1"));
    QCOMPARE(window.form2Window()->isVisible(), indexof == QLatin1String("1"));
    if (overall == QLatin1String("1"))
        QCOMPARE(window.mdiArea()->activeSubWindow(), window.form1Window());
    // The index selector starts on its first line, whose jump selected the
    // first symbol font.
    QCOMPARE(window.form1()->List1->currentRow(), 0);
    QCOMPARE(window.form1()->List2->currentItem()->text(), QStringLiteral("@ＭＳ ゴシック"));
}

void StartupTest::maximizedStateWinsOverMaxWindow()
{
    TestPlatform test;
    prepareMachine(test);
    {
        MDIForm1 first(test.platform);
        first.MDIForm_Load();
    }
    putSetting(test, "WindowState", QStringLiteral("2"));
    putSetting(test, "MaxWindow", QStringLiteral("0"));
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QVERIFY(window.windowState() & Qt::WindowMaximized);
}

void StartupTest::statusBarAndTimer()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QCOMPARE(window.StatusPanels[0]->text(), QStringLiteral("Rev. 2.3.72"));
    QCOMPARE(window.StatusPanels[4]->text(), QStringLiteral("総ｽｸﾘｰﾝﾌｫﾝﾄ数:3個"));
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.Timer1->interval(), 7000);
    window.Timer1_Timer();
    QCOMPARE(window.StatusPanels[0]->text(), QStringLiteral("ご利用ありがとうございます。"));
    for (int i = 0; i < 5; ++i)
        window.Timer1_Timer();
    QCOMPARE(window.StatusPanels[0]->text(), QStringLiteral("Rev. 2.3.72"));
}

void StartupTest::exitQuestion()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    test.dialogs.boxes.clear();
    test.registry.writeLog.clear();

    test.dialogs.answers = {platform::AnswerNo};
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(test.dialogs.boxes.size(), 1);
    QCOMPARE(test.dialogs.boxes[0].text, QStringLiteral("終了してもよろしいですか？"));
    QCOMPARE(test.dialogs.boxes[0].style, 36);
    QVERIFY(test.registry.writeLog.isEmpty());

    window.View_Click(0); // always on top, saved from the check mark
    test.dialogs.answers = {platform::AnswerYes};
    QVERIFY(window.close());
    QCOMPARE(test.dialogs.boxes.size(), 2);
    QCOMPARE(test.registry.writeLog.size(), 19);
    QCOMPARE(*test.registry.value(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("AlwaysTop")), QStringLiteral("1"));
    QCOMPARE(test.system.endCalls, 0);
}

void StartupTest::keyDeletedWhileRunningIsNotRecreated()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    test.registry.removeKey(RootKey::CurrentUser, SettingsKeyPath);
    test.dialogs.boxes.clear();
    window.systemShutdown();
    QCOMPARE(test.dialogs.boxes.size(), 1);
    QVERIFY(test.dialogs.boxes[0].text.startsWith(QStringLiteral("予期せぬエラーが発生しました。\r\r")));
    QVERIFY(!test.registry.hasKey(RootKey::CurrentUser, SettingsKeyPath));
    QCOMPARE(test.system.endCalls, 0);
}

void StartupTest::shutdownSavesWithoutAsking()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.settings().SampleTextStrings.clear();
    test.dialogs.boxes.clear();
    window.systemShutdown();
    QVERIFY(test.dialogs.boxes.isEmpty());
    QCOMPARE(*test.registry.value(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("SampleTextStrings")),
             QStringLiteral("NonDataCode"));
}

void StartupTest::terminationDuringStartUpWritesNothing_data()
{
    QTest::addColumn<bool>("firstRun");
    // The signal is served by the first pending events the start-up lets
    // run: before the instance check, or after the first run's key was made.
    QTest::newRow("before the instance check") << false;
    QTest::newRow("after the first run's key") << true;
}

void StartupTest::terminationDuringStartUpWritesNothing()
{
    QFETCH(bool, firstRun);
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    const auto terminate = [&] { QTimer::singleShot(0, &window, &MDIForm1::systemShutdown); };
    if (firstRun)
        test.dialogs.onBox = [&](const FakeDialogs::Box&) { terminate(); };
    else
        terminate();
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Ended);
    QCOMPARE(test.system.endCalls, 1);
    QVERIFY(!window.isVisible());
    QVERIFY(!hasSplash());
    // Only the first run's defaults reached the key; no write-back of
    // settings that were never read.
    QCOMPARE(test.registry.writeLog.size(), firstRun ? 22 : 0);
    QCOMPARE(test.dialogs.boxes.size(), firstRun ? 1 : 0);
}

void StartupTest::damagedSettingsAreReported()
{
    TestPlatform test;
    prepareMachine(test);
    test.registry.damageReport = QStringLiteral("設定ファイルが壊れていました");
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QCOMPARE(test.dialogs.boxes.size(), 2);
    QCOMPARE(test.dialogs.boxes[0].text, QStringLiteral("設定ファイルが壊れていました"));
    QCOMPARE(test.dialogs.boxes[0].style, 48);
    QVERIFY(test.dialogs.boxes[1].text.startsWith(QStringLiteral("ダウンロード")));
}

void StartupTest::closingAListWindowOnlyHidesIt()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    Form1* form1 = window.form1();
    form1->List2->setCurrentRow(2);
    const QString file = form1->Label2[0]->text();

    QVERIFY(!window.form1Window()->close());
    QVERIFY(!window.form1Window()->isVisible());
    QCOMPARE(window.form1(), form1);

    window.View_Click(2);
    QVERIFY(window.form1Window()->isVisible());
    QCOMPARE(form1->List2->currentRow(), 2);
    QCOMPARE(form1->Label2[0]->text(), file);
    QVERIFY(window.isVisible());
}

void StartupTest::viewsOpenFromTheLists()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    const int before = int(window.mdiArea()->subWindowList().size());

    window.form1()->List2->setCurrentRow(0);
    window.form1()->List2_DblClick();
    window.form1()->List2_DblClick();
    QCOMPARE(int(window.mdiArea()->subWindowList().size()), before + 2);
    QCOMPARE(window.mdiArea()->activeSubWindow()->windowTitle(),
             QStringLiteral("個別表示 / %1 (20pt)").arg(window.catalog().AllFontNames[0]));
    // The view opens at its design size, not shrunk to nothing.
    QVERIFY(window.mdiArea()->activeSubWindow()->widget()->width() >= Form5::designClientSizePixels().width());
    QVERIFY(window.mdiArea()->activeSubWindow()->widget()->height() >= Form5::designClientSizePixels().height());

    // Without the menu's default font installed, the view opens unchosen.
    window.View_Click(5);
    QCOMPARE(int(window.mdiArea()->subWindowList().size()), before + 3);
    QCOMPARE(window.mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("個別表示"));
}

void StartupTest::comparisonWindowAndFileMenu()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    // Filled at start-up, and hidden.
    QCOMPARE(window.form8()->installedNames(), window.catalog().AllFontNames);
    QCOMPARE(window.form8()->Label4[0]->text(),
             QStringLiteral("総数: %1 個").arg(window.catalog().AllFontNames.size()));
    QVERIFY(!window.form8Window()->isVisible());

    // The toolbar's buttons 2, 4 and 5 run items 5, 7 and 8.
    for (int button : {2, 4, 5})
        window.Toolbar1_ButtonClick(button);
    QCOMPARE(test.dialogs.fileRequests.size(), 3);
    QCOMPARE(test.dialogs.fileRequests[0].title, QStringLiteral("フォント比較用ファイルを読み込む"));
    QCOMPARE(test.dialogs.fileRequests[1].title, QStringLiteral("全てのフォント名をファイルに保存"));
    QCOMPARE(test.dialogs.fileRequests[2].title, QStringLiteral("フォント比較用ファイルを保存"));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fonts.gfc"));
    test.dialogs.fileAnswers = {path, path};
    window.File_Click(8);
    window.File_Click(5);
    QVERIFY(window.form8Window()->isVisible());
    QCOMPARE(window.form8()->fileNames(), window.catalog().AllFontNames);
    QCOMPARE(window.settings().CurrentFileGFC, path);

    // Closing it only hides it; its lists stay.
    QVERIFY(!window.form8Window()->close());
    QVERIFY(!window.form8Window()->isVisible());
    QCOMPARE(window.form8()->fileNames(), window.catalog().AllFontNames);
}

void StartupTest::fileMenuExit_data()
{
    QTest::addColumn<int>("endQuestion");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("closed");
    QTest::newRow("asked, no") << 1 << QList<int>{platform::AnswerNo} << 1 << false;
    QTest::newRow("asked, yes, asked once") << 1 << QList<int>{platform::AnswerYes} << 1 << true;
    QTest::newRow("not asked") << 0 << QList<int>() << 0 << true;
}

void StartupTest::fileMenuExit()
{
    QFETCH(int, endQuestion);
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(bool, closed);
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    window.settings().EndQuestion = endQuestion;
    test.dialogs.boxes.clear();
    test.registry.writeLog.clear();
    test.dialogs.answers.assign(answers.begin(), answers.end());
    window.File_Click(255);
    QCOMPARE(test.dialogs.boxes.size(), boxes);
    if (boxes > 0)
        QCOMPARE(test.dialogs.boxes[0].text, QStringLiteral("終了してもよろしいですか？"));
    QCOMPARE(window.isVisible(), !closed);
    QCOMPARE(test.registry.writeLog.isEmpty(), !closed);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"

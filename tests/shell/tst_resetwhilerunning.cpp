// The viewer and the reset tool meet only in the settings file; these runs go
// through the real file, as two programs on one machine do.
#include "FakeDialogs.h"
#include "TestEnvironment.h"
#include "platform/HiveRegistry.h"
#include "reset/ResetTool.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"

#include <QFile>
#include <QtTest>

using platform::HiveRegistry;
using platform::KeyAccess;
using platform::KeyHandle;
using platform::RootKey;

namespace {

const SettingsPaths Paths{QStringLiteral("/opt/glyfaro"), QStringLiteral("/")};

} // namespace

class ResetWhileRunningTest : public QObject {
    Q_OBJECT

private slots:
    void viewerCannotSaveAfterResetAndTheResetHolds();
    void nextStartBeginsWithTheDefaults();

private:
    TestEnvironment m_environment;
};

void ResetWhileRunningTest::viewerCannotSaveAfterResetAndTheResetHolds()
{
    const QString hive = m_environment.configHome() + QStringLiteral("/glyfaro/user.reg");
    HiveRegistry viewer(hive);
    QList<int> notices;
    QVERIFY(EnsureSettingsKey(viewer, Paths, [&](int message) { notices << message; }).ok());
    Settings settings;
    QVERIFY(LoadSettings(viewer, Paths, [&](int message) { notices << message; }, settings).ok());
    QCOMPARE(notices, QList<int>{MessageWelcome});

    // The reset tool, another process with its own view of the file.
    HiveRegistry tool(hive);
    FakeDialogs toolDialogs;
    toolDialogs.answers = {platform::AnswerYes};
    QCOMPARE(RunReset(tool, toolDialogs), 0);
    QCOMPARE(toolDialogs.boxes.last().text, QStringLiteral("初期化に成功しました。"));

    settings.Left = 3000;
    QCOMPARE(WriteBackSettings(viewer, settings).message, MessageNotSaved);

    KeyHandle key = 0;
    HiveRegistry later(hive);
    QCOMPARE(later.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Read, key), long(platform::RegFileNotFound));
    QCOMPARE(later.openKey(RootKey::CurrentUser, QStringLiteral("SOFTWARE\\Sorimo Products"), KeyAccess::Read, key),
             long(platform::RegSuccess));
    later.closeKey(key);
}

void ResetWhileRunningTest::nextStartBeginsWithTheDefaults()
{
    const QString hive = m_environment.configHome() + QStringLiteral("/glyfaro/user.reg");
    QFile::remove(hive);
    HiveRegistry first(hive);
    Settings settings;
    QVERIFY(EnsureSettingsKey(first, Paths, [](int) {}).ok());
    QVERIFY(LoadSettings(first, Paths, [](int) {}, settings).ok());
    settings.Width = 4500;
    settings.StartupIndexof = 1;
    QVERIFY(WriteBackSettings(first, settings).ok());

    FakeDialogs toolDialogs;
    toolDialogs.answers = {platform::AnswerYes};
    HiveRegistry tool(hive);
    QCOMPARE(RunReset(tool, toolDialogs), 0);

    HiveRegistry second(hive);
    QList<int> notices;
    Settings fresh;
    QVERIFY(EnsureSettingsKey(second, Paths, [&](int message) { notices << message; }).ok());
    QVERIFY(LoadSettings(second, Paths, [&](int message) { notices << message; }, fresh).ok());
    QCOMPARE(notices, QList<int>{MessageWelcome});
    QCOMPARE(fresh.Width, 12000);
    QCOMPARE(fresh.StartupIndexof, 0);
}

QTEST_GUILESS_MAIN(ResetWhileRunningTest)
#include "tst_resetwhilerunning.moc"

#include "reset/ResetTool.h"

#include "support/FakeDialogs.h"
#include "support/FakeRegistry.h"
#include "support/TestEnvironment.h"

#include "platform/HiveRegistry.h"

#include <QTest>

using namespace platform;

namespace {

const QString Parent = QStringLiteral("SOFTWARE\\Sorimo Products");
const QString Key = QStringLiteral("SOFTWARE\\Sorimo Products\\Glyfaro");
const QString Question = QStringLiteral("Glyfaro 2 を、初期化してもよろしいですか？");
const QString Failure = QStringLiteral("予期せぬエラーが発生しました。強制終了します。");
const QString Success = QStringLiteral("初期化に成功しました。");

void fillSettings(FakeRegistry& registry)
{
    registry.put(RootKey::CurrentUser, Key, QStringLiteral("SampleTextSize"), QStringLiteral("81"));
    registry.put(RootKey::CurrentUser, Key, QStringLiteral("Width"), QStringLiteral("12000"));
}

bool isQuestion(const FakeDialogs::Box& box)
{
    return box.text == Question && box.style == MbYesNo + MbQuestion && box.title == "Reset";
}

bool isFailure(const FakeDialogs::Box& box)
{
    return box.text == Failure && box.style == MbCritical && box.title == "Reset";
}

bool isSuccess(const FakeDialogs::Box& box)
{
    return box.text == Success && box.style == MbInformation && box.title == "Reset";
}

} // namespace

class TestReset : public QObject {
    Q_OBJECT

private slots:
    void declineChangesNothing_data();
    void declineChangesNothing();
    void deletesOnlyTheSettingsKey();
    void secondRunReportsError();
    void missingParentReportsError();
    void failingCallStopsTheRun_data();
    void failingCallStopsTheRun();
    void runningViewerCannotRecreateKey();
};

void TestReset::declineChangesNothing_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("no") << int(AnswerNo);
    QTest::newRow("closed box") << int(AnswerCancel);
}

void TestReset::declineChangesNothing()
{
    QFETCH(int, answer);
    FakeRegistry registry;
    fillSettings(registry);
    bool touched = false;
    registry.failWhen = [&](const FakeRegistry::Call&) {
        touched = true;
        return long(RegSuccess);
    };
    FakeDialogs dialogs;
    dialogs.answers.push_back(answer);

    QCOMPARE(RunReset(registry, dialogs), 0);
    QCOMPARE(dialogs.boxes.size(), 1);
    QVERIFY(isQuestion(dialogs.boxes.at(0)));
    QVERIFY(!touched);
    QCOMPARE(registry.valueNames(RootKey::CurrentUser, Key).size(), 2);
}

void TestReset::deletesOnlyTheSettingsKey()
{
    FakeRegistry registry;
    fillSettings(registry);
    QList<FakeRegistry::Call> calls;
    registry.failWhen = [&](const FakeRegistry::Call& call) {
        calls << call;
        return long(RegSuccess);
    };
    FakeDialogs dialogs;
    dialogs.answers.push_back(AnswerYes);

    QCOMPARE(RunReset(registry, dialogs), 0);
    QVERIFY(!registry.hasKey(RootKey::CurrentUser, Key));
    QVERIFY(registry.hasKey(RootKey::CurrentUser, Parent));
    QCOMPARE(dialogs.boxes.size(), 2);
    QVERIFY(isSuccess(dialogs.boxes.at(1)));
    QCOMPARE(registry.openHandles(), 0);

    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls.at(0).op, FakeRegistry::Op::Open);
    QCOMPARE(calls.at(0).access, KeyAccess::EnumerateSubkeys);
    QCOMPARE(calls.at(1).op, FakeRegistry::Op::Delete);
    QCOMPARE(calls.at(1).name, QStringLiteral("Glyfaro"));
    QCOMPARE(calls.at(2).op, FakeRegistry::Op::Close);
}

void TestReset::secondRunReportsError()
{
    FakeRegistry registry;
    fillSettings(registry);
    FakeDialogs dialogs;

    QCOMPARE(RunReset(registry, dialogs), 0);
    QVERIFY(isSuccess(dialogs.boxes.last()));

    dialogs.boxes.clear();
    QCOMPARE(RunReset(registry, dialogs), 1);
    QCOMPARE(dialogs.boxes.size(), 2);
    QVERIFY(isFailure(dialogs.boxes.at(1)));
    QVERIFY(registry.hasKey(RootKey::CurrentUser, Parent));
}

void TestReset::missingParentReportsError()
{
    FakeRegistry registry;
    registry.addKey(RootKey::CurrentUser, QStringLiteral("SOFTWARE"));
    FakeDialogs dialogs;

    QCOMPARE(RunReset(registry, dialogs), 1);
    QCOMPARE(dialogs.boxes.size(), 2);
    QVERIFY(isFailure(dialogs.boxes.at(1)));
    QVERIFY(!registry.hasKey(RootKey::CurrentUser, Parent));
}

void TestReset::failingCallStopsTheRun_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("keyRemains");
    QTest::newRow("open denied") << int(FakeRegistry::Op::Open) << int(RegAccessDenied) << true;
    QTest::newRow("delete denied") << int(FakeRegistry::Op::Delete) << int(RegAccessDenied) << true;
    QTest::newRow("close fails") << int(FakeRegistry::Op::Close) << int(RegInvalidHandle) << false;
}

void TestReset::failingCallStopsTheRun()
{
    QFETCH(int, failing);
    QFETCH(int, status);
    QFETCH(bool, keyRemains);
    FakeRegistry registry;
    fillSettings(registry);
    QList<FakeRegistry::Op> calls;
    registry.failWhen = [&](const FakeRegistry::Call& call) {
        calls << call.op;
        return int(call.op) == failing ? long(status) : long(RegSuccess);
    };
    FakeDialogs dialogs;

    QCOMPARE(RunReset(registry, dialogs), 1);
    QCOMPARE(dialogs.boxes.size(), 2);
    QVERIFY(isFailure(dialogs.boxes.at(1)));
    QCOMPARE(registry.hasKey(RootKey::CurrentUser, Key), keyRemains);
    // Nothing runs after the failing call.
    QCOMPARE(int(calls.last()), failing);
}

void TestReset::runningViewerCannotRecreateKey()
{
    TestEnvironment environment;
    const QString hive = environment.configHome() + QStringLiteral("/glyfaro/user.reg");

    // The viewer holds its settings key open for writing while Reset runs
    // as another process with its own view of the same hive file.
    HiveRegistry viewer(hive);
    KeyHandle settings = 0;
    QCOMPARE(viewer.createKey(RootKey::CurrentUser, Key, settings), long(RegSuccess));
    QCOMPARE(viewer.setValue(settings, QStringLiteral("Width"), QStringLiteral("12000")),
             long(RegSuccess));

    HiveRegistry tool(hive);
    FakeDialogs dialogs;
    QCOMPARE(RunReset(tool, dialogs), 0);
    QVERIFY(isSuccess(dialogs.boxes.last()));

    QCOMPARE(viewer.setValue(settings, QStringLiteral("Width"), QStringLiteral("9000")),
             long(RegKeyDeleted));
    viewer.closeKey(settings);

    HiveRegistry later(hive);
    KeyHandle handle = 0;
    QCOMPARE(later.openKey(RootKey::CurrentUser, Key, KeyAccess::Read, handle), long(RegFileNotFound));
    QCOMPARE(later.openKey(RootKey::CurrentUser, Parent, KeyAccess::Read, handle), long(RegSuccess));
    later.closeKey(handle);
}

QTEST_GUILESS_MAIN(TestReset)
#include "tst_reset.moc"

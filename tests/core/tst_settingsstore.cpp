#include "TestPlatform.h"
#include "core/Messages.h"
#include "core/RegistryValues.h"
#include "core/SettingsStore.h"

#include <QtTest>

using platform::RootKey;

namespace {

const SettingsPaths Paths{QStringLiteral("/opt/glyfaro"), QStringLiteral("/")};

struct Run {
    QList<int> notices;
    NoticeSink sink() { return [this](int message) { notices << message; }; }
};

QString stored(const FakeRegistry& registry, const char* name)
{
    return registry.value(RootKey::CurrentUser, SettingsKeyPath, QLatin1String(name)).value_or(QStringLiteral("<missing>"));
}

// A key as the first run leaves it.
void firstRun(FakeRegistry& registry)
{
    Run run;
    QVERIFY(EnsureSettingsKey(registry, Paths, run.sink()).ok());
}

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunWritesTheDefaultsInOrderAndReadsThemBack();
    void existingKeyIsLeftAlone();
    void firstRunFailures_data();
    void firstRunFailures();
    void upgrades_data();
    void upgrades();
    void presetsLeaveAFolderTheUserCannotWrite_data();
    void presetsLeaveAFolderTheUserCannotWrite();
    void identityCheck_data();
    void identityCheck();
    void missingValues();
    void numbers_data();
    void numbers();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void writeBackWhenTheKeyIsGoneShowsFiveAndWritesNothing();
    void writeBackRefusedStopsAtTheFailingValue_data();
    void writeBackRefusedStopsAtTheFailingValue();
};

void SettingsStoreTest::firstRunWritesTheDefaultsInOrderAndReadsThemBack()
{
    FakeRegistry registry;
    Run run;
    QVERIFY(EnsureSettingsKey(registry, Paths, run.sink()).ok());
    QCOMPARE(run.notices, QList<int>{MessageWelcome});

    const QStringList order{"A Warning...", "ProgramNameID", "ProgramRevision", "Left", "Top", "Width",
                            "Height", "MaxWindow", "WindowState", "StartupOverall", "StartupIndexof",
                            "EndQuestion", "SampleText", "SampleTextStrings", "SampleTextSize",
                            "SampleTextColor", "AlwaysTop", "Printer", "CurrentFileCSV", "CurrentFileGFC",
                            "PreviewText", "PreviewTextStrings"};
    QCOMPARE(registry.valueNames(RootKey::CurrentUser, SettingsKeyPath), order);
    QCOMPARE(stored(registry, "A Warning..."), QStringLiteral("レジストリは変えないでください。"));
    QCOMPARE(stored(registry, "ProgramRevision"), QStringLiteral("23"));
    QCOMPARE(stored(registry, "SampleTextStrings"),
             QStringLiteral("任意の文字を入力してください。\r\nInput an optional character. "));
    QCOMPARE(stored(registry, "CurrentFileCSV"), QStringLiteral("/opt/glyfaro/*.csv"));
    QCOMPARE(stored(registry, "CurrentFileGFC"), QStringLiteral("/opt/glyfaro/*.gfc"));
    QCOMPARE(stored(registry, "PreviewTextStrings"), QStringLiteral("ABC abc 123 あいう アイウ 漢字"));
    QCOMPARE(registry.openHandles(), 0);

    Settings settings;
    settings.Width = -5; // make sure the values really come from the key
    QVERIFY(LoadSettings(registry, Paths, run.sink(), settings).ok());
    QCOMPARE(run.notices.size(), 1);
    QCOMPARE(settings.Left, 0);
    QCOMPARE(settings.Top, 0);
    QCOMPARE(settings.Width, 12000);
    QCOMPARE(settings.Height, 9000);
    QCOMPARE(settings.StartupOverall, 1);
    QCOMPARE(settings.StartupIndexof, 0);
    QCOMPARE(settings.EndQuestion, 1);
    QCOMPARE(settings.SampleTextSize, 81);
    QCOMPARE(settings.SampleTextStrings, stored(registry, "SampleTextStrings"));
    QCOMPARE(settings.CurrentFileCSV, QStringLiteral("/opt/glyfaro/*.csv"));
    QCOMPARE(settings.PreviewTextStrings, QStringLiteral("ABC abc 123 あいう アイウ 漢字"));
    QCOMPARE(registry.openHandles(), 0);
}

void SettingsStoreTest::existingKeyIsLeftAlone()
{
    FakeRegistry registry;
    firstRun(registry);
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("Left"), QStringLiteral("777"));
    registry.writeLog.clear();
    Run run;
    QVERIFY(EnsureSettingsKey(registry, Paths, run.sink()).ok());
    QVERIFY(run.notices.isEmpty());
    QVERIFY(registry.writeLog.isEmpty());
    QCOMPARE(stored(registry, "Left"), QStringLiteral("777"));
}

void SettingsStoreTest::firstRunFailures_data()
{
    QTest::addColumn<int>("failingOp");
    QTest::newRow("create") << int(FakeRegistry::Op::Create);
    QTest::newRow("open for writing") << int(FakeRegistry::Op::Open);
    QTest::newRow("write") << int(FakeRegistry::Op::Set);
    QTest::newRow("close") << int(FakeRegistry::Op::Close);
    QTest::newRow("storing the whole key") << int(FakeRegistry::Op::Commit);
}

void SettingsStoreTest::firstRunFailures()
{
    QFETCH(int, failingOp);
    FakeRegistry registry;
    registry.failWhen = [failingOp](const FakeRegistry::Call& call) -> long {
        if (int(call.op) != failingOp)
            return 0;
        // The first open (for reading) must still see the missing key.
        if (call.op == FakeRegistry::Op::Open && call.access != platform::KeyAccess::Write)
            return 0;
        return platform::RegAccessDenied;
    };
    Run run;
    const SettingsOutcome outcome = EnsureSettingsKey(registry, Paths, run.sink());
    QCOMPARE(outcome.message, MessageUnexpected);
    QCOMPARE(run.notices, QList<int>{MessageWelcome});
    // No key without its values: the next start is a first run again, not
    // a key that seems to belong to someone else.
    registry.failWhen = nullptr;
    QVERIFY(!registry.hasKey(RootKey::CurrentUser, SettingsKeyPath));
}

void SettingsStoreTest::upgrades_data()
{
    QTest::addColumn<QString>("revision");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<bool>("notice");
    QTest::newRow("2") << "2"
                       << QStringList{"ProgramRevision=23", "CurrentFileCSV=/opt/glyfaro/*.csv",
                                      "CurrentFileGFC=/opt/glyfaro/*.gfc", "PreviewText=0",
                                      "PreviewTextStrings=ABC abc 123 あいう アイウ 漢字"}
                       << true;
    QTest::newRow("22") << "22"
                        << QStringList{"ProgramRevision=23", "PreviewText=0",
                                       "PreviewTextStrings=ABC abc 123 あいう アイウ 漢字"}
                        << true;
    QTest::newRow("23") << "23" << QStringList{} << false;
    QTest::newRow("other numbers change nothing") << "5" << QStringList{} << false;
}

void SettingsStoreTest::upgrades()
{
    QFETCH(QString, revision);
    QFETCH(QStringList, written);
    QFETCH(bool, notice);
    FakeRegistry registry;
    firstRun(registry);
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("ProgramRevision"), revision);
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("CurrentFileCSV"), QStringLiteral("C:\\old.csv"));
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("PreviewText"), QStringLiteral("1"));
    registry.writeLog.clear();

    Run run;
    Settings settings;
    QVERIFY(LoadSettings(registry, Paths, run.sink(), settings).ok());
    QCOMPARE(registry.writeLog, written);
    QCOMPARE(run.notices, notice ? QList<int>{MessageUpgraded} : QList<int>{});
    QCOMPARE(registry.openHandles(), 0);
    if (notice) {
        QCOMPARE(stored(registry, "ProgramRevision"), QStringLiteral("23"));
        QCOMPARE(settings.PreviewText, 0);
    } else {
        QCOMPARE(settings.PreviewText, 1);
    }
    QCOMPARE(settings.CurrentFileCSV,
             revision == QLatin1String("2") ? QStringLiteral("/opt/glyfaro/*.csv") : QStringLiteral("C:\\old.csv"));
}

void SettingsStoreTest::presetsLeaveAFolderTheUserCannotWrite_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("documents");
    QTest::addColumn<QString>("folder");
    QTest::newRow("writable program folder") << true << "/home/user/Documents" << "/opt/glyfaro";
    QTest::newRow("installed program") << false << "/home/user/Documents" << "/home/user/Documents";
    QTest::newRow("home of /") << false << "/" << "";
    QTest::newRow("no documents folder, no home") << false << "" << "/opt/glyfaro";
}

void SettingsStoreTest::presetsLeaveAFolderTheUserCannotWrite()
{
    QFETCH(bool, writable);
    QFETCH(QString, documents);
    QFETCH(QString, folder);
    FakeSystem system;
    system.folderWritable = writable;
    system.documents = documents;
    const SettingsPaths paths = settingsPathsOf(system);

    // Both places the presets are written: the first run and the upgrade
    // from revision 2.
    FakeRegistry registry;
    Run run;
    QVERIFY(EnsureSettingsKey(registry, paths, run.sink()).ok());
    QCOMPARE(stored(registry, "CurrentFileCSV"), folder + QStringLiteral("/*.csv"));
    QCOMPARE(stored(registry, "CurrentFileGFC"), folder + QStringLiteral("/*.gfc"));

    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("ProgramRevision"), QStringLiteral("2"));
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("CurrentFileCSV"), QStringLiteral("C:\\old.csv"));
    registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("CurrentFileGFC"), QStringLiteral("C:\\old.gfc"));
    Settings settings;
    QVERIFY(LoadSettings(registry, paths, run.sink(), settings).ok());
    QCOMPARE(settings.CurrentFileCSV, folder + QStringLiteral("/*.csv"));
    QCOMPARE(settings.CurrentFileGFC, folder + QStringLiteral("/*.gfc"));
}

void SettingsStoreTest::identityCheck_data()
{
    QTest::addColumn<QString>("identity");
    QTest::addColumn<bool>("present");
    QTest::newRow("changed") << "Glyfaro2" << true;
    QTest::newRow("other case") << "glyfaro" << true;
    QTest::newRow("missing") << "" << false;
}

void SettingsStoreTest::identityCheck()
{
    QFETCH(QString, identity);
    QFETCH(bool, present);
    FakeRegistry registry;
    firstRun(registry);
    if (present)
        registry.put(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("ProgramNameID"), identity);
    else
        registry.removeValue(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("ProgramNameID"));
    Run run;
    Settings settings;
    QCOMPARE(LoadSettings(registry, Paths, run.sink(), settings).message, MessageRegistryChanged);
}

void SettingsStoreTest::missingValues()
{
    // A missing number ends the start-up with message 2.
    FakeRegistry registry;
    firstRun(registry);
    registry.removeValue(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("Printer"));
    Run run;
    Settings settings;
    QCOMPARE(LoadSettings(registry, Paths, run.sink(), settings).message, MessageUnexpected);

    // A missing text reads as unknown and the start-up goes on.
    FakeRegistry other;
    firstRun(other);
    other.removeValue(RootKey::CurrentUser, SettingsKeyPath, QStringLiteral("PreviewTextStrings"));
    QVERIFY(LoadSettings(other, Paths, run.sink(), settings).ok());
    QCOMPARE(settings.PreviewTextStrings, QStringLiteral("不明"));

    // A missing key at load time (deleted since the first-run check).
    FakeRegistry empty;
    QCOMPARE(LoadSettings(empty, Paths, run.sink(), settings).message, MessageUnexpected);
}

void SettingsStoreTest::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // INT_MIN: the value counts as missing
    QTest::newRow("plain") << "12000" << 12000;
    QTest::newRow("negative") << "-15" << -15;
    QTest::newRow("fraction rounds down") << "2.7" << 2;
    QTest::newRow("negative fraction rounds down") << "-2.5" << -3;
    QTest::newRow("blanks around") << " 42 " << 42;
    QTest::newRow("cut at NUL") << QStringLiteral("81") + QChar(0) + QStringLiteral("9") << 81;
    QTest::newRow("not a number") << "abc" << INT_MIN;
    QTest::newRow("empty") << "" << INT_MIN;
    QTest::newRow("too large for 32 bits") << "99999999999" << INT_MIN;
}

void SettingsStoreTest::numbers()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    FakeRegistry registry;
    registry.put(RootKey::CurrentUser, QStringLiteral("K"), QStringLiteral("N"), text);
    platform::KeyHandle key = 0;
    QCOMPARE(registry.openKey(RootKey::CurrentUser, QStringLiteral("K"), platform::KeyAccess::Read, key), 0L);
    const auto value = ReadRegNumber(registry, key, QStringLiteral("N"));
    if (expected == INT_MIN)
        QVERIFY(!value.has_value());
    else
        QCOMPARE(value, std::optional<std::int32_t>(expected));

    // Present but unreadable on the second query: -1.
    registry.failWhen = [](const FakeRegistry::Call& call) -> long {
        return call.op == FakeRegistry::Op::Query ? long(platform::RegAccessDenied) : 0L;
    };
    QCOMPARE(ReadRegNumber(registry, key, QStringLiteral("N")), std::optional<std::int32_t>(-1));
    QCOMPARE(ReadRegString(registry, key, QStringLiteral("N")), QStringLiteral("不明"));
}

void SettingsStoreTest::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty becomes the marker and comes back empty") << QString();
    QTest::newRow("Japanese only") << QStringLiteral("日本語だけの見本テキスト");
    QTest::newRow("lines, tabs, quotes, backslashes")
        << QStringLiteral("一行目\r\n\t\"二行目\" C:\\fonts\\ ");
}

void SettingsStoreTest::textsRoundTrip()
{
    QFETCH(QString, text);
    FakeRegistry registry;
    firstRun(registry);
    Run run;
    Settings settings;
    QVERIFY(LoadSettings(registry, Paths, run.sink(), settings).ok());
    settings.SampleTextStrings = text;
    settings.PreviewTextStrings = text;
    QVERIFY(WriteBackSettings(registry, settings).ok());
    if (text.isEmpty())
        QCOMPARE(stored(registry, "SampleTextStrings"), QStringLiteral("NonDataCode"));

    Settings reloaded;
    QVERIFY(LoadSettings(registry, Paths, run.sink(), reloaded).ok());
    ApplyEmptyTextMarkers(reloaded);
    QCOMPARE(reloaded.SampleTextStrings, text);
    QCOMPARE(reloaded.PreviewTextStrings, text);
}

void SettingsStoreTest::writeBackWhenTheKeyIsGoneShowsFiveAndWritesNothing()
{
    FakeRegistry registry;
    firstRun(registry);
    registry.removeKey(RootKey::CurrentUser, SettingsKeyPath);
    registry.writeLog.clear();
    Settings settings;
    QCOMPARE(WriteBackSettings(registry, settings).message, MessageNotSaved);
    QVERIFY(registry.writeLog.isEmpty());
    QVERIFY(!registry.hasKey(RootKey::CurrentUser, SettingsKeyPath));
}

void SettingsStoreTest::writeBackRefusedStopsAtTheFailingValue_data()
{
    QTest::addColumn<int>("failingOp");
    QTest::addColumn<QString>("failingName");
    QTest::addColumn<int>("attempted");
    QTest::newRow("one value refused") << int(FakeRegistry::Op::Set) << "SampleText" << 9; // Left .. EndQuestion
    QTest::newRow("the store refuses the whole") << int(FakeRegistry::Op::Commit) << "" << 19;
}

void SettingsStoreTest::writeBackRefusedStopsAtTheFailingValue()
{
    QFETCH(int, failingOp);
    QFETCH(QString, failingName);
    FakeRegistry registry;
    firstRun(registry);
    registry.writeLog.clear();
    registry.failWhen = [&](const FakeRegistry::Call& call) -> long {
        return int(call.op) == failingOp && call.name == failingName ? long(platform::RegWriteFault) : 0L;
    };
    Settings settings;
    settings.Left = 1500;
    QCOMPARE(WriteBackSettings(registry, settings).message, MessageUnexpected);
    QTEST(int(registry.writeLog.size()), "attempted");
    QCOMPARE(registry.writeLog.first(), QStringLiteral("Left=1500"));
    QCOMPARE(registry.openHandles(), 0);
    // The values written before the refusal are not kept either: the key
    // holds the previous write-back whole.
    QCOMPARE(stored(registry, "Left"), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"

// A process killed while it writes the settings must leave them as one whole
// write-back left them, readable by the next start without a complaint. A
// child process writes the key over and over through the real settings file;
// the test kills it at random moments and looks at what is left each time.
#include "TestEnvironment.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "platform/HiveDocument.h"
#include "platform/HiveRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using platform::HiveRegistry;
using platform::KeyAccess;
using platform::KeyHandle;
using platform::RootKey;

namespace {

const SettingsPaths Paths{QStringLiteral("/opt/glyfaro"), QStringLiteral("/")};

enum class Writer {
    // The exit's write-back, again and again.
    WriteBack,
    // Deletes the key (as the reset tool does), makes the first run's key
    // and then writes back, again and again.
    FirstRunThenWriteBack,
};

// Settings in which every value tells the generation g (1 and up) that wrote
// it, and the texts vary in length so the file does too.
Settings generation(int g)
{
    Settings s;
    s.Left = g;
    s.Top = -g;
    s.Width = 3 * g;
    s.Height = g + 7;
    s.MaxWindow = g % 2;
    s.WindowState = g % 3;
    s.StartupOverall = g + 1;
    s.StartupIndexof = g + 2;
    s.EndQuestion = g + 3;
    s.SampleText = g + 4;
    s.SampleTextStrings = QStringLiteral("見本 %1\r\n").arg(g) + QString(g % 97, QChar(u'字'));
    s.SampleTextSize = g + 5;
    s.SampleTextColor = g + 6;
    s.AlwaysTop = g + 8;
    s.Printer = g + 9;
    s.CurrentFileCSV = QStringLiteral("/tmp/%1.csv").arg(g);
    s.CurrentFileGFC = QStringLiteral("/tmp/%1.gfc").arg(g);
    s.PreviewText = g + 10;
    // Every fifth one clears the text, so the empty-text marker is written.
    s.PreviewTextStrings = g % 5 == 0 ? QString() : QStringLiteral("プレビュー %1").arg(g);
    return s;
}

bool sameSettings(const Settings& a, const Settings& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height
        && a.MaxWindow == b.MaxWindow && a.WindowState == b.WindowState
        && a.StartupOverall == b.StartupOverall && a.StartupIndexof == b.StartupIndexof
        && a.EndQuestion == b.EndQuestion && a.SampleText == b.SampleText
        && a.SampleTextStrings == b.SampleTextStrings && a.SampleTextSize == b.SampleTextSize
        && a.SampleTextColor == b.SampleTextColor && a.AlwaysTop == b.AlwaysTop && a.Printer == b.Printer
        && a.CurrentFileCSV == b.CurrentFileCSV && a.CurrentFileGFC == b.CurrentFileGFC
        && a.PreviewText == b.PreviewText && a.PreviewTextStrings == b.PreviewTextStrings;
}

// The generation the settings were written by, 0 for the first run's
// defaults, -1 for values of different write-backs.
int generationOf(const Settings& settings)
{
    Settings defaults;
    defaults.SampleTextStrings = QStringLiteral("任意の文字を入力してください。\r\nInput an optional character. ");
    defaults.CurrentFileCSV = Paths.defaultCsv();
    defaults.CurrentFileGFC = Paths.defaultGfc();
    defaults.PreviewTextStrings = QStringLiteral("ABC abc 123 あいう アイウ 漢字");
    if (sameSettings(settings, defaults))
        return 0;
    const int g = settings.Left;
    return g > 0 && sameSettings(settings, generation(g)) ? g : -1;
}

// The child's loop: writes generation after generation and reports each one
// stored through the pipe. It ends when the test that started it is gone.
[[noreturn]] void writeForever(const QString& hive, Writer writer, int first, int report)
{
    const pid_t parent = ::getppid();
    HiveRegistry registry(hive);
    for (int g = first; ::getppid() == parent; ++g) {
        if (writer == Writer::FirstRunThenWriteBack) {
            KeyHandle products = 0;
            if (registry.openKey(RootKey::CurrentUser, QStringLiteral("SOFTWARE\\Sorimo Products"),
                                 KeyAccess::EnumerateSubkeys, products) == platform::RegSuccess) {
                registry.deleteKey(products, QStringLiteral("Glyfaro"));
                registry.closeKey(products);
            }
            if (!EnsureSettingsKey(registry, Paths, [](int) {}).ok())
                ::_exit(3);
        }
        if (!WriteBackSettings(registry, generation(g)).ok())
            ::_exit(2);
        if (::write(report, &g, sizeof g) != sizeof g)
            ::_exit(4);
    }
    ::_exit(0);
}

// The last generation the child reported as stored; 0 when none.
int lastReported(int fd)
{
    int last = 0;
    int g = 0;
    while (::read(fd, &g, sizeof g) == sizeof g)
        last = g;
    return last;
}

struct Start {
    QString damage;
    QList<int> notices;
    int ensured = -1;
    int loaded = -1;
    Settings settings;
};

// What the viewer's start-up does with the settings file, in its order.
Start startUp(const QString& hive)
{
    HiveRegistry registry(hive);
    Start start;
    start.damage = registry.takeDamageReport();
    const NoticeSink notice = [&](int message) { start.notices << message; };
    start.ensured = EnsureSettingsKey(registry, Paths, notice).message;
    if (start.ensured < 0)
        start.loaded = LoadSettings(registry, Paths, notice, start.settings).message;
    ApplyEmptyTextMarkers(start.settings);
    return start;
}

QStringList temporaryFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::Hidden);
}

void sleepMicroseconds(long microseconds)
{
    const timespec pause{microseconds / 1000000, (microseconds % 1000000) * 1000};
    ::nanosleep(&pause, nullptr);
}

} // namespace

class SettingsCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesOneWholeWriteBack_data();
    void killedWriterLeavesOneWholeWriteBack();
    void leftoverTemporaryFilesAreRemovedAtTheNextStart();
};

void SettingsCrashTest::killedWriterLeavesOneWholeWriteBack_data()
{
    QTest::addColumn<int>("writerRow");
    QTest::addColumn<int>("kills");
    QTest::newRow("write-back at exit") << int(Writer::WriteBack) << 1000;
    QTest::newRow("first run, then write-back") << int(Writer::FirstRunThenWriteBack) << 300;
}

void SettingsCrashTest::killedWriterLeavesOneWholeWriteBack()
{
    QFETCH(int, writerRow);
    const auto writer = Writer(writerRow);
    QFETCH(int, kills);
    TestEnvironment environment;
    const QString folder = environment.configHome() + QStringLiteral("/glyfaro");
    const QString hive = folder + QStringLiteral("/user.reg");
    QCOMPARE(startUp(hive).notices, QList<int>{MessageWelcome});

    // How long one write-back takes here, so that the kills fall inside the
    // writing and not mostly into the pauses before it.
    long period = 0;
    {
        HiveRegistry registry(hive);
        QElapsedTimer timer;
        timer.start();
        for (int g = 1; g <= 20; ++g)
            QVERIFY(WriteBackSettings(registry, generation(g)).ok());
        period = std::max<long>(50, long(timer.nsecsElapsed() / 1000 / 20));
    }

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u, one write-back takes %ld us", seed, period);
    QRandomGenerator random(seed);
    int last = 20; // the newest generation known to be stored
    int leftovers = 0;
    int betweenWrites = 0;
    for (int kill = 0; kill < kills; ++kill) {
        int report[2];
        QCOMPARE(::pipe2(report, O_CLOEXEC), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(report[0]);
            writeForever(hive, writer, last + 1, report[1]);
        }
        ::close(report[1]);
        sleepMicroseconds(long(random.bounded(quint32(4 * period))));
        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status), "the writer ended on its own");
        ::fcntl(report[0], F_SETFL, O_NONBLOCK);
        const int reported = lastReported(report[0]);
        ::close(report[0]);

        // What the kill left: a file that parses, whatever else lies beside it.
        QFile file(hive);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(platform::HiveDocument::parse(file.readAll()).has_value(), qPrintable(QString::number(kill)));
        file.close();
        const QStringList temporary = temporaryFiles(folder);
        leftovers += temporary.isEmpty() ? 0 : 1;

        const Start start = startUp(hive);
        const QString where = QStringLiteral("kill %1, reported %2").arg(kill).arg(reported);
        QVERIFY2(start.damage.isEmpty(), qPrintable(where));
        QVERIFY2(!start.notices.contains(MessageRegistryChanged) && start.ensured < 0 && start.loaded < 0,
                 qPrintable(where));
        QVERIFY2(temporaryFiles(folder).isEmpty(), qPrintable(where + QStringLiteral(": ") + temporary.join(' ')));
        const int found = generationOf(start.settings);
        QVERIFY2(found >= 0, qPrintable(where + QStringLiteral(": a mix of write-backs")));
        if (writer == Writer::WriteBack) {
            // Old or new: the last one stored before the kill, or the one it
            // was writing; never one the kill should have undone.
            const int before = std::max(last, reported);
            QVERIFY2(found == before || found == before + 1,
                     qPrintable(where + QStringLiteral(", found %1").arg(found)));
            betweenWrites += found == before ? 1 : 0;
        } else if (found > 0) {
            QVERIFY2(found >= reported && found <= std::max(last, reported) + 1,
                     qPrintable(where + QStringLiteral(", found %1").arg(found)));
        }
        last = std::max({last, reported, found});
    }
    qInfo("%d kills, %d left a temporary file, %d fell between stores", kills, leftovers, betweenWrites);
}

void SettingsCrashTest::leftoverTemporaryFilesAreRemovedAtTheNextStart()
{
    TestEnvironment environment;
    const QString folder = environment.configHome() + QStringLiteral("/glyfaro");
    const QString hive = folder + QStringLiteral("/user.reg");
    QCOMPARE(startUp(hive).notices, QList<int>{MessageWelcome});
    {
        HiveRegistry registry(hive);
        QVERIFY(WriteBackSettings(registry, generation(7)).ok());
    }
    // What a writer killed before its rename leaves: a temporary file of the
    // hive's own name, and one of another program's that must stay.
    for (const char* name : {"user.reg.tmp-a1B2c3", "user.reg.tmp-000000", "other.tmp-a1B2c3"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWA");
    }
    const Start start = startUp(hive);
    QVERIFY(start.notices.isEmpty());
    QCOMPARE(generationOf(start.settings), 7);
    QCOMPARE(temporaryFiles(folder), QStringList{QStringLiteral("other.tmp-a1B2c3")});
}

QTEST_GUILESS_MAIN(SettingsCrashTest)
#include "tst_settingscrash.moc"

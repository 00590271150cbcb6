#include "support/TestEnvironment.h"
#include "platform/LinuxSystem.h"
#include "platform/SystemFacts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fontconfig/fontconfig.h>

using namespace platform;

Q_DECLARE_METATYPE(std::optional<platform::VersionRecord>)

class TestLinuxSystem : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase()
    {
        // fontconfig keeps its configuration until told to let go; without
        // this the leak checker of sanitized builds reports it.
        FcFini();
    }
    void init() { m_environment.emplace(); }
    void cleanup() { m_environment.reset(); }

    void kernelReleaseGivesTheVersion_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<uint>("build");
        QTest::newRow("Debian") << "6.1.0-18-amd64" << true << 6u << 1u << 0u;
        QTest::newRow("two-digit parts") << "5.15.133.1-microsoft-standard-WSL2" << true << 5u << 15u << 133u;
        QTest::newRow("no build") << "6.8-rc1" << true << 6u << 8u << 0u;
        QTest::newRow("major only") << "7" << true << 7u << 0u << 0u;
        QTest::newRow("trailing dot") << "4.19." << true << 4u << 19u << 0u;
        QTest::newRow("letters first") << "v6.1" << false << 0u << 0u << 0u;
        QTest::newRow("empty") << "" << false << 0u << 0u << 0u;
        QTest::newRow("too large") << "99999999999.1" << false << 0u << 0u << 0u;
    }
    void kernelReleaseGivesTheVersion()
    {
        QFETCH(QString, release);
        QFETCH(bool, valid);
        const auto version = parseKernelRelease(release);
        QCOMPARE(version.has_value(), valid);
        if (!version)
            return;
        QTEST(uint(version->major), "major");
        QTEST(uint(version->minor), "minor");
        QTEST(uint(version->build), "build");
        QCOMPARE(version->platformId, PlatformLinux);
    }

    void runningSystemFacts()
    {
        LinuxSystem system;
        const auto version = system.version();
        QVERIFY(version.has_value());
        QCOMPARE(version->platformId, PlatformLinux);
        QVERIFY(version->major >= 2);
        QVERIFY(system.totalPhysicalMemory() > (64ull << 20));
        QVERIFY(system.windowsExtension());
        QCOMPARE(system.pathSeparator(), QStringLiteral("/"));
        QCOMPARE(system.programFolder(), QCoreApplication::applicationDirPath());
        // The test programs live in the build tree, which the build wrote.
        QVERIFY(system.programFolderWritable());
    }

    void documentsFolderFromTheUserFolders_data()
    {
        QTest::addColumn<QByteArray>("userDirs");
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("expected");
        QTest::newRow("named and present") << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/書類\"\n") << true << "/書類";
        QTest::newRow("named, not created") << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/書類\"\n") << false << "";
        QTest::newRow("not named, no ~/Documents") << QByteArray() << false << "";
    }
    void documentsFolderFromTheUserFolders()
    {
        QFETCH(QByteArray, userDirs);
        QFETCH(bool, create);
        QFETCH(QString, expected);
        const QString home = m_environment->root() + QStringLiteral("/home");
        QVERIFY(QDir().mkpath(home));
        if (create)
            QVERIFY(QDir().mkpath(home + expected));
        QFile file(m_environment->configHome() + QStringLiteral("/user-dirs.dirs"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(userDirs);
        file.close();
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home));
        const QString folder = LinuxSystem().documentsFolder();
        qputenv("HOME", savedHome);
        QCOMPARE(folder, home + expected);
    }

    void osReleaseNamesTheProduct_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("quoted") << QByteArray("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n")
                                << "Debian GNU/Linux 12 (bookworm)";
        QTest::newRow("unquoted") << QByteArray("PRETTY_NAME=Arch\n") << "Arch";
        QTest::newRow("single quotes") << QByteArray("PRETTY_NAME='Fedora \"X\"'\n") << "Fedora \"X\"";
        QTest::newRow("escaped") << QByteArray("PRETTY_NAME=\"A \\\"B\\\" C\"\n") << "A \"B\" C";
        QTest::newRow("UTF-8") << QByteArray("PRETTY_NAME=\"日本 Linux\"") << "日本 Linux";
        QTest::newRow("missing") << QByteArray("NAME=Foo\n") << "Linux";
        QTest::newRow("commented out") << QByteArray("#PRETTY_NAME=\"X\"\n") << "Linux";
    }
    void osReleaseNamesTheProduct()
    {
        QFETCH(QByteArray, text);
        QTEST(prettyNameFromOsRelease(text), "name");
    }

    void ownerComesFromThePasswordEntry_data()
    {
        QTest::addColumn<QString>("gecos");
        QTest::addColumn<QString>("owner");
        QTest::newRow("full name with office") << "Taro Yamada,Room 1,555-1234,," << "Taro Yamada";
        QTest::newRow("full name only") << "山田 太郎" << "山田 太郎";
        QTest::newRow("empty") << "" << "taro";
        QTest::newRow("commas only") << ",,," << "taro";
    }
    void ownerComesFromThePasswordEntry()
    {
        QFETCH(QString, gecos);
        QTEST(ownerFromPasswordEntry(gecos, QStringLiteral("taro")), "owner");
    }

    void secondCopyIsRefusedAndTheLockKeptForTheRun()
    {
        QCOMPARE(LinuxSystem::instanceLockPath(), m_environment->runtimeDir() + QStringLiteral("/glyfaro2.lock"));
        LinuxSystem first;
        QVERIFY(!first.previousInstanceRunning());
        QVERIFY(!first.previousInstanceRunning());
        QVERIFY(QFile::exists(LinuxSystem::instanceLockPath()));
        {
            LinuxSystem second;
            QVERIFY(second.previousInstanceRunning());
        }
        // The refused copy must not have taken the lock away.
        LinuxSystem third;
        QVERIFY(third.previousInstanceRunning());
    }

    void secondCopyIsRefusedWithoutAUsableRuntimeFolder_data()
    {
        QTest::addColumn<QByteArray>("runtimeDir");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("no such folder") << QByteArray("/nonexistent/runtime");
        // Refuses new files even to root, as CI runs.
        QTest::newRow("not writable") << QByteArray("/proc");
    }
    void secondCopyIsRefusedWithoutAUsableRuntimeFolder()
    {
        QFETCH(QByteArray, runtimeDir);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray savedTemp = qgetenv("TMPDIR");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
            if (savedTemp.isNull())
                qunsetenv("TMPDIR");
            else
                qputenv("TMPDIR", savedTemp);
        });
        if (runtimeDir.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", runtimeDir);
        qputenv("TMPDIR", QFile::encodeName(temp.path()));

        LinuxSystem first;
        QVERIFY(!first.previousInstanceRunning());
        QVERIFY(QFile::exists(LinuxSystem::fallbackLockPath()));
        QVERIFY(LinuxSystem::fallbackLockPath().startsWith(temp.path()));
        LinuxSystem second;
        QVERIFY(second.previousInstanceRunning());
    }

    void lockOfAProcessThatIsGoneIsRecovered()
    {
        QProcess finished;
        finished.start(QStringLiteral("/bin/true"));
        QVERIFY(finished.waitForStarted());
        const qint64 deadPid = finished.processId();
        QVERIFY(finished.waitForFinished());
        QVERIFY(deadPid > 0);
        QFile lock(LinuxSystem::instanceLockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + '\n'
                   + QCoreApplication::applicationName().toUtf8() + '\n'
                   + QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();

        LinuxSystem system;
        QVERIFY(!system.previousInstanceRunning());
    }

    void fontsFolderFollowsDataHomeAndIsNotCreated()
    {
        LinuxSystem system;
        const auto folder = system.fontsFolder();
        QVERIFY(folder.has_value());
        QCOMPARE(*folder, m_environment->dataHome() + QStringLiteral("/fonts"));
        QVERIFY(!QFileInfo::exists(*folder));
    }

    void smoothingSwitchLastsForTheRun()
    {
        LinuxSystem system;
        bool on = false;
        QVERIFY(system.fontSmoothing(on));
        const bool initial = on;
        QVERIFY(system.setFontSmoothing(!initial));
        QVERIFY(system.fontSmoothing(on));
        QCOMPARE(on, !initial);
        QVERIFY(LinuxSystem().fontSmoothing(on));
        QCOMPARE(on, initial);
    }

private:
    std::optional<TestEnvironment> m_environment;
};

QTEST_GUILESS_MAIN(TestLinuxSystem)
#include "tst_linuxsystem.moc"

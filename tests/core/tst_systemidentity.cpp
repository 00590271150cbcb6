#include "TestPlatform.h"
#include "core/Messages.h"
#include "core/SystemIdentity.h"

#include <QtTest>

using platform::RootKey;
using platform::VersionRecord;

class SystemIdentityTest : public QObject {
    Q_OBJECT

private slots:
    void identify_data();
    void identify();
    void describe_data();
    void describe();
    void missingTextsReadUnknown();
    void smoothing();
};

void SystemIdentityTest::identify_data()
{
    QTest::addColumn<quint32>("platformId");
    QTest::addColumn<quint32>("minor");
    QTest::addColumn<quint32>("build");
    QTest::addColumn<bool>("extension");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("osr2");
    QTest::addColumn<int>("smoothing");
    QTest::addColumn<QString>("keyPath");
    const QString w9x = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
    const QString nt = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    QTest::newRow("Win32s") << 0u << 0u << 0u << true << 1 << "" << 0 << 0 << "";
    QTest::newRow("95 build 950") << 1u << 0u << 950u << false << -1 << "WIndows 95" << 0 << 0 << w9x;
    QTest::newRow("95 build 1111") << 1u << 0u << 1111u << true << -1 << "WIndows 95" << 1 << 1 << w9x;
    // Only the low word of the build counts, read as a signed number.
    QTest::newRow("95 high word ignored") << 1u << 0u << 0x04000457u << true << -1 << "WIndows 95" << 1 << 1 << w9x;
    QTest::newRow("95 negative low word") << 1u << 0u << 0x0000FFFFu << true << -1 << "WIndows 95" << 0 << 1 << w9x;
    QTest::newRow("98") << 1u << 10u << 1998u << false << -1 << "WIndows 98" << 0 << 1 << w9x;
    QTest::newRow("NT") << 2u << 0u << 1381u << false << -1 << "Windows NT" << 0 << 1 << nt;
    QTest::newRow("Linux") << 3u << 1u << 0u << false << -1 << "Linux" << 0 << 1 << nt;
    QTest::newRow("unknown") << 9u << 0u << 0u << true << -1 << "" << 0 << 0 << "";
}

void SystemIdentityTest::identify()
{
    QFETCH(quint32, platformId);
    QFETCH(quint32, minor);
    QFETCH(quint32, build);
    QFETCH(bool, extension);
    QFETCH(int, refusal);
    FakeSystem system;
    system.extension = extension;
    SystemInfo info;
    const PlatformCheck check = IdentifyPlatform(VersionRecord{4, minor, build, platformId}, system, info);
    QCOMPARE(check.refusal, refusal);
    QTEST(info.OsFamily, "family");
    QTEST(int(info.IsOsr2), "osr2");
    QTEST(int(info.SmoothingSupported), "smoothing");
    QTEST(info.WindowsKeyPath, "keyPath");
}

void SystemIdentityTest::describe_data()
{
    QTest::addColumn<quint32>("platformId");
    QTest::addColumn<quint32>("major");
    QTest::addColumn<quint32>("build");
    QTest::addColumn<QString>("description");
    QTest::newRow("95") << 1u << 4u << 950u << "Microsoft Windows 95";
    QTest::newRow("95 OSR2") << 1u << 4u << 1111u << "Microsoft Windows 95 (OSR2)";
    QTest::newRow("NT 4.0 service pack") << 2u << 4u << 1381u << "Windows NT 4.0(Service Pack 6)";
    QTest::newRow("NT 5") << 2u << 5u << 2195u << "Microsoft Windows 95";
    // A Linux kernel of major version 4 is no NT 4.0.
    QTest::newRow("Linux 4.x") << 3u << 4u << 0u << "Microsoft Windows 95";
}

void SystemIdentityTest::describe()
{
    QFETCH(quint32, platformId);
    QFETCH(quint32, major);
    QFETCH(quint32, build);
    QFETCH(QString, description);
    FakeSystem system;
    FakeRegistry registry;
    SystemInfo info;
    const VersionRecord version{major, 0, build, platformId};
    IdentifyPlatform(version, system, info);
    registry.put(RootKey::LocalMachine, info.WindowsKeyPath, QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 95"));
    registry.put(RootKey::LocalMachine, info.WindowsKeyPath, QStringLiteral("CSDVersion"), QStringLiteral("Service Pack 6"));
    registry.put(RootKey::LocalMachine, info.WindowsKeyPath, QStringLiteral("RegisteredOwner"), QStringLiteral("山田 太郎"));
    QCOMPARE(DescribeSystem(registry, version, info), -1);
    QCOMPARE(info.OsDescription, description);
    QCOMPARE(info.OwnerName, QStringLiteral("山田 太郎"));
    QCOMPARE(info.OrganizationName, QStringLiteral("不明"));
    QCOMPARE(registry.openHandles(), 0);
}

void SystemIdentityTest::missingTextsReadUnknown()
{
    FakeSystem system;
    FakeRegistry registry;
    SystemInfo info;
    const VersionRecord version{4, 0, 1381, 2};
    IdentifyPlatform(version, system, info);
    // The key itself is missing: message 2.
    QCOMPARE(DescribeSystem(registry, version, info), MessageUnexpected);
    registry.addKey(RootKey::LocalMachine, info.WindowsKeyPath);
    QCOMPARE(DescribeSystem(registry, version, info), -1);
    QCOMPARE(info.OsDescription, QStringLiteral("Windows NT 4.0(不明)"));
    registry.failWhen = [](const FakeRegistry::Call& call) -> long {
        return call.op == FakeRegistry::Op::Close ? long(platform::RegInvalidHandle) : 0L;
    };
    QCOMPARE(DescribeSystem(registry, version, info), MessageUnexpected);
}

void SystemIdentityTest::smoothing()
{
    FakeSystem system;
    SystemInfo info;
    info.SmoothingSupported = 1;
    system.smoothingOn = true;
    QCOMPARE(ReadSmoothingState(system, info), -1);
    QCOMPARE(info.SmoothingOn, 1);
    system.smoothingQueryWorks = false;
    QCOMPARE(ReadSmoothingState(system, info), MessageUnexpected);
    // Not supported: the query is not made and the state stays off.
    SystemInfo unsupported;
    QCOMPARE(ReadSmoothingState(system, unsupported), -1);
    QCOMPARE(unsupported.SmoothingOn, 0);
}

QTEST_GUILESS_MAIN(SystemIdentityTest)
#include "tst_systemidentity.moc"

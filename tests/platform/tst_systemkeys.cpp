#include "support/TestEnvironment.h"
#include "platform/HiveRegistry.h"
#include "platform/SystemFacts.h"

#include <QFile>
#include <QTest>

#include <fontconfig/fontconfig.h>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString FontsKey = WindowsKey + QStringLiteral("\\Fonts");

QString read(Registry& registry, KeyHandle key, const QString& name, long* status = nullptr)
{
    QString data;
    const long result = registry.queryValue(key, name, data);
    if (status)
        *status = result;
    return result == RegSuccess ? data : QStringLiteral("<missing>");
}

struct SyntheticFont {
    QString file;
    QString name;
    QString japaneseName;
};

QList<SyntheticFont> syntheticFonts()
{
    QList<SyntheticFont> fonts;
    QFile table(TestEnvironment::syntheticFontsDir() + QStringLiteral("/names.tsv"));
    if (!table.open(QIODevice::ReadOnly))
        return fonts;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 4)
            fonts.append({QString::fromUtf8(fields[0]), QString::fromUtf8(fields[2]), QString::fromUtf8(fields[3])});
    }
    return fonts;
}

} // namespace

class TestSystemKeys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Before anything asks fontconfig for fonts in this process.
        TestEnvironment::useSyntheticFonts();
    }
    void cleanupTestCase()
    {
        // fontconfig keeps its configuration until told to let go; without
        // this the leak checker of sanitized builds reports it.
        FcFini();
    }
    void init() { m_environment.emplace(); }
    void cleanup() { m_environment.reset(); }

    void windowsKeyHoldsTheSystemFacts()
    {
        HiveRegistry registry(HiveRegistry::defaultHivePath(), nullptr,
                              MachineKeys::Facts{QStringLiteral("Debian GNU/Linux 12 (bookworm)"),
                                                 QStringLiteral("6.1.0-18-amd64"), QStringLiteral("山田 太郎")});
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::LocalMachine, WindowsKey.toUpper(), KeyAccess::Read, key), long(RegSuccess));
        QCOMPARE(read(registry, key, QStringLiteral("ProductName")), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
        QCOMPARE(read(registry, key, QStringLiteral("csdversion")), QStringLiteral("6.1.0-18-amd64"));
        QCOMPARE(read(registry, key, QStringLiteral("RegisteredOwner")), QStringLiteral("山田 太郎"));
        long status = RegSuccess;
        read(registry, key, QStringLiteral("RegisteredOrganization"), &status);
        QCOMPARE(status, long(RegFileNotFound));
    }

    void runningSystemFillsTheWindowsKey()
    {
        HiveRegistry registry(HiveRegistry::defaultHivePath(), nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::LocalMachine, WindowsKey, KeyAccess::Read, key), long(RegSuccess));
        QCOMPARE(read(registry, key, QStringLiteral("ProductName")), operatingSystemName());
        QCOMPARE(read(registry, key, QStringLiteral("CSDVersion")), kernelRelease());
        QVERIFY(!read(registry, key, QStringLiteral("RegisteredOwner")).isEmpty());
    }

    void machineKeysAreReadOnly()
    {
        HiveRegistry registry(HiveRegistry::defaultHivePath(), nullptr);
        KeyHandle key = 0;
        for (const QString& path : {QStringLiteral("SOFTWARE"), QStringLiteral("SOFTWARE\\Microsoft"),
                                    QStringLiteral("SOFTWARE\\Microsoft\\Windows NT"), WindowsKey, FontsKey}) {
            QCOMPARE(registry.openKey(RootKey::LocalMachine, path, KeyAccess::Read, key), long(RegSuccess));
            QCOMPARE(registry.openKey(RootKey::LocalMachine, path, KeyAccess::Write, key), long(RegAccessDenied));
            QCOMPARE(registry.createKey(RootKey::LocalMachine, path, key), long(RegAccessDenied));
        }
        QCOMPARE(registry.openKey(RootKey::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion"),
                                  KeyAccess::Read, key), long(RegFileNotFound));
        QCOMPARE(registry.openKey(RootKey::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft"), KeyAccess::Read, key),
                 long(RegSuccess));
        QCOMPARE(registry.deleteKey(key, QStringLiteral("Windows NT\\CurrentVersion\\Fonts")), long(RegAccessDenied));
        QCOMPARE(registry.createKey(RootKey::LocalMachine, QStringLiteral("SOFTWARE\\Sorimo Products"), key),
                 long(RegAccessDenied));
    }

    void fontsKeyNamesEverySyntheticFace()
    {
        const QList<SyntheticFont> fonts = syntheticFonts();
        QCOMPARE(fonts.size(), 64);

        HiveRegistry registry(HiveRegistry::defaultHivePath());
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::LocalMachine, FontsKey, KeyAccess::Read, key), long(RegSuccess));
        QSet<QString> names;
        QString name;
        for (std::uint32_t i = 0; registry.enumValueName(key, i, 1024, name) == RegSuccess; ++i)
            names.insert(name);

        const QString folder = TestEnvironment::syntheticFontsDir() + QStringLiteral("/fonts/");
        for (const SyntheticFont& font : fonts) {
            const QString entry = (font.japaneseName.isEmpty() ? font.name
                                                               : font.name + QStringLiteral(" & ") + font.japaneseName)
                + QStringLiteral(" (TrueType)");
            QVERIFY2(names.contains(entry), qPrintable(entry));
            QCOMPARE(read(registry, key, entry), folder + font.file);
        }
        // Names that differ only in case each lead to their own file.
        QVERIFY(read(registry, key, QStringLiteral("CaseDup Synth (TrueType)"))
                != read(registry, key, QStringLiteral("casedup synth (TrueType)")));
        long status = RegSuccess;
        read(registry, key, QStringLiteral("No Such Font (TrueType)"), &status);
        QCOMPARE(status, long(RegFileNotFound));
    }

private:
    std::optional<TestEnvironment> m_environment;
};

QTEST_GUILESS_MAIN(TestSystemKeys)
#include "tst_systemkeys.moc"

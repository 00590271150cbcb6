#include "support/TestEnvironment.h"
#include "platform/HiveRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

const QString SettingsKey = QStringLiteral("SOFTWARE\\Sorimo Products\\Glyfaro");
const QString ParentKey = QStringLiteral("SOFTWARE\\Sorimo Products");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestHiveRegistry : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_environment.emplace();
        m_hive = HiveRegistry::defaultHivePath();
    }
    void cleanup() { m_environment.reset(); }

    void defaultPathFollowsConfigHome()
    {
        QCOMPARE(m_hive, m_environment->configHome() + QStringLiteral("/glyfaro/user.reg"));
    }

    void textsRoundTripThroughTheFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF") << QStringLiteral("任意の文字を入力してください。\r\nInput an optional character. ");
        QTest::newRow("lone CR") << QStringLiteral("a\rb\r");
        QTest::newRow("TAB") << QStringLiteral("\tA\t0 Fonts");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\" \"");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Fonts\\*.csv\\");
        QTest::newRow("escape-like") << QStringLiteral("\\\"\\\\\"");
        QTest::newRow("Japanese") << QStringLiteral("ABC abc 123 あいう アイウ 漢字 ﾊﾝｶｸ");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("  ");
        QTest::newRow("NUL inside") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("long with LF") << QString(QStringLiteral("x")).repeated(300) + QStringLiteral("\n");
        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80 ok");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("z");
        QTest::newRow("bracket line") << QStringLiteral("[HKEY_CURRENT_USER\\X]");
    }
    void textsRoundTripThroughTheFile()
    {
        QFETCH(QString, text);
        {
            HiveRegistry registry(m_hive, nullptr);
            KeyHandle key = 0;
            QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
            QCOMPARE(registry.setValue(key, QStringLiteral("SampleTextStrings"), text), long(RegSuccess));
            QCOMPARE(registry.setValue(key, QStringLiteral("After"), QStringLiteral("1")), long(RegSuccess));
        }
        HiveRegistry fresh(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, key), long(RegSuccess));
        QString read = QStringLiteral("unset");
        QCOMPARE(fresh.queryValue(key, QStringLiteral("SampleTextStrings"), read), long(RegSuccess));
        QCOMPARE(read, text);
        QCOMPARE(fresh.queryValue(key, QStringLiteral("After"), read), long(RegSuccess));
        QCOMPARE(read, QStringLiteral("1"));
        QVERIFY(fresh.takeDamageReport().isEmpty());
    }

    void fileHasTheRegistryTextForm()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("ProgramNameID"), QStringLiteral("Glyfaro")), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("Path"), QStringLiteral("a\\\"b")), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("T"), QStringLiteral("a\rb")), long(RegSuccess));
        QCOMPARE(readAll(m_hive),
                 QByteArray("Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
                            "[HKEY_CURRENT_USER\\SOFTWARE\\Sorimo Products]\n\n"
                            "[HKEY_CURRENT_USER\\SOFTWARE\\Sorimo Products\\Glyfaro]\n"
                            "\"ProgramNameID\"=\"Glyfaro\"\n"
                            "\"Path\"=\"a\\\\\\\"b\"\n"
                            "\"T\"=hex(1):61,00,0d,00,62,00,00,00\n\n"));
    }

    void valuesKeepOrderAndCase()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        for (const char* name : {"Left", "Top", "Width", "A Warning..."})
            QCOMPARE(registry.setValue(key, QString::fromLatin1(name), QStringLiteral("0")), long(RegSuccess));
        // Writing through another spelling replaces the value in place.
        QCOMPARE(registry.setValue(key, QStringLiteral("TOP"), QStringLiteral("15")), long(RegSuccess));

        HiveRegistry fresh(m_hive, nullptr);
        KeyHandle read = 0;
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, SettingsKey.toLower(), KeyAccess::Read, read),
                 long(RegSuccess));
        QStringList names;
        QString name;
        for (std::uint32_t i = 0; fresh.enumValueName(read, i, 1024, name) == RegSuccess; ++i)
            names << name;
        QCOMPARE(names, (QStringList{"Left", "Top", "Width", "A Warning..."}));
        QString data;
        QCOMPARE(fresh.queryValue(read, QStringLiteral("top"), data), long(RegSuccess));
        QCOMPARE(data, QStringLiteral("15"));
    }

    void callsGiveTheWin32Results()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, key),
                 long(RegFileNotFound));
        QVERIFY(!QFile::exists(m_hive)); // looking creates nothing

        KeyHandle writer = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, writer), long(RegSuccess));
        QCOMPARE(registry.setValue(writer, QStringLiteral("Printer"), QStringLiteral("0")), long(RegSuccess));

        KeyHandle reader = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, reader), long(RegSuccess));
        QCOMPARE(registry.setValue(reader, QStringLiteral("Printer"), QStringLiteral("1")), long(RegAccessDenied));

        QString data;
        std::uint32_t size = 0;
        QCOMPARE(registry.queryValue(reader, QStringLiteral("Missing"), data), long(RegFileNotFound));
        QCOMPARE(registry.queryValueSize(reader, QStringLiteral("Missing"), size), long(RegFileNotFound));
        QCOMPARE(registry.queryValueSize(reader, QStringLiteral("Printer"), size), long(RegSuccess));
        QCOMPARE(size, 2u);

        QString name;
        QCOMPARE(registry.enumValueName(reader, 0, 7, name), long(RegMoreData));
        QCOMPARE(registry.enumValueName(reader, 0, 8, name), long(RegSuccess));
        QCOMPARE(name, QStringLiteral("Printer"));
        QCOMPARE(registry.enumValueName(reader, 1, 1024, name), long(RegNoMoreItems));

        QCOMPARE(registry.closeKey(reader), long(RegSuccess));
        QCOMPARE(registry.closeKey(reader), long(RegInvalidHandle));
        QCOMPARE(registry.queryValue(reader, QStringLiteral("Printer"), data), long(RegInvalidHandle));
        QCOMPARE(registry.closeKey(writer), long(RegSuccess));
    }

    void deleteKeyRemovesOnlyALeafAndKeepsTheParent()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("Left"), QStringLiteral("0")), long(RegSuccess));

        KeyHandle software = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, QStringLiteral("software"), KeyAccess::EnumerateSubkeys,
                                  software), long(RegSuccess));
        QCOMPARE(registry.deleteKey(software, QStringLiteral("Sorimo Products")), long(RegAccessDenied));

        KeyHandle parent = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, ParentKey, KeyAccess::EnumerateSubkeys, parent),
                 long(RegSuccess));
        QCOMPARE(registry.deleteKey(parent, QStringLiteral("GLYFARO")), long(RegSuccess));
        QCOMPARE(registry.deleteKey(parent, QStringLiteral("Glyfaro")), long(RegFileNotFound));

        HiveRegistry fresh(m_hive, nullptr);
        KeyHandle check = 0;
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, check), long(RegFileNotFound));
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, ParentKey, KeyAccess::Read, check), long(RegSuccess));
        QVERIFY(readAll(m_hive).contains("[HKEY_CURRENT_USER\\SOFTWARE\\Sorimo Products]\n"));
    }

    void keyDeletedByAnotherProcessStaysDeleted()
    {
        HiveRegistry viewer(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(viewer.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(viewer.setValue(key, QStringLiteral("Left"), QStringLiteral("0")), long(RegSuccess));

        HiveRegistry reset(m_hive, nullptr);
        KeyHandle parent = 0;
        QCOMPARE(reset.openKey(RootKey::CurrentUser, ParentKey, KeyAccess::EnumerateSubkeys, parent), long(RegSuccess));
        QCOMPARE(reset.deleteKey(parent, QStringLiteral("Glyfaro")), long(RegSuccess));

        KeyHandle again = 0;
        QCOMPARE(viewer.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Write, again), long(RegFileNotFound));
        QCOMPARE(viewer.setValue(key, QStringLiteral("Left"), QStringLiteral("120")), long(RegKeyDeleted));
        QString data;
        QCOMPARE(viewer.queryValue(key, QStringLiteral("Left"), data), long(RegKeyDeleted));
        QVERIFY(!readAll(m_hive).contains("Glyfaro]"));
    }

    void failedWriteLeavesThePreviousFileWhole()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("Width"), QStringLiteral("12000")), long(RegSuccess));
        const QByteArray before = readAll(m_hive);

        registry.setFileWriter([](int fd, QByteArrayView bytes) {
            // Half the file reaches the disk, then the disk is full.
            return ::write(fd, bytes.data(), std::size_t(bytes.size() / 2)) >= 0 && false;
        });
        QCOMPARE(registry.setValue(key, QStringLiteral("Width"), QStringLiteral("9000")), long(RegWriteFault));
        QCOMPARE(readAll(m_hive), before);
        const QStringList left = QDir(QFileInfo(m_hive).absolutePath()).entryList(QDir::Files);
        QCOMPARE(left, (QStringList{"user.reg", "user.reg.lock"}));

        registry.setFileWriter(nullptr);
        HiveRegistry fresh(m_hive, nullptr);
        KeyHandle read = 0;
        QString data;
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, read), long(RegSuccess));
        QCOMPARE(fresh.queryValue(read, QStringLiteral("Width"), data), long(RegSuccess));
        QCOMPARE(data, QStringLiteral("12000"));
    }

    void missingFolderIsCreatedPrivate()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(QFileInfo(m_hive).absolutePath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }

    void damagedFileIsKeptAsideAndReportedOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray header = "Windows Registry Editor Version 5.00\n\n";
        const QByteArray key = "[HKEY_CURRENT_USER\\SOFTWARE\\Sorimo Products\\Glyfaro]\n";
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\x01\x02garbage", 10);
        QTest::newRow("no header") << key + "\"Left\"=\"0\"\n";
        QTest::newRow("value before any key") << header + "\"Left\"=\"0\"\n";
        QTest::newRow("unclosed quote") << header + key + "\"Left\"=\"0\n";
        QTest::newRow("unknown escape") << header + key + "\"Left\"=\"\\n\"\n";
        QTest::newRow("odd hex") << header + key + "\"T\"=hex(1):61,00,62\n";
        QTest::newRow("bad hex digit") << header + key + "\"T\"=hex(1):6g,00\n";
        QTest::newRow("hex cut at end") << header + key + "\"T\"=hex(1):61,00,\\\n";
        QTest::newRow("other root") << header + "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n";
        QTest::newRow("empty key name") << header + "[HKEY_CURRENT_USER\\SOFTWARE\\\\X]\n";
        QTest::newRow("broken UTF-8") << header + key + "\"Left\"=\"\xE3\x81\"\n";
        QTest::newRow("other value type") << header + key + "\"Left\"=dword:00000000\n";
    }
    void damagedFileIsKeptAsideAndReportedOnce()
    {
        QFETCH(QByteArray, content);
        writeAll(m_hive, content);

        // Asked first thing, before any key is opened, the report is there
        // already: start-up asks before it decides whether this is a first run.
        {
            HiveRegistry early(m_hive, nullptr);
            QVERIFY(early.takeDamageReport().startsWith(QStringLiteral("設定ファイルが壊れていたため")));
            const QDir folder(QFileInfo(m_hive).absolutePath());
            for (const QString& name : folder.entryList({QStringLiteral("user.reg.damaged-*")}, QDir::Files))
                QFile::rename(folder.filePath(name), m_hive);
        }

        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, key), long(RegFileNotFound));

        const QDir folder(QFileInfo(m_hive).absolutePath());
        const QStringList kept = folder.entryList({QStringLiteral("user.reg.damaged-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^user\\.reg\\.damaged-\\d{8}-\\d{6}$")).match(kept.first()).hasMatch());
        QCOMPARE(readAll(folder.filePath(kept.first())), content);

        const QString report = registry.takeDamageReport();
        QVERIFY2(report.contains(folder.filePath(kept.first())), qPrintable(report));
        QVERIFY(report.startsWith(QStringLiteral("設定ファイルが壊れていたため")));
        QVERIFY(registry.takeDamageReport().isEmpty());

        // The program then starts afresh and writes a sound file.
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("Left"), QStringLiteral("0")), long(RegSuccess));
        HiveRegistry fresh(m_hive, nullptr);
        QCOMPARE(fresh.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, key), long(RegSuccess));
        QVERIFY(fresh.takeDamageReport().isEmpty());
    }

    void handWrittenVariantsAreRead()
    {
        // What a person editing the file might leave: CR LF line ends, a
        // byte-order mark, comments, wrapped hex and a default value.
        writeAll(m_hive, "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                         "; edited by hand\r\n"
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Sorimo Products\\Glyfaro]\r\n"
                         "@=\"default\"\r\n"
                         "\"T\"=hex(1):61,00,\\\r\n  0d,00,00,00\r\n"
                         "\"Left\"=\"0\"\r\n");
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.openKey(RootKey::CurrentUser, SettingsKey, KeyAccess::Read, key), long(RegSuccess));
        QString data;
        QCOMPARE(registry.queryValue(key, QString(), data), long(RegSuccess));
        QCOMPARE(data, QStringLiteral("default"));
        QCOMPARE(registry.queryValue(key, QStringLiteral("T"), data), long(RegSuccess));
        QCOMPARE(data, QStringLiteral("a\r"));
        QCOMPARE(registry.queryValue(key, QStringLiteral("Left"), data), long(RegSuccess));
        QCOMPARE(data, QStringLiteral("0"));
        QVERIFY(registry.takeDamageReport().isEmpty());
    }

    void namesTheFileCannotHoldAreRefused()
    {
        HiveRegistry registry(m_hive, nullptr);
        KeyHandle key = 0;
        QCOMPARE(registry.createKey(RootKey::CurrentUser, QStringLiteral("A\\\\B"), key), long(RegFileNotFound));
        QCOMPARE(registry.createKey(RootKey::CurrentUser, QStringLiteral("A\nB"), key), long(RegFileNotFound));
        QCOMPARE(registry.createKey(RootKey::CurrentUser, SettingsKey, key), long(RegSuccess));
        QCOMPARE(registry.setValue(key, QStringLiteral("bad\nname"), QStringLiteral("x")), long(RegAccessDenied));
        QString name;
        QCOMPARE(registry.enumValueName(key, 0, 1024, name), long(RegNoMoreItems));
    }

private:
    std::optional<TestEnvironment> m_environment;
    QString m_hive;
};

QTEST_GUILESS_MAIN(TestHiveRegistry)
#include "tst_hiveregistry.moc"

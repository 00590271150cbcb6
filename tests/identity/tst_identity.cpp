#include "face/Coverage.h"
#include "face/FaceReader.h"
#include "identity/DetailedInventory.h"
#include "identity/FileFacts.h"
#include "identity/IdentityComparison.h"

#include <QDataStream>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <utime.h>

namespace {

const QString IpaGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");

QString small(const QString& name)
{
    return QStringLiteral(GLYFARO_SMALL_FONTS "/") + name;
}

// A face as an inventory records it; hash, version and forms are what the
// comparison looks at.
FaceRecord face(const QString& family, const QString& hash, const QString& version = u"1.0"_qs,
                const QString& forms = u"unknown"_qs)
{
    FaceRecord record;
    record.families = {family};
    record.familyLanguages = {u"en"_qs};
    record.style = u"Regular"_qs;
    record.file = u"/fonts/"_qs + family + u".ttf"_qs;
    record.sha256 = hash;
    record.facts.version = version;
    record.facts.glyphForms = forms;
    return record;
}

DetailedInventory inventoryOf(const QList<FaceRecord>& faces)
{
    DetailedInventory inventory;
    inventory.machine = u"proof-01"_qs;
    inventory.faces = faces;
    return inventory;
}

QByteArray sha256sum(const QString& path)
{
    QProcess process;
    process.start(u"sha256sum"_qs, {path});
    process.waitForFinished();
    return process.readAllStandardOutput().left(64);
}

bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

} // namespace

class IdentityTest : public QObject {
    Q_OBJECT

private slots:
    void groups_data()
    {
        QTest::addColumn<QList<FaceRecord>>("left");
        QTest::addColumn<QList<FaceRecord>>("right");
        QTest::addColumn<QString>("group");
        QTest::newRow("same bytes") << QList{face(u"A"_qs, u"h1"_qs)} << QList{face(u"A"_qs, u"h1"_qs)} << u"同じ"_qs;
        QTest::newRow("other version") << QList{face(u"A"_qs, u"h1"_qs)} << QList{face(u"A"_qs, u"h2"_qs, u"2.0"_qs)}
                                       << u"別の版"_qs;
        QTest::newRow("same version, other bytes") << QList{face(u"A"_qs, u"h1"_qs)} << QList{face(u"A"_qs, u"h2"_qs)}
                                                   << u"同じ版で中身が違う"_qs;
        QTest::newRow("other glyph forms, same version")
            << QList{face(u"A"_qs, u"h1"_qs, u"1.0"_qs, u"JIS90"_qs)}
            << QList{face(u"A"_qs, u"h2"_qs, u"1.0"_qs, u"JIS2004"_qs)} << u"字形が違う"_qs;
        QTest::newRow("forms known on one side only")
            << QList{face(u"A"_qs, u"h1"_qs, u"1.0"_qs, u"JIS90"_qs)} << QList{face(u"A"_qs, u"h2"_qs, u"2.0"_qs)}
            << u"別の版"_qs;
        QTest::newRow("left only") << QList{face(u"A"_qs, u"h1"_qs)} << QList<FaceRecord>{} << u"左だけにあるフォント"_qs;
        QTest::newRow("right only") << QList<FaceRecord>{} << QList{face(u"A"_qs, u"h1"_qs)} << u"右だけにあるフォント"_qs;
        QTest::newRow("duplicates alike on both sides")
            << QList{face(u"A"_qs, u"h1"_qs), face(u"A"_qs, u"h2"_qs)} << QList{face(u"A"_qs, u"h2"_qs), face(u"A"_qs, u"h1"_qs)}
            << u"同じ"_qs;
        QTest::newRow("a duplicate more on one side")
            << QList{face(u"A"_qs, u"h1"_qs), face(u"A"_qs, u"h2"_qs)} << QList{face(u"A"_qs, u"h1"_qs)}
            << u"同じ版で中身が違う"_qs;
    }

    void groups()
    {
        QFETCH(QList<FaceRecord>, left);
        QFETCH(QList<FaceRecord>, right);
        QFETCH(QString, group);
        const IdentityComparison comparison = CompareByIdentity(inventoryOf(left), inventoryOf(right));
        QStringList found;
        for (const IdentityGroup each : IdentityGroups) {
            for (const IdentityEntry& entry : comparison.entries(each))
                found << IdentityGroupTitle(each) + u':' + entry.title;
        }
        QCOMPARE(found, QStringList{group + u":A Regular"_qs});
        QCOMPARE(comparison.identical(), group == u"同じ");
        // The report names the group, and the forms first with why they matter.
        const QStringList lines = IdentityLines(comparison, u"左"_qs, u"右"_qs);
        QVERIFY(lines.contains(group + u"  総数: 1 書体"_qs));
        QCOMPARE(lines.join(u'\n').contains(u"校正と本番で印刷が違って"_qs), group == u"字形が違う");
        // The saved table and the JSON report put it in the same group.
        const QList<QStringList> table = IdentityTable(comparison, u"左"_qs, u"右"_qs);
        QCOMPARE(table.size(), 2);
        QCOMPARE(table.at(1).mid(0, 2), (QStringList{group, u"A Regular"_qs}));
        const QJsonObject json = IdentityJson(comparison, u"左"_qs, u"右"_qs);
        QCOMPARE(json.value(u"identical"_qs).toBool(), group == u"同じ");
        for (const IdentityGroup each : IdentityGroups)
            QCOMPARE(json.value(IdentityGroupKey(each)).toArray().size(), IdentityGroupTitle(each) == group ? 1 : 0);
        QVERIFY(lines.indexOf(u"字形が違う  総数: 0 書体"_qs) < lines.indexOf(u"別の版  総数: 0 書体"_qs)
                || group != u"同じ");
    }

    // The inventory reads a face from bytes already in memory; it must read
    // what the details window reads from the file.
    void facesFromMemoryAsFromTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::newRow("IPAGothic") << IpaGothic << 0;
        QTest::newRow("Noto Sans CJK JP, jp90 and sequences") << u"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"_qs << 0;
        QTest::newRow("Noto Sans CJK KR, a later face") << u"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"_qs << 1;
        QTest::newRow("a collection's second face") << small(u"pair-mincho.ttc"_qs) << 1;
        QTest::newRow("jp04") << small(u"forms-jp04.ttf"_qs) << 0;
        QTest::newRow("embedding restricted") << small(u"embed-2.ttf"_qs) << 0;
    }

    void facesFromMemoryAsFromTheFile()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFile font(file);
        QVERIFY(font.open(QIODevice::ReadOnly));
        const QByteArray bytes = font.readAll();
        std::vector<char32_t> characters;
        const FaceDetails fromData = ReadFaceDetailsFromData(bytes, file, index, &characters);
        const FaceDetails fromFile = ReadFaceDetails(file, index);
        QVERIFY2(fromData.error.isEmpty(), qPrintable(fromData.error));
        QCOMPARE(fromData.family, fromFile.family);
        QCOMPARE(fromData.style, fromFile.style);
        QCOMPARE(fromData.format, fromFile.format);
        QCOMPARE(fromData.version, fromFile.version);
        QCOMPARE(fromData.postScriptName, fromFile.postScriptName);
        QCOMPARE(fromData.glyphCount, fromFile.glyphCount);
        QCOMPARE(fromData.embedding, fromFile.embedding);
        QCOMPARE(fromData.verticalForms, fromFile.verticalForms);
        QCOMPARE(fromData.forms.jp90, fromFile.forms.jp90);
        QCOMPARE(fromData.forms.jp04, fromFile.forms.jp04);
        QCOMPARE(fromData.forms.sequences, fromFile.forms.sequences);
        QVERIFY(characters == CharactersOfFace(file, index));
        // The counts alone come out as the full coverage report's.
        const std::vector<int> counts = CoverageCounts(characters);
        const QList<SetCoverage> coverage = CoverageOf(characters);
        QCOMPARE(counts.size(), std::size_t(coverage.size()));
        for (qsizetype i = 0; i < coverage.size(); ++i)
            QCOMPARE(counts.at(std::size_t(i)), coverage.at(i).present);
        QCOMPARE(FaceCountOfData(bytes), file.endsWith(u".ttc") ? (file.contains(u"Noto") ? 10 : 2) : 1);
        QCOMPARE(FaceCountOfData(bytes.left(100)), 0);
    }

    void filesReadOnce()
    {
        const FileFacts gothic = ReadFileFacts(IpaGothic);
        QVERIFY2(gothic.error.isEmpty(), qPrintable(gothic.error));
        QCOMPARE(gothic.sha256.toLatin1(), sha256sum(IpaGothic));
        QCOMPARE(gothic.size, QFileInfo(IpaGothic).size());
        QCOMPARE(gothic.faces.size(), 1);
        QVERIFY(gothic.faces.at(0).glyphCount > 10000);
        QCOMPARE(gothic.faces.at(0).glyphForms, u"unknown"_qs);
        QCOMPARE(gothic.faces.at(0).coverage.size(), std::size_t(10));
        QCOMPARE(gothic.faces.at(0).coverage.at(0), 169); // every kana of JIS X 0208

        const FileFacts jp90 = ReadFileFacts(small(u"forms-jp90.ttf"_qs));
        QCOMPARE(jp90.faces.value(0).glyphForms, u"JIS2004"_qs);
        const FileFacts pair = ReadFileFacts(small(u"pair-mincho.ttc"_qs));
        QCOMPARE(pair.faces.size(), 2);
        QCOMPARE(pair.faces.at(1).index, 1);
        QVERIFY(!ReadFileFacts(small(u"garbage.ttf"_qs)).error.isEmpty());
        QVERIFY(!ReadFileFacts(u"/nonexistent.ttf"_qs).error.isEmpty());
    }

    // What the cache holds is used only while the file is the one read.
    void cache()
    {
        QTemporaryDir dir;
        const QString cachePath = dir.filePath(u"cache/file-facts"_qs);
        const QString a = dir.filePath(u"a.ttf"_qs);
        const QString b = dir.filePath(u"b.ttf"_qs);
        QVERIFY(copy(small(u"forms-jp90.ttf"_qs), a));
        QVERIFY(copy(small(u"forms-jp04.ttf"_qs), b));
        const auto facts = [&](qsizetype& read) {
            FileFactsCache cache(cachePath);
            const std::optional<QList<FileFacts>> all = cache.factsOf({a, b}, {}, &read);
            return std::make_pair(*all, cache.wasDamaged());
        };
        qsizetype read = -1;
        const auto first = facts(read).first;
        QCOMPARE(read, 2);
        QCOMPARE(first.at(0).faces.value(0).glyphForms, u"JIS2004"_qs);
        QCOMPARE(facts(read).first.at(1).sha256, first.at(1).sha256);
        QCOMPARE(read, 0);

        // Touched: read again.
        QVERIFY(::utime(QFile::encodeName(a).constData(), nullptr) == 0);
        facts(read);
        QCOMPARE(read, 1);

        // Replaced by another file of the same size, its time set back.
        const QString other = dir.filePath(u"other.ttf"_qs);
        QVERIFY(copy(small(u"forms-jp90.ttf"_qs), other));
        QFile patch(other);
        QVERIFY(patch.open(QIODevice::ReadWrite));
        patch.seek(patch.size() - 1);
        const char last = patch.read(1).at(0);
        patch.seek(patch.size() - 1);
        patch.write(QByteArray(1, char(last ^ 0x55)));
        patch.close();
        struct stat before {};
        QVERIFY(::stat(QFile::encodeName(a).constData(), &before) == 0);
        const struct utimbuf times{before.st_atime, before.st_mtime};
        QVERIFY(::utime(QFile::encodeName(other).constData(), &times) == 0);
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(a).constData()) == 0);
        const auto replaced = facts(read).first;
        QCOMPARE(read, 1);
        QCOMPARE(replaced.at(0).sha256.toLatin1(), sha256sum(a));
        QVERIFY(replaced.at(0).sha256 != first.at(0).sha256);

        // Damaged: ignored, and made anew.
        QFile cacheFile(cachePath);
        QVERIFY(cacheFile.open(QIODevice::ReadWrite));
        cacheFile.resize(cacheFile.size() / 2);
        cacheFile.close();
        const auto damaged = facts(read);
        QVERIFY(damaged.second);
        QCOMPARE(read, 2);
        QCOMPARE(damaged.first.at(1).sha256, first.at(1).sha256);
        QVERIFY(!facts(read).second);
        QCOMPARE(read, 0);

        // A cache whose counts run past its bytes is damaged too, and costs
        // no more than its size.
        for (const quint32 count : {quint32(0x7FFFFFFF), quint32(3)}) {
            QByteArray bytes;
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_6_4);
            out << quint64(0x4746324641435431ULL) << count << a << qint64(1) << qint64(2) << qint64(3) << quint64(4)
                << quint64(5) << u"00"_qs << quint32(0x7FFFFFFF);
            QVERIFY(cacheFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            cacheFile.write(bytes);
            cacheFile.close();
            const auto again = facts(read);
            QVERIFY(again.second);
            QCOMPARE(read, 2);
            QCOMPARE(again.first.at(0).sha256.toLatin1(), sha256sum(a));
        }

        // Cancelled: nothing.
        FileFactsCache cache(cachePath);
        QVERIFY(!cache.factsOf({a, b}, [](qsizetype, qsizetype) { return false; }));
    }

    void inventoryFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        DetailedInventory inventory = inventoryOf({face(u"IPAmj明朝"_qs, u"ab"_qs, u"Version 006.01"_qs, u"JIS2004"_qs)});
        inventory.faces[0].facts.coverage = {169, 63, 524, 2965, 3390, 1259, 2436, 2136, 863, 659};
        inventory.names = {u"IPAmj明朝 (TrueType)"_qs};
        inventory.sizes = {1234};
        const QByteArray good = InventoryJson(inventory);
        QTest::newRow("written and read back") << good << QString();
        QTest::newRow("cut") << good.left(good.size() / 2) << u"途中で切れています"_qs;
        QTest::newRow("another program's JSON") << QByteArray(R"({"format": "other", "items": []})") << u"ではありません"_qs;
        QTest::newRow("a newer major version") << QByteArray(R"({"format": "glyfaro2-inventory", "version": "2.0", "faces": []})")
                                               << u"新しい形式（版 2.0）"_qs;
        QTest::newRow("a newer minor version reads")
            << QByteArray(R"({"format": "glyfaro2-inventory", "version": "1.7", "faces": []})") << QString();
        QTest::newRow("no faces") << QByteArray(R"({"format": "glyfaro2-inventory", "version": "1.0"})") << u"faces"_qs;
        QTest::newRow("a face without a name")
            << QByteArray(R"({"format": "glyfaro2-inventory", "version": "1.0", "faces": [{"style": "Bold"}]})")
            << u"名前のないフォント"_qs;
        QTest::newRow("an array") << QByteArray("[1, 2]") << u"ではありません"_qs;
        QTest::newRow("empty") << QByteArray() << u"途中で切れています"_qs;
    }

    void inventoryFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const InventoryRead read = ReadInventory(bytes);
        QVERIFY2(read.error.contains(error), qPrintable(read.error));
        QCOMPARE(read.inventory.has_value(), error.isEmpty());
        if (!read.inventory || read.inventory->faces.isEmpty())
            return;
        // Every field comes back as written.
        QCOMPARE(InventoryJson(*read.inventory), bytes);
        QCOMPARE(read.inventory->faces.at(0).title(), u"IPAmj明朝 Regular"_qs);
    }
};

QTEST_MAIN(IdentityTest)
#include "tst_identity.moc"

#include "catalog/FontFileLookup.h"

#include "support/TestPlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <random>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString FontsKey = WindowsKey + QStringLiteral("\\Fonts");

// A catalogue whose entries live in the fake Fonts key and whose files, when
// given a size, exist in a temporary fonts folder.
struct Fixture {
    TestPlatform test;
    QTemporaryDir folder;
    FontCatalog catalog;

    Fixture() { catalog.FontsFolder = folder.path(); }

    void addEntry(const QString& entry, const QString& reference, qint64 fileSize = -1)
    {
        catalog.FontFileEntries << entry;
        test.registry.put(RootKey::LocalMachine, FontsKey, entry, reference);
        if (fileSize >= 0) {
            const QString path = reference.contains(u'/') ? reference : folder.filePath(reference);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(fileSize));
        }
    }

    FontFileInfo lookup(const QString& name)
    {
        FontFileLookup lookup(catalog, test.platform, WindowsKey);
        return lookup.LookupFontFile(name);
    }
};

// The rule the index must reproduce, by walking every entry: of the entries
// that hold the text, the best ranked, the earliest among equals.
std::optional<qsizetype> linearBestMatch(const QStringList& entries, const QString& text)
{
    std::optional<qsizetype> best;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).contains(text)
            && (!best || FontFileLookup::entryRank(entries.at(i), text) < FontFileLookup::entryRank(entries.at(*best), text)))
            best = i;
    }
    return best;
}

} // namespace

class TestFontFileLookup : public QObject {
    Q_OBJECT

private slots:
    void firstEntryInOrderWins_data();
    void firstEntryInOrderWins();
    void foundFileResults_data();
    void foundFileResults();
    void verticalFormFindsTheSameFile();
    void referencesAndFolder_data();
    void referencesAndFolder();
    void notFound_data();
    void notFound();
    void keyFailuresAreFatal_data();
    void keyFailuresAreFatal();
    void indexAgreesWithLinearWalk();
};

void TestFontFileLookup::firstEntryInOrderWins_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("chosen");

    QTest::newRow("Arial") << QStringList{u"Arial (TrueType)"_qs, u"Arial Black (TrueType)"_qs} << u"Arial"_qs << 0;
    QTest::newRow("Courier") << QStringList{u"Courier 10,12,15"_qs, u"Courier New (TrueType)"_qs} << u"Courier"_qs
                             << 0;
    QTest::newRow("collection entry") << QStringList{u"ＭＳ ゴシック & ＭＳ Ｐゴシック & MS UI Gothic (TrueType)"_qs}
                                      << u"ＭＳ Ｐゴシック"_qs << 0;
    QTest::newRow("short name") << QStringList{u"Fixedsys"_qs, u"MS (TrueType)"_qs} << u"MS"_qs << 1;
    // Sorted as the C locale sorts them, the companion family comes first;
    // the family's own regular face must win in any order.
    QTest::newRow("regular face before a companion family")
        << QStringList{u"DejaVu Sans & DejaVu Sans Condensed Condensed (TrueType)"_qs, u"DejaVu Sans (TrueType)"_qs}
        << u"DejaVu Sans"_qs << 1;
    QTest::newRow("Japanese name of a regular face before its bold")
        << QStringList{u"IPAGothic & IPAゴシック Bold (TrueType)"_qs, u"IPAGothic & IPAゴシック (TrueType)"_qs}
        << u"IPAゴシック"_qs << 1;
    QTest::newRow("no regular face: the first in order")
        << QStringList{u"Foo Light (TrueType)"_qs, u"Foo Bold (TrueType)"_qs} << u"Foo"_qs << 0;
}

void TestFontFileLookup::firstEntryInOrderWins()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(int, chosen);

    Fixture fixture;
    // Each entry names its own file.
    for (qsizetype i = 0; i < entries.size(); ++i)
        fixture.addEntry(entries.at(i), QStringLiteral("file-%1.ttf").arg(i), 100 + i);
    const FontFileInfo info = fixture.lookup(name);
    QVERIFY(info.matched);
    QCOMPARE(info.filePath, fixture.folder.filePath(QStringLiteral("file-%1.ttf").arg(chosen)));
}

void TestFontFileLookup::foundFileResults_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("sizeText");
    QTest::newRow("1234567 bytes") << qint64(1234567) << u"1,234,567"_qs;
    QTest::newRow("empty file") << qint64(0) << QString();
}

void TestFontFileLookup::foundFileResults()
{
    QFETCH(qint64, size);
    QFETCH(QString, sizeText);
    Fixture fixture;
    fixture.addEntry(u"Arial (TrueType)"_qs, u"Arial.TTF"_qs, size);
    const FontFileInfo info = fixture.lookup(u"Arial"_qs);
    QVERIFY(info.matched);
    QCOMPARE(info.fatalMessage, -1);
    // The path keeps its case: another case would name another file here.
    QCOMPARE(info.filePath, fixture.folder.path() + u"/Arial.TTF"_qs);
    QCOMPARE(info.sizeBytes, size);
    QCOMPARE(info.sizeText, sizeText);
    QCOMPARE(fixture.test.registry.openHandles(), 0);
}

void TestFontFileLookup::verticalFormFindsTheSameFile()
{
    Fixture fixture;
    fixture.addEntry(u"ＭＳ 明朝 & ＭＳ Ｐ明朝 (TrueType)"_qs, u"msmincho.ttc"_qs, 2048);
    const FontFileInfo plain = fixture.lookup(u"ＭＳ 明朝"_qs);
    const FontFileInfo vertical = fixture.lookup(u"@ＭＳ 明朝"_qs);
    QVERIFY(plain.matched);
    QCOMPARE(vertical.filePath, plain.filePath);
    QCOMPARE(vertical.sizeBytes, plain.sizeBytes);
    QCOMPARE(vertical.sizeText, plain.sizeText);
}

void TestFontFileLookup::referencesAndFolder_data()
{
    QTest::addColumn<bool>("fullPath");
    QTest::newRow("bare file name joined to the fonts folder") << false;
    QTest::newRow("full path used unchanged") << true;
}

void TestFontFileLookup::referencesAndFolder()
{
    QFETCH(bool, fullPath);
    Fixture fixture;
    QTemporaryDir elsewhere;
    const QString reference = fullPath ? elsewhere.filePath(u"MyFont.ttf"_qs) : u"MyFont.ttf"_qs;
    fixture.addEntry(u"My Font (TrueType)"_qs, reference, 10);

    const FontFileInfo info = fixture.lookup(u"My Font"_qs);
    QVERIFY(info.matched);
    QCOMPARE(info.filePath, fullPath ? reference : fixture.folder.path() + u"/MyFont.ttf"_qs);
    QCOMPARE(info.sizeBytes, qint64(10));
}

void TestFontFileLookup::notFound_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<bool>("valueMissing");

    // Containment is exact: no case folding.
    QTest::newRow("other letter case") << u"arial"_qs << u"arial.ttf"_qs << qint64(10) << false;
    QTest::newRow("no entry holds it") << u"Verdana"_qs << u"arial.ttf"_qs << qint64(10) << false;
    QTest::newRow("file missing") << u"Arial"_qs << u"gone.ttf"_qs << qint64(-1) << false;
    QTest::newRow("reference names a folder") << u"Arial"_qs << u"."_qs << qint64(-1) << false;
    QTest::newRow("value cannot be read") << u"Arial"_qs << u"arial.ttf"_qs << qint64(10) << true;
}

void TestFontFileLookup::notFound()
{
    QFETCH(QString, name);
    QFETCH(QString, reference);
    QFETCH(qint64, fileSize);
    QFETCH(bool, valueMissing);

    Fixture fixture;
    fixture.addEntry(u"Arial (TrueType)"_qs, reference, fileSize);
    if (valueMissing)
        fixture.test.registry.removeValue(RootKey::LocalMachine, FontsKey, u"Arial (TrueType)"_qs);

    const FontFileInfo info = fixture.lookup(name);
    QVERIFY(!info.matched);
    QCOMPARE(info.fatalMessage, -1);
    QCOMPARE(info.filePath, u"不明"_qs);
    QCOMPARE(info.sizeText, u"不明"_qs);
    QCOMPARE(info.sizeBytes, qint64(0));
}

void TestFontFileLookup::keyFailuresAreFatal_data()
{
    QTest::addColumn<int>("failingOp");
    QTest::newRow("open") << int(FakeRegistry::Op::Open);
    QTest::newRow("close") << int(FakeRegistry::Op::Close);
}

void TestFontFileLookup::keyFailuresAreFatal()
{
    QFETCH(int, failingOp);
    Fixture fixture;
    fixture.addEntry(u"Arial (TrueType)"_qs, u"arial.ttf"_qs, 10);
    fixture.test.registry.failWhen = [failingOp](const FakeRegistry::Call& call) -> long {
        return int(call.op) == failingOp ? RegAccessDenied : RegSuccess;
    };
    QCOMPARE(fixture.lookup(u"Arial"_qs).fatalMessage, 2);
    // A font without an entry never reaches the key.
    QCOMPARE(fixture.lookup(u"Verdana"_qs).fatalMessage, -1);
}

void TestFontFileLookup::indexAgreesWithLinearWalk()
{
    // A small alphabet makes many entries share trigrams and many searches
    // hit more than one entry, so the order of the candidates matters.
    std::mt19937 random(2024);
    const QString alphabet = u"abcAB ＭＳ明朝(T)&"_qs;
    auto randomText = [&](int minLength, int maxLength) {
        std::uniform_int_distribution<int> lengthOf(minLength, maxLength);
        std::uniform_int_distribution<int> letterOf(0, int(alphabet.size()) - 1);
        QString text;
        for (int i = lengthOf(random); i > 0; --i)
            text += alphabet.at(letterOf(random));
        return text;
    };

    TestPlatform test;
    FontCatalog catalog;
    for (int i = 0; i < 3000; ++i)
        catalog.FontFileEntries << randomText(0, 14);
    const FontFileLookup lookup(catalog, test.platform, WindowsKey);

    int matches = 0;
    for (int i = 0; i < 5000; ++i) {
        // Some searches are pieces of real entries, so they surely match.
        QString text = randomText(0, 6);
        if (i % 3 == 0) {
            const QString& entry = catalog.FontFileEntries.at(i % catalog.FontFileEntries.size());
            text = entry.mid(i % 4, 2 + i % 5);
        }
        const std::optional<qsizetype> expected = linearBestMatch(catalog.FontFileEntries, text);
        QCOMPARE(lookup.entryFor(text), expected);
        // Asked again, a remembered answer must be the same.
        QCOMPARE(lookup.entryFor(text), expected);
        matches += expected.has_value();
    }
    QVERIFY(matches > 1000);
    QVERIFY(matches < 5000);
}

QTEST_GUILESS_MAIN(TestFontFileLookup)
#include "tst_fontfilelookup.moc"

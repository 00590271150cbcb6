#include "formats/ComparisonFile.h"
#include "formats/CsvExport.h"

#include <QFile>
#include <QTest>

using comparison_file::Reader;
using Step = comparison_file::Reader::Step;

namespace {

QByteArray fromHex(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// The three records A (10 bytes), Ｂ (unknown) and Cc (300 bytes).
const char* const ThreeNames = "474643"
                               "FE00 0200 0100 4100 0A000000"
                               "FE00 0200 0100 8261 00000000"
                               "FE00 0400 0200 43630000 2C010000"
                               "FF00";

QByteArray longRecord(int units)
{
    comparison_file::Writer writer;
    writer.addRecord(QString(units, QLatin1Char('x')), 1);
    return writer.finish();
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestComparisonFile : public QObject {
    Q_OBJECT

private slots:
    void writesTheThreeNameExample();
    void readsAFileFromAnotherMachine();
    void reading_data();
    void reading();
    void unmappableNamesAreSubstitutedAndCounted();
    void csvExample();
    void csvQuotesOnlyWhereNeeded_data();
    void csvQuotesOnlyWhereNeeded();
};

void TestComparisonFile::writesTheThreeNameExample()
{
    comparison_file::Writer writer;
    QVERIFY(writer.addRecord(u"A"_qs, 10));
    QVERIFY(writer.addRecord(u"Ｂ"_qs, 0));
    QVERIFY(writer.addRecord(u"Cc"_qs, 300));
    const QByteArray bytes = writer.finish();
    QCOMPARE(bytes.size(), 43);
    QCOMPARE(bytes.toHex(' '), fromHex(ThreeNames).toHex(' '));
    QCOMPARE(writer.substitutedNames(), 0);
}

void TestComparisonFile::readsAFileFromAnotherMachine()
{
    QFile file(QStringLiteral(GLYFARO_TEST_DATA "/three-names.gfc"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const comparison_file::Contents contents = comparison_file::read(file.readAll());
    QVERIFY(contents.magicOk);
    QCOMPARE(contents.ending, Step::End);
    QCOMPARE(contents.names, (QStringList{u"A"_qs, u"Ｂ"_qs, u"Cc"_qs}));
}

void TestComparisonFile::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("magicOk");
    QTest::addColumn<Step>("ending");
    QTest::addColumn<QStringList>("names");

    const QByteArray three = fromHex(ThreeNames);
    const QStringList all{u"A"_qs, u"Ｂ"_qs, u"Cc"_qs};
    const QStringList two{u"A"_qs, u"Ｂ"_qs};

    QTest::newRow("a CSV export") << QByteArray("Index,フォント名\r\n") << false << Step::End << QStringList();
    QTest::newRow("empty file") << QByteArray() << false << Step::End << QStringList();
    QTest::newRow("magic cut short") << QByteArray("GF") << false << Step::End << QStringList();
    QTest::newRow("magic and end marker only") << QByteArray("GFC\xFF\x00", 5) << true << Step::End << QStringList();
    QTest::newRow("magic only") << QByteArray("GFC") << true << Step::EndOfFile << QStringList();
    QTest::newRow("bad marker after two records")
        << (three.left(27) + fromHex("FD00 0400 0200 43630000 2C010000 FF00")) << true << Step::Damaged << two;
    QTest::newRow("no end marker") << three.left(41) << true << Step::EndOfFile << all;
    QTest::newRow("cut inside the name") << three.left(33) << true << Step::Cut << two;
    QTest::newRow("cut inside the size") << three.left(39) << true << Step::Cut << two;
    QTest::newRow("cut inside the length fields") << three.left(30) << true << Step::Cut << two;
    QTest::newRow("length points past the end")
        << (three.left(27) + fromHex("FE00 FEFF 7F7F 4363")) << true << Step::Damaged << two;
    QTest::newRow("consistent length past the end")
        << (three.left(27) + fromHex("FE00 0001 8000 4363")) << true << Step::Cut << two;
    QTest::newRow("lengths that disagree")
        << (three.left(27) + fromHex("FE00 0600 0200 436300000000 2C010000 FF00")) << true << Step::Damaged << two;
    QTest::newRow("invalid code page 932 bytes")
        << (three.left(27) + fromHex("FE00 0400 0200 81FF0000 2C010000 FF00")) << true << Step::Damaged << two;
    QTest::newRow("double-byte character cut by the padding")
        << (three.left(27) + fromHex("FE00 0400 0200 43820000 2C010000 FF00")) << true << Step::Damaged << two;
    QTest::newRow("name longer than its count")
        << (three.left(27) + fromHex("FE00 0200 0100 4363 2C010000 FF00")) << true << Step::Damaged << two;
    // A one-byte read of the length fields breaks from 128 characters on.
    QTest::newRow("name of 200 characters")
        << longRecord(200) << true << Step::End << QStringList{QString(200, QLatin1Char('x'))};
    QTest::newRow("bytes after the end marker are ignored")
        << (three + "garbage") << true << Step::End << all;
}

void TestComparisonFile::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, magicOk);
    QFETCH(Step, ending);
    QFETCH(QStringList, names);

    // Exactly the file's bytes, so a read past them is caught by the
    // sanitizer build.
    const QByteArray exact(bytes.constData(), bytes.size());
    const comparison_file::Contents contents = comparison_file::read(exact);
    QCOMPARE(contents.magicOk, magicOk);
    if (magicOk)
        QCOMPARE(contents.ending, ending);
    QCOMPARE(contents.names, names);
}

void TestComparisonFile::unmappableNamesAreSubstitutedAndCounted()
{
    comparison_file::Writer writer;
    QVERIFY(!writer.addRecord(u"Font 〜"_qs, 1));
    // A character outside the basic plane is two UTF-16 units.
    QVERIFY(!writer.addRecord(u"😀"_qs, 2));
    QVERIFY(writer.addRecord(u"ゴシック"_qs, 3));
    QCOMPARE(writer.substitutedNames(), 2);

    // Still a valid file: every record reads, with 2 × c bytes per name.
    const QByteArray bytes = writer.finish();
    const comparison_file::Contents contents = comparison_file::read(bytes);
    QCOMPARE(contents.ending, Step::End);
    QCOMPARE(contents.names, (QStringList{u"Font ?"_qs, u"?"_qs, u"ゴシック"_qs}));
    QCOMPARE(quint8(bytes.at(5)), quint8(2 * 6));
    QCOMPARE(quint8(bytes.at(7)), quint8(6));
}

void TestComparisonFile::csvExample()
{
    CsvExport csv;
    QVERIFY(csv.addRow(1, u"ＭＳ ゴシック"_qs, 8272028, u"C:\\WINDOWS\\FONTS\\MSGOTHIC.TTC"_qs));
    QVERIFY(csv.addRow(2, u"Ghost"_qs, 0, u"不明"_qs));
    const QByteArray bytes = csv.finish();
    const QByteArray expected =
        QByteArray::fromHex("496E6465782C") + fromHex("8374834883938367 96BC") // Index,フォント名
        + ",\x83\x74\x83\x40\x83\x43\x83\x8B\x83\x54\x83\x43\x83\x59(Byte),\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\r\n"
        + "1," + fromHex("826C 8272 20 8353 8356 8362 834E") + ",8272028,C:\\WINDOWS\\FONTS\\MSGOTHIC.TTC\r\n"
        + "2,Ghost,0," + fromHex("957396BE") + "\r\nEOF\r\n";
    QCOMPARE(bytes, expected);
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(csv.substitutedRows(), 0);
}

void TestComparisonFile::csvQuotesOnlyWhereNeeded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("row");

    QTest::newRow("plain") << u"Arial Bold"_qs << QByteArray("1,Arial Bold,5,/f/a.ttf\r\n");
    QTest::newRow("comma") << u"Foo, Inc."_qs << QByteArray("1,\"Foo, Inc.\",5,/f/a.ttf\r\n");
    QTest::newRow("double quote") << u"The \"One\""_qs << QByteArray("1,\"The \"\"One\"\"\",5,/f/a.ttf\r\n");
    QTest::newRow("line break") << u"Two\nLines"_qs << QByteArray("1,\"Two\nLines\",5,/f/a.ttf\r\n");
    QTest::newRow("leading blank kept") << u" Spaced"_qs << QByteArray("1, Spaced,5,/f/a.ttf\r\n");
}

void TestComparisonFile::csvQuotesOnlyWhereNeeded()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, row);
    CsvExport csv;
    csv.addRow(1, name, 5, u"/f/a.ttf"_qs);
    const QByteArray bytes = csv.finish();
    const qsizetype start = bytes.indexOf("\r\n") + 2;
    QCOMPARE(bytes.mid(start, bytes.size() - start - 5), row);
}

QTEST_APPLESS_MAIN(TestComparisonFile)
#include "tst_comparisonfile.moc"

#include "comparison/Inventory.h"
#include "formats/ComparisonFile.h"
#include "formats/CsvExport.h"

#include <QTest>

namespace {

// "name:size" items, a side as a file or the catalogue gives it.
FontSet setOf(const QStringList& items)
{
    FontSet set{QStringLiteral("side"), {}, {}};
    for (const QString& item : items) {
        set.names.append(item.section(u':', 0, -2));
        set.sizes.append(item.section(u':', -1).toLongLong());
    }
    return set;
}

// A group as "name[leftSizes|rightSizes]~match" texts, to compare whole.
QStringList describe(const QList<InventoryEntry>& entries)
{
    QStringList texts;
    for (const InventoryEntry& entry : entries) {
        QString text = entry.name;
        if (!entry.leftSizes.isEmpty() || !entry.rightSizes.isEmpty())
            text += u'[' + SizesText(entry.leftSizes) + u'|' + SizesText(entry.rightSizes) + u']';
        if (!entry.probableMatch.isEmpty())
            text += u'~' + entry.probableMatch;
        texts.append(text);
    }
    return texts;
}

} // namespace

class InventoryTest : public QObject {
    Q_OBJECT

private slots:
    void fourGroups_data()
    {
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QStringList>("right");
        QTest::addColumn<QStringList>("onlyLeft");
        QTest::addColumn<QStringList>("onlyRight");
        QTest::addColumn<QStringList>("sizeDiffers");
        QTest::addColumn<QStringList>("same");

        const QStringList machine{u"IPAゴシック:6235344"_qs, u"Arial:100"_qs, u"游明朝:0"_qs};
        QTest::newRow("a set against itself") << machine << machine << QStringList() << QStringList()
                                              << QStringList() << QStringList{u"IPAゴシック[6235344|6235344]"_qs,
                                                                              u"Arial[100|100]"_qs, u"游明朝[0|0]"_qs};
        QTest::newRow("another version") << QStringList{u"A:10"_qs, u"B:20"_qs} << QStringList{u"B:21"_qs, u"A:10"_qs}
                                         << QStringList() << QStringList() << QStringList{u"B[20|21]"_qs}
                                         << QStringList{u"A[10|10]"_qs};
        QTest::newRow("each side alone, in its own order")
            << QStringList{u"Z:1"_qs, u"A:1"_qs, u"M:1"_qs} << QStringList{u"Y:2"_qs, u"M:1"_qs, u"B:2"_qs}
            << QStringList{u"Z[1|-]"_qs, u"A[1|-]"_qs} << QStringList{u"Y[-|2]"_qs, u"B[-|2]"_qs} << QStringList()
            << QStringList{u"M[1|1]"_qs};
        // The whole name decides, as the comparison window decides; case
        // and width only hint at a match.
        QTest::newRow("case and width")
            << QStringList{u"ＭＳ　明朝:5"_qs, u"arial:7"_qs, u"ｺﾞｼｯｸ:3"_qs}
            << QStringList{u"MS 明朝:5"_qs, u"Arial:7"_qs, u"ゴシック:3"_qs}
            << QStringList{u"ＭＳ　明朝[5|-]~MS 明朝"_qs, u"arial[7|-]~Arial"_qs, u"ｺﾞｼｯｸ[3|-]~ゴシック"_qs}
            << QStringList{u"MS 明朝[-|5]~ＭＳ　明朝"_qs, u"Arial[-|7]~arial"_qs, u"ゴシック[-|3]~ｺﾞｼｯｸ"_qs}
            << QStringList() << QStringList();
        // A file may hold a name twice; it is listed once, with each size.
        QTest::newRow("duplicates") << QStringList{u"A:1"_qs, u"A:1"_qs, u"B:1"_qs, u"B:2"_qs, u"C:3"_qs, u"C:3"_qs}
                                    << QStringList{u"A:1"_qs, u"B:2"_qs, u"B:1"_qs, u"D:4"_qs, u"D:4"_qs}
                                    << QStringList{u"C[3|-]"_qs} << QStringList{u"D[-|4]"_qs} << QStringList()
                                    << QStringList{u"A[1|1]"_qs, u"B[1 / 2|2 / 1]"_qs};
        QTest::newRow("a size twice on one side only")
            << QStringList{u"A:1"_qs, u"A:2"_qs} << QStringList{u"A:1"_qs} << QStringList() << QStringList()
            << QStringList{u"A[1 / 2|1]"_qs} << QStringList();
        QTest::newRow("empty left") << QStringList() << QStringList{u"A:1"_qs} << QStringList()
                                    << QStringList{u"A[-|1]"_qs} << QStringList() << QStringList();
        QTest::newRow("empty right") << QStringList{u"A:1"_qs} << QStringList() << QStringList{u"A[1|-]"_qs}
                                     << QStringList() << QStringList() << QStringList();
        QTest::newRow("both empty") << QStringList() << QStringList() << QStringList() << QStringList()
                                    << QStringList() << QStringList();
    }

    void fourGroups()
    {
        QFETCH(QStringList, left);
        QFETCH(QStringList, right);
        const Inventory inventory = CompareFontSets(setOf(left), setOf(right));
        QTEST(describe(inventory.onlyLeft), "onlyLeft");
        QTEST(describe(inventory.onlyRight), "onlyRight");
        QTEST(describe(inventory.sizeDiffers), "sizeDiffers");
        QTEST(describe(inventory.same), "same");
        QFETCH(QStringList, onlyLeft);
        QFETCH(QStringList, onlyRight);
        QFETCH(QStringList, sizeDiffers);
        QCOMPARE(inventory.identical(), onlyLeft.isEmpty() && onlyRight.isEmpty() && sizeDiffers.isEmpty());
    }

    // A file saved here holds each size as its field can: a font file past
    // 2 GB still compares the same against this machine.
    void sizesAsTheFileHoldsThem()
    {
        comparison_file::Writer writer;
        writer.addRecord(u"Huge"_qs, 5'000'000'000LL);
        writer.addRecord(u"Small"_qs, 12);
        const comparison_file::Contents contents = comparison_file::read(writer.finish());
        QCOMPARE(contents.names, (QStringList{u"Huge"_qs, u"Small"_qs}));
        QCOMPARE(contents.sizes, (QList<qint32>{std::numeric_limits<qint32>::max(), 12}));
        const FontSet machine{ThisMachineTitle, contents.names,
                              {comparison_file::storedSize(5'000'000'000LL), comparison_file::storedSize(12)}};
        const FontSet file{u"a.gfc"_qs, contents.names, {contents.sizes.at(0), contents.sizes.at(1)}};
        QVERIFY(CompareFontSets(file, machine).identical());
    }

    // The saved table: one heading, then every name in group order, and
    // fields with commas stay whole.
    void tableAndLines()
    {
        const FontSet left{u"left.gfc"_qs, {u"A, Bold"_qs, u"Same"_qs, u"Old"_qs}, {1, 2, 3}};
        const FontSet right{ThisMachineTitle, {u"Same"_qs, u"Old"_qs, u"New"_qs}, {2, 4, 5}};
        const Inventory inventory = CompareFontSets(left, right);
        const QList<QStringList> rows = InventoryTable(inventory, left, right);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.at(1), (QStringList{GroupTitle(InventoryGroup::OnlyLeft), u"A, Bold"_qs, u"1"_qs, QString(), QString()}));
        QCOMPARE(rows.at(3).at(0), GroupTitle(InventoryGroup::SizeDiffers));
        QCOMPARE(rows.at(4).at(1), u"Same"_qs);
        QVERIFY(CsvExport::table(rows).contains("\"A, Bold\""));

        const QStringList lines = InventoryLines(inventory, left, right);
        QVERIFY(lines.contains(u"  A, Bold"_qs));
        QVERIFY(lines.contains(u"  Old  左 3 バイト / 右 4 バイト"_qs));
        // The shared names are counted, not listed.
        QVERIFY(lines.contains(GroupTitle(InventoryGroup::Same) + u"  総数: 1 個"_qs));
        QVERIFY(!lines.contains(u"  Same"_qs));
    }
};

QTEST_GUILESS_MAIN(InventoryTest)
#include "tst_inventory.moc"

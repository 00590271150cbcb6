#include "catalog/FontCatalogBuilder.h"

#include "support/TestPlatform.h"

#include <QTest>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString FontsKey = WindowsKey + QStringLiteral("\\Fonts");

struct Fixture {
    TestPlatform test;
    FontCatalog catalog;
    QStringList statusTexts;

    Fixture() { test.registry.addKey(RootKey::LocalMachine, FontsKey); }

    CatalogBuildResult build()
    {
        return BuildFontCatalog(catalog, test.platform, WindowsKey,
                                [this](const QString& text) { statusTexts << text; });
    }
};

} // namespace

class TestCatalogBuild : public QObject {
    Q_OBJECT

private slots:
    void emptyCatalogue();
    void groupsCountsAndOrder();
    void statusTexts();
    void entriesFromTheFontsKey();
    void fatalFailures_data();
    void fatalFailures();
    void rebuildStartsAfresh();
};

void TestCatalogBuild::emptyCatalogue()
{
    Fixture fixture;
    const CatalogBuildResult result = fixture.build();

    QCOMPARE(result.fatalMessage, -1);
    QVERIFY(result.consistent);
    QCOMPARE(fixture.catalog.FontTotal, 0);
    QCOMPARE(fixture.catalog.IndexSummary.size(), 30);
    QCOMPARE(fixture.catalog.IndexSummary.first(), u"$,%,&,@\t0 Fonts"_qs);
    QCOMPARE(fixture.catalog.IndexSummary.at(17), u"Q\t0 Fonts"_qs);
    QCOMPARE(fixture.catalog.IndexSummary.at(27), u"Other\t0 Fonts"_qs);
    QCOMPARE(fixture.catalog.IndexSummary.at(28), u"------------------"_qs);
    QCOMPARE(fixture.catalog.IndexSummary.at(29), u"Total\t0 Fonts"_qs);
    QCOMPARE(fixture.catalog.FontsFolder, *fixture.test.system.fonts);
}

void TestCatalogBuild::groupsCountsAndOrder()
{
    Fixture fixture;
    fixture.test.fonts.names = {u"Times"_qs,  u"arial"_qs, u"Arial"_qs,     u"@ＭＳ 明朝"_qs,
                                u"ＭＳ 明朝"_qs, u"12 Font"_qs, u"Courier"_qs, u"Arial"_qs,
                                u"$Money"_qs, u"ab"_qs};
    const CatalogBuildResult result = fixture.build();
    const FontCatalog& catalog = fixture.catalog;

    QVERIFY(result.consistent);
    QCOMPARE(catalog.FontTotal, 10);
    QCOMPARE(catalog.AllFontNames.size(), 10);
    // Sorted case-insensitively, duplicates kept.
    QCOMPARE(catalog.AllFontNames.indexOf(u"Arial"_qs) + 2, catalog.AllFontNames.indexOf(u"arial"_qs));
    QCOMPARE(catalog.AllFontNames.count(u"Arial"_qs), 2);
    QCOMPARE(catalog.Groups[0].Names, (QStringList{u"$Money"_qs, u"@ＭＳ 明朝"_qs}));
    QCOMPARE(catalog.Groups[1].Names, (QStringList{u"Arial"_qs, u"Arial"_qs}));
    QCOMPARE(catalog.Groups[13].Names, (QStringList{u"ＭＳ 明朝"_qs}));
    QCOMPARE(catalog.Groups[27].Names, (QStringList{u"12 Font"_qs, u"ab"_qs, u"arial"_qs}));
    QCOMPARE(catalog.Groups[27].Label, u"Other"_qs);
    QCOMPARE(catalog.IndexLabels[2], u"B"_qs);

    QCOMPARE(catalog.IndexSummary.at(0), u"$,%,&,@\t2 Fonts"_qs);
    QCOMPARE(catalog.IndexSummary.at(1), u"A\t2 Fonts"_qs);
    QCOMPARE(catalog.IndexSummary.at(3), u"C\t1 Fonts"_qs);
    QCOMPARE(catalog.IndexSummary.at(27), u"Other\t3 Fonts"_qs);
    QCOMPARE(catalog.IndexSummary.at(29), u"Total\t10 Fonts"_qs);
}

void TestCatalogBuild::statusTexts()
{
    Fixture fixture;
    fixture.test.fonts.names = {u"Arial"_qs, u"ＭＳ ゴシック"_qs};
    fixture.build();
    const QStringList expected{u"フォント読み込み中...   Arial"_qs,
                               u"フォント読み込み中...   ＭＳ ゴシック"_qs, u"初期化中..."_qs};
    QCOMPARE(fixture.statusTexts, expected);
}

void TestCatalogBuild::entriesFromTheFontsKey()
{
    Fixture fixture;
    FakeRegistry& registry = fixture.test.registry;
    registry.put(RootKey::LocalMachine, FontsKey, u"Times New Roman (TrueType)"_qs, u"times.ttf"_qs);
    registry.put(RootKey::LocalMachine, FontsKey, u"arial (TrueType)"_qs, u"arial.ttf"_qs);
    registry.put(RootKey::LocalMachine, FontsKey, u"Cut"_qs + QChar(0) + u"tail"_qs, u"cut.ttf"_qs);
    registry.put(RootKey::LocalMachine, FontsKey, QString(1024, u'x'), u"long.ttf"_qs);
    registry.put(RootKey::LocalMachine, FontsKey, u"Behind the long one"_qs, u"b.ttf"_qs);

    const CatalogBuildResult result = fixture.build();

    // Cut at the NUL, sorted, and the walk ends at the name too long for the
    // buffer, keeping what came before it.
    QCOMPARE(result.fatalMessage, -1);
    QCOMPARE(fixture.catalog.FontFileEntries,
             (QStringList{u"arial (TrueType)"_qs, u"Cut"_qs, u"Times New Roman (TrueType)"_qs}));
    QCOMPARE(registry.openHandles(), 0);
}

void TestCatalogBuild::fatalFailures_data()
{
    QTest::addColumn<int>("failingOp");
    QTest::addColumn<bool>("noFontsFolder");

    QTest::newRow("Fonts key cannot be opened") << int(FakeRegistry::Op::Open) << false;
    QTest::newRow("Fonts key cannot be closed") << int(FakeRegistry::Op::Close) << false;
    QTest::newRow("no fonts folder") << -1 << true;
}

void TestCatalogBuild::fatalFailures()
{
    QFETCH(int, failingOp);
    QFETCH(bool, noFontsFolder);

    Fixture fixture;
    fixture.test.fonts.names = {u"Arial"_qs};
    fixture.test.registry.failWhen = [failingOp](const FakeRegistry::Call& call) -> long {
        return int(call.op) == failingOp ? RegAccessDenied : RegSuccess;
    };
    if (noFontsFolder)
        fixture.test.system.fonts = std::nullopt;

    const CatalogBuildResult result = fixture.build();
    QCOMPARE(result.fatalMessage, 2);
    // It stops before reading any font.
    QVERIFY(fixture.statusTexts.isEmpty());
    QVERIFY(fixture.catalog.AllFontNames.isEmpty());
}

void TestCatalogBuild::rebuildStartsAfresh()
{
    Fixture fixture;
    fixture.test.fonts.names = {u"Arial"_qs, u"Bodoni"_qs};
    fixture.build();
    fixture.test.fonts.names = {u"Arial"_qs};
    fixture.build();
    QCOMPARE(fixture.catalog.AllFontNames, QStringList{u"Arial"_qs});
    QCOMPARE(fixture.catalog.Groups[2].Names.size(), 0);
    QCOMPARE(fixture.catalog.IndexSummary.size(), 30);
    QCOMPARE(fixture.catalog.FontTotal, 1);
}

QTEST_GUILESS_MAIN(TestCatalogBuild)
#include "tst_catalogbuild.moc"

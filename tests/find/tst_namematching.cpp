#include "find/FontFinder.h"
#include "support/FakeSystem.h"

#include <QTest>

// Finding fonts by name: either of a font's names, whatever the case, the
// width or the kana used.
class NameMatchingTest : public QObject {
    Q_OBJECT

private slots:
    void findsByEitherName_data();
    void findsByEitherName();
};

void NameMatchingTest::findsByEitherName_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("found");
    const QStringList ipa{u"IPAゴシック"_qs};
    QTest::newRow("other name, lower case") << u"gothic"_qs << ipa;
    QTest::newRow("full width") << u"ｇｏｔｈｉｃ"_qs << ipa;
    QTest::newRow("hiragana for katakana") << u"ごしっく"_qs << ipa;
    QTest::newRow("half-width katakana with a voiced mark") << u"ｺﾞｼｯｸ"_qs << ipa;
    QTest::newRow("shown name, upper case") << u"IPAゴ"_qs << ipa;
    QTest::newRow("across two names finds nothing") << u"ゴシックipa"_qs << QStringList();
    QTest::newRow("full-width blank") << u"ms　明朝"_qs << QStringList{u"ＭＳ 明朝"_qs};
    QTest::newRow("comma and quote") << u", \"q"_qs << QStringList{u"Font, \"Quoted\""_qs};
    QTest::newRow("empty field lists all")
        << QString() << QStringList{u"Font, \"Quoted\""_qs, u"IPAゴシック"_qs, u"ＭＳ 明朝"_qs, u"Serif"_qs};
    QTest::newRow("nothing matches") << u"mincho"_qs << QStringList();
}

void NameMatchingTest::findsByEitherName()
{
    QFETCH(QString, query);
    QFETCH(QStringList, found);
    FakeFontList fonts;
    const QStringList names{u"Font, \"Quoted\""_qs, u"IPAゴシック"_qs, u"ＭＳ 明朝"_qs, u"Serif"_qs};
    fonts.otherNames.insert(u"IPAゴシック"_qs, {{u"IPAGothic"_qs, u"en"_qs}, {u"IPAゴシック"_qs, u"ja"_qs}});
    FontFinder finder(names, fonts);
    QStringList shown;
    for (const FoundFont& font : finder.find(query, {}, LackingFonts::Hidden))
        shown << names.at(font.position);
    QCOMPARE(shown, found);
    QCOMPARE(finder.otherNamesOf(1), u"IPAGothic"_qs);
}

QTEST_GUILESS_MAIN(NameMatchingTest)
#include "tst_namematching.moc"

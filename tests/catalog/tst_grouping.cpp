#include "catalog/FontGrouping.h"
#include "catalog/ListOrder.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <random>

class TestGrouping : public QObject {
    Q_OBJECT

private slots:
    void groupOf_data();
    void groupOf();
    void sortOrder_data();
    void sortOrder();
    void sortDoesNotDependOnInputOrder();

};

void TestGrouping::groupOf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("group");

    QTest::newRow("Arial") << u"Arial"_qs << 1;
    QTest::newRow("Z") << u"Zapf"_qs << 26;
    QTest::newRow("Q") << u"Quartz"_qs << 17;
    QTest::newRow("lower-case initial") << u"arial"_qs << 27;
    QTest::newRow("digit") << u"10 Synth"_qs << 27;
    QTest::newRow("full-width M") << u"Ｍincho"_qs << 13;
    QTest::newRow("full-width lower-case m") << u"ｍincho"_qs << 27;
    QTest::newRow("MS Gothic full-width") << u"ＭＳ ゴシック"_qs << 13;
    QTest::newRow("vertical MS Gothic") << u"@ＭＳ ゴシック"_qs << 0;
    QTest::newRow("full-width at sign") << u"＠ＭＳ 明朝"_qs << 0;
    QTest::newRow("full-width ampersand") << u"＆Font"_qs << 0;
    QTest::newRow("dollar") << u"$Font"_qs << 0;
    QTest::newRow("percent") << u"%Font"_qs << 0;
    QTest::newRow("number sign") << u"#Font"_qs << 27;
    QTest::newRow("exclamation mark") << u"!Font"_qs << 27;
    QTest::newRow("kana") << u"ガ合成"_qs << 27;
    QTest::newRow("kanji") << u"游明朝"_qs << 27;
    QTest::newRow("empty") << QString() << 27;
}

void TestGrouping::groupOf()
{
    QFETCH(QString, name);
    QFETCH(int, group);
    QCOMPARE(FontGroupOf(name), group);
}

void TestGrouping::sortOrder_data()
{
    QTest::addColumn<QString>("localeName");
    // The viewer runs under ja_JP, the tool over ssh often under C.
    QTest::newRow("C") << u"C"_qs;
    QTest::newRow("ja_JP") << u"ja_JP"_qs;
    QTest::newRow("en_US") << u"en_US"_qs;
}

void TestGrouping::sortOrder()
{
    QFETCH(QString, localeName);
    const QLocale saved;
    QLocale::setDefault(QLocale(localeName));

    QStringList names{u"beta"_qs, u"Alpha"_qs, u"alpha"_qs, u"Beta"_qs, u"gamma"_qs, u"Alpha"_qs,
                      u"ALPHAS"_qs};
    SortLikeListBox(names);
    QLocale::setDefault(saved);

    // Case does not separate names; equal names stay, each one.
    const QStringList expected{u"Alpha"_qs, u"Alpha"_qs, u"alpha"_qs, u"ALPHAS"_qs,
                               u"Beta"_qs,  u"beta"_qs,  u"gamma"_qs};
    QCOMPARE(names, expected);
}

void TestGrouping::sortDoesNotDependOnInputOrder()
{
    QStringList names;
    for (int i = 0; i < 500; ++i) {
        names << QStringLiteral("Font %1").arg(i % 37) << QStringLiteral("font %1").arg(i % 41)
              << QStringLiteral("ＦＯＮＴ%1").arg(i % 7);
    }
    QStringList sorted = names;
    SortLikeListBox(sorted);
    QCOMPARE(sorted.size(), names.size());

    std::mt19937 random(7);
    for (int round = 0; round < 3; ++round) {
        QStringList shuffled = names;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        SortLikeListBox(shuffled);
        QCOMPARE(shuffled, sorted);
    }
}

QTEST_GUILESS_MAIN(TestGrouping)
#include "tst_grouping.moc"

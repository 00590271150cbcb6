#include "face/JapaneseSets.h"

#include <QTest>

// The character sets against their published sizes, and what the tables
// tell of single characters.
class JapaneseSetsTest : public QObject {
    Q_OBJECT

private slots:
    void setsHaveTheirPublishedSizes_data();
    void setsHaveTheirPublishedSizes();
    void characterFacts_data();
    void characterFacts();
};

void JapaneseSetsTest::setsHaveTheirPublishedSizes_data()
{
    QTest::addColumn<JapaneseSet>("set");
    QTest::addColumn<int>("size");
    QTest::newRow("hiragana and katakana") << JapaneseSet::Kana << 169;
    QTest::newRow("half-width katakana") << JapaneseSet::HalfWidthKana << 63;
    QTest::newRow("JIS X 0208 non-kanji") << JapaneseSet::Jis0208NonKanji << 524;
    QTest::newRow("level 1") << JapaneseSet::Jis0208Level1 << 2965;
    QTest::newRow("level 2") << JapaneseSet::Jis0208Level2 << 3390;
    QTest::newRow("level 3") << JapaneseSet::Jis0213Level3 << 1259;
    QTest::newRow("level 4") << JapaneseSet::Jis0213Level4 << 2436;
    QTest::newRow("jōyō") << JapaneseSet::Joyo << 2136;
    QTest::newRow("jinmeiyō") << JapaneseSet::Jinmeiyo << 863;
    // JIS X 0213 adds 659 non-kanji; 25 of them are a kana or letter with a
    // combining mark, two code points, which no single character stands for.
    QTest::newRow("JIS X 0213 non-kanji") << JapaneseSet::Jis0213NonKanji << 634;
}

void JapaneseSetsTest::setsHaveTheirPublishedSizes()
{
    QFETCH(JapaneseSet, set);
    QFETCH(int, size);
    const std::span<const char32_t> characters = CharactersOf(set);
    QCOMPARE(int(characters.size()), size);
    QVERIFY(std::is_sorted(characters.begin(), characters.end()));
    QVERIFY(std::adjacent_find(characters.begin(), characters.end()) == characters.end());
}

void JapaneseSetsTest::characterFacts_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("jis");  // "plane-row-cell", or empty
    QTest::addColumn<int>("shiftJis"); // 0 where there is none
    QTest::addColumn<QString>("kind"); // "jōyō", "jinmeiyō" or empty
    QTest::addColumn<QString>("block");
    const QString unified = u"CJK統合漢字"_qs;
    QTest::newRow("亜, the first level 1 kanji") << u"亜"_qs << u"1-16-01"_qs << 0x889F << u"jōyō"_qs << unified;
    QTest::newRow("ア, row 5") << u"ア"_qs << u"1-05-02"_qs << 0x8341 << QString() << u"片仮名"_qs;
    QTest::newRow("熙, the last of level 2") << u"熙"_qs << u"1-84-06"_qs << 0xEAA4 << u"jinmeiyō"_qs << unified;
    QTest::newRow("﨑, level 3 only") << u"﨑"_qs << u"1-47-82"_qs << 0 << QString()
                                   << u"CJK互換漢字"_qs;
    QTest::newRow("㐆, level 4") << u"㐆"_qs << u"2-01-13"_qs << 0 << QString() << u"CJK統合漢字拡張A"_qs;
    // Neither is in any JIS set: a name's 髙 or 𠮷 needs a font beyond them.
    QTest::newRow("髙") << u"髙"_qs << QString() << 0 << QString() << unified;
    QTest::newRow("𠮷, beyond the BMP") << u"𠮷"_qs << QString() << 0 << QString()
                                      << u"CJK統合漢字拡張B"_qs;
    QTest::newRow("①, JIS X 0213 non-kanji") << u"①"_qs << u"1-13-01"_qs << 0x8740 << QString() << u"囲み英数字"_qs;
    QTest::newRow("A, no JIS place here") << u"A"_qs << QString() << 0 << QString() << u"基本ラテン文字"_qs;
}

void JapaneseSetsTest::characterFacts()
{
    QFETCH(QString, character);
    QFETCH(QString, jis);
    QFETCH(int, shiftJis);
    QFETCH(QString, kind);
    QFETCH(QString, block);
    const char32_t c = character.toUcs4().first();
    const std::optional<JisPosition> place = JisPositionOf(c);
    QCOMPARE(place ? u"%1-%2-%3"_qs.arg(place->plane).arg(place->row, 2, 10, QChar(u'0')).arg(place->cell, 2, 10, QChar(u'0'))
                   : QString(),
             jis);
    QCOMPARE(int(ShiftJisOf(c).value_or(0)), shiftJis);
    QCOMPARE(IsJoyo(c) ? u"jōyō"_qs : IsJinmeiyo(c) ? u"jinmeiyō"_qs : QString(), kind);
    QCOMPARE(BlockOf(c)->name, block);
}

QTEST_GUILESS_MAIN(JapaneseSetsTest)
#include "tst_japanesesets.moc"

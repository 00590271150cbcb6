#include "find/FontFinder.h"
#include "platform/FontConfigFonts.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <array>

// Finding the fonts that can show a text, by the installed fonts' own
// character maps: the synthetic fonts hold a known handful of kanji, IPA
// Gothic holds 髙 but not 𠮷, Noto Sans CJK JP both, Latin Blank no kana.
class CharacterFilterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fontsThatShowTheText_data();
    void fontsThatShowTheText();
    void lackingAsTheListSaysIt();
    void anEmptyResultSaysWhy_data();
    void anEmptyResultSaysWhy();

private:
    QTemporaryDir m_folder;
    QStringList m_names;
    std::unique_ptr<platform::FontConfigFonts> m_fonts;
};

void CharacterFilterTest::initTestCase()
{
    // The synthetic fonts and the system's, with a Latin-only font beside them.
    QFile config(m_folder.filePath(u"fonts.conf"_qs));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("<?xml version=\"1.0\"?><fontconfig><include>" + TestEnvironment::syntheticFontsDir().toUtf8()
                 + "/fonts.conf</include><dir>" GLYFARO_SMALL_FONTS "</dir></fontconfig>");
    config.close();
    qputenv("FONTCONFIG_FILE", config.fileName().toLocal8Bit());
    m_fonts = std::make_unique<platform::FontConfigFonts>();
    m_names = m_fonts->screenFonts();
    for (const QString& name : {u"Aynth Sans 0000"_qs, u"IPAゴシック"_qs, u"Noto Sans CJK JP"_qs, u"Latin Blank"_qs})
        QVERIFY2(m_names.contains(name), qPrintable(name));
}

void CharacterFilterTest::fontsThatShowTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lackingListed");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("expected"); // "-" not listed, "" complete, else what it lacks
    const QString synthetic = u"Aynth Sans 0000"_qs;
    QTest::newRow("kanji the synthetic font has") << u"漢字 表示"_qs << false << synthetic << QString();
    QTest::newRow("a kanji it has not") << u"漢髙"_qs << false << synthetic << u"-"_qs;
    QTest::newRow("髙 in IPA Gothic") << u"髙橋"_qs << false << u"IPAゴシック"_qs << QString();
    QTest::newRow("𠮷 beyond the BMP, not in IPA") << u"𠮷野家"_qs << false << u"IPAゴシック"_qs << u"-"_qs;
    QTest::newRow("𠮷 in Noto") << u"𠮷野家"_qs << false << u"Noto Sans CJK JP"_qs << QString();
    QTest::newRow("Latin font, Japanese text") << u"テスト"_qs << false << u"Latin Blank"_qs << u"-"_qs;
    QTest::newRow("Latin font, Latin text") << u"Abc"_qs << false << u"Latin Blank"_qs << QString();
    QTest::newRow("lacking: the one missing") << u"漢髙𠮷"_qs << true << u"IPAゴシック"_qs << u"𠮷"_qs;
    QTest::newRow("lacking: two missing") << u"漢髙𠮷"_qs << true << synthetic << u"髙𠮷"_qs;
    QTest::newRow("lacking: none held, not listed") << u"漢髙𠮷"_qs << true << u"Latin Blank"_qs << u"-"_qs;
    // 葛 with U+E0100: Noto Sans CJK JP maps the sequence, IPA Gothic holds
    // 葛 but no sequences at all.
    const QString kuzu = QString::fromUcs4(std::array<char32_t, 2>{U'葛', 0xE0100}.data(), 2);
    QTest::newRow("a sequence the face maps") << kuzu << false << u"Noto Sans CJK JP"_qs << QString();
    QTest::newRow("a sequence the face lacks") << kuzu << false << u"IPAゴシック"_qs << u"-"_qs;
    QTest::newRow("lacking: the sequence") << kuzu + u"髙"_qs << true << u"IPAゴシック"_qs << kuzu;
    QTest::newRow("the base alone is enough") << u"葛"_qs << false << u"IPAゴシック"_qs << QString();
    QTest::newRow("a selector after nothing") << u" \U000E0100髙"_qs << false << u"IPAゴシック"_qs << QString();
}

void CharacterFilterTest::fontsThatShowTheText()
{
    QFETCH(QString, text);
    QFETCH(bool, lackingListed);
    QFETCH(QString, font);
    QFETCH(QString, expected);
    FontFinder finder(m_names, *m_fonts);
    const QList<FoundFont> found =
        finder.find({}, text, lackingListed ? LackingFonts::Listed : LackingFonts::Hidden);
    const int position = int(m_names.indexOf(font));
    const auto it = std::find_if(found.cbegin(), found.cend(), [&](const FoundFont& f) { return f.position == position; });
    QCOMPARE(it == found.cend() ? u"-"_qs : it->lacking, expected);
    // The complete ones come first.
    const auto firstLacking = std::find_if(found.cbegin(), found.cend(), [](const FoundFont& f) { return !f.lacking.isEmpty(); });
    QVERIFY(std::all_of(firstLacking, found.cend(), [](const FoundFont& f) { return !f.lacking.isEmpty(); }));
}

void CharacterFilterTest::lackingAsTheListSaysIt()
{
    const QString kuzu = QString::fromUcs4(std::array<char32_t, 2>{U'葛', 0xE0100}.data(), 2);
    QCOMPARE(LackingText(u"髙𠮷"_qs), u"足りない文字: 髙𠮷"_qs);
    QCOMPARE(LackingText(kuzu), u"足りない異体字: "_qs + kuzu + u" (U+845B U+E0100)"_qs);
    QCOMPARE(LackingText(u"髙"_qs + kuzu), u"足りない文字: 髙　足りない異体字: "_qs + kuzu + u" (U+845B U+E0100)"_qs);
    QCOMPARE(LackingText(QString()), QString());
}

void CharacterFilterTest::anEmptyResultSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lackingListed");
    QTest::addColumn<QString>("said");
    const QString noGlyph = QString::fromUcs4(U"\U0010FFFD", 1);
    QTest::newRow("a reading in kana") << u"みんちょう"_qs << QString() << false
                                       << u"名前に「みんちょう」を含むフォントはありません。漢字の名前は読みでは"_qs;
    QTest::newRow("a text no font shows") << QString() << noGlyph << false << u"「一部の文字が足りないフォントも表示」"_qs;
    QTest::newRow("a name whose fonts lack the text")
        << u"Latin Blank"_qs << u"テスト"_qs << false
        << u"名前に「Latin Blank」を含むフォントに、「テスト」をすべて表示できるものはありません。"_qs;
}

void CharacterFilterTest::anEmptyResultSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, lackingListed);
    QFETCH(QString, said);
    FontFinder finder(m_names, *m_fonts);
    const QString reason = finder.whyNothing(name, text, lackingListed ? LackingFonts::Listed : LackingFonts::Hidden);
    QVERIFY2(reason.contains(said), qPrintable(reason));
    // Only a name with kana gets the word about readings.
    QCOMPARE(reason.contains(u"読み"_qs), name.startsWith(u'み'));
}

QTEST_GUILESS_MAIN(CharacterFilterTest)
#include "tst_characterfilter.moc"

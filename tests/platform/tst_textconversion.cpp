#include "platform/TextConversion.h"

#include <QTest>

using namespace platform;

class TestTextConversion : public QObject {
    Q_OBJECT

private slots:
    void halfWidth_data();
    void halfWidth();
    void halfWidthCoversEveryKatakanaForm();
    void encode_data();
    void encode();
    void decode_data();
    void decode();
};

void TestTextConversion::halfWidth_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("full-width letters keep their case") << u"ＡｂＺｚ"_qs << u"AbZz"_qs;
    QTest::newRow("full-width digits and symbols") << u"０９＆＄％＠！～"_qs << u"09&$%@!~"_qs;
    QTest::newRow("ideographic space") << u"ＭＳ　ゴシック"_qs << u"MS ｺﾞｼｯｸ"_qs;
    QTest::newRow("voiced kana split") << u"ガパヴ"_qs << u"ｶﾞﾊﾟｳﾞ"_qs;
    QTest::newRow("small kana and long mark") << u"ァッャー"_qs << u"ｧｯｬｰ"_qs;
    QTest::newRow("katakana punctuation") << u"。「」、・゛゜"_qs << u"｡｢｣､･ﾞﾟ"_qs;
    QTest::newRow("hiragana and kanji unchanged") << u"あがり漢字"_qs << u"あがり漢字"_qs;
    QTest::newRow("ascii and half-width unchanged") << u"Arial ｱ"_qs << u"Arial ｱ"_qs;
    QTest::newRow("full-width yen sign unchanged") << u"￥"_qs << u"￥"_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestTextConversion::halfWidth()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(toHalfWidth(input), expected);
}

void TestTextConversion::halfWidthCoversEveryKatakanaForm()
{
    // Every half-width katakana U+FF66..U+FF9D has a full-width form that
    // maps onto it alone, so no entry of the table is missing or shifted.
    const QString fullWidth = u"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテト"
                              u"ナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"_qs;
    QString expected;
    for (char16_t code = 0xFF66; code <= 0xFF9D; ++code)
        expected += QChar(code);
    QCOMPARE(toHalfWidth(fullWidth), expected);

    QCOMPARE(toHalfWidth(u"ダヂヅデドバビブベボポ"_qs), u"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾎﾟ"_qs);
}

void TestTextConversion::encode_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("unmappable");

    QTest::newRow("full-width B") << u"Ｂ"_qs << QByteArray::fromHex("8261") << QString();
    QTest::newRow("ascii and kanji") << u"A漢"_qs << QByteArray::fromHex("418abf") << QString();
    QTest::newRow("half-width kana single byte") << u"ｱ"_qs << QByteArray::fromHex("b1") << QString();
    QTest::newRow("yen sign and wave dash named")
        << u"a¥b〜c"_qs << QByteArray() << u"¥〜"_qs;
    QTest::newRow("emoji named whole") << u"x😀"_qs << QByteArray() << u"😀"_qs;
    // Half a pair at the end was once dropped without a word.
    QTest::newRow("high surrogate at the end") << (u"a"_qs + QChar(0xdb82)) << QByteArray() << QString(QChar(0xdb82));
    QTest::newRow("low surrogate alone") << (QString(QChar(0xdc00)) + u"b"_qs) << QByteArray() << QString(QChar(0xdc00));
}

void TestTextConversion::encode()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, unmappable);

    const Cp932Encoding encoding = encodeCp932(input);
    QCOMPARE(encoding.unmappable, unmappable);
    QCOMPARE(encoding.ok(), unmappable.isEmpty());
    if (encoding.ok())
        QCOMPARE(encoding.bytes, bytes);
}

void TestTextConversion::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("text");

    QTest::newRow("double byte") << QByteArray::fromHex("8261") << true << u"Ｂ"_qs;
    QTest::newRow("mixed") << QByteArray::fromHex("41b18abf") << true << u"Aｱ漢"_qs;
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("cut double byte") << QByteArray::fromHex("826182") << false << QString();
}

void TestTextConversion::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(QString, text);

    const std::optional<QString> decoded = decodeCp932(bytes);
    QCOMPARE(decoded.has_value(), valid);
    if (valid)
        QCOMPARE(*decoded, text);
}

QTEST_GUILESS_MAIN(TestTextConversion)
#include "tst_textconversion.moc"

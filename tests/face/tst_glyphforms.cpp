#include "face/GlyphForms.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QString Noto = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString IpaGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
const QString IpaMj = QStringLiteral("/usr/share/fonts/truetype/ipamj/ipamjm.ttf");

QString small(const QString& name)
{
    return QStringLiteral(GLYFARO_SMALL_FONTS "/") + name;
}

// The face's variation sequences and selectors as fontTools counts them,
// apart from the code under test.
QPair<int, int> countedByFontTools(const QString& path, int index)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys\n"
                                 "from fontTools.ttLib import TTFont\n"
                                 "f = TTFont(sys.argv[1], fontNumber=int(sys.argv[2]), lazy=True)\n"
                                 "t = [s for s in f['cmap'].tables if s.format == 14]\n"
                                 "d = t[0].uvsDict if t else {}\n"
                                 "print(sum(len(v) for v in d.values()), len(d))\n"),
                  path, QString::number(index)});
    if (!python.waitForFinished(120000) || python.exitCode() != 0)
        return {-1, -1};
    const QList<QByteArray> numbers = python.readAllStandardOutput().trimmed().split(' ');
    return {numbers.value(0).toInt(), numbers.value(1).toInt()};
}

} // namespace

class GlyphFormsTest : public QObject {
    Q_OBJECT

private slots:
    void formsAndSequences_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("forms");
        QTest::addColumn<QString>("switched"); // by the face's own switch, where it has one
        QTest::newRow("Noto Sans CJK JP") << Noto << 0 << u"JIS2004 字形（jp90 で JIS90 字形、jp78 で JIS78 字形、jp83 で JIS83 字形）"_qs
                                          << u"辻葛飴"_qs;
        QTest::newRow("IPAmj明朝") << IpaMj << 0 << u"不明（jp90/jp04 の切り替えなし）"_qs << QString();
        QTest::newRow("IPA Gothic") << IpaGothic << 0 << u"不明（jp90/jp04 の切り替えなし）"_qs << QString();
        QTest::newRow("a JIS2004 face") << small(u"forms-jp90.ttf"_qs) << 0 << u"JIS2004 字形（jp90 で JIS90 字形）"_qs
                                        << u"辻葛"_qs;
        QTest::newRow("a JIS90 face") << small(u"forms-jp04.ttf"_qs) << 0 << u"JIS90 字形（jp04 で JIS2004 字形）"_qs
                                      << u"辻葛"_qs;
    }

    void formsAndSequences()
    {
        QFETCH(QString, path);
        QFETCH(int, index);
        QFETCH(QString, forms);
        QFETCH(QString, switched);
        if (!QFile::exists(path))
            QSKIP("the font's package is not installed");
        const GlyphForms read = GlyphFormsOf(path, index);
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(GlyphFormsText(read), forms);
        const QPair<int, int> counted = countedByFontTools(path, index);
        QCOMPARE(read.sequences, counted.first);
        QCOMPARE(int(read.selectors.size()), counted.second);
        QCOMPARE(VariationSequencesText(read) == u"なし"_qs, counted.first == 0);

        const char* feature = read.jp90 ? "jp90" : "jp04";
        const QList<SwitchedCharacter> characters = CharactersSwitchedBy(path, index, feature);
        QString text;
        for (const SwitchedCharacter& character : characters) {
            text += QString::fromUcs4(&character.character, 1);
            QVERIFY(character.glyph != character.switchedGlyph);
        }
        // Each of the famous ones is there; a real face switches far more.
        for (const QChar c : switched)
            QVERIFY2(text.contains(c), qPrintable(QString(c)));
        QCOMPARE(text.isEmpty(), switched.isEmpty());
    }

    void variantsOfOneCharacter()
    {
        // 葛 in Noto Sans CJK JP: the Adobe-Japan1 sequences, the first
        // the base glyph itself.
        const QList<Variant> variants = VariantsOf(Noto, 0, U'葛');
        QVERIFY(variants.size() >= 2);
        QCOMPARE(variants.first().selector, char32_t(0xE0100));
        QVERIFY(variants.at(0).glyph != variants.at(1).glyph);
        QCOMPARE(SequenceText(U'葛', variants.first().selector), u"U+845B U+E0100"_qs);
        QVERIFY(VariantsOf(IpaGothic, 0, U'葛').isEmpty());
    }

    void unreadableFaces_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("index");
        QTest::newRow("garbage") << small(u"garbage.ttf"_qs) << 0;
        QTest::newRow("cut short") << small(u"cut.ttf"_qs) << 0;
        QTest::newRow("missing") << small(u"none.ttf"_qs) << 0;
        QTest::newRow("a face the collection lacks") << Noto << 40;
    }

    void unreadableFaces()
    {
        QFETCH(QString, path);
        QFETCH(int, index);
        const GlyphForms read = GlyphFormsOf(path, index);
        QVERIFY(!read.error.isEmpty());
        QCOMPARE(GlyphFormsText(read), read.error);
        QVERIFY(CharactersSwitchedBy(path, index, "jp90").isEmpty());
        QVERIFY(VariantsOf(path, index, U'葛').isEmpty());
    }
};

QTEST_GUILESS_MAIN(GlyphFormsTest)
#include "tst_glyphforms.moc"

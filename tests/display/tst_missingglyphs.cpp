#include "display/Form10.h"
#include "display/Form5.h"
#include "desktop/MissingGlyphs.h"
#include "support/FakeDialogs.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextLayout>
#include <QtTest>

namespace {

// Whether anything darker than the background was drawn.
bool hasInk(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) + 60 < qGray(background))
                return true;
        }
    }
    return false;
}

} // namespace

class MissingGlyphsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void blankMissingGlyphsGetABox_data();
    void blankMissingGlyphsGetABox();
    void samplesShowTheFontsOwnGlyphsOnly();
    void variationSequences_data();
    void variationSequences();
    void theViewDrawsTheVariant();
};

void MissingGlyphsTest::initTestCase()
{
    for (const char* file : {"latin-box.ttf", "latin-blank.ttf"})
        QVERIFY(QFontDatabase::addApplicationFont(QStringLiteral(GLYFARO_SMALL_FONTS "/") + QLatin1String(file)) >= 0);
}

void MissingGlyphsTest::blankMissingGlyphsGetABox_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boxes");
    QTest::newRow("blank missing glyphs, kana and kanji") << u"Latin Blank"_qs << u"テスト 日本語 Abc"_qs << 6;
    QTest::newRow("a character beyond the BMP is one") << u"Latin Blank"_qs << u"A𠮷"_qs << 1;
    QTest::newRow("nothing missing") << u"Latin Blank"_qs << u"Abc"_qs << 0;
    QTest::newRow("the font's own box shows") << u"Latin Box"_qs << u"テスト Abc"_qs << 0;
}

void MissingGlyphsTest::blankMissingGlyphsGetABox()
{
    QFETCH(QString, family);
    QFETCH(QString, text);
    QFETCH(int, boxes);
    QFont font(family);
    font.setPixelSize(40);
    font.setStyleStrategy(QFont::NoFontMerging);
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QRectF> found = platform::blankMissingGlyphBoxes(layout, QPointF(10, 0));
    QCOMPARE(found.size(), boxes);
    for (const QRectF& box : found) {
        QVERIFY(box.left() >= 10 && box.width() > 5 && box.height() > 5);
        QVERIFY(box.bottom() <= layout.lineAt(0).ascent() + 0.5);
    }
}

void MissingGlyphsTest::samplesShowTheFontsOwnGlyphsOnly()
{
    // Kana alone in a font that has none and draws its missing glyph blank:
    // only the marks can show, and no other font may stand in.
    const QStringList names{u"Latin Blank"_qs};
    Settings settings;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = u"テスト"_qs;
    FakeDialogs dialogs;

    Form5 view(names, settings, dialogs);
    view.resize(view.sizeHint().expandedTo(QSize(500, 300)));
    view.setListIndex(0);
    view.Text1->setPlainText(u"テスト"_qs);
    Form10 preview(names, settings, QString(), nullptr);

    const QFont viewFont = view.Text1->font();
    const QFont previewFont = preview.Label2[0]->font();
    for (const QFont& font : {viewFont, previewFont}) {
        QCOMPARE(font.families().value(0), u"Latin Blank"_qs);
        QVERIFY(font.styleStrategy() & QFont::NoFontMerging);
    }
    QVERIFY(hasInk(view.Text1->viewport()));
    QVERIFY(hasInk(preview.Label2[0]));
}

namespace {

const QString Kuzu = u"葛"_qs;
const QString KuzuVariant = u"葛"_qs + QString::fromUcs4(U"\U000E0100", 1);
const QString KuzuOtherVariant = u"葛"_qs + QString::fromUcs4(U"\U000E0101", 1);

QFont sampleFont(const QString& family)
{
    QFont font(family);
    font.setPixelSize(40);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QImage drawn(const QFont& font, const QString& text)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    platform::drawTextMarkingMissing(painter, font, text, QPointF(4, 4));
    return image;
}

} // namespace

// A selector never shows as a glyph of its own. The variant the face maps
// is drawn; a sequence the face lacks is its base character in a box.
void MissingGlyphsTest::variationSequences_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("places");
    QTest::addColumn<bool>("mapped");
    QTest::newRow("Noto maps 葛 U+E0100") << u"Noto Sans CJK JP"_qs << KuzuVariant << 1 << true;
    QTest::newRow("IPAGothic lacks it") << u"IPAGothic"_qs << KuzuVariant << 1 << false;
    QTest::newRow("a second selector has no base") << u"Noto Sans CJK JP"_qs
                                                   << KuzuVariant + QString::fromUcs4(U"\U000E0101", 1) << 1 << true;
    QTest::newRow("a selector first has no base") << u"Noto Sans CJK JP"_qs
                                                  << QString::fromUcs4(U"\U000E0100", 1) + Kuzu << 0 << false;
    QTest::newRow("no selector") << u"Noto Sans CJK JP"_qs << Kuzu << 0 << false;
}

void MissingGlyphsTest::variationSequences()
{
    QFETCH(QString, family);
    QFETCH(QString, text);
    QFETCH(int, places);
    QFETCH(bool, mapped);
    const QFont font = sampleFont(family);
    if (QFontInfo(font).family() != family)
        QSKIP("the font's package is not installed");
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<platform::SequencePlace> found = platform::variationSequences(layout, QPointF(4, 4));
    QCOMPARE(found.size(), places);
    if (places == 0) {
        QCOMPARE(drawn(font, text), drawn(font, Kuzu));
        return;
    }
    const quint32 base = found.constFirst().base.glyphIndexes().constFirst();
    QCOMPARE(found.constFirst().variant != 0, mapped);
    QVERIFY(found.constFirst().cell.width() > 30 && found.constFirst().cell.left() >= 4);
    // Drawn: the variant where the face has one, the base in a box where it
    // has none; either way unlike the base alone, and never wider.
    const QImage withSelector = drawn(font, text);
    QVERIFY(withSelector != drawn(font, Kuzu));
    if (mapped) {
        QVERIFY(found.constFirst().variant != base);
        QVERIFY(drawn(font, KuzuOtherVariant) != withSelector);
    }
}

void MissingGlyphsTest::theViewDrawsTheVariant()
{
    if (QFontInfo(sampleFont(u"Noto Sans CJK JP"_qs)).family() != u"Noto Sans CJK JP"_qs)
        QSKIP("the font's package is not installed");
    const QStringList names{u"Noto Sans CJK JP"_qs};
    Settings settings;
    FakeDialogs dialogs;
    Form5 view(names, settings, dialogs);
    view.resize(view.sizeHint().expandedTo(QSize(500, 300)));
    view.setListIndex(0);
    view.Text1->setPlainText(Kuzu);
    const QImage plain = view.Text1->viewport()->grab().toImage();
    view.Text1->setPlainText(KuzuVariant);
    const QImage variant = view.Text1->viewport()->grab().toImage();
    view.Text1->setPlainText(KuzuOtherVariant);
    const QImage other = view.Text1->viewport()->grab().toImage();
    // U+E0100 is 葛 with ヒ below; U+E0101, with 人, is Noto's default form.
    QVERIFY(variant != plain);
    QCOMPARE(other, plain);
}

QTEST_MAIN(MissingGlyphsTest)
#include "tst_missingglyphs.moc"

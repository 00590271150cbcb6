#include "display/Form10.h"
#include "display/Form5.h"
#include "desktop/MissingGlyphs.h"
#include "support/FakeDialogs.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
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

QTEST_MAIN(MissingGlyphsTest)
#include "tst_missingglyphs.moc"

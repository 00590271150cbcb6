#include "face/Coverage.h"
#include "face/FaceReader.h"
#include "fontinfo/FontDetailsWindow.h"
#include "fontinfo/SwitchedGlyphsWindow.h"
#include "support/FakeSystem.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include "fontinfo/VerticalSample.h"

#include <QScrollBar>
#include <QTest>

namespace {

const QString IpaGothic = u"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"_qs;

QString smallFont(const QString& name)
{
    return QStringLiteral(GLYFARO_SMALL_FONTS "/") + name;
}

} // namespace

// What the details window reads of a face: the tables, the embedding
// permission, the Japanese coverage, and damaged files.
class FaceDetailsTest : public QObject {
    Q_OBJECT

private slots:
    void embeddingPermission_data();
    void embeddingPermission();
    void coverageOfRealFonts_data();
    void coverageOfRealFonts();
    void csvRowsKeepEveryMissingCharacter();
    void detailsWindow_data();
    void detailsWindow();
    void switchedGlyphsBothWays();
};

void FaceDetailsTest::embeddingPermission_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<bool>("noSubsetting");
    QTest::newRow("installable") << u"embed-0.ttf"_qs << u"インストール可能（制限なし）"_qs << false;
    QTest::newRow("restricted") << u"embed-2.ttf"_qs << u"埋め込み禁止"_qs << false;
    QTest::newRow("print and preview") << u"embed-4.ttf"_qs << u"印刷・プレビューのみ"_qs << false;
    QTest::newRow("editable") << u"embed-8.ttf"_qs << u"編集可能"_qs << false;
    QTest::newRow("print and preview, no subsetting") << u"embed-260.ttf"_qs << u"印刷・プレビューのみ"_qs << true;
    QTest::newRow("no OS/2 table") << u"no-os2.ttf"_qs << u"不明（OS/2 テーブルがありません）"_qs << false;
}

void FaceDetailsTest::embeddingPermission()
{
    QFETCH(QString, file);
    QFETCH(QString, permission);
    QFETCH(bool, noSubsetting);
    const FaceDetails details = ReadFaceDetails(smallFont(file), 0);
    QVERIFY2(details.error.isEmpty(), qPrintable(details.error));
    QCOMPARE(EmbeddingText(details.embedding), permission);
    QCOMPARE(details.noSubsetting, noSubsetting);
    QCOMPARE(details.format, u"TrueType"_qs);
    QCOMPARE(details.version, u"Version 9.87"_qs);
    QCOMPARE(details.designer, u"A. Designer"_qs);
    QVERIFY(details.glyphCount > 5);
}

void FaceDetailsTest::coverageOfRealFonts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<JapaneseSet>("set");
    QTest::addColumn<int>("present");
    QTest::addColumn<QString>("held"); // characters that must not be listed as missing
    QTest::newRow("IPA Gothic, JIS X 0208 non-kanji") << IpaGothic << JapaneseSet::Jis0208NonKanji << 524 << QString();
    QTest::newRow("IPA Gothic, level 1") << IpaGothic << JapaneseSet::Jis0208Level1 << 2965 << QString();
    QTest::newRow("IPA Gothic, level 2") << IpaGothic << JapaneseSet::Jis0208Level2 << 3390 << QString();
    QTest::newRow("Latin only, level 1") << QStringLiteral(GLYFARO_SMALL_FONTS "/latin-blank.ttf")
                                         << JapaneseSet::Jis0208Level1 << 0 << QString();
    QTest::newRow("Latin only, jōyō") << QStringLiteral(GLYFARO_SMALL_FONTS "/latin-blank.ttf") << JapaneseSet::Joyo
                                      << 0 << QString();
    QTest::newRow("known subset, level 1") << smallFont(u"embed-0.ttf"_qs) << JapaneseSet::Jis0208Level1 << 4
                                           << u"亜唖娃阿"_qs;
    QTest::newRow("known subset, kana") << smallFont(u"embed-0.ttf"_qs) << JapaneseSet::Kana << 1 << u"あ"_qs;
    QTest::newRow("known subset, level 2") << smallFont(u"embed-0.ttf"_qs) << JapaneseSet::Jis0208Level2 << 0
                                           << QString();
}

void FaceDetailsTest::coverageOfRealFonts()
{
    QFETCH(QString, file);
    QFETCH(JapaneseSet, set);
    QFETCH(int, present);
    QFETCH(QString, held);
    QString error;
    const QList<SetCoverage> coverage = CoverageOf(CharactersOfFace(file, 0, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const auto it = std::find_if(coverage.cbegin(), coverage.cend(), [set](const SetCoverage& c) { return c.set == set; });
    QVERIFY(it != coverage.cend());
    QCOMPARE(it->present, present);
    QCOMPARE(int(it->missing.toUcs4().size()), it->size - present);
    for (const QChar c : held)
        QVERIFY2(!it->missing.contains(c), qPrintable(QString(c)));
}

void FaceDetailsTest::csvRowsKeepEveryMissingCharacter()
{
    const FaceDetails details = ReadFaceDetails(smallFont(u"embed-0.ttf"_qs), 0);
    const QList<SetCoverage> coverage = CoverageOf(CharactersOfFace(details.path, 0));
    // A file whose code page holds the BMP only, for the test.
    const QList<QStringList> rows =
        CoverageCsvRows(u"Embed 0"_qs, details, coverage, [](char32_t c) { return c < 0x10000; });
    QCOMPARE(rows.size(), 1 + 10);
    QCOMPARE(rows.at(4).mid(2, 4), (QStringList{u"JIS 第1水準漢字"_qs, u"2965"_qs, u"4"_qs, u"0.1"_qs}));
    const QStringList level4 = rows.at(7).last().split(u' ');
    QCOMPARE(level4.size(), 2436);
    QVERIFY(level4.contains(u"U+20089"_qs));
}

void FaceDetailsTest::detailsWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("shown");
    QTest::newRow("IPA Gothic") << IpaGothic << false << u"JIS 第1水準漢字: 2,965 / 2,965 (100.0%)"_qs;
    QTest::newRow("embedding forbidden") << smallFont(u"embed-2.ttf"_qs) << true
                                         << u"JIS 第1水準漢字: 4 / 2,965 (0.1%)"_qs;
    QTest::newRow("without vertical forms") << smallFont(u"without-vert.ttf"_qs) << false
                                            << u"JIS 第1水準漢字: 2 / 2,965 (0.1%)"_qs;
    QTest::newRow("a JIS2004 face") << smallFont(u"forms-jp90.ttf"_qs) << false
                                    << u"字形: JIS2004 字形（jp90 で JIS90 字形）"_qs;
    QTest::newRow("variation sequences") << u"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"_qs << false
                                         << u"異体字シーケンス: 14,787 個（セレクタ 17 種: U+FE00–U+FE01、U+E0100–U+E010E）"_qs;
    QTest::newRow("cut short") << smallFont(u"cut.ttf"_qs) << false << u"読み込めません"_qs;
    QTest::newRow("garbage") << smallFont(u"garbage.ttf"_qs) << false << u"読み込めません"_qs;
    QTest::newRow("missing file") << smallFont(u"none.ttf"_qs) << false << u"フォントファイルが見つかりません"_qs;
}

void FaceDetailsTest::detailsWindow()
{
    QFETCH(QString, file);
    QFETCH(bool, warning);
    QFETCH(QString, shown);
    FakeFontList fonts;
    fonts.otherNames.insert(u"Font"_qs, {{u"フォント"_qs, u"ja"_qs}, {u"Font"_qs, u"en"_qs}});
    fonts.faces.insert(u"Font"_qs, {{file, 0, u"Regular"_qs, true}});
    FontDetailsWindow window(u"Font"_qs, fonts, u"「縦」"_qs);
    // Narrower than it asks for, as a frame of 800 by 600 gives it.
    window.resize(740, 470);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Warning->isVisibleTo(&window), warning);
    // The vertical panel's note stands whole inside the panel.
    if (window.Vertical->isVisible() && !window.Vertical->message().isEmpty())
        QVERIFY(window.Vertical->rect().contains(window.Vertical->messageRect()));
    QVERIFY2(window.reportText().contains(shown), qPrintable(window.reportText()));
    QVERIFY(window.reportText().contains(u"フォント (ja)、Font (en)"_qs));

    const bool readable = window.details().error.isEmpty();
    QCOMPARE(window.PrintButton->isEnabled(), readable);
    QSignalSpy printed(&window, &FontDetailsWindow::printRequested);
    window.PrintButton->click();
    QCOMPARE(printed.size(), readable ? 1 : 0);
    if (readable) {
        QVERIFY(printed.first().first().toStringList().contains(shown));
        // The missing characters of a set show when its row is chosen, a
        // line each with its codes, and the scroll bar's end shows the last.
        window.Coverage->selectRow(3);
        const qsizetype missing = window.coverage().at(3).missing.toUcs4().size();
        QCOMPARE(window.Missing->blockCount(), std::max<qsizetype>(1, missing));
        if (missing > 0)
            QVERIFY(window.Missing->toPlainText().startsWith(u"一　U+4E00　区点 16-76　Shift_JIS 88EA\n"_qs));
        window.Missing->verticalScrollBar()->setValue(window.Missing->verticalScrollBar()->maximum());
        const QPoint bottom(4, window.Missing->viewport()->height() - 4);
        QCOMPARE(qsizetype(window.Missing->cursorForPosition(bottom).blockNumber()), std::max<qsizetype>(0, missing - 1));
    }
}

// The details of a face that switches its forms lead to the characters it
// switches, each drawn both ways; a face that does not switch offers none.
void FaceDetailsTest::switchedGlyphsBothWays()
{
    FakeFontList fonts;
    const QString file = smallFont(u"forms-jp90.ttf"_qs);
    fonts.faces.insert(u"Forms"_qs, {{file, 0, u"Regular"_qs, true}});
    fonts.faces.insert(u"IPA"_qs, {{IpaGothic, 0, u"Regular"_qs, true}});
    FontDetailsWindow plain(u"IPA"_qs, fonts, QString());
    QVERIFY(!plain.SwitchedButton->isEnabled());
    FontDetailsWindow details(u"Forms"_qs, fonts, QString());
    QSignalSpy asked(&details, &FontDetailsWindow::switchedGlyphsRequested);
    QTest::mouseClick(details.SwitchedButton, Qt::LeftButton);
    QCOMPARE(asked.value(0), (QVariantList{u"Forms"_qs, file, 0}));

    SwitchedGlyphsWindow window(u"Forms"_qs, file, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Summary->text(), u"jp90 をオンにすると字形が変わる文字: 2 字（左: 標準の字形、右: jp90 の字形）"_qs);
    QTest::mouseClick(window.CopyButton, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), u"葛\tU+845B\n辻\tU+8FBB"_qs);
    // Both glyphs of a pair are drawn, and they differ.
    const QImage drawn = window.Grid->grab().toImage();
    const QRect cell = window.Grid->cellRect(0);
    const auto ink = [&drawn](QRect box) {
        QList<QRgb> pixels;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                pixels << drawn.pixel(x, y);
        return pixels;
    };
    // Inside the two 40-pixel boxes, 6 pixels in and 24 apart.
    const QList<QRgb> a = ink(QRect(cell.left() + 8, cell.top() + 8, 36, 36));
    const QList<QRgb> b = ink(QRect(cell.left() + 72, cell.top() + 8, 36, 36));
    const auto dark = [](const QList<QRgb>& pixels) {
        return std::count_if(pixels.cbegin(), pixels.cend(), [](QRgb p) { return qGray(p) < 100; });
    };
    QVERIFY(dark(a) > 20 && dark(b) > 20);
    QVERIFY(a != b);
}

QTEST_MAIN(FaceDetailsTest)
#include "tst_facedetails.moc"

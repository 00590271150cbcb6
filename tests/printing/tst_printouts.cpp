#include "PrintFixture.h"
#include "printing/ReportPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

const QString Banner = BannerStart + QStringLiteral("2026/12/07  9:05:03 *****");

QStringList titles(int line)
{
    return {QStringLiteral("%1 800 Index").arg(line), QStringLiteral("%1 1500 フォント名").arg(line),
            QStringLiteral("%1 4700 ファイルサイズ(Byte）").arg(line), QStringLiteral("%1 6700 ファイル名").arg(line)};
}

} // namespace

class TestPrintouts : public QObject {
    Q_OBJECT

private slots:
    void fixedTexts_data();
    void fixedTexts();
    void bannerTimeHasNoZone();
    void nameListPlan();
    void indexListPlan();
    void emptyCatalogue();
    void rowThatDoesNotFitMovesToNextPage();
    void endLineAloneStartsNewPage();
    void groupHeadingAtPageEnd();
    void pathsEndInsideThePage_data();
    void pathsEndInsideThePage();
    void glyphSample();
    void glyphSampleEmptyTextAndUnknownFont();
    void abortSendsNothingMore_data();
    void abortSendsNothingMore();
    void printerFailureStops();
    void registryFailureIsFatal();
    void everyPageCarriesItsHeading_data();
    void everyPageCarriesItsHeading();
    void figuresStartAPageWhenTheyDoNotFit_data();
    void figuresStartAPageWhenTheyDoNotFit();
};

void TestPrintouts::fixedTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("banner start") << BannerStart
                                  << QStringLiteral("**********") + QStringLiteral(" Glyfaro 2 ")
                                         + QString(64, QLatin1Char('*')) + QLatin1Char(' ');
    QTest::newRow("end line") << EndLineText << QString(102, QLatin1Char('*')) + QStringLiteral(" END *****");
    QTest::newRow("number") << RowNumberText(1) << QStringLiteral(" 1 ");
    QTest::newRow("number 10000") << RowNumberText(10000) << QStringLiteral(" 10000 ");
    QTest::newRow("progress") << PageProgressText(12) << QStringLiteral("ページ 12 送信中...");
    QTest::newRow("heading") << GroupHeadingText(QStringLiteral("A"), 12) << QStringLiteral("A   (12 Fonts)");
    QTest::newRow("heading symbols") << GroupHeadingText(QStringLiteral("$,%,&,@"), 0)
                                     << QStringLiteral("$,%,&,@   (0 Fonts)");
}

void TestPrintouts::fixedTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestPrintouts::bannerTimeHasNoZone()
{
    const QDateTime moment(QDate(2026, 3, 4), QTime(7, 8, 9));
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Japanese, QLocale::Japan)}) {
        const BannerTime banner = BannerTimeFor(moment, locale);
        QVERIFY2(banner.time.contains(QStringLiteral("08")) && banner.time.contains(QStringLiteral("09")),
                 qPrintable(banner.time));
        QVERIFY2(!banner.time.contains(QStringLiteral("UTC")) && !banner.time.endsWith(QLatin1Char(' ')),
                 qPrintable(banner.time));
        QCOMPARE(banner.date, locale.toString(moment.date(), QLocale::ShortFormat));
    }
}

void TestPrintouts::nameListPlan()
{
    PrintFixture f;
    const QString path = f.addFont(QStringLiteral("Alpha"), 1234567);
    f.addFont(QStringLiteral("Beta"), -1);
    PrintContext context = f.context();
    QCOMPARE(PrintNameList(context).status, PrintStatus::Completed);

    QStringList expected{QStringLiteral("0 600 ") + Banner};
    expected << titles(3);
    expected << QStringLiteral("5 900  1 ") << QStringLiteral("5 1600 Alpha") << QStringLiteral("5 4800 1,234,567")
             << QStringLiteral("5 6800 ") + path;
    expected << QStringLiteral("6 900  2 ") << QStringLiteral("6 1600 Beta") << QStringLiteral("6 4800 不明")
             << QStringLiteral("6 6800 不明");
    expected << QStringLiteral("8 600 ") + EndLineText;
    QCOMPARE(f.plan(), expected);
    QCOMPARE(f.records.CurrentPrintPage, 1);
    QVERIFY(f.progress.isEmpty());
    // Events run after every row at least.
    QVERIFY(f.eventTurns >= 2);
}

void TestPrintouts::indexListPlan()
{
    PrintFixture f;
    const QString first = f.addFont(QStringLiteral("Abc"), 10);
    const QString second = f.addFont(QStringLiteral("Axe"), 0);
    f.addFont(QStringLiteral("Zed"), 5);
    std::array<bool, IndexGroupCount> selected{};
    selected[1] = selected[2] = true;
    PrintContext context = f.context();
    QCOMPARE(PrintIndexList(context, selected).status, PrintStatus::Completed);

    QStringList expected{QStringLiteral("0 600 ") + Banner};
    expected << titles(3);
    expected << QStringLiteral("5 900 A   (2 Fonts)");
    expected << QStringLiteral("6 1600 Abc") << QStringLiteral("6 4800 10") << QStringLiteral("6 6800 ") + first;
    // A 0-byte file has an empty size text.
    expected << QStringLiteral("7 1600 Axe") << QStringLiteral("7 6800 ") + second;
    expected << QStringLiteral("9 900 B   (0 Fonts)") << QStringLiteral("10 1600 フォントがありません");
    expected << QStringLiteral("12 600 ") + EndLineText;
    QCOMPARE(f.plan(), expected);
}

void TestPrintouts::emptyCatalogue()
{
    PrintFixture f;
    PrintContext context = f.context();
    QCOMPARE(PrintNameList(context).status, PrintStatus::Completed);
    QStringList expected{QStringLiteral("0 600 ") + Banner};
    expected << titles(3) << QStringLiteral("6 600 ") + EndLineText;
    QCOMPARE(f.plan(), expected);
}

void TestPrintouts::rowThatDoesNotFitMovesToNextPage()
{
    PrintFixture f;
    for (int i = 0; i < 12; ++i)
        f.addFont(QStringLiteral("Font%1").arg(i, 2, 10, QLatin1Char('0')), 100);
    // Lines 0 to 9 fit (y up to 2300, bottom 2500): rows 1 to 5 on page 1.
    f.printer.pageHeight = 2500;
    PrintContext context = f.context();
    QCOMPARE(PrintNameList(context).status, PrintStatus::Completed);

    const QList<RecordingPrinter::Piece> page2 = f.printer.visible(2);
    QVERIFY(!page2.isEmpty());
    QCOMPARE(page2.first().y, 500);
    QCOMPARE(page2.first().x, 900);
    QCOMPARE(page2.first().text, QStringLiteral(" 6 "));
    QCOMPARE(f.printer.visible(1).last().text.isEmpty(), false);
    QVERIFY(f.plan(1).contains(QStringLiteral("9 900  5 ")));
    // Nothing of the header comes again on a new page.
    for (const RecordingPrinter::Piece& piece : page2)
        QVERIFY(!piece.text.startsWith(QLatin1String("*****")) || piece.text == EndLineText);
    QCOMPARE(f.records.CurrentPrintPage, f.printer.page());
    QCOMPARE(f.progress.first(), QStringLiteral("ページ 2 送信中..."));
    QCOMPARE(f.progress.last(), PageProgressText(f.printer.page()));
}

void TestPrintouts::endLineAloneStartsNewPage()
{
    PrintFixture f;
    f.addFont(QStringLiteral("Alpha"), 1);
    f.addFont(QStringLiteral("Beta"), 2);
    // Rows on lines 5 and 6 fit; the end line on line 8 (y 2100) does not.
    f.printer.pageHeight = 2200;
    PrintContext context = f.context();
    QCOMPARE(PrintNameList(context).status, PrintStatus::Completed);
    QCOMPARE(f.printer.visible(1).size(), 13);
    QCOMPARE(f.plan(2), QStringList{QStringLiteral("0 600 ") + EndLineText});
    QCOMPARE(f.records.CurrentPrintPage, 2);
    QCOMPARE(f.progress, QStringList{QStringLiteral("ページ 2 送信中...")});
}

void TestPrintouts::groupHeadingAtPageEnd()
{
    PrintFixture f;
    f.addFont(QStringLiteral("Abc"), 1);
    f.addFont(QStringLiteral("Bcd"), 1);
    std::array<bool, IndexGroupCount> selected{};
    selected[1] = selected[2] = true;
    // Line 7 (y 1900) is the last that fits: the "B" heading on line 8 moves.
    f.printer.pageHeight = 2200;
    PrintContext context = f.context();
    QCOMPARE(PrintIndexList(context, selected).status, PrintStatus::Completed);
    QCOMPARE(f.plan(2).first(), QStringLiteral("0 900 B   (1 Fonts)"));
    QCOMPARE(f.progress, QStringList{QStringLiteral("ページ 2 送信中...")});
}

void TestPrintouts::pathsEndInsideThePage_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("shape");
    QTest::newRow("short path, whole") << u"a.ttf"_qs << u"whole"_qs;
    QTest::newRow("deep folders, shortened in the middle") << u"d/"_qs.repeated(40) + u"Font Name.ttf"_qs
                                                           << u"middle"_qs;
    QTest::newRow("name too long alone") << QString(120, u'x') + u".ttf"_qs << u"name"_qs;
}

void TestPrintouts::pathsEndInsideThePage()
{
    QFETCH(QString, fileName);
    QFETCH(QString, shape);
    PrintFixture f;
    const QString absolute = f.folder.path() + u'/' + fileName;
    QVERIFY(QDir().mkpath(QFileInfo(absolute).path()));
    const QString path = f.addFont(u"Alpha"_qs, 1, absolute);
    PrintContext context = f.context();
    PrintNameList(context);
    const QList<RecordingPrinter::Piece> pieces = f.printer.visible(1);
    const auto row = std::find_if(pieces.begin(), pieces.end(), [](const auto& p) { return p.x == 6800 && p.y > 500; });
    QVERIFY(row != pieces.end());
    // Room from 6800 to the edge at 11000 is 70 characters of 60 twips.
    QVERIFY2(row->text.size() <= 70, qPrintable(f.plan().join(u"\n"_qs)));
    const QString name = QFileInfo(path).fileName();
    if (shape == u"whole") {
        QCOMPARE(row->text, path);
    } else if (shape == u"middle") {
        QVERIFY2(row->text.size() == 70, qPrintable(f.plan().join(u"\n"_qs)));
        QVERIFY2(row->text.endsWith(u"/"_qs + name) && row->text.contains(u"…"_qs), qPrintable(row->text));
        QCOMPARE(row->text.left(10), path.left(10));
    } else {
        QCOMPARE(row->text, (u"…/"_qs + name).left(70));
    }
}

void TestPrintouts::glyphSample()
{
    PrintFixture f;
    const QString path = f.addFont(QStringLiteral("Sample"), 2048);
    f.printer.pageHeight = 100000;
    int reads = 0;
    PrintContext context = f.context();
    const PrintOutcome outcome = PrintGlyphSample(context, QStringLiteral("Sample"), [&] {
        ++reads;
        return QStringLiteral("永あ");
    });
    QCOMPARE(outcome.status, PrintStatus::Completed);
    QCOMPARE(reads, 16);

    const QList<RecordingPrinter::Piece> pieces = f.printer.visible(1);
    QCOMPARE(pieces.size(), 4 + 32 + 1);
    QCOMPARE(pieces[0].text, Banner);
    QCOMPARE(pieces[1].text, QStringLiteral("フォント名: Sample"));
    QCOMPARE(pieces[2].text, QStringLiteral("ファイルサイズ(Byte): 2,048"));
    QCOMPARE(pieces[3].text, QStringLiteral("ファイル名: ") + path);
    QCOMPARE(pieces[3].x, 700);
    const int sizes[] = {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 36, 48, 60, 72};
    int previousY = pieces[3].y + f.printer.lineStep;
    for (int i = 0; i < 16; ++i) {
        const RecordingPrinter::Piece& label = pieces[4 + 2 * i];
        const RecordingPrinter::Piece& sample = pieces[5 + 2 * i];
        QCOMPARE(label.text, QString::number(sizes[i]) + QStringLiteral("pt "));
        QCOMPARE(label.x, 700);
        QCOMPARE(label.font, QStringLiteral("LabelFace"));
        QCOMPARE(label.size, 8);
        QCOMPARE(sample.text, QStringLiteral("永あ"));
        QCOMPARE(sample.font, QStringLiteral("Sample"));
        QCOMPARE(sample.size, sizes[i]);
        // The sample in the font's own glyphs, the labels with a stand-in face.
        QVERIFY(sample.ownGlyphsOnly && !label.ownGlyphsOnly);
        QCOMPARE(sample.y, label.y);
        QCOMPARE(sample.x, 700 + int(label.text.size()) * f.printer.charWidth);
        QVERIFY(label.y > previousY);
        previousY = label.y;
    }
    const RecordingPrinter::Piece& footer = pieces.last();
    QCOMPARE(footer.text, EndLineText);
    QCOMPARE(footer.x, 600);
    QCOMPARE(footer.font, QStringLiteral("LabelFace"));
    QCOMPARE(footer.size, 9);
    QCOMPARE(f.printer.page(), 1);
}

void TestPrintouts::glyphSampleEmptyTextAndUnknownFont()
{
    PrintFixture f;
    f.addFont(QStringLiteral("Nowhere"), -1);
    PrintContext context = f.context();
    PrintGlyphSample(context, QStringLiteral("Nowhere"), [] { return QString(); });
    const QList<RecordingPrinter::Piece> pieces = f.printer.visible(1);
    QCOMPARE(pieces.size(), 4 + 16 + 1);
    QCOMPARE(pieces[2].text, QStringLiteral("ファイルサイズ(Byte): 不明"));
    QCOMPARE(pieces[3].text, QStringLiteral("ファイル名: 不明"));
    for (int i = 0; i < 16; ++i)
        QVERIFY(pieces[4 + i].text.endsWith(QStringLiteral("pt ")));
}

void TestPrintouts::abortSendsNothingMore_data()
{
    QTest::addColumn<int>("job");
    QTest::newRow("name list") << 0;
    QTest::newRow("index list") << 1;
    QTest::newRow("glyph sample") << 2;
}

void TestPrintouts::abortSendsNothingMore()
{
    QFETCH(int, job);
    PrintFixture f;
    for (int i = 0; i < 10; ++i)
        f.addFont(QStringLiteral("Font%1").arg(i), 1);
    f.onEvents = [&] {
        if (f.eventTurns == 3)
            f.printer.killJob();
    };
    std::array<bool, IndexGroupCount> selected{};
    selected[6] = true;
    PrintContext context = f.context();
    const PrintOutcome outcome = job == 0   ? PrintNameList(context)
                                 : job == 1 ? PrintIndexList(context, selected)
                                            : PrintGlyphSample(context, QStringLiteral("Font0"), [] { return QStringLiteral("x"); });
    QCOMPARE(outcome.status, PrintStatus::Aborted);
    QCOMPARE(f.printer.printsAfterKill, 0);
    QCOMPARE(f.eventTurns, 3);
    for (const RecordingPrinter::Piece& piece : f.printer.pieces)
        QVERIFY(piece.text != EndLineText);
}

void TestPrintouts::printerFailureStops()
{
    PrintFixture f;
    for (int i = 0; i < 10; ++i)
        f.addFont(QStringLiteral("Font%1").arg(i), 1);
    f.printer.failAfter = 20;
    PrintContext context = f.context();
    QCOMPARE(PrintNameList(context).status, PrintStatus::PrinterFailed);
    QVERIFY(f.printer.pieces.size() < 26);
}

void TestPrintouts::registryFailureIsFatal()
{
    PrintFixture f;
    f.addFont(QStringLiteral("Alpha"), 1);
    f.addFont(QStringLiteral("Beta"), 1);
    f.test.registry.failWhen = [](const FakeRegistry::Call& call) {
        return call.op == FakeRegistry::Op::Open ? 5L : 0L;
    };
    PrintContext context = f.context();
    const PrintOutcome outcome = PrintNameList(context);
    QCOMPARE(outcome.status, PrintStatus::Fatal);
    QCOMPARE(outcome.fatalMessage, 2);
    // The failing row is not printed.
    QVERIFY(!f.plan().contains(QStringLiteral("5 1600 Alpha")));
}

// The reports of the Tools windows: every page says when and on which
// machine it was printed and which page of how many it is, and no line is
// lost or doubled at a page break.
void TestPrintouts::everyPageCarriesItsHeading_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("pages");
    // 16,000 twips less the 500 of the top margin hold 77 lines of 200; the
    // heading and the blank under it take two.
    QTest::newRow("an empty report") << 0 << 1;
    QTest::newRow("a full page") << 75 << 1;
    QTest::newRow("one line over") << 76 << 2;
    QTest::newRow("three pages") << 200 << 3;
}

void TestPrintouts::everyPageCarriesItsHeading()
{
    QFETCH(int, lineCount);
    QFETCH(int, pages);
    QStringList lines;
    for (int i = 0; i < lineCount; ++i)
        lines << QStringLiteral("line %1").arg(i);
    RecordingPrinter printer;
    QVERIFY(PrintReportLines(printer, lines, u"Face"_qs, {u"2026-12-09 14:03"_qs, u"proof-01"_qs}));
    QCOMPARE(printer.endCalls, 1);
    QCOMPARE(printer.pageNumber, pages);

    QStringList printed;
    for (int page = 1; page <= pages; ++page) {
        const QList<RecordingPrinter::Piece> pieces = printer.visible(page);
        QVERIFY(pieces.size() >= 2);
        QCOMPARE(pieces.at(0).text, u"2026-12-09 14:03　proof-01"_qs);
        const QString number = QStringLiteral("%1 / %2").arg(page).arg(pages);
        QCOMPARE(pieces.at(1).text, number);
        // On the heading's line, flush with the right margin.
        QCOMPARE(pieces.at(1).y, pieces.at(0).y);
        QCOMPARE(pieces.at(1).x + int(number.size()) * printer.charWidth, printer.pageWidth - 700);
        for (qsizetype i = 2; i < pieces.size(); ++i)
            printed << pieces.at(i).text;
    }
    QCOMPARE(printed, lines);
}

// A report's figures (a typesetting sample, its waterfall) lie between its
// lines: one that does not fit below what is printed starts the next page,
// every page keeps its heading, and nothing is lost or printed twice.
void TestPrintouts::figuresStartAPageWhenTheyDoNotFit_data()
{
    QTest::addColumn<QList<int>>("items");  // a line (0), or a figure of that many points
    QTest::addColumn<QList<int>>("pageOf"); // the page each item prints on
    // A page has 15,100 twips (755 points) under its heading: 75 lines of
    // 200.
    QTest::newRow("lines and a small figure") << QList<int>{0, 0, 100, 0} << QList<int>{1, 1, 1, 1};
    QTest::newRow("a figure that fills the rest") << QList<int>{0, 740} << QList<int>{1, 1};
    QTest::newRow("a figure one line too tall") << QList<int>{0, 0, 740} << QList<int>{1, 1, 2};
    QTest::newRow("figures on three pages") << QList<int>{500, 500, 500, 0} << QList<int>{1, 2, 3, 3};
    QTest::newRow("a figure taller than a page stands alone") << QList<int>{0, 900, 0} << QList<int>{1, 2, 3};
}

void TestPrintouts::figuresStartAPageWhenTheyDoNotFit()
{
    QFETCH(QList<int>, items);
    QFETCH(QList<int>, pageOf);
    QList<ReportItem> report;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i) == 0)
            report.append({QStringLiteral("line %1").arg(i), std::nullopt});
        else
            report.append({QString(), ReportFigure{QRawFont(), 10, {quint32(i)}, {QPointF(0, 0)}, QSizeF(100, items.at(i))}});
    }
    RecordingPrinter printer;
    QVERIFY(PrintReport(printer, report, u"Face"_qs, {u"2026-12-09 14:03"_qs, u"proof-01"_qs}));
    const int pages = pageOf.constLast();
    QCOMPARE(printer.pageNumber, pages);
    QList<int> found;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i) == 0) {
            for (const RecordingPrinter::Piece& piece : std::as_const(printer.pieces)) {
                if (piece.text == QStringLiteral("line %1").arg(i))
                    found << piece.page;
            }
        } else {
            for (const RecordingPrinter::Figure& figure : std::as_const(printer.figures)) {
                if (figure.glyphs == QList<quint32>{quint32(i)}) {
                    found << figure.page;
                    // One taller than a page is cut at its bottom.
                    QCOMPARE(figure.height, std::min(items.at(i) * 20, 15100));
                    // Below the heading and the blank line under it.
                    QVERIFY(figure.y >= 500 + 2 * printer.lineStep);
                }
            }
        }
    }
    QCOMPARE(found, pageOf);
    for (int page = 1; page <= pages; ++page)
        QCOMPARE(printer.visible(page).value(1).text, QStringLiteral("%1 / %2").arg(page).arg(pages));
}

QTEST_GUILESS_MAIN(TestPrintouts)
#include "tst_printouts.moc"

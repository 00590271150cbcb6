#include "printing/ReportPrinting.h"

#include "support/RecordingPrinter.h"

#include <QTest>

// The reports of the Tools windows on paper: every page says when and on
// which machine it was printed and which page of how many it is, and no
// line of the report is lost or doubled at a page break.
class ReportPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void everyPageCarriesItsHeading_data();
    void everyPageCarriesItsHeading();
    void fileNamesFromReportNames_data();
    void fileNamesFromReportNames();
};

void ReportPrintingTest::everyPageCarriesItsHeading_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("pages");
    // 16,000 twips less the 500 of the top margin hold 77 lines of 200; the
    // heading and the blank under it take two.
    QTest::newRow("an empty report") << 0 << 1;
    QTest::newRow("one line") << 1 << 1;
    QTest::newRow("a full page") << 75 << 1;
    QTest::newRow("one line over") << 76 << 2;
    QTest::newRow("three pages") << 200 << 3;
}

void ReportPrintingTest::everyPageCarriesItsHeading()
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
        for (qsizetype i = 2; i < pieces.size(); ++i) {
            QVERIFY(pieces.at(i).y + printer.lineStep <= printer.pageHeight);
            printed << pieces.at(i).text;
        }
    }
    QCOMPARE(printed, lines);
}

void ReportPrintingTest::fileNamesFromReportNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("a font's name") << u"Noto Sans CJK JP"_qs << u"Noto Sans CJK JP.pdf"_qs;
    QTest::newRow("Japanese") << u"フォント構成の比較"_qs << u"フォント構成の比較.pdf"_qs;
    QTest::newRow("a separator would name a folder") << u"A/B\\C"_qs << u"A_B_C.pdf"_qs;
    QTest::newRow("control characters") << u"Tab\tName\n"_qs << u"Tab_Name_.pdf"_qs;
    QTest::newRow("nothing left") << u" .. "_qs << u"Glyfaro2.pdf"_qs;
}

void ReportPrintingTest::fileNamesFromReportNames()
{
    QFETCH(QString, name);
    QTEST(ReportFileName(name, u"pdf"_qs), "file");
}

QTEST_GUILESS_MAIN(ReportPrintingTest)
#include "tst_reportprinting.moc"

#include "identity/MachineReport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QtEndian>

namespace {

const QString Chromium = QStringLiteral("/usr/bin/chromium");

// "name: family|style|hash|version|forms; ..." — one machine and its faces.
DetailedInventory machine(const QString& text)
{
    DetailedInventory inventory;
    inventory.machine = text.section(u':', 0, 0).trimmed();
    for (const QString& item : text.section(u':', 1).split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = item.trimmed().split(u'|');
        FaceRecord face;
        face.families = {parts.at(0)};
        face.style = parts.value(1);
        face.sha256 = parts.value(2);
        face.facts.version = parts.value(3);
        face.facts.glyphForms = parts.value(4, u"unknown"_qs);
        inventory.faces << face;
    }
    return inventory;
}

QList<DetailedInventory> machines(const QStringList& texts)
{
    QList<DetailedInventory> inventories;
    for (const QString& text : texts)
        inventories << machine(text);
    return inventories;
}

QStringList header(const QStringList& names)
{
    return QStringList{u"フォント"_qs, u"多数の版"_qs} + names;
}

// Six machines and thirty fonts with every state, Japanese names and one
// hostile name, as an office's report might look.
MachineReport officeReport()
{
    const QStringList families{u"本文明朝"_qs, u"見出ゴシック"_qs, u"太丸ゴシック"_qs, u"教科書体"_qs, u"楷書"_qs,
                               u"行書"_qs,     u"UD ゴシック"_qs,  u"新聞明朝"_qs,     u"<b>&\"Evil\"</b>"_qs,
                               u"隷書"_qs};
    const QStringList styles{u"Regular"_qs, u"Bold"_qs, u"W3"_qs};
    QList<DetailedInventory> inventories(6);
    const QStringList names{u"総務-PC01"_qs, u"営業-PC02"_qs, u"制作-MAC03"_qs, u"制作-MAC04"_qs, u"印刷-RIP"_qs, u"自宅"_qs};
    for (qsizetype m = 0; m < names.size(); ++m)
        inventories[m].machine = names.at(m);
    for (qsizetype i = 0; i < families.size() * styles.size(); ++i) {
        const qsizetype odd = i % 5 + 1; // the machine that differs
        for (qsizetype m = 0; m < names.size(); ++m) {
            FaceRecord face;
            face.families = {families.at(i / 3)};
            face.style = styles.at(i % 3);
            face.sha256 = QString::number(i);
            face.facts.version = u"Version 2.0%1"_qs.arg(i % 4);
            face.facts.glyphForms = u"JIS2004"_qs;
            const int kind = m == odd ? int(i % 6) : m == (odd + 2) % 6 && i % 6 == 5 ? 4 : 0;
            if (kind == 1)
                face.facts.version = u"Version 1.00"_qs;
            if (kind >= 1 && kind != 4)
                face.sha256 += u"-other"_qs;
            if (kind == 3 || kind == 5)
                face.facts.glyphForms = u"JIS90"_qs;
            if (kind != 4)
                inventories[m].faces << face;
        }
    }
    return BuildMachineReport(inventories, {}, false);
}

struct BrowserRun {
    bool finished = false;
    QString dom;
};

BrowserRun runChromium(const QString& profile, const QStringList& arguments)
{
    QProcess chromium;
    chromium.start(Chromium, QStringList{u"--headless=new"_qs, u"--no-sandbox"_qs, u"--disable-gpu"_qs,
                                         u"--no-first-run"_qs, u"--user-data-dir="_qs + profile} +
                                 arguments);
    const bool finished = chromium.waitForFinished(30000) && chromium.exitStatus() == QProcess::NormalExit &&
                          chromium.exitCode() == 0;
    if (!finished)
        chromium.kill();
    return {finished, QString::fromUtf8(chromium.readAllStandardOutput())};
}

// Each body row of a dumped page: its name rank and the attributes of the
// cell in column.
struct DumpedRow {
    int nameRank = -1;
    int state = -1;
    QString version;
};

QList<DumpedRow> dumpedRows(const QString& dom, int column)
{
    static const QRegularExpression rowPattern(u"<tr data-n=\"(\\d+)\">(.*?)</tr>"_qs);
    static const QRegularExpression cellPattern(u"<t[dh]([^>]*)>"_qs);
    static const QRegularExpression statePattern(u"data-s=\"(\\d+)\""_qs);
    static const QRegularExpression versionPattern(u"data-v=\"([^\"]*)\""_qs);
    QList<DumpedRow> rows;
    for (const QRegularExpressionMatch& row : rowPattern.globalMatch(dom)) {
        DumpedRow dumped;
        dumped.nameRank = row.captured(1).toInt();
        int index = 0;
        for (const QRegularExpressionMatch& cell : cellPattern.globalMatch(row.captured(2))) {
            if (index++ != column)
                continue;
            dumped.state = statePattern.match(cell.captured(1)).captured(1).toInt();
            dumped.version = versionPattern.match(cell.captured(1)).captured(1);
        }
        rows << dumped;
    }
    return rows;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class MachineReportTest : public QObject {
    Q_OBJECT

private slots:
    void statesAndMajority_data()
    {
        QTest::addColumn<QStringList>("inventories");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QList<QStringList>>("csv");
        QTest::addColumn<QStringList>("summary");
        QTest::addColumn<int>("agreeing");
        QTest::addColumn<int>("total");

        const QString a = u"明朝|Regular|a|1.0|JIS2004"_qs;
        const QStringList abc = header({u"A"_qs, u"B"_qs, u"C"_qs});
        QTest::newRow("the same everywhere") << QStringList{u"A:"_qs + a, u"B:"_qs + a, u"C:"_qs + a} << false
                                             << QList<QStringList>{abc}
                                             << QStringList{u"すべてのコンピュータで同じです（1 書体）"_qs} << 1 << 1;
        QTest::newRow("the same everywhere, all listed")
            << QStringList{u"A:"_qs + a, u"B:"_qs + a, u"C:"_qs + a} << true
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"1.0"_qs, u"1.0"_qs}}
            << QStringList{u"すべてのコンピュータで同じです（1 書体）"_qs} << 1 << 1;
        QTest::newRow("one machine lacks it")
            << QStringList{u"A:"_qs + a, u"B:"_qs + a, u"C:"_qs} << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"1.0"_qs, u"なし"_qs}}
            << QStringList{u"3 台中 1 台で足りないフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("another version")
            << QStringList{u"A:"_qs + a, u"B: 明朝|Regular|b|1.1|JIS2004"_qs, u"C:"_qs + a} << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"版: 1.1"_qs, u"1.0"_qs}}
            << QStringList{u"3 台中 1 台で版が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("other bytes, the same version")
            << QStringList{u"A:"_qs + a, u"B:"_qs + a, u"C: 明朝|Regular|c|1.0|JIS2004"_qs} << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"1.0"_qs, u"中身が違う: 1.0"_qs}}
            << QStringList{u"3 台中 1 台で版は同じで中身が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("other glyph forms outrank another version")
            << QStringList{u"A:"_qs + a, u"B: 明朝|Regular|b|2.0|JIS90"_qs, u"C:"_qs + a} << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"字形: JIS90 (2.0)"_qs, u"1.0"_qs}}
            << QStringList{u"3 台中 1 台で字形が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("unknown forms tell nothing")
            << QStringList{u"A: 明朝|Regular|a|1.0"_qs, u"B: 明朝|Regular|b|1.0|JIS90"_qs, u"C: 明朝|Regular|a|1.0"_qs}
            << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"1.0"_qs, u"中身が違う: 1.0"_qs, u"1.0"_qs}}
            << QStringList{u"3 台中 1 台で版は同じで中身が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("a tie goes to the earliest machine")
            << QStringList{u"A: 明朝|Regular|b|2.0"_qs, u"B:"_qs + a, u"C:"_qs + a, u"D: 明朝|Regular|b|2.0"_qs} << false
            << QList<QStringList>{header({u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs}),
                                  {u"明朝 Regular"_qs, u"2.0"_qs, u"2.0"_qs, u"版: 1.0"_qs, u"版: 1.0"_qs, u"2.0"_qs}}
            << QStringList{u"4 台中 2 台で版が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("most machines outweigh the earliest")
            << QStringList{u"A: 明朝|Regular|b|2.0"_qs, u"B:"_qs + a, u"C:"_qs + a} << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0"_qs, u"版: 2.0"_qs, u"1.0"_qs, u"1.0"_qs}}
            << QStringList{u"3 台中 1 台で版が違うフォント: 1 書体"_qs} << 0 << 1;
        QTest::newRow("a title held twice is one identity, in any order")
            << QStringList{u"A:"_qs + a + u"; 明朝|Regular|b|1.1"_qs, u"B: 明朝|Regular|b|1.1;"_qs + a, u"C:"_qs + a}
            << false
            << QList<QStringList>{abc, {u"明朝 Regular"_qs, u"1.0 / 1.1"_qs, u"1.0 / 1.1"_qs, u"1.0 / 1.1"_qs,
                                        u"版: 1.0"_qs}}
            << QStringList{u"3 台中 1 台で版が違うフォント: 1 書体"_qs} << 0 << 1;

        // Forms first, then the lists' order: case folded, so "a Serif"
        // comes before "B Gothic".
        const QStringList office{u"A: A Mincho|Regular|m|1; B Gothic|Regular|g|1; Z Sans|Bold|z|1|JIS2004"_qs,
                                 u"B: A Mincho|Regular|m|1; B Gothic|Regular|g2|2; Z Sans|Bold|z|1|JIS2004;"
                                 u"a Serif|Regular|s|1"_qs,
                                 u"C: A Mincho|Regular|m|1; B Gothic|Regular|g|1; Z Sans|Bold|z9|1|JIS90;"
                                 u"a Serif|Regular|s|1"_qs};
        const QStringList officeSummary{u"3 台中 1 台で字形が違うフォント: 1 書体"_qs,
                                        u"3 台中 1 台で版が違うフォント: 1 書体"_qs,
                                        u"3 台中 1 台で足りないフォント: 1 書体"_qs};
        const QStringList zSans{u"Z Sans Bold"_qs, u"1"_qs, u"1"_qs, u"1"_qs, u"字形: JIS90 (1)"_qs};
        const QStringList aSerif{u"a Serif Regular"_qs, u"1"_qs, u"なし"_qs, u"1"_qs, u"1"_qs};
        const QStringList bGothic{u"B Gothic Regular"_qs, u"1"_qs, u"1"_qs, u"版: 2"_qs, u"1"_qs};
        QTest::newRow("rows that agree left out") << office << false << QList<QStringList>{abc, zSans, aSerif, bGothic}
                                                  << officeSummary + QStringList{u"全台で同じフォント: 1 書体（一覧には載せていません）"_qs}
                                                  << 1 << 4;
        QTest::newRow("rows that agree listed")
            << office << true
            << QList<QStringList>{abc, zSans, {u"A Mincho Regular"_qs, u"1"_qs, u"1"_qs, u"1"_qs, u"1"_qs}, aSerif, bGothic}
            << officeSummary << 1 << 4;

        // Machines counted once however many fonts differ on them; a
        // machine without a name goes by its file's name.
        QTest::newRow("machines and fonts counted apart")
            << QStringList{u"A: P|R|a|1|JIS2004; Q|R|q|1|JIS90; R|R|r|1"_qs, u"B: P|R|b|1|JIS90; Q|R|q|1|JIS90"_qs,
                           u": P|R|a|1|JIS2004; Q|R|q2|1|JIS2004"_qs, u"D: P|R|c|1|JIS90; Q|R|q|1|JIS90"_qs}
            << false
            << QList<QStringList>{header({u"A"_qs, u"B"_qs, u"c.json"_qs, u"D"_qs}),
                                  {u"P R"_qs, u"1"_qs, u"1"_qs, u"字形: JIS90 (1)"_qs, u"1"_qs, u"字形: JIS90 (1)"_qs},
                                  {u"Q R"_qs, u"1"_qs, u"1"_qs, u"1"_qs, u"字形: JIS2004 (1)"_qs, u"1"_qs},
                                  {u"R R"_qs, u"1"_qs, u"1"_qs, u"なし"_qs, u"なし"_qs, u"なし"_qs}}
            << QStringList{u"4 台中 3 台で字形が違うフォント: 2 書体"_qs, u"4 台中 3 台で足りないフォント: 1 書体"_qs}
            << 0 << 3;
    }

    void statesAndMajority()
    {
        QFETCH(QStringList, inventories);
        QFETCH(bool, all);
        QFETCH(QList<QStringList>, csv);
        QFETCH(QStringList, summary);
        QFETCH(int, agreeing);
        QFETCH(int, total);
        const QStringList files{u"a.json"_qs, u"b.json"_qs, u"c.json"_qs, u"d.json"_qs};
        const MachineReport report = BuildMachineReport(machines(inventories), files, all);
        QCOMPARE(MachineReportCsv(report), csv);
        QCOMPARE(MachineReportSummary(report), summary);
        QCOMPARE(report.agreeingRows, agreeing);
        QCOMPARE(report.totalRows, total);
    }

    void terminalTable_data()
    {
        QTest::addColumn<QStringList>("inventories");
        QTest::addColumn<QStringList>("lines");
        // Kanji and kana take two columns in a terminal.
        QTest::newRow("Japanese names line up")
            << QStringList{u"東京: Gothic|Bold|g|1.0; 明朝|Regular|m|1.0"_qs, u"osaka: 明朝|Regular|m2|1.1"_qs}
            << QStringList{u"2 台中 1 台で版が違うフォント: 1 書体"_qs, u"2 台中 1 台で足りないフォント: 1 書体"_qs,
                           QString(), u"フォント      東京  osaka"_qs, u"Gothic Bold   1.0   なし"_qs,
                           u"明朝 Regular  1.0   版: 1.1"_qs};
        QTest::newRow("control characters never reach the terminal")
            << QStringList{u"m\x1b[2J: Bad\nName|Bold|b|1"_qs, u"n:"_qs}
            << QStringList{u"2 台中 1 台で足りないフォント: 1 書体"_qs, QString(), u"フォント       m\uFFFD[2J  n"_qs,
                           u"Bad\uFFFDName Bold  1      なし"_qs};
    }

    void terminalTable()
    {
        QFETCH(QStringList, inventories);
        QFETCH(QStringList, lines);
        QCOMPARE(MachineReportLines(BuildMachineReport(machines(inventories), {}, false)), lines);
    }

    void selfContainedEscapedPage()
    {
        const QString hostile = u"<b>\"Evil\" & 'co'</b></script><script>alert(1)</script>"_qs;
        const MachineReport report = BuildMachineReport(
            machines({u"<i>m&1</i>: "_qs + hostile + u"|Regular|a|1<2"_qs, u"n: x|Regular|b|2"_qs}), {}, false);
        const QString page = QString::fromUtf8(MachineReportHtml(report, u"2025-04-01 09:30 <JST>"_qs));
        QVERIFY(page.startsWith(u"<!DOCTYPE html>\n<html lang=\"ja\">"_qs));
        QVERIFY(page.contains(u"<meta charset=\"utf-8\">"_qs));
        QVERIFY(page.contains(u"<title>フォント構成の比較（2 台）</title>"_qs));
        QVERIFY(page.contains(u"&lt;b&gt;&quot;Evil&quot; &amp; 'co'&lt;/b&gt;&lt;/script&gt;"_qs));
        QVERIFY(page.contains(u"&lt;i&gt;m&amp;1&lt;/i&gt;"_qs));
        QVERIFY(page.contains(u"data-v=\"1&lt;2\""_qs));
        QVERIFY(page.contains(u"2025-04-01 09:30 &lt;JST&gt;"_qs));
        QCOMPARE(page.count(u"<script"_qs), 1);
        QVERIFY(!page.contains(u"<i>"_qs));
        QVERIFY(!page.contains(u"<b>"_qs));
        for (const QString& external : {u"http"_qs, u"src="_qs, u"url("_qs, u"@import"_qs, u"://"_qs, u"<link"_qs})
            QVERIFY2(!page.contains(external, Qt::CaseInsensitive), qPrintable(external));
        // Each state has its word, not only its colour.
        for (const QString& word : {u">同じ<"_qs, u">字形が違う<"_qs, u">別の版<"_qs, u">中身が違う<"_qs, u">なし<"_qs})
            QVERIFY2(page.contains(word), qPrintable(word));
    }

    void browserSortsAndDraws()
    {
        if (!QFile::exists(Chromium))
            QSKIP("chromium is not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const MachineReport report = officeReport();
        QVERIFY(report.rows.size() > 20);
        const QByteArray page = MachineReportHtml(report, u"2025-04-01 09:30"_qs);
        const QString path = dir.filePath(u"report.html"_qs);
        QVERIFY(writeFile(path, page));

        // Opened sorted by the second machine: the worst first, then by
        // version; a row is never lost.
        const int column = 3;
        BrowserRun run = runChromium(dir.filePath(u"profile"_qs),
                                     {u"--dump-dom"_qs, QUrl::fromLocalFile(path).toString() + u"#sort=3"_qs});
        QVERIFY(run.finished);
        QList<DumpedRow> rows = dumpedRows(run.dom, column);
        QCOMPARE(rows.size(), report.rows.size());
        QVERIFY(run.dom.contains(u"aria-sort=\"ascending\"><button type=\"button\">営業-PC02"_qs));
        for (qsizetype i = 1; i < rows.size(); ++i) {
            const DumpedRow& before = rows.at(i - 1);
            const DumpedRow& after = rows.at(i);
            QVERIFY(before.state <= after.state);
            if (before.state == after.state)
                QVERIFY(before.version <= after.version);
        }
        QVERIFY(rows.first().state < rows.last().state);

        // Two real clicks on the font heading: names in reverse, and the
        // address says so.
        QByteArray clicked = page;
        clicked.replace("</body>", "<script>var b = document.querySelector('thead button'); b.click(); b.click();"
                                   "document.body.setAttribute('data-hash', location.hash);</script></body>");
        const QString clickedPath = dir.filePath(u"clicked.html"_qs);
        QVERIFY(writeFile(clickedPath, clicked));
        run = runChromium(dir.filePath(u"profile"_qs), {u"--dump-dom"_qs, QUrl::fromLocalFile(clickedPath).toString()});
        QVERIFY(run.finished);
        QVERIFY(run.dom.contains(u"data-hash=\"#sort=0,desc\""_qs));
        rows = dumpedRows(run.dom, 0);
        QCOMPARE(rows.size(), report.rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows.at(i).nameRank, int(rows.size() - 1 - i));

        const QString shot = dir.filePath(u"report.png"_qs);
        run = runChromium(dir.filePath(u"profile"_qs), {u"--screenshot="_qs + shot, u"--window-size=1200,800"_qs,
                                                        u"--hide-scrollbars"_qs, QUrl::fromLocalFile(path).toString()});
        QVERIFY(run.finished);
        QFile png(shot);
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray head = png.read(24);
        QVERIFY(head.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(qFromBigEndian<quint32>(head.constData() + 16), 1200u);
        QCOMPARE(qFromBigEndian<quint32>(head.constData() + 20), 800u);
        // Text and coloured cells give many colours; a blank page has one.
        QProcess identify;
        identify.start(u"/usr/bin/identify"_qs, {u"-format"_qs, u"%k"_qs, shot});
        QVERIFY(identify.waitForFinished(30000) && identify.exitCode() == 0);
        QVERIFY2(identify.readAllStandardOutput().toInt() > 100, "the screenshot is blank");
        if (const QString keep = qEnvironmentVariable("GLYFARO_KEEP_SCREENSHOT"); !keep.isEmpty()) {
            QFile::remove(keep);
            QVERIFY(QFile::copy(shot, keep));
            QVERIFY(writeFile(keep + u".html"_qs, page));
        }
    }
};

QTEST_GUILESS_MAIN(MachineReportTest)
#include "tst_machinereport.moc"

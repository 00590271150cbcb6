#include "identity/MachineReport.h"

#include "catalog/ListOrder.h"
#include "catalog/SizeText.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <vector>
#include <array>

namespace {

// What one machine holds of a title. A machine may hold a face in more than
// one file; its identity is then the set of all their hashes.
struct Holding {
    QStringList hashes;   // sorted, each once
    QStringList versions; // sorted, each once
    QStringList forms;    // sorted, each once
};

void addSorted(QStringList& list, const QString& value)
{
    const auto at = std::lower_bound(list.begin(), list.end(), value);
    if (at == list.end() || *at != value)
        list.insert(at, value);
}

// Equal texts of many inventories held once.
class Pool {
public:
    QString operator()(const QString& text)
    {
        const auto found = m_texts.constFind(text);
        if (found != m_texts.cend())
            return *found;
        m_texts.insert(text);
        return text;
    }

private:
    QSet<QString> m_texts;
};

QHash<QString, Holding> holdingsOf(const DetailedInventory& inventory, Pool& pool)
{
    QHash<QString, Holding> holdings;
    holdings.reserve(inventory.faces.size());
    for (const FaceRecord& face : inventory.faces) {
        Holding& holding = holdings[pool(face.title())];
        addSorted(holding.hashes, pool(face.sha256));
        addSorted(holding.versions, pool(face.facts.version));
        addSorted(holding.forms, pool(face.facts.glyphForms));
    }
    return holdings;
}

// The glyph forms a holding is known to have; "unknown" tells nothing.
QStringList knownForms(const QStringList& forms)
{
    QStringList known = forms;
    known.removeAll(QStringLiteral("unknown"));
    return known;
}

QString joined(const QStringList& values)
{
    return values.join(QStringLiteral(" / "));
}

// The index of the holding most machines share; among equals, the one the
// earliest machine holds.
qsizetype majorityOf(const QList<const Holding*>& holdings)
{
    QList<QStringList> identities;
    QList<qsizetype> counts;
    QList<qsizetype> firstHolder;
    for (qsizetype machine = 0; machine < holdings.size(); ++machine) {
        if (!holdings.at(machine))
            continue;
        const qsizetype known = identities.indexOf(holdings.at(machine)->hashes);
        if (known >= 0) {
            ++counts[known];
        } else {
            identities << holdings.at(machine)->hashes;
            counts << 1;
            firstHolder << machine;
        }
    }
    qsizetype best = 0;
    for (qsizetype i = 1; i < counts.size(); ++i) {
        if (counts.at(i) > counts.at(best))
            best = i;
    }
    return firstHolder.value(best, -1);
}

MachineReportCell cellOf(const Holding* holding, const Holding& majority)
{
    MachineReportCell cell;
    if (!holding)
        return cell;
    cell.version = joined(holding->versions);
    cell.glyphForms = joined(holding->forms);
    if (holding->hashes == majority.hashes) {
        cell.state = MachineReportCell::Agrees;
    } else if (const QStringList mine = knownForms(holding->forms), theirs = knownForms(majority.forms);
               !mine.isEmpty() && !theirs.isEmpty() && mine != theirs) {
        cell.state = MachineReportCell::OtherForms;
    } else if (holding->versions != majority.versions) {
        cell.state = MachineReportCell::OtherVersion;
    } else {
        cell.state = MachineReportCell::OtherBytes;
    }
    return cell;
}

bool hasState(const MachineReportRow& row, MachineReportCell::State state)
{
    return std::any_of(row.cells.cbegin(), row.cells.cend(),
                       [state](const MachineReportCell& cell) { return cell.state == state; });
}

QString versionText(const QString& version)
{
    return version.isEmpty() ? QStringLiteral("不明") : version;
}

QString formsText(const QString& forms)
{
    QStringList shown = forms.split(QStringLiteral(" / "));
    for (QString& form : shown) {
        if (form == u"unknown" || form.isEmpty())
            form = QStringLiteral("不明");
    }
    return joined(shown);
}

// What a cell says in the text table and the CSV file.
QString cellText(const MachineReportCell& cell)
{
    switch (cell.state) {
    case MachineReportCell::Agrees:
        return versionText(cell.version);
    case MachineReportCell::Missing:
        break;
    case MachineReportCell::OtherBytes:
        return QStringLiteral("中身が違う: ") + versionText(cell.version);
    case MachineReportCell::OtherVersion:
        return QStringLiteral("版: ") + versionText(cell.version);
    case MachineReportCell::OtherForms:
        return QStringLiteral("字形: %1 (%2)").arg(formsText(cell.glyphForms), versionText(cell.version));
    }
    return QStringLiteral("なし");
}

struct Difference {
    MachineReportCell::State state;
    const char16_t* phrase; // what "12 台中 3 台で" is followed by
};
// The order of the summary: what a print shop fears most first.
constexpr std::array<Difference, 4> Differences{{
    {MachineReportCell::OtherForms, u"字形が違う"},
    {MachineReportCell::OtherVersion, u"版が違う"},
    {MachineReportCell::OtherBytes, u"版は同じで中身が違う"},
    {MachineReportCell::Missing, u"足りない"},
}};

// Columns a terminal gives a character: two for the wide East Asian ones,
// none for combining marks, so that Japanese names line up.
int terminalWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || category == QChar::Other_Format)
            continue;
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                          (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                          (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                          (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

// A font or machine name may hold a line break or an escape sequence; in a
// terminal either would break the table or worse.
QString terminalSafe(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString html(const QString& text)
{
    return text.toHtmlEscaped();
}

// A short version kept on one line ("Version 2.01" broken in two reads
// badly); a long one, as some fonts' build strings are, may wrap.
QString unbroken(const QString& text)
{
    if (text.isEmpty())
        return text;
    if (text.size() > 16)
        return html(text);
    return QStringLiteral("<span class=\"short\">") + html(text) + QStringLiteral("</span>");
}

// The order a machine's column sorts by in the page: the worst first.
int stateRank(MachineReportCell::State state)
{
    switch (state) {
    case MachineReportCell::OtherForms:
        return 0;
    case MachineReportCell::OtherVersion:
        return 1;
    case MachineReportCell::OtherBytes:
        return 2;
    case MachineReportCell::Missing:
        return 3;
    case MachineReportCell::Agrees:
        break;
    }
    return 4;
}

QString stateClass(MachineReportCell::State state)
{
    switch (state) {
    case MachineReportCell::OtherForms:
        return QStringLiteral("forms");
    case MachineReportCell::OtherVersion:
        return QStringLiteral("version");
    case MachineReportCell::OtherBytes:
        return QStringLiteral("bytes");
    case MachineReportCell::Missing:
        return QStringLiteral("missing");
    case MachineReportCell::Agrees:
        break;
    }
    return QStringLiteral("agrees");
}

QString stateWord(MachineReportCell::State state)
{
    switch (state) {
    case MachineReportCell::OtherForms:
        return QStringLiteral("字形が違う");
    case MachineReportCell::OtherVersion:
        return QStringLiteral("別の版");
    case MachineReportCell::OtherBytes:
        return QStringLiteral("中身が違う");
    case MachineReportCell::Missing:
        return QStringLiteral("なし");
    case MachineReportCell::Agrees:
        break;
    }
    return QStringLiteral("同じ");
}

const char PageStyle[] = R"(
:root { color-scheme: light; }
body { margin: 0; padding: 16px 20px 40px; background: #fff; color: #1a1a1a;
  font: 14px/1.5 "Noto Sans CJK JP", "IPAexGothic", "IPAGothic", "Hiragino Sans", "Yu Gothic", Meiryo, sans-serif; }
h1 { font-size: 20px; margin: 0 0 4px; }
.meta { color: #555; margin: 0 0 10px; }
.summary { margin: 0 0 12px; padding-left: 1.4em; }
.summary li { margin: 2px 0; }
.legend { display: flex; flex-wrap: wrap; gap: 6px 18px; margin: 0 0 14px; padding: 8px 10px;
  border: 1px solid #d0d0d0; border-radius: 4px; background: #fafafa; }
.legend div { display: flex; align-items: center; gap: 6px; }
.legend .sample { padding: 2px 4px; border: 1px solid #d6d6d6; border-radius: 3px; }
.legend .sample .w { margin: 0; }
table { border-collapse: separate; border-spacing: 0; table-layout: fixed; }
col.name { width: 13em; }
col.majority { width: 8.5em; }
col.machine { width: 10em; }
th, td { padding: 4px 6px; border-right: 1px solid #d6d6d6; border-bottom: 1px solid #d6d6d6;
  text-align: left; vertical-align: top; }
thead th { position: sticky; top: 0; z-index: 2; background: #2f3b4c; color: #fff; padding: 0;
  overflow-wrap: anywhere; vertical-align: bottom; border-right-color: #56637a; }
thead th button { all: unset; box-sizing: border-box; display: block; width: 100%; padding: 6px 22px 6px 8px;
  cursor: pointer; position: relative; font-weight: bold; }
thead th button:focus-visible { outline: 2px solid #ffd54f; outline-offset: -2px; }
thead th button::after { content: "\21C5"; position: absolute; right: 6px; opacity: .45; }
thead th[aria-sort="ascending"] button::after { content: "\25B2"; opacity: 1; }
thead th[aria-sort="descending"] button::after { content: "\25BC"; opacity: 1; }
thead th:first-child { left: 0; z-index: 3; }
tbody th { position: sticky; left: 0; z-index: 1; background: #fff; font-weight: normal;
  overflow-wrap: anywhere; border-left: 1px solid #d6d6d6; }
tbody tr:hover th { background: #eef3fb; }
td { overflow-wrap: anywhere; }
td.majority { color: #333; background: #f7f7f7; }
.short { white-space: nowrap; }
.w { display: inline-block; white-space: nowrap; padding: 0 4px; margin-right: 3px; border-radius: 3px;
  font-size: 12px; font-weight: bold; border: 1px solid; }
.forms { background: #fbe0e0; color: #7a0c0c; }
.forms .w { background: #b3261e; color: #fff; border-color: #b3261e; }
.version { background: #ffe8cc; color: #6b3a00; }
.version .w { background: #fff; color: #a14e00; border-color: #d9822b; }
.bytes { background: #fff6c2; color: #594700; }
.bytes .w { background: #fff; color: #7a6100; border-color: #c9a800; }
.missing { background: #e9e9ef; color: #4a4a55; }
.missing .w { background: #fff; color: #4a4a55; border-color: #8a8a99; border-style: dashed; }
.agrees { background: #fff; color: #2d4a2d; }
.agrees .w { background: #eaf5ea; color: #2e6b2e; border-color: #9cc79c; font-weight: normal; }
.hint { color: #555; margin: 10px 0 0; }
@media print { thead th, tbody th { position: static; } }
)";

// Sorting by a click on a heading; "#sort=2" or "#sort=2,desc" in the
// address opens the page sorted, and a click writes it there so a sorted
// view can be passed on.
const char PageScript[] = R"(
(function () {
  var table = document.getElementById('report');
  if (!table) return;
  var body = table.tBodies[0];
  var heads = table.tHead.rows[0].cells;
  var collator = new Intl.Collator('ja', {numeric: true});
  var column = -1, descending = false;
  function nameRank(row) { return Number(row.getAttribute('data-n')); }
  function compare(a, b, index) {
    if (index > 0) {
      var x = a.cells[index], y = b.cells[index];
      var byState = Number(x.getAttribute('data-s') || 0) - Number(y.getAttribute('data-s') || 0);
      if (byState !== 0) return byState;
      var byVersion = collator.compare(x.getAttribute('data-v') || '', y.getAttribute('data-v') || '');
      if (byVersion !== 0) return byVersion;
    }
    return nameRank(a) - nameRank(b);
  }
  function sortBy(index, reverse) {
    var rows = Array.prototype.slice.call(body.rows);
    rows.sort(function (a, b) { var c = compare(a, b, index); return reverse ? -c : c; });
    rows.forEach(function (row) { body.appendChild(row); });
    for (var i = 0; i < heads.length; ++i)
      heads[i].setAttribute('aria-sort', i === index ? (reverse ? 'descending' : 'ascending') : 'none');
    column = index;
    descending = reverse;
  }
  Array.prototype.forEach.call(heads, function (head, index) {
    head.querySelector('button').addEventListener('click', function () {
      sortBy(index, column === index ? !descending : false);
      try { history.replaceState(null, '', '#sort=' + index + (descending ? ',desc' : '')); } catch (e) {}
    });
  });
  var asked = /^#sort=(\d+)(,desc)?$/.exec(location.hash);
  if (asked && Number(asked[1]) < heads.length) sortBy(Number(asked[1]), !!asked[2]);
})();
)";

} // namespace

bool MachineReportRow::agrees() const
{
    return std::all_of(cells.cbegin(), cells.cend(),
                       [](const MachineReportCell& cell) { return cell.state == MachineReportCell::Agrees; });
}

// What a hundred machines hold, kept small: every title and every distinct
// holding once, and for each machine only which holding it has of which
// title.
struct MachineReportBuilder::State {
    QStringList machines;
    QStringList titles;
    QHash<QString, int> titleIndex;
    QList<Holding> holdings;
    QHash<QString, int> holdingIndex;
    QList<QList<QPair<int, int>>> placements; // a machine's (title, holding) pairs
    Pool pool;
};

MachineReportBuilder::MachineReportBuilder() : m_state(std::make_unique<State>()) {}

MachineReportBuilder::~MachineReportBuilder() = default;

void MachineReportBuilder::add(const DetailedInventory& inventory, const QString& title)
{
    State& state = *m_state;
    QString machine = inventory.machine.isEmpty() ? title : inventory.machine;
    if (machine.isEmpty())
        machine = QStringLiteral("コンピュータ %1").arg(state.machines.size() + 1);
    state.machines << machine;
    const QHash<QString, Holding> held = holdingsOf(inventory, state.pool);
    QList<QPair<int, int>> placed;
    placed.reserve(held.size());
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        int row = state.titleIndex.value(it.key(), -1);
        if (row < 0) {
            row = int(state.titles.size());
            state.titles << it.key();
            state.titleIndex.insert(it.key(), row);
        }
        const QString key = it->hashes.join(u',') + u'\n' + it->versions.join(QChar(0x1F)) + u'\n' + it->forms.join(u',');
        int holding = state.holdingIndex.value(key, -1);
        if (holding < 0) {
            holding = int(state.holdings.size());
            state.holdings << *it;
            state.holdingIndex.insert(key, holding);
        }
        placed << qMakePair(row, holding);
    }
    state.placements << placed;
}

MachineReport BuildMachineReport(const QList<DetailedInventory>& inventories, const QStringList& titles, bool all)
{
    MachineReportBuilder builder;
    for (qsizetype i = 0; i < inventories.size(); ++i)
        builder.add(inventories.at(i), titles.value(i));
    return builder.finish(all);
}

MachineReport MachineReportBuilder::finish(bool all) const
{
    const State& state = *m_state;
    MachineReport report;
    report.machines = state.machines;
    const qsizetype machines = state.machines.size();
    // Which holding each machine has of each title; -1 where it has none.
    std::vector<int> grid(std::size_t(state.titles.size() * machines), -1);
    for (qsizetype machine = 0; machine < machines; ++machine) {
        for (const QPair<int, int>& placed : state.placements.at(machine))
            grid[std::size_t(placed.first * machines + machine)] = placed.second;
    }
    QStringList rowTitles = state.titles;
    SortLikeListBox(rowTitles);

    QList<MachineReportRow> formsRows;
    QList<MachineReportRow> otherRows;
    for (const QString& title : std::as_const(rowTitles)) {
        const qsizetype row = state.titleIndex.value(title);
        QList<const Holding*> held;
        held.reserve(machines);
        for (qsizetype machine = 0; machine < machines; ++machine) {
            const int holding = grid[std::size_t(row * machines + machine)];
            held << (holding >= 0 ? &state.holdings.at(holding) : nullptr);
        }
        const Holding& majority = *held.at(majorityOf(held));
        MachineReportRow entry{title, joined(majority.versions), {}};
        entry.cells.reserve(machines);
        for (const Holding* holding : std::as_const(held))
            entry.cells << cellOf(holding, majority);
        if (entry.agrees())
            ++report.agreeingRows;
        if (!all && entry.agrees())
            continue;
        (hasState(entry, MachineReportCell::OtherForms) ? formsRows : otherRows) << entry;
    }
    report.totalRows = rowTitles.size();
    report.rows = formsRows + otherRows;
    return report;
}

QStringList MachineReportSummary(const MachineReport& report)
{
    if (!report.differs())
        return {QStringLiteral("すべてのコンピュータで同じです（%1 書体）").arg(NumberText(report.totalRows))};
    QStringList lines;
    for (const Difference& difference : Differences) {
        qsizetype rows = 0;
        QList<bool> machines(report.machines.size(), false);
        for (const MachineReportRow& row : report.rows) {
            bool inRow = false;
            for (qsizetype i = 0; i < row.cells.size() && i < machines.size(); ++i) {
                if (row.cells.at(i).state == difference.state) {
                    machines[i] = true;
                    inRow = true;
                }
            }
            rows += inRow ? 1 : 0;
        }
        if (rows == 0)
            continue;
        lines << QStringLiteral("%1 台中 %2 台で%3フォント: %4 書体")
                     .arg(NumberText(report.machines.size()), NumberText(machines.count(true)),
                          QString::fromUtf16(difference.phrase), NumberText(rows));
    }
    const qsizetype leftOut = report.totalRows - report.rows.size();
    if (leftOut > 0)
        lines << QStringLiteral("全台で同じフォント: %1 書体（一覧には載せていません）").arg(NumberText(leftOut));
    return lines;
}

QStringList MachineReportLines(const MachineReport& report)
{
    QStringList lines = MachineReportSummary(report);
    if (report.rows.isEmpty())
        return lines;
    QList<QStringList> table;
    table << (QStringList{QStringLiteral("フォント")} + report.machines);
    for (const MachineReportRow& row : report.rows) {
        QStringList cells{row.title};
        for (const MachineReportCell& cell : row.cells)
            cells << cellText(cell);
        table << cells;
    }
    QList<int> widths;
    for (QStringList& cells : table) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            cells[i] = terminalSafe(cells.at(i));
            if (widths.size() <= i)
                widths << 0;
            widths[i] = std::max(widths.at(i), terminalWidth(cells.at(i)));
        }
    }
    lines << QString();
    for (const QStringList& cells : std::as_const(table)) {
        QString line;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                line += QStringLiteral("  ");
            line += cells.at(i);
            if (i + 1 < cells.size())
                line += QString(widths.at(i) - terminalWidth(cells.at(i)), u' ');
        }
        lines << line;
    }
    return lines;
}

QList<QStringList> MachineReportCsv(const MachineReport& report)
{
    QList<QStringList> rows;
    rows << (QStringList{QStringLiteral("フォント"), QStringLiteral("多数の版")} + report.machines);
    for (const MachineReportRow& row : report.rows) {
        QStringList cells{row.title, row.majorityVersion};
        for (const MachineReportCell& cell : row.cells)
            cells << cellText(cell);
        rows << cells;
    }
    return rows;
}

QByteArray MachineReportHtml(const MachineReport& report, const QString& generatedAt)
{
    // The rows' places in the lists' order, for sorting by name in the page
    // as the lists sort.
    QStringList byName;
    for (const MachineReportRow& row : report.rows)
        byName << row.title;
    SortLikeListBox(byName);
    QHash<QString, qsizetype> nameRank;
    for (qsizetype i = 0; i < byName.size(); ++i)
        nameRank.insert(byName.at(i), i);

    const QString title = QStringLiteral("フォント構成の比較（%1 台）").arg(NumberText(report.machines.size()));
    QString page;
    page += QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>") +
            html(title) + QStringLiteral("</title>\n<style>") + QString::fromUtf8(PageStyle) +
            QStringLiteral("</style>\n</head>\n<body>\n<h1>") + html(title) + QStringLiteral("</h1>\n");
    page += QStringLiteral("<p class=\"meta\">作成: %1　コンピュータ %2 台、フォント %3 書体</p>\n")
                .arg(html(generatedAt), NumberText(report.machines.size()), NumberText(report.totalRows));
    page += QStringLiteral("<ul class=\"summary\">\n");
    for (const QString& line : MachineReportSummary(report))
        page += QStringLiteral("<li>") + html(line) + QStringLiteral("</li>\n");
    page += QStringLiteral("</ul>\n");

    if (!report.rows.isEmpty()) {
        struct Meaning {
            MachineReportCell::State state;
            const char16_t* text;
        };
        const Meaning legend[] = {
            {MachineReportCell::Agrees, u"多くのコンピュータと同じファイル"},
            {MachineReportCell::OtherForms, u"JIS90 と JIS2004 で字形が違う（名前は同じでも印刷が変わります）"},
            {MachineReportCell::OtherVersion, u"版が違う"},
            {MachineReportCell::OtherBytes, u"版の表示は同じでも中身が違う"},
            {MachineReportCell::Missing, u"このコンピュータにはない"},
        };
        page += QStringLiteral("<div class=\"legend\" role=\"list\" aria-label=\"凡例\">\n");
        for (const Meaning& meaning : legend)
            page += QStringLiteral("<div role=\"listitem\"><span class=\"sample %1\"><span class=\"w\">%2</span></span>%3</div>\n")
                        .arg(stateClass(meaning.state), stateWord(meaning.state), QString::fromUtf16(meaning.text));
        page += QStringLiteral("</div>\n");

        // Fixed widths: every machine's column alike, whatever its cells
        // hold, and a page as wide as the columns need (scrolled sideways
        // past the window, the font names staying in view).
        page += QStringLiteral("<table id=\"report\" style=\"width: %1em\">\n<colgroup><col class=\"name\">"
                               "<col class=\"majority\">")
                    .arg(QString::number(13 + 8.5 + 10 * double(report.machines.size())));
        for (qsizetype i = 0; i < report.machines.size(); ++i)
            page += QStringLiteral("<col class=\"machine\">");
        page += QStringLiteral("</colgroup>\n<thead><tr>");
        const QStringList headings = QStringList{QStringLiteral("フォント"), QStringLiteral("多数の版")} + report.machines;
        for (const QString& heading : headings)
            page += QStringLiteral("<th scope=\"col\" aria-sort=\"none\"><button type=\"button\">") + html(heading) +
                    QStringLiteral("</button></th>");
        page += QStringLiteral("</tr></thead>\n<tbody>\n");
        for (const MachineReportRow& row : report.rows) {
            page += QStringLiteral("<tr data-n=\"%1\"><th scope=\"row\">%2</th><td class=\"majority\" data-v=\"%3\">%4</td>")
                        .arg(QString::number(nameRank.value(row.title)), html(row.title), html(row.majorityVersion),
                             unbroken(versionText(row.majorityVersion)));
            for (const MachineReportCell& cell : row.cells) {
                QString detail;
                if (cell.state == MachineReportCell::OtherForms)
                    detail = formsText(cell.glyphForms) + QStringLiteral(" · ") + versionText(cell.version);
                else if (cell.state != MachineReportCell::Missing)
                    detail = versionText(cell.version);
                page += QStringLiteral("<td class=\"%1\" data-s=\"%2\" data-v=\"%3\"><span class=\"w\">%4</span>%5</td>")
                            .arg(stateClass(cell.state), QString::number(stateRank(cell.state)), html(cell.version),
                                 stateWord(cell.state), unbroken(detail));
            }
            page += QStringLiteral("</tr>\n");
        }
        page += QStringLiteral("</tbody>\n</table>\n<p class=\"hint\">見出しをクリックすると並べ替えます。"
                               "もう一度クリックすると逆の順になります。</p>\n");
    }
    page += QStringLiteral("<script>") + QString::fromUtf8(PageScript) + QStringLiteral("</script>\n</body>\n</html>\n");
    return page.toUtf8();
}

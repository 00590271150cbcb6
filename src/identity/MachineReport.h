#pragma once

#include "identity/DetailedInventory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// Many machines' detailed inventories in one table: a row a family and
// style, a column a machine. Each cell holds what that machine has, against
// what most machines hold: the same, missing, other bytes, another version,
// other glyph forms.

struct MachineReportCell {
    enum State {
        Agrees,       // the bytes most machines hold
        Missing,      // the machine has no such face
        OtherBytes,   // the same version, other bytes
        OtherVersion, // another version
        OtherForms,   // JIS90 where most have JIS2004, or the other way round
    };
    State state = Missing;
    QString version;    // the machine's version string(s), " / " between several
    QString glyphForms; // "JIS90", "JIS2004", "unknown", " / " between several
};

struct MachineReportRow {
    QString title;          // "IPAmj明朝 Regular"
    QString majorityVersion; // the version most machines hold
    QList<MachineReportCell> cells; // one a machine, in the inventories' order
    bool agrees() const;    // every machine holds the majority's bytes
};

struct MachineReport {
    QStringList machines;        // each inventory's machine name (or its file name when it has none)
    QList<MachineReportRow> rows; // the rows that differ, or every row when all was asked for
    qsizetype agreeingRows = 0;   // rows where every machine agrees (counted even when listed)
    qsizetype totalRows = 0;

    bool differs() const { return agreeingRows < totalRows; }
};

// titles names each inventory's column when its machine name is empty (the
// file's name, say). all keeps the rows where every machine agrees.
MachineReport BuildMachineReport(const QList<DetailedInventory>& inventories, const QStringList& titles, bool all);

// The same one inventory at a time, so that a hundred machines' inventories
// need not be held at once: each keeps only what tells its faces apart, the
// texts that machines share stored once.
class MachineReportBuilder {
public:
    MachineReportBuilder();
    ~MachineReportBuilder();
    void add(const DetailedInventory& inventory, const QString& title);
    MachineReport finish(bool all) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The summary lines at the top: "12 台中 3 台で字形が違うフォント: 2 書体",
// and likewise for other versions, other bytes and missing fonts.
QStringList MachineReportSummary(const MachineReport& report);
// The table as text lines for a terminal.
QStringList MachineReportLines(const MachineReport& report);
// The table as CSV rows: a heading row, then a row a font.
QList<QStringList> MachineReportCsv(const MachineReport& report);
// One self-contained HTML page (no external resources): the summary at the
// top, the table, machines and fonts sortable by a click on their heading.
QByteArray MachineReportHtml(const MachineReport& report, const QString& generatedAt);

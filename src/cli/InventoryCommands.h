#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

// The tool's commands over machines' font sets: the detailed inventory of
// this machine, comparing two sets (comparison files or detailed
// inventories), and the report of many machines.

// save --details FILE: this machine's detailed inventory; "-" writes it to
// standard output.
int SaveDetailedInventory(const QString& path, QIODevice& out, QIODevice& err);

// compare [--json] A [B]: A against this machine, or A against B.
int CompareSets(const QStringList& files, bool json, QIODevice& out, QIODevice& err);

struct ReportOptions {
    QString html;
    QString csv;
    bool all = false;
};
// report A.json B.json ...: many machines in one table.
int ReportMachines(const QStringList& files, const ReportOptions& options, QIODevice& out, QIODevice& err);

// The tool's name and version, as inventories record it.
QString ToolVersionText();

#pragma once

#include "identity/DetailedInventory.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Detailed inventories read from the files the windows and the tool are handed,
// told apart from comparison files by their bytes rather than their names.

struct InventoryFile {
    enum class Status {
        Read,
        NotInventory, // a comparison file, or anything else that is no JSON object
        Unreadable,   // error says why after 「ファイル「NAME」」
        Damaged,      // likewise
    };
    Status status = Status::Read;
    std::optional<DetailedInventory> inventory;
    QString error;
};
InventoryFile ReadInventoryFile(const QString& path);

// What a side or a column is called: the machine the inventory was made on,
// with the file it came in, "proof-01（proof-01.json）".
QString InventoryTitle(const DetailedInventory& inventory, const QString& fileName);

// Many machines' inventories for one report, each named by its file where
// it names no machine. error is the whole message when one of them cannot be
// used; then there are none.
struct MachineInventories {
    QList<DetailedInventory> inventories;
    QStringList titles;
    QString error;
};
MachineInventories ReadMachineInventories(const QStringList& paths);

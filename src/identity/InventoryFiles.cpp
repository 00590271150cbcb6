#include "identity/InventoryFiles.h"

#include "formats/FileStore.h"
#include "formats/FontNameFiles.h"

#include <QFileInfo>

namespace {

QString named(const QString& path)
{
    return QStringLiteral("ファイル「") + path + QStringLiteral("」");
}

} // namespace

InventoryFile ReadInventoryFile(const QString& path)
{
    InventoryFile file;
    if (QFileInfo(path).isDir()) {
        file.status = InventoryFile::Status::Unreadable;
        file.error = QStringLiteral("はフォルダです。");
        return file;
    }
    FileBytes bytes;
    if (const FileResult opened = bytes.open(path); !opened.ok) {
        file.status = InventoryFile::Status::Unreadable;
        file.error = QStringLiteral("を読み込めませんでした。") + opened.reason;
        return file;
    }
    if (!LooksLikeInventory(bytes.bytes())) {
        file.status = InventoryFile::Status::NotInventory;
        return file;
    }
    InventoryRead read = ReadInventory(bytes.bytes());
    if (!read.inventory) {
        file.status = InventoryFile::Status::Damaged;
        file.error = read.error;
        return file;
    }
    file.inventory = std::move(read.inventory);
    return file;
}

QString InventoryTitle(const DetailedInventory& inventory, const QString& fileName)
{
    return inventory.machine.isEmpty() ? fileName : inventory.machine + QStringLiteral("（") + fileName + QStringLiteral("）");
}

MachineInventories ReadMachineInventories(const QStringList& paths)
{
    MachineInventories read;
    for (const QString& path : paths) {
        InventoryFile file = ReadInventoryFile(path);
        QString error;
        switch (file.status) {
        case InventoryFile::Status::Read:
            read.inventories << std::move(*file.inventory);
            read.titles << QFileInfo(path).completeBaseName();
            continue;
        case InventoryFile::Status::NotInventory:
            // A comparison file holds names and sizes only: nothing to
            // tell versions or glyph forms apart by.
            error = IsComparisonFile(path)
                        ? QStringLiteral("はフォント比較用ファイル（.gfc）です。複数のコンピュータを比べるには、"
                                         "詳しいフォント構成ファイル（.json）が要ります。各コンピュータで"
                                         "「glyfaro2-fonts save --details」で保存したファイルを選んでください。")
                        : QStringLiteral("は詳しいフォント構成ファイルではありません。");
            break;
        case InventoryFile::Status::Unreadable:
        case InventoryFile::Status::Damaged:
            error = file.error;
            break;
        }
        return MachineInventories{{}, {}, named(path) + error};
    }
    return read;
}

#pragma once

#include "identity/FileFacts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A machine's fonts by identity: one record a face, with what tells one
// version or build of a font from another. Written as JSON by
// `glyfaro2-fonts save --details` and the File menu, read back to compare
// machines.

inline const QString InventoryFormatName = QStringLiteral("glyfaro2-inventory");
inline constexpr int InventoryMajorVersion = 1;
inline constexpr int InventoryMinorVersion = 0;

struct FaceRecord {
    QStringList families;
    QStringList familyLanguages; // same order
    QString style;
    QString file;
    qint64 size = 0;
    QString sha256;
    FaceFacts facts;

    // "IPAmj明朝 Regular": what a row of the comparison names.
    QString title() const;
};

struct DetailedInventory {
    QString machine;
    QString date; // ISO 8601
    QString tool; // "glyfaro2-fonts 2.3.72"
    QString version = QStringLiteral("%1.%2").arg(InventoryMajorVersion).arg(InventoryMinorVersion);
    QList<FaceRecord> faces;
    // The names and sizes a comparison file saved on the machine holds, so
    // that the inventory compares against such a file as the file would.
    QStringList names;
    QList<qint64> sizes;
};

QByteArray InventoryJson(const DetailedInventory& inventory);

// Whether bytes look like a detailed inventory rather than a comparison
// file: a JSON object.
bool LooksLikeInventory(QByteArrayView bytes);

struct InventoryRead {
    std::optional<DetailedInventory> inventory;
    QString error; // why not, in a sentence after the file's name
};
InventoryRead ReadInventory(QByteArrayView bytes);

// The names of the Japanese sets as the inventory's coverage keys.
QStringList CoverageKeys();

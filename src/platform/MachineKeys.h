#pragma once

#include "platform/FontSnapshot.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace platform {

// The read-only keys of the local machine, made from the running system: the
// Windows key with the product, kernel and owner, and its Fonts subkey with
// one entry per installed font face. The Fonts entries are made on first use.
class MachineKeys {
public:
    struct Facts {
        QString productName;
        QString kernelRelease;
        QString owner;
    };

    static inline const QString WindowsKeyPath = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    static inline const QString FontsKeyPath = WindowsKeyPath + QStringLiteral("\\Fonts");

    // Facts default to the running system's.
    explicit MachineKeys(FontSnapshotSource fonts, std::optional<Facts> facts = std::nullopt);

    bool hasKey(const QString& path) const;
    // nullopt when the key or the value does not exist.
    std::optional<QString> value(const QString& path, const QString& name);
    qsizetype valueCount(const QString& path);
    QString valueName(const QString& path, qsizetype index);

private:
    struct Key {
        // Name and data; the Fonts key shares the snapshot's list.
        QList<FontFileEntry> values;
        QHash<QString, qsizetype> exact;   // name -> position
        // case-folded name -> first position; made on the first name that
        // is not found as it stands, as most lookups use the exact name.
        mutable QHash<QString, qsizetype> folded;
        mutable bool foldedMade = false;
        void add(const QString& name, const QString& data);
        std::optional<qsizetype> find(const QString& name) const;
    };
    Key* key(const QString& path);

    FontSnapshotSource m_fonts;
    QHash<QString, Key> m_keys; // by case-folded path
    bool m_fontsLoaded = false;
    QString m_lastPath;
    Key* m_lastKey = nullptr; // the key m_lastPath names; keys never move once made
};

} // namespace platform

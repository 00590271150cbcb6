#pragma once

#include "platform/FontSnapshot.h"
#include "platform/HiveDocument.h"
#include "platform/MachineKeys.h"
#include "platform/Registry.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace platform {

// The registry on Linux: the current user's keys live in one text hive file
// shared with every other process (the Reset tool among them), so every call
// reads the file again and every change replaces it whole, under a lock. The
// local machine's keys are read-only and made from the running system.
class HiveRegistry : public Registry {
public:
    // Writes bytes to an open file; false when the write fails.
    using FileWriter = std::function<bool(int fd, QByteArrayView bytes)>;

    // ${XDG_CONFIG_HOME:-~/.config}/glyfaro/user.reg
    static QString defaultHivePath();

    explicit HiveRegistry(QString hivePath = defaultHivePath(),
                          FontSnapshotSource fonts = &FontSnapshot::shared);
    // With machine facts of the caller's choosing instead of the running system's.
    HiveRegistry(QString hivePath, FontSnapshotSource fonts, MachineKeys::Facts facts);

    long openKey(RootKey root, const QString& path, KeyAccess access, KeyHandle& handle) override;
    long createKey(RootKey root, const QString& path, KeyHandle& handle) override;
    long closeKey(KeyHandle handle) override;
    long queryValueSize(KeyHandle handle, const QString& name, std::uint32_t& size) override;
    long queryValue(KeyHandle handle, const QString& name, QString& data) override;
    long setValue(KeyHandle handle, const QString& name, const QString& data) override;
    long enumValueName(KeyHandle handle, std::uint32_t index, std::uint32_t bufferChars,
                       QString& name) override;
    long deleteKey(KeyHandle parent, const QString& subkey) override;
    long beginTransaction() override;
    long commitTransaction() override;
    void rollbackTransaction() override;
    QString takeDamageReport() override;

    // Lets a test make the file write fail part-way.
    void setFileWriter(FileWriter writer) { m_writer = std::move(writer); }

private:
    struct Handle {
        RootKey root;
        QString path;
        KeyAccess access;
    };
    struct FileStamp {
        bool exists = false;
        unsigned long long device = 0, inode = 0, size = 0;
        long long seconds = 0, nanoseconds = 0;
        bool operator==(const FileStamp&) const = default;
    };
    enum class LockState { NotHeld, Held };
    using Change = std::function<long(HiveDocument&)>;
    struct Transaction {
        HiveDocument document; // the store as this caller sees it meanwhile
        std::vector<Change> changes;
    };

    const Handle* handleFor(KeyHandle handle) const;
    KeyHandle addHandle(RootKey root, const QString& path, KeyAccess access);
    std::optional<QString> readValue(const Handle& handle, const QString& name, long& status);

    // The hive as it is on disk now; nullptr when it cannot be read.
    const HiveDocument* load(LockState lock);
    // What this caller sees: the open transaction's state, else the disk's.
    const HiveDocument* current();
    enum class Damage { Content, Unreadable };
    bool setAside(const FileStamp& damaged, Damage damage, LockState lock);
    void removeLeftovers(LockState lock);
    long modify(const Change& change);
    long store(const std::vector<Change>& changes);
    bool writeFile(const QByteArray& bytes);
    bool ensureFolder() const;

    QString m_hivePath;
    QString m_folder;
    MachineKeys m_machine;
    FileWriter m_writer;
    std::optional<HiveDocument> m_document;
    std::optional<Transaction> m_transaction;
    bool m_leftoversRemoved = false;
    FileStamp m_stamp;
    QString m_damageReport;
    std::unordered_map<KeyHandle, Handle> m_handles;
    KeyHandle m_nextHandle = 1;
};

} // namespace platform

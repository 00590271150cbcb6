#pragma once

#include "platform/Registry.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

// An in-memory registry that keeps the Win32 results of the real one and lets
// a test make any call fail.
class FakeRegistry : public platform::Registry {
public:
    enum class Op { Open, Create, Close, QuerySize, Query, Set, Enum, Delete, Commit };
    struct Call {
        Op op;
        platform::RootKey root;
        QString path;        // the key the call is about
        platform::KeyAccess access = platform::KeyAccess::Read;
        QString name;        // value name or subkey, where the call has one
    };

    long openKey(platform::RootKey root, const QString& path, platform::KeyAccess access,
                 platform::KeyHandle& handle) override;
    long createKey(platform::RootKey root, const QString& path, platform::KeyHandle& handle) override;
    long closeKey(platform::KeyHandle handle) override;
    long queryValueSize(platform::KeyHandle handle, const QString& name, std::uint32_t& size) override;
    long queryValue(platform::KeyHandle handle, const QString& name, QString& data) override;
    long setValue(platform::KeyHandle handle, const QString& name, const QString& data) override;
    long enumValueName(platform::KeyHandle handle, std::uint32_t index, std::uint32_t bufferChars,
                       QString& name) override;
    long deleteKey(platform::KeyHandle parent, const QString& subkey) override;
    // Changes in a transaction take effect at once; a rollback or a failed
    // commit puts every key back as it was at the beginning.
    long beginTransaction() override;
    long commitTransaction() override;
    void rollbackTransaction() override;
    QString takeDamageReport() override;

    // Contents, set and read by tests without handles.
    void put(platform::RootKey root, const QString& path, const QString& name, const QString& data);
    void addKey(platform::RootKey root, const QString& path);
    void removeValue(platform::RootKey root, const QString& path, const QString& name);
    void removeKey(platform::RootKey root, const QString& path);
    bool hasKey(platform::RootKey root, const QString& path) const;
    std::optional<QString> value(platform::RootKey root, const QString& path, const QString& name) const;
    // Value names in the order they were first written.
    QStringList valueNames(platform::RootKey root, const QString& path) const;

    // Every call passes through this; a non-zero result makes the call fail
    // with that status before it has any effect.
    std::function<long(const Call&)> failWhen;
    // Every successful setValue as "name=data", in order.
    QStringList writeLog;
    QString damageReport;
    int openHandles() const { return int(m_handles.size()); }

private:
    struct Key {
        QString path;
        QList<std::pair<QString, QString>> values;
    };
    struct Handle {
        platform::RootKey root;
        QString path;
        platform::KeyAccess access;
    };
    Key* find(platform::RootKey root, const QString& path);
    const Key* find(platform::RootKey root, const QString& path) const;
    long check(const Call& call) const;
    const Handle* handleFor(platform::KeyHandle handle) const;

    std::map<std::pair<int, QString>, Key> m_keys;   // by root and lower-cased path
    std::optional<std::map<std::pair<int, QString>, Key>> m_beforeTransaction;
    std::map<platform::KeyHandle, Handle> m_handles;
    platform::KeyHandle m_nextHandle = 100;
};

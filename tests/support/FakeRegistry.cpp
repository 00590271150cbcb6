#include "FakeRegistry.h"

using namespace platform;

namespace {

std::pair<int, QString> keyId(RootKey root, const QString& path)
{
    return {int(root), path.toLower()};
}

} // namespace

FakeRegistry::Key* FakeRegistry::find(RootKey root, const QString& path)
{
    auto it = m_keys.find(keyId(root, path));
    return it == m_keys.end() ? nullptr : &it->second;
}

const FakeRegistry::Key* FakeRegistry::find(RootKey root, const QString& path) const
{
    auto it = m_keys.find(keyId(root, path));
    return it == m_keys.end() ? nullptr : &it->second;
}

long FakeRegistry::check(const Call& call) const
{
    return failWhen ? failWhen(call) : RegSuccess;
}

const FakeRegistry::Handle* FakeRegistry::handleFor(KeyHandle handle) const
{
    auto it = m_handles.find(handle);
    return it == m_handles.end() ? nullptr : &it->second;
}

long FakeRegistry::openKey(RootKey root, const QString& path, KeyAccess access, KeyHandle& handle)
{
    if (long status = check({Op::Open, root, path, access, {}}))
        return status;
    if (!find(root, path))
        return RegFileNotFound;
    handle = m_nextHandle++;
    m_handles[handle] = {root, path, access};
    return RegSuccess;
}

long FakeRegistry::createKey(RootKey root, const QString& path, KeyHandle& handle)
{
    if (long status = check({Op::Create, root, path, KeyAccess::Write, {}}))
        return status;
    addKey(root, path);
    handle = m_nextHandle++;
    m_handles[handle] = {root, path, KeyAccess::Write};
    return RegSuccess;
}

long FakeRegistry::closeKey(KeyHandle handle)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (long status = check({Op::Close, h->root, h->path, h->access, {}}))
        return status;
    m_handles.erase(handle);
    return RegSuccess;
}

long FakeRegistry::queryValueSize(KeyHandle handle, const QString& name, std::uint32_t& size)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (long status = check({Op::QuerySize, h->root, h->path, h->access, name}))
        return status;
    auto data = value(h->root, h->path, name);
    if (!data)
        return find(h->root, h->path) ? RegFileNotFound : RegKeyDeleted;
    size = std::uint32_t(data->toUtf8().size() + 1);
    return RegSuccess;
}

long FakeRegistry::queryValue(KeyHandle handle, const QString& name, QString& data)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (long status = check({Op::Query, h->root, h->path, h->access, name}))
        return status;
    auto stored = value(h->root, h->path, name);
    if (!stored)
        return find(h->root, h->path) ? RegFileNotFound : RegKeyDeleted;
    data = *stored;
    return RegSuccess;
}

long FakeRegistry::setValue(KeyHandle handle, const QString& name, const QString& data)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (h->access != KeyAccess::Write)
        return RegAccessDenied;
    if (long status = check({Op::Set, h->root, h->path, h->access, name}))
        return status;
    if (!find(h->root, h->path))
        return RegKeyDeleted;
    put(h->root, h->path, name, data);
    writeLog << name + QLatin1Char('=') + data;
    return RegSuccess;
}

long FakeRegistry::enumValueName(KeyHandle handle, std::uint32_t index, std::uint32_t bufferChars,
                                 QString& name)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (long status = check({Op::Enum, h->root, h->path, h->access, {}}))
        return status;
    const Key* key = find(h->root, h->path);
    if (!key)
        return RegKeyDeleted;
    if (index >= std::uint32_t(key->values.size()))
        return RegNoMoreItems;
    const QString& found = key->values[int(index)].first;
    if (std::uint32_t(found.size()) >= bufferChars)
        return RegMoreData;
    name = found;
    return RegSuccess;
}

long FakeRegistry::deleteKey(KeyHandle parent, const QString& subkey)
{
    const Handle* h = handleFor(parent);
    if (!h)
        return RegInvalidHandle;
    const QString path = h->path + QLatin1Char('\\') + subkey;
    if (long status = check({Op::Delete, h->root, path, h->access, subkey}))
        return status;
    if (!find(h->root, path))
        return RegFileNotFound;
    removeKey(h->root, path);
    return RegSuccess;
}

long FakeRegistry::beginTransaction()
{
    if (m_beforeTransaction)
        return platform::RegAccessDenied;
    m_beforeTransaction = m_keys;
    return platform::RegSuccess;
}

long FakeRegistry::commitTransaction()
{
    if (!m_beforeTransaction)
        return platform::RegAccessDenied;
    if (long status = check({Op::Commit, RootKey::CurrentUser, {}, KeyAccess::Write, {}})) {
        rollbackTransaction();
        return status;
    }
    m_beforeTransaction.reset();
    return platform::RegSuccess;
}

void FakeRegistry::rollbackTransaction()
{
    if (m_beforeTransaction)
        m_keys = *std::exchange(m_beforeTransaction, std::nullopt);
}

QString FakeRegistry::takeDamageReport()
{
    return std::exchange(damageReport, QString());
}

void FakeRegistry::put(RootKey root, const QString& path, const QString& name, const QString& data)
{
    addKey(root, path);
    Key* key = find(root, path);
    for (auto& entry : key->values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0) {
            entry.second = data;
            return;
        }
    }
    key->values.append({name, data});
}

void FakeRegistry::addKey(RootKey root, const QString& path)
{
    // Parents exist whenever a child does, as in a real registry.
    const QStringList parts = path.split(QLatin1Char('\\'));
    QString prefix;
    for (const QString& part : parts) {
        prefix = prefix.isEmpty() ? part : prefix + QLatin1Char('\\') + part;
        auto id = keyId(root, prefix);
        if (m_keys.find(id) == m_keys.end())
            m_keys[id] = Key{prefix, {}};
    }
}

void FakeRegistry::removeValue(RootKey root, const QString& path, const QString& name)
{
    if (Key* key = find(root, path)) {
        key->values.removeIf([&](const auto& entry) {
            return entry.first.compare(name, Qt::CaseInsensitive) == 0;
        });
    }
}

void FakeRegistry::removeKey(RootKey root, const QString& path)
{
    m_keys.erase(keyId(root, path));
}

bool FakeRegistry::hasKey(RootKey root, const QString& path) const
{
    return find(root, path) != nullptr;
}

std::optional<QString> FakeRegistry::value(RootKey root, const QString& path, const QString& name) const
{
    const Key* key = find(root, path);
    if (!key)
        return std::nullopt;
    for (const auto& entry : key->values) {
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    return std::nullopt;
}

QStringList FakeRegistry::valueNames(RootKey root, const QString& path) const
{
    QStringList names;
    if (const Key* key = find(root, path)) {
        for (const auto& entry : key->values)
            names << entry.first;
    }
    return names;
}

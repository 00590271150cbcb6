#include "platform/MachineKeys.h"

#include "platform/SystemFacts.h"

namespace platform {

void MachineKeys::Key::add(const QString& name, const QString& data)
{
    if (exact.contains(name))
        return;
    exact.insert(name, values.size());
    if (foldedMade) {
        const QString foldedName = name.toCaseFolded();
        if (!folded.contains(foldedName))
            folded.insert(foldedName, values.size());
    }
    values.append({name, data});
}

std::optional<qsizetype> MachineKeys::Key::find(const QString& name) const
{
    // An exact match first: font entries may differ only in case, and each
    // must lead to its own file.
    auto it = exact.constFind(name);
    if (it != exact.cend())
        return *it;
    if (!foldedMade) {
        foldedMade = true;
        folded.reserve(values.size());
        for (qsizetype position = 0; position < values.size(); ++position) {
            const QString foldedName = values.at(position).name.toCaseFolded();
            if (!folded.contains(foldedName))
                folded.insert(foldedName, position);
        }
    }
    it = folded.constFind(name.toCaseFolded());
    if (it != folded.cend())
        return *it;
    return std::nullopt;
}

MachineKeys::MachineKeys(FontSnapshotSource fonts, std::optional<Facts> facts)
    : m_fonts(std::move(fonts))
{
    if (!facts)
        facts = Facts{operatingSystemName(), kernelRelease(), currentOwnerName()};

    const QStringList parts = FontsKeyPath.split(QLatin1Char('\\'));
    QString path;
    for (const QString& part : parts) {
        path = path.isEmpty() ? part : path + QLatin1Char('\\') + part;
        m_keys.insert(path.toCaseFolded(), Key{});
    }
    Key& windows = m_keys[WindowsKeyPath.toCaseFolded()];
    windows.add(QStringLiteral("ProductName"), facts->productName);
    if (!facts->kernelRelease.isEmpty())
        windows.add(QStringLiteral("CSDVersion"), facts->kernelRelease);
    if (!facts->owner.isEmpty())
        windows.add(QStringLiteral("RegisteredOwner"), facts->owner);
}

bool MachineKeys::hasKey(const QString& path) const
{
    return m_keys.contains(path.toCaseFolded());
}

MachineKeys::Key* MachineKeys::key(const QString& path)
{
    // Callers walk one key value by value; folding its path on every call
    // would cost more than the lookup itself.
    if (m_lastKey && path == m_lastPath)
        return m_lastKey;
    const QString foldedPath = path.toCaseFolded();
    auto it = m_keys.find(foldedPath);
    if (it == m_keys.end())
        return nullptr;
    if (!m_fontsLoaded && foldedPath == FontsKeyPath.toCaseFolded()) {
        m_fontsLoaded = true;
        if (auto snapshot = m_fonts ? m_fonts() : nullptr) {
            // The entries are unique already, so the key takes the list as
            // it is rather than a copy of ten thousand pairs.
            const auto& entries = snapshot->fileEntries();
            it->values = entries;
            it->exact.reserve(entries.size());
            for (qsizetype position = 0; position < entries.size(); ++position)
                it->exact.insert(entries.at(position).name, position);
        }
    }
    m_lastPath = path;
    m_lastKey = &*it;
    return m_lastKey;
}

std::optional<QString> MachineKeys::value(const QString& path, const QString& name)
{
    const Key* found = key(path);
    if (!found)
        return std::nullopt;
    auto position = found->find(name);
    if (!position)
        return std::nullopt;
    return found->values.at(*position).path;
}

qsizetype MachineKeys::valueCount(const QString& path)
{
    const Key* found = key(path);
    return found ? found->values.size() : 0;
}

QString MachineKeys::valueName(const QString& path, qsizetype index)
{
    const Key* found = key(path);
    return found ? found->values.at(index).name : QString();
}

} // namespace platform

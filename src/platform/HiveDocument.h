#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace platform {

struct HiveValue {
    QString name;
    QString data;
};

struct HiveKey {
    QString path; // below the root, components joined by backslashes, case kept
    QList<HiveValue> values;
};

// The keys of the current user's settings as held in the hive file: keys in
// the order they were created, values in the order they were first set. Paths
// and value names compare case-insensitively and keep their case.
class HiveDocument {
public:
    // nullopt when the text is not a hive this program can read back exactly.
    static std::optional<HiveDocument> parse(QByteArrayView text);
    QByteArray toText() const;

    // Whether a key path or value name can be stored in the text form at all.
    static bool isValidKeyPath(const QString& path);
    static bool isValidValueName(const QString& name);

    const HiveKey* key(const QString& path) const;
    bool hasKey(const QString& path) const { return key(path) != nullptr; }
    bool hasSubkeys(const QString& path) const;
    // Creates the key and any missing parents; an existing key stays as it is.
    void createKey(const QString& path);
    void removeKey(const QString& path);
    // The key must exist.
    void setValue(const QString& path, const QString& name, const QString& data);
    const HiveValue* value(const QString& path, const QString& name) const;

    const std::vector<HiveKey>& keys() const { return m_keys; }

private:
    HiveKey* findKey(const QString& path);
    void reindex();

    std::vector<HiveKey> m_keys;
    QHash<QString, std::size_t> m_index; // case-folded path -> position in m_keys
};

} // namespace platform

#include "platform/HiveRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Settings are a few kilobytes; anything this large is not a hive we wrote.
constexpr long long MaxHiveBytes = 64ll * 1024 * 1024;

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// An exclusive advisory lock on a file beside the hive, held while the
// object lives. Closing the descriptor releases it.
class HiveLock {
public:
    explicit HiveLock(const QString& path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~HiveLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

bool writeAllBytes(int fd, QByteArrayView bytes)
{
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool makeFolders(const QByteArray& folder)
{
    struct stat info {};
    if (::stat(folder.constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolders(folder.left(slash)))
        return false;
    // Settings are private to the user.
    return ::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST;
}

template <typename Stamp>
Stamp stampFrom(const struct stat& s)
{
    return Stamp{true, (unsigned long long)s.st_dev, (unsigned long long)s.st_ino,
                 (unsigned long long)s.st_size, (long long)s.st_mtim.tv_sec,
                 (long long)s.st_mtim.tv_nsec};
}

} // namespace

QString HiveRegistry::defaultHivePath()
{
    QString config = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/glyfaro/user.reg");
}

HiveRegistry::HiveRegistry(QString hivePath, FontSnapshotSource fonts)
    : m_hivePath(std::move(hivePath)), m_folder(folderOf(m_hivePath)), m_machine(std::move(fonts))
{
}

HiveRegistry::HiveRegistry(QString hivePath, FontSnapshotSource fonts, MachineKeys::Facts facts)
    : m_hivePath(std::move(hivePath)), m_folder(folderOf(m_hivePath)),
      m_machine(std::move(fonts), std::move(facts))
{
}

const HiveRegistry::Handle* HiveRegistry::handleFor(KeyHandle handle) const
{
    auto it = m_handles.find(handle);
    return it == m_handles.end() ? nullptr : &it->second;
}

KeyHandle HiveRegistry::addHandle(RootKey root, const QString& path, KeyAccess access)
{
    while (m_nextHandle == 0 || m_handles.count(m_nextHandle))
        ++m_nextHandle;
    const KeyHandle handle = m_nextHandle++;
    m_handles.emplace(handle, Handle{root, path, access});
    return handle;
}

long HiveRegistry::openKey(RootKey root, const QString& path, KeyAccess access, KeyHandle& handle)
{
    if (root == RootKey::LocalMachine) {
        if (!m_machine.hasKey(path))
            return RegFileNotFound;
        if (access == KeyAccess::Write)
            return RegAccessDenied;
    } else if (!path.isEmpty()) {
        if (!HiveDocument::isValidKeyPath(path))
            return RegFileNotFound;
        const HiveDocument* document = current();
        if (!document)
            return RegAccessDenied;
        if (!document->hasKey(path))
            return RegFileNotFound;
    }
    handle = addHandle(root, path, access);
    return RegSuccess;
}

long HiveRegistry::createKey(RootKey root, const QString& path, KeyHandle& handle)
{
    if (root == RootKey::LocalMachine)
        return RegAccessDenied;
    if (!path.isEmpty()) {
        if (!HiveDocument::isValidKeyPath(path))
            return RegFileNotFound;
        const long status = modify([=](HiveDocument& document) {
            document.createKey(path);
            return long(RegSuccess);
        });
        if (status != RegSuccess)
            return status;
    }
    handle = addHandle(root, path, KeyAccess::Write);
    return RegSuccess;
}

long HiveRegistry::closeKey(KeyHandle handle)
{
    return m_handles.erase(handle) ? RegSuccess : RegInvalidHandle;
}

std::optional<QString> HiveRegistry::readValue(const Handle& handle, const QString& name, long& status)
{
    if (handle.root == RootKey::LocalMachine) {
        auto data = m_machine.value(handle.path, name);
        status = data ? RegSuccess : RegFileNotFound;
        return data;
    }
    if (handle.path.isEmpty()) {
        status = RegFileNotFound;
        return std::nullopt;
    }
    const HiveDocument* document = current();
    if (!document) {
        status = RegAccessDenied;
        return std::nullopt;
    }
    if (!document->hasKey(handle.path)) {
        status = RegKeyDeleted;
        return std::nullopt;
    }
    const HiveValue* value = document->value(handle.path, name);
    status = value ? RegSuccess : RegFileNotFound;
    return value ? std::optional<QString>(value->data) : std::nullopt;
}

long HiveRegistry::queryValueSize(KeyHandle handle, const QString& name, std::uint32_t& size)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    long status = RegSuccess;
    auto data = readValue(*h, name, status);
    if (data)
        size = std::uint32_t(data->toUtf8().size() + 1);
    return status;
}

long HiveRegistry::queryValue(KeyHandle handle, const QString& name, QString& data)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    long status = RegSuccess;
    auto stored = readValue(*h, name, status);
    if (stored)
        data = *stored;
    return status;
}

long HiveRegistry::setValue(KeyHandle handle, const QString& name, const QString& data)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    if (h->access != KeyAccess::Write || h->root != RootKey::CurrentUser || h->path.isEmpty()
        || !HiveDocument::isValidValueName(name))
        return RegAccessDenied;
    const QString path = h->path;
    return modify([=](HiveDocument& document) {
        // A key deleted meanwhile (by Reset) stays deleted.
        if (!document.hasKey(path))
            return long(RegKeyDeleted);
        document.setValue(path, name, data);
        return long(RegSuccess);
    });
}

long HiveRegistry::enumValueName(KeyHandle handle, std::uint32_t index, std::uint32_t bufferChars,
                                 QString& name)
{
    const Handle* h = handleFor(handle);
    if (!h)
        return RegInvalidHandle;
    QString found;
    if (h->root == RootKey::LocalMachine) {
        if (index >= std::uint64_t(m_machine.valueCount(h->path)))
            return RegNoMoreItems;
        found = m_machine.valueName(h->path, qsizetype(index));
    } else {
        if (h->path.isEmpty())
            return RegNoMoreItems;
        const HiveDocument* document = current();
        if (!document)
            return RegAccessDenied;
        const HiveKey* key = document->key(h->path);
        if (!key)
            return RegKeyDeleted;
        if (index >= std::uint64_t(key->values.size()))
            return RegNoMoreItems;
        found = key->values.at(qsizetype(index)).name;
    }
    if (std::uint64_t(found.size()) >= bufferChars)
        return RegMoreData;
    name = found;
    return RegSuccess;
}

long HiveRegistry::deleteKey(KeyHandle parent, const QString& subkey)
{
    const Handle* h = handleFor(parent);
    if (!h)
        return RegInvalidHandle;
    if (h->root == RootKey::LocalMachine)
        return RegAccessDenied;
    if (!HiveDocument::isValidKeyPath(subkey))
        return RegFileNotFound;
    const QString parentPath = h->path;
    const QString path = parentPath.isEmpty() ? subkey : parentPath + QLatin1Char('\\') + subkey;
    return modify([=](HiveDocument& document) {
        if (!parentPath.isEmpty() && !document.hasKey(parentPath))
            return long(RegKeyDeleted);
        if (!document.hasKey(path))
            return long(RegFileNotFound);
        if (document.hasSubkeys(path))
            return long(RegAccessDenied);
        document.removeKey(path);
        return long(RegSuccess);
    });
}

long HiveRegistry::beginTransaction()
{
    if (m_transaction)
        return RegAccessDenied;
    const HiveDocument* document = load(LockState::NotHeld);
    if (!document)
        return RegAccessDenied;
    m_transaction = Transaction{*document, {}};
    return RegSuccess;
}

long HiveRegistry::commitTransaction()
{
    if (!m_transaction)
        return RegAccessDenied;
    const std::vector<Change> changes = std::move(m_transaction->changes);
    m_transaction.reset();
    // The changes are made again on the file as it is now, so that whatever
    // another process stored meanwhile is kept, and a key it deleted stays
    // deleted.
    return changes.empty() ? long(RegSuccess) : store(changes);
}

void HiveRegistry::rollbackTransaction()
{
    m_transaction.reset();
}

const HiveDocument* HiveRegistry::current()
{
    return m_transaction ? &m_transaction->document : load(LockState::NotHeld);
}

QString HiveRegistry::takeDamageReport()
{
    // Read the file now, so that damage is found before anyone uses it.
    load(LockState::NotHeld);
    return std::exchange(m_damageReport, QString());
}

const HiveDocument* HiveRegistry::load(LockState lock)
{
    if (!m_leftoversRemoved) {
        m_leftoversRemoved = true;
        removeLeftovers(lock);
    }
    const QByteArray path = QFile::encodeName(m_hivePath);
    const auto stampOf = stampFrom<FileStamp>;
    // A damaged file is set aside and the read starts over; a second damaged
    // file in a row (another process writing garbage) gives up.
    for (int attempt = 0; attempt < 3; ++attempt) {
        struct stat info {};
        if (::stat(path.constData(), &info) != 0) {
            // A name that leads nowhere (a link to itself) is in the way of
            // every write; anything else missing is a first run.
            const int error = errno;
            if (::lstat(path.constData(), &info) == 0 && error != ENOENT) {
                if (!setAside(stampOf(info), Damage::Unreadable, lock))
                    return nullptr;
                continue;
            }
            if (error != ENOENT && error != ENOTDIR)
                return nullptr;
            m_document = HiveDocument();
            m_stamp = FileStamp{};
            return &*m_document;
        }
        if (m_document && m_stamp == stampOf(info))
            return &*m_document;

        // Not blocking: a named pipe in the hive's place must not hang the
        // start-up.
        const int fd = S_ISREG(info.st_mode) ? ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
        if (fd < 0) {
            if (S_ISREG(info.st_mode) && errno == ENOENT)
                continue;
            // A folder, a device or a file this user may not read: no hive we
            // can use, yet perhaps precious to someone, so it is kept.
            if (S_ISREG(info.st_mode) && errno != EACCES && errno != EPERM)
                return nullptr;
            if (!setAside(stampOf(info), Damage::Unreadable, lock))
                return nullptr;
            continue;
        }
        bool readOk = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        const FileStamp stamp = stampOf(info);
        QByteArray bytes;
        bool tooLarge = readOk && info.st_size > MaxHiveBytes;
        if (readOk && !tooLarge) {
            char buffer[16384];
            for (;;) {
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    readOk = false;
                if (got <= 0)
                    break;
                bytes.append(buffer, got);
                if (bytes.size() > MaxHiveBytes) {
                    tooLarge = true;
                    break;
                }
            }
        }
        ::close(fd);
        if (!readOk) {
            if (!setAside(stamp, Damage::Unreadable, lock))
                return nullptr;
            continue;
        }

        std::optional<HiveDocument> parsed;
        if (!tooLarge)
            parsed = HiveDocument::parse(bytes);
        if (parsed) {
            m_document = std::move(parsed);
            m_stamp = stamp;
            return &*m_document;
        }
        m_document.reset();
        if (!setAside(stamp, Damage::Content, lock))
            return nullptr;
    }
    return nullptr;
}

bool HiveRegistry::setAside(const FileStamp& damaged, Damage damage, LockState lock)
{
    std::optional<HiveLock> ownLock;
    if (lock == LockState::NotHeld) {
        ownLock.emplace(m_hivePath + QStringLiteral(".lock"));
        if (!ownLock->held())
            return false;
    }
    const QByteArray path = QFile::encodeName(m_hivePath);
    struct stat info {};
    // Another process may have set it aside or replaced it meanwhile. A name
    // that leads nowhere (a link to itself) is known by the link.
    if ((::stat(path.constData(), &info) != 0 && ::lstat(path.constData(), &info) != 0)
        || (unsigned long long)info.st_dev != damaged.device || (unsigned long long)info.st_ino != damaged.inode)
        return true;

    const QString base = m_hivePath + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = base;
    for (int n = 2; QFile::exists(kept); ++n)
        kept = base + QLatin1Char('-') + QString::number(n);
    if (::rename(path.constData(), QFile::encodeName(kept).constData()) != 0) {
        m_damageReport = QStringLiteral("設定ファイルが壊れていて、読み込めません: ") + m_hivePath;
        return false;
    }
    syncFolder(m_folder);
    m_damageReport = (damage == Damage::Content
                          ? QStringLiteral("設定ファイルが壊れていたため、別名で保存しました: ")
                          : QStringLiteral("設定ファイルを読み込めないため、別名で保存しました: "))
        + kept;
    return true;
}

bool HiveRegistry::ensureFolder() const
{
    return makeFolders(QFile::encodeName(m_folder));
}

namespace {

// The write-back's temporary files: the hive's name, ".tmp-" and mkstemp's
// six characters. Matched by hand, since a wildcard filter would compile a
// regular expression (and load its library) at every start.
QStringList leftoverFiles(const QDir& folder, const QString& hiveName)
{
    const QString prefix = hiveName + QStringLiteral(".tmp-");
    QStringList found;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix))
            found << name;
    return found;
}

} // namespace

void HiveRegistry::removeLeftovers(LockState lock)
{
    // Temporary files are made only under the lock, so one that is there
    // while this process holds the lock was left by a writer that died.
    const QDir folder(m_folder);
    const QStringList leftovers = leftoverFiles(folder, QFileInfo(m_hivePath).fileName());
    if (leftovers.isEmpty())
        return;
    std::optional<HiveLock> ownLock;
    if (lock == LockState::NotHeld) {
        ownLock.emplace(m_hivePath + QStringLiteral(".lock"));
        if (!ownLock->held())
            return;
    }
    for (const QString& name : leftovers)
        ::unlink(QFile::encodeName(folder.filePath(name)).constData());
}

long HiveRegistry::modify(const Change& change)
{
    if (m_transaction) {
        const long status = change(m_transaction->document);
        if (status == RegSuccess)
            m_transaction->changes.push_back(change);
        return status;
    }
    return store({change});
}

long HiveRegistry::store(const std::vector<Change>& changes)
{
    if (!ensureFolder())
        return RegAccessDenied;
    HiveLock lock(m_hivePath + QStringLiteral(".lock"));
    if (!lock.held())
        return RegAccessDenied;
    const HiveDocument* current = load(LockState::Held);
    if (!current)
        return RegAccessDenied;
    removeLeftovers(LockState::Held);
    HiveDocument next = *current;
    for (const Change& change : changes) {
        if (const long status = change(next); status != RegSuccess)
            return status;
    }
    const QByteArray bytes = next.toText();
    if (m_stamp.exists && bytes == current->toText())
        return RegSuccess;
    if (!writeFile(bytes))
        return RegWriteFault;
    m_document = std::move(next);
    struct stat info {};
    if (::stat(QFile::encodeName(m_hivePath).constData(), &info) == 0)
        m_stamp = stampFrom<FileStamp>(info);
    else
        m_document.reset();
    return RegSuccess;
}

bool HiveRegistry::writeFile(const QByteArray& bytes)
{
    QByteArray temporary = QFile::encodeName(m_hivePath) + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = m_writer ? m_writer(fd, bytes) : writeAllBytes(fd, bytes);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), QFile::encodeName(m_hivePath).constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(m_folder);
    return true;
}

} // namespace platform

// The viewer where the desktop works against it: a settings folder it may not
// write, a settings file that is no file it can read, a disk that is full when
// it saves. Each time it gives its message and loses nothing the user had.
// These runs start the real program.
#include "ViewerProcess.h"
#include "ViewerSettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr int StartTimeout = 180000;
// Exit status of a child that could not become the unprivileged user.
constexpr int NoUnprivilegedUser = 126;

const QString UnreadableReport = QStringLiteral("設定ファイルを読み込めないため、別名で保存しました: ");

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// What is at a path, as far as a user could lose it: the kind of entry, a
// link's target, a file's bytes, and the same for everything in a folder.
// Read with the test's rights, which may be more than the viewer's.
QByteArray entryState(const QString& path)
{
    struct stat info {};
    if (::lstat(encoded(path).constData(), &info) != 0)
        return "missing\n";
    if (S_ISLNK(info.st_mode)) {
        char target[4096];
        const ssize_t length = ::readlink(encoded(path).constData(), target, sizeof target);
        return "link " + QByteArray(target, length > 0 ? length : 0) + '\n';
    }
    if (S_ISREG(info.st_mode)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "unreadable file\n";
        return "file " + file.readAll().toHex() + '\n';
    }
    if (!S_ISDIR(info.st_mode))
        return "other\n";
    QByteArray state = "folder\n";
    QDir folder(path);
    const QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                               QDir::Name);
    for (const QString& name : names)
        state += encoded(name) + ": " + entryState(folder.filePath(name));
    return state;
}

void makeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Whether this process may do what a file's permissions forbid it: root, or
// a user with the capability to pass over them.
bool permissionsDoNotBind(const QString& path, int mode)
{
    return ::access(encoded(path).constData(), mode) == 0;
}

// A small file system of its own on a folder, seen only by this test and the
// programs it starts, taken away again at the end.
class PrivateTmpfs {
public:
    PrivateTmpfs() = default;
    PrivateTmpfs(const PrivateTmpfs&) = delete;
    PrivateTmpfs& operator=(const PrivateTmpfs&) = delete;
    ~PrivateTmpfs()
    {
        if (!m_folder.isEmpty())
            ::umount2(encoded(m_folder).constData(), MNT_DETACH);
    }

    // Why it could not be mounted; empty when it is.
    QString mountOn(const QString& folder, const QByteArray& size)
    {
        if (!ViewerProcess::runningAsRoot())
            return QStringLiteral("only root may mount a file system");
        static const bool ownNamespace = ::unshare(CLONE_NEWNS) == 0
            // Nothing mounted here reaches the rest of the machine.
            && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        if (!ownNamespace)
            return QStringLiteral("no private mount namespace (%1)").arg(QString::fromLocal8Bit(::strerror(errno)));
        const QByteArray options = "size=" + size + ",mode=0700";
        if (::mount("tmpfs", encoded(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0)
            return QStringLiteral("tmpfs cannot be mounted (%1)").arg(QString::fromLocal8Bit(::strerror(errno)));
        m_folder = folder;
        return {};
    }

private:
    QString m_folder;
};

// Fills the file system that holds the folder to its last byte.
void fillUp(const QString& folder)
{
    const int fd = ::open(encoded(folder + QStringLiteral("/filler")).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), std::size_t(block.size())) > 0) {
    }
    while (::write(fd, "x", 1) == 1) {
    }
    ::close(fd);
    struct statvfs info {};
    QCOMPARE(::statvfs(encoded(folder).constData(), &info), 0);
    QCOMPARE(info.f_bavail, fsblkcnt_t(0));
}

} // namespace

class HostileEnvironmentTest : public QObject {
    Q_OBJECT

private slots:
    void readOnlyFolderOnTheFirstRun_data();
    void readOnlyFolderOnTheFirstRun();
    void unusableSettingsFileIsKeptAside_data();
    void unusableSettingsFileIsKeptAside();
    void fullDiskAtTheWriteBack_data();
    void fullDiskAtTheWriteBack();
};

void HostileEnvironmentTest::readOnlyFolderOnTheFirstRun_data()
{
    QTest::addColumn<QString>("locked");
    QTest::newRow("configuration folder") << QString();
    QTest::newRow("settings folder") << QStringLiteral("/glyfaro");
}

void HostileEnvironmentTest::readOnlyFolderOnTheFirstRun()
{
    QFETCH(QString, locked);
    QTemporaryDir root;
    const ViewerHome home(root.path());
    const QString folder = home.config() + locked;
    QVERIFY(QDir().mkpath(folder));
    ViewerProcess::handOver(home.root);
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                              | QFile::ReadOther | QFile::ExeOther));
    if (!ViewerProcess::runningAsRoot() && permissionsDoNotBind(folder, W_OK))
        QSKIP("this user may write into a read-only folder, so the folder cannot be made read-only for it");
    const QByteArray before = entryState(home.config());

    ViewerProcess viewer(home, QStringLiteral("first-run"));
    viewer.setUser(ViewerProcess::User::Unprivileged);
    QVERIFY(viewer.start());
    const int status = viewer.waitForExit(StartTimeout);
    if (status == NoUnprivilegedUser)
        QSKIP("the viewer cannot be run as an unprivileged user here, and root writes any folder");
    QVERIFY2(status == 0, qPrintable(viewer.output()));
    // The welcome of a first run, then the end: the key could not be made.
    QCOMPARE(messages(viewer), (QList<int>{MessageWelcome, MessageUnexpected}));
    QCOMPARE(entryState(home.config()), before);
}

void HostileEnvironmentTest::unusableSettingsFileIsKeptAside_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("folder") << 0;
    QTest::newRow("file the user may not read") << 1;
    QTest::newRow("link to itself") << 2;
}

void HostileEnvironmentTest::unusableSettingsFileIsKeptAside()
{
    QFETCH(int, kind);
    QTemporaryDir root;
    const ViewerHome home(root.path());
    const QString settingsFolder = QFileInfo(home.hive()).path();
    QVERIFY(QDir().mkpath(settingsFolder));
    switch (kind) {
    case 0:
        QVERIFY(QDir().mkpath(home.hive()));
        makeFile(home.hive() + QStringLiteral("/notes.txt"), "kept by the user\n");
        break;
    case 1:
        seedSettings(home);
        break;
    case 2:
        QVERIFY(QFile::link(QStringLiteral("user.reg"), home.hive()));
        break;
    }
    const QByteArray before = entryState(home.hive());
    ViewerProcess::handOver(home.root);
    if (kind == 1) {
        QVERIFY(QFile::setPermissions(home.hive(), QFile::Permissions()));
        if (!ViewerProcess::runningAsRoot() && permissionsDoNotBind(home.hive(), R_OK))
            QSKIP("this user may read a file without read permission, so the file cannot be made unreadable for it");
    }

    ViewerProcess viewer(home, QStringLiteral("viewer"));
    viewer.setUser(ViewerProcess::User::Unprivileged);
    QVERIFY(viewer.start());
    if (!viewer.waitUntilIdle(StartTimeout) && viewer.waitForExit(0) == NoUnprivilegedUser)
        QSKIP("the viewer cannot be run as an unprivileged user here, and root reads any file");
    QVERIFY2(viewer.running(), qPrintable(viewer.output()));

    // The report names where the file went; then the program starts over as
    // on a first run.
    const QStringList boxes = viewer.boxes();
    QCOMPARE(boxes.size(), 2);
    QVERIFY2(boxes[0].startsWith(UnreadableReport), qPrintable(boxes[0]));
    const QString kept = boxes[0].mid(UnreadableReport.size());
    QCOMPARE(QFileInfo(kept).path(), settingsFolder);
    QVERIFY2(QRegularExpression(QStringLiteral("^user\\.reg\\.damaged-\\d{8}-\\d{6}$"))
                 .match(QFileInfo(kept).fileName())
                 .hasMatch(),
             qPrintable(kept));
    QCOMPARE(messageNumber(boxes[1]), MessageWelcome);
    if (kind == 1) {
        struct stat info {};
        QCOMPARE(::stat(encoded(kept).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0));
        QVERIFY(QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner));
    }
    QCOMPARE(entryState(kept), before);

    viewer.signal(SIGTERM);
    QCOMPARE(viewer.waitForExit(StartTimeout), 0);
    QCOMPARE(viewer.boxes().size(), 2);
    QCOMPARE(storedSetting(home, QStringLiteral("ProgramNameID")), ProgramIdentity);
    QCOMPARE(entryState(kept), before);
}

void HostileEnvironmentTest::fullDiskAtTheWriteBack_data()
{
    QTest::addColumn<bool>("tmpfs");
    QTest::newRow("full file system") << true;
    // The same refusal without root: a write past the size limit fails.
    QTest::newRow("file size limit") << false;
}

void HostileEnvironmentTest::fullDiskAtTheWriteBack()
{
    QFETCH(bool, tmpfs);
    QTemporaryDir root;
    const ViewerHome home(root.path());
    constexpr long long SizeLimit = 512;
    PrivateTmpfs mounted;
    if (tmpfs) {
        if (const QString refused = mounted.mountOn(home.config(), "64k"); !refused.isEmpty())
            QSKIP(qPrintable(refused + QStringLiteral("; the file size limit row stands in for the full disk")));
    }
    seedSettings(home);
    const QString settingsFolder = QFileInfo(home.hive()).path();
    if (tmpfs)
        fillUp(settingsFolder);
    else
        QVERIFY(QFileInfo(home.hive()).size() > SizeLimit);
    QCOMPARE(storedSetting(home, QStringLiteral("AlwaysTop")), QStringLiteral("5"));
    const QByteArray before = entryState(home.config());

    ViewerProcess viewer(home, QStringLiteral("full"));
    if (!tmpfs)
        viewer.setFileSizeLimit(SizeLimit);
    QVERIFY(viewer.start());
    QVERIFY2(viewer.waitUntilIdle(StartTimeout), qPrintable(viewer.output()));
    QCOMPARE(viewer.boxes(), QStringList());
    // The end of the session: the settings are written back, which fails.
    viewer.signal(SIGTERM);
    QCOMPARE(viewer.waitForExit(StartTimeout), 0);
    QCOMPARE(messages(viewer), QList<int>{MessageUnexpected});
    // The previous file byte for byte, and no temporary file beside it.
    QCOMPARE(entryState(home.config()), before);

    // With room again, the next start reads the previous settings without a
    // word, and its own write-back goes through.
    if (tmpfs)
        QVERIFY(QFile::remove(settingsFolder + QStringLiteral("/filler")));
    ViewerProcess next(home, QStringLiteral("next"));
    QVERIFY(next.start());
    QVERIFY2(next.waitUntilIdle(StartTimeout), qPrintable(next.output()));
    QCOMPARE(next.boxes(), QStringList());
    next.signal(SIGTERM);
    QCOMPARE(next.waitForExit(StartTimeout), 0);
    QCOMPARE(next.boxes(), QStringList());
    QCOMPARE(storedSetting(home, QStringLiteral("AlwaysTop")), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(HostileEnvironmentTest)
#include "tst_hostileenvironment.moc"

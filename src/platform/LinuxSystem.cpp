#include "platform/LinuxSystem.h"

#include "platform/SystemFacts.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <fontconfig/fontconfig.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

LinuxSystem::LinuxSystem() = default;
LinuxSystem::~LinuxSystem() = default;

QString LinuxSystem::instanceLockPath()
{
    const QString folder = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return fallbackLockPath();
    return folder + QStringLiteral("/glyfaro2.lock");
}

QString LinuxSystem::fallbackLockPath()
{
    // The temporary folder is shared by every user: the name carries the
    // user, so one user's copy never keeps out another's.
    return QDir::tempPath() + QStringLiteral("/glyfaro2-%1.lock").arg(::getuid());
}

bool LinuxSystem::previousInstanceRunning()
{
    // This process already holds the lock: asking again is no new copy.
    if (m_instanceLock)
        return false;
    const QString primary = instanceLockPath();
    for (const QString& path : {primary, fallbackLockPath()}) {
        auto lock = std::make_unique<QLockFile>(path);
        // A lock is stale only when its process is gone, never merely because
        // it is old: the first copy may run for days.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_instanceLock = std::move(lock);
            return false;
        }
        if (lock->error() == QLockFile::LockFailedError)
            return true;
        // The runtime folder refuses the lock (not writable): the temporary
        // folder still keeps a second copy out.
        if (path == fallbackLockPath())
            break;
    }
    // A lock that cannot be made anywhere says nothing about another copy;
    // starting is better than refusing.
    return false;
}

std::optional<VersionRecord> LinuxSystem::version()
{
    return parseKernelRelease(kernelRelease());
}

std::uint64_t LinuxSystem::totalPhysicalMemory()
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return 0;
    const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    return std::uint64_t(info.totalram) * unit;
}

bool LinuxSystem::windowsExtension()
{
    return true;
}

bool LinuxSystem::fontSmoothing(bool& on)
{
    if (!m_smoothing) {
        FcPattern* pattern = FcPatternCreate();
        if (!pattern)
            return false;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcBool antialias = FcTrue;
        const bool found = FcPatternGetBool(pattern, FC_ANTIALIAS, 0, &antialias) == FcResultMatch;
        FcPatternDestroy(pattern);
        // Without a setting of its own, fontconfig draws antialiased.
        m_smoothing = !found || antialias != FcFalse;
    }
    on = *m_smoothing;
    return true;
}

bool LinuxSystem::setFontSmoothing(bool on)
{
    m_smoothing = on;
    return true;
}

std::optional<QString> LinuxSystem::fontsFolder()
{
    QString data = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) {
        const QString home = QDir::homePath();
        if (home.isEmpty())
            return std::nullopt;
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/fonts"));
}

QString LinuxSystem::programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return program.isEmpty() ? QDir::currentPath() : QFileInfo(program).absolutePath();
}

QString LinuxSystem::pathSeparator()
{
    return QStringLiteral("/");
}

LockKeyState LinuxSystem::lockKeys()
{
    // Without a display there is no keyboard to ask.
    return {};
}

bool LinuxSystem::programFolderWritable()
{
    // The permission the kernel grants this process, not the mode bits alone.
    return ::access(QFile::encodeName(programFolder()).constData(), W_OK) == 0;
}

QString LinuxSystem::machineName()
{
    return QSysInfo::machineHostName();
}

QString LinuxSystem::documentsFolder()
{
    // The documents folder of user-dirs.dirs, else ~/Documents; a folder that
    // does not exist yet would start the dialog nowhere, so then the home.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return QDir::cleanPath(documents);
    const QString home = QDir::homePath();
    return home.isEmpty() ? QString() : QDir::cleanPath(home);
}

void LinuxSystem::openFontsFolder()
{
    // Only a desktop has a file manager to open it in.
}

void LinuxSystem::openDisplaySettings()
{
    struct Candidate {
        const char* program;
        const char* argument;
    };
    static const Candidate Candidates[] = {
        {"gnome-control-center", "display"},
        {"systemsettings", "kcm_kscreen"},
        {"xfce4-display-settings", nullptr},
    };
    for (const Candidate& candidate : Candidates) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(candidate.program));
        if (program.isEmpty())
            continue;
        QStringList arguments;
        if (candidate.argument)
            arguments << QString::fromLatin1(candidate.argument);
        QProcess::startDetached(program, arguments);
        return;
    }
}

void LinuxSystem::endProgram()
{
    // At once: no exit handlers, no settings write-back.
    std::_Exit(0);
}

} // namespace platform

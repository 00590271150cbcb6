#include "ViewerProcess.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace {

constexpr uid_t NobodyId = 65534;

QString unescaped(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) != '\\' || i + 1 == field.size()) {
            out += field.at(i);
            continue;
        }
        const char next = field.at(++i);
        out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return QString::fromUtf8(out);
}

} // namespace

ViewerHome::ViewerHome(const QString& folder) : root(folder)
{
    for (const QString& path : {config(), data(), runtime(), temp(), home()})
        QDir().mkpath(path);
    QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

StartBarrier::StartBarrier()
{
    if (::pipe2(m_fds, O_CLOEXEC) != 0)
        qFatal("no pipe for the start barrier");
}

StartBarrier::~StartBarrier()
{
    release();
    if (m_fds[0] >= 0)
        ::close(m_fds[0]);
}

void StartBarrier::release()
{
    if (m_fds[1] >= 0)
        ::close(m_fds[1]);
    m_fds[1] = -1;
}

ViewerProcess::ViewerProcess(const ViewerHome& home, const QString& name)
    : m_home(home), m_record(home.root + QLatin1Char('/') + name + QStringLiteral(".boxes")),
      m_log(home.root + QLatin1Char('/') + name + QStringLiteral(".log"))
{
    QFile::remove(m_record);
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray entry(*variable);
        const qsizetype equals = entry.indexOf('=');
        if (equals > 0)
            m_environment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    const auto path = [](const QString& folder) { return QFile::encodeName(folder); };
    m_environment.insert("XDG_CONFIG_HOME", path(home.config()));
    m_environment.insert("XDG_DATA_HOME", path(home.data()));
    m_environment.insert("XDG_RUNTIME_DIR", path(home.runtime()));
    m_environment.insert("XDG_CACHE_HOME", path(home.home() + QStringLiteral("/.cache")));
    m_environment.insert("TMPDIR", path(home.temp()));
    m_environment.insert("HOME", path(home.home()));
    m_environment.insert("FONTCONFIG_FILE", path(TestEnvironment::syntheticFontsDir() + QStringLiteral("/fonts.conf")));
    m_environment.insert("QT_QPA_PLATFORM", "offscreen");
    m_environment.insert("GLYFARO_MESSAGE_RECORD", path(m_record));
}

ViewerProcess::~ViewerProcess()
{
    if (m_pid > 0 && !m_reaped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

void ViewerProcess::setEnvironment(const QByteArray& name, const QByteArray& value)
{
    if (value.isNull())
        m_environment.remove(name);
    else
        m_environment.insert(name, value);
}

QString ViewerProcess::program()
{
    return QStringLiteral(GLYFARO_BINARY_DIR "/bin/Glyfaro2");
}

bool ViewerProcess::runningAsRoot()
{
    return ::geteuid() == 0;
}

void ViewerProcess::handOver(const QString& path)
{
    if (!runningAsRoot())
        return;
    ::lchown(QFile::encodeName(path).constData(), NobodyId, NobodyId);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ::lchown(QFile::encodeName(it.next()).constData(), NobodyId, NobodyId);
}

bool ViewerProcess::start(const StartBarrier* barrier)
{
    // Everything the child needs is made before the fork: after it, the
    // child only calls what is safe in a copy of a threaded process.
    const QByteArray programPath = QFile::encodeName(program());
    std::vector<QByteArray> entries;
    for (auto it = m_environment.cbegin(); it != m_environment.cend(); ++it)
        entries.push_back(it.key() + '=' + it.value());
    std::vector<char*> envp;
    for (QByteArray& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(programPath.constData()), nullptr};
    const QByteArray logPath = QFile::encodeName(m_log);
    const int waitFd = barrier ? barrier->waitingEnd() : -1;
    const int releaseFd = barrier ? barrier->releasingEnd() : -1;
    const bool dropPrivileges = m_user == User::Unprivileged && runningAsRoot();
    const struct rlimit fileSize = {rlim_t(m_fileSizeLimit), rlim_t(m_fileSizeLimit)};

    m_pid = ::fork();
    if (m_pid < 0)
        return false;
    if (m_pid == 0) {
        const int log = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        if (m_fileSizeLimit >= 0 && (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &fileSize) != 0))
            ::_exit(125);
        if (dropPrivileges
            && (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(126);
        if (waitFd >= 0) {
            // Only the test's own copy of the other end may keep it open.
            ::close(releaseFd);
            char byte;
            while (::read(waitFd, &byte, 1) < 0 && errno == EINTR) {
            }
        }
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    m_reaped = false;
    return true;
}

int ViewerProcess::waitForExit(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!m_reaped) {
        const pid_t done = ::waitpid(m_pid, &m_status, WNOHANG);
        if (done == m_pid) {
            m_reaped = true;
            break;
        }
        if (timer.elapsed() > milliseconds)
            return -1;
        QThread::msleep(10);
    }
    return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -2;
}

bool ViewerProcess::running()
{
    return waitForExit(0) == -1;
}

void ViewerProcess::signal(int number)
{
    if (m_pid > 0 && !m_reaped)
        ::kill(m_pid, number);
}

bool ViewerProcess::waitUntilIdle(int milliseconds)
{
    const QString statPath = QStringLiteral("/proc/%1/stat").arg(m_pid);
    const auto cpuTime = [&]() -> qint64 {
        QFile stat(statPath);
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        // The fields after the name in parentheses; utime and stime are the
        // 12th and 13th of them.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? fields.at(11).toLongLong() + fields.at(12).toLongLong() : -1;
    };
    QElapsedTimer timer;
    timer.start();
    qint64 last = -1;
    int quiet = 0;
    while (timer.elapsed() < milliseconds) {
        if (!running())
            return false;
        const qint64 now = cpuTime();
        quiet = now >= 0 && now == last ? quiet + 1 : 0;
        last = now;
        if (quiet >= 8)
            return true;
        QThread::msleep(100);
    }
    return false;
}

QStringList ViewerProcess::boxes() const
{
    QStringList texts;
    QFile record(m_record);
    if (!record.open(QIODevice::ReadOnly))
        return texts;
    for (const QByteArray& line : record.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3)
            texts << unescaped(fields.at(2));
    }
    return texts;
}

QString ViewerProcess::output() const
{
    QFile log(m_log);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// The folders a user's session gives the viewer, all below one root: the
// configuration, data, runtime and temporary folders and a home.
struct ViewerHome {
    explicit ViewerHome(const QString& root);
    QString root;
    QString config() const { return root + QStringLiteral("/config"); }
    QString data() const { return root + QStringLiteral("/data"); }
    QString runtime() const { return root + QStringLiteral("/runtime"); }
    QString temp() const { return root + QStringLiteral("/tmp"); }
    QString home() const { return root + QStringLiteral("/home"); }
    QString hive() const { return config() + QStringLiteral("/glyfaro/user.reg"); }
};

// Holds children at their start until release(), so that they start at the
// same moment: each waits for the end of one pipe.
class StartBarrier {
public:
    StartBarrier();
    ~StartBarrier();
    StartBarrier(const StartBarrier&) = delete;
    StartBarrier& operator=(const StartBarrier&) = delete;
    void release();
    int waitingEnd() const { return m_fds[0]; }
    int releasingEnd() const { return m_fds[1]; }

private:
    int m_fds[2] = {-1, -1};
};

// The real viewer program as a child process: offscreen, on the synthetic
// test fonts, on the folders of a ViewerHome, its message boxes written to a
// record file of its own instead of shown.
class ViewerProcess {
public:
    enum class User { Same, Unprivileged };

    ViewerProcess(const ViewerHome& home, const QString& name);
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    // Sets or, with a null value, removes a variable of the child's environment.
    void setEnvironment(const QByteArray& name, const QByteArray& value);
    // Where the test runs as root, the child runs as "nobody", so that
    // permissions bite as they do for a user; ViewerHome folders must then be
    // handed over to it with handOver().
    void setUser(User user) { m_user = user; }
    // No file the child writes may grow beyond this many bytes: a write past
    // it fails as on a full disk (the signal the kernel sends then is
    // ignored). Negative for no limit.
    void setFileSizeLimit(long long bytes) { m_fileSizeLimit = bytes; }

    bool start(const StartBarrier* barrier = nullptr);
    pid_t pid() const { return m_pid; }
    // The exit status, -1 when still running after the timeout, -2 when it
    // was ended by a signal.
    int waitForExit(int milliseconds);
    bool running();
    void signal(int number);
    // Waits until the program uses no processor time for a while: done with
    // its start-up and waiting for the user. False on timeout.
    bool waitUntilIdle(int milliseconds);

    // The texts of the boxes it showed, in order.
    QStringList boxes() const;
    QString output() const;

    // Makes the folder and everything below it the unprivileged user's, when
    // the test runs as root; otherwise nothing.
    static void handOver(const QString& path);
    static bool runningAsRoot();
    static QString program();

private:
    ViewerHome m_home;
    QString m_record;
    QString m_log;
    QMap<QByteArray, QByteArray> m_environment;
    User m_user = User::Same;
    long long m_fileSizeLimit = -1;
    pid_t m_pid = -1;
    bool m_reaped = false;
    int m_status = 0;
};

// Only one viewer runs per user, however many start at the same moment, and
// the refused ones leave the settings alone; a viewer that was killed does
// not keep the next one out. These runs start the real program.
#include "ViewerProcess.h"
#include "ViewerSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int StartTimeout = 180000;

// Everything about the settings folder a process could change by touching it.
QString folderState(const ViewerHome& home)
{
    QString state;
    const QDir folder(QFileInfo(home.hive()).path());
    for (const QFileInfo& entry : folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        struct stat info {};
        ::stat(QFile::encodeName(entry.filePath()).constData(), &info);
        state += QStringLiteral("%1 %2 %3.%4\n")
                     .arg(entry.fileName())
                     .arg(info.st_ino)
                     .arg(info.st_mtim.tv_sec)
                     .arg(info.st_mtim.tv_nsec);
    }
    QFile hive(home.hive());
    if (hive.open(QIODevice::ReadOnly))
        state += QString::fromUtf8(hive.readAll());
    return state;
}

} // namespace

class InstanceRaceTest : public QObject {
    Q_OBJECT

private slots:
    void twentyAtOnceOneRuns();
    void killedViewerDoesNotKeepTheNextOut();
};

void InstanceRaceTest::twentyAtOnceOneRuns()
{
    QTemporaryDir root;
    const ViewerHome home(root.path());
    seedSettings(home);
    const QString before = folderState(home);

    StartBarrier barrier;
    std::vector<std::unique_ptr<ViewerProcess>> viewers;
    for (int i = 0; i < 20; ++i) {
        viewers.push_back(std::make_unique<ViewerProcess>(home, QStringLiteral("viewer-%1").arg(i)));
        QVERIFY(viewers.back()->start(&barrier));
    }
    barrier.release();

    QElapsedTimer timer;
    timer.start();
    int runningCount = 20;
    while (runningCount > 1 && timer.elapsed() < StartTimeout) {
        QTest::qWait(50);
        runningCount = 0;
        for (auto& viewer : viewers)
            runningCount += viewer->running() ? 1 : 0;
    }
    QCOMPARE(runningCount, 1);

    ViewerProcess* winner = nullptr;
    for (auto& viewer : viewers) {
        if (viewer->running()) {
            winner = viewer.get();
            continue;
        }
        QVERIFY2(viewer->waitForExit(0) == 0, qPrintable(viewer->output()));
        QCOMPARE(messages(*viewer), QList<int>{MessageAlreadyRunning});
    }
    QVERIFY(winner);
    // The refused copies did not so much as take the settings file's lock.
    QCOMPARE(folderState(home), before);

    QVERIFY2(winner->waitUntilIdle(StartTimeout), qPrintable(winner->output()));
    QVERIFY(winner->boxes().isEmpty());
    QCOMPARE(folderState(home), before);
    winner->signal(SIGTERM);
    QCOMPARE(winner->waitForExit(StartTimeout), 0);
    QVERIFY(winner->boxes().isEmpty());
    // The one that ran saved its settings at the end.
    QCOMPARE(storedSetting(home, QStringLiteral("AlwaysTop")), QStringLiteral("0"));
}

void InstanceRaceTest::killedViewerDoesNotKeepTheNextOut()
{
    QTemporaryDir root;
    const ViewerHome home(root.path());
    seedSettings(home);
    const QString lock = home.runtime() + QStringLiteral("/glyfaro2.lock");

    ViewerProcess killed(home, QStringLiteral("killed"));
    QVERIFY(killed.start());
    QVERIFY2(killed.waitUntilIdle(StartTimeout), qPrintable(killed.output()));
    QVERIFY(QFile::exists(lock));
    killed.signal(SIGKILL);
    QCOMPARE(killed.waitForExit(StartTimeout), -2);
    QVERIFY(QFile::exists(lock));
    QCOMPARE(storedSetting(home, QStringLiteral("AlwaysTop")), QStringLiteral("5"));

    ViewerProcess next(home, QStringLiteral("next"));
    QVERIFY(next.start());
    QVERIFY2(next.waitUntilIdle(StartTimeout), qPrintable(next.output()));
    QVERIFY(next.running());
    QCOMPARE(messages(next), QList<int>{});
    // The lock is the new copy's now, so a third one is refused.
    QFile file(lock);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine().trimmed(), QByteArray::number(next.pid()));
    ViewerProcess third(home, QStringLiteral("third"));
    QVERIFY(third.start());
    QCOMPARE(third.waitForExit(StartTimeout), 0);
    QCOMPARE(messages(third), QList<int>{MessageAlreadyRunning});

    next.signal(SIGTERM);
    QCOMPARE(next.waitForExit(StartTimeout), 0);
    QCOMPARE(storedSetting(home, QStringLiteral("AlwaysTop")), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(InstanceRaceTest)
#include "tst_instancerace.moc"

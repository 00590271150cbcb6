#include "desktop/DesktopSystem.h"

#include <QTest>
#include <QWindow>

// Without X11 (here the offscreen platform) the lock keys follow the presses
// the program sees.
class TestLockKeys : public QObject {
    Q_OBJECT

private slots:
    void pressesSeenToggleTheLocks()
    {
        platform::DesktopSystem system;
        QCOMPARE(system.lockKeys(), (platform::LockKeyState{false, false}));
        QWindow window;
        window.show();
        QTest::keyClick(&window, Qt::Key_CapsLock);
        QCOMPARE(system.lockKeys(), (platform::LockKeyState{true, false}));
        QTest::keyClick(&window, Qt::Key_NumLock);
        QTest::keyClick(&window, Qt::Key_A);
        QCOMPARE(system.lockKeys(), (platform::LockKeyState{true, true}));
        QTest::keyClick(&window, Qt::Key_CapsLock);
        QCOMPARE(system.lockKeys(), (platform::LockKeyState{false, true}));
    }
};

QTEST_MAIN(TestLockKeys)
#include "tst_lockkeys.moc"

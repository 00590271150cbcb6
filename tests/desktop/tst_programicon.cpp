#include "desktop/ProgramIcon.h"

#include <QGuiApplication>
#include <QImage>
#include <QTest>

// The icon comes from resources compiled into a static library, which are
// lost without a registration: every size must really be there.
class TestProgramIcon : public QObject {
    Q_OBJECT

private slots:
    void everySizeIsDrawn_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {16, 22, 24, 32, 48, 64})
            QTest::addRow("%d", size) << size;
    }
    void everySizeIsDrawn()
    {
        QFETCH(int, size);
        const QIcon icon = platform::programIcon();
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // Transparent corners, an opaque middle: a picture, not an empty frame.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
};

QTEST_MAIN(TestProgramIcon)
#include "tst_programicon.moc"

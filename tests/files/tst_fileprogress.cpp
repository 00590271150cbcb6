#include "files/FileProgress.h"

#include <QTest>

class TestFileProgress : public QObject {
    Q_OBJECT

private slots:
    void centredOnTheMainWindow_data();
    void centredOnTheMainWindow();
    void progressMaximum_data();
    void progressMaximum();
};

void TestFileProgress::centredOnTheMainWindow_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("own");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("centred") << QRect(100, 50, 800, 600) << QSize(274, 63) << QPoint(363, 319);
    QTest::newRow("odd sizes") << QRect(0, 0, 801, 601) << QSize(275, 64) << QPoint(263, 268);
    QTest::newRow("main window left of the screen") << QRect(-700, 10, 400, 300) << QSize(274, 63)
                                                    << QPoint(0, 129);
    QTest::newRow("own window larger than the main one") << QRect(10, 10, 100, 50) << QSize(274, 63)
                                                         << QPoint(0, 4);
}

void TestFileProgress::centredOnTheMainWindow()
{
    QFETCH(QRect, main);
    QFETCH(QSize, own);
    QFETCH(QPoint, position);
    QCOMPARE(CentredPosition(main, own), position);
}

void TestFileProgress::progressMaximum_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("maximum");
    QTest::newRow("no fonts") << qint64(0) << 1;
    QTest::newRow("one font") << qint64(1) << 1;
    QTest::newRow("two fonts") << qint64(2) << 1;
    QTest::newRow("ten thousand") << qint64(10000) << 9999;
    QTest::newRow("beyond int") << (qint64(1) << 40) << std::numeric_limits<int>::max();
}

void TestFileProgress::progressMaximum()
{
    QFETCH(qint64, count);
    QFETCH(int, maximum);
    QCOMPARE(ProgressMaximum(count), maximum);
}

QTEST_APPLESS_MAIN(TestFileProgress)
#include "tst_fileprogress.moc"

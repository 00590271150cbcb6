#include "display/Form5Logic.h"

#include <QTest>
#include <limits>

class TestForm5Logic : public QObject {
    Q_OBJECT

private slots:
    void caption_data();
    void caption();
    void rebuildKeepsEveryColor();
    void rebuildIgnoresBitsAboveColor_data();
    void rebuildIgnoresBitsAboveColor();
    void startPointSize_data();
    void startPointSize();
    void printText_data();
    void printText();
    void layout_data();
    void layout();
};

void TestForm5Logic::caption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("caption");
    QTest::newRow("full-width name") << QStringLiteral("ＭＳ ゴシック") << 20
                                     << QStringLiteral("個別表示 / ＭＳ ゴシック (20pt)");
    QTest::newRow("smallest") << QStringLiteral("IPAGothic") << 1
                              << QStringLiteral("個別表示 / IPAGothic (1pt)");
    QTest::newRow("largest") << QStringLiteral("a b") << 100
                             << QStringLiteral("個別表示 / a b (100pt)");
}

void TestForm5Logic::caption()
{
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(QString, caption);
    QCOMPARE(Form5Caption(name, points), caption);
}

void TestForm5Logic::rebuildKeepsEveryColor()
{
    // Every 24-bit colour, counting mismatches so a failure stays readable.
    std::uint32_t firstBad = 0;
    int bad = 0;
    for (std::uint32_t c = 0; c <= 0xFFFFFFu; ++c) {
        if (RebuildColor(c) != c) {
            if (bad++ == 0)
                firstBad = c;
        }
    }
    QVERIFY2(bad == 0, qPrintable(QStringLiteral("%1 colours changed, first %2")
                                      .arg(bad)
                                      .arg(firstBad, 6, 16, QLatin1Char('0'))));
}

void TestForm5Logic::rebuildIgnoresBitsAboveColor_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<quint32>("color");
    QTest::newRow("high byte set") << quint32(0x01123456) << quint32(0x123456);
    QTest::newRow("system-colour flag") << quint32(0x80000008) << quint32(0x000008);
    QTest::newRow("all bits") << quint32(0xFFFFFFFF) << quint32(0xFFFFFF);
}

void TestForm5Logic::rebuildIgnoresBitsAboveColor()
{
    QFETCH(quint32, value);
    QFETCH(quint32, color);
    QCOMPARE(RebuildColor(value), color);
}

void TestForm5Logic::startPointSize_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("points");
    QTest::newRow("default") << 81 << 20;
    QTest::newRow("largest") << 1 << 100;
    QTest::newRow("smallest") << 100 << 1;
    QTest::newRow("zero") << 0 << 100;
    QTest::newRow("just above") << 101 << 1;
    QTest::newRow("negative") << -40 << 100;
    QTest::newRow("huge") << 5000 << 1;
    QTest::newRow("int min") << std::numeric_limits<int>::min() << 100;
    QTest::newRow("int max") << std::numeric_limits<int>::max() << 1;
}

void TestForm5Logic::startPointSize()
{
    QFETCH(int, stored);
    QFETCH(int, points);
    QCOMPARE(StartPointSize(stored), points);
}

void TestForm5Logic::printText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("printed");
    QTest::newRow("one line") << QStringLiteral("あいう abc") << QStringLiteral("あいう abc");
    QTest::newRow("first of several") << QStringLiteral("一行目\r\n二行目\r\n")
                                      << QStringLiteral("一行目");
    QTest::newRow("empty first line") << QStringLiteral("\r\n二行目") << Form5DefaultPrintText;
    QTest::newRow("empty") << QString() << Form5DefaultPrintText;
    QTest::newRow("blank first line kept") << QStringLiteral(" \r\nx") << QStringLiteral(" ");
}

void TestForm5Logic::printText()
{
    QFETCH(QString, box);
    QFETCH(QString, printed);
    QCOMPARE(PrintTextFor(box), printed);
}

void TestForm5Logic::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("expected");
    // outer W, H, Text1 W, H, Slider1 top, width, Label1 top, Label2 left,
    // Check1 top, Check2 top, Command2 left, top
    QTest::newRow("minimum") << 4410 << 3000
                             << QList<int>{4410, 3000, 4035, 775, 1215, 4275, 1675, 3790, 1985,
                                           2265, 3065, 2105};
    QTest::newRow("below minimum") << 10 << -50
                                   << QList<int>{4410, 3000, 4035, 775, 1215, 4275, 1675, 3790,
                                                 1985, 2265, 3065, 2105};
    QTest::newRow("design") << 7710 << 5240
                            << QList<int>{7710, 5240, 7335, 3015, 3455, 7575, 3915, 7090, 4225,
                                          4505, 6365, 4345};
}

void TestForm5Logic::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, expected);
    const Form5Layout l = Form5LayoutFor(width, height);
    const QList<int> actual{l.outerWidth,  l.outerHeight, l.text1Width,  l.text1Height,
                            l.slider1Top,  l.slider1Width, l.label1Top,  l.label2Left,
                            l.check1Top,   l.check2Top,   l.command2Left, l.command2Top};
    QCOMPARE(actual, expected);
    QCOMPARE(l.combo1Width, l.text1Width);
    QCOMPARE(l.label2Top, l.label1Top);
    QCOMPARE(l.label3Top, l.check1Top);
    QCOMPARE(l.command1Top, l.check1Top);
}

QTEST_GUILESS_MAIN(TestForm5Logic)
#include "tst_form5logic.moc"

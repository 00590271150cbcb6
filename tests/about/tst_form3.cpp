#include "about/Form3.h"
#include "about/Form3Logic.h"
#include "platform/Twips.h"

#include "support/FakeSystem.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using platform::twipsToPixels;

namespace {

SystemInfo sampleInfo()
{
    SystemInfo info;
    info.OsDescription = QStringLiteral("Debian GNU/Linux 12 (bookworm) 6.1.0");
    info.OsFamily = QStringLiteral("Linux");
    info.OwnerName = QStringLiteral("山田 太郎");
    info.OrganizationName = QStringLiteral("不明");
    info.TotalMemory = 134217728;
    info.SmoothingSupported = 1;
    info.SmoothingOn = 1;
    return info;
}

FontCatalog catalogOf(std::int32_t total)
{
    FontCatalog catalog;
    catalog.FontTotal = total;
    return catalog;
}

} // namespace

class TestForm3 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The face the program really draws its labels in.
        m_fonts.proportionalCounterpart = platform::designFaceCounterpart(platform::DesignFace::ProportionalGothic);
    }
    void fontCount_data();
    void fontCount();
    void memory_data();
    void memory();
    void smoothingWord_data();
    void smoothingWord();
    void version();
    void position_data();
    void position();
    void showsTheValues();
    void centredOnTheOwnerAndClamped();
    void etchedSeparator();
    void closesWithOk();
    void nothingIsClipped();
    void screenshot();

private:
    FakeFontList m_fonts;
};

void TestForm3::fontCount_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("245") << 245 << QStringLiteral("245フォント");
    QTest::newRow("none") << 0 << QStringLiteral("0フォント");
    QTest::newRow("no grouping") << 40000 << QStringLiteral("40000フォント");
}

void TestForm3::fontCount()
{
    QFETCH(int, total);
    QFETCH(QString, text);
    QCOMPARE(FontCountText(total), text);
}

void TestForm3::memory_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("128 MiB") << quint64(134217728) << QStringLiteral("131,072 KB");
    QTest::newRow("64 GiB, past 32 bits") << (quint64(64) << 30) << QStringLiteral("67,108,864 KB");
    QTest::newRow("4 GiB exactly") << (quint64(4) << 30) << QStringLiteral("4,194,304 KB");
    QTest::newRow("under a thousand") << quint64(999 * 1024) << QStringLiteral("999 KB");
    QTest::newRow("a thousand") << quint64(1000 * 1024) << QStringLiteral("1,000 KB");
    QTest::newRow("rounded down") << quint64(2047) << QStringLiteral("2 KB");
    QTest::newRow("half rounds up") << quint64(1536) << QStringLiteral("2 KB");
    QTest::newRow("just under half") << quint64(1535) << QStringLiteral("1 KB");
    QTest::newRow("unknown") << quint64(0) << QStringLiteral("0 KB");
    QTest::newRow("largest") << quint64(UINT64_MAX) << QStringLiteral("18,014,398,509,481,984 KB");
}

void TestForm3::memory()
{
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(MemoryText(bytes), text);
}

void TestForm3::smoothingWord_data()
{
    QTest::addColumn<int>("supported");
    QTest::addColumn<int>("on");
    QTest::addColumn<QString>("word");
    QTest::newRow("unavailable, on") << 0 << 1 << QStringLiteral("利用できません");
    QTest::newRow("unavailable, off") << 0 << 0 << QStringLiteral("利用できません");
    QTest::newRow("off") << 1 << 0 << QStringLiteral("無効");
    QTest::newRow("on") << 1 << 1 << QStringLiteral("有効");
}

void TestForm3::smoothingWord()
{
    QFETCH(int, supported);
    QFETCH(int, on);
    QFETCH(QString, word);
    SystemInfo info;
    info.SmoothingSupported = supported;
    info.SmoothingOn = on;
    QCOMPARE(SmoothingWord(info), word);
    Form3 w(info, catalogOf(1), m_fonts);
    QCOMPARE(w.Label2[5]->text(), word);
}

void TestForm3::version()
{
    QCOMPARE(VersionText(), QStringLiteral("Rev. 2.3.72"));
    QCOMPARE(VersionText({10, 0, 7}), QStringLiteral("Rev. 10.0.7"));
}

void TestForm3::position_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("own");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("centred") << QRect(1500, 1200, 12000, 9000) << QSize(5000, 5400)
                             << QPoint(5000, 3000);
    QTest::newRow("left clamped") << QRect(-6000, 1200, 6000, 9000) << QSize(5000, 5400)
                                  << QPoint(0, 3000);
    QTest::newRow("top clamped") << QRect(1500, -3000, 12000, 4000) << QSize(5000, 5400)
                                 << QPoint(5000, 0);
    QTest::newRow("both clamped") << QRect(0, 0, 3000, 3000) << QSize(5000, 5400) << QPoint(0, 0);
    QTest::newRow("odd sizes") << QRect(0, 0, 10001, 9001) << QSize(4001, 5001) << QPoint(3000, 2000);
}

void TestForm3::position()
{
    QFETCH(QRect, main);
    QFETCH(QSize, own);
    QFETCH(QPoint, place);
    QCOMPARE(Form3Position(main, own), place);
}

void TestForm3::showsTheValues()
{
    Form3 w(sampleInfo(), catalogOf(245), m_fonts);
    QCOMPARE(w.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(w.size(), QSize(twipsToPixels(4950), twipsToPixels(5010)));
    QCOMPARE(w.Label2[0]->text(), QStringLiteral("Debian GNU/Linux 12 (bookworm) 6.1.0"));
    QCOMPARE(w.Label2[1]->text(), QStringLiteral("Linux"));
    QCOMPARE(w.Label2[2]->text(), QStringLiteral("山田 太郎"));
    // A missing organization arrives as the start-up reading's word.
    QCOMPARE(w.Label2[3]->text(), QStringLiteral("不明"));
    QCOMPARE(w.Label2[4]->text(), QStringLiteral("245フォント"));
    QCOMPARE(w.Label2[5]->text(), QStringLiteral("有効"));
    QCOMPARE(w.Label2[6]->text(), QStringLiteral("131,072 KB"));
    QCOMPARE(w.Label3->text(), QStringLiteral("Rev. 2.3.72"));
    // The owner lines sit in their box and share its tooltip.
    QCOMPARE(w.Label2[2]->parentWidget(), w.Picture1);
    QCOMPARE(w.Label2[3]->toolTip(), w.Picture1->toolTip());
    QVERIFY(!w.Picture1->toolTip().isEmpty());
    QCOMPARE(w.Image1->pixmap().size(), QSize(250, 50));
    QVERIFY(w.Label2[6]->alignment() & Qt::AlignRight);

    SystemInfo missing = sampleInfo();
    missing.OwnerName = QStringLiteral("不明");
    missing.TotalMemory = quint64(64) << 30;
    Form3 other(missing, catalogOf(0), m_fonts);
    QCOMPARE(other.Label2[2]->text(), QStringLiteral("不明"));
    QCOMPARE(other.Label2[6]->text(), QStringLiteral("67,108,864 KB"));
    QCOMPARE(other.Label2[4]->text(), QStringLiteral("0フォント"));
}

void TestForm3::centredOnTheOwnerAndClamped()
{
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    {
        Form3 w(sampleInfo(), catalogOf(1), m_fonts, &owner);
        const QRect outer = owner.frameGeometry();
        const QSize frame = outer.size() - owner.geometry().size();
        const QSize own = w.size() + frame;
        const QPoint expected(outer.x() + outer.width() / 2 - own.width() / 2,
                              outer.y() + outer.height() / 2 - own.height() / 2);
        QVERIFY((w.pos() - expected).manhattanLength() <= 2);
    }
    // A main window partly above and left of the origin: held at 0.
    owner.move(-500, -400);
    {
        Form3 w(sampleInfo(), catalogOf(1), m_fonts, &owner);
        QCOMPARE(w.pos(), QPoint(0, 0));
    }
}

void TestForm3::etchedSeparator()
{
    Form3 w(sampleInfo(), catalogOf(1), m_fonts);
    QCOMPARE(w.Line1[0]->geometry(), QRect(8, 244, 312, 1));
    QCOMPARE(w.Line1[1]->geometry(), QRect(8, 245, 312, 1));
    const QColor upper = w.Line1[0]->palette().color(QPalette::Window);
    const QColor lower = w.Line1[1]->palette().color(QPalette::Window);
    QCOMPARE(upper, w.palette().color(QPalette::Dark));
    QCOMPARE(lower, w.palette().color(QPalette::HighlightedText));
    QVERIFY(upper.lightness() < lower.lightness());
}

void TestForm3::closesWithOk()
{
    Form3 w(sampleInfo(), catalogOf(1), m_fonts);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
}

void TestForm3::nothingIsClipped()
{
    Form3 w(sampleInfo(), catalogOf(12345), m_fonts);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QList<QLabel*> labels{w.Label5, w.Label4, w.Label3};
    for (QLabel* label : w.Label1)
        labels << label;
    for (std::size_t i : {1, 2, 3, 4, 5, 6})
        labels << w.Label2[i];
    for (QLabel* label : labels) {
        const QString text = label->text();
        const QRect area = label->geometry();
        QVERIFY2(label->parentWidget()->rect().contains(area), qPrintable(text));
        QVERIFY2(area.width() >= label->sizeHint().width(), qPrintable(text));
        QVERIFY2(area.height() >= label->fontMetrics().height(), qPrintable(text));
    }
    QVERIFY(w.Command1->width() > w.Command1->fontMetrics().horizontalAdvance(w.Command1->text()));
    // Rows do not run into each other.
    const QList<QWidget*> all = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : all) {
        for (QWidget* b : all) {
            if (a != b && a->geometry().intersects(b->geometry()))
                QFAIL(qPrintable(a->property("text").toString() + QStringLiteral(" / ")
                                 + b->property("text").toString()));
        }
    }
    QVERIFY(!w.Label2[2]->geometry().intersects(w.Label2[3]->geometry()));
    QVERIFY(w.Picture1->contentsRect().contains(w.Label2[3]->geometry()));
}

void TestForm3::screenshot()
{
    // GLYFARO_SHOT_DIR=folder writes the window's picture there, for looking at.
    const QString folder = qEnvironmentVariable("GLYFARO_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("GLYFARO_SHOT_DIR not set");
    Form3 w(sampleInfo(), catalogOf(245), m_fonts);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("form3.png"))));
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"

#include "display/Form10.h"
#include "display/PreviewPaging.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

QStringList fontNames(int count)
{
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("Font %1").arg(i, 5, 10, QLatin1Char('0'));
    return names;
}

void turnTo(Form10& w, int page)
{
    w.VScroll1->setValue(page);
    w.VScroll1_Change();
}

QStringList headings(const Form10& w)
{
    QStringList texts;
    for (QLabel* label : w.Label1)
        texts << label->text();
    return texts;
}

QStringList expectedHeadings(const QStringList& names, int page)
{
    QStringList texts;
    for (int position : PreviewSlotPositions(page, int(names.size())))
        texts << (position >= 0 ? names.at(position) : QString());
    return texts;
}

} // namespace

class TestForm10 : public QObject {
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void turningBackRefillsEverySlot();
    void fewerThanSevenFontsLeaveSlotsClear();
    void samplesInTheirOwnFace_data();
    void samplesInTheirOwnFace();
    void doubleClickOpensThePosition();
    void wheelAndPageKeysTurnPages();
    void dragIsCoalescedToTheLatestPage();
    void frameTakesNoInputOnlyWhileLoading();
    void newPreviewTextReachesShownSlots();
    void sampleTop_data();
    void sampleTop();
    void samplesClearTheirHeadings();
};

void TestForm10::pages_data()
{
    QTest::addColumn<int>("fonts");
    QTest::addColumn<int>("lastPageFonts");
    QTest::addColumn<QString>("lastCaption");
    QTest::newRow("100 fonts") << 100 << 2 << "Page: 15 / 15";
    QTest::newRow("70 fonts, empty last page") << 70 << 0 << "Page: 11 / 11";
    QTest::newRow("one font") << 1 << 1 << "Page: 1 / 1";
    // Past the 16-bit limit of the original positions.
    QTest::newRow("40,000 fonts") << 40000 << 2 << "Page: 5715 / 5715";
}

void TestForm10::pages()
{
    QFETCH(int, fonts);
    QFETCH(int, lastPageFonts);
    QFETCH(QString, lastCaption);
    const QStringList names = fontNames(fonts);
    Settings settings;
    Form10 w(names, settings, QString(), nullptr);
    QCOMPARE(w.Label3->text(), QStringLiteral("Page: 1 / %1").arg(fonts / 7 + 1));
    QCOMPARE(w.VScroll1->maximum(), fonts / 7);
    QCOMPARE(headings(w), expectedHeadings(names, 0));

    turnTo(w, w.VScroll1->maximum());
    QCOMPARE(w.Label3->text(), lastCaption);
    for (int k = 0; k < 7; ++k) {
        const bool filled = k < lastPageFonts;
        QCOMPARE(w.Label1[k]->text().isEmpty(), !filled);
        QCOMPARE(w.Label2[k]->text().isEmpty(), !filled);
        QCOMPARE(w.Label2[k]->toolTip().isEmpty(), !filled);
        if (filled)
            QCOMPARE(w.Label1[k]->text(), names.at(7 * w.VScroll1->maximum() + k));
    }
}

void TestForm10::turningBackRefillsEverySlot()
{
    const QStringList names = fontNames(100);
    Settings settings;
    Form10 w(names, settings, QString(), nullptr);
    turnTo(w, 14);
    turnTo(w, 3);
    QCOMPARE(w.Label3->text(), QStringLiteral("Page: 4 / 15"));
    QCOMPARE(headings(w), expectedHeadings(names, 3));
    for (int k = 0; k < 7; ++k) {
        QCOMPARE(w.Label2[k]->text(), names.at(21 + k));
        QCOMPARE(w.Label2[k]->font().family(), names.at(21 + k));
    }
}

void TestForm10::fewerThanSevenFontsLeaveSlotsClear()
{
    Settings settings;
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("ABC abc 123 あいう アイウ 漢字");
    Form10 w(fontNames(3), settings, QString(), nullptr);
    QCOMPARE(w.Label3->text(), QStringLiteral("Page: 1 / 1"));
    for (int k = 0; k < 7; ++k)
        QCOMPARE(w.Label2[k]->text().isEmpty(), k >= 3);
}

void TestForm10::samplesInTheirOwnFace_data()
{
    QTest::addColumn<int>("previewText");
    QTest::newRow("names") << 0;
    QTest::newRow("custom text") << 1;
}

void TestForm10::samplesInTheirOwnFace()
{
    QFETCH(int, previewText);
    const QStringList names = fontNames(20);
    Settings settings;
    settings.PreviewText = previewText;
    settings.PreviewTextStrings = QStringLiteral("見本 Sample");
    // Faces are asked for by the family the drawing code knows them by.
    const DrawingFamily drawing = [](const QString& name) { return name + QStringLiteral(" drawn"); };
    Form10 w(names, settings, QStringLiteral("Heading Face"), nullptr, drawing);
    turnTo(w, 1);
    for (int k = 0; k < 7; ++k) {
        const QString& name = names.at(7 + k);
        QCOMPARE(w.Label1[k]->text(), name);
        QCOMPARE(w.Label1[k]->toolTip(), name);
        QCOMPARE(w.Label1[k]->font().family(), QStringLiteral("Heading Face"));
        QVERIFY(w.Label1[k]->font().bold());
        QCOMPARE(w.Label1[k]->font().pointSize(), 9);
        QCOMPARE(w.Label1[k]->palette().color(QPalette::WindowText), QColor(0, 0, 0xC0));
        QCOMPARE(w.Label2[k]->text(), previewText ? settings.PreviewTextStrings : name);
        QCOMPARE(w.Label2[k]->toolTip(), name);
        QCOMPARE(w.Label2[k]->font().family(), name + QStringLiteral(" drawn"));
        QCOMPARE(w.Label2[k]->font().pointSize(), 18);
        QVERIFY(!w.Label2[k]->font().bold() && !w.Label2[k]->font().italic());
        QVERIFY(w.Label2[k]->font().styleStrategy() & QFont::NoFontMerging);
    }
}

void TestForm10::doubleClickOpensThePosition()
{
    Settings settings;
    Form10 w(fontNames(100), settings, QString(), nullptr);
    QSignalSpy opened(&w, &Form10::openViewAt);
    turnTo(w, 1);
    QTest::mouseDClick(w.Label2[3], Qt::LeftButton);
    QTest::mouseDClick(w.Label1[6], Qt::LeftButton);
    turnTo(w, 14);
    QTest::mouseDClick(w.Label1[1], Qt::LeftButton);
    // Cleared slots past the end open nothing.
    QTest::mouseDClick(w.Label1[2], Qt::LeftButton);
    QTest::mouseDClick(w.Label2[6], Qt::LeftButton);
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened[0].at(0).toInt(), 10);
    QCOMPARE(opened[1].at(0).toInt(), 13);
    QCOMPARE(opened[2].at(0).toInt(), 99);
}

void TestForm10::wheelAndPageKeysTurnPages()
{
    Settings settings;
    Form10 w(fontNames(100), settings, QString(), nullptr);
    w.show();
    QTest::keyClick(&w, Qt::Key_PageDown);
    QTest::keyClick(&w, Qt::Key_PageDown);
    QCOMPARE(w.VScroll1->value(), 2);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QCOMPARE(w.VScroll1->value(), 1);
    QTest::keyClick(&w, Qt::Key_End);
    QCOMPARE(w.VScroll1->value(), 14);

    const auto wheel = [&](QWidget* target, int delta) {
        const QPointF at(5, 5);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    // One notch is one page, also over the scroll bar; half notches add up.
    wheel(w.Label2[0], 120);
    QCOMPARE(w.VScroll1->value(), 13);
    wheel(w.VScroll1, 120);
    QCOMPARE(w.VScroll1->value(), 12);
    wheel(w.Picture1, -60);
    QCOMPARE(w.VScroll1->value(), 12);
    wheel(w.Picture1, -60);
    QCOMPARE(w.VScroll1->value(), 13);
    QTRY_COMPARE(w.Label3->text(), QStringLiteral("Page: 14 / 15"));
}

void TestForm10::dragIsCoalescedToTheLatestPage()
{
    const QStringList names = fontNames(700);
    Settings settings;
    Form10 w(names, settings, QString(), nullptr);
    for (int page = 1; page <= 40; ++page)
        w.VScroll1->setValue(page);
    QVERIFY(w.pageTurnPending());
    QCOMPARE(w.Label3->text(), QStringLiteral("Page: 1 / 101"));
    QCoreApplication::processEvents();
    QVERIFY(!w.pageTurnPending());
    QCOMPARE(w.Label3->text(), QStringLiteral("Page: 41 / 101"));
    QCOMPARE(headings(w), expectedHeadings(names, 40));
}

void TestForm10::frameTakesNoInputOnlyWhileLoading()
{
    // The frame is disabled while the first page loads, then enabled again.
    class WatchedFrame : public QWidget {
    public:
        QList<bool> states;

    protected:
        void changeEvent(QEvent* event) override
        {
            if (event->type() == QEvent::EnabledChange)
                states << isEnabled();
            QWidget::changeEvent(event);
        }
    } frame;
    Settings settings;
    Form10 w(fontNames(10), settings, QString(), &frame);
    QCOMPARE(frame.states, (QList<bool>{false, true}));
    turnTo(w, 1);
    QCOMPARE(frame.states.size(), 2);
    QVERIFY(frame.isEnabled());
}

void TestForm10::newPreviewTextReachesShownSlots()
{
    const QStringList names = fontNames(10);
    Settings settings;
    Form10 w(names, settings, QString(), nullptr);
    turnTo(w, 1);
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("あいう");
    w.applyPreviewText();
    for (int k = 0; k < 7; ++k)
        QCOMPARE(w.Label2[k]->text(), k < 3 ? QStringLiteral("あいう") : QString());
    settings.PreviewText = 0;
    w.applyPreviewText();
    for (int k = 0; k < 3; ++k)
        QCOMPARE(w.Label2[k]->text(), names.at(7 + k));
}

void TestForm10::sampleTop_data()
{
    // A 9 pt heading whose line is 14 + 4 pixels, as the Japanese gothics
    // found on Linux have it; slot k starts 52 pixels below slot k - 1.
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("ascent");
    QTest::addColumn<int>("inkAbove");
    QTest::addColumn<int>("inkBelow");
    QTest::addColumn<int>("top");
    // Glyphs that reach the top of their line: moved below the heading.
    QTest::newRow("no room above the glyphs") << 0 << 21 << 21 << 3 << 24;
    QTest::newRow("no room above, last slot") << 6 << 21 << 21 << 3 << 24 + 6 * 52;
    // Room above the glyphs already clears the heading: the design place.
    QTest::newRow("room above the glyphs") << 0 << 28 << 18 << 5 << 16;
    // Moved only as far as the next slot's heading allows.
    QTest::newRow("stopped by the next heading") << 0 << 24 << 24 << 8 << 54 - 24 - 8;
    // A line taller than the slot stays at its design place.
    QTest::newRow("taller than the slot") << 2 << 34 << 34 << 10 << 16 + 2 * 52;
}

void TestForm10::sampleTop()
{
    QFETCH(int, slot);
    QFETCH(int, ascent);
    QFETCH(int, inkAbove);
    QFETCH(int, inkBelow);
    QFETCH(int, top);
    const PreviewLineMetrics heading{14, 4, 10, 2};
    const PreviewLineMetrics sample{ascent, inkBelow + 1, inkAbove, inkBelow};
    QCOMPARE(PreviewSampleTop(slot, heading, sample), top);
}

void TestForm10::samplesClearTheirHeadings()
{
    // Japanese faces with no room above their glyphs drew them into the
    // heading above; with a custom text as well as with the names.
    const QStringList families = QFontDatabase::families();
    QStringList names;
    for (const QString& face : {QStringLiteral("IPAPMincho"), QStringLiteral("IPAGothic"),
                                QStringLiteral("IPAMincho"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("DejaVu Sans")}) {
        if (families.contains(face))
            names << face;
    }
    if (names.isEmpty())
        QSKIP("no Japanese face installed");
    const QString headingFace = families.contains(QStringLiteral("Noto Sans CJK JP"))
        ? QStringLiteral("Noto Sans CJK JP") : names.first();
    Settings settings;
    Form10 w(names, settings, headingFace, nullptr);

    const auto check = [&w](int filled) {
        for (int k = 0; k < filled; ++k) {
            const QLabel* heading = w.Label1[std::size_t(k)];
            const QLabel* sample = w.Label2[std::size_t(k)];
            const QFontMetrics headingMetrics(heading->font());
            const QFontMetrics sampleMetrics(sample->font());
            const int headingBottom = heading->y() + headingMetrics.ascent() + headingMetrics.descent();
            const int inkTop = sample->y() + sampleMetrics.ascent()
                               + sampleMetrics.tightBoundingRect(sample->text()).top();
            QVERIFY2(inkTop >= headingBottom + PreviewHeadingGapPixels, qPrintable(sample->text()));
        }
    };
    check(int(names.size()));
    settings.PreviewText = 1;
    settings.PreviewTextStrings = QStringLiteral("ABC abc 123 あいう アイウ 漢字");
    w.applyPreviewText();
    check(int(names.size()));
}

QTEST_MAIN(TestForm10)
#include "tst_form10.moc"

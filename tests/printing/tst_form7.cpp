#include "PrintFixture.h"

#include "printing/Form7.h"
#include "printing/Form7Logic.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using platform::twipsToPixels;

namespace {

// A dialog on a small catalogue: "Abc", "Axe" in group A, "Bcd" in B,
// "Sample" in S.
struct DialogFixture {
    PrintFixture f;
    Settings settings;
    std::unique_ptr<Form7> form;

    explicit DialogFixture(int savedPrinter = 0)
    {
        f.addFont(QStringLiteral("Abc"), 10);
        f.addFont(QStringLiteral("Axe"), 20);
        f.addFont(QStringLiteral("Bcd"), -1);
        f.addFont(QStringLiteral("Sample"), 30);
        f.test.printers.fonts = f.catalog.AllFontNames;
        settings.Printer = savedPrinter;
    }

    Form7& open()
    {
        form = std::make_unique<Form7>(f.catalog, f.fileLookup(), settings, f.records, f.test.platform);
        form->show();
        return *form;
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const FakeDialogs::Box& box : f.test.dialogs.boxes)
            texts << box.text;
        return texts;
    }
};

const QString Confirmation = QStringLiteral("印刷してもよろしいですか？");

} // namespace

class TestForm7 : public QObject {
    Q_OBJECT

private slots:
    void designState();
    void savedPrinter_data();
    void savedPrinter();
    void noPrinter();
    void centring_data();
    void centring();
    void copiesWarning_data();
    void copiesWarning();
    void letterInCopies();
    void indexJobNeedsSelection();
    void noToConfirmationChangesNothing();
    void fileMenuOpening();
    void viewOpening();
    void fontMissingOnPrinter();
    void completedJob();
    void groupsPrintInGroupOrder();
    void glyphJob();
    void abortDuringJob();
    void noClosingOrSecondJobWhilePrinting();
    void failedJobKeepsPrinter();
    void cancelledFileChoice();
};

void TestForm7::designState()
{
    DialogFixture d;
    Form7& w = d.open();
    QCOMPARE(w.windowTitle(), QStringLiteral("印刷..."));
    QCOMPARE(w.size(), QSize(twipsToPixels(4650), twipsToPixels(5730)));
    QVERIFY(w.Option1[0]->isChecked());
    QVERIFY(!w.List1->isEnabled());
    QCOMPARE(w.List1->count(), 28);
    QCOMPARE(w.List1->item(0)->text(), QStringLiteral("$,%,&,@\t0 Fonts"));
    QCOMPARE(w.List1->item(1)->text(), QStringLiteral("A\t2 Fonts"));
    QCOMPARE(w.List1->item(27)->text(), QStringLiteral("Other\t0 Fonts"));
    QCOMPARE(w.Text1->text(), QStringLiteral("1"));
    QCOMPARE(w.Text1->maxLength(), 2);
    QCOMPARE(w.Label4->text(), QStringLiteral("   ※印刷は全てモノクロです。用紙はA4を縦に差してください。"));
    QCOMPARE(w.List1->geometry(), QRect(twipsToPixels(1500), twipsToPixels(1200), twipsToPixels(2715), twipsToPixels(1110)));
    QCOMPARE(w.Command3->geometry(), QRect(twipsToPixels(1560), twipsToPixels(1200), twipsToPixels(1395), twipsToPixels(315)));
    // No caption is cut: each is at least as wide and high as its text needs.
    for (QWidget* caption : std::initializer_list<QWidget*>{w.Option1[0], w.Option1[1], w.Option1[2], w.Label1[0],
                                                            w.Label1[1], w.Label1[2], w.Label1[3], w.Label2, w.Label3}) {
        QVERIFY2(caption->width() >= caption->sizeHint().width(), qPrintable(caption->objectName()));
        QVERIFY(caption->height() >= caption->sizeHint().height());
    }
    QCOMPARE(w.Picture1->pos(), QPoint(twipsToPixels(120), twipsToPixels(120)));
    QVERIFY(w.Frame1->isVisible());
    QVERIFY(!w.Picture1->isVisible());

    w.Option1[1]->click();
    QVERIFY(w.List1->isEnabled());
    w.Option1[2]->click();
    QVERIFY(!w.List1->isEnabled());
}

void TestForm7::savedPrinter_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("selected");
    QTest::newRow("second") << 1 << 1;
    QTest::newRow("beyond the list") << 3 << 0;
    QTest::newRow("just beyond") << 2 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void TestForm7::savedPrinter()
{
    QFETCH(int, saved);
    QFETCH(int, selected);
    DialogFixture d(saved);
    Form7& w = d.open();
    QCOMPARE(w.Combo1->count(), 2);
    QCOMPARE(w.Combo1->currentIndex(), selected);
    QCOMPARE(d.settings.Printer, selected);
}

void TestForm7::noPrinter()
{
    DialogFixture d;
    d.f.test.printers.names.clear();
    Form7& w = d.open();
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("プリンタがありません"));
    for (QWidget* control : std::initializer_list<QWidget*>{w.Command1, w.Text1, w.Text2, w.List1, w.Option1[0],
                                                            w.Option1[1], w.Option1[2]})
        QVERIFY(!control->isEnabled());
    QVERIFY(w.Command2->isEnabled());
}

void TestForm7::centring_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("inside") << QRect(1000, 2000, 12000, 9000) << QSize(4770, 6135) << QPoint(4615, 3433);
    QTest::newRow("main smaller than dialog") << QRect(0, 0, 3000, 3000) << QSize(4770, 6135) << QPoint(0, 0);
    QTest::newRow("odd sizes") << QRect(15, 15, 4771, 6137) << QSize(4770, 6135) << QPoint(15, 16);
}

void TestForm7::centring()
{
    QFETCH(QRect, main);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, position);
    QCOMPARE(Form7Position(main, dialog), position);
}

void TestForm7::copiesWarning_data()
{
    QTest::addColumn<QString>("copies");
    QTest::newRow("0") << QStringLiteral("0");
    QTest::newRow("00") << QStringLiteral("00");
    QTest::newRow("empty") << QString();
    QTest::newRow("letter") << QStringLiteral("x");
}

void TestForm7::copiesWarning()
{
    QFETCH(QString, copies);
    DialogFixture d;
    Form7& w = d.open();
    w.Text1->setText(copies);
    w.Command1_Click();
    QCOMPARE(d.boxTexts(), QStringList{QStringLiteral("印刷部数は 1 以上にしてください。")});
    QCOMPARE(d.f.test.dialogs.boxes.first().style, int(platform::MbExclamation));
    QCOMPARE(d.f.test.dialogs.boxes.first().title, QStringLiteral("Glyfaro 2"));
    QCOMPARE(w.Text1->text(), QStringLiteral("1"));
    QVERIFY(d.f.test.printers.startedJobs.isEmpty());
    QVERIFY(w.isVisible());
}

void TestForm7::letterInCopies()
{
    DialogFixture d;
    Form7& w = d.open();
    w.Text1->setFocus();
    w.Text1->selectAll();
    QTest::keyClick(w.Text1, Qt::Key_2);
    QCOMPARE(w.Text1->text(), QStringLiteral("2"));
    QVERIFY(d.f.test.dialogs.boxes.isEmpty());

    QTest::keyClick(w.Text1, Qt::Key_A);
    QCOMPARE(d.f.test.dialogs.boxes.size(), 1);
    QVERIFY(d.f.test.dialogs.boxes.first().text.startsWith(QStringLiteral("入力された値が無効です。")));
    QCOMPARE(w.Text1->text(), QStringLiteral("1"));

    // The flag was used up: the next digit is kept.
    QTest::keyClick(w.Text1, Qt::Key_3);
    QCOMPARE(w.Text1->text(), QStringLiteral("13"));
    QTest::keyClick(w.Text1, Qt::Key_Backspace);
    QCOMPARE(w.Text1->text(), QStringLiteral("1"));
    QCOMPARE(d.f.test.dialogs.boxes.size(), 1);
}

void TestForm7::indexJobNeedsSelection()
{
    DialogFixture d;
    Form7& w = d.open();
    w.Option1[1]->click();
    w.Command1_Click();
    QCOMPARE(d.boxTexts(), QStringList{QStringLiteral("印刷するインデックスがが選択されていません。")});
    QVERIFY(d.f.test.printers.startedJobs.isEmpty());

    w.List1->item(2)->setSelected(true);
    d.f.test.dialogs.answers.push_back(platform::AnswerNo);
    w.Command1_Click();
    QCOMPARE(d.boxTexts().last(), Confirmation);
}

void TestForm7::noToConfirmationChangesNothing()
{
    DialogFixture d(1);
    Form7& w = d.open();
    w.Text1->setText(QStringLiteral("3"));
    w.Text2->setText(QStringLiteral("見本"));
    d.f.test.dialogs.answers.push_back(platform::AnswerNo);
    w.Command1_Click();
    QCOMPARE(d.f.test.dialogs.boxes.last().style, int(platform::MbYesNo | platform::MbQuestion));
    QVERIFY(d.f.test.printers.startedJobs.isEmpty());
    QVERIFY(w.isVisible());
    QVERIFY(w.Frame1->isVisible());
    QCOMPARE(w.Text1->text(), QStringLiteral("3"));
    QCOMPARE(w.Text2->text(), QStringLiteral("見本"));
    QCOMPARE(w.Combo1->currentIndex(), 1);
    QVERIFY(w.Option1[0]->isChecked());
    QCOMPARE(d.settings.Printer, 1);
}

void TestForm7::fileMenuOpening()
{
    DialogFixture d;
    Form7& w = d.open();
    w.prepareForFileMenu();
    QVERIFY(!w.Option1[2]->isEnabled());
    QVERIFY(!w.Text2->isEnabled());
    QVERIFY(!w.Label1[1]->isEnabled());
    QVERIFY(w.Option1[0]->isChecked());
    QVERIFY(w.Option1[1]->isEnabled());
}

void TestForm7::viewOpening()
{
    DialogFixture d;
    d.f.records.GlyphSampleFont = QStringLiteral("Sample");
    Form7& w = d.open();
    w.prepareForGlyphSample(QStringLiteral("永あ"));
    QCOMPARE(w.Option1[2]->text(), QStringLiteral("字体(Sample)を印刷"));
    QVERIFY(w.Option1[2]->isChecked());
    QVERIFY(!w.Option1[0]->isEnabled());
    QVERIFY(!w.Option1[1]->isEnabled());
    QCOMPARE(w.Text2->text(), QStringLiteral("永あ"));
    QCOMPARE(w.Text2->font().family(), QStringLiteral("Sample"));
}

void TestForm7::fontMissingOnPrinter()
{
    DialogFixture d;
    d.f.records.GlyphSampleFont = QStringLiteral("Sample");
    // Names are compared exactly: another case is another font.
    d.f.test.printers.fonts = {QStringLiteral("Abc"), QStringLiteral("sample")};
    Form7& w = d.open();
    w.prepareForGlyphSample(QStringLiteral("x"));
    w.Command1_Click();
    QCOMPARE(d.boxTexts(), (QStringList{Confirmation, QStringLiteral("選択されたプリンタで、このフォントは印刷できません。")}));
    QVERIFY(d.f.test.printers.startedJobs.isEmpty());
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void TestForm7::completedJob()
{
    DialogFixture d;
    Form7& w = d.open();
    w.Combo1->setCurrentIndex(1);
    w.Text1->setText(QStringLiteral("3"));
    RecordingPrinter* job = nullptr;
    d.f.test.printers.prepare = [&](RecordingPrinter& printer) {
        job = &printer;
        printer.onPrint = [&] {
            // The panel is up while the printout runs.
            QVERIFY(w.printing());
            QVERIFY(!w.Frame1->isVisible());
            QVERIFY(w.Picture1->isVisible());
            QCOMPARE(w.height(), twipsToPixels(2445) - twipsToPixels(405));
        };
    };
    w.Command1_Click();
    QVERIFY(job);
    QCOMPARE(d.f.test.printers.startedJobs, QList<int>{1});
    QCOMPARE(job->copies, 3);
    QVERIFY(job->portraitA4);
    QVERIFY(job->automaticSource);
    QCOMPARE(job->visible(1).first().font, QStringLiteral("LabelFace"));
    QCOMPARE(job->visible(1).first().size, 9);
    QCOMPARE(job->endCalls, 1);
    QCOMPARE(d.settings.Printer, 1);
    QCOMPARE(d.f.records.CurrentPrintPage, 1);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!w.isVisible());
    QCOMPARE(d.boxTexts(), QStringList{Confirmation});
}

void TestForm7::groupsPrintInGroupOrder()
{
    DialogFixture d;
    Form7& w = d.open();
    w.Option1[1]->click();
    w.List1->item(19)->setSelected(true);
    w.List1->item(2)->setSelected(true);
    w.List1->item(1)->setSelected(true);
    w.Command1_Click();
    RecordingPrinter* job = d.f.test.printers.lastJob;
    QVERIFY(job);
    QStringList headings;
    for (const RecordingPrinter::Piece& piece : job->visible(1)) {
        if (piece.x == 900)
            headings << piece.text;
    }
    QCOMPARE(headings, (QStringList{QStringLiteral("A   (2 Fonts)"), QStringLiteral("B   (1 Fonts)"),
                                    QStringLiteral("S   (1 Fonts)")}));
}

void TestForm7::glyphJob()
{
    DialogFixture d;
    d.f.records.GlyphSampleFont = QStringLiteral("Sample");
    Form7& w = d.open();
    w.prepareForGlyphSample(QStringLiteral("永"));
    w.Text2->setText(QStringLiteral("変えた"));
    w.Command1_Click();
    RecordingPrinter* job = d.f.test.printers.lastJob;
    QVERIFY(job);
    int samples = 0;
    for (const RecordingPrinter::Piece& piece : job->pieces) {
        if (piece.font == QStringLiteral("Sample")) {
            QCOMPARE(piece.text, QStringLiteral("変えた"));
            ++samples;
        }
    }
    QCOMPARE(samples, 16);
    QCOMPARE(job->endCalls, 1);
}

void TestForm7::abortDuringJob()
{
    DialogFixture d(0);
    for (int i = 0; i < 200; ++i)
        d.f.addFont(QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0')), 1);
    Form7& w = d.open();
    w.Combo1->setCurrentIndex(1);
    RecordingPrinter* job = nullptr;
    d.f.test.printers.prepare = [&](RecordingPrinter& printer) {
        job = &printer;
        printer.onPrint = [&] {
            // The click waits for the next turn of the event loop, as a
            // user's click does.
            if (printer.pieces.size() == 40)
                QMetaObject::invokeMethod(w.Command3, &QPushButton::click, Qt::QueuedConnection);
        };
    };
    w.Command1_Click();
    QVERIFY(job);
    QVERIFY(job->killed());
    QCOMPARE(job->printsAfterKill, 0);
    QCOMPARE(job->endCalls, 0);
    QVERIFY(job->pieces.size() < 50);
    QCOMPARE(d.settings.Printer, 0);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(d.boxTexts(), QStringList{Confirmation});
}

void TestForm7::noClosingOrSecondJobWhilePrinting()
{
    DialogFixture d;
    Form7& w = d.open();
    bool tried = false;
    d.f.test.printers.prepare = [&](RecordingPrinter& printer) {
        printer.onPrint = [&] {
            if (tried)
                return;
            tried = true;
            QVERIFY(!w.close());
            w.reject();
            QVERIFY(w.isVisible());
            w.Command1_Click();
        };
    };
    w.Command1_Click();
    QVERIFY(tried);
    QCOMPARE(d.f.test.printers.startedJobs.size(), 1);
    QCOMPARE(d.boxTexts(), QStringList{Confirmation});
    QCOMPARE(w.result(), int(QDialog::Accepted));
}

void TestForm7::failedJobKeepsPrinter()
{
    DialogFixture d(0);
    Form7& w = d.open();
    w.Combo1->setCurrentIndex(1);
    d.f.test.printers.prepare = [](RecordingPrinter& printer) { printer.failAfter = 3; };
    w.Command1_Click();
    QCOMPARE(d.boxTexts().last(), QStringLiteral("選択されたプリンタでは印刷できませんでした。"));
    QVERIFY(d.f.test.printers.lastJob->killed());
    QCOMPARE(d.f.test.printers.lastJob->endCalls, 0);
    QCOMPARE(d.settings.Printer, 0);
    QVERIFY(!w.isVisible());
}

void TestForm7::cancelledFileChoice()
{
    DialogFixture d(0);
    Form7& w = d.open();
    d.f.test.printers.cancelNext = true;
    w.Combo1->setCurrentIndex(1);
    w.Command1_Click();
    QCOMPARE(d.boxTexts(), QStringList{Confirmation});
    QVERIFY(w.isVisible());
    QVERIFY(!w.printing());
    QVERIFY(w.Frame1->isVisible());
    QCOMPARE(d.settings.Printer, 0);
}

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"

#include "comparison/ComparisonSearch.h"
#include "files/Form8.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include "desktop/UiFont.h"

#include <QTest>

namespace {

// ▲: installed here, in the catalogue's sorted order.
const QStringList Installed{u"Arial"_qs, u"Bodoni"_qs, u"Courier"_qs, u"ＭＳ ゴシック"_qs};
// ■: from a file, in file order, with a duplicate and names that differ from
// installed ones only in case or width.
const QStringList FromFile{u"Courier"_qs, u"arial"_qs, u"Zapf"_qs, u"Courier"_qs, u"MS ｺﾞｼｯｸ"_qs,
                           u"Ａrial"_qs, u"Arial"_qs};

} // namespace

class TestForm8 : public QObject {
    Q_OBJECT

private slots:
    // The viewer's own Japanese face, whose line spacing the layout must allow for.
    void initTestCase() { platform::useJapaneseUiFont(); }
    void designState();
    void searches_data();
    void searches();
    void matchesExactlyLikeTheNestedScan_data();
    void matchesExactlyLikeTheNestedScan();
    void searchStateIsRestored();
    void textsFitTheirControls();
};

void TestForm8::designState()
{
    Form8 form(Installed);
    QCOMPARE(form.windowTitle(), u"フォント名比較"_qs);
    QCOMPARE(form.installedNames(), Installed);
    QCOMPARE(form.Label4[0]->text(), u"総数: 4 個"_qs);
    QCOMPARE(form.Label4[1]->text(), u"総数: 0 個"_qs);
    QCOMPARE(form.Label2->text(), u"総数: 0 個"_qs);
    QVERIFY(form.Option1[0]->isChecked());
    QVERIFY(form.Option2[0]->isChecked());
    QVERIFY(!form.Picture1->isVisibleTo(&form));
    QCOMPARE(form.List1->model()->rowCount(), 4);
    QCOMPARE(form.List1->model()->index(3, 0).data().toString(), u"ＭＳ ゴシック"_qs);
    // The catalogue's list is shared with the window, not copied.
    QVERIFY(form.installedNames().constData() == Installed.constData());
}

void TestForm8::searches_data()
{
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<int>("condition");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("▲ の中で ■, 一致 (default)")
        << FromFile << 0 << 0 << QStringList{u"Courier"_qs, u"Courier"_qs, u"Arial"_qs};
    QTest::newRow("▲ の中で ■, 足りない")
        << FromFile << 1 << 0 << QStringList{u"arial"_qs, u"Zapf"_qs, u"MS ｺﾞｼｯｸ"_qs, u"Ａrial"_qs};
    QTest::newRow("■ の中で ▲, 一致") << FromFile << 0 << 1 << QStringList{u"Arial"_qs, u"Courier"_qs};
    QTest::newRow("■ の中で ▲, 足りない")
        << FromFile << 1 << 1 << QStringList{u"Bodoni"_qs, u"ＭＳ ゴシック"_qs};
    QTest::newRow("empty file list, ■ の中で ▲, 足りない") << QStringList() << 1 << 1 << Installed;
    QTest::newRow("empty file list, ▲ の中で ■, 一致") << QStringList() << 0 << 0 << QStringList();
    QTest::newRow("nothing qualifies") << QStringList{u"Zapf"_qs} << 0 << 1 << QStringList();
}

void TestForm8::searches()
{
    QFETCH(QStringList, fileNames);
    QFETCH(int, condition);
    QFETCH(int, target);
    QFETCH(QStringList, results);

    Form8 form(Installed);
    form.setFileNames(fileNames);
    QCOMPARE(form.Label4[1]->text(), u"総数: %1 個"_qs.arg(fileNames.size()));
    form.Option1[std::size_t(condition)]->setChecked(true);
    form.Option2[std::size_t(target)]->setChecked(true);
    form.Command1->click();
    QCOMPARE(form.results(), results);
    QCOMPARE(form.Label2->text(), u"総数: %1 個"_qs.arg(results.size()));
    QCOMPARE(form.List2->model()->rowCount(), results.size());
}

void TestForm8::matchesExactlyLikeTheNestedScan_data()
{
    QTest::addColumn<QStringList>("outer");
    QTest::addColumn<QStringList>("inner");

    QTest::newRow("duplicates on both sides")
        << QStringList{u"b"_qs, u"a"_qs, u"b"_qs, u"c"_qs, u"a"_qs} << QStringList{u"a"_qs, u"a"_qs, u"d"_qs};
    QTest::newRow("case and width") << QStringList{u"A"_qs, u"ａ"_qs, u"a"_qs, u"ｶ"_qs, u"カ"_qs}
                                    << QStringList{u"a"_qs, u"カ"_qs};
    QTest::newRow("empty names") << QStringList{QString(), u"x"_qs} << QStringList{QString()};
    QTest::newRow("empty outer") << QStringList() << QStringList{u"x"_qs};
}

void TestForm8::matchesExactlyLikeTheNestedScan()
{
    QFETCH(QStringList, outer);
    QFETCH(QStringList, inner);

    // The plain nested walk, stopping at the first equal name.
    QStringList matching;
    QStringList missing;
    for (const QString& name : outer) {
        bool found = false;
        for (const QString& candidate : inner) {
            if (candidate == name) {
                found = true;
                break;
            }
        }
        (found ? matching : missing).append(name);
    }
    qsizetype steps = 0;
    QCOMPARE(SearchNames(outer, inner, SearchCondition::Matching, [&](qsizetype i) { QCOMPARE(i, steps++); }),
             matching);
    QCOMPARE(steps, outer.size());
    QCOMPARE(SearchNames(outer, inner, SearchCondition::Missing), missing);
}

void TestForm8::searchStateIsRestored()
{
    Form8 form(Installed);
    form.setFileNames({u"Arial"_qs});
    bool panelShown = false;
    bool buttonDisabled = false;
    // The panel and the disabled button are seen while the search runs.
    QMetaObject::Connection watch = connect(form.ProgBar1, &QProgressBar::valueChanged, &form, [&] {
        panelShown = form.Picture1->isVisibleTo(&form);
        buttonDisabled = !form.Command1->isEnabled();
    });
    form.ProgBar1->setValue(form.ProgBar1->maximum());
    panelShown = buttonDisabled = false;
    form.Command1_Click();
    disconnect(watch);
    QVERIFY(panelShown);
    QVERIFY(buttonDisabled);
    // Fewer than two names still make a valid range.
    QVERIFY(form.ProgBar1->maximum() > form.ProgBar1->minimum());
    QVERIFY(!form.Picture1->isVisibleTo(&form));
    QVERIFY(form.Command1->isEnabled());
    QCOMPARE(form.results(), QStringList{u"Arial"_qs});
}

void TestForm8::textsFitTheirControls()
{
    Form8 form(Installed);
    const QList<QLabel*> labels{form.Label1[0], form.Label1[1], form.Label1[2], form.Label4[0], form.Label2};
    for (QLabel* label : labels) {
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->text()));
    }
    for (QRadioButton* option : {form.Option1[0], form.Option1[1], form.Option2[0], form.Option2[1]}) {
        QVERIFY2(option->sizeHint().width() <= option->width(), qPrintable(option->text()));
        QVERIFY(option->geometry().right() < option->parentWidget()->width());
        // Below the frame's caption and its line, inside the frame.
        const auto frame = static_cast<QGroupBox*>(option->parentWidget());
        QVERIFY2(option->y() >= frame->contentsRect().top(), qPrintable(option->text()));
        QVERIFY(option->geometry().bottom() < frame->height() - 2);
    }
    QVERIFY(form.Command1->sizeHint().width() <= form.Command1->width() + 20);
}

QTEST_MAIN(TestForm8)
#include "tst_form8.moc"

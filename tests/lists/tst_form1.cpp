#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "lists/Form1.h"
#include "lists/PathLabel.h"

#include "support/TestPlatform.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QStyle>
#include <QTest>
#include <memory>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString FontsKey = WindowsKey + QStringLiteral("\\Fonts");

// Three of these fall into "Other": "arial narrow", "zed" and "メイリオ".
const QStringList Fonts{u"Bodoni"_qs,  u"zed"_qs,    u"Arial"_qs,    u"Ｍincho"_qs, u"@Vertical"_qs,
                        u"Courier"_qs, u"メイリオ"_qs, u"Ｃentury"_qs, u"arial narrow"_qs};

struct Fixture {
    TestPlatform test;
    QTemporaryDir folder;
    FontCatalog catalog;
    std::unique_ptr<FontFileLookup> lookup;
    std::unique_ptr<Form1> form;

    Fixture()
    {
        test.system.fonts = folder.path();
        test.fonts.names = Fonts;
        test.registry.addKey(RootKey::LocalMachine, FontsKey);
        addFile(u"Arial (TrueType)"_qs, u"arial.ttf"_qs, 1234567);
        addFile(u"Vertical (TrueType)"_qs, u"vertical.ttf"_qs, 512);
        BuildFontCatalog(catalog, test.platform, WindowsKey, {});
        lookup = std::make_unique<FontFileLookup>(catalog, test.platform, WindowsKey);
        form = std::make_unique<Form1>(catalog, *lookup);
    }

    void addFile(const QString& entry, const QString& name, qint64 size)
    {
        test.registry.put(RootKey::LocalMachine, FontsKey, entry, name);
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }

    QString selectedFont() const
    {
        return form->List2->currentItem() ? form->List2->currentItem()->text() : QString();
    }
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void showsTheCatalogue();
    void startUpSelectsTheSymbolFont();
    void indexJumps_data();
    void indexJumps();
    void otherLineMovesOnlyUpwards();
    void fileLabels_data();
    void fileLabels();
    void registryFailureIsFatal();
    void doubleClickAsksForAView();
    void labelsFitTheirPlaces();
    void largeCountsAreNotCut();
};

void TestForm1::showsTheCatalogue()
{
    Fixture fixture;
    QCOMPARE(fixture.form->windowTitle(), u"フォント全てを一覧"_qs);
    QCOMPARE(fixture.form->List1->count(), 30);
    QCOMPARE(fixture.form->List1->item(1)->text(), u"A\t1 Fonts"_qs);
    QCOMPARE(fixture.form->List2->count(), Fonts.size());
    for (int i = 0; i < fixture.form->List2->count(); ++i)
        QCOMPARE(fixture.form->List2->item(i)->text(), fixture.catalog.AllFontNames.at(i));
    QCOMPARE(fixture.form->List3->count(), 2);
    QVERIFY(!fixture.form->List3->isVisibleTo(fixture.form.get()));
    QCOMPARE(fixture.form->Label1[0]->text(), u"ファイル名:"_qs);
    QCOMPARE(fixture.form->Label1[1]->text(), u"サイズ:"_qs);
    QVERIFY(fixture.form->Label2[0]->text().isEmpty());
}

void TestForm1::startUpSelectsTheSymbolFont()
{
    Fixture fixture;
    fixture.form->selectIndexLine(0);
    QCOMPARE(fixture.form->List1->currentRow(), 0);
    QCOMPARE(fixture.selectedFont(), u"@Vertical"_qs);
    QCOMPARE(fixture.form->Label2[0]->text(), fixture.folder.filePath(u"vertical.ttf"_qs));
    QCOMPARE(fixture.form->Label2[1]->text(), u"512 Byte (.5 KB)"_qs);
}

void TestForm1::indexJumps_data()
{
    QTest::addColumn<QString>("startFont");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("selected");

    QTest::newRow("letter A") << u"Bodoni"_qs << 1 << u"Arial"_qs;
    QTest::newRow("letter B") << u"Arial"_qs << 2 << u"Bodoni"_qs;
    // A full-width initial counts as its ASCII letter.
    QTest::newRow("letter M, full-width only") << u"Arial"_qs << 13 << u"Ｍincho"_qs;
    QTest::newRow("letter without fonts keeps selection") << u"Bodoni"_qs << 17 << u"Bodoni"_qs;
    // Lower-case "zed" is no Z font.
    QTest::newRow("lower-case initial not reached") << u"Bodoni"_qs << 26 << u"Bodoni"_qs;
    QTest::newRow("symbols") << u"Courier"_qs << 0 << u"@Vertical"_qs;
    QTest::newRow("hyphen line does nothing") << u"Courier"_qs << 28 << u"Courier"_qs;
    QTest::newRow("total line does nothing") << u"Courier"_qs << 29 << u"Courier"_qs;
}

void TestForm1::indexJumps()
{
    QFETCH(QString, startFont);
    QFETCH(int, line);
    QFETCH(QString, selected);

    Fixture fixture;
    fixture.form->List2->setCurrentRow(int(fixture.catalog.AllFontNames.indexOf(startFont)));
    fixture.form->selectIndexLine(line);
    QCOMPARE(fixture.selectedFont(), selected);
}

void TestForm1::otherLineMovesOnlyUpwards()
{
    // Nine fonts, three in "Other": the line jumps to position 6 at most.
    Fixture fixture;
    QCOMPARE(fixture.catalog.Groups[OtherGroup].Names.size(), 3);
    fixture.form->List2->setCurrentRow(2);
    fixture.form->selectIndexLine(27);
    QCOMPARE(fixture.form->List2->currentRow(), 2);

    fixture.form->List2->setCurrentRow(8);
    fixture.form->selectIndexLine(27);
    QCOMPARE(fixture.form->List2->currentRow(), 6);

    // A click on the line already selected applies the rule again.
    fixture.form->List2->setCurrentRow(8);
    fixture.form->selectIndexLine(27);
    QCOMPARE(fixture.form->List2->currentRow(), 6);

    fixture.form->List2->setCurrentRow(6);
    fixture.form->selectIndexLine(27);
    QCOMPARE(fixture.form->List2->currentRow(), 6);
}

void TestForm1::fileLabels_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("sizeText");

    QTest::newRow("found") << u"Arial"_qs << u"arial.ttf"_qs << u"1,234,567 Byte (1,205.63 KB)"_qs;
    QTest::newRow("no entry") << u"Bodoni"_qs << QString() << u"不明"_qs;
}

void TestForm1::fileLabels()
{
    QFETCH(QString, font);
    QFETCH(QString, fileName);
    QFETCH(QString, sizeText);

    Fixture fixture;
    fixture.form->List2->setCurrentRow(int(fixture.catalog.AllFontNames.indexOf(font)));
    const QString path = fileName.isEmpty() ? u"不明"_qs : fixture.folder.filePath(fileName);
    QCOMPARE(fixture.form->Label2[0]->text(), path);
    QCOMPARE(fixture.form->Label2[1]->text(), sizeText);

    // A path wider than the label shows its file's name whole, inside the label.
    auto label = qobject_cast<PathLabel*>(fixture.form->Label2[0]);
    QVERIFY(label);
    const QString name = u"/NotoSansCJK-Regular.ttc"_qs;
    label->setText(u"/srv"_qs + u"/folder"_qs.repeated(30) + name);
    const QString shown = label->shownText();
    QVERIFY2(shown.endsWith(name) && shown.contains(u"…"_qs), qPrintable(shown));
    QVERIFY(QFontMetricsF(label->font()).horizontalAdvance(shown) <= label->contentsRect().width());
}

void TestForm1::registryFailureIsFatal()
{
    Fixture fixture;
    QSignalSpy fatal(fixture.form.get(), &Form1::fatalError);
    fixture.test.registry.failWhen = [](const FakeRegistry::Call& call) -> long {
        return call.op == FakeRegistry::Op::Open ? RegAccessDenied : RegSuccess;
    };
    fixture.form->List2->setCurrentRow(int(fixture.catalog.AllFontNames.indexOf(u"Arial"_qs)));
    QCOMPARE(fatal.size(), 1);
    QCOMPARE(fatal.at(0).at(0).toInt(), 2);
    QVERIFY(fixture.form->Label2[0]->text().isEmpty());
}

void TestForm1::doubleClickAsksForAView()
{
    Fixture fixture;
    QSignalSpy opened(fixture.form.get(), &Form1::openViewAt);
    fixture.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    auto* list = fixture.form->List2;
    const QRect cell = list->visualItemRect(list->item(3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), 3);
}

void TestForm1::labelsFitTheirPlaces()
{
    Fixture fixture;
    fixture.form->selectIndexLine(1);
    for (QLabel* label : {fixture.form->Label1[0], fixture.form->Label1[1], fixture.form->Label2[1]}) {
        const QSize needed = label->fontMetrics().size(0, label->text());
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(label->text()));
    }
    // Set to look at the window.
    const QByteArray pictures = qgetenv("GLYFARO_PICTURES");
    if (!pictures.isEmpty()) {
        fixture.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
        QVERIFY(fixture.form->grab().save(QString::fromLocal8Bit(pictures) + u"/form1.png"_qs));
    }
}

void TestForm1::largeCountsAreNotCut()
{
    // Every line of the index list, its count included, fits beside the
    // scroll bar, however many fonts a group holds.
    Fixture fixture;
    FontCatalog huge = fixture.catalog;
    huge.IndexSummary[27] = u"Other\t99999 Fonts"_qs;
    huge.IndexSummary[29] = u"Total\t99999 Fonts"_qs;
    Form1 form(huge, *fixture.lookup);
    QListWidget* list = form.List1;
    const int available = list->width() - 2 * list->frameWidth()
                          - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.font = list->font();
    for (int row = 0; row < list->count(); ++row) {
        const QSize needed = list->itemDelegate()->sizeHint(option, list->model()->index(row, 0));
        QVERIFY2(needed.width() <= available, qPrintable(list->item(row)->text() + QStringLiteral(" needs %1 of %2 at %3 px").arg(needed.width()).arg(available).arg(QFontInfo(list->font()).pixelSize())));
    }
    // Small counts keep the list's own size.
    QCOMPARE(QFontInfo(fixture.form->List1->font()).pixelSize(), QFontInfo(fixture.form->List2->font()).pixelSize());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"

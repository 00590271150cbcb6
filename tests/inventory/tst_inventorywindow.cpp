#include "formats/ComparisonFile.h"
#include "identity/MachineReport.h"
#include "inventory/InventoryWindow.h"
#include "inventory/MachineReportWindow.h"

#include "support/FakeDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

QByteArray fileOf(const QStringList& names, qint64 size)
{
    comparison_file::Writer writer;
    for (const QString& name : names)
        writer.addRecord(name, size);
    return writer.finish();
}

int rows(const QTreeView* list)
{
    return list->model()->rowCount();
}

FaceRecord face(const QString& family, const QString& style, const QString& hash, const QString& version,
                const QString& forms = u"JIS2004"_qs)
{
    FaceRecord record;
    record.families = {family};
    record.familyLanguages = {u"ja"_qs};
    record.style = style;
    record.file = u"/usr/share/fonts/"_qs + hash + u".otf"_qs;
    record.size = 1000;
    record.sha256 = hash;
    record.facts.version = version;
    record.facts.glyphForms = forms;
    return record;
}

DetailedInventory machine(const QString& name, const QList<FaceRecord>& faces, const QStringList& names = {},
                          const QList<qint64>& sizes = {})
{
    DetailedInventory inventory;
    inventory.machine = name;
    inventory.faces = faces;
    inventory.names = names;
    inventory.sizes = sizes;
    return inventory;
}

// The proof machine and the press: one font each of every kind of
// difference, two the same.
DetailedInventory proofMachine()
{
    return machine(u"proof-01"_qs,
                   {face(u"本文明朝"_qs, u"Regular"_qs, u"a1"_qs, u"1.00"_qs),
                    face(u"見出ゴシック"_qs, u"Bold"_qs, u"b1"_qs, u"2.0"_qs),
                    face(u"教科書体"_qs, u"Regular"_qs, u"c1"_qs, u"3.0"_qs),
                    face(u"楷書"_qs, u"Regular"_qs, u"d1"_qs, u"1.0"_qs),
                    face(u"丸ゴ"_qs, u"Regular"_qs, u"e1"_qs, u"1.0"_qs),
                    face(u"隷書"_qs, u"Regular"_qs, u"f1"_qs, u"1.0"_qs)},
                   {u"A"_qs, u"B"_qs, u"D"_qs}, {10, 11, 10});
}

DetailedInventory pressMachine(const QString& name)
{
    return machine(name,
                   {face(u"本文明朝"_qs, u"Regular"_qs, u"a2"_qs, u"1.00"_qs, u"JIS90"_qs),
                    face(u"見出ゴシック"_qs, u"Bold"_qs, u"b2"_qs, u"2.1"_qs),
                    face(u"教科書体"_qs, u"Regular"_qs, u"c2"_qs, u"3.0"_qs),
                    face(u"行書"_qs, u"Regular"_qs, u"g1"_qs, u"1.0"_qs),
                    face(u"丸ゴ"_qs, u"Regular"_qs, u"e1"_qs, u"1.0"_qs),
                    face(u"隷書"_qs, u"Regular"_qs, u"f1"_qs, u"1.0"_qs)},
                   {u"A"_qs, u"B"_qs, u"C"_qs}, {10, 10, 10});
}

QStringList rowOf(const QAbstractItemModel* model, int row, qsizetype columns)
{
    QStringList cells;
    for (int column = 0; column < columns; ++column)
        cells << model->index(row, column).data().toString();
    return cells;
}

} // namespace

class InventoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_files.isValid());
        m_dialogs = std::make_unique<FakeDialogs>();
        m_machineAsked = 0;
        m_window = std::make_unique<InventoryWindow>(
            [this]() -> const FontSet& {
                ++m_machineAsked;
                return m_machine;
            },
            *m_dialogs, m_settings);
        m_window->show();
    }

    // Each side through its buttons: the file dialog's answer is read and
    // the four tabs count what the groups hold.
    void sidesThroughTheirButtons_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("box");
        // onlyLeft, onlyRight, size differs, same
        QTest::addColumn<QList<int>>("counts");

        const QStringList machine{u"A"_qs, u"B"_qs, u"C"_qs};
        QTest::newRow("the same") << fileOf(machine, 10) << true << QString() << QList<int>{0, 0, 0, 3};
        QTest::newRow("another version") << fileOf(machine, 11) << true << QString() << QList<int>{0, 0, 3, 0};
        QTest::newRow("other fonts") << fileOf({u"A"_qs, u"D"_qs}, 10) << true << QString() << QList<int>{1, 2, 0, 1};
        // As the comparison window does: the records before the cut count,
        // and the user is told.
        QTest::newRow("cut") << fileOf(machine, 10).first(25) << true << u"ファイルが壊れています"_qs
                             << QList<int>{0, 2, 0, 1};
        QTest::newRow("damaged") << QByteArray("GFC\x05", 4) << false << u"ファイルが壊れています"_qs
                                 << QList<int>{0, 0, 0, 0};
        QTest::newRow("not a comparison file") << QByteArray("hello") << false << u"ファイルが壊れています"_qs
                                               << QList<int>{0, 0, 0, 0};
    }

    void sidesThroughTheirButtons()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, read);
        QFETCH(QString, box);
        QFETCH(QList<int>, counts);
        const QString path = m_files.filePath(u"side.gfc"_qs);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        QVERIFY(!m_window->SaveButton->isEnabled());
        QTest::mouseClick(m_window->MachineButton[InventoryWindow::Right], Qt::LeftButton);
        QCOMPARE(m_machineAsked, 1);
        QCOMPARE(m_window->SideLabel[InventoryWindow::Right]->text(), u"このコンピュータ（総数: 3 個）"_qs);
        m_dialogs->fileAnswers.push_back(path);
        QTest::mouseClick(m_window->FileButton[InventoryWindow::Left], Qt::LeftButton);
        QCOMPARE(m_dialogs->fileRequests.size(), 1);
        QCOMPARE(m_dialogs->fileRequests.first().title, u"フォント比較用ファイルを読み込む"_qs);

        QCOMPARE(m_window->set(InventoryWindow::Left) != nullptr, read);
        QCOMPARE(m_dialogs->boxes.isEmpty(), box.isEmpty());
        if (!box.isEmpty())
            QCOMPARE(m_dialogs->boxes.first().text, box);
        QCOMPARE(m_window->SaveButton->isEnabled(), read);
        for (int group = 0; group < 4; ++group) {
            QCOMPARE(rows(m_window->Lists[group]), counts.at(group));
            QVERIFY(m_window->Groups->tabText(group).endsWith(u"（"_qs + QString::number(counts.at(group)) + u" 個）"_qs));
        }
    }

    // A file that cannot be read leaves the side as it was and says why.
    void unreadableFileKeepsTheSide()
    {
        m_window->showMachine(InventoryWindow::Left);
        QVERIFY(!m_window->readFile(InventoryWindow::Left, m_files.filePath(u"gone.gfc"_qs)));
        QCOMPARE(m_window->set(InventoryWindow::Left)->title, ThisMachineTitle);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QVERIFY(m_dialogs->boxes.first().text.endsWith(u"ファイルまたはフォルダが見つかりません。"_qs));
    }

    // Save and print hand the report to the main window's file and print
    // commands; both sides must be chosen first.
    void saveAndPrintTheReport()
    {
        QSignalSpy saved(m_window.get(), &InventoryWindow::saveRequested);
        QSignalSpy printed(m_window.get(), &InventoryWindow::printRequested);
        m_window->setSide(InventoryWindow::Left, FontSet{u"a.gfc"_qs, {u"A"_qs, u"Old"_qs}, {10, 1}});
        QTest::mouseClick(m_window->SaveButton, Qt::LeftButton);
        QCOMPARE(saved.count(), 0);
        m_window->showMachine(InventoryWindow::Right);
        QTest::mouseClick(m_window->SaveButton, Qt::LeftButton);
        QTest::mouseClick(m_window->PrintButton, Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(printed.count(), 1);
        const auto table = saved.first().at(0).value<QList<QStringList>>();
        // The heading, then A (both), Old (left), B and C (right): each name once.
        QCOMPARE(table.size(), 1 + 4);
        QVERIFY(printed.first().at(0).toStringList().contains(u"左: a.gfc（2 個）"_qs));
        QVERIFY(m_window->Summary->text().startsWith(u"左と右のフォント構成に違いがあります。"_qs));
    }

    // Each side a comparison file, a detailed inventory (through either
    // button) or this computer, read in detail only against a detailed
    // side: both detailed give the six groups by identity, glyph forms
    // first; otherwise the four by name and size, and the summary says why.
    void sideKinds_data()
    {
        // "L details proof.json": the side, its button, the file chosen.
        QTest::addColumn<QStringList>("steps");
        // How this computer's detailed inventory answers: given, cancelled,
        // none (no provider).
        QTest::addColumn<QString>("provider");
        QTest::addColumn<int>("detailsAsked");
        // Six counts by identity, four by name and size.
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<QString>("summaryStart");
        QTest::addColumn<QString>("summaryEnd");
        QTest::addColumn<QString>("box");
        // The CSV file's third heading, the printout's second line.
        QTest::addColumn<QString>("savedHeading");
        QTest::addColumn<QString>("printedLine");

        const QString forms = u"注意: 名前は同じでも、JIS90 と JIS2004 で字形が違うフォントが 1 書体あります。"_qs;
        const QString differs = u"左と右のフォント構成に違いがあります。"_qs;
        const QString gfcNote = u"片方がフォント比較用ファイル（.gfc）なので、名前とファイルサイズだけで比べました。"
                                u"版や字形の違いは、両方を詳しいフォント構成ファイルにすると分かります。"_qs;
        const QString machineNote = u"このコンピュータはフォントファイルの中身まで読み込んでいないので、"
                                    u"名前とファイルサイズだけで比べました。"_qs;
        const QStringList formsRow{u"本文明朝 Regular"_qs, u"1.00"_qs, u"1.00"_qs, u"JIS2004"_qs, u"JIS90"_qs};
        const QList<int> byIdentity{1, 1, 1, 1, 1, 2};
        const QList<int> bySize{1, 1, 1, 1};
        const QString proofTitle = u"proof-01（proof.json）"_qs;

        QTest::newRow("both detailed") << QStringList{u"L details proof.json"_qs, u"R details press.json"_qs}
                                       << u"given"_qs << 0 << byIdentity << formsRow << forms
                                       << u"ファイルの中身で比べました）。別の版のフォントは、文字の幅や字形が違うことがあり、"
                                          u"行送りや改ページが変わることがあります。同じ版で中身が違うフォントは、作り直されたか、"
                                          u"手を加えられたものです。"_qs
                                       << QString() << u"左の版 ("_qs + proofTitle + u')' << u"左: "_qs + proofTitle;
        QTest::newRow("the same twice") << QStringList{u"L details proof.json"_qs, u"R details proof.json"_qs}
                                        << u"given"_qs << 0 << QList<int>{0, 0, 0, 0, 0, 6}
                                        << QStringList{u"丸ゴ Regular"_qs, u"1.0"_qs, u"1.0"_qs}
                                        << u"左と右のフォント構成は同じです（ファイルの中身まで同じです）。"_qs << QString()
                                        << QString() << u"左の版 ("_qs + proofTitle + u')' << u"左: "_qs + proofTitle;
        // A detailed inventory handed to the comparison file's button is
        // told by its bytes.
        QTest::newRow("json through the comparison button")
            << QStringList{u"L file proof.json"_qs, u"R details press.json"_qs} << u"given"_qs << 0 << byIdentity
            << formsRow << forms << QString() << QString() << u"左の版 ("_qs + proofTitle + u')'
            << u"左: "_qs + proofTitle;
        QTest::newRow("detailed and a comparison file")
            << QStringList{u"L details proof.json"_qs, u"R file old.gfc"_qs} << u"given"_qs << 0 << bySize
            << QStringList{u"D"_qs, u"10"_qs, QString()} << differs << gfcNote << QString()
            << u"左のサイズ ("_qs + proofTitle + u')' << gfcNote;
        // Against a detailed side this computer is read in detail, whichever
        // was chosen first.
        QTest::newRow("this computer, then a detailed file")
            << QStringList{u"R machine"_qs, u"L details proof.json"_qs} << u"given"_qs << 1 << byIdentity
            << formsRow << forms << QString() << QString() << u"左の版 ("_qs + proofTitle + u')'
            << u"左: "_qs + proofTitle;
        QTest::newRow("a detailed file, then this computer")
            << QStringList{u"L details proof.json"_qs, u"R machine"_qs} << u"given"_qs << 1 << byIdentity
            << formsRow << forms << QString() << QString() << u"左の版 ("_qs + proofTitle + u')'
            << u"左: "_qs + proofTitle;
        // A comparison file on the other side: this computer's names and
        // sizes are enough, and nothing is read in detail.
        QTest::newRow("this computer against a comparison file")
            << QStringList{u"L file old.gfc"_qs, u"R machine"_qs} << u"given"_qs << 0 << QList<int>{0, 0, 0, 3}
            << QStringList{} << u"左と右のフォント構成は同じです。"_qs << u"左と右のフォント構成は同じです。"_qs
            << QString() << u"左のサイズ (old.gfc)"_qs << u"左: old.gfc（3 個）"_qs;
        QTest::newRow("reading this computer stopped")
            << QStringList{u"R machine"_qs, u"L details proof.json"_qs} << u"cancelled"_qs << 1 << bySize
            << QStringList{u"D"_qs} << differs
            << machineNote + u"「このコンピュータ」を押し直すと、ファイルの中身で比べます。"_qs << QString()
            << u"左のサイズ ("_qs + proofTitle + u')' << machineNote + u"「このコンピュータ」を押し直すと、ファイルの中身で比べます。"_qs;
        QTest::newRow("no detailed inventory of this computer")
            << QStringList{u"L details proof.json"_qs, u"R machine"_qs} << u"none"_qs << 0 << bySize
            << QStringList{u"D"_qs} << differs << machineNote << QString() << u"左のサイズ ("_qs + proofTitle + u')'
            << machineNote;
        // A damaged inventory is named with the reason, and the side keeps
        // what it showed.
        QTest::newRow("a cut inventory")
            << QStringList{u"L details proof.json"_qs, u"R details press.json"_qs, u"L details cut.json"_qs}
            << u"given"_qs << 0 << byIdentity << formsRow << forms << QString()
            << u"cut.json」が途中で切れています（最後まで書かれていません）。"_qs << u"左の版 ("_qs + proofTitle + u')'
            << u"左: "_qs + proofTitle;
        QTest::newRow("not an inventory") << QStringList{u"R machine"_qs, u"L details other.json"_qs} << u"given"_qs
                                          << 0 << QList<int>{0, 0, 0, 0} << QStringList{}
                                          << u"左と右に、このコンピュータかフォント名比較ファイルを選んでください。"_qs
                                          << QString() << u"other.json」は Glyfaro 2 の詳しいフォント構成ファイルではありません。"_qs
                                          << QString() << QString();
    }

    void sideKinds()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, provider);
        QFETCH(int, detailsAsked);
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, firstRow);
        QFETCH(QString, summaryStart);
        QFETCH(QString, summaryEnd);
        QFETCH(QString, box);
        QFETCH(QString, savedHeading);
        QFETCH(QString, printedLine);
        write(u"proof.json"_qs, InventoryJson(proofMachine()));
        write(u"press.json"_qs, InventoryJson(pressMachine(u"press-rip"_qs)));
        write(u"cut.json"_qs, InventoryJson(pressMachine(u"press-rip"_qs)).first(200));
        write(u"other.json"_qs, "{\"fonts\": []}");
        write(u"old.gfc"_qs, fileOf({u"A"_qs, u"B"_qs, u"C"_qs}, 10));
        int asked = 0;
        if (provider != u"none") {
            m_window->setMachineDetails([&asked, provider]() -> std::optional<DetailedInventory> {
                ++asked;
                if (provider == u"cancelled")
                    return std::nullopt;
                return pressMachine(u"this-pc"_qs);
            });
        }
        QSignalSpy saved(m_window.get(), &InventoryWindow::saveRequested);
        QSignalSpy printed(m_window.get(), &InventoryWindow::printRequested);

        for (const QString& step : std::as_const(steps)) {
            const QStringList parts = step.split(u' ');
            const auto side = parts.at(0) == u"L" ? InventoryWindow::Left : InventoryWindow::Right;
            if (parts.size() > 2)
                m_dialogs->fileAnswers.push_back(m_files.filePath(parts.at(2)));
            QPushButton* button = parts.at(1) == u"machine" ? m_window->MachineButton[side]
                                  : parts.at(1) == u"file"  ? m_window->FileButton[side]
                                                            : m_window->DetailsButton[side];
            QTest::mouseClick(button, Qt::LeftButton);
        }

        QCOMPARE(asked, detailsAsked);
        QVERIFY(m_dialogs->fileAnswers.empty());
        for (const platform::FileDialogRequest& request : std::as_const(m_dialogs->fileRequests)) {
            if (request.title == u"詳しいフォント構成を開く")
                QCOMPARE(request.filter, u"詳しいフォント構成 (*.json)|*.json|すべてのファイル (*.*)|*.*"_qs);
        }
        QCOMPARE(m_dialogs->boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QVERIFY2(m_dialogs->boxes.first().text.endsWith(box), qPrintable(m_dialogs->boxes.first().text));
            QVERIFY(m_dialogs->boxes.first().text.startsWith(u"ファイル「"_qs + m_files.path()));
            QCOMPARE(m_dialogs->boxes.first().style, int(platform::MbCritical));
        }

        const bool identity = counts.size() == 6;
        QCOMPARE(m_window->byIdentity(), identity);
        QTabWidget* tabs = identity ? m_window->IdentityTabs : m_window->Groups;
        QCOMPARE(m_window->Pages->currentWidget(), tabs);
        for (int group = 0; group < counts.size(); ++group) {
            const auto list = qobject_cast<QTreeView*>(tabs->widget(group));
            QCOMPARE(rows(list), counts.at(group));
            QVERIFY(tabs->tabText(group).endsWith(u"（"_qs + QString::number(counts.at(group))
                                                  + (identity ? u" 書体）"_qs : u" 個）"_qs)));
        }
        if (identity) {
            // The first group that holds anything is in front; the glyph
            // forms' tab stands out when it does.
            QCOMPARE(m_window->IdentityTabs->tabToolTip(0), u"字形が違う"_qs);
            QCOMPARE(m_window->IdentityTabs->tabBar()->tabTextColor(0).isValid(), counts.first() > 0);
        }
        if (!firstRow.isEmpty()) {
            const auto list = qobject_cast<QTreeView*>(tabs->currentWidget());
            QCOMPARE(rowOf(list->model(), 0, firstRow.size()), firstRow);
        }
        QVERIFY2(m_window->Summary->text().startsWith(summaryStart), qPrintable(m_window->Summary->text()));
        QVERIFY2(m_window->Summary->text().endsWith(summaryEnd), qPrintable(m_window->Summary->text()));

        QTest::mouseClick(m_window->SaveButton, Qt::LeftButton);
        QTest::mouseClick(m_window->PrintButton, Qt::LeftButton);
        QCOMPARE(saved.count(), savedHeading.isEmpty() ? 0 : 1);
        QCOMPARE(printed.count(), printedLine.isEmpty() ? 0 : 1);
        if (!savedHeading.isEmpty()) {
            const auto table = saved.first().at(0).value<QList<QStringList>>();
            QCOMPARE(table.first().at(2), savedHeading);
            qsizetype listed = 0;
            for (const int count : std::as_const(counts))
                listed += count;
            QCOMPARE(table.size(), 1 + listed);
            QCOMPARE(printed.first().at(0).toStringList().at(1), printedLine);
        }
    }

    // Many machines' inventories chosen at once make one table: a row a
    // font that differs, a column a machine, each cell in words.
    void machinesThroughTheirButton()
    {
        const QList<FaceRecord> usual{face(u"本文明朝"_qs, u"Regular"_qs, u"a1"_qs, u"1.00"_qs),
                                      face(u"見出ゴシック"_qs, u"Bold"_qs, u"b1"_qs, u"2.0"_qs),
                                      face(u"丸ゴ"_qs, u"Regular"_qs, u"e1"_qs, u"1.0"_qs),
                                      face(u"隷書"_qs, u"Regular"_qs, u"f1"_qs, u"1.0"_qs)};
        QList<FaceRecord> sales = usual;
        sales[1] = face(u"見出ゴシック"_qs, u"Bold"_qs, u"b2"_qs, u"2.1"_qs);
        QList<FaceRecord> studio = usual;
        studio[0] = face(u"本文明朝"_qs, u"Regular"_qs, u"a2"_qs, u"1.00"_qs, u"JIS90"_qs);
        studio.removeAt(2);
        const QStringList paths{write(u"総務-PC01.json"_qs, InventoryJson(machine(u"総務-PC01"_qs, usual))),
                                write(u"営業-PC02.json"_qs, InventoryJson(machine(u"営業-PC02"_qs, sales))),
                                // No machine name: the file's name stands for it.
                                write(u"制作-MAC03.json"_qs, InventoryJson(machine(QString(), studio)))};
        QSignalSpy opened(m_window.get(), &InventoryWindow::machineReportOpened);
        m_dialogs->filesAnswers.push_back(paths);
        QTest::mouseClick(m_window->MachinesButton, Qt::LeftButton);
        QCOMPARE(m_dialogs->fileRequests.size(), 1);
        QCOMPARE(m_dialogs->fileRequests.first().filter, u"詳しいフォント構成 (*.json)|*.json|すべてのファイル (*.*)|*.*"_qs);
        QVERIFY(m_dialogs->boxes.isEmpty());
        QCOMPARE(opened.count(), 1);
        const auto window = opened.first().at(0).value<MachineReportWindow*>();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->parentWidget(), m_window.get());
        QCOMPARE(window->windowTitle(), u"複数のコンピュータの比較（3 台）"_qs);
        QCOMPARE(window->Summary->text().split(u'\n').first(), u"3 台中 1 台で字形が違うフォント: 1 書体"_qs);
        QVERIFY(window->Summary->text().endsWith(u"全台で同じフォント: 1 書体（一覧には載せていません）"_qs));

        // The glyph forms first; each cell names its state in words, and
        // those that differ are coloured too.
        const QAbstractItemModel* table = window->Table->model();
        const auto heading = [table] {
            QStringList names;
            for (int column = 0; column < table->columnCount(); ++column)
                names << table->headerData(column, Qt::Horizontal).toString();
            return names;
        };
        QCOMPARE(heading(), (QStringList{u"フォント"_qs, u"多数の版"_qs, u"総務-PC01"_qs, u"営業-PC02"_qs, u"制作-MAC03"_qs}));
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(rowOf(table, 0, 5),
                 (QStringList{u"本文明朝 Regular"_qs, u"1.00"_qs, u"1.00"_qs, u"1.00"_qs, u"字形: JIS90 (1.00)"_qs}));
        QStringList cells;
        for (int row = 1; row < table->rowCount(); ++row)
            cells << rowOf(table, row, 5).join(u'|');
        cells.sort();
        QCOMPARE(cells, (QStringList{u"丸ゴ Regular|1.0|1.0|1.0|なし"_qs, u"見出ゴシック Bold|2.0|2.0|版: 2.1|2.0"_qs}));
        QVERIFY(table->index(0, 4).data(Qt::BackgroundRole).value<QColor>().isValid());
        QVERIFY(!table->index(0, 2).data(Qt::BackgroundRole).isValid());
        QVERIFY(table->index(0, 4).data(Qt::ToolTipRole).toString().contains(u"JIS90 と JIS2004 で字形が違う"_qs));

        QTest::mouseClick(window->ShowAll, Qt::LeftButton);
        QCOMPARE(table->rowCount(), 4);
        QVERIFY(!window->Summary->text().contains(u"一覧には載せていません"_qs));
        QSignalSpy saved(window, &MachineReportWindow::saveRequested);
        QSignalSpy html(window, &MachineReportWindow::htmlSaveRequested);
        QSignalSpy printed(window, &MachineReportWindow::printRequested);
        QTest::mouseClick(window->CsvButton, Qt::LeftButton);
        QTest::mouseClick(window->HtmlButton, Qt::LeftButton);
        QTest::mouseClick(window->PrintButton, Qt::LeftButton);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.first().at(0).value<QList<QStringList>>().size(), 1 + 4);
        QCOMPARE(saved.first().at(1).toString(), u"複数のコンピュータの比較.csv"_qs);
        QCOMPARE(html.count(), 1);
        QVERIFY(html.first().at(0).toByteArray().contains(u"<td class=\"forms\""_qs.toUtf8()));
        QCOMPARE(html.first().at(1).toString(), u"複数のコンピュータの比較.html"_qs);
        QCOMPARE(printed.count(), 1);
        QVERIFY(printed.first().at(0).toStringList().first().startsWith(u"3 台中 1 台で字形が違う"_qs));
    }

    // A file that cannot be compared with the others is named, and no
    // report opens.
    void machinesRefused_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("box");

        QTest::newRow("a comparison file") << QStringList{u"a.json"_qs, u"old.gfc"_qs} << int(platform::MbCritical)
                                           << u"old.gfc」はフォント比較用ファイル（.gfc）です。"_qs;
        QTest::newRow("a file gone") << QStringList{u"a.json"_qs, u"gone.json"_qs} << int(platform::MbCritical)
                                     << u"gone.json」を読み込めませんでした。"_qs;
        QTest::newRow("a cut inventory") << QStringList{u"a.json"_qs, u"cut.json"_qs} << int(platform::MbCritical)
                                         << u"cut.json」が途中で切れています"_qs;
        QTest::newRow("one machine") << QStringList{u"a.json"_qs} << int(platform::MbInformation)
                                     << u"詳しいフォント構成ファイルを 2 つ以上選んでください。"_qs;
    }

    void machinesRefused()
    {
        QFETCH(QStringList, names);
        QFETCH(int, style);
        QFETCH(QString, box);
        write(u"a.json"_qs, InventoryJson(proofMachine()));
        write(u"cut.json"_qs, InventoryJson(proofMachine()).first(120));
        write(u"old.gfc"_qs, fileOf({u"A"_qs}, 10));
        QFile::remove(m_files.filePath(u"gone.json"_qs));
        QStringList paths;
        for (const QString& name : std::as_const(names))
            paths << m_files.filePath(name);
        QSignalSpy opened(m_window.get(), &InventoryWindow::machineReportOpened);
        m_dialogs->filesAnswers.push_back(paths);
        QTest::mouseClick(m_window->MachinesButton, Qt::LeftButton);
        QCOMPARE(opened.count(), 0);
        QVERIFY(m_window->findChildren<MachineReportWindow*>().isEmpty());
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes.first().style, style);
        QVERIFY2(m_dialogs->boxes.first().text.contains(box), qPrintable(m_dialogs->boxes.first().text));
    }

private:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir m_files;
    Settings m_settings;
    FontSet m_machine{ThisMachineTitle, {u"A"_qs, u"B"_qs, u"C"_qs}, {10, 10, 10}};
    int m_machineAsked = 0;
    std::unique_ptr<FakeDialogs> m_dialogs;
    std::unique_ptr<InventoryWindow> m_window;
};

QTEST_MAIN(InventoryWindowTest)
#include "tst_inventorywindow.moc"

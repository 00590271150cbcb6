#include "formats/ComparisonFile.h"
#include "inventory/InventoryWindow.h"

#include "support/FakeDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
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

private:
    QTemporaryDir m_files;
    Settings m_settings;
    FontSet m_machine{ThisMachineTitle, {u"A"_qs, u"B"_qs, u"C"_qs}, {10, 10, 10}};
    int m_machineAsked = 0;
    std::unique_ptr<FakeDialogs> m_dialogs;
    std::unique_ptr<InventoryWindow> m_window;
};

QTEST_MAIN(InventoryWindowTest)
#include "tst_inventorywindow.moc"

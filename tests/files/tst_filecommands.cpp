#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "files/FileCommands.h"
#include "files/Form8.h"
#include "files/Form9.h"

#include "support/TestPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace platform;

namespace {

const QString WindowsKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
const QString FontsKey = WindowsKey + QStringLiteral("\\Fonts");

const QByteArray ThreeNames = QByteArray::fromHex(
    "474643FE000200010041000A000000FE0002000100826100000000FE000400020043630000"
    "2C010000FF00");

// Names A, Ｂ and Cc; the files of A and Cc are 10 and 300 bytes long, Ｂ's
// file is unknown.
struct Fixture {
    TestPlatform test;
    QTemporaryDir folder;
    QTemporaryDir work;
    FontCatalog catalog;
    std::unique_ptr<FontFileLookup> lookup;
    QWidget mainWindow;
    std::unique_ptr<Form8> form8;
    Settings settings;
    std::unique_ptr<FileCommands> commands;

    explicit Fixture(const QStringList& names = {u"A"_qs, u"Ｂ"_qs, u"Cc"_qs})
    {
        test.system.fonts = folder.path();
        test.fonts.names = names;
        test.registry.addKey(RootKey::LocalMachine, FontsKey);
        addFile(u"A (TrueType)"_qs, u"a.ttf"_qs, 10);
        addFile(u"Cc (TrueType)"_qs, u"cc.ttf"_qs, 300);
        BuildFontCatalog(catalog, test.platform, WindowsKey, {});
        // The order the test gives, whatever the collation of the test's
        // locale makes of it.
        catalog.AllFontNames = names;
        lookup = std::make_unique<FontFileLookup>(catalog, test.platform, WindowsKey);
        form8 = std::make_unique<Form8>(catalog.AllFontNames);
        settings.CurrentFileCSV = u"/opt/glyfaro/*.csv"_qs;
        settings.CurrentFileGFC = u"/opt/glyfaro/*.gfc"_qs;
        commands = std::make_unique<FileCommands>(catalog.AllFontNames, *lookup, settings, test.dialogs,
                                                  *form8, &mainWindow);
        // The shell shows and hides the window's frame; here the form is
        // its own window.
        QObject::connect(commands.get(), &FileCommands::comparisonWindowShowRequested, form8.get(),
                         &QWidget::show);
        QObject::connect(commands.get(), &FileCommands::comparisonWindowHideRequested, form8.get(),
                         &QWidget::hide);
    }

    void addFile(const QString& entry, const QString& name, qint64 size)
    {
        test.registry.put(RootKey::LocalMachine, FontsKey, entry, name);
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }

    QString path(const QString& name) const { return work.filePath(name); }

    QByteArray run(int index, const QString& answer)
    {
        test.dialogs.fileAnswers.push_back(answer);
        commands->File_Click(index);
        QFile file(answer);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void dialogSetUp_data();
    void dialogSetUp();
    void cancelLeavesEverything_data();
    void cancelLeavesEverything();
    void savesTheThreeNameExample();
    void exportsTheCsv();
    void savesAnotherWindowsTable();
    void addsTheExtensionWhenNoneWasTyped_data();
    void addsTheExtensionWhenNoneWasTyped();
    void loadsASavedFile();
    void loadReplacesTheFileSide();
    void damagedFiles_data();
    void damagedFiles();
    void unreadableFiles_data();
    void unreadableFiles();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void fullDiskKeepsTheOldFile();
    void tellsHowManyNamesWereSubstituted();
    void secondCommandIsRefused();
    void progressWindow();
};

void TestFileCommands::dialogSetUp_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("preset");

    const QString gfc = u"Glyfaro 2 用フォント比較ファイル (*.gfc)|*.gfc|"_qs;
    QTest::newRow("load") << 5 << true << 4096 << u"フォント比較用ファイルを読み込む"_qs << gfc
                          << u"/opt/glyfaro/*.gfc"_qs;
    QTest::newRow("csv") << 7 << false << 2 << u"全てのフォント名をファイルに保存"_qs
                         << u"カンマ区切り形式 (*.csv)|*.csv|"_qs << u"/opt/glyfaro/*.csv"_qs;
    QTest::newRow("save") << 8 << false << 2 << u"フォント比較用ファイルを保存"_qs << gfc
                          << u"/opt/glyfaro/*.gfc"_qs;
}

void TestFileCommands::dialogSetUp()
{
    QFETCH(int, index);
    QFETCH(int, flags);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(QString, preset);

    Fixture fixture;
    fixture.commands->File_Click(index);
    QCOMPARE(fixture.test.dialogs.fileRequests.size(), 1);
    const FileDialogRequest& request = fixture.test.dialogs.fileRequests.first();
    QCOMPARE(request.flags, flags);
    QCOMPARE(request.title, title);
    QCOMPARE(request.filter, filter);
    QCOMPARE(request.fileName, preset);
}

void TestFileCommands::cancelLeavesEverything_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("load") << 5;
    QTest::newRow("csv") << 7;
    QTest::newRow("save") << 8;
}

void TestFileCommands::cancelLeavesEverything()
{
    QFETCH(int, index);
    Fixture fixture;
    fixture.form8->setFileNames({u"Kept"_qs});
    fixture.form8->show();
    QSignalSpy hidden(fixture.commands.get(), &FileCommands::comparisonWindowHideRequested);
    fixture.test.dialogs.fileAnswers.push_back(std::nullopt);
    QVERIFY(fixture.commands->File_Click(index));
    QCOMPARE(fixture.settings.CurrentFileCSV, u"/opt/glyfaro/*.csv"_qs);
    QCOMPARE(fixture.settings.CurrentFileGFC, u"/opt/glyfaro/*.gfc"_qs);
    QCOMPARE(hidden.count(), 0);
    QVERIFY(fixture.form8->isVisible());
    QCOMPARE(fixture.form8->fileNames(), QStringList{u"Kept"_qs});
    QVERIFY(fixture.test.dialogs.boxes.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestFileCommands::savesTheThreeNameExample()
{
    Fixture fixture;
    QCOMPARE(fixture.catalog.AllFontNames, (QStringList{u"A"_qs, u"Ｂ"_qs, u"Cc"_qs}));
    const QString target = fixture.path(u"fonts.gfc"_qs);
    QCOMPARE(fixture.run(8, target).toHex(' '), ThreeNames.toHex(' '));
    QCOMPARE(fixture.settings.CurrentFileGFC, target);
    QVERIFY(fixture.test.dialogs.boxes.isEmpty());
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(fixture.work.path()).entryList(QDir::Files), QStringList{u"fonts.gfc"_qs});
}

void TestFileCommands::exportsTheCsv()
{
    Fixture fixture({u"A"_qs, u"Ｂ"_qs});
    const QString target = fixture.path(u"all.csv"_qs);
    const QByteArray bytes = fixture.run(7, target);
    QCOMPARE(fixture.settings.CurrentFileCSV, target);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 5); // four lines, each ended by CR LF
    QCOMPARE(lines.at(1), "1,A,10," + QFile::encodeName(fixture.folder.filePath(u"a.ttf"_qs)) + "\r");
    QCOMPARE(lines.at(2), QByteArray("2,\x82\x61,0,\x95\x73\x96\xBE\r"));
    QCOMPARE(lines.at(3), QByteArray("EOF\r"));
    QVERIFY(lines.at(4).isEmpty());
}

void TestFileCommands::savesAnotherWindowsTable()
{
    // The coverage report's rows, in the export's form: quoted where needed,
    // code page 932, CR LF, EOF; the dialog offers the name in the CSV folder.
    Fixture fixture;
    const QString target = fixture.path(u"report"_qs);
    fixture.test.dialogs.fileAnswers.push_back(target);
    QVERIFY(fixture.commands->saveTable(u"保存"_qs, u"IPAゴシック.csv"_qs, {{u"a,b"_qs, u"亜"_qs}, {u"U+20BB7"_qs}}));
    QCOMPARE(fixture.test.dialogs.fileRequests.first().fileName, u"/opt/glyfaro/IPAゴシック.csv"_qs);
    QCOMPARE(readFile(target + u".csv"_qs), QByteArray("\"a,b\",\x88\x9F\r\nU+20BB7\r\nEOF\r\n"));
    QVERIFY(FileCommands::fitsFile(U'亜') && !FileCommands::fitsFile(U'\U00020BB7'));
}

void TestFileCommands::addsTheExtensionWhenNoneWasTyped_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    QTest::newRow("comparison") << 8 << u"fonts"_qs << u"fonts.gfc"_qs;
    QTest::newRow("csv") << 7 << u"fonts"_qs << u"fonts.csv"_qs;
    QTest::newRow("own extension kept") << 8 << u"fonts.dat"_qs << u"fonts.dat"_qs;
    QTest::newRow("extension typed") << 7 << u"fonts.csv"_qs << u"fonts.csv"_qs;
}

void TestFileCommands::addsTheExtensionWhenNoneWasTyped()
{
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    Fixture fixture;
    fixture.run(index, fixture.path(typed));
    QVERIFY(QFile::exists(fixture.path(written)));
    const QString stored = index == 7 ? fixture.settings.CurrentFileCSV : fixture.settings.CurrentFileGFC;
    QCOMPARE(stored, fixture.path(written));
}

void TestFileCommands::loadsASavedFile()
{
    Fixture fixture;
    const QString target = fixture.path(u"round.gfc"_qs);
    fixture.run(8, target);
    fixture.run(5, target);
    QCOMPARE(fixture.settings.CurrentFileGFC, target);
    QCOMPARE(fixture.form8->fileNames(), (QStringList{u"A"_qs, u"Ｂ"_qs, u"Cc"_qs}));
    QCOMPARE(fixture.form8->Label4[1]->text(), u"総数: 3 個"_qs);
    QCOMPARE(fixture.form8->installedNames(), fixture.catalog.AllFontNames);
    QVERIFY(fixture.form8->isVisible());
    QVERIFY(fixture.test.dialogs.boxes.isEmpty());
}

void TestFileCommands::loadReplacesTheFileSide()
{
    Fixture fixture;
    const QString target = fixture.path(u"other.gfc"_qs);
    writeFile(target, QByteArray::fromHex("474643 FE00 0400 0200 5A7A0000 01000000 FF00"));
    fixture.form8->setFileNames({u"Old"_qs, u"Older"_qs});
    fixture.form8->Command1_Click();
    QCOMPARE(fixture.form8->results().size(), 0);
    fixture.form8->Option1[1]->setChecked(true);
    fixture.form8->Command1_Click();
    QCOMPARE(fixture.form8->results().size(), 2);
    QCOMPARE(fixture.form8->Label2->text(), u"総数: 2 個"_qs);
    fixture.form8->show();
    QSignalSpy hidden(fixture.commands.get(), &FileCommands::comparisonWindowHideRequested);

    fixture.run(5, target);
    QCOMPARE(hidden.count(), 1);
    QVERIFY(fixture.form8->isVisible());
    QCOMPARE(fixture.form8->fileNames(), QStringList{u"Zz"_qs});
    QVERIFY(fixture.form8->results().isEmpty());
    // The count beside the emptied list says so.
    QCOMPARE(fixture.form8->Label2->text(), u"総数: 0 個"_qs);
}

void TestFileCommands::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("message");

    QTest::newRow("a CSV export") << QByteArray("Index,\x83\x74\r\n1,A,10,/a\r\nEOF\r\n") << QStringList() << true;
    QTest::newRow("empty file") << QByteArray() << QStringList() << true;
    QTest::newRow("magic and end marker") << QByteArray("GFC\xFF\x00", 5) << QStringList() << false;
    QTest::newRow("bad marker after two records")
        << (ThreeNames.left(27) + QByteArray::fromHex("0100 0400 0200 43630000 2C010000 FF00")) << QStringList()
        << true;
    QTest::newRow("invalid code page 932")
        << (ThreeNames.left(27) + QByteArray::fromHex("FE00 0400 0200 81FF0000 2C010000 FF00")) << QStringList()
        << true;
    QTest::newRow("cut inside a record") << ThreeNames.left(35) << QStringList{u"A"_qs, u"Ｂ"_qs} << true;
    QTest::newRow("length past the end")
        << (ThreeNames.left(27) + QByteArray::fromHex("FE00 0001 8000 4363")) << QStringList{u"A"_qs, u"Ｂ"_qs}
        << true;
    QTest::newRow("no end marker") << ThreeNames.left(41) << QStringList{u"A"_qs, u"Ｂ"_qs, u"Cc"_qs} << false;
}

void TestFileCommands::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(bool, message);

    Fixture fixture;
    const QString target = fixture.path(u"damaged.gfc"_qs);
    writeFile(target, bytes);
    fixture.run(5, target);
    if (message) {
        QCOMPARE(fixture.test.dialogs.boxes.size(), 1);
        QCOMPARE(fixture.test.dialogs.boxes.first().text, u"ファイルが壊れています"_qs);
    } else {
        QVERIFY(fixture.test.dialogs.boxes.isEmpty());
    }
    QCOMPARE(fixture.form8->fileNames(), names);
    QCOMPARE(fixture.form8->Label4[1]->text(), u"総数: %1 個"_qs.arg(names.size()));
    QCOMPARE(fixture.form8->installedNames().size(), 3);
    QVERIFY(fixture.form8->isVisible());
}

void TestFileCommands::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << u"missing.gfc"_qs << u"ファイルまたはフォルダが見つかりません。"_qs;
    QTest::newRow("directory") << u"folder.gfc"_qs << u"ファイルではありません（フォルダです）。"_qs;
}

void TestFileCommands::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    Fixture fixture;
    QVERIFY(QDir(fixture.work.path()).mkdir(u"folder.gfc"_qs));
    fixture.form8->setFileNames({u"Kept"_qs});
    fixture.form8->show();
    fixture.run(5, fixture.path(name));
    QCOMPARE(fixture.test.dialogs.boxes.size(), 1);
    const FakeDialogs::Box& box = fixture.test.dialogs.boxes.first();
    QCOMPARE(box.title, u"Glyfaro 2"_qs);
    QCOMPARE(box.style, int(MbCritical));
    QVERIFY2(box.text.contains(fixture.path(name)), qPrintable(box.text));
    QVERIFY2(box.text.endsWith(u"\r\r"_qs + reason), qPrintable(box.text));
    // The path is still the next preset, and the window is as it was.
    QCOMPARE(fixture.settings.CurrentFileGFC, fixture.path(name));
    QCOMPARE(fixture.form8->fileNames(), QStringList{u"Kept"_qs});
    QVERIFY(fixture.form8->isVisible());
}

void TestFileCommands::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("case_");
    QTest::addColumn<QString>("reason");
    const QString denied = u"アクセスする権限がありません。"_qs;
    QTest::newRow("write-protected comparison file") << 8 << u"protected"_qs << denied;
    QTest::newRow("write-protected csv") << 7 << u"protected"_qs << denied;
    QTest::newRow("missing folder") << 8 << u"missing"_qs << u"ファイルまたはフォルダが見つかりません。"_qs;
    QTest::newRow("target is a folder") << 8 << u"folder"_qs << u"ファイルではありません（フォルダです）。"_qs;
}

void TestFileCommands::failedSaveKeepsTheOldFile()
{
    QFETCH(int, index);
    QFETCH(QString, case_);
    QFETCH(QString, reason);
    Fixture fixture;
    QString target = fixture.path(u"old.gfc"_qs);
    const QByteArray old("precious contents");
    writeFile(target, old);
    if (case_ == u"protected")
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    else if (case_ == u"missing")
        target = fixture.path(u"no/such/folder/new.gfc"_qs);
    else
        QVERIFY(QDir(fixture.work.path()).mkdir(target = fixture.path(u"dir.gfc"_qs)));

    fixture.run(index, target);
    QCOMPARE(fixture.test.dialogs.boxes.size(), 1);
    const FakeDialogs::Box& box = fixture.test.dialogs.boxes.first();
    QCOMPARE(box.title, u"Glyfaro 2"_qs);
    QCOMPARE(box.style, int(MbCritical));
    QVERIFY2(box.text.contains(target), qPrintable(box.text));
    QVERIFY2(box.text.endsWith(u"\r\r"_qs + reason), qPrintable(box.text));
    QCOMPARE(readFile(fixture.path(u"old.gfc"_qs)), old);
    QVERIFY(!QFile::exists(fixture.path(u"no"_qs)));
    QCOMPARE(QDir(fixture.work.path()).entryList(QDir::Files).size(), 1);
}

void TestFileCommands::fullDiskKeepsTheOldFile()
{
    // A file size limit makes writes fail as a full disk does, for this
    // process only.
    Fixture fixture(QStringList(400, u"A"_qs));
    const QString target = fixture.path(u"big.gfc"_qs);
    const QByteArray old(600, 'x');
    writeFile(target, old);

    struct rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    fixture.run(8, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QCOMPARE(fixture.test.dialogs.boxes.size(), 1);
    QCOMPARE(fixture.test.dialogs.boxes.first().style, int(MbCritical));
    QVERIFY2(fixture.test.dialogs.boxes.first().text.contains(u"File too large"_qs),
             qPrintable(fixture.test.dialogs.boxes.first().text));
    QCOMPARE(readFile(target), old);
    QCOMPARE(QDir(fixture.work.path()).entryList(QDir::Files), QStringList{u"big.gfc"_qs});
}

void TestFileCommands::tellsHowManyNamesWereSubstituted()
{
    Fixture fixture({u"A"_qs, u"Wave 〜"_qs, u"Smile 😀"_qs});
    const QString target = fixture.path(u"subst.gfc"_qs);
    fixture.run(8, target);
    QCOMPARE(fixture.test.dialogs.boxes.size(), 1);
    QCOMPARE(fixture.test.dialogs.boxes.first().style, int(MbExclamation));
    QVERIFY(fixture.test.dialogs.boxes.first().text.startsWith(u"2 個のフォント名"_qs));

    // The file is whole and loads with all three records.
    fixture.test.dialogs.boxes.clear();
    fixture.run(5, target);
    QVERIFY(fixture.test.dialogs.boxes.isEmpty());
    QCOMPARE(fixture.form8->fileNames().size(), 3);
    QCOMPARE(fixture.form8->fileNames().first(), u"A"_qs);
}

void TestFileCommands::secondCommandIsRefused()
{
    Fixture fixture;
    const QString target = fixture.path(u"no/folder/x.gfc"_qs);
    bool refused = false;
    // The error box is shown while the first command still runs.
    fixture.test.dialogs.onBox = [&](const FakeDialogs::Box&) {
        fixture.test.dialogs.fileAnswers.push_back(fixture.path(u"second.gfc"_qs));
        refused = !fixture.commands->File_Click(8);
    };
    fixture.run(8, target);
    QVERIFY(refused);
    QCOMPARE(fixture.test.dialogs.fileRequests.size(), 1);
    QVERIFY(!QFile::exists(fixture.path(u"second.gfc"_qs)));
    // Once it has ended, the next command runs.
    fixture.test.dialogs.onBox = {};
    QVERIFY(fixture.commands->File_Click(8));
    QVERIFY(QFile::exists(fixture.path(u"second.gfc"_qs)));
}

void TestFileCommands::progressWindow()
{
    // One font: the bar still has a valid range.
    Fixture fixture({u"A"_qs});
    fixture.mainWindow.setGeometry(300, 200, 800, 600);
    fixture.mainWindow.show();
    QString caption;
    QString label;
    int maximum = -1;
    QPoint centreOffset;
    fixture.test.dialogs.onBox = [&](const FakeDialogs::Box&) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto progress = qobject_cast<Form9*>(widget); progress && progress->isVisible()) {
                caption = progress->windowTitle();
                label = progress->Label1->text();
                maximum = progress->ProgBar1->maximum();
                centreOffset = progress->frameGeometry().center() - fixture.mainWindow.frameGeometry().center();
            }
        }
    };
    const QString target = fixture.path(u"bad.gfc"_qs);
    writeFile(target, QByteArray("GFC\x01\x00", 5));
    fixture.run(5, target);
    QCOMPARE(caption, u"ファイル読み込み"_qs);
    QCOMPARE(label, u"bad.gfc から読み込み中..."_qs);
    QVERIFY(maximum >= 5);
    QVERIFY2(std::abs(centreOffset.x()) <= 1 && std::abs(centreOffset.y()) <= 1,
             qPrintable(u"%1,%2"_qs.arg(centreOffset.x()).arg(centreOffset.y())));
    // No progress window is left once the load has ended.
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<Form9*>(widget));
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"

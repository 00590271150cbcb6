// Damaged font files and hostile family names in the installed fonts: the
// program starts, every window shows those fonts (or "不明") and keeps its
// layout, and the files written from the list read back.

#include "FakeDialogs.h"
#include "FakePrinters.h"
#include "RecordingPrinter.h"
#include "TestEnvironment.h"

#include "catalog/FontFileLookup.h"
#include "catalog/OneLineText.h"
#include "lists/Form1.h"
#include "lists/Form2.h"
#include "core/RegistryValues.h"
#include "core/SettingsStore.h"
#include "display/Form10.h"
#include "display/Form5.h"
#include "display/Form5Logic.h"
#include "formats/ComparisonFile.h"
#include "files/FileCommands.h"
#include "files/Form8.h"
#include "platform/HiveRegistry.h"
#include "desktop/DesktopPlatform.h"
#include "platform/TextConversion.h"
#include "printing/Printouts.h"
#include "fontinfo/CharacterMap.h"
#include "fontinfo/FontDetailsWindow.h"
#include "shell/MDIForm1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
// The lists are read through their common view interface only.
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

const QString HostileFontSet = QStringLiteral(GLYFARO_TEST_FONTS_HOSTILE);

struct HostileFont {
    QString file;
    QString fault;
    QString family; // empty: the file carries no usable font
};

QList<HostileFont> hostileFonts()
{
    QFile file(HostileFontSet + QStringLiteral("/hostile.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<HostileFont> fonts;
    for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject object = value.toObject();
        fonts.append({object.value(u"file").toString(), object.value(u"fault").toString(),
                      object.value(u"family").toString()});
    }
    return fonts;
}

QString familyOf(const QString& file)
{
    for (const HostileFont& font : hostileFonts()) {
        if (font.file == file)
            return font.family;
    }
    return {};
}

// What a list shows, row by row, whatever model stands behind it.
QStringList rowsOf(const QAbstractItemView* view)
{
    QStringList rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data(Qt::DisplayRole).toString();
    return rows;
}

int rowOf(const QAbstractItemView* view, const QString& text)
{
    return int(rowsOf(view).indexOf(text));
}

// The rectangle a row takes in the list, scrolled into sight first.
QRect rowRect(QAbstractItemView* view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    return view->visualRect(index);
}

// Every row of the list stands at the same left edge and is as high as an
// ordinary one-line row; a line break drawn inside a name would make its row
// taller, and a name that shifted the column would move the others.
void checkRowsKeepTheirPlace(QAbstractItemView* view, const QString& what, int ordinaryRow)
{
    const QRect ordinary = rowRect(view, ordinaryRow);
    QVERIFY2(ordinary.height() > 0, qPrintable(what));
    // What the row's text needs, whether or not the view gives every row the
    // same height.
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    const QModelIndex ordinaryIndex = view->model()->index(ordinaryRow, 0);
    const int ordinaryNeed = view->itemDelegateForIndex(ordinaryIndex)->sizeHint(option, ordinaryIndex).height();
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QRect rect = rowRect(view, row);
        const QModelIndex index = view->model()->index(row, 0);
        const QString text = index.data().toString().left(40);
        QVERIFY2(view->itemDelegateForIndex(index)->sizeHint(option, index).height() == ordinaryNeed,
                 qPrintable(QStringLiteral("%1: row %2 (%3) needs more than one line").arg(what).arg(row).arg(text)));
        QVERIFY2(rect.height() == ordinary.height(),
                 qPrintable(QStringLiteral("%1: row %2 (%3) is %4 px high, ordinary rows %5 px")
                                .arg(what).arg(row).arg(text).arg(rect.height()).arg(ordinary.height())));
        view->horizontalScrollBar()->setValue(0);
        QVERIFY2(rowRect(view, row).left() == rowRect(view, ordinaryRow).left(),
                 qPrintable(QStringLiteral("%1: row %2 (%3) moved sideways").arg(what).arg(row).arg(text)));
    }
}

// Pixels of an image that differ from its most common colour.
int inkPixels(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    int background = 0;
    for (int count : counts)
        background = std::max(background, count);
    return image.width() * image.height() - background;
}

// Geometry of every child widget, to compare a window with itself.
QList<QRect> childGeometry(const QWidget* window)
{
    QList<QRect> rects;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        rects << child->geometry();
    return rects;
}

// The preview's layout, less the samples' tops: a sample moves down to clear
// a tall heading, within its slot.
QList<QRect> previewLayout(const Form10* preview)
{
    QList<QRect> rects;
    for (const QWidget* child : preview->Picture1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool sample = std::find(preview->Label2.begin(), preview->Label2.end(), child) != preview->Label2.end();
        rects << (sample ? QRect(child->x(), 0, child->width(), child->height()) : child->geometry());
    }
    return rects;
}

} // namespace

class HostileFontsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void catalogueHoldsEveryReadableFont();
    void fileLabels_data();
    void fileLabels();
    void listWindowsKeepTheirRows();
    void listWindowsKeepTheirPlaces();
    void views_data();
    void views();
    void detailsAndCharacterMap_data();
    void detailsAndCharacterMap();
    void previewShowsEveryName();
    void comparisonFileReadsBack();
    void csvKeepsOneRecordPerFont();
    void commandLineToolWritesWhatTheViewerWrites();
    void printoutsKeepOneLinePerFont();

private:
    Form5* openFromForm1(const QString& name);

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<platform::PlatformServices> m_services;
    FakeDialogs m_dialogs;
    FakePrinters m_printers;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<MDIForm1> m_window;
};

void HostileFontsTest::initTestCase()
{
    QVERIFY2(hostileFonts().size() >= 6, qPrintable(HostileFontSet));
    m_environment = std::make_unique<TestEnvironment>();
    // A returning user: no welcome box.
    {
        platform::HiveRegistry registry(m_environment->configHome() + QStringLiteral("/glyfaro/user.reg"));
        EnsureSettingsKey(registry, SettingsPaths{QStringLiteral("/tmp"), QStringLiteral("/")}, [](int) {});
    }
    m_services = platform::createPlatform();
    platform::Platform& production = m_services->platform();
    m_platform = std::make_unique<platform::Platform>(
        platform::Platform{production.registry, production.system, production.fonts, m_dialogs, m_printers});
    m_window = std::make_unique<MDIForm1>(*m_platform);
    QCOMPARE(m_window->MDIForm_Load(), MDIForm1::LoadResult::Started);
    m_window->resize(1200, 900);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void HostileFontsTest::catalogueHoldsEveryReadableFont()
{
    const FontCatalog& catalog = m_window->catalog();
    // Neither message 2 nor the box about an inconsistent catalogue.
    for (const FakeDialogs::Box& box : m_dialogs.boxes)
        QFAIL(qPrintable(box.text));
    for (const HostileFont& font : hostileFonts()) {
        if (font.family.isEmpty()) {
            QVERIFY2(!catalog.AllFontNames.contains(font.file.section(u'.', 0, 0)), qPrintable(font.file));
            continue;
        }
        QVERIFY2(catalog.AllFontNames.count(font.family) == 1, qPrintable(font.fault));
    }
    QVERIFY(!catalog.AllFontNames.contains(QString()));
    QCOMPARE(catalog.FontTotal, catalog.AllFontNames.size());
    QCOMPARE(rowsOf(m_window->form1()->List2), catalog.AllFontNames);
    QCOMPARE(m_window->form8()->installedNames(), catalog.AllFontNames);
    QCOMPARE(familyOf(QStringLiteral("Long Synth.ttf")).size(), 300);
}

void HostileFontsTest::fileLabels_data()
{
    QTest::addColumn<QString>("file");
    for (const HostileFont& font : hostileFonts()) {
        if (!font.family.isEmpty())
            QTest::newRow(qPrintable(font.fault)) << font.file;
    }
}

void HostileFontsTest::fileLabels()
{
    QFETCH(QString, file);
    Form1* form = m_window->form1();
    const int row = rowOf(form->List2, familyOf(file));
    QVERIFY(row >= 0);
    form->List2->setCurrentIndex(form->List2->model()->index(row, 0));
    const QString path = HostileFontSet + QStringLiteral("/fonts/") + file;
    // The file is found, or the labels say it is unknown; never a wrong file.
    if (form->Label2[0]->text() != UnknownText) {
        QCOMPARE(form->Label2[0]->text(), path);
        QVERIFY(form->Label2[1]->text().startsWith(QString::number(QFileInfo(path).size())
                                                       .replace(QRegularExpression(QStringLiteral("(\\d)(?=(\\d{3})+$)")),
                                                                QStringLiteral("\\1,"))));
    } else {
        QCOMPARE(form->Label2[1]->text(), UnknownText);
    }
    // The label keeps its one line.
    QVERIFY(form->Label2[0]->height() <= form->Label1[0]->height() + 1);
}

void HostileFontsTest::listWindowsKeepTheirRows()
{
    m_window->View_Click(2);
    m_window->View_Click(3);
    Form1* form1 = m_window->form1();
    checkRowsKeepTheirPlace(form1->List2, QStringLiteral("Form1.List2"), 0);
    Form2* form2 = m_window->form2();
    for (int group = 0; group < IndexGroupCount; ++group) {
        if (form2->List1[std::size_t(group)]->model()->rowCount() > 0)
            checkRowsKeepTheirPlace(form2->List1[std::size_t(group)], QStringLiteral("Form2.List1(%1)").arg(group), 0);
    }
    checkRowsKeepTheirPlace(m_window->form8()->List1, QStringLiteral("Form8.List1"), 0);
}

void HostileFontsTest::listWindowsKeepTheirPlaces()
{
    // The same windows over a catalogue of ordinary names place every
    // control exactly where the hostile names leave them.
    FontCatalog plain = m_window->catalog();
    for (const HostileFont& font : hostileFonts()) {
        plain.AllFontNames.removeAll(font.family);
        for (FontIndex& group : plain.Groups)
            group.Names.removeAll(font.family);
    }
    FontFileLookup lookup(plain, *m_platform, QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    Form1 plainForm1(plain, lookup);
    Form2 plainForm2(plain);
    QCOMPARE(childGeometry(m_window->form1()), childGeometry(&plainForm1));
    QCOMPARE(childGeometry(m_window->form2()), childGeometry(&plainForm2));
    QCOMPARE(m_window->form1()->size(), plainForm1.size());
    QCOMPARE(m_window->form2()->size(), plainForm2.size());
}

Form5* HostileFontsTest::openFromForm1(const QString& name)
{
    m_window->View_Click(2);
    QAbstractItemView* list = m_window->form1()->List2;
    const int row = rowOf(list, name);
    if (row < 0)
        return nullptr;
    const QRect cell = rowRect(list, row);
    const int before = int(m_window->mdiArea()->subWindowList().size());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    const QList<QMdiSubWindow*> windows = m_window->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    if (windows.size() != before + 1)
        return nullptr;
    return qobject_cast<Form5*>(windows.last()->widget());
}

void HostileFontsTest::views_data()
{
    fileLabels_data();
}

void HostileFontsTest::views()
{
    QFETCH(QString, file);
    const QString name = familyOf(file);
    Form5* view = openFromForm1(name);
    QVERIFY(view);
    QCOMPARE(view->Combo1->currentIndex(), int(m_window->catalog().AllFontNames.indexOf(name)));
    QCOMPARE(view->windowTitle(), Form5Caption(name, view->Slider1->value()));
    QVERIFY(QTest::qWaitForWindowExposed(view));
    // Something is drawn: the font itself or, where it cannot draw, the
    // fallback face; never an empty box.
    view->Text1->setPlainText(QStringLiteral("ABC abc あいう"));
    const QImage text = view->Text1->viewport()->grab().toImage();
    QVERIFY2(inkPixels(text) > 50, qPrintable(QStringLiteral("%1 ink pixels").arg(inkPixels(text))));
    const QImage combo = view->Combo1->grab().toImage();
    QVERIFY(inkPixels(combo) > 0);
    view->parentWidget()->close();
    QCoreApplication::processEvents();
}

void HostileFontsTest::detailsAndCharacterMap_data()
{
    fileLabels_data();
}

void HostileFontsTest::detailsAndCharacterMap()
{
    // Each font as the Tools menu opens it, on the font chosen in the list:
    // the windows open and say what they could read, or why not.
    QFETCH(QString, file);
    Form1* form = m_window->form1();
    m_window->View_Click(2);
    form->List2->setCurrentIndex(form->List2->model()->index(rowOf(form->List2, familyOf(file)), 0));
    const int before = int(m_window->mdiArea()->subWindowList().size());
    m_window->Tools_Click(1);
    m_window->View_Click(2);
    m_window->Tools_Click(2);
    const QList<QMdiSubWindow*> windows = m_window->mdiArea()->subWindowList();
    QCOMPARE(int(windows.size()), before + 2);
    auto details = qobject_cast<FontDetailsWindow*>(windows.at(before)->widget());
    QVERIFY(details);
    QCOMPARE(details->fontName(), familyOf(file));
    QVERIFY(!details->reportText().isEmpty());
    QVERIFY(qobject_cast<CharacterMap*>(windows.at(before + 1)->widget()));
    for (QMdiSubWindow* window : windows.mid(before))
        window->close();
    QCoreApplication::processEvents();
    QVERIFY(m_dialogs.boxes.isEmpty());
}

void HostileFontsTest::previewShowsEveryName()
{
    m_window->View_Click(4);
    Form10* preview = m_window->form10();
    QVERIFY(preview);
    const QList<QRect> design = previewLayout(preview);
    const QStringList& names = m_window->catalog().AllFontNames;
    for (const HostileFont& font : hostileFonts()) {
        if (font.family.isEmpty())
            continue;
        const int position = int(names.indexOf(font.family));
        preview->VScroll1->setValue(position / 7);
        preview->VScroll1_Change();
        QLabel* heading = preview->Label1[std::size_t(position % 7)];
        QLabel* sample = preview->Label2[std::size_t(position % 7)];
        QCOMPARE(heading->toolTip(), font.family);
        // One line in the heading and in the sample, and every label at its
        // design place.
        for (QLabel* label : {heading, sample}) {
            const QSize needed = label->fontMetrics().boundingRect(QRect(0, 0, 100000, 100000), 0, label->text()).size();
            QVERIFY2(needed.height() < label->fontMetrics().lineSpacing() * 3 / 2,
                     qPrintable(QStringLiteral("%1: %2 needs %3 px, has %4 (%5)").arg(font.fault, QFontInfo(label->font()).family()).arg(needed.height()).arg(label->height()).arg(label == heading ? u"heading"_qs : u"sample"_qs)));
            QVERIFY(!label->text().isEmpty());
        }
        QCOMPARE(previewLayout(preview), design);
        QVERIFY(sample->y() > heading->y() && sample->y() < heading->y() + 2 * sample->height());
        preview->Label_DblClick(position % 7);
        auto view = qobject_cast<Form5*>(m_window->mdiArea()->subWindowList(QMdiArea::CreationOrder).last()->widget());
        QVERIFY(view);
        QCOMPARE(view->Combo1->currentIndex(), position);
        view->parentWidget()->close();
    }
    preview->VScroll1->setValue(preview->VScroll1->maximum());
    preview->VScroll1_Change();
}

void HostileFontsTest::comparisonFileReadsBack()
{
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("fonts.gfc"));
    m_dialogs.fileAnswers.push_back(path);
    QVERIFY(m_window->fileCommands()->File_Click(8));
    m_dialogs.fileAnswers.push_back(path);
    QVERIFY(m_window->fileCommands()->File_Click(5));
    const QStringList read = m_window->form8()->fileNames();
    const QStringList& names = m_window->catalog().AllFontNames;
    QCOMPARE(read.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        // Each character the code page cannot hold comes back as its default
        // character "?"; everything else comes back as it was.
        QString expected;
        for (const char32_t c : names.at(i).toUcs4()) {
            // Not QString::fromUcs4, which drops a U+FEFF as a byte order mark.
            const QString character = QChar::requiresSurrogates(c)
                                          ? QString(QChar(QChar::highSurrogate(c))) + QChar(QChar::lowSurrogate(c))
                                          : QString(QChar(char16_t(c)));
            expected += platform::encodeCp932(u"x"_qs + character).ok() ? character : u"?"_qs;
        }
        QCOMPARE(read.at(i), expected);
    }
    checkRowsKeepTheirPlace(m_window->form8()->List3, QStringLiteral("Form8.List3"), 0);
}

void HostileFontsTest::csvKeepsOneRecordPerFont()
{
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("fonts.csv"));
    m_dialogs.fileAnswers.push_back(path);
    QVERIFY(m_window->fileCommands()->File_Click(7));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = platform::decodeCp932(file.readAll()).value_or(QString());
    // Records split at CR LF outside quotes, fields at commas outside quotes.
    QList<QStringList> records{{QString()}};
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            if (quoted && i + 1 < text.size() && text.at(i + 1) == u'"') {
                records.last().last() += c;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (!quoted && c == u',') {
            records.last() << QString();
        } else if (!quoted && c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            records << QStringList{QString()};
            ++i;
        } else {
            records.last().last() += c;
        }
    }
    QVERIFY(!quoted);
    records.removeLast(); // after the last CR LF
    const QStringList& names = m_window->catalog().AllFontNames;
    QCOMPARE(records.size(), names.size() + 2);
    QCOMPARE(records.last(), QStringList{QStringLiteral("EOF")});
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QStringList& record = records.at(i + 1);
        QCOMPARE(record.size(), 4);
        QCOMPARE(record.at(0), QString::number(i + 1));
        if (platform::encodeCp932(names.at(i)).ok())
            QCOMPARE(record.at(1), names.at(i));
    }
}

void HostileFontsTest::printoutsKeepOneLinePerFont()
{
    const FontCatalog& catalog = m_window->catalog();
    FontFileLookup lookup(catalog, *m_platform, QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    RecordingPrinter printer;
    std::int32_t page = 1;
    PrintContext context{printer, catalog, lookup, page, QString(), {u"2026/12/07"_qs, u"21:00:00"_qs}, {}, {}, {}};
    QCOMPARE(PrintNameList(context).status, PrintStatus::Completed);
    // One row per font: its number at 900 twips, and on the same line its
    // name at 1600, its size at 4800 and its file at 6800.
    QList<RecordingPrinter::Piece> numbers;
    for (const RecordingPrinter::Piece& piece : printer.pieces) {
        if (piece.x == 900)
            numbers << piece;
    }
    QCOMPARE(numbers.size(), catalog.AllFontNames.size());
    for (const HostileFont& font : hostileFonts()) {
        if (font.family.isEmpty())
            continue;
        const qsizetype row = catalog.AllFontNames.indexOf(font.family);
        const RecordingPrinter::Piece& number = numbers.at(row);
        QStringList line;
        for (const RecordingPrinter::Piece& piece : printer.pieces) {
            if (piece.page == number.page && piece.y == number.y && !piece.text.trimmed().isEmpty())
                line << QString::number(piece.x);
        }
        QCOMPARE(line.join(u' '), QStringLiteral("900 1600 4800 6800"));
    }

    for (const HostileFont& font : hostileFonts()) {
        if (font.family.isEmpty())
            continue;
        RecordingPrinter glyphs;
        std::int32_t glyphPage = 1;
        PrintContext glyphContext{glyphs, catalog, lookup, glyphPage, QString(), {}, {}, {}, {}};
        QCOMPARE(PrintGlyphSample(glyphContext, font.family, [] { return QStringLiteral("見本 Aa"); }).status,
                 PrintStatus::Completed);
        QCOMPARE(glyphs.page(), 1);
    }
}

// The same fonts, through the File menu and through glyfaro2-fonts: the same
// names in the same order and the same bytes, hostile names included.
void HostileFontsTest::commandLineToolWritesWhatTheViewerWrites()
{
    QTemporaryDir work;
    const auto tool = [](const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(GLYFARO_BINARY_DIR "/bin/glyfaro2-fonts"), arguments);
        process.waitForFinished(60000);
        return std::pair{process.exitCode(), process.readAllStandardOutput()};
    };
    const auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto [listed, names] = tool({QStringLiteral("list")});
    QCOMPARE(listed, 0);
    QStringList shown;
    for (const QString& name : m_window->catalog().AllFontNames)
        shown.append(OneLineText(name));
    QCOMPARE(QString::fromUtf8(names).split(u'\n', Qt::SkipEmptyParts), shown);

    for (const auto& [item, command] : {std::pair{7, QStringLiteral("export")}, std::pair{8, QStringLiteral("save")}}) {
        const QString viewer = work.filePath(command + QStringLiteral("-viewer.out"));
        const QString cli = work.filePath(command + QStringLiteral("-tool.out"));
        m_dialogs.fileAnswers.push_back(viewer);
        QVERIFY(m_window->fileCommands()->File_Click(item));
        QCOMPARE(tool({command, cli}).first, 0);
        const QByteArray written = bytesOf(viewer);
        QVERIFY(written.size() > 1000);
        QVERIFY2(bytesOf(cli) == written, qPrintable(command));
    }
}

int main(int argc, char* argv[])
{
    // The font configuration is read once, when the first font is used.
    qputenv("FONTCONFIG_FILE", (HostileFontSet + QStringLiteral("/fonts.conf")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    HostileFontsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostilefonts.moc"

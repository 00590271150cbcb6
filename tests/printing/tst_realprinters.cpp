// Jobs through the print dialog on real printers: the built-in PDF printer,
// and a CUPS queue of a private server (scripts/with-private-cups) whose
// backend keeps the file it receives. The pages are read back with pdftotext
// and pdfinfo.

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "catalog/SizeText.h"
#include "core/SystemIdentity.h"
#include "desktop/DesktopPlatform.h"
#include "desktop/PrintModule.h"
#include "printing/Form7.h"
#include "printing/ReportPrinting.h"

#include "support/FakeDialogs.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {

struct ReadBack {
    QString text;
    int pages = 0;
    QString pageSize;
};

ReadBack readBack(const QString& pdf)
{
    ReadBack result;
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    text.waitForFinished(60000);
    // A font may draw several characters with one glyph (行 and the radical
    // ⾏); the file names one of them, so texts are compared in their
    // compatibility form.
    result.text = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    result.pages = pages.hasMatch() ? pages.captured(1).toInt() : 0;
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+(.*)")).match(out);
    result.pageSize = size.hasMatch() ? size.captured(1).trimmed() : QString();
    return result;
}

bool isFile(const QString& path)
{
    return QFileInfo(path).isFile() && QFileInfo(path).size() > 0;
}

} // namespace

class TestRealPrinters : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pdfNameList();
    void pdfGlyphSheet();
    void pdfCancelledFileChoice();
    void pdfAbortLeavesNoFile();
    void pdfReportIsFiledLikeAnySavedFile();
    void cupsNameList();
    void cupsGlyphSheet();

private:
    // Runs a job through the dialog on printer index; false when the
    // dialog did not complete it.
    bool runJob(int printer, int option, const QString& printText = QString());
    int printerIndex(const QString& name);
    void checkNameList(const ReadBack& pages);
    void checkGlyphSheet(const ReadBack& pages);
    QString waitForCapture(int known);

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<platform::PlatformServices> m_services;
    std::unique_ptr<platform::PrintModulePrinters> m_printers;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<FontFileLookup> m_lookup;
    FakeDialogs m_dialogs;
    FontCatalog m_catalog;
    Settings m_settings;
    PrintRecords m_records;
    QTemporaryDir m_out;
    QString m_glyphFont;
    const QString m_sampleText = QStringLiteral("印刷見本テスト Aa1");
};

void TestRealPrinters::initTestCase()
{
    m_environment = std::make_unique<TestEnvironment>();
    // To look at the pages afterwards: GLYFARO_KEEP_PDFS=1.
    if (qEnvironmentVariableIsSet("GLYFARO_KEEP_PDFS")) {
        m_out.setAutoRemove(false);
        qInfo("PDFs are kept in %s", qPrintable(m_out.path()));
    }
    qputenv("FONTCONFIG_FILE", QByteArrayLiteral(GLYFARO_TEST_FONTS_2000 "/fonts.conf"));
    m_services = platform::createPlatform();
    platform::Platform& production = m_services->platform();
    m_printers = std::make_unique<platform::PrintModulePrinters>(production.fonts, m_dialogs);
    m_platform = std::make_unique<platform::Platform>(
        platform::Platform{production.registry, production.system, production.fonts, m_dialogs, *m_printers});
    const CatalogBuildResult built = BuildFontCatalog(m_catalog, *m_platform, WindowsNtKeyPath, [](const QString&) {});
    QCOMPARE(built.fatalMessage, -1);
    QVERIFY2(m_catalog.AllFontNames.size() >= 2000, qPrintable(QString::number(m_catalog.AllFontNames.size())));
    m_lookup = std::make_unique<FontFileLookup>(m_catalog, *m_platform, WindowsNtKeyPath);
    for (const QString& name : m_catalog.AllFontNames) {
        if (name.contains(QStringLiteral("合成フォント"))) {
            m_glyphFont = name;
            break;
        }
    }
    QVERIFY(!m_glyphFont.isEmpty());
}

int TestRealPrinters::printerIndex(const QString& name)
{
    return int(m_printers->printerNames().indexOf(name));
}

bool TestRealPrinters::runJob(int printer, int option, const QString& printText)
{
    m_records.GlyphSampleFont = m_glyphFont;
    Form7 form(m_catalog, *m_lookup, m_settings, m_records, *m_platform);
    if (option == 2)
        form.prepareForGlyphSample(printText);
    else
        form.prepareForFileMenu();
    form.show();
    form.Option1[std::size_t(option)]->setChecked(true);
    form.Combo1->setCurrentIndex(printer);
    const qsizetype boxes = m_dialogs.boxes.size();
    form.Command1_Click();
    // Only the confirmation may have been shown.
    return m_dialogs.boxes.size() == boxes + 1 && form.result() == QDialog::Accepted && !form.isVisible();
}

void TestRealPrinters::checkNameList(const ReadBack& pages)
{
    QCOMPARE(pages.pageSize.contains(QStringLiteral("(A4)")), true);
    QVERIFY2(pages.pageSize.startsWith(QStringLiteral("595")), qPrintable(pages.pageSize));
    // The printer's own count of pages is what the file holds.
    QCOMPARE(pages.pages, int(m_records.CurrentPrintPage));
    QVERIFY(pages.pages > 10);
    QVERIFY(pages.text.contains(QStringLiteral("ファイルサイズ(Byte）").normalized(QString::NormalizationForm_KC)));
    QVERIFY(pages.text.contains(QStringLiteral("END *****")));

    // A new page starts with a form feed.
    const QStringList lines = QString(pages.text).remove(QLatin1Char('\f')).split(QLatin1Char('\n'));
    qsizetype line = 0;
    for (qsizetype k = 0; k < m_catalog.AllFontNames.size(); ++k) {
        const QString name = m_catalog.AllFontNames.at(k).normalized(QString::NormalizationForm_KC);
        const FontFileInfo info = m_lookup->LookupFontFile(m_catalog.AllFontNames.at(k));
        const QString number = QString::number(k + 1) + QLatin1Char(' ');
        while (line < lines.size()
               && !(lines.at(line).startsWith(number) && lines.at(line).contains(name)))
            ++line;
        QVERIFY2(line < lines.size(), qPrintable(QStringLiteral("row %1 %2 missing or out of order").arg(k + 1).arg(name)));
        const QString& row = lines.at(line);
        QVERIFY2(row.contains(info.sizeText), qPrintable(row));
        // A long path is shortened in its folders; the file's name is always whole.
        QVERIFY2(row.contains(QFileInfo(info.filePath).fileName()), qPrintable(row));
        ++line;
    }
}

void TestRealPrinters::checkGlyphSheet(const ReadBack& pages)
{
    QCOMPARE(pages.pages, 1);
    QVERIFY2(pages.pageSize.contains(QStringLiteral("(A4)")), qPrintable(pages.pageSize));
    QVERIFY2(pages.text.contains(QStringLiteral("フォント名: ") + m_glyphFont.normalized(QString::NormalizationForm_KC)),
             qPrintable(pages.text));
    QVERIFY(pages.text.contains(QStringLiteral("ファイルサイズ(Byte): ") + m_lookup->LookupFontFile(m_glyphFont).sizeText));
    // The large sizes run past the right edge and are cut there.
    QCOMPARE(pages.text.count(m_sampleText.left(6)), 16);
    QVERIFY(pages.text.count(m_sampleText) >= 12);
    qsizetype from = 0;
    for (int size : {8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 36, 48, 60, 72}) {
        from = pages.text.indexOf(QString::number(size) + QStringLiteral("pt"), from);
        QVERIFY2(from >= 0, qPrintable(QString::number(size)));
    }
}

void TestRealPrinters::pdfNameList()
{
    const QString pdf = m_out.filePath(QStringLiteral("names.pdf"));
    m_dialogs.fileAnswers.push_back(pdf);
    const int printer = printerIndex(platform::PdfPrinterName);
    QCOMPARE(printer, int(m_printers->printerNames().size()) - 1);
    QVERIFY(runJob(printer, 0));
    QCOMPARE(m_settings.Printer, printer);
    QVERIFY(isFile(pdf));
    // Nothing is left beside the file.
    QCOMPARE(QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("names.pdf")});
    checkNameList(readBack(pdf));
}

void TestRealPrinters::pdfGlyphSheet()
{
    const QString pdf = m_out.filePath(QStringLiteral("glyphs.pdf"));
    m_dialogs.fileAnswers.push_back(pdf);
    QVERIFY(runJob(printerIndex(platform::PdfPrinterName), 2, m_sampleText));
    checkGlyphSheet(readBack(pdf));
}

void TestRealPrinters::pdfCancelledFileChoice()
{
    m_settings.Printer = 0;
    m_dialogs.fileAnswers.push_back(std::nullopt);
    m_records.GlyphSampleFont = m_glyphFont;
    Form7 form(m_catalog, *m_lookup, m_settings, m_records, *m_platform);
    form.show();
    form.Combo1->setCurrentIndex(printerIndex(platform::PdfPrinterName));
    const qsizetype boxes = m_dialogs.boxes.size();
    form.Command1_Click();
    QCOMPARE(m_dialogs.boxes.size(), boxes + 1);
    QVERIFY(form.isVisible());
    QVERIFY(!form.printing());
    QCOMPARE(m_settings.Printer, 0);
}

// A report from a Tools window: offered under its own name (a separator in
// it would name a folder), its pages numbered on the real printer, with the
// mode any file the user saves gets.
void TestRealPrinters::pdfReportIsFiledLikeAnySavedFile()
{
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines << QStringLiteral("行 %1").arg(i);
    const QString pdf = m_out.filePath(QStringLiteral("report.pdf"));
    QVERIFY(QFile(pdf).open(QIODevice::WriteOnly));
    m_dialogs.fileAnswers.push_back(pdf);
    const mode_t mask = ::umask(022);
    ReportPrintDialog dialog(lines, u"Noto/Sans CJK JP"_qs, *m_platform);
    dialog.PrinterList->setCurrentIndex(printerIndex(platform::PdfPrinterName));
    dialog.Print_Click();
    ::umask(mask);
    QCOMPARE(m_dialogs.fileRequests.last().fileName, u"Noto_Sans CJK JP.pdf"_qs);
    QCOMPARE(QFileInfo(pdf).permissions() & 0x7777,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
                 | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const ReadBack pages = readBack(pdf);
    QVERIFY(pages.pages >= 2 && pages.text.contains(u"%1 / %1"_qs.arg(pages.pages)) && pages.text.contains(u"行 119"_qs));
}

void TestRealPrinters::pdfAbortLeavesNoFile()
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("aborted.pdf"));
    m_dialogs.fileAnswers.push_back(pdf);
    m_settings.Printer = 0;
    Form7 form(m_catalog, *m_lookup, m_settings, m_records, *m_platform);
    form.show();
    form.Combo1->setCurrentIndex(printerIndex(platform::PdfPrinterName));
    // The user clicks the abort button once the second page is under way.
    QTimer watcher;
    watcher.setInterval(0);
    connect(&watcher, &QTimer::timeout, &form, [&] {
        if (form.printing() && m_records.CurrentPrintPage >= 2) {
            watcher.stop();
            form.Command3->click();
        }
    });
    watcher.start();
    form.Command1_Click();
    QVERIFY(!watcher.isActive());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
    QCOMPARE(m_settings.Printer, 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QString TestRealPrinters::waitForCapture(int known)
{
    const QDir capture(qEnvironmentVariable("GLYFARO_CUPS_CAPTURE_DIR"));
    QStringList files;
    const bool arrived = QTest::qWaitFor([&] {
        files = capture.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        return files.size() > known;
    }, 60000);
    return arrived ? capture.filePath(files.last()) : QString();
}

void TestRealPrinters::cupsNameList()
{
    if (qEnvironmentVariableIsSet("GLYFARO_CUPS_UNAVAILABLE"))
        QSKIP(qPrintable(QStringLiteral("no private CUPS server: ") + qEnvironmentVariable("GLYFARO_CUPS_UNAVAILABLE")));
    if (!qEnvironmentVariableIsSet("GLYFARO_CUPS_CAPTURE_DIR"))
        QSKIP("runs only beside a private CUPS server (scripts/with-private-cups)");
    const int printer = printerIndex(QStringLiteral("Capture"));
    QVERIFY2(printer >= 0, qPrintable(m_printers->printerNames().join(QLatin1Char(','))));
    const int known = int(QDir(qEnvironmentVariable("GLYFARO_CUPS_CAPTURE_DIR")).entryList({QStringLiteral("job-*.pdf")}).size());
    QVERIFY(runJob(printer, 0));
    QCOMPARE(m_settings.Printer, printer);
    const QString pdf = waitForCapture(known);
    QVERIFY2(!pdf.isEmpty(), "the queue received no job");
    checkNameList(readBack(pdf));
}

void TestRealPrinters::cupsGlyphSheet()
{
    if (qEnvironmentVariableIsSet("GLYFARO_CUPS_UNAVAILABLE"))
        QSKIP(qPrintable(QStringLiteral("no private CUPS server: ") + qEnvironmentVariable("GLYFARO_CUPS_UNAVAILABLE")));
    if (!qEnvironmentVariableIsSet("GLYFARO_CUPS_CAPTURE_DIR"))
        QSKIP("runs only beside a private CUPS server (scripts/with-private-cups)");
    const int printer = printerIndex(QStringLiteral("Capture"));
    QVERIFY(printer >= 0);
    const int known = int(QDir(qEnvironmentVariable("GLYFARO_CUPS_CAPTURE_DIR")).entryList({QStringLiteral("job-*.pdf")}).size());
    QVERIFY(runJob(printer, 2, m_sampleText));
    const QString pdf = waitForCapture(known);
    QVERIFY2(!pdf.isEmpty(), "the queue received no job");
    checkGlyphSheet(readBack(pdf));
}

QTEST_MAIN(TestRealPrinters)
#include "tst_realprinters.moc"

#include "desktop/PrintModule.h"

#include "FakeDialogs.h"
#include "FakeSystem.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

// The printers are loaded from a module on first use; a module that is
// missing, damaged or of another kind must leave the viewer without printers,
// never end it.
class TestPrintModule : public QObject {
    Q_OBJECT

private slots:
    void theModuleBesideTheProgramListsTheBuiltInPrinterLast_data()
    {
        QTest::addColumn<bool>("builtInPdf");
        QTest::addRow("with the PDF printer") << true;
        QTest::addRow("without it") << false;
    }
    void theModuleBesideTheProgramListsTheBuiltInPrinterLast()
    {
        QFETCH(bool, builtInPdf);
        platform::PrintModulePrinters printers(m_fonts, m_dialogs, builtInPdf);
        const QStringList names = printers.printerNames();
        QVERIFY2(printers.loadError().isEmpty(), qPrintable(printers.loadError()));
        QCOMPARE(!names.isEmpty() && names.last() == platform::PdfPrinterName, builtInPdf);
        QCOMPARE(printers.printerFonts(0), m_fonts.names);
    }

    void anUnusableModuleLeavesNoPrinters_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::addRow("missing") << m_folder.filePath(QStringLiteral("none.so")) << QStringLiteral("none.so");
        QTest::addRow("not a library") << m_textFile << QStringLiteral("text.so");
        // A sound library that is not the print module.
        QTest::addRow("another library") << QStringLiteral("libz.so.1") << QStringLiteral("not a print module");
    }
    void anUnusableModuleLeavesNoPrinters()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        platform::PrintModulePrinters printers(m_fonts, m_dialogs, true, path);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^No printers: ")));
        QCOMPARE(printers.printerNames(), QStringList());
        QVERIFY2(printers.loadError().contains(reason), qPrintable(printers.loadError()));
        QCOMPARE(printers.printerFonts(0), QStringList());
        const platform::Printers::Job job = printers.startJob(0, QString());
        QVERIFY(!job.device);
        QVERIFY(!job.cancelled);
        // Tried once: the next question gets the same answer without a new attempt.
        QCOMPARE(printers.printerNames(), QStringList());
        QVERIFY(m_dialogs.fileRequests.isEmpty());
    }

    void initTestCase()
    {
        m_fonts.names = {QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans")};
        m_textFile = m_folder.filePath(QStringLiteral("text.so"));
        std::ofstream(m_textFile.toStdString()) << "not a shared object\n";
    }

private:
    QTemporaryDir m_folder;
    QString m_textFile;
    FakeFontList m_fonts;
    FakeDialogs m_dialogs;
};

QTEST_MAIN(TestPrintModule)
#include "tst_printmodule.moc"

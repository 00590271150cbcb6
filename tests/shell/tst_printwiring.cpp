#include "TestPlatform.h"

#include "display/Form5.h"
#include "printing/Form7.h"
#include "shell/MDIForm1.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using platform::RootKey;

namespace {

const QString NtKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

void prepareMachine(TestPlatform& test)
{
    test.registry.put(RootKey::LocalMachine, NtKey, QStringLiteral("ProductName"), QStringLiteral("Debian GNU/Linux 12"));
    test.registry.put(RootKey::LocalMachine, NtKey + QStringLiteral("\\Fonts"), QStringLiteral("Arial (TrueType)"),
                      QStringLiteral("/usr/share/fonts/arial.ttf"));
    test.fonts.names = {QStringLiteral("Arial"), QStringLiteral("Beta")};
    test.printers.fonts = test.fonts.names;
}

QAction* fileMenuAction(MDIForm1& window, const QString& caption)
{
    for (QAction* menu : window.menuBar()->actions()) {
        if (!menu->menu())
            continue;
        for (QAction* action : menu->menu()->actions()) {
            if (action->text() == caption)
                return action;
        }
    }
    return nullptr;
}

} // namespace

class PrintWiringTest : public QObject {
    Q_OBJECT

private slots:
    void viewPrintButtonOpensGlyphJob();
    void fileMenuOpensListJobs();
};

void PrintWiringTest::viewPrintButtonOpensGlyphJob()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    Form5* view = window.openView();
    view->setListIndex(1);
    view->Text1->setPlainText(QStringLiteral("見本\n二行目"));

    bool inspected = false;
    QTimer::singleShot(0, &window, [&] {
        auto dialog = qobject_cast<Form7*>(window.printDialog());
        QVERIFY(dialog);
        inspected = true;
        QVERIFY(dialog->isModal());
        QVERIFY(dialog->Option1[2]->isChecked());
        QCOMPARE(dialog->Option1[2]->text(), QStringLiteral("字体(Beta)を印刷"));
        QVERIFY(!dialog->Option1[0]->isEnabled());
        QVERIFY(!dialog->Option1[1]->isEnabled());
        QCOMPARE(dialog->Text2->text(), QStringLiteral("見本"));
        dialog->Command1_Click();
    });
    view->Command2->click();
    QVERIFY(inspected);
    QCOMPARE(window.printRecords().GlyphSampleFont, QStringLiteral("Beta"));
    QVERIFY(!window.printDialog());
    QCOMPARE(test.printers.startedJobs.size(), 1);
}

void PrintWiringTest::fileMenuOpensListJobs()
{
    TestPlatform test;
    prepareMachine(test);
    MDIForm1 window(test.platform);
    QCOMPARE(window.MDIForm_Load(), MDIForm1::LoadResult::Started);
    QAction* print = fileMenuAction(window, QStringLiteral("印刷(&P)..."));
    QVERIFY(print);
    QVERIFY(print->isEnabled());

    bool inspected = false;
    QTimer::singleShot(0, &window, [&] {
        auto dialog = qobject_cast<Form7*>(window.printDialog());
        QVERIFY(dialog);
        inspected = true;
        QVERIFY(dialog->Option1[0]->isChecked());
        QVERIFY(!dialog->Option1[2]->isEnabled());
        QVERIFY(!dialog->Text2->isEnabled());
        dialog->Command2_Click();
    });
    print->trigger();
    QVERIFY(inspected);
    QVERIFY(!window.printDialog());
    QVERIFY(test.printers.startedJobs.isEmpty());
}

QTEST_MAIN(PrintWiringTest)
#include "tst_printwiring.moc"

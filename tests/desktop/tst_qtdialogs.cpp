#include "desktop/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace platform;

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void filtersBecomeQtNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one pair") << "CSV ファイル|*.csv" << QStringList{"CSV ファイル (*.csv)"};
        QTest::newRow("description already shows the pattern")
            << "CSV ファイル (*.csv)|*.csv" << QStringList{"CSV ファイル (*.csv)"};
        QTest::newRow("two pairs") << "比較ファイル (*.gfc)|*.gfc|すべてのファイル (*.*)|*.*"
                                   << QStringList{"比較ファイル (*.gfc)", "すべてのファイル (*.*)"};
        QTest::newRow("several patterns") << "Text|*.txt;*.csv" << QStringList{"Text (*.txt *.csv)"};
        QTest::newRow("unpaired description") << "CSV|*.csv|Broken" << QStringList{"CSV (*.csv)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filtersBecomeQtNameFilters()
    {
        QFETCH(QString, filter);
        QTEST(QtDialogs::nameFilters(filter), "expected");
    }

    void messageBoxShowsTheStyleAndAnswersWithItsNumber_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("click");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::newRow("critical OK") << 16 << int(QMessageBox::Ok) << int(QMessageBox::Critical) << 1;
        QTest::newRow("question Yes") << (4 | 32) << int(QMessageBox::Yes) << int(QMessageBox::Question) << 6;
        QTest::newRow("question No") << (4 | 32) << int(QMessageBox::No) << int(QMessageBox::Question) << 7;
        QTest::newRow("warning OK") << 48 << int(QMessageBox::Ok) << int(QMessageBox::Warning) << 1;
        QTest::newRow("information OK") << 64 << int(QMessageBox::Ok) << int(QMessageBox::Information) << 1;
    }
    void messageBoxShowsTheStyleAndAnswersWithItsNumber()
    {
        QFETCH(int, style);
        QFETCH(int, click);
        QFETCH(int, icon);
        QString shownText;
        QString shownTitle;
        int shownIcon = -1;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shownText = box->text();
            shownTitle = box->windowTitle();
            shownIcon = int(box->icon());
            buttons = box->standardButtons();
            if (QAbstractButton* button = box->button(QMessageBox::StandardButton(click)))
                button->click();
            else
                box->reject();
        });
        QtDialogs dialogs;
        const int answer = dialogs.messageBox(QStringLiteral("一行目\r\r<b>二行目</b>"), style, QStringLiteral("Glyfaro 2"));
        QTEST(answer, "answer");
        QCOMPARE(shownText, QStringLiteral("一行目\n\n<b>二行目</b>"));
        QCOMPARE(shownTitle, QStringLiteral("Glyfaro 2"));
        QCOMPARE(shownIcon, icon);
        if ((style & 0xF) == 4)
            QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        else
            QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"

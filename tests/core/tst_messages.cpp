#include "TestPlatform.h"
#include "core/Messages.h"

#include <QtTest>

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void numbersOutsideTheCatalogueShowNothing();
};

void MessagesTest::texts_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");
    const QString cr2 = QStringLiteral("\r\r");
    QTest::newRow("0") << 0 << QStringLiteral("このプログラムは既に起動しています。") << 48;
    QTest::newRow("1") << 1
                       << QStringLiteral("このバージョンのWindowsでは利用出来ません。強制終了します。") + cr2
                              + QStringLiteral("OS : Win32s on Windows 3.1")
                       << 16;
    QTest::newRow("2") << 2 << QStringLiteral("予期せぬエラーが発生しました。強制終了します。") << 16;
    QTest::newRow("4") << 4 << QStringLiteral("レジストリが書き換えられた可能性があります。") << 48;
    QTest::newRow("5") << 5
                       << QStringLiteral("予期せぬエラーが発生しました。") + cr2
                              + QStringLiteral("一部のデータ又は全てデータが保存出来ませんでした。")
                       << 16;
    QTest::newRow("6") << 6
                       << QStringLiteral("入力された値が無効です。") + cr2
                              + QStringLiteral("0 から 9 までの半角数字で入力してください。")
                       << 48;
    QTest::newRow("7") << 7 << QStringLiteral("選択されたプリンタでは印刷できませんでした。") << 16;
    QTest::newRow("8") << 8 << QStringLiteral("選択されたプリンタで、このフォントは印刷できません。") << 16;
    QTest::newRow("9 has no full stop") << 9 << QStringLiteral("ファイルが壊れています") << 16;
    QTest::newRow("10") << 10 << QStringLiteral("新しいバージョンがインストールされました。") << 64;
}

void MessagesTest::texts()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    QFETCH(int, style);
    FakeDialogs dialogs;
    ShowMessage(dialogs, number);
    QCOMPARE(dialogs.boxes.size(), 1);
    QCOMPARE(dialogs.boxes[0].text, text);
    QCOMPARE(dialogs.boxes[0].style, style);
    QCOMPARE(dialogs.boxes[0].title, QStringLiteral("Glyfaro 2"));
}

void MessagesTest::numbersOutsideTheCatalogueShowNothing()
{
    FakeDialogs dialogs;
    ShowMessage(dialogs, 11);
    ShowMessage(dialogs, -1);
    QVERIFY(dialogs.boxes.isEmpty());

    // The welcome is two paragraphs: the fixed thanks, CR CR, our notice.
    ShowMessage(dialogs, 3);
    QCOMPARE(dialogs.boxes.size(), 1);
    QVERIFY(dialogs.boxes[0].text.startsWith(QStringLiteral("ダウンロード並びにご利用ありがとうございます。\r\r")));
    QVERIFY(dialogs.boxes[0].text.size() > 30);
    QVERIFY(!dialogs.boxes[0].text.contains(QLatin1Char('\n')));
    QCOMPARE(dialogs.boxes[0].style, 64);
}

QTEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"

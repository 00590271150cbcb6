#include "catalog/OneLineText.h"

#include <QTest>

class TestOneLineText : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ordinary") << u"ＭＳ Ｐゴシック"_qs << u"ＭＳ Ｐゴシック"_qs;
        QTest::newRow("comma and quote stay") << u"A, \"B\""_qs << u"A, \"B\""_qs;
        QTest::newRow("tab") << u"A\tB"_qs << u"A\u2409B"_qs;
        QTest::newRow("CR LF") << u"A\r\nB"_qs << u"A\u240D\u240AB"_qs;
        QTest::newRow("bell, escape, delete") << u"\u0007\u001B\u007F"_qs << u"\u2407\u241B\u2421"_qs;
        QTest::newRow("next line (C1)") << u"A\u0085B"_qs << u"A\uFFFDB"_qs;
        QTest::newRow("line and paragraph separators") << u"A\u2028B\u2029"_qs << u"A\u2424B\u2424"_qs;
        QTest::newRow("emoji and Hangul stay") << u"\U0001F600한"_qs << u"\U0001F600한"_qs;
        QTest::newRow("empty") << QString() << QString();
    }

    void names()
    {
        QFETCH(QString, name);
        QTEST(OneLineText(name), "shown");
    }
};

QTEST_APPLESS_MAIN(TestOneLineText)
#include "tst_onelinetext.moc"

#include "catalog/SizeText.h"

#include <QLocale>
#include <QTest>

class TestSizeText : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void sameInEveryLocale();
};

void TestSizeText::texts_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("shortText");
    QTest::addColumn<QString>("longText");

    QTest::newRow("1234567") << qint64(1234567) << u"1,234,567"_qs << u"1,234,567 Byte (1,205.63 KB)"_qs;
    QTest::newRow("2048 keeps the point") << qint64(2048) << u"2,048"_qs << u"2,048 Byte (2. KB)"_qs;
    QTest::newRow("512 no leading zero") << qint64(512) << u"512"_qs << u"512 Byte (.5 KB)"_qs;
    QTest::newRow("zero") << qint64(0) << QString() << u" Byte (0. KB)"_qs;
    QTest::newRow("one byte rounds to nothing") << qint64(1) << u"1"_qs << u"1 Byte (. KB)"_qs;
    QTest::newRow("one decimal with zero") << qint64(1024 + 51) << u"1,075"_qs << u"1,075 Byte (1.05 KB)"_qs;
    QTest::newRow("rounds up to the next unit") << qint64(2047) << u"2,047"_qs << u"2,047 Byte (2. KB)"_qs;
    QTest::newRow("three digits") << qint64(999) << u"999"_qs << u"999 Byte (.98 KB)"_qs;
    QTest::newRow("thousand") << qint64(1000) << u"1,000"_qs << u"1,000 Byte (.98 KB)"_qs;
    QTest::newRow("large file") << qint64(5000000000) << u"5,000,000,000"_qs
                                << u"5,000,000,000 Byte (4,882,812.5 KB)"_qs;
}

void TestSizeText::texts()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, shortText);
    QFETCH(QString, longText);
    QCOMPARE(ShortSizeText(bytes), shortText);
    QCOMPARE(LongSizeText(bytes), longText);
}

void TestSizeText::sameInEveryLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = LongSizeText(1234567);
    QLocale::setDefault(saved);
    QCOMPARE(text, u"1,234,567 Byte (1,205.63 KB)"_qs);
}

QTEST_GUILESS_MAIN(TestSizeText)
#include "tst_sizetext.moc"

#include "desktop/Translations.h"

#include <QCoreApplication>
#include <QTest>

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void qtButtonsReadJapanese()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
        platform::installJapaneseTranslations(*QCoreApplication::instance());
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "&Yes").contains(QStringLiteral("はい")));
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "&No").contains(QStringLiteral("いいえ")));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"

#include "support/TestEnvironment.h"
#include "platform/DesignFaces.h"
#include "platform/DrawingFonts.h"
#include "platform/FontConfigFonts.h"
#include "platform/FontSnapshot.h"
#include "platform/UiFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTest>

using namespace platform;

// Qt is given only the program's own faces; a listed font must still draw in
// its own face once asked for by the name the lists show.
class TestDrawingFonts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Before anything asks fontconfig or Qt for fonts in this process.
        TestEnvironment::useSyntheticFonts();
        limitDrawingToUiFaces();
        QVERIFY(drawingFontsLimited());
    }

    void qtListsOnlyTheProgramsOwnFaces()
    {
        const QStringList known = QFontDatabase::families();
        QVERIFY(!known.contains(QStringLiteral("Aynth Sans 0000")));
        QVERIFY(!known.contains(QStringLiteral("Loc Synth 0007")));
        const QString ui = designFaceCounterpart(DesignFace::ProportionalGothic);
        QVERIFY(!ui.isEmpty());
        QVERIFY2(known.contains(ui), qPrintable(ui));
        // The catalogue still reads every installed font.
        QVERIFY(FontConfigFonts().screenFonts().size() >= 64);
    }

    void aListedFontDrawsInItsOwnFace_data()
    {
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("family");
        QTest::newRow("latin name") << u"Aynth Sans 0000"_qs << u"Aynth Sans 0000"_qs;
        QTest::newRow("japanese name over an english first name") << u"ローカル合成0007"_qs << u"Loc Synth 0007"_qs;
        QTest::newRow("japanese only") << u"あ合成フォント0005"_qs << u"あ合成フォント0005"_qs;
    }

    void aListedFontDrawsInItsOwnFace()
    {
        QFETCH(QString, screenName);
        QFETCH(QString, family);
        FontConfigFonts fonts;
        QCOMPARE(fonts.drawingFamily(screenName), family);
        QVERIFY(QFontDatabase::families().contains(family));
        QFont font(family, 20);
        QCOMPARE(QFontInfo(font).family(), family);
        QCOMPARE(QRawFont::fromFont(font).familyName(), family);
        // Asking again adds nothing twice.
        const qsizetype families = QFontDatabase::families().size();
        QCOMPARE(fonts.drawingFamily(screenName), family);
        QCOMPARE(QFontDatabase::families().size(), families);
    }

    void aFaceSharingAFileWithTheInterfaceFaceIsListedFromTheStart()
    {
        // A collection such as a CJK family's holds other faces beside the
        // interface face; those are drawn without joining the drawing code.
        const auto snapshot = FontSnapshot::shared();
        const QString ui = designFaceCounterpart(DesignFace::ProportionalGothic);
        const QStringList uiFiles = snapshot->drawingFiles(ui);
        QString sibling;
        for (const QString& name : snapshot->screenFonts()) {
            const QString family = snapshot->drawingFamily(name);
            if (family == ui)
                continue;
            for (const QString& file : snapshot->drawingFiles(family)) {
                if (uiFiles.contains(file))
                    sibling = family;
            }
            if (!sibling.isEmpty())
                break;
        }
        if (sibling.isEmpty())
            QSKIP("the interface face's file holds no other family here");
        QVERIFY2(QFontDatabase::families().contains(sibling), qPrintable(sibling));
        const int joined = drawableFileCount();
        QFont font(sibling, 20);
        QCOMPARE(QFontInfo(font).family(), sibling);
        QCOMPARE(drawableFileCount(), joined);
    }
};

QTEST_MAIN(TestDrawingFonts)
#include "tst_drawingfonts.moc"

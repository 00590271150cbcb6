#include "support/FakeDialogs.h"
#include "support/TestEnvironment.h"
#include "core/Settings.h"
#include "display/Form10.h"
#include "display/Form5.h"
#include "desktop/DrawingFonts.h"
#include "platform/FontConfigFonts.h"
#include "desktop/UiFont.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using namespace platform;

// The fonts a long session has drawn are let go in one go once many have
// gathered; what the open windows show must come back in its own face.
class TestDrawnFaces : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestEnvironment::useSyntheticFonts();
        limitDrawingToUiFaces();
        QVERIFY(drawingFontsLimited());
        releaseDrawableFilesAfter(10);
    }

    void shownFacesComeBackAfterTheGatheredOnesAreLetGo()
    {
        FontConfigFonts fonts;
        QStringList names = fonts.screenFonts();
        names.sort();
        QVERIFY(names.size() >= 42);
        const DrawingFamily drawing = [&fonts](const QString& name) { return fonts.drawingFamily(name); };
        FakeDialogs dialogs;
        // The program's own faces, which stay.
        const QStringList own = QFontDatabase::families();

        // The preview keeps a reference to the settings.
        const Settings settings;
        Form10 preview(names, settings, QString(), nullptr, drawing);
        Form5 view(names, settings, dialogs);
        view.setDrawingFamily(drawing);
        // Neither on the preview's page nor among the faces passed later.
        const int viewed = int(names.size()) - 1;
        view.setListIndex(viewed);
        QCoreApplication::processEvents();
        const int shown = drawableFileCount();
        QVERIFY2(shown >= 8, "seven samples and one view");

        // A page further on, then more faces than may gather.
        QStringList passed;
        for (int i = 20; i < 40; ++i)
            passed << fonts.drawingFamily(names.at(i));
        QVERIFY(drawableFileCount() > shown + 10);
        QTRY_VERIFY(drawableFileCount() <= shown);

        QCOMPARE(QFontInfo(view.Text1->font()).family(), fonts.drawingFamily(names.at(viewed)));
        for (int slot = 0; slot < 7; ++slot) {
            const QString family = fonts.drawingFamily(names.at(slot));
            QCOMPARE(QFontInfo(preview.Label2[std::size_t(slot)]->font()).family(), family);
        }
        const QStringList known = QFontDatabase::families();
        for (const QString& family : passed)
            QVERIFY2(own.contains(family) || !known.contains(family), qPrintable(family));

        // A closed window asks for nothing back.
        {
            Form5 other(names, settings, dialogs);
            other.setDrawingFamily(drawing);
            other.setListIndex(30);
        }
        releaseDrawableFiles();
        QCOMPARE(drawableFileCount(), shown);
    }
};

QTEST_MAIN(TestDrawnFaces)
#include "tst_drawnfaces.moc"

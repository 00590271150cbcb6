#include "support/TestEnvironment.h"
#include "platform/DesignFaces.h"
#include "desktop/DrawingFonts.h"
#include "platform/FontConfigFonts.h"
#include "platform/FontSnapshot.h"
#include "desktop/UiFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mman.h>

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

    // Only read-only mappings of font files and of fontconfig's caches are let
    // go; a page written in a private mapping exists nowhere else.
    void onlyReadOnlyFontAndCachePagesAreLetGo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("released");
        QTest::addRow("font file") << "face.ttf" << false << true;
        QTest::addRow("blank in the path, capitals") << "with blank.OTC" << false << true;
        QTest::addRow("fontconfig cache") << "0123456789abcdef0123456789abcdef-le64.cache-9" << false << true;
        QTest::addRow("not a cache: short hash") << "0123456789abcdef-le64.cache-9" << false << false;
        QTest::addRow("not a font: suffix after") << "face.ttf.bak" << false << false;
        QTest::addRow("written font mapping") << "face.ttf" << true << false;
    }
    void onlyReadOnlyFontAndCachePagesAreLetGo()
    {
        QFETCH(QString, name);
        QFETCH(bool, writable);
        QFETCH(bool, released);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        constexpr qsizetype Size = 256 * 1024;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(QByteArray(Size, 'x')), Size);
        file.flush();
        const int protection = writable ? PROT_READ | PROT_WRITE : PROT_READ;
        auto* pages = static_cast<char*>(mmap(nullptr, Size, protection, MAP_PRIVATE, file.handle(), 0));
        QVERIFY(pages != MAP_FAILED);
        volatile char sum = 0;
        for (qsizetype at = 0; at < Size; at += 4096) {
            if (writable)
                pages[at] = 'y';
            sum = char(sum + pages[at]);
        }
        QCOMPARE(residentKilobytes(pages), Size / 1024);
        releaseMappedFontPages();
        QCOMPARE(residentKilobytes(pages), released ? 0 : Size / 1024);
        // Whatever was let go reads back from the file.
        QCOMPARE(pages[Size - 1], 'x');
        QCOMPARE(pages[0], writable ? 'y' : 'x');
        munmap(pages, Size);
    }

private:
    // The resident size of the mapping that starts at address.
    static qsizetype residentKilobytes(const void* address)
    {
        QFile smaps(QStringLiteral("/proc/self/smaps"));
        if (!smaps.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray start = QByteArray::number(quintptr(address), 16) + '-';
        bool inside = false;
        for (const QByteArray& line : smaps.readAll().split('\n')) {
            // A mapping's line starts with its range; its fields with "Name:".
            const QByteArray first = line.left(line.indexOf(' '));
            if (first.contains('-') && !first.endsWith(':'))
                inside = line.startsWith(start);
            else if (inside && first == "Rss:")
                return line.mid(4).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }
};

QTEST_MAIN(TestDrawingFonts)
#include "tst_drawingfonts.moc"

#include "fontinfo/CharacterMap.h"
#include "fontinfo/FaceReader.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The character map on real fonts: IPA Gothic, a file of one face, and Noto
// Sans CJK, a collection whose later faces must be drawn from the file too.
namespace {

const QString IpaGothic = u"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"_qs;
const QString NotoCjk = u"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"_qs;

char32_t first(const QString& text)
{
    return text.toUcs4().value(0);
}

// Shows the window and makes the grid exactly columns cells wide, so moves
// between rows land on known characters.
void showWithColumns(CharacterMap& window, int columns)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.resize(window.width() + columns * CharacterMap::CellPixels - window.Grid->viewport()->width(), window.height());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(window.columns(), columns);
}

} // namespace

class CharacterMapTest : public QObject {
    Q_OBJECT

private slots:
    void characterFacts_data();
    void characterFacts();
    void keysMoveTheSelection_data();
    void keysMoveTheSelection();
    void opensAFaceAndCopies_data();
    void opensAFaceAndCopies();
    void damagedFilesShowTheirError_data();
    void damagedFilesShowTheirError();
};

void CharacterMapTest::characterFacts_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QStringList>("facts");
    const QString unified = u"CJK Unified Ideographs"_qs;
    QTest::newRow("亜, level 1 and jōyō") << u"亜"_qs << QStringList{u"U+4E9C"_qs, unified, u"区点 16-01"_qs, u"Shift_JIS 889F"_qs, u"常用漢字"_qs};
    QTest::newRow("ア, row 5") << u"ア"_qs << QStringList{u"U+30A2"_qs, u"Katakana"_qs, u"区点 05-02"_qs, u"Shift_JIS 8341"_qs};
    QTest::newRow("熙, jinmeiyō") << u"熙"_qs << QStringList{u"U+7199"_qs, unified, u"区点 84-06"_qs, u"Shift_JIS EAA4"_qs, u"人名用漢字"_qs};
    QTest::newRow("﨑, JIS X 0213 only") << u"﨑"_qs << QStringList{u"U+FA11"_qs, u"CJK Compatibility Ideographs"_qs, u"面区点 1-47-82"_qs};
    QTest::newRow("㐆, plane 2") << u"㐆"_qs << QStringList{u"U+3406"_qs, u"CJK Unified Ideographs Extension A"_qs, u"面区点 2-01-13"_qs};
    QTest::newRow("𠮷, beyond the BMP, no JIS") << u"𠮷"_qs << QStringList{u"U+20BB7"_qs, u"CJK Unified Ideographs Extension B"_qs};
    QTest::newRow("A") << u"A"_qs << QStringList{u"U+0041"_qs, u"Basic Latin"_qs};
    QTest::newRow("six digits") << QString::fromUcs4(U"\U0010FFFD", 1) << QStringList{u"U+10FFFD"_qs, u"Supplementary Private Use Area-B"_qs};
    QTest::newRow("outside every block") << QString::fromUcs4(U"\U000E0080", 1) << QStringList{u"U+E0080"_qs};
}

void CharacterMapTest::characterFacts()
{
    QFETCH(QString, character);
    QFETCH(QStringList, facts);
    QCOMPARE(CharacterFacts(first(character)), facts);
}

void CharacterMapTest::keysMoveTheSelection_data()
{
    // IPA Gothic holds all of Basic Latin (U+0020 to U+007E), then U+00A0 to
    // U+00B4 and on; its last character is U+2A6B2. With 16 columns, A is in
    // the second column and ~ in the fifteenth of Basic Latin's last row.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("right") << u"A"_qs << u"Right"_qs << u"B"_qs;
    QTest::newRow("left") << u"A"_qs << u"Left"_qs << u"@"_qs;
    QTest::newRow("right into the next block") << u"~"_qs << u"Right"_qs << u"\u00A0"_qs;
    QTest::newRow("left stops at the first") << u" "_qs << u"Left, Left"_qs << u" "_qs;
    QTest::newRow("down keeps the column") << u"A"_qs << u"Down"_qs << u"Q"_qs;
    QTest::newRow("up keeps the column") << u"Q"_qs << u"Up"_qs << u"A"_qs;
    QTest::newRow("down passes the heading") << u"~"_qs << u"Down"_qs << u"®"_qs;
    QTest::newRow("up to a shorter row") << u"¯"_qs << u"Up"_qs << u"~"_qs;
    QTest::newRow("home") << u"亜"_qs << u"Home"_qs << u" "_qs;
    QTest::newRow("end, beyond the BMP") << u"亜"_qs << u"End"_qs << QString::fromUcs4(U"\U0002A6B2", 1);
    QTest::newRow("right stops at the last") << u"亜"_qs << u"End, Right"_qs << QString::fromUcs4(U"\U0002A6B2", 1);
    QTest::newRow("page down and back") << u"亜"_qs << u"PgDown, PgDown, PgUp, PgUp"_qs << u"亜"_qs;
    QTest::newRow("page up stops at the top row") << u"C"_qs << u"PgUp"_qs << u"#"_qs;
}

void CharacterMapTest::keysMoveTheSelection()
{
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    CharacterMap window(u"IPAゴシック"_qs, IpaGothic, 0);
    showWithColumns(window, 16);
    QVERIFY(window.selectCharacter(first(start)));
    const QKeySequence sequence = QKeySequence::fromString(keys);
    for (int i = 0; i < sequence.count(); ++i) {
        QTest::keyClick(window.Grid, sequence[i].key());
        // Whatever the move, the chosen cell stays in sight.
        QVERIFY(window.Grid->viewport()->rect().contains(window.cellRect(window.selectedCharacter())));
    }
    QCOMPARE(window.selectedCharacter(), first(expected));
    QCOMPARE(window.FactsLabel->text(), CharacterFacts(first(expected)).join(u'\n'));
}

void CharacterMapTest::opensAFaceAndCopies_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("family"); // of the face the glyphs are drawn from
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("copied");
    QTest::addColumn<QString>("lacking");
    QTest::newRow("IPA Gothic") << IpaGothic << 0 << u"IPAGothic"_qs << u"あ"_qs << u"髙"_qs << u"𠮷"_qs;
    QTest::newRow("Noto Sans CJK JP, the collection's first face")
        << NotoCjk << 0 << u"Noto Sans CJK JP"_qs << u"漢"_qs << u"𠮷"_qs << u"\uFFFF"_qs;
    QTest::newRow("Noto Sans Mono CJK JP, a later face") << NotoCjk << 5 << u"Noto Sans Mono CJK JP"_qs << u"A"_qs
                                                         << u"𠮷"_qs << u"\uFFFF"_qs;
}

void CharacterMapTest::opensAFaceAndCopies()
{
    QFETCH(QString, path);
    QFETCH(int, face);
    QFETCH(QString, family);
    QFETCH(QString, clicked);
    QFETCH(QString, copied);
    QFETCH(QString, lacking);
    CharacterMap window(family, path, face);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), u"文字一覧 / "_qs + family);

    const int count = int(CharactersOfFace(path, face).size());
    QVERIFY(count > 1000);
    QCOMPARE(window.characterCount(), count);
    QCOMPARE(window.CountLabel->text(), u"文字数: %1"_qs.arg(count));
    QVERIFY(window.ErrorLabel->isHidden());
    QCOMPARE(window.glyphFont().familyName(), family);

    // A click on a cell scrolled into sight chooses it, and Ctrl+C copies it.
    QVERIFY(window.selectCharacter(first(clicked)));
    QTest::keyClick(window.Grid, Qt::Key_Right);
    QTest::mouseClick(window.Grid->viewport(), Qt::LeftButton, {}, window.cellRect(first(clicked)).center());
    QCOMPARE(window.selectedCharacter(), first(clicked));
    QVERIFY(window.FactsLabel->text().startsWith(CharacterFacts(first(clicked)).first()));
    QTest::keySequence(&window, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), clicked);

    // The button copies too, a character beyond the BMP as its surrogate pair.
    QVERIFY(window.selectCharacter(first(copied)));
    QTest::mouseClick(window.CopyButton, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);

    // A character the face lacks cannot be chosen.
    QVERIFY(!window.selectCharacter(first(lacking)));
    QCOMPARE(window.selectedCharacter(), first(copied));
}

void CharacterMapTest::damagedFilesShowTheirError_data()
{
    QTest::addColumn<QByteArray>("bytes"); // what the file holds
    QTest::addColumn<int>("face");
    QFile ipa(IpaGothic);
    QVERIFY(ipa.open(QIODevice::ReadOnly));
    const QByteArray whole = ipa.readAll();
    QTest::newRow("garbage") << QByteArray(4096, '\x5a') << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("cut in its table directory") << whole.left(100) << 0;
    QTest::newRow("cut after its header") << whole.left(1024) << 0;
    QTest::newRow("cut in half") << whole.left(whole.size() / 2) << 0;
    QTest::newRow("a face past the file's faces") << whole << 3;
    QTest::newRow("a collection header with nothing after it") << QByteArray("ttcf\0\1\0\0\0\0\0\7", 12) << 5;
}

void CharacterMapTest::damagedFilesShowTheirError()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, face);
    QTemporaryDir folder;
    QFile file(folder.filePath(u"damaged.ttf"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString error;
    QVERIFY(CharactersOfFace(file.fileName(), face, &error).empty());

    QGuiApplication::clipboard()->setText(u"before"_qs);
    CharacterMap window(u"壊れたフォント"_qs, file.fileName(), face);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(window.ErrorLabel->isVisible());
    QVERIFY(window.ErrorLabel->text().contains(error));
    QVERIFY(window.Grid->isHidden());
    QCOMPARE(window.CountLabel->text(), u"文字数: 0"_qs);
    QVERIFY(!window.CopyButton->isEnabled());

    // Keys and copying find nothing to act on.
    QTest::keyClick(window.Grid, Qt::Key_End);
    QTest::keySequence(&window, QKeySequence::Copy);
    QCOMPARE(window.selectedCharacter(), char32_t(0));
    QCOMPARE(QGuiApplication::clipboard()->text(), u"before"_qs);
}

QTEST_MAIN(CharacterMapTest)
#include "tst_charactermap.moc"

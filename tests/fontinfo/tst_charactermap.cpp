#include "fontinfo/CharacterMap.h"
#include "face/FaceReader.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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
    void goesToACharacter_data();
    void goesToACharacter();
    void keysMoveTheSelection_data();
    void keysMoveTheSelection();
    void opensAFaceAndCopies_data();
    void opensAFaceAndCopies();
    void damagedFilesShowTheirError_data();
    void damagedFilesShowTheirError();
    void variantsOfTheChosenCharacter_data();
    void variantsOfTheChosenCharacter();
};

void CharacterMapTest::characterFacts_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<QStringList>("facts");
    const QString unified = u"CJK統合漢字"_qs;
    const QString outside = u"JIS・Shift_JIS にない文字"_qs;
    QTest::newRow("亜, level 1 and jōyō") << u"亜"_qs << QStringList{u"U+4E9C"_qs, unified, u"区点 16-01"_qs, u"Shift_JIS 889F"_qs, u"常用漢字"_qs};
    QTest::newRow("ア, row 5") << u"ア"_qs << QStringList{u"U+30A2"_qs, u"片仮名"_qs, u"区点 05-02"_qs, u"Shift_JIS 8341"_qs};
    QTest::newRow("熙, jinmeiyō") << u"熙"_qs << QStringList{u"U+7199"_qs, unified, u"区点 84-06"_qs, u"Shift_JIS EAA4"_qs, u"人名用漢字"_qs};
    QTest::newRow("﨑, JIS X 0213 only") << u"﨑"_qs << QStringList{u"U+FA11"_qs, u"CJK互換漢字"_qs, u"面区点 1-47-82"_qs};
    QTest::newRow("㐆, plane 2") << u"㐆"_qs << QStringList{u"U+3406"_qs, u"CJK統合漢字拡張A"_qs, u"面区点 2-01-13"_qs};
    QTest::newRow("𠮷, beyond the BMP, no JIS") << u"𠮷"_qs << QStringList{u"U+20BB7"_qs, u"CJK統合漢字拡張B"_qs, outside};
    QTest::newRow("1, one byte") << u"1"_qs << QStringList{u"U+0031"_qs, u"基本ラテン文字"_qs, u"Shift_JIS 31"_qs};
    QTest::newRow("half-width katakana") << u"ｱ"_qs << QStringList{u"U+FF71"_qs, u"半角・全角形"_qs, u"Shift_JIS B1"_qs};
    QTest::newRow("≒, a symbol of row 2") << u"≒"_qs << QStringList{u"U+2252"_qs, u"数学記号"_qs, u"区点 02-66"_qs, u"Shift_JIS 81E0"_qs};
    QTest::newRow("six digits") << QString::fromUcs4(U"\U0010FFFD", 1) << QStringList{u"U+10FFFD"_qs, u"Supplementary Private Use Area-B"_qs, outside};
    QTest::newRow("outside every block") << QString::fromUcs4(U"\U000E0080", 1) << QStringList{u"U+E0080"_qs, outside};
}

void CharacterMapTest::characterFacts()
{
    QFETCH(QString, character);
    QFETCH(QStringList, facts);
    QCOMPARE(CharacterFacts(first(character)), facts);
}

void CharacterMapTest::goesToACharacter_data()
{
    QTest::addColumn<QString>("how"); // "field", "typed" on the grid, or "input method"
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("selected"); // empty: the selection stays
    QTest::addColumn<QString>("note");
    const auto field = [](const char* tag, const QString& entry, const QString& selected, const QString& note = {}) {
        QTest::newRow(tag) << u"field"_qs << entry << selected << note;
    };
    field("the character", u"辻"_qs, u"辻"_qs);
    field("in lower case, with blanks", u" u+8fbb "_qs, u"辻"_qs);
    field("its 区点", u"36-52"_qs, u"辻"_qs);
    field("its Shift_JIS code", u"92D2"_qs, u"辻"_qs);
    field("a one-byte Shift_JIS code", u"31"_qs, u"1"_qs);
    field("a place with its plane", u"1-47-82"_qs, u"﨑"_qs);
    field("a 区点 beyond JIS X 0208 needs its plane", u"47-82"_qs, QString(), u"「47-82」に当たる文字はありません。"_qs);
    field("a character with a variation selector", QString::fromUcs4(U"\u845B\U000E0100", 2), u"葛"_qs);
    field("a character the font lacks", u"𠮷"_qs, QString(), u"このフォントにない文字です: 𠮷 (U+20BB7)"_qs);
    QTest::newRow("typed on the grid") << u"typed"_qs << u"辻"_qs << u"辻"_qs << QString();
    QTest::newRow("typed, lacking") << u"typed"_qs << u"𠮷"_qs << QString() << u"このフォントにない文字です"_qs;
    QTest::newRow("through the input method") << u"input method"_qs << u"葛"_qs << u"葛"_qs << QString();
}

void CharacterMapTest::goesToACharacter()
{
    QFETCH(QString, how);
    QFETCH(QString, entry);
    QFETCH(QString, selected);
    QFETCH(QString, note);
    CharacterMap window(u"IPAゴシック"_qs, IpaGothic, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const char32_t before = window.selectedCharacter();
    if (how == u"field") {
        window.GoToField->setText(entry);
        QTest::keyClick(window.GoToField, Qt::Key_Return);
    } else if (how == u"typed") {
        // A key that types a character beyond ASCII, as a keyboard layout gives it.
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, entry);
        QApplication::sendEvent(window.Grid, &press);
    } else {
        QInputMethodEvent composed;
        composed.setCommitString(entry);
        QApplication::sendEvent(window.Grid, &composed);
    }
    const char32_t expected = selected.isEmpty() ? before : first(selected);
    QCOMPARE(window.selectedCharacter(), expected);
    // In sight, and the reason beside the field when there is one.
    QVERIFY(window.Grid->viewport()->rect().contains(window.cellRect(expected)));
    QVERIFY2(note.isEmpty() ? window.GoToNote->text().isEmpty() : window.GoToNote->text().contains(note),
             qPrintable(window.GoToNote->text()));
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
    // Grouped by three, as every window past the lists writes counts.
    QCOMPARE(window.CountLabel->text(), u"文字数: %1,%2"_qs.arg(count / 1000).arg(count % 1000, 3, 10, QChar(u'0')));
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

// A character with variants is marked in the grid; choosing it shows each
// variant in its own glyph, and a click copies the whole sequence.
void CharacterMapTest::variantsOfTheChosenCharacter_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("hasVariants");
    QTest::newRow("葛 in Noto Sans CJK JP") << NotoCjk << 0 << u"葛"_qs << true;
    QTest::newRow("A in Noto Sans CJK JP") << NotoCjk << 0 << u"A"_qs << false;
    QTest::newRow("葛 in IPA Gothic") << IpaGothic << 0 << u"葛"_qs << false;
}

void CharacterMapTest::variantsOfTheChosenCharacter()
{
    QFETCH(QString, path);
    QFETCH(int, face);
    QFETCH(QString, character);
    QFETCH(bool, hasVariants);
    CharacterMap map(u"Font"_qs, path, face);
    map.resize(640, 600);
    map.show();
    QVERIFY(QTest::qWaitForWindowExposed(&map));
    QVERIFY(map.goTo(character));
    QCoreApplication::processEvents();
    // The strip stands for a face with sequences, whatever is chosen.
    QCOMPARE(map.VariantsLabel->isVisible(), path == NotoCjk);
    QCOMPARE(map.variantsShown().isEmpty(), !hasVariants);
    // The grid's cell carries the mark in its top right corner.
    const QImage grid = map.Grid->viewport()->grab().toImage();
    const QRect cell = map.cellRect(first(character));
    const QColor corner = grid.pixelColor(cell.topRight() + QPoint(-3, 2));
    QCOMPARE(corner.red() > 150 && corner.blue() < 60, hasVariants);
    if (!hasVariants)
        return;
    const QList<Variant> variants = map.variantsShown();
    QCOMPARE(variants.first().selector, char32_t(0xE0100));
    QTest::mouseClick(map.variantStrip(), Qt::LeftButton, {}, map.variantRect(1).center());
    const char32_t sequence[] = {first(character), variants.at(1).selector};
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUcs4(sequence, 2));
    QVERIFY(map.VariantsLabel->text().startsWith(QStringLiteral("異体字: %1 個").arg(variants.size())));
}

QTEST_MAIN(CharacterMapTest)
#include "tst_charactermap.moc"

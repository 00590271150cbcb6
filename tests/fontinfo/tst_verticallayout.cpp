#include "face/VerticalLayout.h"
#include "fontinfo/VerticalSample.h"

#include <QRawFont>
#include <QTest>

// Vertical text in two small fonts cut from IPAGothic, one keeping its
// vertical forms and one without them.
class VerticalLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void verticalForms_data();
    void verticalForms();
    void linesRunRightToLeft_data();
    void linesRunRightToLeft();
    void unreadableFiles_data();
    void unreadableFiles();

private:
    static QString font(const QString& file) { return QStringLiteral(GLYFARO_SMALL_FONTS "/") + file; }
};

void VerticalLayoutTest::verticalForms_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("vertical"); // whether the character takes another glyph
    const QString with = u"with-vert.ttf"_qs;
    const QString without = u"without-vert.ttf"_qs;
    QTest::newRow("「 turned") << with << u"「"_qs << true;
    QTest::newRow("ー turned") << with << u"ー"_qs << true;
    QTest::newRow("、 moved") << with << u"、"_qs << true;
    QTest::newRow("ぁ moved") << with << u"ぁ"_qs << true;
    QTest::newRow("縦 stays") << with << u"縦"_qs << false;
    QTest::newRow("「 without forms") << without << u"「"_qs << false;
    QTest::newRow("ー without forms") << without << u"ー"_qs << false;
    QTest::newRow("、 without forms") << without << u"、"_qs << false;
}

void VerticalLayoutTest::verticalForms()
{
    QFETCH(QString, file);
    QFETCH(QString, character);
    QFETCH(bool, vertical);
    const bool fontHasForms = file.startsWith(u"with-");
    const qreal em = 32;
    const VerticalRun run = LayOutVertically(font(file), 0, u"縦"_qs + character + u"書"_qs, em);
    QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
    QCOMPARE(run.usedVerticalForms, fontHasForms);
    QCOMPARE(run.clusters, (QList<quint32>{0, 1, 2}));

    const QRawFont raw(font(file), em);
    const quint32 nominal = raw.glyphIndexesForString(character).constFirst();
    QVERIFY(nominal != 0);
    QCOMPARE(run.glyphs.at(1) != nominal, vertical);

    // Full-width glyphs stand centred on the column, each below the last.
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(run.glyphs);
    for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
        QVERIFY(qAbs(run.positions.at(i).x() + advances.at(i).x() / 2) < 0.5);
        if (i > 0) {
            QVERIFY(run.positions.at(i).y() > run.positions.at(i - 1).y());
            QCOMPARE(run.cells.at(i).top(), run.cells.at(i - 1).bottom());
        }
    }

    VerticalSample sample;
    sample.setSample(font(file), 0, character, em);
    QCOMPARE(sample.message().isEmpty(), fontHasForms);
}

void VerticalLayoutTest::linesRunRightToLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lastColumn");
    QTest::newRow("one line") << u"縦書縦"_qs << 0;
    QTest::newRow("two lines") << u"縦書\n縦"_qs << 1;
    QTest::newRow("an empty line between") << u"縦\n\n縦"_qs << 2;
    QTest::newRow("CR LF") << u"縦\r\n縦"_qs << 1;
}

void VerticalLayoutTest::linesRunRightToLeft()
{
    QFETCH(QString, text);
    QFETCH(int, lastColumn);
    const qreal em = 20;
    const VerticalRun run = LayOutVertically(font(u"with-vert.ttf"_qs), 0, text, em);
    QVERIFY2(run.error.isEmpty(), qPrintable(run.error));
    const qsizetype last = run.glyphs.size() - 1;
    QCOMPARE(run.clusters.at(last), quint32(text.size() - 1));
    // Every column starts at the top, the next one 1.5 em to the left; the
    // same character stands at the same height at the top of each.
    QCOMPARE(run.positions.at(last).x() - run.positions.at(0).x(), -lastColumn * 1.5 * em);
    if (lastColumn > 0)
        QCOMPARE(run.positions.at(last).y(), run.positions.at(0).y());
    else
        QVERIFY(run.positions.at(last).y() > run.positions.at(0).y());
    QVERIFY(run.bounds.contains(run.positions.at(last)));
    QCOMPARE(run.bounds.right(), em / 2);
}

void VerticalLayoutTest::unreadableFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("faceIndex");
    QTest::newRow("missing") << u"missing.ttf"_qs << 0;
    QTest::newRow("garbage") << u"garbage.ttf"_qs << 0;
    QTest::newRow("truncated") << u"cut.ttf"_qs << 0;
    QTest::newRow("no such face") << u"with-vert.ttf"_qs << 3;
}

void VerticalLayoutTest::unreadableFiles()
{
    QFETCH(QString, file);
    QFETCH(int, faceIndex);
    const VerticalRun run = LayOutVertically(font(file), faceIndex, u"「縦書き」"_qs, 24);
    QVERIFY(!run.error.isEmpty());
    QVERIFY(run.glyphs.isEmpty());
    VerticalSample sample;
    sample.setSample(font(file), faceIndex, u"「縦書き」"_qs, 24);
    QCOMPARE(sample.message(), run.error);
}

QTEST_MAIN(VerticalLayoutTest)
#include "tst_verticallayout.moc"

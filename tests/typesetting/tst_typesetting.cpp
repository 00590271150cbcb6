#include "face/GlyphForms.h"
#include "face/Typesetting.h"
#include "printing/Printouts.h"
#include "printing/ReportPrinting.h"
#include "typesetting/TypesettingWindow.h"

#include "support/RecordingPrinter.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace {

const QString Noto = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString IpaGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");

QString small(const QString& name)
{
    return QStringLiteral(GLYFARO_SMALL_FONTS "/") + name;
}

const TypesettingFeature& featureTagged(const QByteArray& tag)
{
    for (const TypesettingFeature& feature : TypesettingFeatures()) {
        if (feature.tags.contains(tag))
            return feature;
    }
    qFatal("no switch for %s", tag.constData());
}

// The tags of one switch added to or taken from the default ones.
QSet<QByteArray> defaultsWith(const QByteArray& tag, bool on)
{
    QSet<QByteArray> tags = DefaultTypesettingTags();
    for (const QByteArray& each : featureTagged(tag).tags) {
        if (on)
            tags.insert(each);
        else
            tags.remove(each);
    }
    return tags;
}

qreal length(const TypesetRun& run, SettingDirection direction)
{
    return direction == SettingDirection::Vertical ? run.bounds.height() : run.bounds.width();
}

QCheckBox* switchOf(TypesettingWindow& window, const QByteArray& tag)
{
    const QList<TypesettingFeature>& features = TypesettingFeatures();
    for (qsizetype i = 0; i < features.size(); ++i) {
        if (features.at(i).tags.contains(tag))
            return window.Switches.at(i);
    }
    return nullptr;
}

} // namespace

// Japanese text set with the features a typesetter switches, in Noto Sans
// CJK JP, IPAGothic and the small fonts cut from it.
class TypesettingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(Noto) || !QFile::exists(IpaGothic))
            QSKIP("the fonts' packages are not installed");
    }

    void everySwitchOnce()
    {
        QStringList tags;
        for (const TypesettingFeature& feature : TypesettingFeatures()) {
            for (const QByteArray& tag : feature.tags)
                tags << QString::fromLatin1(tag);
        }
        QStringList wanted = QStringLiteral("palt halt vpal vhal kern vkrn vert vrt2 jp78 jp83 jp90 jp04 nlck hojo "
                                            "expt trad fwid hwid pwid twid qwid ruby hkna vkna ital liga dlig")
                                 .split(u' ');
        for (int set = 1; set <= 20; ++set)
            wanted << QStringLiteral("ss%1").arg(set, 2, 10, QLatin1Char('0'));
        QCOMPARE(QSet<QString>(tags.cbegin(), tags.cend()), QSet<QString>(wanted.cbegin(), wanted.cend()));
        QCOMPARE(tags.size(), wanted.size());
        QCOMPARE(featureTagged("palt").label(), u"プロポーショナル字幅 (palt)"_qs);
        QCOMPARE(featureTagged("vrt2").label(), u"縦組み用字形 (vert/vrt2)"_qs);
    }

    void switches_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<qreal>("shorterBy"); // in em, when the switch is on
        QTest::addColumn<bool>("glyphsChange");
        QTest::newRow("palt closes brackets") << Noto << u"「日本」"_qs << false << QByteArray("palt") << 1.0 << false;
        QTest::newRow("halt halves punctuation") << Noto << u"、「"_qs << false << QByteArray("halt") << 1.0 << false;
        QTest::newRow("vpal closes brackets") << Noto << u"「日本」"_qs << true << QByteArray("vpal") << 1.0 << false;
        QTest::newRow("vpal does nothing across") << Noto << u"「日本」"_qs << false << QByteArray("vpal") << 0.0 << false;
        QTest::newRow("palt does nothing down") << Noto << u"「日本」"_qs << true << QByteArray("palt") << 0.0 << false;
        QTest::newRow("liga joins ffi") << Noto << u"ffi"_qs << false << QByteArray("liga") << 0.007 << true;
        QTest::newRow("vert turns brackets") << Noto << u"「ー」"_qs << true << QByteArray("vert") << 0.0 << true;
        QTest::newRow("vert stays off across") << Noto << u"「ー」"_qs << false << QByteArray("vert") << 0.0 << false;
        QTest::newRow("jp90 switches 辻") << small(u"forms-jp90.ttf"_qs) << u"辻葛"_qs << false << QByteArray("jp90")
                                          << 0.0 << true;
        QTest::newRow("a feature the face lacks") << IpaGothic << u"「日本」"_qs << false << QByteArray("palt") << 0.0
                                                  << false;
    }

    void switches()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(bool, vertical);
        QFETCH(QByteArray, tag);
        QFETCH(qreal, shorterBy);
        QFETCH(bool, glyphsChange);
        const Typesetter setter(file, 0);
        QVERIFY2(setter.error().isEmpty(), qPrintable(setter.error()));
        const SettingDirection direction = vertical ? SettingDirection::Vertical : SettingDirection::Horizontal;
        const qreal em = 100;
        const TypesetRun off = setter.set(text, em, direction, defaultsWith(tag, false));
        const TypesetRun on = setter.set(text, em, direction, defaultsWith(tag, true));
        QVERIFY(!off.glyphs.isEmpty());
        QVERIFY(!off.glyphs.contains(0));
        QCOMPARE(off.clusters.size(), off.glyphs.size());
        QVERIFY2(qAbs(length(off, direction) - length(on, direction) - shorterBy * em) < 0.5,
                 qPrintable(QStringLiteral("%1 → %2").arg(length(off, direction)).arg(length(on, direction))));
        QCOMPARE(on.glyphs != off.glyphs, glyphsChange);
    }

    void linesAndColumns()
    {
        const Typesetter setter(IpaGothic, 0);
        const qreal em = 40;
        const TypesetRun across = setter.set(u"日本\n語"_qs, em, SettingDirection::Horizontal, DefaultTypesettingTags());
        QCOMPARE(across.glyphs.size(), 3);
        QCOMPARE(across.clusters, (QList<quint32>{0, 1, 3}));
        // Left to right on a line; the next line lower by at least 1.5 em.
        QCOMPARE(across.positions.at(1).x() - across.positions.at(0).x(), em);
        QCOMPARE(across.positions.at(0).y(), across.positions.at(1).y());
        QVERIFY(across.positions.at(2).y() - across.positions.at(0).y() >= 1.5 * em - 0.01);
        QCOMPARE(across.bounds.width(), 2 * em);

        const TypesetRun down = setter.set(u"日本\n語"_qs, em, SettingDirection::Vertical, DefaultTypesettingTags());
        // Top to bottom in a column; the next column 1.5 em to the left.
        QCOMPARE(down.positions.at(1).y() - down.positions.at(0).y(), em);
        QCOMPARE(down.positions.at(0).x() - down.positions.at(2).x(), 1.5 * em);
        QCOMPARE(down.bounds.height(), 2 * em);
    }

    // A selector is never a glyph of its own: the face's variant where it
    // maps the sequence, else the base, marked.
    void variationSequences_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("mapped");
        QTest::newRow("Noto Sans CJK JP maps 葛 U+E0100") << Noto << true;
        QTest::newRow("IPAGothic has no sequences") << IpaGothic << false;
    }

    void variationSequences()
    {
        QFETCH(QString, file);
        QFETCH(bool, mapped);
        const Typesetter setter(file, 0);
        const QString text = u"葛"_qs + QString::fromUcs4(U"\U000E0100", 1) + u"葛"_qs;
        for (const SettingDirection direction : {SettingDirection::Horizontal, SettingDirection::Vertical}) {
            const TypesetRun run = setter.set(text, 50, direction, DefaultTypesettingTags());
            QCOMPARE(run.glyphs.size(), 2);
            QCOMPARE(run.unmappedSequences, mapped ? QList<qsizetype>{} : QList<qsizetype>{0});
            QCOMPARE(run.glyphs.at(0) != run.glyphs.at(1), mapped);
            if (mapped)
                QCOMPARE(run.glyphs.at(0), SequenceGlyph(file, 0, U'葛', 0xE0100));
        }
    }

    void unreadableFaces_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("error");
        QTest::newRow("no file") << u"/nonexistent/font.ttf"_qs << 0 << u"フォントファイルが見つかりません"_qs;
        QTest::newRow("no such face") << Noto << 40 << u"このファイルに 40 番の書体はありません（書体の数は 10）"_qs;
        QTest::newRow("garbage") << small(u"garbage.ttf"_qs) << 0
                                 << u"フォントファイルを読めません（壊れているか、対応していない形式です）"_qs;
    }

    void unreadableFaces()
    {
        QFETCH(QString, file);
        QFETCH(int, index);
        QFETCH(QString, error);
        const Typesetter setter(file, index);
        QCOMPARE(setter.error(), error);
        const TypesetRun run = setter.set(u"日本"_qs, 20, SettingDirection::Horizontal, {});
        QCOMPARE(run.error, error);
        QVERIFY(run.glyphs.isEmpty());
        TypesettingWindow window(u"壊れた書体"_qs, file, index, u"日本"_qs);
        QVERIFY(window.Message->isVisibleTo(&window));
        QCOMPARE(window.Message->text(), error);
        QVERIFY(!window.PrintButton->isEnabled());
        for (const QCheckBox* check : std::as_const(window.Switches))
            QVERIFY(!check->isEnabled());
    }

    // The window over Noto Sans CJK JP, driven by its switches and keys.
    void windowSwitches()
    {
        TypesettingWindow window(u"Noto Sans CJK JP"_qs, Noto, 0, u"「日本」の組版"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The face's own features can be switched; the rest cannot.
        QVERIFY(switchOf(window, "palt")->isEnabled());
        QVERIFY(!switchOf(window, "palt")->isChecked());
        QVERIFY(switchOf(window, "kern")->isChecked());
        QVERIFY(!switchOf(window, "jp04")->isEnabled());
        QCOMPARE(switchOf(window, "jp04")->toolTip(), u"この書体にはありません"_qs);
        QVERIFY(!switchOf(window, "vpal")->isEnabled());
        QCOMPARE(window.View->waterfall().size(), qsizetype(GlyphSheetSizes.size()));

        const qreal before = window.View->sample().bounds.width();
        QTest::mouseClick(switchOf(window, "palt"), Qt::LeftButton);
        QVERIFY(switchOf(window, "palt")->isChecked());
        const qreal em = window.View->sample().bounds.height() / 1.5;
        QVERIFY2(before - window.View->sample().bounds.width() > 0.9 * em,
                 qPrintable(QStringLiteral("%1 → %2").arg(before).arg(window.View->sample().bounds.width())));
        // The waterfall follows the switches.
        const TypesetRun& largest = window.View->waterfall().constLast();
        const qreal largestEm = GlyphSheetSizes.back() * window.View->logicalDpiY() / 72.0;
        // Seven characters, the brackets closed up by half an em each.
        QVERIFY(largest.bounds.width() < 6 * largestEm + 1);
        QVERIFY(window.reportLines().contains(u"オンの機能: プロポーショナル字幅 (palt)、カーニング (kern)、標準の合字 (liga)"_qs));

        // Down: vertical switches come alive, horizontal ones rest.
        window.Direction->setFocus();
        QTest::keyClick(window.Direction, Qt::Key_Down);
        QCOMPARE(window.direction(), SettingDirection::Vertical);
        QVERIFY(switchOf(window, "vpal")->isEnabled());
        QVERIFY(!switchOf(window, "palt")->isEnabled());
        QCOMPARE(switchOf(window, "palt")->toolTip(), u"横組みでだけ働きます"_qs);
        const TypesetRun& column = window.View->sample();
        QVERIFY(column.bounds.height() > 5 * column.bounds.width());
        QVERIFY(window.View->sampleRect().height() > window.View->sampleRect().width());

        // A new size sets the sample again.
        const qreal tall = window.View->sample().bounds.height();
        window.PointSize->setValue(window.PointSize->value() * 2);
        QVERIFY(qAbs(window.View->sample().bounds.height() - 2 * tall) < 1);
    }

    void windowCopiesAndPrints()
    {
        TypesettingWindow window(u"IPAゴシック"_qs, IpaGothic, 0, u"日本語の組版\n二行目"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.CopyButton, Qt::LeftButton);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied->text().startsWith(u"組版見本: IPAゴシック\nファイル: ipag.ttf（0 番の書体）\n組み方: 横組み、24 pt\n"_qs));
        QVERIFY(copied->text().endsWith(u"\n日本語の組版\n二行目"_qs));
        QVERIFY(copied->hasImage());

        QSignalSpy printed(&window, &TypesettingWindow::printRequested);
        QTest::mouseClick(window.PrintButton, Qt::LeftButton);
        QCOMPARE(printed.size(), 1);
        const auto items = printed.at(0).at(0).value<QList<ReportItem>>();
        qsizetype figures = 0;
        for (const ReportItem& item : items) {
            if (!item.figure)
                continue;
            ++figures;
            QCOMPARE(item.figure->glyphs.size(), item.figure->positions.size());
            QVERIFY(!item.figure->glyphs.isEmpty());
            // Nothing past the page's width.
            QVERIFY(item.figure->size.width() <= 450.01);
            for (const QPointF& position : item.figure->positions)
                QVERIFY(position.x() >= -0.01 && position.x() < 450);
        }
        QCOMPARE(figures, 1 + qsizetype(GlyphSheetSizes.size()));
        // At 72 pt, fewer than the six characters of the first line fit.
        QCOMPARE(items.constLast().figure->glyphs.size(), 6);

        RecordingPrinter printer;
        QVERIFY(PrintReport(printer, items, u"IPAPGothic"_qs, {u"2026-12-09 10:00"_qs, u"proof-01"_qs}));
        QCOMPARE(printer.figures.size(), figures);
        // The waterfall takes more than a page; every page is numbered.
        QVERIFY(printer.pageNumber >= 2);
        QCOMPARE(printer.visible(1).at(1).text, QStringLiteral("1 / %1").arg(printer.pageNumber));
        for (const RecordingPrinter::Figure& figure : std::as_const(printer.figures))
            QVERIFY(figure.y + figure.height <= printer.pageHeight);
    }
};

QTEST_MAIN(TypesettingTest)
#include "tst_typesetting.moc"

#include "support/TestEnvironment.h"
#include "platform/FontConfigFonts.h"
#include "platform/FontSnapshot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fontconfig/fontconfig.h>

using namespace platform;

class TestFontConfigFonts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Before anything asks fontconfig for fonts in this process.
        TestEnvironment::useSyntheticFonts();
    }

    void cleanupTestCase()
    {
        // fontconfig keeps its configuration until told to let go; without
        // this the leak checker of sanitized builds reports it.
        FcFini();
    }
    void screenFontsAreRealFamiliesOnceEach()
    {
        FontConfigFonts fonts;
        const QStringList names = fonts.screenFonts();
        QVERIFY(names.size() >= 64);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());

        QVERIFY(names.contains(QStringLiteral("CaseDup Synth")));
        QVERIFY(names.contains(QStringLiteral("casedup synth")));
        QVERIFY(names.contains(QStringLiteral("ローカル合成0007")));
        QVERIFY(!names.contains(QStringLiteral("Loc Synth 0007")));
        // Drawn by the first family name, which the drawing code files it under.
        QCOMPARE(FontConfigFonts().drawingFamily(QStringLiteral("ローカル合成0007")), QStringLiteral("Loc Synth 0007"));
        QCOMPARE(FontConfigFonts().drawingFamily(QStringLiteral("Aynth Sans 0000")), QStringLiteral("Aynth Sans 0000"));
        QVERIFY(names.contains(QStringLiteral("Aynth Sans 0000")));
        QVERIFY(names.contains(QStringLiteral("あ合成フォント0005")));
        for (const char* alias : {"Sans Serif", "Serif", "Monospace", "sans-serif", "monospace", "Sans"})
            QVERIFY2(!names.contains(QString::fromLatin1(alias)), alias);
        // The listing is made once and shared.
        QCOMPARE(FontConfigFonts().screenFonts(), names);
    }

    // A missing design face is replaced by a Japanese face of the same
    // spacing that the screen-font list names, so windows can find it.
    void designFacesFallBackToInstalledCounterparts()
    {
        FontConfigFonts fonts;
        const QStringList names = fonts.screenFonts();
        const QString proportional = fonts.designFace(DesignFace::ProportionalGothic);
        const QString fixed = fonts.designFace(DesignFace::FixedGothic);
        QVERIFY(!names.contains(designFaceName(DesignFace::ProportionalGothic)));
        QVERIFY2(names.contains(proportional), qPrintable(proportional));
        QVERIFY2(names.contains(fixed), qPrintable(fixed));
        QVERIFY(proportional != fixed);

        const QStringList withDesign{QStringLiteral("Arial"), QStringLiteral("ＭＳ Ｐゴシック")};
        QCOMPARE(resolveDesignFace(DesignFace::ProportionalGothic, withDesign), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(resolveDesignFace(DesignFace::FixedGothic, withDesign), fixed);
    }

    void pathsToOneFileCountOnce()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("fonts")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("more")));
        const QString original = dir.filePath(QStringLiteral("fonts/local.ttf"));
        QVERIFY(QFile::copy(TestEnvironment::syntheticFontsDir() + QStringLiteral("/fonts/synth0007.ttf"), original));
        QVERIFY(QFile::link(original, dir.filePath(QStringLiteral("fonts/alias.ttf"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("fonts")), dir.filePath(QStringLiteral("more/linked"))));
        QFile config(dir.filePath(QStringLiteral("fonts.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                    "<cachedir>%1/cache</cachedir>\n<dir>%1/fonts</dir>\n<dir>%1/more</dir>\n"
                                    "</fontconfig>\n").arg(dir.path()).toUtf8());
        config.close();

        const auto snapshot = FontSnapshot::fromConfigFile(config.fileName());
        QCOMPARE(snapshot->screenFonts(), QStringList{QStringLiteral("ローカル合成0007")});
        QCOMPARE(snapshot->fileEntries().size(), 1);
        QCOMPARE(snapshot->fileEntries().first().name,
                 QStringLiteral("Loc Synth 0007 & ローカル合成0007 (TrueType)"));
        QVERIFY(QFile::exists(snapshot->fileEntries().first().path));
    }

    void facesAreNamedAsTheSystemNamesThem_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("screenName");
        QTest::addColumn<QString>("entryName");
        QTest::newRow("English and Japanese names")
            << QStringList{"IPAGothic", "IPAゴシック"} << QStringList{"en", "ja"} << "Regular" << "TrueType"
            << "IPAゴシック" << "IPAGothic & IPAゴシック (TrueType)";
        QTest::newRow("Japanese name listed first")
            << QStringList{"游明朝", "Yu Mincho"} << QStringList{"ja", "en"} << "Regular" << "TrueType"
            << "游明朝" << "游明朝 & Yu Mincho (TrueType)";
        QTest::newRow("no Japanese name")
            << QStringList{"DejaVu Sans", "DejaVu Sans Wide"} << QStringList{"en", "de"} << "Book" << "TrueType"
            << "DejaVu Sans" << "DejaVu Sans & DejaVu Sans Wide (TrueType)";
        QTest::newRow("bold CFF outlines")
            << QStringList{"Noto Sans CJK JP"} << QStringList{"en"} << "Bold" << "CFF"
            << "Noto Sans CJK JP" << "Noto Sans CJK JP Bold (OpenType)";
        QTest::newRow("bitmap format")
            << QStringList{"Fixed"} << QStringList{"en"} << "SemiCondensed" << "PCF"
            << "Fixed" << "Fixed SemiCondensed (PCF)";
        QTest::newRow("Type 1")
            << QStringList{"Nimbus"} << QStringList{} << "Regular" << "Type 1"
            << "Nimbus" << "Nimbus (Type 1)";
        QTest::newRow("same name twice")
            << QStringList{"Twice", "Twice"} << QStringList{"en", "ja"} << "" << "TrueType"
            << "Twice" << "Twice (TrueType)";
    }
    void facesAreNamedAsTheSystemNamesThem()
    {
        QFETCH(QStringList, families);
        QFETCH(QStringList, languages);
        QFETCH(QString, style);
        QFETCH(QString, format);
        FontFace face;
        face.path = face.realPath = QStringLiteral("/fonts/x.ttf");
        face.families = families;
        face.familyLanguages = languages;
        face.style = style;
        face.format = format;
        QTEST(FontSnapshot::screenName(face), "screenName");
        QTEST(FontSnapshot::entryName(face), "entryName");
    }

    void familiesInSeveralFilesAreListedOnce()
    {
        auto face = [](const QString& path, const QString& family, const QString& style) {
            FontFace f;
            f.path = f.realPath = path;
            f.families = QStringList{family};
            f.familyLanguages = QStringList{QStringLiteral("en")};
            f.style = style;
            f.format = QStringLiteral("TrueType");
            return f;
        };
        const FontSnapshot snapshot({face("/f/a-bold.ttf", "Alpha", "Bold"), face("/f/a.ttf", "Alpha", "Regular"),
                                     face("/f/b.ttf", "alpha", "Regular")});
        QCOMPARE(snapshot.screenFonts(), (QStringList{"Alpha", "alpha"}));
        QCOMPARE(snapshot.fileEntries().size(), 3);
    }

    void eachStyleIsDrawnFromOneFileOfTheBestFormat()
    {
        // A family installed as OpenType, Type 1 and TrueType at once: the
        // drawing code reads every file it is given.
        auto face = [](const QString& path, const QString& style, const QString& format) {
            FontFace f;
            f.path = f.realPath = path;
            f.families = QStringList{QStringLiteral("Gamma")};
            f.style = style;
            f.format = format;
            return f;
        };
        const FontSnapshot snapshot({face("/t1/Gamma-Bold.t1", "Bold", "Type 1"),
                                     face("/otf/Gamma-Regular.otf", "Regular", "CFF"),
                                     face("/t1/Gamma-Regular.t1", "Regular", "Type 1"),
                                     face("/ttf/Gamma-Regular.ttf", "Regular", "TrueType")});
        QStringList files = snapshot.drawingFiles(QStringLiteral("Gamma"));
        files.sort();
        QCOMPARE(files, (QStringList{"/t1/Gamma-Bold.t1", "/ttf/Gamma-Regular.ttf"}));
        // Every file is still listed as a font file entry of its own.
        QCOMPARE(snapshot.fileEntries().size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestFontConfigFonts)
#include "tst_fontconfigfonts.moc"

#include "fontfiles/DisabledFonts.h"
#include "fontfiles/FontInstaller.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using platform::FontFace;

namespace {

const QString Small = QStringLiteral(GLYFARO_SMALL_FONTS);

QString small(const QString& name)
{
    return Small + u'/' + name;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool listed(const QString& family)
{
    const QList<FontFace> faces = platform::InstalledFacesNow();
    return std::any_of(faces.cbegin(), faces.cend(), [&family](const FontFace& face) { return face.families.contains(family); });
}

// The files of a folder, temporary copies included, sorted.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Writes fail once a file reaches this many bytes, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

class FontFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        qputenv("FONTCONFIG_FILE", m_environment->writeUserFontsConfig().toLocal8Bit());
        m_places = UserFontPlaces();
        QCOMPARE(m_places.fontsFolder, m_environment->dataHome() + QStringLiteral("/fonts"));
        QCOMPARE(m_places.configFolder, m_environment->configHome() + QStringLiteral("/fontconfig/conf.d"));
    }

    void cleanup() { m_environment.reset(); }

    void install_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("before");     // a file of the same name already in the folder
        QTest::addColumn<QString>("fontsFolder"); // relative to the data home, else the user's
        QTest::addColumn<qint64>("sizeLimit");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("folderAfter");
        QTest::addColumn<QString>("family");     // listed afterwards, where installed

        const int installed = int(InstallResult::Outcome::Installed);
        const int already = int(InstallResult::Outcome::AlreadyInstalled);
        const int failed = int(InstallResult::Outcome::Failed);
        QTest::newRow("a new file") << u"latin-box.ttf"_qs << QString() << QString() << qint64(0) << installed
                                    << QStringList{u"latin-box.ttf"_qs} << u"Latin Box"_qs;
        QTest::newRow("the same bytes are there") << u"latin-box.ttf"_qs << u"latin-box.ttf"_qs << QString() << qint64(0)
                                                  << already << QStringList{u"latin-box.ttf"_qs} << u"Latin Box"_qs;
        QTest::newRow("the same name with other bytes")
            << u"latin-box.ttf"_qs << u"latin-blank.ttf"_qs << QString() << qint64(0) << installed
            << QStringList{u"latin-box-2.ttf"_qs, u"latin-box.ttf"_qs} << u"Latin Box"_qs;
        QTest::newRow("a collection") << u"pair-mincho.ttc"_qs << QString() << QString() << qint64(0) << installed
                                      << QStringList{u"pair-mincho.ttc"_qs} << u"Pair Mincho"_qs;
        QTest::newRow("no font") << u"garbage.ttf"_qs << QString() << QString() << qint64(0) << failed << QStringList()
                                 << QString();
        QTest::newRow("a target that cannot be made") << u"latin-box.ttf"_qs << QString() << u"a-file/fonts"_qs
                                                      << qint64(0) << failed << QStringList() << QString();
        QTest::newRow("a full disk") << u"with-vert.ttf"_qs << u"latin-blank.ttf"_qs << QString() << qint64(1000)
                                     << failed << QStringList{u"with-vert.ttf"_qs} << QString();
    }

    void install()
    {
        QFETCH(QString, file);
        QFETCH(QString, before);
        QFETCH(QString, fontsFolder);
        QFETCH(qint64, sizeLimit);
        QFETCH(int, outcome);
        QFETCH(QStringList, folderAfter);
        QFETCH(QString, family);

        FontPlaces places = m_places;
        if (!fontsFolder.isEmpty()) {
            QFile blocker(m_environment->dataHome() + QStringLiteral("/a-file"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            places.fontsFolder = m_environment->dataHome() + u'/' + fontsFolder;
        }
        // What was there before stays byte for byte.
        QByteArray beforeBytes;
        if (!before.isEmpty()) {
            QVERIFY(QDir().mkpath(places.fontsFolder));
            QVERIFY(QFile::copy(small(before), places.fontsFolder + u'/' + file));
            beforeBytes = bytesOf(small(before));
        }
        const FontFileScan scan = ScanFontFile(small(file));
        InstallResult result;
        {
            std::optional<FileSizeLimit> limit;
            if (sizeLimit > 0)
                limit.emplace(rlim_t(sizeLimit));
            result = InstallFontFile(scan, places, platform::InstalledFacesNow());
        }
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.error.isEmpty(), outcome != int(InstallResult::Outcome::Failed));
        QCOMPARE(filesIn(places.fontsFolder), folderAfter);
        if (!before.isEmpty())
            QCOMPARE(bytesOf(places.fontsFolder + u'/' + file), beforeBytes);
        if (outcome == int(InstallResult::Outcome::Installed)) {
            QCOMPARE(bytesOf(result.path), bytesOf(small(file)));
            QVERIFY(QFileInfo(result.path).permissions() & QFileDevice::ReadOther);
        }
        // Every program started from now on lists it, from a fresh cache.
        if (!family.isEmpty())
            QVERIFY(listed(family));
    }

    void installingTwiceInstallsOnce()
    {
        const FontFileScan scan = ScanFontFile(small(u"pair-sans.ttf"_qs));
        QCOMPARE(int(InstallFontFile(scan, m_places, platform::InstalledFacesNow()).outcome),
                 int(InstallResult::Outcome::Installed));
        const InstallResult again = InstallFontFile(scan, m_places, platform::InstalledFacesNow());
        QCOMPARE(int(again.outcome), int(InstallResult::Outcome::AlreadyInstalled));
        QCOMPARE(filesIn(m_places.fontsFolder), QStringList{u"pair-sans.ttf"_qs});
    }

    void standing()
    {
        // Not installed, then the same bytes, then another file of the family.
        const FontFileScan box = ScanFontFile(small(u"latin-box.ttf"_qs));
        QCOMPARE(int(StandingOf(box, platform::InstalledFacesNow()).state), int(FileStanding::State::NotInstalled));
        QVERIFY(InstallFontFile(box, m_places, platform::InstalledFacesNow()).error.isEmpty());
        const FileStanding same = StandingOf(box, platform::InstalledFacesNow());
        QCOMPARE(int(same.state), int(FileStanding::State::SameFile));
        QCOMPARE(same.installed.value(0).path, m_places.fontsFolder + QStringLiteral("/latin-box.ttf"));

        QVERIFY(InstallFontFile(ScanFontFile(small(u"pair-sans-condensed.ttf"_qs)), m_places,
                                platform::InstalledFacesNow()).error.isEmpty());
        const FileStanding other = StandingOf(ScanFontFile(small(u"pair-sans.ttf"_qs)), platform::InstalledFacesNow());
        QCOMPARE(int(other.state), int(FileStanding::State::OtherFile));
        QCOMPARE(other.installed.size(), 1);
        QCOMPARE(other.installed.first().path, m_places.fontsFolder + QStringLiteral("/pair-sans-condensed.ttf"));
        QCOMPARE(other.installed.first().size, QFileInfo(small(u"pair-sans-condensed.ttf"_qs)).size());
        QVERIFY(!other.installed.first().version.isEmpty());
    }

    void scanNamesEveryFace_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("error");
        QTest::newRow("one face") << u"latin-box.ttf"_qs << QStringList{u"Latin Box Regular"_qs} << QString();
        QTest::newRow("a collection") << u"pair-mincho.ttc"_qs
                                      << QStringList{u"Pair Mincho Regular"_qs, u"Pair Mincho Bold"_qs} << QString();
        QTest::newRow("cut short") << u"cut.ttf"_qs << QStringList() << u"フォントファイルを読めません"_qs;
        QTest::newRow("bytes that are no font") << u"garbage.ttf"_qs << QStringList() << u"フォントファイルを読めません"_qs;
        QTest::newRow("missing") << u"none.ttf"_qs << QStringList() << u"見つかりません"_qs;
        QTest::newRow("a folder") << QString() << QStringList() << u"フォルダです"_qs;
    }

    void scanNamesEveryFace()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, titles);
        QFETCH(QString, error);
        const FontFileScan scan = ScanFontFile(file.isEmpty() ? Small : small(file));
        QStringList shown;
        for (const FontFace& face : scan.faces)
            shown << FaceTitle(face);
        QCOMPARE(shown, titles);
        QVERIFY2(scan.error.contains(error), qPrintable(scan.error));
        QCOMPARE(scan.ok(), error.isEmpty());
    }

    void removeGoesToTheTrash()
    {
        const FontFileScan scan = ScanFontFile(small(u"latin-box.ttf"_qs));
        const InstallResult installed = InstallFontFile(scan, m_places, platform::InstalledFacesNow());
        QVERIFY(listed(u"Latin Box"_qs));
        const RemoveResult removed = RemoveFontFile(installed.path, m_places);
        QVERIFY2(removed.removed, qPrintable(removed.error));
        QVERIFY(!QFile::exists(installed.path));
        QCOMPARE(bytesOf(m_environment->dataHome() + QStringLiteral("/Trash/files/latin-box.ttf")), bytesOf(small(u"latin-box.ttf"_qs)));
        QVERIFY(QFile::exists(m_environment->dataHome() + QStringLiteral("/Trash/info/latin-box.ttf.trashinfo")));
        QVERIFY(!listed(u"Latin Box"_qs));

        // A font outside the user's folder is the administrator's.
        const RemoveResult refused = RemoveFontFile(small(u"latin-blank.ttf"_qs), m_places);
        QVERIFY(!refused.removed);
        QVERIFY(refused.error.contains(u"管理者"_qs));
        QVERIFY(QFile::exists(small(u"latin-blank.ttf"_qs)));
    }

    void disableAndEnable()
    {
        // A system font, by its file as fontconfig lists it.
        const QStringList files = FilesOfFamily(u"Aynth Sans 0000"_qs, platform::InstalledFacesNow());
        QCOMPARE(files.size(), 1);
        SwitchResult off = DisableFonts({{files.first(), u"Aynth Sans 0000"_qs}}, m_places);
        QVERIFY2(off.error.isEmpty(), qPrintable(off.error));
        QCOMPARE(off.changed, 1);
        QVERIFY(!listed(u"Aynth Sans 0000"_qs));
        QVERIFY(listed(u"Bynth Sans 0008"_qs));
        const DisabledFonts listedOff = ReadDisabledFonts(m_places);
        QCOMPARE(listedOff.fonts.size(), 1);
        QCOMPARE(listedOff.fonts.first().path, files.first());
        QCOMPARE(listedOff.fonts.first().family, u"Aynth Sans 0000"_qs);
        // Twice changes nothing.
        QCOMPARE(DisableFonts({{files.first(), u"Aynth Sans 0000"_qs}}, m_places).changed, 0);

        const SwitchResult on = EnableFonts(files, m_places);
        QVERIFY2(on.error.isEmpty(), qPrintable(on.error));
        QCOMPARE(on.changed, 1);
        QVERIFY(listed(u"Aynth Sans 0000"_qs));
        QCOMPARE(EnableFonts(files, m_places).changed, 0);
        QVERIFY(ReadDisabledFonts(m_places).fonts.isEmpty());
    }

    void pathsAreMatchedExactly()
    {
        // Wildcards and markup in a path name that one file only.
        const QString odd = m_places.fontsFolder + QStringLiteral("/a*b?[c] & <d>.ttf");
        QVERIFY(QDir().mkpath(m_places.fontsFolder));
        QVERIFY(QFile::copy(small(u"latin-box.ttf"_qs), odd));
        QVERIFY(QFile::copy(small(u"latin-blank.ttf"_qs), m_places.fontsFolder + QStringLiteral("/aXXbY[c] & <d>.ttf")));
        QVERIFY(RefreshFontFolderCache(m_places.fontsFolder));
        QVERIFY(DisableFonts({{odd, u"Latin Box"_qs}}, m_places).error.isEmpty());
        QVERIFY(!listed(u"Latin Box"_qs));
        QVERIFY(listed(u"Latin Blank"_qs));
        QCOMPARE(ReadDisabledFonts(m_places).fonts.value(0).path, odd);
    }

    void onlyOurFileIsWritten_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<bool>("blockFolder");
        QTest::newRow("a file of that name written by someone else")
            << QByteArray("<?xml version=\"1.0\"?>\n<fontconfig><!-- mine --></fontconfig>\n") << false;
        QTest::newRow("a damaged file") << QByteArray("<!-- glyfaro2-disabled-fonts --><fontconfig><selectfont>") << false;
        QTest::newRow("a folder that cannot be made") << QByteArray() << true;
    }

    void onlyOurFileIsWritten()
    {
        QFETCH(QByteArray, existing);
        QFETCH(bool, blockFolder);
        FontPlaces places = m_places;
        if (blockFolder) {
            QFile blocker(m_environment->configHome() + QStringLiteral("/blocker"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            places.configFolder = blocker.fileName() + QStringLiteral("/conf.d");
        } else {
            QVERIFY(QDir().mkpath(places.configFolder));
            QFile file(DisabledFontsFile(places));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(existing);
        }
        const QStringList files = FilesOfFamily(u"Aynth Sans 0000"_qs, platform::InstalledFacesNow());
        const SwitchResult off = DisableFonts({{files.value(0), u"Aynth Sans 0000"_qs}}, places);
        QVERIFY(!off.error.isEmpty());
        QCOMPARE(off.changed, 0);
        QVERIFY(!EnableFonts(files, places).error.isEmpty() || blockFolder);
        if (!blockFolder)
            QCOMPARE(bytesOf(DisabledFontsFile(places)), existing);
        QVERIFY(listed(u"Aynth Sans 0000"_qs));
    }

    void packageOwningAFont()
    {
        // A font a package installed, and one no package knows.
        QCOMPARE(PackageOwning(u"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"_qs), u"fonts-ipafont-gothic"_qs);
        QCOMPARE(PackageOwning(small(u"latin-box.ttf"_qs)), QString());
    }

private:
    std::unique_ptr<TestEnvironment> m_environment;
    FontPlaces m_places;
};

QTEST_GUILESS_MAIN(FontFilesTest)
#include "tst_fontfiles.moc"

// Font files from outside: from "install" to the new file listed by a fresh
// `fc-list`, on the synthetic set with the user's font folder beside it; and
// reading a 20 MB CJK collection's faces beside `fc-scan` of the same file.
//
//   bench_fontfiles [N]          default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "face/FaceReader.h"
#include "fontfiles/FontInstaller.h"
#include "fontfileview/FileSample.h"
#include "fontfileview/FontFileWindow.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Runs = 5;
const QString Source = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
const QString Collection = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");

// The bytes of an installed font with a few more at the end: a file of the
// same family that is not installed yet, as a newer release would be.
QString variantOf(const QString& source, const QDir& folder, int run)
{
    const QString path = folder.filePath(QStringLiteral("ipag-%1.ttf").arg(run));
    QFile in(source);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        qFatal("cannot copy %s", qPrintable(source));
    out.write(in.readAll());
    out.write(QByteArray(16, char(run)));
    return path;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const QString setConf = benchFontSet(n);
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("data"));
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QDir(home.path()).mkpath(QStringLiteral("sources"));
    const QString conf = home.filePath(QStringLiteral("fonts.conf"));
    QFile confFile(conf);
    if (!confFile.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(conf));
    confFile.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><include>%1</include>"
                                  "<dir prefix=\"xdg\">fonts</dir>"
                                  "<include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/conf.d</include>"
                                  "</fontconfig>\n")
                       .arg(setConf)
                       .toUtf8());
    confFile.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), conf);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    useEnvironment(environment);
    const FontPlaces places = UserFontPlaces();

    const QString fcList = QStringLiteral("/usr/bin/fc-list");
    timeProcess(fcList, {}, environment);
    std::vector<double> installs, listings, totals;
    for (int run = 0; run < Runs; ++run) {
        const QString file = variantOf(Source, QDir(home.filePath(QStringLiteral("sources"))), run);
        QElapsedTimer clock;
        clock.start();
        const InstallResult result = InstallFontFile(ScanFontFile(file), places, platform::InstalledFacesNow());
        if (result.outcome != InstallResult::Outcome::Installed)
            qFatal("not installed: %s", qPrintable(result.error));
        installs.push_back(clock.nsecsElapsed() / 1e9);
        QByteArray listed;
        const double listing = timeProcess(fcList, {QStringLiteral(":"), QStringLiteral("file")}, environment, &listed);
        if (!listed.contains(QFile::encodeName(result.path)))
            qFatal("fc-list does not list %s", qPrintable(result.path));
        listings.push_back(listing);
        totals.push_back(clock.nsecsElapsed() / 1e9);
    }
    std::printf("%5d fonts: install (read, compare with the installed faces, copy, folder cache) %.3f s;"
                " then a fresh fc-list lists it, %.3f s; together %.3f s (target 1 s)\n",
                n, median(installs), median(listings), median(totals));

    if (QFile::exists(Collection)) {
        std::vector<double> scans, reads, references;
        for (int run = 0; run < Runs; ++run) {
            references.push_back(timeProcess(QStringLiteral("/usr/bin/fc-scan"), {Collection}, environment));
            QElapsedTimer clock;
            clock.start();
            const FontFileScan scan = ScanFontFile(Collection);
            scans.push_back(clock.nsecsElapsed() / 1e9);
            if (!scan.ok())
                qFatal("cannot read %s", qPrintable(Collection));
            if (!ReadFaceDetails(Collection, scan.faces.first().index).error.isEmpty())
                qFatal("cannot read the first face of %s", qPrintable(Collection));
            reads.push_back(clock.nsecsElapsed() / 1e9);
        }
        std::printf("%.1f MB collection: every face listed %.3f s, the first face's details too %.3f s;"
                    " fc-scan %.3f s; ratio %.1f\n",
                    QFileInfo(Collection).size() / 1048576.0, median(scans), median(reads), median(references),
                    median(reads) / median(references));

        // As a user opens it: read, the window made, shown and its sample
        // drawn once, where it stands on this machine included.
        NoDialogs dialogs;
        std::vector<double> opened, standing;
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            FontFileWindow window(ScanFontFile(Collection), dialogs, places, QStringLiteral("あいうえお　永遠の字形　ABCabc 0123"));
            window.show();
            window.Sample->repaint();
            opened.push_back(clock.nsecsElapsed() / 1e9);
            while (!window.standingKnown())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            standing.push_back(clock.nsecsElapsed() / 1e9);
        }
        std::printf("%.1f MB collection: opened to its first drawn sample %.3f s (target 0.150 s); %.1f × fc-scan"
                    " (target 2); where it stands on this machine shown %.3f s after opening\n",
                    QFileInfo(Collection).size() / 1048576.0, median(opened), median(opened) / median(references),
                    median(standing));
    }
    return 0;
}

// Catalogue benchmark: the font catalogue build and a file lookup of every
// font, with the production platform on a synthetic font set, beside fc-list
// on the same set.
//
//   bench_catalog [N ...]        default: 2000 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)
//
// The font configuration is set up once per process, so every measured build
// runs in a fresh child process (this program started again with --child).

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "BenchFonts.h"
#include "core/SystemIdentity.h"
#include "desktop/DesktopPlatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int Runs = 9;

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// In the child: build the catalogue as start-up does, then look up every
// font's file; prints "build lookups found fonts peak-kB".
int runChild()
{
    QElapsedTimer clock;
    clock.start();
    auto services = platform::createPlatform();
    FontCatalog catalog;
    const CatalogBuildResult result =
        BuildFontCatalog(catalog, services->platform(), WindowsNtKeyPath, [](const QString&) {});
    const double build = clock.nsecsElapsed() / 1e9;
    if (result.fatalMessage >= 0) {
        std::fprintf(stderr, "catalogue build failed with message %d\n", result.fatalMessage);
        return 1;
    }

    clock.restart();
    const FontFileLookup lookup(catalog, services->platform(), WindowsNtKeyPath);
    int found = 0;
    for (const QString& name : catalog.AllFontNames)
        found += lookup.LookupFontFile(name).matched;
    const double lookups = clock.nsecsElapsed() / 1e9;

    std::printf("%.6f %.6f %d %d %ld\n", build, lookups, found, int(catalog.AllFontNames.size()),
                peakKilobytes());
    return 0;
}

void benchmark(int n, const QString& self)
{
    const QString conf = benchFontSet(n);
    // The settings hive and runtime files go to a throw-away folder.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), conf);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // Warm the font cache so neither side pays for building it.
    timeProcess(QStringLiteral("fc-list"), {}, environment);

    std::vector<double> fcList, build, lookups, childWall;
    long peak = 0;
    int fonts = 0;
    int found = 0;
    for (int run = 0; run < Runs; ++run) {
        fcList.push_back(timeProcess(QStringLiteral("fc-list"), {}, environment));
        QByteArray output;
        childWall.push_back(timeProcess(self, {QStringLiteral("--child")}, environment, &output));
        double buildSeconds = 0;
        double lookupSeconds = 0;
        long childPeak = 0;
        if (std::sscanf(output.constData(), "%lf %lf %d %d %ld", &buildSeconds, &lookupSeconds, &found,
                        &fonts, &childPeak)
            != 5)
            qFatal("unexpected child output: %s", output.constData());
        build.push_back(buildSeconds);
        lookups.push_back(lookupSeconds);
        peak = std::max(peak, childPeak);
    }

    const double fc = median(fcList);
    std::printf("%d synthetic fonts (%d screen fonts, %d with a file found), median of %d runs\n", n,
                fonts, found, Runs);
    std::printf("  catalogue build: %.3f s, fc-list: %.3f s, ratio %.2f\n", median(build), fc,
                median(build) / fc);
    // This machine switches between a fast and a slow pace from one process
    // to the next; the best runs compare the two sides at the same pace.
    const double bestBuild = *std::min_element(build.begin(), build.end());
    const double bestFc = *std::min_element(fcList.begin(), fcList.end());
    std::printf("  catalogue build, best run: %.3f s, fc-list best run: %.3f s, ratio %.2f\n", bestBuild,
                bestFc, bestBuild / bestFc);
    std::printf("  build process (start to exit): %.3f s, fc-list: %.3f s, ratio %.2f\n",
                median(childWall), fc, median(childWall) / fc);
    std::printf("  lookups of all fonts: %.3f s, fc-list: %.3f s, ratio %.2f\n", median(lookups), fc,
                median(lookups) / fc);
    std::printf("  peak RSS of the build process: %.1f MB\n", peak / 1024.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.value(0) == QStringLiteral("--child"))
        return runChild();

    std::vector<int> sizes;
    for (const QString& argument : arguments)
        sizes.push_back(argument.toInt());
    if (sizes.empty())
        sizes = {2000, 10000};
    for (int n : sizes)
        benchmark(n, QCoreApplication::applicationFilePath());
    return 0;
}

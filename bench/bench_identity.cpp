// Identity benchmark on N synthetic fonts (default 10,000):
// - `glyfaro2-fonts save --details` the first time (no cache), against
//   sha256sum over the same files plus `fc-list : family file` in the same
//   run (target 1.5 ×);
// - the same again with the cache warm, against fc-list alone (target 3 ×);
// - `glyfaro2-fonts report` over 100 such inventories, each a little
//   different (target 2 s and 500 MB).
//
//   bench_identity [N] [MACHINES]
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 3;

// Wall time and peak memory of a child, run to the end.
struct Measured {
    double seconds = 0;
    long peakKb = 0;
    int status = 0;
};

Measured measure(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.waitForStarted();
    const pid_t pid = pid_t(process.processId());
    int status = 0;
    struct rusage usage {};
    // Reaped here, so that the child's own peak is read.
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    Measured measured{clock.nsecsElapsed() / 1e9, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    process.waitForFinished(100);
    return measured;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int machines = argc > 2 ? QByteArray(argv[2]).toInt() : 100;
    QTemporaryDir home;
    const QString conf = benchFontSet(n);
    QProcessEnvironment environment = benchEnvironment(home, conf);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/glyfaro2-fonts");
    const QString cache = home.filePath(QStringLiteral("cache/glyfaro2/file-facts"));
    const QString here = home.filePath(QStringLiteral("here.json"));

    QStringList files;
    for (QDirIterator it(QFileInfo(conf).absolutePath(), {QStringLiteral("*.ttf"), QStringLiteral("*.otf")},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next();
    const QStringList fcArguments{QStringLiteral(":"), QStringLiteral("family"), QStringLiteral("file")};
    // Warm the page cache and fontconfig's own cache first.
    timeProcess(QStringLiteral("fc-list"), fcArguments, environment);
    timeProcess(QStringLiteral("sha256sum"), files, environment);

    std::vector<double> fc, sha, cold, warm;
    for (int run = 0; run < Runs; ++run) {
        fc.push_back(timeProcess(QStringLiteral("fc-list"), fcArguments, environment));
        sha.push_back(timeProcess(QStringLiteral("sha256sum"), files, environment));
        QFile::remove(cache);
        cold.push_back(timeProcess(tool, {QStringLiteral("save"), QStringLiteral("--details"), here}, environment));
        warm.push_back(timeProcess(tool, {QStringLiteral("save"), QStringLiteral("--details"), here}, environment));
    }
    const double first = median(sha) + median(fc);
    std::printf("%d fonts, %lld files: save --details first %.3f s, sha256sum + fc-list %.3f s (%.2f ×, target 1.5 ×)\n", n,
                qlonglong(files.size()), median(cold), first, median(cold) / first);
    std::printf("  cache warm %.3f s, fc-list %.3f s (%.2f ×, target 3 ×)\n", median(warm), median(fc),
                median(warm) / median(fc));

    // Many machines: each a copy of this one with its own differences.
    QFile saved(here);
    if (!saved.open(QIODevice::ReadOnly))
        qFatal("no inventory saved");
    const QJsonObject base = QJsonDocument::fromJson(saved.readAll()).object();
    QStringList inventories;
    for (int machine = 0; machine < machines; ++machine) {
        QJsonObject inventory = base;
        inventory.insert(QStringLiteral("machine"), QStringLiteral("host-%1").arg(machine, 3, 10, QLatin1Char('0')));
        QJsonArray faces = inventory.value(QStringLiteral("faces")).toArray();
        for (qsizetype i = machine; i < faces.size(); i += 97) {
            QJsonObject face = faces.at(i).toObject();
            face.insert(QStringLiteral("version"), QStringLiteral("Version 9.%1").arg(machine));
            face.insert(QStringLiteral("sha256"), QString(64, QLatin1Char('a' + machine % 6)));
            faces.replace(i, face);
        }
        inventory.insert(QStringLiteral("faces"), faces);
        const QString path = home.filePath(QStringLiteral("host-%1.json").arg(machine));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(inventory).toJson(QJsonDocument::Compact)) < 0)
            qFatal("cannot write %s", qPrintable(path));
        inventories << path;
    }
    const Measured report = measure(tool, QStringList{QStringLiteral("report"), QStringLiteral("--html"),
                                                      home.filePath(QStringLiteral("report.html"))}
                                              + inventories,
                                    environment);
    std::printf("report over %d inventories of %lld faces: %.2f s (target 2 s), peak %.0f MB (target 500 MB), status %d\n",
                machines, qlonglong(base.value(QStringLiteral("faces")).toArray().size()), report.seconds,
                report.peakKb / 1024.0, report.status);
    return 0;
}

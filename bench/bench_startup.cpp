// Start-up benchmark: the time from starting a fresh process to the settled
// main window (shown, lists filled, events handled), with the production
// platform on a synthetic font set, beside fc-list on the same set.
//
//   bench_startup [N ...]        default: 2000 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "platform/HiveRegistry.h"
#include "platform/Platform.h"
#include "platform/Translations.h"
#include "platform/UiFont.h"
#include "display/Form5.h"
#include "shell/MDIForm1.h"
#include "core/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 5;

struct Sample {
    double seconds;
    long peakKilobytes;
};

// Runs a command n times in fresh processes; wall time and peak memory of each.
std::vector<Sample> measure(const QStringList& command, const QProcessEnvironment& environment,
                            int runs = Runs)
{
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const pid_t child = fork();
        if (child == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::vector<QByteArray> storage;
            for (const QString& entry : environment.toStringList())
                storage.push_back(entry.toLocal8Bit());
            std::vector<char*> env;
            for (auto& entry : storage)
                env.push_back(entry.data());
            env.push_back(nullptr);
            std::vector<QByteArray> argStorage;
            for (const QString& arg : command)
                argStorage.push_back(arg.toLocal8Bit());
            std::vector<char*> args;
            for (auto& arg : argStorage)
                args.push_back(arg.data());
            args.push_back(nullptr);
            execve(args[0], args.data(), env.data());
            _exit(127);
        }
        int status = 0;
        struct rusage usage = {};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            qFatal("%s failed", qPrintable(command.join(QLatin1Char(' '))));
        samples.push_back({clock.nsecsElapsed() / 1e9, usage.ru_maxrss});
    }
    return samples;
}

Sample median(std::vector<Sample> samples)
{
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
    const Sample middle = samples[samples.size() / 2];
    long peak = 0;
    for (const Sample& s : samples)
        peak = std::max(peak, s.peakKilobytes);
    return {middle.seconds, peak};
}

// The measured child: one start-up to the settled main window, then exit.
int startOnce(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::installJapaneseTranslations(app);
    platform::useJapaneseUiFont();
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    // Settled: every event queued by the start-up has been handled.
    QTimer::singleShot(0, &app, [&app, &window] {
        // Then one individual view, opened as a double-click opens it and
        // drawn once, on a font that lacks some of the sample's characters.
        const QString result = qEnvironmentVariable("GLYFARO_BENCH_VIEW_RESULT");
        if (!result.isEmpty()) {
            const qsizetype position = window.catalog().AllFontNames.indexOf(QStringLiteral("Aynth Sans 0000"));
            QElapsedTimer clock;
            clock.start();
            Form5* view = window.openView();
            view->setListIndex(int(std::max<qsizetype>(position, 0)));
            view->repaint();
            view->Text1->viewport()->repaint();
            QFile file(result);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(clock.nsecsElapsed() / 1e9));
        }
        // For profiling by hand: where the resident bytes of the settled window lie.
        const QString smaps = qEnvironmentVariable("GLYFARO_BENCH_SMAPS");
        if (!smaps.isEmpty()) {
            QFile in(QStringLiteral("/proc/self/smaps"));
            QFile out(smaps);
            if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
                out.write(in.readAll());
        }
        app.exit(0);
    });
    const int code = app.exec();
    std::_Exit(code);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--start-once")
        return startOnce(argc, argv);
    // For profiling one start by hand: writes a returning user's settings.
    if (argc > 2 && QByteArray(argv[1]) == "--prepare-settings") {
        prepareBenchSettings(QString::fromLocal8Bit(argv[2]));
        return 0;
    }

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {2000, 10000};

    const QString self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    const QString fcList = QStringLiteral("/usr/bin/fc-list");
    for (int n : sizes) {
        const QString conf = benchFontSet(n);
        QTemporaryDir home;
        QProcessEnvironment environment = benchEnvironment(home, conf);

        // Warm the font cache once so neither side pays for building it.
        measure({fcList}, environment);
        const Sample reference = median(measure({fcList}, environment));
        const Sample startup = median(measure({self, QStringLiteral("--start-once")}, environment));
        std::printf("%5d fonts: start-up to settled main window %.3f s (peak %.1f MB); "
                    "fc-list %.3f s (peak %.1f MB); ratio %.1f\n",
                    n, startup.seconds, startup.peakKilobytes / 1024.0, reference.seconds,
                    reference.peakKilobytes / 1024.0, startup.seconds / reference.seconds);
        std::fflush(stdout);

        const QString result = home.filePath(QStringLiteral("view-seconds"));
        environment.insert(QStringLiteral("GLYFARO_BENCH_VIEW_RESULT"), result);
        std::vector<double> views;
        for (int run = 0; run < Runs; ++run) {
            measure({self, QStringLiteral("--start-once")}, environment, 1);
            QFile file(result);
            if (!file.open(QIODevice::ReadOnly))
                qFatal("no view timing");
            views.push_back(file.readAll().toDouble());
        }
        environment.remove(QStringLiteral("GLYFARO_BENCH_VIEW_RESULT"));
        std::sort(views.begin(), views.end());
        std::printf("%5d fonts: opening and drawing an individual view %.3f s\n", n, views[views.size() / 2]);
        std::fflush(stdout);
    }
    return 0;
}

// Start-up benchmark: the time from starting a fresh process to the settled
// main window (shown, lists filled, events handled), with the production
// platform on a synthetic font set, beside `fc-list : family file` and an
// empty Qt window with a list (the floor no viewer can go below) on the same set.
//
//   bench_startup [N ...]        default: 2000 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "platform/HiveRegistry.h"
#include "desktop/DesktopPlatform.h"
#include "desktop/Translations.h"
#include "desktop/UiFont.h"
#include "display/Form5.h"
#include "shell/MDIForm1.h"
#include "core/SettingsStore.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QListWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 5;
// The side-by-side figures take turns, so a busy moment of the machine
// falls on all of them alike.
constexpr int ComparedRuns = 11;

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

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The measured child: one start-up to the settled main window, then exit.
int startOnce(int argc, char* argv[])
{
    QApplication app(argc, argv);
    prepareViewerApplication(app);
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    // Settled: every event queued by the start-up has been handled and, on
    // a display server, the window has been exposed and drawn once.
    const auto settled = [&app, &window] {
        // Then one individual view, opened as a double-click opens it and
        // drawn once, on a font that lacks some of the sample's characters.
        const QString result = qEnvironmentVariable("GLYFARO_BENCH_VIEW_RESULT");
        if (!result.isEmpty()) {
            const qsizetype position = window.catalog().AllFontNames.indexOf(QStringLiteral("Aynth Sans 0000"));
            const auto openOne = [&window, position] {
                QElapsedTimer clock;
                clock.start();
                Form5* view = window.openView();
                view->setListIndex(int(std::max<qsizetype>(position, 0)));
                view->repaint();
                view->Text1->viewport()->repaint();
                return clock.nsecsElapsed() / 1e9;
            };
            const double first = openOne();
            // Then more views, for what each one more costs in time and memory.
            constexpr int More = 8;
            const long before = residentKilobytes();
            std::vector<double> more;
            for (int i = 0; i < More; ++i)
                more.push_back(openOne());
            const long after = residentKilobytes();
            std::sort(more.begin(), more.end());
            QFile file(result);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(first) + ' ' + QByteArray::number(more[More / 2]) + ' '
                           + QByteArray::number(double(after - before) / More));
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
    };
    QTimer::singleShot(0, &app, [&app, &window, settled] {
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            settled();
            return;
        }
        // A real display shows the window only after the server's answer.
        QElapsedTimer waited;
        waited.start();
        while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
            app.processEvents(QEventLoop::WaitForMoreEvents, 10);
        app.processEvents();
        settled();
    });
    const int code = app.exec();
    std::_Exit(code);
}

// The floor: the same toolkit start-up with an empty window holding a list.
// With ownFacesOnly, the toolkit is given only the program's own faces, as
// the viewer gives it: what remains is the toolkit, the libraries and the
// Japanese interface face, with no font list of our own.
int emptyWindowOnce(int argc, char* argv[], bool ownFacesOnly)
{
    QApplication app(argc, argv);
    platform::installJapaneseTranslations(app);
    platform::useJapaneseUiFont();
    if (ownFacesOnly)
        platform::limitDrawingToUiFaces();
    QListWidget list;
    list.addItems({QStringLiteral("フォント"), QStringLiteral("Font")});
    list.resize(640, 480);
    list.show();
    QTimer::singleShot(0, &app, [&app] { app.exit(0); });
    const int code = app.exec();
    std::_Exit(code);
}

// A private X server for the measure on a real display, as a user's desktop
// draws the window: the X libraries, the shared-memory back buffer and the
// desktop's bus come with it, which the offscreen platform never loads.
class PrivateDisplay
{
public:
    PrivateDisplay()
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/Xvfb")))
            return;
        int pipe[2];
        if (::pipe(pipe) != 0)
            return;
        m_server.setProgram(QStringLiteral("/usr/bin/Xvfb"));
        m_server.setArguments({QStringLiteral("-displayfd"), QString::number(pipe[1]), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("1280x1024x24")});
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.setChildProcessModifier([fd = pipe[0]] { ::close(fd); });
        m_server.start();
        ::close(pipe[1]);
        QByteArray number;
        char c = 0;
        while (::read(pipe[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(pipe[0]);
        if (!number.isEmpty())
            m_display = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~PrivateDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished();
    }
    // Empty when there is no X server to be had.
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--start-once")
        return startOnce(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--empty-window")
        return emptyWindowOnce(argc, argv, false);
    if (argc > 1 && QByteArray(argv[1]) == "--empty-window-own-faces")
        return emptyWindowOnce(argc, argv, true);
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
    const QStringList fcListFamilyFile{fcList, QStringLiteral(":"), QStringLiteral("family"), QStringLiteral("file")};
    for (int n : sizes) {
        const QString conf = benchFontSet(n);
        QTemporaryDir home;
        QProcessEnvironment environment = benchEnvironment(home, conf);

        // Warm the font cache once so neither side pays for building it.
        measure({fcList}, environment);
        std::vector<Sample> references, floors, ownFloors, startups;
        for (int run = 0; run < ComparedRuns; ++run) {
            references.push_back(measure(fcListFamilyFile, environment, 1).front());
            floors.push_back(measure({self, QStringLiteral("--empty-window")}, environment, 1).front());
            ownFloors.push_back(measure({self, QStringLiteral("--empty-window-own-faces")}, environment, 1).front());
            startups.push_back(measure({self, QStringLiteral("--start-once")}, environment, 1).front());
        }
        const Sample reference = median(references);
        const Sample floor = median(floors);
        const Sample ownFloor = median(ownFloors);
        const Sample startup = median(startups);
        const double mb = 1024.0;
        std::printf("%5d fonts: start-up to settled main window %.3f s (peak %.1f MB)\n"
                    "%5d fonts: fc-list : family file %.3f s (peak %.1f MB); ratio %.1f\n"
                    "%5d fonts: empty window with a list %.3f s (peak %.1f MB); ratio %.1f\n"
                    "%5d fonts: the same, the toolkit given only the program's own faces %.3f s (peak %.1f MB)\n"
                    "%5d fonts: peak %.2f MB per 1,000 fonts, %.2f MB per 1,000 above the empty window\n",
                    n, startup.seconds, startup.peakKilobytes / mb,
                    n, reference.seconds, reference.peakKilobytes / mb, startup.seconds / reference.seconds,
                    n, floor.seconds, floor.peakKilobytes / mb, startup.seconds / floor.seconds,
                    n, ownFloor.seconds, ownFloor.peakKilobytes / mb,
                    n, startup.peakKilobytes / mb / n * 1000,
                    (startup.peakKilobytes - floor.peakKilobytes) / mb / n * 1000);
        std::fflush(stdout);

        // The same start on a real display server.
        if (const PrivateDisplay server; !server.display().isEmpty()) {
            QProcessEnvironment onDisplay = environment;
            onDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            onDisplay.insert(QStringLiteral("DISPLAY"), server.display());
            onDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
            const Sample shown = median(measure({self, QStringLiteral("--start-once")}, onDisplay, ComparedRuns));
            std::printf("%5d fonts: the same on an X server (Xvfb) %.3f s (peak %.1f MB)\n", n, shown.seconds,
                        shown.peakKilobytes / mb);
            std::fflush(stdout);
        }

        const QString result = home.filePath(QStringLiteral("view-seconds"));
        environment.insert(QStringLiteral("GLYFARO_BENCH_VIEW_RESULT"), result);
        std::vector<double> firsts, mores, kilobytes;
        for (int run = 0; run < Runs; ++run) {
            measure({self, QStringLiteral("--start-once")}, environment, 1);
            QFile file(result);
            if (!file.open(QIODevice::ReadOnly))
                qFatal("no view timing");
            const QList<QByteArray> fields = file.readAll().split(' ');
            if (fields.size() != 3)
                qFatal("bad view timing");
            firsts.push_back(fields[0].toDouble());
            mores.push_back(fields[1].toDouble());
            kilobytes.push_back(fields[2].toDouble());
        }
        environment.remove(QStringLiteral("GLYFARO_BENCH_VIEW_RESULT"));
        const auto middle = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::printf("%5d fonts: opening and drawing an individual view %.3f s; one more view %.3f s, %.2f MB\n",
                    n, middle(firsts), middle(mores), middle(kilobytes) / mb);
        std::fflush(stdout);
    }
    return 0;
}

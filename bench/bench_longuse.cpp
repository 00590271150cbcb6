// Long-use benchmark on the 10,000-font synthetic set with the production
// platform: 1,000 individual views opened as the all-fonts list opens them
// and closed again, and the preview paged through every font.
//
//   bench_longuse [N]            default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)
//
// Goals: resident memory grows by less than 5 MB over the 1,000 views (after
// a warm-up of 100); the preview's peak stays under 250 MB and it still
// answers promptly after the last page.

#include "BenchFonts.h"
#include "lists/Form1.h"
#include "display/Form10.h"
#include "display/Form5.h"
#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int WarmUpViews = 100;
constexpr int Views = 1000;
constexpr double ViewGrowthGoalMb = 5.0;
constexpr double PreviewPeakGoalMb = 250.0;

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

double peakMb()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// One view as a double-click in the all-fonts list opens it, drawn, closed.
void openAndClose(MDIForm1& window, int position)
{
    emit window.form1()->openViewAt(position);
    QMdiSubWindow* frame = window.mdiArea()->subWindowList(QMdiArea::CreationOrder).last();
    frame->widget()->repaint();
    frame->close();
    // Closed views are deleted later; let that happen as it would between clicks.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// How long a zero timer takes to fire: the event loop's answer time.
double timerLatencyMs()
{
    std::vector<double> samples;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        samples.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    return samples.back();
}

int runOnce(int argc, char* argv[], const QByteArray& part)
{
    QApplication app(argc, argv);
    prepareViewerApplication(app);
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    QCoreApplication::processEvents();
    const int fonts = int(window.catalog().AllFontNames.size());

    if (part == "views") {
        // Spread over the list, so many different faces are drawn.
        auto positionOf = [fonts](int i) { return int((static_cast<long long>(i) * 7919) % fonts); };
        for (int i = 0; i < WarmUpViews; ++i)
            openAndClose(window, positionOf(i));
        const double before = residentMb();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Views; ++i)
            openAndClose(window, positionOf(WarmUpViews + i));
        const double seconds = clock.nsecsElapsed() / 1e9;
        const double after = residentMb();
        const double growth = after - before;
        std::printf("%5d fonts: %d views opened and closed in %.1f s; RSS after %d warm-up views %.1f MB, "
                    "after %d more %.1f MB: growth %.2f MB (goal < %.0f MB) %s\n",
                    fonts, Views, seconds, WarmUpViews, before, Views, after, growth, ViewGrowthGoalMb,
                    growth < ViewGrowthGoalMb ? "PASS" : "FAIL");
    } else {
        const double start = residentMb();
        window.View_Click(4);
        Form10* preview = window.form10();
        QElapsedTimer clock;
        clock.start();
        for (int page = 1; page <= preview->VScroll1->maximum(); ++page) {
            preview->VScroll1->setValue(page);
            preview->VScroll1_Change();
            preview->Picture1->repaint();
            if (page % 100 == 0)
                QCoreApplication::processEvents();
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        QCoreApplication::processEvents();
        const double latency = timerLatencyMs();
        // A page turn after the whole walk, back to the first page.
        clock.restart();
        preview->VScroll1->setValue(0);
        preview->VScroll1_Change();
        preview->Picture1->repaint();
        const double turn = clock.nsecsElapsed() / 1e6;
        const double peak = peakMb();
        std::printf("%5d fonts: preview paged through %d pages in %.1f s; RSS before %.1f MB, after %.1f MB, "
                    "peak %.1f MB (goal < %.0f MB) %s; afterwards: event loop answers in %.2f ms (worst of 20), "
                    "a page turn takes %.1f ms %s\n",
                    fonts, preview->VScroll1->maximum() + 1, seconds, start, residentMb(), peak,
                    PreviewPeakGoalMb, peak < PreviewPeakGoalMb ? "PASS" : "FAIL", latency, turn,
                    latency < 50 && turn < 200 ? "PASS" : "FAIL");
    }
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--run-once")
        return runOnce(argc, argv, argv[2]);

    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const QString self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    const QString conf = benchFontSet(n);
    for (const char* part : {"views", "preview"}) {
        QTemporaryDir home;
        QProcessEnvironment environment = benchEnvironment(home, conf);

        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(self, {QStringLiteral("--run-once"), QString::fromLatin1(part)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("%s run failed", part);
    }
    return 0;
}

// Preview benchmark: opening the preview window the first time, and page
// turns across the whole list, each to a page of faces not drawn before,
// on a synthetic font set with the production platform.
//
//   bench_preview [N ...]        default: 2000 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "display/Form10.h"
#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Turns = 200;

double milliseconds(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

// The measured child: start-up, then the preview opened and paged.
int runOnce(int argc, char* argv[])
{
    QApplication app(argc, argv);
    prepareViewerApplication(app);
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    window.View_Click(4);
    Form10* preview = window.form10();
    preview->repaint();
    const double firstOpen = milliseconds(clock);

    // Pages spread evenly over the list, in order, none drawn before.
    const int maximum = preview->VScroll1->maximum();
    std::vector<double> turns;
    int previous = 0;
    for (int i = 1; i <= Turns; ++i) {
        const int page = std::max(previous + 1, int(static_cast<long long>(maximum) * i / Turns));
        if (page > maximum)
            break;
        previous = page;
        clock.restart();
        // What the last turn left for the event loop is part of this one, as
        // it is when a user turns pages.
        QCoreApplication::processEvents();
        preview->VScroll1->setValue(page);
        preview->VScroll1_Change();
        preview->Picture1->repaint();
        turns.push_back(milliseconds(clock));
        if (qEnvironmentVariableIsSet("GLYFARO_BENCH_SLOW") && turns.back() > 30)
            std::printf("slow %.1f ms page %d: %s\n", turns.back(), page,
                        qPrintable(window.catalog().AllFontNames.mid(page * 7, 7).join(QStringLiteral(" | "))));
    }
    std::sort(turns.begin(), turns.end());
    std::printf("%5lld fonts: first open %.1f ms; %zu page turns: median %.2f ms, worst %.2f ms\n",
                static_cast<long long>(window.catalog().AllFontNames.size()), firstOpen, turns.size(),
                turns[turns.size() / 2], turns.back());
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--run-once")
        return runOnce(argc, argv);

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {2000, 10000};

    const QString self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    for (int n : sizes) {
        const QString conf = benchFontSet(n);
        QTemporaryDir home;
        QProcessEnvironment environment = benchEnvironment(home, conf);

        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(self, {QStringLiteral("--run-once")});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("preview run failed");
    }
    return 0;
}

// Details window benchmark: the window with its full Japanese coverage report
// and vertical sample, opened on the largest Japanese font installed (Noto
// Sans CJK JP, about 65,000 glyphs) and on IPA Gothic, each time from nothing
// read. Target: within 100 ms.
//
//   bench_details [FAMILY ...]   default: "Noto Sans CJK JP" "IPAゴシック"

#include "fontinfo/FontDetailsWindow.h"
#include "platform/FontConfigFonts.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareViewerApplication(app);
    QStringList families;
    for (int i = 1; i < argc; ++i)
        families << QString::fromLocal8Bit(argv[i]);
    if (families.isEmpty())
        families = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAゴシック")};

    constexpr int Runs = 7;
    for (const QString& family : families) {
        std::vector<double> seconds;
        long glyphs = 0;
        for (int run = 0; run < Runs; ++run) {
            // A new platform each run: nothing of the font is known beforehand.
            platform::FontConfigFonts fonts;
            QElapsedTimer clock;
            clock.start();
            FontDetailsWindow window(family, fonts, QStringLiteral("「縦書き」のテスト、ー。"));
            window.resize(900, 700);
            window.show();
            QCoreApplication::processEvents();
            seconds.push_back(clock.nsecsElapsed() / 1e9);
            glyphs = window.details().glyphCount;
            if (!window.details().error.isEmpty())
                qFatal("%s: %s", qPrintable(family), qPrintable(window.details().error));
        }
        std::sort(seconds.begin(), seconds.end());
        std::printf("%s (%ld glyphs): details window with coverage, median %.1f ms, worst %.1f ms of %d\n",
                    qPrintable(family), glyphs, seconds[seconds.size() / 2] * 1e3, seconds.back() * 1e3, Runs);
    }
    std::fflush(stdout);
    std::_Exit(0);
}

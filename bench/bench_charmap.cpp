// Character map benchmark: opening the window on a large face (Noto Sans CJK
// JP: 65,535 glyphs, 44,810 characters) and scrolling it from top to bottom,
// a page at a time and a row at a time, each step timed with its drawing.
// Each pass has a window of its own, so every glyph is drawn for the first
// time, as when a user first scrolls through a font. Row steps are timed
// twice: as the user sees them (what stays in sight is moved and the new row
// drawn when the events are handled) and with the whole view drawn again.
//
//   bench_charmap [FILE [FACE]]   default: Noto Sans CJK's collection, face 0
//   env GLYFARO_BENCH_SHOT=FILE   also saves a picture of the window to FILE

#include "fontinfo/CharacterMap.h"
#include "shell/ViewerApplication.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

double milliseconds(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

struct Opened {
    std::unique_ptr<CharacterMap> window;
    double milliseconds;
};

// The window made, shown and drawn once, as the user first sees it.
Opened open(const QString& path, int face)
{
    QElapsedTimer clock;
    clock.start();
    auto window = std::make_unique<CharacterMap>(QStringLiteral("bench"), path, face);
    window->resize(Width, Height);
    window->show();
    QCoreApplication::processEvents();
    window->repaint();
    return {std::move(window), milliseconds(clock)};
}

enum class Drawing { Events, WholeView };

// Scrolls from the top to the bottom in steps of step pixels; the time of
// each step, its drawing included.
std::vector<double> scrollThrough(CharacterMap& window, int step, Drawing drawing)
{
    QScrollBar* bar = window.Grid->verticalScrollBar();
    std::vector<double> frames;
    QElapsedTimer clock;
    while (bar->value() < bar->maximum()) {
        clock.restart();
        bar->setValue(bar->value() + step);
        if (drawing == Drawing::WholeView)
            window.Grid->viewport()->repaint();
        else
            QCoreApplication::processEvents();
        frames.push_back(milliseconds(clock));
    }
    return frames;
}

void report(const char* what, std::vector<double> frames)
{
    std::sort(frames.begin(), frames.end());
    const auto over = std::count_if(frames.begin(), frames.end(), [](double ms) { return ms >= 16.0; });
    std::printf("%-12s %5zu frames: median %.2f ms, worst %.2f ms, %ld at 16 ms or more\n", what, frames.size(),
                frames[frames.size() / 2], frames.back(), long(over));
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareViewerApplication(app);
    const QStringList arguments = QCoreApplication::arguments();
    const QString path = arguments.value(1, QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"));
    const int face = arguments.value(2, QStringLiteral("0")).toInt();

    Opened pages = open(path, face);
    if (pages.window->characterCount() == 0)
        qFatal("no characters in %s face %d", qPrintable(path), face);
    std::printf("%s face %d: %d characters, %d columns at %dx%d\n", qPrintable(path), face,
                pages.window->characterCount(), pages.window->columns(), Width, Height);
    std::printf("open (read, lay out, show, first paint): %.1f ms\n", pages.milliseconds);
    if (const QString shot = qEnvironmentVariable("GLYFARO_BENCH_SHOT"); !shot.isEmpty())
        pages.window->grab().save(shot);
    report("page steps", scrollThrough(*pages.window, pages.window->Grid->verticalScrollBar()->pageStep(),
                                       Drawing::WholeView));
    pages.window.reset();

    Opened rows = open(path, face);
    std::printf("open again: %.1f ms\n", rows.milliseconds);
    report("row steps", scrollThrough(*rows.window, CharacterMap::CellPixels, Drawing::Events));
    rows.window.reset();

    Opened repaints = open(path, face);
    report("row repaints", scrollThrough(*repaints.window, CharacterMap::CellPixels, Drawing::WholeView));
    return 0;
}

// The typesetting sample redrawn after a switch changes: 1,000 characters
// of Japanese in Noto Sans CJK JP at 24 pt, palt turned on and off; each
// step shapes the sample and the sixteen waterfall lines again and paints
// what the window shows.
//
//   QT_QPA_PLATFORM=offscreen bench_typesetting

#include "BenchFonts.h"
#include "typesetting/TypesettingWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Runs = 40;
const QString Noto = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!QFile::exists(Noto))
        qFatal("%s is not installed", qPrintable(Noto));
    const QString line = QStringLiteral("「組版見本」の文章です。（括弧）や、句読点。カタカナのテキスト、ABC 123。");
    QString text;
    while (text.size() < 1000)
        text += line + (text.size() % 200 < line.size() ? QStringLiteral("\n") : QString());
    text.truncate(1000);

    TypesettingWindow window(QStringLiteral("Noto Sans CJK JP"), Noto, 0, text);
    window.resize(1100, 800);
    window.show();
    app.processEvents();
    QCheckBox* palt = window.Switches.at(0);
    QImage screen(window.ViewArea->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> seconds;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        palt->click();
        QPainter painter(&screen);
        window.ViewArea->viewport()->render(&painter);
        painter.end();
        seconds.push_back(clock.nsecsElapsed() / 1e9);
    }
    std::printf("%lld characters, %lld glyphs in the sample: a switch redrawn in %.2f ms median, %.2f ms worst"
                " (target 16 ms)\n",
                qlonglong(text.size()), qlonglong(window.View->sample().glyphs.size()), median(seconds) * 1e3,
                *std::max_element(seconds.cbegin(), seconds.cend()) * 1e3);
    return 0;
}

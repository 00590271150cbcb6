// Find window benchmark: the first opening, each keystroke in the name field,
// and a text of 50 characters (some beyond the BMP) filtering every font,
// first and per further keystroke, after a real start-up on a synthetic set,
// beside fc-list on the same set.
//
//   bench_find [N]               default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "find/FindWindow.h"
#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The time one step takes, the window's repaint included.
double secondsOf(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e9;
}

void report(const char* what, std::vector<double> seconds, double fcList)
{
    std::sort(seconds.begin(), seconds.end());
    std::printf("  %-44s median %6.1f ms, worst %6.1f ms (%zu steps; fc-list %.1f ms)\n", what,
                seconds[seconds.size() / 2] * 1e3, seconds.back() * 1e3, seconds.size(), fcList * 1e3);
}

} // namespace

int main(int argc, char* argv[])
{
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir home;
    const QString conf = benchFontSet(n);
    const QProcessEnvironment environment = benchEnvironment(home, conf);
    useEnvironment(environment);
    prepareBenchSettings(environment.value(QStringLiteral("XDG_CONFIG_HOME")));
    timeProcess(QStringLiteral("fc-list"), {}, environment);
    const double fcList = timeProcess(QStringLiteral("fc-list"), {}, environment);

    QApplication app(argc, argv);
    prepareViewerApplication(app);
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    window.resize(1200, 900);
    QCoreApplication::processEvents();

    const double opening = secondsOf([&] { window.Tools_Click(0); });
    FindWindow& find = *window.findWindow();
    std::printf("%lld fonts; opening the find window the first time: %.1f ms\n",
                qlonglong(window.catalog().AllFontNames.size()), opening * 1e3);

    std::vector<double> typing;
    for (const QString& query : {QStringLiteral("synth 00"), QStringLiteral("ろーかる"), QStringLiteral("ｌｏｃ")}) {
        for (qsizetype length = 1; length <= query.size(); ++length)
            typing.push_back(secondsOf([&] { find.NameField->setText(query.left(length)); }));
        for (qsizetype length = query.size() - 1; length >= 0; --length)
            typing.push_back(secondsOf([&] { find.NameField->setText(query.left(length)); }));
    }
    report("name field, per keystroke", typing, fcList);

    // 50 characters: kana, jōyō and name kanji, and six beyond the BMP.
    const QString text = QStringLiteral("あいうえおカキクケコ漢字表示印刷見本髙橋﨑𠮷野家𩸽𡈽𠀋𪚲𤸎"
                                        "東京大阪名古屋札幌福岡仙台広島神戸京都横浜");
    const QList<uint> characters = text.toUcs4();
    if (characters.size() != 50)
        qFatal("the text has %lld characters", qlonglong(characters.size()));
    std::printf("  text of %lld characters\n", qlonglong(characters.size()));
    const double first = secondsOf([&] { find.TextField->setText(text); });
    report("text, all at once the first time", {first}, fcList);
    std::vector<double> further;
    const QString more = QStringLiteral("鬱麤龘𠂉𠮟犇猫犬鳥魚");
    QString typed = text;
    for (const QChar c : more) {
        typed += c;
        if (c.isHighSurrogate())
            continue;
        further.push_back(secondsOf([&] { find.TextField->setText(typed); }));
    }
    while (typed.size() > text.size() - 10) {
        typed.chop(typed.back().isLowSurrogate() ? 2 : 1);
        further.push_back(secondsOf([&] { find.TextField->setText(typed); }));
    }
    report("text, per further keystroke", further, fcList);
    std::printf("  fonts that show the whole text: %lld\n", qlonglong(find.Results->model()->rowCount()));

    // Three variation sequences: each asked of the faces that hold its base,
    // the first time; then kept.
    const char32_t sequences[] = {U'葛', 0xE0100, U'辻', 0xE0100, U'飴', 0xE0101};
    const QString variants = QString::fromUcs4(sequences, 6);
    find.TextField->clear();
    const double sequencesFirst = secondsOf([&] { find.TextField->setText(variants); });
    report("three variation sequences, the first time", {sequencesFirst}, fcList);
    std::vector<double> sequencesAgain;
    for (int i = 0; i < 10; ++i) {
        sequencesAgain.push_back(secondsOf([&] { find.TextField->setText(variants.left(4)); }));
        sequencesAgain.push_back(secondsOf([&] { find.TextField->setText(variants); }));
    }
    report("three variation sequences, again", sequencesAgain, fcList);
    std::printf("  fonts that map all three: %lld\n", qlonglong(find.Results->model()->rowCount()));
    std::fflush(stdout);
    std::_Exit(0);
}

// Inventory benchmark: the inventory report of two comparison files of N
// names each, the window included; and glyfaro2-fonts list and compare as
// whole processes beside fc-list : family file on the same fonts.
//
//   bench_inventory [N]          default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "formats/ComparisonFile.h"
#include "inventory/InventoryWindow.h"

#include <QApplication>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Another machine's file: every 50th font missing, every 70th in another
// version, a hundred fonts of its own, some of them only wider in width.
QByteArray otherMachine(const QByteArray& here)
{
    const comparison_file::Contents contents = comparison_file::read(here);
    comparison_file::Writer writer;
    for (qsizetype i = 0; i < contents.names.size(); ++i) {
        if (i % 50 == 0)
            continue;
        writer.addRecord(contents.names.at(i), contents.sizes.at(i) + (i % 70 == 0 ? 1 : 0));
    }
    for (int i = 0; i < 100; ++i)
        writer.addRecord(i % 2 ? QStringLiteral("Studio Font %1").arg(i) : contents.names.at(i * 3).toUpper(), 1000);
    return writer.finish();
}

} // namespace

int main(int argc, char* argv[])
{
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir home;
    const QString conf = benchFontSet(n);
    const QProcessEnvironment environment = benchEnvironment(home, conf);
    useEnvironment(environment);

    QApplication app(argc, argv);
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/glyfaro2-fonts");
    const QString here = home.filePath(QStringLiteral("here.gfc"));
    const QString other = home.filePath(QStringLiteral("other.gfc"));
    const QStringList fcArguments{QStringLiteral(":"), QStringLiteral("family"), QStringLiteral("file")};
    timeProcess(QStringLiteral("fc-list"), fcArguments, environment);
    timeProcess(tool, {QStringLiteral("save"), here}, environment);
    {
        QFile file(here);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("no file saved");
        QFile out(other);
        if (!out.open(QIODevice::WriteOnly) || out.write(otherMachine(file.readAll())) < 0)
            qFatal("cannot write %s", qPrintable(other));
    }

    // The sides take turns, so that both meet the machine at the same pace.
    std::vector<double> fcList, list, compare;
    for (int run = 0; run < 9; ++run) {
        fcList.push_back(timeProcess(QStringLiteral("fc-list"), fcArguments, environment));
        list.push_back(timeProcess(tool, {QStringLiteral("list")}, environment));
        compare.push_back(timeProcess(tool, {QStringLiteral("compare"), here}, environment));
    }
    const double fc = median(fcList);
    std::printf("%d fonts\n", n);
    std::printf("  fc-list : family file            %7.1f ms\n", fc * 1e3);
    std::printf("  glyfaro2-fonts list              %7.1f ms  (%.2f x fc-list; target 2)\n", median(list) * 1e3,
                median(list) / fc);
    std::printf("  glyfaro2-fonts compare FILE      %7.1f ms  (%.2f x fc-list; target 3)\n", median(compare) * 1e3,
                median(compare) / fc);

    // The report of two files: both read, compared, the window shown.
    NoDialogs dialogs;
    const Settings settings;
    const FontSet none;
    std::vector<double> window;
    qsizetype counts[4] = {};
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer clock;
        clock.start();
        InventoryWindow report([&none]() -> const FontSet& { return none; }, dialogs, settings);
        report.readFile(InventoryWindow::Left, here);
        report.readFile(InventoryWindow::Right, other);
        report.show();
        QCoreApplication::processEvents();
        window.push_back(clock.nsecsElapsed() / 1e9);
        const Inventory& inventory = report.inventory();
        counts[0] = inventory.onlyLeft.size();
        counts[1] = inventory.onlyRight.size();
        counts[2] = inventory.sizeDiffers.size();
        counts[3] = inventory.same.size();
    }
    std::printf("  inventory report of two files    %7.1f ms  (median of 7, window included; target 50 ms)\n",
                median(window) * 1e3);
    std::printf("    groups: only left %lld, only right %lld, size differs %lld, same %lld\n", qlonglong(counts[0]),
                qlonglong(counts[1]), qlonglong(counts[2]), qlonglong(counts[3]));
    return 0;
}

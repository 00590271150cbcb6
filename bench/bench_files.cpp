// Font-name file benchmark: saving and loading a comparison file, the CSV
// export, and the comparison search, on the installed fonts of a synthetic
// set, through the program's own windows after a real start-up (progress
// window included, file dialog left out).
//
//   bench_files [N]              default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "core/SettingsStore.h"
#include "comparison/ComparisonSearch.h"
#include "files/FileCommands.h"
#include "files/Form8.h"
#include "platform/HiveRegistry.h"
#include "desktop/DesktopPlatform.h"
#include "shell/MDIForm1.h"
#include "shell/ViewerApplication.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 5;

double medianSeconds(const std::function<void()>& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        seconds.push_back(clock.nsecsElapsed() / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FONTCONFIG_FILE", benchFontSet(n).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    {
        platform::HiveRegistry registry(home.filePath(QStringLiteral("config/glyfaro/user.reg")));
        EnsureSettingsKey(registry, SettingsPaths{QStringLiteral("/tmp"), QStringLiteral("/")}, [](int) {});
    }

    QApplication app(argc, argv);
    prepareViewerApplication(app);
    auto services = platform::createPlatform();
    MDIForm1 window(services->platform());
    if (window.MDIForm_Load() != MDIForm1::LoadResult::Started)
        return 1;
    QCoreApplication::processEvents();
    FileCommands& commands = *window.fileCommands();
    Form8& form8 = *window.form8();
    const qsizetype fonts = window.catalog().AllFontNames.size();

    const QString gfc = home.filePath(QStringLiteral("fonts.gfc"));
    const QString csv = home.filePath(QStringLiteral("fonts.csv"));
    const double save = medianSeconds([&] { commands.FontNameFile(gfc, QStringLiteral("fonts.gfc"), ComparisonSaveMode); });
    const double load = medianSeconds([&] { commands.FontNameFile(gfc, QStringLiteral("fonts.gfc"), ComparisonLoadMode); });
    const double exportCsv = medianSeconds([&] { commands.FontNameFile(csv, QStringLiteral("fonts.csv"), CsvExportMode); });
    if (form8.fileNames().size() != fonts)
        qFatal("the load read %lld of %lld names", qlonglong(form8.fileNames().size()), qlonglong(fonts));

    // Half the file's names changed, so that both conditions find many.
    QStringList fileNames = form8.fileNames();
    for (qsizetype i = 0; i < fileNames.size(); i += 2)
        fileNames[i] += QStringLiteral(" (old)");
    form8.setFileNames(fileNames);
    const QStringList installed = form8.installedNames();
    double searchWorst = 0;
    for (SearchCondition condition : {SearchCondition::Matching, SearchCondition::Missing}) {
        searchWorst = std::max(searchWorst, medianSeconds([&] { SearchNames(fileNames, installed, condition); }));
        searchWorst = std::max(searchWorst, medianSeconds([&] { SearchNames(installed, fileNames, condition); }));
    }
    form8.Option1[1]->setChecked(true);
    form8.Option2[1]->setChecked(true);
    window.form8Window()->show();
    const double searchWindow = medianSeconds([&] { form8.Command1_Click(); });

    std::printf("%lld fonts, median of %d runs:\n", qlonglong(fonts), Runs);
    std::printf("  comparison file save   %.3f s (%lld bytes)\n", save, qlonglong(QFileInfo(gfc).size()));
    std::printf("  comparison file load   %.3f s\n", load);
    std::printf("  CSV export             %.3f s (%lld bytes)\n", exportCsv, qlonglong(QFileInfo(csv).size()));
    std::printf("  search %lld x %lld      %.4f s (slowest of the four combinations)\n", qlonglong(fonts),
                qlonglong(fonts), searchWorst);
    std::printf("  search in the window   %.4f s (%lld results)\n", searchWindow,
                qlonglong(form8.results().size()));
    std::fflush(stdout);
    std::_Exit(0);
}

// Printing benchmark: the name list of a synthetic font set printed through
// the print dialog to the built-in PDF printer. Reports the job's time, the
// peak memory of the process, the longest gap between two turns of the event
// loop while the job runs, and how soon the abort button stops a job; fc-list
// on the same set runs beside it.
//
//   bench_printing [N]           default: 10000
//   env GLYFARO_BENCH_DIR        where the sets are made (default /tmp/glyfaro-bench)

#include "BenchFonts.h"
#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "core/SystemIdentity.h"
#include "desktop/DesktopPlatform.h"
#include "desktop/PrintModule.h"
#include "desktop/UiFont.h"
#include "printing/Form7.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

// Answers every question with yes and every file choice with one path.
class BenchDialogs : public platform::Dialogs {
public:
    explicit BenchDialogs(QString path)
        : m_path(std::move(path))
    {
    }
    int messageBox(const QString& text, int style, const QString&) override
    {
        if ((style & 0xF) == platform::MbYesNo)
            return platform::AnswerYes;
        std::printf("unexpected box: %s\n", qPrintable(text));
        return platform::AnswerOk;
    }
    std::optional<QString> openFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const platform::FileDialogRequest&) override { return m_path; }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }
    void setPath(const QString& path) { m_path = path; }

private:
    QString m_path;
};

// Reposts itself at every delivery, so the gaps between deliveries are the
// gaps between turns of the event loop.
class TurnMeter : public QObject {
public:
    void start()
    {
        m_running = true;
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_turns = 0;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }
    void stop() { m_running = false; }
    double longestMs() const { return m_longest / 1e6; }
    long turns() const { return m_turns; }

protected:
    void customEvent(QEvent*) override
    {
        if (!m_running)
            return;
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_turns;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    long m_turns = 0;
    bool m_running = false;
};

double peakMegabytes()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString conf = benchFontSet(count);
    qputenv("FONTCONFIG_FILE", conf.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    platform::useJapaneseUiFont();
    platform::limitDrawingToUiFaces();

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("names.pdf"));
    auto services = platform::createPlatform();
    platform::Platform& production = services->platform();
    BenchDialogs dialogs(pdf);
    platform::PrintModulePrinters printers(production.fonts, dialogs);
    platform::Platform platform{production.registry, production.system, production.fonts, dialogs, printers};

    FontCatalog catalog;
    BuildFontCatalog(catalog, platform, WindowsNtKeyPath, [](const QString&) {});
    const FontFileLookup lookup(catalog, platform, WindowsNtKeyPath);
    const double beforeMb = peakMegabytes();
    Settings settings;
    PrintRecords records;
    TurnMeter meter;

    const int pdfPrinter = int(printers.printerNames().size()) - 1;
    auto runJob = [&](int abortAfterMs, double& abortDelayMs) {
        Form7 form(catalog, lookup, settings, records, platform);
        form.show();
        form.Combo1->setCurrentIndex(pdfPrinter);
        QElapsedTimer sinceClick;
        if (abortAfterMs >= 0) {
            QTimer::singleShot(abortAfterMs, &form, [&] {
                sinceClick.start();
                form.Command3->click();
            });
        }
        meter.start();
        QElapsedTimer clock;
        clock.start();
        form.Command1_Click();
        const double seconds = clock.nsecsElapsed() / 1e9;
        abortDelayMs = sinceClick.isValid() ? sinceClick.nsecsElapsed() / 1e6 : -1;
        meter.stop();
        return seconds;
    };

    double unused = 0;
    const double seconds = runJob(-1, unused);
    const double longestGap = meter.longestMs();
    const long turns = meter.turns();
    const qint64 bytes = QFileInfo(pdf).size();
    const double peakMb = peakMegabytes();

    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    pdfinfo.waitForFinished();
    const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    const QString pages = info.section(QStringLiteral("Pages:"), 1).section(QLatin1Char('\n'), 0, 0).trimmed();

    double abortDelay = 0;
    const QString aborted = out.filePath(QStringLiteral("aborted.pdf"));
    dialogs.setPath(aborted);
    runJob(std::max(50, int(seconds * 500)), abortDelay);
    const bool abortedLeftNothing = !QFileInfo::exists(aborted) && QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size() == 1;

    QElapsedTimer fcClock;
    fcClock.start();
    QProcess fcList;
    fcList.setStandardOutputFile(QProcess::nullDevice());
    fcList.start(QStringLiteral("/usr/bin/fc-list"));
    fcList.waitForFinished(-1);
    const double fcSeconds = fcClock.nsecsElapsed() / 1e9;

    std::printf("%d fonts: name list to PDF %.3f s, %s pages, %.1f MB file; peak RSS %.1f MB "
                "(%.1f MB before the job); longest gap between event-loop turns %.1f ms over %ld turns; "
                "abort took effect %.1f ms after the click, file %s; fc-list %.3f s, ratio %.1f\n",
                count, seconds, qPrintable(pages), bytes / 1048576.0, peakMb, beforeMb, longestGap, turns,
                abortDelay, abortedLeftNothing ? "removed" : "LEFT BEHIND", fcSeconds, seconds / fcSeconds);
    return 0;
}

#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <vector>

// Makes (or reuses) a synthetic set of n fonts under $GLYFARO_BENCH_DIR
// (default /tmp/glyfaro-bench) and returns its fonts.conf.
inline QString benchFontSet(int n)
{
    const QString base = qEnvironmentVariable("GLYFARO_BENCH_DIR", QStringLiteral("/tmp/glyfaro-bench"));
    const QString dir = base + QStringLiteral("/set-%1").arg(n);
    const QString conf = dir + QStringLiteral("/fonts.conf");
    if (!QFile::exists(conf)) {
        std::printf("generating %d fonts in %s ...\n", n, qPrintable(dir));
        std::fflush(stdout);
        const QString script = QStringLiteral(GLYFARO_SOURCE_DIR "/scripts/gen_fonts.py");
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {script, QString::number(n), dir}) != 0)
            qFatal("font generation failed");
    }
    return conf;
}

#include "core/SettingsStore.h"
#include "platform/Dialogs.h"
#include "platform/HiveRegistry.h"

// Settings as a returning user has them, so no welcome box waits for a click.
inline void prepareBenchSettings(const QString& configHome)
{
    platform::HiveRegistry registry(configHome + QStringLiteral("/glyfaro/user.reg"));
    EnsureSettingsKey(registry, SettingsPaths{QStringLiteral("/tmp"), QStringLiteral("/")}, [](int) {});
}

// A returning user's private home for one benchmark child, on the font set
// of fonts.conf conf, with the offscreen platform.
inline QProcessEnvironment benchEnvironment(const QTemporaryDir& home, const QString& conf)
{
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    prepareBenchSettings(home.filePath(QStringLiteral("config")));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), conf);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

// The same environment for this process, before anything reads it.
inline void useEnvironment(const QProcessEnvironment& environment)
{
    for (const QString& key : environment.keys())
        qputenv(key.toLocal8Bit(), environment.value(key).toLocal8Bit());
}

// The middle of a set of measurements.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time of one run of a program, its output discarded.
inline double timeProcess(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!output)
        process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (output)
        *output = process.readAllStandardOutput();
    return seconds;
}

// The windows a benchmark opens ask nothing.
class NoDialogs : public platform::Dialogs {
public:
    int messageBox(const QString&, int, const QString&) override { return platform::AnswerOk; }
    std::optional<QString> openFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }
};

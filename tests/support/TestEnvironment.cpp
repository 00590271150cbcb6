#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

namespace {
// The cache too, so that no test reads or writes the user's own.
const char* const Variables[4] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"};
const char* const Folders[4] = {"config", "data", "runtime", "cache"};
} // namespace

TestEnvironment::TestEnvironment()
{
    for (int i = 0; i < 4; ++i) {
        m_saved[i] = qgetenv(Variables[i]);
        QDir(m_dir.path()).mkpath(QLatin1String(Folders[i]));
        QFile::setPermissions(m_dir.filePath(QLatin1String(Folders[i])),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(Variables[i], m_dir.filePath(QLatin1String(Folders[i])).toLocal8Bit());
    }
}

TestEnvironment::~TestEnvironment()
{
    for (int i = 0; i < 4; ++i) {
        if (m_saved[i].isNull())
            qunsetenv(Variables[i]);
        else
            qputenv(Variables[i], m_saved[i]);
    }
}

QString TestEnvironment::configHome() const { return m_dir.filePath(QStringLiteral("config")); }
QString TestEnvironment::dataHome() const { return m_dir.filePath(QStringLiteral("data")); }
QString TestEnvironment::runtimeDir() const { return m_dir.filePath(QStringLiteral("runtime")); }

QString TestEnvironment::syntheticFontsDir()
{
    return QStringLiteral(GLYFARO_TEST_FONTS);
}

void TestEnvironment::useSyntheticFonts()
{
    qputenv("FONTCONFIG_FILE", (syntheticFontsDir() + QStringLiteral("/fonts.conf")).toLocal8Bit());
}

QString TestEnvironment::writeUserFontsConfig() const
{
    const QString path = m_dir.filePath(QStringLiteral("fonts.conf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                              "<fontconfig>\n  <cachedir>%1</cachedir>\n  <dir>%2/fonts</dir>\n"
                              "  <dir prefix=\"xdg\">fonts</dir>\n"
                              "  <include ignore_missing=\"yes\" prefix=\"xdg\">fontconfig/conf.d</include>\n"
                              "</fontconfig>\n")
                   .arg(m_dir.filePath(QStringLiteral("fccache")), syntheticFontsDir())
                   .toUtf8());
    return path;
}

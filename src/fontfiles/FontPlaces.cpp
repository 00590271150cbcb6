#include "fontfiles/FontPlaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <fontconfig/fontconfig.h>

namespace {

QString baseFolder(const char* variable, const QString& fallback)
{
    const QString set = QFile::decodeName(qgetenv(variable));
    if (!set.isEmpty() && QDir::isAbsolutePath(set))
        return set;
    return QDir::homePath() + u'/' + fallback;
}

} // namespace

FontPlaces UserFontPlaces()
{
    return {QDir::cleanPath(baseFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/fonts")),
            QDir::cleanPath(baseFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/fontconfig/conf.d"))};
}

bool LiesInside(const QString& path, const QString& folder)
{
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    const QString realPath = QFileInfo(path).canonicalFilePath();
    return !realFolder.isEmpty() && !realPath.isEmpty() && realPath.startsWith(realFolder + u'/');
}

bool RefreshFontFolderCache(const QString& folder)
{
    FcConfig* config = FcInitLoadConfig();
    if (!config)
        return false;
    const QByteArray dir = QFile::encodeName(folder);
    // Forced: the folder is read again whatever its cache says.
    FcCache* cache = FcDirCacheRead(reinterpret_cast<const FcChar8*>(dir.constData()), FcTrue, config);
    if (cache)
        FcDirCacheUnload(cache);
    FcConfigDestroy(config);
    return cache != nullptr;
}

QString PackageOwning(const QString& path)
{
    // The path as listed first: the package database knows a font under the
    // name its package installed, which may be a link.
    for (const QString& asked : {path, QFileInfo(path).canonicalFilePath()}) {
        if (asked.isEmpty() || !asked.startsWith(u'/'))
            continue;
        QProcess dpkg;
        dpkg.setProgram(QStringLiteral("dpkg"));
        dpkg.setArguments({QStringLiteral("-S"), asked});
        dpkg.setStandardErrorFile(QProcess::nullDevice());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        dpkg.setProcessEnvironment(environment);
        dpkg.start();
        if (!dpkg.waitForFinished(10000) || dpkg.exitStatus() != QProcess::NormalExit || dpkg.exitCode() != 0)
            continue;
        // "fonts-ipafont-gothic: /usr/share/fonts/..." (several packages
        // are separated by commas); "diversion by" lines are skipped.
        for (const QByteArray& line : dpkg.readAllStandardOutput().split('\n')) {
            const qsizetype colon = line.indexOf(": ");
            if (colon <= 0 || line.startsWith("diversion ") || QFile::decodeName(line.mid(colon + 2)) != asked)
                continue;
            return QString::fromUtf8(line.first(colon)).replace(QStringLiteral(", "), QStringLiteral("、"));
        }
    }
    return {};
}

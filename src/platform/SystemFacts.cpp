#include "platform/SystemFacts.h"

#include <QFile>
#include <QStringList>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <limits>
#include <vector>

namespace platform {

std::optional<VersionRecord> parseKernelRelease(const QString& release)
{
    std::uint32_t parts[3] = {0, 0, 0};
    qsizetype pos = 0;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (pos + 1 >= release.size() || release.at(pos) != QLatin1Char('.')
                || !release.at(pos + 1).isDigit())
                break;
            ++pos;
        }
        const qsizetype start = pos;
        std::uint64_t number = 0;
        while (pos < release.size() && release.at(pos) >= QLatin1Char('0')
               && release.at(pos) <= QLatin1Char('9')) {
            number = number * 10 + std::uint64_t(release.at(pos).unicode() - '0');
            if (number > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
            ++pos;
        }
        if (pos == start)
            return std::nullopt;
        parts[part] = std::uint32_t(number);
    }
    return VersionRecord{parts[0], parts[1], parts[2], PlatformLinux};
}

QString kernelRelease()
{
    struct utsname names {};
    if (uname(&names) != 0)
        return {};
    return QString::fromUtf8(names.release);
}

QString prettyNameFromOsRelease(const QByteArray& text)
{
    for (const QByteArray& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith("PRETTY_NAME="))
            continue;
        QByteArray value = line.mid(int(sizeof("PRETTY_NAME=") - 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front()) {
            const char quote = value.front();
            value = value.mid(1, value.size() - 2);
            // Shell-style escapes are allowed inside double quotes.
            if (quote == '"') {
                QByteArray unescaped;
                for (qsizetype i = 0; i < value.size(); ++i) {
                    if (value.at(i) == '\\' && i + 1 < value.size())
                        ++i;
                    unescaped += value.at(i);
                }
                value = unescaped;
            }
        }
        if (!value.isEmpty())
            return QString::fromUtf8(value);
    }
    return QStringLiteral("Linux");
}

QString operatingSystemName()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            return prettyNameFromOsRelease(file.read(64 * 1024));
    }
    return QStringLiteral("Linux");
}

QString ownerFromPasswordEntry(const QString& gecos, const QString& login)
{
    const QString fullName = gecos.section(QLatin1Char(','), 0, 0).trimmed();
    return fullName.isEmpty() ? login : fullName;
}

QString currentOwnerName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString::fromLocal8Bit(qgetenv("USER"));
    return ownerFromPasswordEntry(QString::fromUtf8(found->pw_gecos ? found->pw_gecos : ""),
                                  QString::fromUtf8(found->pw_name));
}

} // namespace platform

#pragma once

#include "platform/System.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Major, minor and build from a kernel release such as "6.1.0-18-amd64";
// nullopt when it does not start with a number.
std::optional<VersionRecord> parseKernelRelease(const QString& release);
// The running kernel's release text; empty when it cannot be read.
QString kernelRelease();

// PRETTY_NAME of an os-release file's text ("Linux" when it names none).
QString prettyNameFromOsRelease(const QByteArray& text);
// The running system's name from /etc/os-release (or /usr/lib/os-release).
QString operatingSystemName();

// The full name from a password-database comment field (up to its first
// comma), else the login name.
QString ownerFromPasswordEntry(const QString& gecos, const QString& login);
// The current user's full name or login name; empty when neither is known.
QString currentOwnerName();

} // namespace platform

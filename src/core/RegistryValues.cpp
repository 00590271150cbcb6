#include "core/RegistryValues.h"

#include <QLocale>
#include <cmath>
#include <limits>

using platform::RegSuccess;

QString CutAtFirstNul(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString ReadRegString(platform::Registry& registry, platform::KeyHandle key, const QString& name)
{
    std::uint32_t size = 0;
    if (registry.queryValueSize(key, name, size) != RegSuccess)
        return UnknownText;
    QString data;
    if (registry.queryValue(key, name, data) != RegSuccess)
        return UnknownText;
    return CutAtFirstNul(data);
}

std::optional<std::int32_t> ReadRegNumber(platform::Registry& registry, platform::KeyHandle key,
                                          const QString& name)
{
    std::uint32_t size = 0;
    if (registry.queryValueSize(key, name, size) != RegSuccess)
        return std::nullopt;
    QString data;
    if (registry.queryValue(key, name, data) != RegSuccess)
        return -1;

    // The stored numbers are plain decimal text; the user's locale may also
    // add group separators or a decimal comma, so accept both forms.
    const QString text = CutAtFirstNul(data).trimmed();
    bool ok = false;
    double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        value = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    value = std::floor(value);
    if (value < double(std::numeric_limits<std::int32_t>::min())
        || value > double(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return std::int32_t(value);
}

bool WriteRegValue(platform::Registry& registry, platform::KeyHandle key, const QString& name,
                   const QString& text)
{
    return registry.setValue(key, name, text) == RegSuccess;
}

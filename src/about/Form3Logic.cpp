#include "about/Form3Logic.h"

#include <algorithm>
#include <cstdint>

QString FontCountText(std::int32_t fontTotal)
{
    return QString::number(fontTotal) + QStringLiteral("フォント");
}

QString SmoothingWord(const SystemInfo& info)
{
    if (info.SmoothingSupported != 1)
        return QStringLiteral("利用できません");
    if (info.SmoothingOn != 1)
        return QStringLiteral("無効");
    return QStringLiteral("有効");
}

QString MemoryText(std::uint64_t bytes)
{
    // Rounded to the nearest kilobyte without adding to bytes, which could
    // overflow at the top of the range.
    const std::uint64_t kilobytes = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    QString digits = QString::number(kilobytes);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits + QStringLiteral(" KB");
}

QString VersionText(platform::AppVersion version)
{
    return QStringLiteral("Rev. %1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

QPoint Form3Position(const QRect& mainOuter, const QSize& ownOuter)
{
    // 64-bit sums: placements read back from hand-edited settings can be
    // anywhere in the 32-bit range.
    const std::int64_t left = std::int64_t(mainOuter.left()) + mainOuter.width() / 2 - ownOuter.width() / 2;
    const std::int64_t top = std::int64_t(mainOuter.top()) + mainOuter.height() / 2 - ownOuter.height() / 2;
    return {int(std::clamp<std::int64_t>(left, 0, INT32_MAX)), int(std::clamp<std::int64_t>(top, 0, INT32_MAX))};
}

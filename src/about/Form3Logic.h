#pragma once

#include "core/SystemInfo.h"
#include "platform/AppInfo.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

// Rules of the About window that need no window. Places and sizes in twips.

// "245フォント".
QString FontCountText(std::int32_t fontTotal);

// Whether smoothing is on: "利用できません" where it cannot be switched,
// else "無効" or "有効".
QString SmoothingWord(const SystemInfo& info);

// The memory in kilobytes, rounded, with commas between groups of three:
// "131,072 KB" for 134217728 bytes.
QString MemoryText(std::uint64_t bytes);

// "Rev. 2.3.72".
QString VersionText(platform::AppVersion version = platform::appVersion);

// The window's top-left corner centred on the main window (both outer
// frames), held at 0 so that it never starts above or left of the origin.
QPoint Form3Position(const QRect& mainOuter, const QSize& ownOuter);

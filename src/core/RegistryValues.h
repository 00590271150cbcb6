#pragma once

#include "platform/Registry.h"

#include <QString>
#include <cstdint>
#include <optional>

// The text a missing registry text value reads as.
inline const QString UnknownText = QStringLiteral("不明");

// Registry texts end at their first NUL, as the stored C string does.
QString CutAtFirstNul(const QString& text);

// A value as text; "不明" when it is missing or cannot be read.
QString ReadRegString(platform::Registry& registry, platform::KeyHandle key, const QString& name);

// A value as a whole number. nullopt when the value is missing or its text is
// no number: the caller shows message 2 and ends. -1 when the value exists
// but its data cannot be read.
std::optional<std::int32_t> ReadRegNumber(platform::Registry& registry, platform::KeyHandle key,
                                          const QString& name);

// Stores text as a string value; false when the write is refused (the caller
// shows message 2 and ends).
[[nodiscard]] bool WriteRegValue(platform::Registry& registry, platform::KeyHandle key,
                                 const QString& name, const QString& text);

#pragma once

#include <QStringList>

namespace platform {

// The screen fonts: one name per family, as the user should see it.
class FontList {
public:
    virtual ~FontList() = default;
    virtual QStringList screenFonts() = 0;
};

} // namespace platform

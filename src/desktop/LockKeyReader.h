#pragma once

#include "platform/System.h"

#include <QObject>

namespace platform {

// Reads Caps Lock and Num Lock. Under X11 the keyboard's indicators tell;
// elsewhere there is no portable query, so the state follows the lock-key
// presses this program sees, starting from off.
class LockKeyReader : public QObject {
public:
    LockKeyState state();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_watching = false;
    LockKeyState m_seen;
};

} // namespace platform

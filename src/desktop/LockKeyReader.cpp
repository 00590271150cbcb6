#include "desktop/LockKeyReader.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace platform {

bool LockKeyReader::eventFilter(QObject* watched, QEvent* event)
{
    // A press passes the filter once for every object it is delivered to;
    // count it only at the window that receives it first.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_CapsLock)
                m_seen.capsLock = !m_seen.capsLock;
            else if (key->key() == Qt::Key_NumLock)
                m_seen.numLock = !m_seen.numLock;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform

// Xlib's macros (KeyPress, None, Bool) clash with Qt's names, so its headers
// come after all code that uses those.
#include <X11/XKBlib.h>

namespace platform {

namespace {

bool indicator(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on == True;
}

} // namespace

LockKeyState LockKeyReader::state()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->display()) {
        Display* display = x11->display();
        return {indicator(display, "Caps Lock"), indicator(display, "Num Lock")};
    }
    if (!m_watching && qGuiApp) {
        qGuiApp->installEventFilter(this);
        m_watching = true;
    }
    return m_seen;
}

} // namespace platform

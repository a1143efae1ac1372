#include "platform/system/lock_keys.h"

#include <QGuiApplication>

#if defined(ZIRO_HAVE_X11) && QT_CONFIG(xcb)
#define ZIRO_LOCK_KEYS_X11 1
// X11 headers define macros (Bool, None, Status...) that clash with Qt: they
// come after every Qt header.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace ziro {

namespace {

class NullLockKeys final : public LockKeys {
public:
    LockKeyState state() override { return m_state; }
    void set(LockKey key, bool on) override
    {
        switch (key) {
        case LockKey::NumLock: m_state.numLock = on; break;
        case LockKey::CapsLock: m_state.capsLock = on; break;
        case LockKey::ScrollLock: m_state.scrollLock = on; break;
        }
    }

private:
    LockKeyState m_state;
};

#ifdef ZIRO_LOCK_KEYS_X11

class X11LockKeys final : public LockKeys {
public:
    explicit X11LockKeys(Display* display) : m_display(display) {}

    LockKeyState state() override
    {
        return {indicator("Num Lock"), indicator("Caps Lock"), indicator("Scroll Lock")};
    }

    void set(LockKey key, bool on) override
    {
        const LockKeyState now = state();
        bool current = false;
        KeySym sym = 0;
        switch (key) {
        case LockKey::NumLock: current = now.numLock; sym = XK_Num_Lock; break;
        case LockKey::CapsLock: current = now.capsLock; sym = XK_Caps_Lock; break;
        case LockKey::ScrollLock: current = now.scrollLock; sym = XK_Scroll_Lock; break;
        }
        if (current == on)
            return;
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        if (code == 0)
            return;
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
    }

private:
    bool indicator(const char* name)
    {
        const Atom atom = XInternAtom(m_display, name, False);
        Bool on = False;
        if (!XkbGetNamedIndicator(m_display, atom, nullptr, &on, nullptr, nullptr))
            return false;
        return on;
    }

    Display* m_display;
};

Display* x11Display()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return nullptr;
    Display* display = x11->display();
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
        return nullptr;
    return display;
}

#endif

}  // namespace

std::unique_ptr<LockKeys> createLockKeys()
{
#ifdef ZIRO_LOCK_KEYS_X11
    if (Display* display = x11Display())
        return std::make_unique<X11LockKeys>(display);
#endif
    return std::make_unique<NullLockKeys>();
}

}  // namespace ziro

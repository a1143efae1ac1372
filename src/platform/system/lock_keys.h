#pragma once

#include "platform/system/system_services.h"

#include <memory>

namespace ziro {

// The keyboard's NumLock, CapsLock and ScrollLock toggles. On X11 the real
// keyboard lights are read and toggled; where the desktop offers no such
// service (Wayland, offscreen) a stand-in remembers the wanted states.
class LockKeys {
public:
    virtual ~LockKeys() = default;

    virtual LockKeyState state() = 0;
    // Sends one synthetic press and release of `key` when its state differs
    // from `on`.
    virtual void set(LockKey key, bool on) = 0;
};

std::unique_ptr<LockKeys> createLockKeys();

}  // namespace ziro

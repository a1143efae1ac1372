#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace ziro {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int depth = 0;
};

struct LockKeyState {
    bool numLock = false;
    bool capsLock = false;
    bool scrollLock = false;
};

enum class LockKey { NumLock, CapsLock, ScrollLock };

// The operating-system services the program uses, behind one port so that
// start-up, the quiz and the tests can run with a fake.
class SystemServices {
public:
    virtual ~SystemServices() = default;

    // The system's simple beep.
    virtual void beep() = 0;
    // Whether any audio output device is present.
    virtual bool hasSoundOutput() = 0;
    // Registers a font file for this program only; false when it fails.
    virtual bool registerPrivateFont(const QString& path) = 0;
    virtual LockKeyState lockKeys() = 0;
    // Toggles the key (one synthetic press and release) when its state
    // differs from `on`.
    virtual void setLockKey(LockKey key, bool on) = 0;
    // Starts `program` with `arguments`, waits without limit and returns its
    // exit code; -1 when it cannot be started or crashes.
    virtual int runAndWait(const QString& program, const QStringList& arguments) = 0;
    // Asks the desktop to open a web address or mail link; false when the
    // target is refused or nothing can open it.
    virtual bool openDocument(const QString& target) = 0;
    // Display-mode switching; true when the request is accepted. The desktop
    // stand-in never changes the display: it accepts 640 x 480, which the
    // program then meets by presenting itself scaled to fill the screen.
    virtual bool switchDisplayMode(bool permanent, const DisplayMode& mode) = 0;
    virtual DisplayMode currentDisplayMode() = 0;
    // Plays a wave file without waiting; a missing or bad file is skipped.
    virtual void playSound(const QString& path) = 0;
    // Plays a wave file over and over, until stopped or replaced by another
    // sound.
    virtual void playSoundLoop(const QString& path) { playSound(path); }
    // Stops the sound that plays, if any.
    virtual void stopSound() {}

    // Spoken statements share the player of the sounds above: one sound at
    // a time, and a statement replaces whatever plays.
    //
    // Whether the sound player's library is the version this program was
    // built for.
    virtual bool soundEngineCurrent() { return false; }
    // Makes the sound player ready now; false when it cannot be started.
    virtual bool startSoundEngine() { return false; }
    // Plays a sound file, a masked one (".KXS") read restored in memory;
    // false when nothing could be started.
    virtual bool playVoice(const QString& path) { return false; }
    // Whether the sound started last still plays.
    virtual bool soundPlaying() { return false; }
    // The program's own output volume, 0 to 65535, for the sounds from now
    // on; the system mixer is never changed. False when it cannot be set.
    virtual bool setSoundVolume(int level) { return false; }
};

// The real services of the desktop the program runs on.
std::unique_ptr<SystemServices> createDesktopServices();

}  // namespace ziro

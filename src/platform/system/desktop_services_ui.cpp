#include "platform/system/system_services.h"

#include "platform/media/sound_output.h"
#include "platform/media/sound_player.h"
#include "platform/system/desktop_policy.h"
#include "platform/system/lock_keys.h"
#include "platform/system/process.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QScreen>

#include <optional>

namespace ziro {

namespace {

class DesktopServices final : public SystemServices {
public:
    void beep() override { QApplication::beep(); }

    // Asked of the media engine itself: an output that opens is the only
    // proof that films and sounds will be heard. Asked once; the answer
    // holds for the session.
    bool hasSoundOutput() override
    {
        if (!m_soundOutput)
            m_soundOutput = probeSoundOutput();
        return *m_soundOutput;
    }

    bool registerPrivateFont(const QString& path) override
    {
        return QFontDatabase::addApplicationFont(path) != -1;
    }

    LockKeyState lockKeys() override { return locks().state(); }
    void setLockKey(LockKey key, bool on) override { locks().set(key, on); }

    int runAndWait(const QString& program, const QStringList& arguments) override
    {
        return ziro::runAndWait(program, arguments);
    }

    bool openDocument(const QString& target) override
    {
        const std::optional<QUrl> url = openableDocumentUrl(target);
        // openUrl hands the address to the desktop and does not wait for it.
        return url && QDesktopServices::openUrl(*url);
    }

    // Changing the user's display mode is not ours to do on this desktop.
    // The program's own 640 x 480 mode is granted by presenting the main
    // window scaled to fill the screen instead (presentMain); the display is
    // left as it is, so currentDisplayMode still reports the real screen and
    // the restore at exit finds nothing to do. Asking for the mode the
    // display is in already succeeds with nothing done; any other is refused.
    bool switchDisplayMode(bool, const DisplayMode& mode) override
    {
        if (mode.width == 640 && mode.height == 480)
            return true;
        const DisplayMode now = currentDisplayMode();
        return now.width > 0 && mode.width == now.width && mode.height == now.height;
    }

    DisplayMode currentDisplayMode() override
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return {};
        return {screen->size().width(), screen->size().height(), screen->depth()};
    }

    void playSound(const QString& path) override { m_sound.play(path); }
    void playSoundLoop(const QString& path) override { m_sound.play(path, true); }
    void stopSound() override { m_sound.stop(); }
    bool soundEngineCurrent() override { return SoundPlayer::libraryCurrent(); }
    bool startSoundEngine() override { return m_sound.start(); }
    bool playVoice(const QString& path) override { return m_sound.playMasked(path); }
    bool soundPlaying() override { return m_sound.playing(); }
    bool setSoundVolume(int level) override { return m_sound.setVolume(level); }

private:
    // Made on first use: the X11 display is only there once the application is.
    LockKeys& locks()
    {
        if (!m_locks)
            m_locks = createLockKeys();
        return *m_locks;
    }

    std::unique_ptr<LockKeys> m_locks;
    SoundPlayer m_sound;
    std::optional<bool> m_soundOutput;
};

}  // namespace

std::unique_ptr<SystemServices> createDesktopServices()
{
    return std::make_unique<DesktopServices>();
}

}  // namespace ziro

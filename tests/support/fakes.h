#pragma once

#include "base/dialogs.h"
#include "platform/system/system_services.h"
#include "support/qt_printers.h"

#include <QStringList>

#include <deque>

namespace ziro::test {

// Records what the program asked of the system and answers from a script.
class FakeSystem : public SystemServices {
public:
    int beeps = 0;
    bool soundOutput = true;
    bool fontsRegister = true;
    QStringList fontsRegistered;
    LockKeyState keys;
    QStringList lockKeyCalls;
    QStringList commands;
    int exitCode = 0;
    bool switchSucceeds = false;
    QList<DisplayMode> switches;
    DisplayMode mode{1024, 768, 32};
    QStringList sounds;

    void beep() override { ++beeps; }
    bool hasSoundOutput() override { return soundOutput; }
    bool registerPrivateFont(const QString& path) override
    {
        fontsRegistered << path;
        return fontsRegister;
    }
    LockKeyState lockKeys() override { return keys; }
    void setLockKey(LockKey key, bool on) override
    {
        lockKeyCalls << QStringLiteral("%1=%2").arg(static_cast<int>(key)).arg(on);
        if (key == LockKey::NumLock) keys.numLock = on;
        if (key == LockKey::CapsLock) keys.capsLock = on;
        if (key == LockKey::ScrollLock) keys.scrollLock = on;
    }
    int runAndWait(const QString& program, const QStringList& arguments) override
    {
        commands << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return exitCode;
    }
    bool openDocument(const QString&) override { return true; }
    bool switchDisplayMode(bool, const DisplayMode& m) override
    {
        switches << m;
        return switchSucceeds;
    }
    DisplayMode currentDisplayMode() override { return mode; }
    void playSound(const QString& path) override { sounds << path; }
    QStringList loopedSounds;
    int soundStops = 0;
    void playSoundLoop(const QString& path) override { loopedSounds << path; }
    void stopSound() override { ++soundStops; }
    // The voice player: current and started unless a test says otherwise.
    bool soundEngine = true;
    QStringList voices;
    int volume = -1;
    bool soundEngineCurrent() override { return soundEngine; }
    bool startSoundEngine() override { return soundEngine; }
    bool playVoice(const QString& path) override
    {
        voices << path;
        return soundEngine;
    }
    bool setSoundVolume(int level) override
    {
        volume = level;
        return soundEngine;
    }
};

class FakeDialogs : public Dialogs {
public:
    QStringList shown;
    std::deque<Answer> answers;  // consumed by the questions; Yes when empty

    void message(const QString& text) override { shown << text; }
    Answer askYesNo(const QString& text) override { return next(text); }
    Answer askYesNoIgnore(const QString& text) override { return next(text); }

private:
    Answer next(const QString& text)
    {
        shown << text;
        if (answers.empty())
            return Answer::Yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace ziro::test

#include "shell/startup.h"

#include "base/dialogs.h"
#include "base/globals.h"
#include "config/ini_file.h"

#include <QFileInfo>

#include <cmath>

namespace ziro {

const char* const kResolutionQuestion =
    "È stata rilevata una risoluzione del display non adatta al programma, si consente di "
    "cambiarla con la giusta impostazione?\r\nPremendo 'Ignora' il messaggio non verrà più "
    "riproposto.";
const char* const kResolutionFailed = "Non è possibile cambiare la risoluzione del display.";

int EseguiEAttendi(SystemServices& system, const QString& program, const QStringList& arguments)
{
    return system.runAndWait(program, arguments);
}

bool CaricaFont(SystemServices& system, Dialogs& dialogs, const QString& path)
{
    if (!QFileInfo::exists(path)) {
        dialogs.message(QStringLiteral("Errore caricamento font, il file ") + path +
                        QStringLiteral(" non esiste."));
        return false;
    }
    // Qt tells every widget about the new font itself: nothing to broadcast.
    return system.registerPrivateFont(path);
}

void OutcomeText::fail(const QString& text)
{
    if (ok())
        m_text = text;
    else
        m_text += QStringLiteral(", ") + text;
}

ResolutionPlan planResolution(QSize screen, bool settingsExist, std::optional<bool> autoRes)
{
    ResolutionPlan plan;
    if (!(screen.width() > 640 && screen.height() > 480))
        return plan;
    bool switchOn = true;
    if (settingsExist) {
        switchOn = autoRes.value_or(true);
        plan.ask = !autoRes.has_value();
    }
    plan.act = switchOn;
    if (!switchOn)
        plan.ask = false;
    return plan;
}

AutoResWrite resolutionWrite(bool settingsExist, bool asked, int answer, bool switched)
{
    if (!settingsExist)
        return AutoResWrite::None;
    const auto a = static_cast<Dialogs::Answer>(answer);
    if (!asked || a == Dialogs::Answer::Yes)
        return switched ? AutoResWrite::SetTrue : AutoResWrite::None;
    if (a == Dialogs::Answer::Ignore)
        return AutoResWrite::SetFalse;
    return AutoResWrite::Remove;
}

namespace {

const QString kVideo = QStringLiteral("Video");
const QString kAutoRes = QStringLiteral("Auto res");

void checkResolution(Globals& g, SystemServices& system, Dialogs& dialogs, QSize screen,
                     const std::function<void()>& hideSplash, OutcomeText& outcome)
{
    g.RisoluzioneIniziale = system.currentDisplayMode();
    if (g.RisoluzioneIniziale.width <= 0)
        g.RisoluzioneIniziale = {screen.width(), screen.height(), 32};

    std::shared_ptr<IniFile> ini;
    std::optional<bool> autoRes;
    const bool settingsExist = QFileInfo::exists(g.FileIni);
    if (settingsExist) {
        ini = IniFile::open(g.FileIni);
        if (ini && ini->valueExists(kVideo, kAutoRes))
            autoRes = ini->readBool(kVideo, kAutoRes, true);
    }
    const ResolutionPlan plan = planResolution(screen, settingsExist && ini, autoRes);
    if (!plan.act)
        return;

    if (hideSplash)
        hideSplash();
    auto answer = Dialogs::Answer::Yes;
    if (plan.ask)
        answer = dialogs.askYesNoIgnore(QString::fromUtf8(kResolutionQuestion));

    bool switched = false;
    if (answer == Dialogs::Answer::Yes) {
        for (int depth : {32, 24, 16}) {
            if (system.switchDisplayMode(false, {640, 480, depth})) {
                switched = true;
                g.PresentationFillsScreen = true;
                // Where the request is met by scaling the presentation, the
                // display keeps its mode and there is nothing to restore.
                const DisplayMode now = system.currentDisplayMode();
                g.RisoluzioneCambiata = now.width > 0 &&
                                        (now.width != g.RisoluzioneIniziale.width ||
                                         now.height != g.RisoluzioneIniziale.height);
                break;
            }
        }
        if (!switched)
            outcome.fail(QString::fromUtf8(kResolutionFailed));
    }
    if (!ini)
        return;
    bool saved = true;
    switch (resolutionWrite(true, plan.ask, static_cast<int>(answer), switched)) {
    case AutoResWrite::None:
        break;
    case AutoResWrite::SetTrue:
        saved = ini->writeBool(kVideo, kAutoRes, true);
        break;
    case AutoResWrite::SetFalse:
        saved = ini->writeBool(kVideo, kAutoRes, false);
        break;
    case AutoResWrite::Remove:
        saved = ini->deleteKey(kVideo, kAutoRes);
        break;
    }
    if (!saved)
        outcome.fail(QStringLiteral("Problema I/O sul file ") + g.FileIni);
}

}  // namespace

QString runStartupChecks(Globals& g, SystemServices& system, Dialogs& dialogs, QSize screen,
                         const std::function<void()>& hideSplash)
{
    OutcomeText outcome;

    if (!system.hasSoundOutput())
        dialogs.message(QString::fromUtf8(
            "Non è stata rilevata la scheda audio:\rcontenuti multimediali non disponibili"));

    for (const char* name : {"ARIALN.TTF", "ARIALNB.TTF", "digital2.ttf"}) {
        const QString path = g.dirs.DirProgram + QLatin1String(name);
        if (!CaricaFont(system, dialogs, path))
            dialogs.message(QStringLiteral("Font ") + path +
                            QString::fromUtf8(" già caricato o inesistente"));
    }

    checkResolution(g, system, dialogs, screen, hideSplash, outcome);
    return outcome.text();
}

QString findSetupModule(const QString& dirProgram)
{
    for (const char* name : {"SETTA ZIRO.EXE", "SETTA ZIRO"}) {
        const QString path = dirProgram + QLatin1String(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void prepareSplash(Globals& g, SystemServices& system, Dialogs& dialogs)
{
    if (QFileInfo::exists(g.FileIni)) {
        if (auto ini = IniFile::open(g.FileIni))
            g.NomeAutoscuola = ini->readString(QStringLiteral("Autoscuola"),
                                               QStringLiteral("Nome autoscuola"), {});
    }
    if (!g.NomeAutoscuola.isEmpty())
        return;
    const QString shown = g.dirs.DirProgram + QStringLiteral("SETTA ZIRO.EXE");
    const QString module = findSetupModule(g.dirs.DirProgram);
    if (module.isEmpty()) {
        dialogs.message(QStringLiteral("Modulo esterno") + shown + QStringLiteral(" non trovato!"));
        return;
    }
    if (EseguiEAttendi(system, module) == -1)
        dialogs.message(QStringLiteral("Modulo esterno") + shown +
                        QStringLiteral(", esecuzione fallita"));
}

}  // namespace ziro

#pragma once

// Fakes of the ports the lesson screen's logic reaches the rest of the
// program through. Each writes what it was asked into one shared list, so a
// test checks both what happened and in which order; the state it answers
// with is set by the test.

#include "shell/main_logic.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

namespace ziro::test {

struct LoggingShell : MainShellPort {
    QStringList& log;
    std::vector<MainButton> disabled;
    // The pressed look's pause; a test may act inside it.
    std::function<void(double)> onWait;
    explicit LoggingShell(QStringList& l) : log(l) {}
    bool buttonDisabled(MainButton b) const override
    {
        return std::find(disabled.begin(), disabled.end(), b) != disabled.end();
    }
    void showPressed(MainButton b) override { log << QStringLiteral("pressed %1").arg(int(b)); }
    void showReleased(MainButton b) override { log << QStringLiteral("released %1").arg(int(b)); }
    void beep() override { log << "beep"; }
    void message(const QString& t) override { log << "message " + t; }
    void setBusyCursor(bool b) override { log << (b ? "busy" : "normal"); }
    void openJumpField() override { log << "openJumpField"; }
    void hideJumpField() override { log << "hideJumpField"; }
    void toggleBlackout() override { log << "blackout"; }
    void setPopupEnabled(bool e) override { log << QStringLiteral("popup %1").arg(e); }
    void closeWindow() override { log << "closeWindow"; }
    void wait(double s) override
    {
        log << QStringLiteral("wait %1").arg(s);
        if (onWait)
            onWait(s);
    }
};

struct LoggingViewers : MainViewerPorts {
    QStringList& log;
    bool banner = false, film = false, playing = false, html = false, photo = false;
    bool quiz = false, book = false, cross = false;
    bool playOk = true, textOk = true, autoplayOk = true;
    FilmRequest request;
    explicit LoggingViewers(QStringList& l) : log(l) {}

    void stopQuizAudio() override {}
    bool htmlOpen() const override { return html; }
    void openHtml(const QString& p) override { log << "openHtml " + p; }
    void closeHtml() override { log << "closeHtml"; }
    bool photoViewerOpen() const override { return photo; }
    void openPhotoViewer(int n) override { log << QStringLiteral("openPhotoViewer %1").arg(n); }
    void closePhotoViewer() override { log << "closePhotoViewer"; }
    void photoAlbumAction() override { log << "album"; }
    void showPreviews() override { log << "showPreviews"; }
    void preparePreviews() override { log << "preparePreviews"; }
    void closePreviews() override { log << "closePreviews"; }
    bool bookOpen() const override { return book; }
    void showBookPage() override { log << "showBookPage"; }
    void closeBook() override { log << "closeBook"; }
    bool filmOpen() const override { return film; }
    bool filmPlaying() const override { return playing; }
    void pauseFilm() override { log << "pauseFilm"; }
    void resumeFilm() override { log << "resumeFilm"; }
    void closeFilms() override { log << "closeFilms"; }
    bool quizVisible() const override { return quiz; }
    void closeQuiz() override { log << "closeQuiz"; }
    void loadQuizFromButton(const QString& d) override { log << "loadQuiz " + d; }
    bool openTextViewer() override
    {
        log << "openTextViewer";
        return textOk;
    }
    bool crossroadsVisible() const override { return cross; }
    bool startCrossroadsAutoplay() override
    {
        log << "crossroadsAutoplay";
        return autoplayOk;
    }
    void closeCrossroads() override { log << "closeCrossroads"; }
    void refreshCrossroads() override { log << "refreshCrossroads"; }
    void openExam() override { log << "openExam"; }
    bool bannerVisible() const override { return banner; }
    void showBanner() override { log << "showBanner"; }
    void closeBanner() override { log << "closeBanner"; }
    bool playFilm(const FilmRequest& r, QString* error) override
    {
        request = r;
        log << "playFilm";
        if (!playOk)
            *error = QStringLiteral("boom");
        return playOk;
    }
    void stopFilm() override { log << "stopFilm"; }
};

struct LoggingMenus : MenuPorts {
    QStringList& log;
    bool generalVisible = false;
    bool vehicleMenu = true;  // a vehicle menu exists to be shown
    explicit LoggingMenus(QStringList& l) : log(l) {}
    bool generalMenuVisible() const override { return generalVisible; }
    void showGeneralMenu() override { log << "showGeneralMenu"; }
    void generalMenuOk() override { log << "generalMenuOk"; }
    void saveResumeMark() override { log << "saveResumeMark"; }
    bool showSignCategoryMenu(TModoQuiz e) override
    {
        log << QStringLiteral("signMenu %1").arg(int(e));
        return true;
    }
    bool canShowVehicleMenu() const override { return vehicleMenu; }
    bool showVehicleMenu(bool quick) override
    {
        log << QStringLiteral("vehicleMenu %1").arg(quick);
        return vehicleMenu;
    }
    void showConfigSecondPage() override { log << "configPage2"; }
    void searchSign(const QString& n) override { log << "searchSign " + n; }
};

struct LoggingActions : MainActions {
    QStringList& log;
    bool returnOk = true;
    explicit LoggingActions(QStringList& l) : log(l) {}
    void SWavanti() override { log << "SWavanti"; }
    void SWindietro() override { log << "SWindietro"; }
    void moveSelection(bool down) override { log << QStringLiteral("moveSelection %1").arg(down); }
    void openSelectedPanel() override { log << "openSelectedPanel"; }
    void PLinkClick() override { log << "PLinkClick"; }
    void AttivaModoTemp(const QString& f, const QString& t, bool c) override
    {
        log << QStringLiteral("AttivaModoTemp %1 %2 %3").arg(f, t).arg(c);
    }
    bool returnFromSideTrip() override
    {
        log << "returnFromSideTrip";
        return returnOk;
    }
    void showCurrentSign(bool modoTxt) override { log << QStringLiteral("showCurrentSign %1").arg(modoTxt); }
    void clearIconLinking() override { log << "clearIconLinking"; }
    void emptySignArea() override { log << "emptySignArea"; }
};

}  // namespace ziro::test

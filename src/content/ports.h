#pragma once

#include <QColor>
#include <QString>

namespace ziro {

// The windows a step of the walk opens, closes and asks about. Each viewer
// fills in its part when it is built; until then this base answers "not
// open", does nothing, and a request to open something answers false, so the
// walk works with whatever exists and never records a window as open that
// is not.
class ViewerPorts {
public:
    virtual ~ViewerPorts() = default;

    // Spoken statements of the quiz.
    virtual void stopQuizAudio() {}

    // HTML pages.
    virtual bool htmlOpen() const { return false; }
    virtual void openHtml(const QString& page) { Q_UNUSED(page); }
    virtual void closeHtml() {}

    // The photo viewer: photographs of the current record, 1-based.
    virtual bool photoViewerOpen() const { return false; }
    virtual void openPhotoViewer(int photo) { Q_UNUSED(photo); }  // -1: the last one
    virtual void showNextPhoto() {}
    virtual void showPreviousPhoto() {}
    virtual void closePhotoViewer() {}
    virtual void photoAlbumAction() {}
    // Shows one photograph file alone (a jump by photo name); false when
    // the viewer cannot show it.
    virtual bool showSinglePhoto(const QString& path, int number)
    {
        Q_UNUSED(path);
        Q_UNUSED(number);
        return false;
    }
    virtual void focusPhotoViewer() {}

    // The photo previews.
    virtual bool previewsOpen() const { return false; }
    virtual void showPreviews() {}
    virtual void openFirstPreview() {}
    virtual void closePreviews() {}
    virtual void clearPreviewPictures() {}

    // The book viewer.
    virtual bool bookOpen() const { return false; }
    virtual void showBookPage() {}
    virtual void nextBookPage() {}
    virtual void previousBookPage() {}
    virtual void closeBook() {}
    // The page on show and its vertical scroll position.
    virtual QString bookPageName() const { return {}; }
    virtual int bookScrollPosition() const { return 0; }

    // The two film players.
    virtual bool filmOpen() const { return false; }
    virtual bool filmPlaying() const { return false; }
    virtual void resumeFilm() {}
    virtual void pauseFilm() {}
    virtual void restartFilm() {}  // from its start point, playing
    virtual void closeFilms() {}

    // The quiz window.
    virtual bool quizVisible() const { return false; }
    // Loads the record's quiz block (the global Domanda) in the mode the
    // walk opens it.
    virtual void loadQuizBlock(const QString& domanda) { Q_UNUSED(domanda); }
    virtual void closeQuiz() {}
    virtual void focusQuiz() {}
    // The open book page takes the keys again, on the page it shows.
    virtual void focusBook() {}
    // The quiz's pictogram rule for sign names outside editions A-B and AM.
    virtual QString pictogramName(const QString& name) const { return name; }

    // The text viewer on the record's text, modal; false when it cannot open.
    virtual bool openTextViewer() { return false; }

    // The crossroads exercise.
    virtual bool crossroadsVisible() const { return false; }
    // Starts the exercise's automatic play; false when it cannot.
    virtual bool startCrossroadsAutoplay() { return false; }
    virtual void showCrossroads(const QString& scene) { Q_UNUSED(scene); }
    virtual void closeCrossroads() {}

    // The sub-topic banner.
    virtual bool bannerVisible() const { return false; }
    virtual void showBanner() {}
    virtual void closeBanner() {}
};

// The main window's controls that the walk and the sign viewer set.
class MainViewPort {
public:
    virtual ~MainViewPort() = default;

    // The four media buttons: enabled, or shown disabled.
    virtual void setQuizButton(bool enabled) { Q_UNUSED(enabled); }
    virtual void setFotoButton(bool enabled) { Q_UNUSED(enabled); }
    virtual void setVideoButton(bool enabled) { Q_UNUSED(enabled); }
    virtual void setLibroButton(bool enabled) { Q_UNUSED(enabled); }
    // The book page label: shown with `page`, or hidden when empty.
    virtual void setBookLabel(const QString& page) { Q_UNUSED(page); }
    // The forward and back buttons back to their resting pictures.
    virtual void restoreStepButtons() {}
    virtual void hideJumpField() {}
    virtual void setProgressVisible(bool visible) { Q_UNUSED(visible); }
    // Repaints what changed and lets pending window events through.
    virtual void refresh() {}
    // Opens the record's photographs (the photo button's action, not from a
    // click).
    virtual void SWfotoClick() {}
    // The forward step, as the forward button takes it.
    virtual void stepForward() {}
    // The pen of the keyboard selection frame around the icon panels.
    virtual void setSelectorColour(const QColor& colour) { Q_UNUSED(colour); }
    // A plain message box, for failures that are not reports.
    virtual void message(const QString& text) { Q_UNUSED(text); }
};

// The sign area and its ten panels, as the walk uses them.
class SignAreaPort {
public:
    virtual ~SignAreaPort() = default;
    // Shows the record's sign `figura`; `flgIcone` draws its panels,
    // `modoTxt` takes the named-sign pictures.
    virtual void Visione(const QString& figura, bool flgIcone, bool modoTxt) = 0;
    virtual void CancellaIcone() = 0;
    virtual void emptySignArea() = 0;
};

}  // namespace ziro

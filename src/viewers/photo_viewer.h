#pragma once

// What the photo viewer does, apart from drawing: which photograph of the
// record is on show, in which of its two sizes, with or without its caption
// and arrows, and what clicks and keys do. The window is a thin shell over
// PhotoViewerPort; the rest of the program is reached through
// PhotoViewerHost.
//
// The viewer keeps the photograph as loaded and derives every picture it
// shows from it (arrows drawn in, caption burnt in, enlarged), so hiding a
// caption or leaving the enlarged size never needs the file again and never
// leaves a trace of what was drawn.

#include "viewers/photo.h"
#include "viewers/photo_caption.h"

#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>


namespace ziro {

struct Config;
struct Globals;
class Reports;

// Where a photograph lies in the 480 x 360 frame of the window size: at its
// own size in the middle, or shrunk to fit when it is larger. Arrows and
// captions are placed in the frame, so they land on the same spot of the
// photograph whatever its resolution.
QRectF pictureInAlbum(QSize picture);

// The captions and shortcuts of the viewer's menu, and which items work.
struct PhotoMenu {
    QString showText = QStringLiteral("Visualizza testo");  // Pmt0
    bool showEnabled = false;
    QString editText = QStringLiteral("Modifica testo");  // Pmt1
    bool editEnabled = false;
    bool saveEnabled = false;    // Pmt2, "Salva testo"
    bool cancelEnabled = false;  // Pmt3, "Annulla"
    bool operator==(const PhotoMenu&) const = default;
};

// The viewer's window as the logic sees it. The null base shows nothing.
class PhotoViewerPort {
public:
    virtual ~PhotoViewerPort() = default;
    // The main window, in the coordinates the viewer is placed in.
    virtual QRect mainGeometry() const { return {0, 0, 640, 480}; }
    // Device pixels per pixel of the window as it reaches the screen (2.25
    // on a 1920 x 1080 projector): the enlarged picture is made that much
    // larger, so the projector shows it without scaling it again.
    virtual qreal deviceScale() const { return 1.0; }
    // The window at `window` with the photograph framed in its middle.
    virtual void showWindowSize(const QRect& window) { Q_UNUSED(window); }
    // The window over the whole main window, the picture filling it.
    virtual void showEnlarged(const QRect& window) { Q_UNUSED(window); }
    virtual void hideWindow() {}
    // The picture on show: the photograph (with its arrows when drawn) in
    // the window size, the enlarged picture in the enlarged size. Null
    // empties the frame.
    virtual void setPicture(const QImage& picture) { Q_UNUSED(picture); }
    // The caption over the photograph in the window size; null hides it.
    virtual void showCaption(const PhotoCaption* caption) { Q_UNUSED(caption); }
    // The caption indicator "T": shown or not; black when the photograph
    // has a stored caption, silver when it has none.
    virtual void setIndicator(bool visible, bool stored)
    {
        Q_UNUSED(visible);
        Q_UNUSED(stored);
    }
    virtual void setMenu(const PhotoMenu& menu) { Q_UNUSED(menu); }
    virtual void beep() {}
    virtual void takeFocus() {}
    // A key the viewer does not use, for the main window's key map.
    virtual void passKey(int key, Qt::KeyboardModifiers mods)
    {
        Q_UNUSED(key);
        Q_UNUSED(mods);
    }
    // The caption selected for moving and sizing, with the handle around
    // `box` (frame pixels); nullopt lets it go.
    virtual void selectCaption(const std::optional<QRect>& box) { Q_UNUSED(box); }
    // The rubber line of an arrow being drawn, in album pixels; a null line
    // takes it away.
    virtual void showRubberLine(const QLine& line) { Q_UNUSED(line); }
};

// What the viewer asks of the rest of the program. The null base answers
// that nothing else is open and does nothing.
class PhotoViewerHost {
public:
    virtual ~PhotoViewerHost() = default;
    virtual bool bannerVisible() const { return false; }
    virtual void closeBanner() {}
    // The record's sound clip (photograph 1 of a record with audio).
    virtual void playRecordSound() {}
    // The film pause toggle.
    virtual void toggleFilmPause() {}
    virtual void openGeneralMenu() {}
    virtual void showGeneralMenuModal() {}
    // The current sub-topic code.
    virtual QString subTopic() const { return {}; }
    virtual bool bookVisible() const { return false; }
    virtual void focusBook() {}
    virtual bool quizVisible() const { return false; }
    virtual void focusQuiz() {}
    virtual void closePreviews() {}
    // The caption tool bar; false when it cannot be opened.
    virtual bool toolsOpen() const { return false; }
    virtual bool openTools() { return false; }
    virtual void closeTools() {}
    // The arrow the tool bar has armed: 1 or 2, 0 for none.
    virtual int armedArrow() const { return 0; }
    // The viewer drew arrow `arrow`: it is no longer armed.
    virtual void arrowDrawn(int arrow) { Q_UNUSED(arrow); }
    // AcquireData: the tool bar shows the caption as it is now.
    virtual void showCaptionInTools(const PhotoCaption& caption, bool selected)
    {
        Q_UNUSED(caption);
        Q_UNUSED(selected);
    }
};

class PhotoViewer {
public:
    PhotoViewer(Globals& g, const Config& config, Reports& reports, PhotoViewerPort& port,
                PhotoViewerHost& host);
    ~PhotoViewer();

    // The table of the record on show: Foto<n> and TxtF<n> are read from
    // it and captions stored into it. Without one, nothing can be shown.
    void setTable(CaptionTable* table) { m_table = table; }

    bool isOpen() const { return m_open; }
    bool isEnlarged() const { return m_enlarged; }
    bool captionVisible() const { return m_captionVisible; }
    bool hasStoredCaption() const { return m_stored; }
    const PhotoCaption& caption() const { return m_caption; }
    bool modificato() const { return m_modificato; }
    // The picture the window shows now.
    const QImage& picture() const { return m_picture; }
    const PhotoMenu& menu() const { return m_menu; }
    // The window-size rectangle over `main`.
    static QRect windowSizeGeometry(const QRect& main);

    // Shows photograph `quale` of the record (past the last is the first,
    // before the first the last). False when nothing could be shown; the
    // viewer keeps what it showed.
    bool VediFoto(int quale);
    // The next or previous photograph, over empty photograph fields.
    bool step(int direction);
    // A photograph file alone (a jump by photograph number).
    bool showSingle(const QString& path, int number);

    // The viewer lent to the lesson editor: photograph `quale` of the
    // `count` slots of `table` (a step, or a source record), the window
    // `offset` from its usual place. The binding holds until the viewer
    // closes; then the lesson's own table and photograph count come back,
    // whatever the editor did meanwhile. A photograph the viewer already
    // showed for the lesson is closed first. False when nothing could be
    // shown (the loan is over then too).
    bool showLent(CaptionTable& table, int count, int quale, QPoint offset);
    // A picture alone for the editor, read-only (no caption place).
    bool showLentSingle(const QString& path, int number, QPoint offset);
    bool lent() const { return m_lent; }

    // A click on the photograph or its caption.
    void AlbumClick();
    // A click on the window around the photograph: enlarge.
    void Image1Click();
    void ChiudiFoto();
    // The caption indicator: show or hide the caption.
    void SpiaTestoClick();
    void LoadTitolo(bool mode);
    void SwitchEditMode();
    // The menu's items by tag (0, 2, 3, 4).
    void PopUpTextClick(int tag);
    // Ctrl+C and Ctrl+V: the caption to and from the viewer's own
    // clipboard; a pasted caption is stored at once.
    void CopiaTxt();
    void IncollaTxt();
    // A key released over the viewer.
    void FormKey(int key, Qt::KeyboardModifiers mods);

    // ---- Editing, while the tool bar is open ----

    // The usable area of the frame: the album less 20 pixels left and
    // right and 15 top and bottom.
    static QRect safeArea();
    // The frame the caption lives in (BordoAlbum in the window size).
    static QSize frameSize();
    bool editMode() const { return m_EditMode; }
    // The caption under the handle, or let go.
    void SelezionaTitolo();
    void DeselezionaTitolo();
    // A change made with the tool bar: the caption is shown as changed and
    // marked for storing. Arrow changes redraw the photograph.
    void changeCaption(const std::function<void(PhotoCaption&)>& change);
    // The handle moved or resized the caption to `box`: a single-line
    // caption keeps the height its font asks for; the font is at least 15.
    void BoundSync(const QRect& box);
    // The tool bar armed or cleared arrow `arrow`: until it is drawn again
    // it is absent.
    void clearArrow(int arrow);
    // Drawing an armed arrow, in album pixels: press at the origin, drag,
    // release at the tip. False when no arrow is being drawn.
    bool arrowPress(QPoint point);
    bool arrowMove(QPoint point);
    bool arrowRelease(QPoint point);

private:
    bool loadFile(const PhotoFile& file, int number);
    void showPhoto();
    void reloadPicture();  // ReimpostaFondo: the photograph and its arrows
    void backToWindowSize();
    void hideCaption();
    void updateIndicator();
    void updateMenu();
    bool captionField(QString* name) const;
    QString fotoValue(int n) const;
    void acquireData();
    void endEditing();  // no selection, no arrow half drawn
    void lend(CaptionTable* table, int count, QPoint offset);
    void endLoan();
    QRect windowPlace() const;

    Globals& m_g;
    const Config& m_config;
    Reports& m_reports;
    PhotoViewerPort& m_port;
    PhotoViewerHost& m_host;
    CaptionTable* m_table = nullptr;

    QImage m_photo;    // as loaded, RGB32
    QImage m_picture;  // as shown
    bool m_open = false;
    bool m_enlarged = false;
    bool m_single = false;  // a photograph shown alone, not a record's
    PhotoCaption m_caption;
    bool m_captionVisible = false;
    bool m_stored = false;       // the photograph has a stored caption
    bool m_indicator = false;    // SpiaTesto shown
    bool m_FlagText = false;     // the teacher asked to see captions
    bool m_FlagTast = false;     // the caption showed at the last click or enlargement
    bool m_EditMode = false;
    bool m_modificato = false;
    QString m_ClipBrdTxt;
    PhotoMenu m_menu;
    int m_CurrArr = 0;  // the arrow being drawn
    QPoint m_origin;
    QPoint m_moving;
    bool m_lent = false;
    CaptionTable* m_homeTable = nullptr;  // the lesson's, while lent
    int m_homeCount = 0;
    QPoint m_offset;
};

}  // namespace ziro

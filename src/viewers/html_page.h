#pragma once

// What the HTML lesson page viewer does, apart from drawing: which page of
// which folder is on show, what a link, a press or a key does, the sounds a
// page asks for, and what closing the page sets going. The window is a thin
// shell over HtmlView; the rest of the program is reached through
// HtmlViewerHost.
//
// A lesson page is trusted to lead only to pages and sounds of its own
// folder: a link anywhere else (the web, another lesson, "../../etc") is
// cancelled and logged, so a click in class never takes the projector off
// the lesson and never reads a file the page has no business with.

#include <QHash>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QUrl>

#include <optional>

namespace ziro {

struct Globals;
class Reports;

// The window over the 640 x 480 main window, and its zones in the window's
// own coordinates.
QRect htmlWindowGeometry(const QRect& main);
// Presses strictly inside the close zone close the page.
bool inHtmlCloseZone(QPoint client);
// Presses in the blocked zone are swallowed while the zone is shown.
bool inHtmlBlockedZone(QPoint client, bool zoneVisible);
// Where the pop-up menu opens for a right press at `client`: moved left and
// up near the right and bottom edges so that it stays over the page.
QPoint htmlPopupPoint(QPoint client);

// --- Sound links ------------------------------------------------------------

// An address holding this marker plays a sound instead of leading anywhere:
// "<anything>KX_SOUND<sep><file><sep><mode>".
inline constexpr char kSoundMarker[] = "KX_SOUND";

struct SoundRequest {
    enum class Action { Loop, Once, Stop, Refused };
    Action action = Action::Stop;
    QString path;     // Loop, Once: the sound file in the page folder
    QString problem;  // Refused: why, for the log
};

bool isSoundLink(const QString& address);
// The request of a sound link of the page in `pageFolder` (ending in '/').
// The name is percent-decoded and must name a wave file inside the folder;
// anything else is refused, never played.
SoundRequest parseSoundLink(const QString& address, const QString& pageFolder);

// Whether `path` lies inside `folder`, once both are made absolute and clean.
bool insideFolder(const QString& path, const QString& folder);
// The local file `url` leads to when it is a file of `pageFolder` (relative
// addresses taken against `base`); nullopt for the web, other schemes and
// anything outside the folder.
std::optional<QString> pageFileOf(const QUrl& url, const QUrl& base, const QString& pageFolder);

// --- Client-side image maps ------------------------------------------------

struct MapArea {
    enum class Shape { Rect, Circle, Poly, Default };
    Shape shape = Shape::Rect;
    QList<int> coords;
    QString href;
    bool noHref = false;

    bool contains(QPoint p) const;
};

// The <map> elements of a page by name (case kept as written), each with its
// <area> elements in order.
using ImageMaps = QHash<QString, QList<MapArea>>;
ImageMaps parseImageMaps(const QString& html);

// The <img> elements of a page in order: their source and the map they use
// (the name after '#', empty for none).
struct PageImage {
    QString src;
    QString map;
};
QList<PageImage> parseImages(const QString& html);

// The area hit at `p` (image pixels): the first area containing it, as the
// order of the map decides. nullopt when none is hit; an empty text for a
// "nohref" area, which takes the press and leads nowhere.
std::optional<QString> hitImageMap(const QList<MapArea>& areas, QPoint p);

// --- Pages ------------------------------------------------------------------

// Pages larger than this are refused: a lesson page is a few kilobytes, and a
// runaway file would hold the classroom screen while it is laid out.
inline constexpr qint64 kMaxPageBytes = 2 * 1024 * 1024;

// The entry page of a page folder: MENU.HTML, else MENU.HTM (letter case
// ignored); nullopt when the folder has neither.
std::optional<QString> entryPage(const QString& pageFolder);
// The text of a page file: UTF-8 when it is valid UTF-8, else Windows-1252 as
// pages written on Windows are. nullopt, with the reason, when it cannot be
// read or is too large.
std::optional<QString> readPage(const QString& path, QString* problem);

// The renderer as the logic sees it. The null base shows nothing.
class HtmlView {
public:
    virtual ~HtmlView() = default;
    // The main window, in the coordinates the viewer is placed in.
    virtual QRect mainGeometry() const { return {0, 0, 640, 480}; }
    // Lays out `html`, its relative addresses taken against `base`, from
    // its top. Only files of `pageFolder` may be loaded for it.
    virtual void showPage(const QString& html, const QUrl& base, const QString& pageFolder)
    {
        Q_UNUSED(html);
        Q_UNUSED(base);
        Q_UNUSED(pageFolder);
    }
    virtual void scrollToAnchor(const QString& name) { Q_UNUSED(name); }
    virtual void showWindow(const QRect& geometry) { Q_UNUSED(geometry); }
    // Hides the window and empties the renderer.
    virtual void hideWindow() {}
    virtual void takeFocus() {}
};

// What the viewer asks of the rest of the program. The null base answers
// that nothing else is open and does nothing.
class HtmlViewerHost {
public:
    virtual ~HtmlViewerHost() = default;
    // The main window's hover effects cleared.
    virtual void clearHover() {}
    // A film window on show gets a click on its screen (a full-size film
    // shrinks to its window or closes).
    virtual void shrinkFilm() {}
    // PausaVideo: the film pause toggle.
    virtual void toggleFilmPause() {}
    // Ascolta: the record's sound clip.
    virtual void playRecordSound() {}
    // The one sound of the pages: a new one replaces the one playing.
    virtual void playSound(const QString& path, bool loop)
    {
        Q_UNUSED(path);
        Q_UNUSED(loop);
    }
    virtual void stopSound() {}
    // Argomento of the current record.
    virtual QString currentTopic() const { return {}; }
    virtual bool bookVisible() const { return false; }
    virtual void focusBook() {}
    virtual bool quizVisible() const { return false; }
    virtual void focusQuiz() {}
    virtual bool photoViewerVisible() const { return false; }
    virtual void focusPhotoViewer() {}
    virtual void closePhotoViewer() {}
    virtual void closePreviews() {}
    // VediFoto(n) of the current record.
    virtual void openPhoto(int n) { Q_UNUSED(n); }
};

class HtmlViewer {
public:
    HtmlViewer(Globals& g, Reports& reports, HtmlView& view, HtmlViewerHost& host);

    // VediHtml: opens the page of folder `page` (a value of Html1) of
    // DirHtml. False, with the report given, when there is none to show.
    bool VediHtml(const QString& page);
    // ChiudiHtml: closes the page and sets the other windows going again.
    void ChiudiHtml();

    bool isOpen() const { return m_open; }
    bool closing() const { return m_inChiusura; }
    // DirHtmlCorrente: the page folder, ending in '/'.
    const QString& pageFolder() const { return m_folder; }
    // The page file on show.
    const QString& pagePath() const { return m_pagePath; }
    const ImageMaps& imageMaps() const { return m_maps; }
    const QList<PageImage>& images() const { return m_images; }

    // A link followed on the page (an anchor or an image-map area): what it
    // asks for happens, or it is refused and logged.
    void linkActivated(const QUrl& url);

    // What a press or release on the page does.
    enum class Mouse { PassOn, Swallow, Closed, PopUp };
    Mouse mouse(QPoint client, Qt::MouseButton button);

    // A key released on the page: Esc closes it; false for a key the main
    // window's key map should have.
    bool keyReleased(int key);

private:
    bool loadPage(const QString& path, const QString& fragment);
    void finishClose();

    Globals& m_g;
    Reports& m_reports;
    HtmlView& m_view;
    HtmlViewerHost& m_host;
    bool m_open = false;
    bool m_inChiusura = false;
    QString m_folder;
    QString m_pagePath;
    ImageMaps m_maps;
    QList<PageImage> m_images;
};

}  // namespace ziro

#pragma once

// What the book page viewer does, apart from drawing: which
// page of which edition is on show, where its marker sits, how far it is
// scrolled, and what keys, the wheel, drags and clicks do. The window is a
// thin shell over BookViewPort; the rest of the program is reached through
// BookHost.
//
// Pages are found from one listing of the edition's book folder (a sorted
// index, read again when the folder changes), never by trying names one by
// one: turning past the last page of an edition whose highest page is
// 9,999,999 costs one look-up, not ten million.

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace ziro {

struct Globals;
class Reports;

// The report context of every failure of the viewer.
inline constexpr char kBookReportContext[] = "display pagina libro";

// The book folder and the highest page of the current edition.
struct BookEdition {
    QString folder;
    int highestPage = 0;
};
// Folder in the order AM, C-D-E, CQC, otherwise A-B; highest page A-B 236,
// AM 185, C-D-E and CQC 9,999,999.
BookEdition bookEdition(const Globals& g);

// NumPagina from `Libro`: the number the first three characters begin with.
// Nullopt when they do not begin with a digit ("abc").
std::optional<int> parsePageNumber(const QString& libro);

// The pages of book folders: "Pag<n>.KXB" (any letter case, n written
// without leading zeros) from one listing per folder.
class BookPageIndex {
public:
    // The page numbers of `folder`, ascending. Read once, and again when the
    // folder's modification time moves (or was too recent to trust).
    const std::vector<int>& pages(const QString& folder);
    // The file of page `n` as it is named on disk, or folder + "Pag<n>.KXB"
    // when there is none; from the listing already read, if any.
    QString pathOf(const QString& folder, int n);
    // CercaPagina: the first existing page after `from` (direction 1) not
    // above `highest`, or before it (direction -1) above 0; 0 when there is
    // none or `from` lies outside 0..highest.
    int CercaPagina(const QString& folder, int from, int direction, int highest);
    // Forgets every listing (a page was written by the program).
    void clear() { m_folders.clear(); }
    // How many times a folder was listed (for tests and the bench).
    int listings() const { return m_listings; }

private:
    struct Listing {
        std::vector<int> pages;
        QHash<int, QString> names;
        QDateTime modified;
        bool settled = false;
    };
    Listing& listing(const QString& folder);

    QHash<QString, Listing> m_folders;
    int m_listings = 0;
};

// The marker: a red hand pointing right, its tip at the record's point.
inline constexpr QSize kBookMarkerSize{40, 37};
// Its box in page pixels for FreX = x, FreY = y (top = y - h div 2 + 2,
// left = x - w + 3); nullopt when x <= 0 (no marker).
std::optional<QRect> bookMarkerBox(int x, int y, QSize marker = kBookMarkerSize);
// Scroll position that brings the marker into view.
inline int bookMarkerScroll(int y)
{
    return y - 15;
}

// One move of a right-button drag: the scroll position grows by
// start - pointer row; at 0, at 550 or more, or at the end of the range the
// drag starts again from the pointer.
struct BookDrag {
    int scroll = 0;
    int start = 0;
};
inline constexpr int kBookDragResetAt = 550;
BookDrag bookDragMove(int scroll, int start, int pointerRow, int maximum);

// The scroll steps.
inline constexpr int kBookArrowStep = 20;
inline constexpr int kBookWheelStep = 45;  // per notch

// The viewer's window as the logic sees it. The null base shows nothing.
class BookViewPort {
public:
    virtual ~BookViewPort() = default;
    // The main window, in the coordinates the viewer is placed in.
    virtual QRect mainGeometry() const { return {0, 0, 640, 480}; }
    virtual QSize windowSize() const { return {603, 374}; }
    virtual void showWindow(const QPoint& topLeft) { Q_UNUSED(topLeft); }
    virtual void hideWindow() {}
    virtual bool windowVisible() const { return false; }
    // The page picture; the scroll range becomes its height.
    virtual void setPage(const QImage& page) { Q_UNUSED(page); }
    // The marker's box in page pixels, or none.
    virtual void setMarker(const std::optional<QRect>& box) { Q_UNUSED(box); }
    virtual int scrollPosition() const { return 0; }
    virtual int scrollMaximum() const { return 0; }
    virtual void setScrollPosition(int y) { Q_UNUSED(y); }
    // Dragging: the grabbing cursor and the pointer held in the page, or
    // the pointing hand and the pointer free.
    virtual void setDragging(bool on) { Q_UNUSED(on); }
    virtual void takeFocus() {}
    // A key the viewer does not use, for the main window's key map.
    virtual void passKey(int key, Qt::KeyboardModifiers mods)
    {
        Q_UNUSED(key);
        Q_UNUSED(mods);
    }
};

// What the viewer asks of the rest of the program. The null base has no
// record and nothing else open.
class BookHost {
public:
    virtual ~BookHost() = default;
    // A field of the current record.
    virtual QString field(const QString& name) const
    {
        Q_UNUSED(name);
        return {};
    }
    // PausaVideo: the film pause toggle.
    virtual void toggleFilmPause() {}
    virtual bool photoViewerVisible() const { return false; }
    virtual bool quizVisible() const { return false; }
    virtual void focusQuiz() {}
    virtual bool crossroadsVisible() const { return false; }
    virtual void refreshCrossroads() {}
    // The diagnostic window's position tool: shown while the viewer is,
    // with the page and scroll position it would store.
    virtual void showPositionTool(bool shown) { Q_UNUSED(shown); }
    virtual void positionChanged(const QString& page, int scroll)
    {
        Q_UNUSED(page);
        Q_UNUSED(scroll);
    }
};

class BookViewer {
public:
    BookViewer(Globals& g, Reports& reports, BookViewPort& port, BookHost& host);

    bool isOpen() const;
    // PaginaLibroCorrente, NumPagina: the page on show (committed only once
    // its picture loaded).
    const QString& PaginaLibroCorrente() const { return m_pagina; }
    int NumPagina() const { return m_numPagina; }
    const QString& pagePath() const { return m_path; }
    int scrollPosition() const { return m_port.scrollPosition(); }
    const std::optional<QRect>& marker() const { return m_marker; }
    bool dragging() const { return m_scrScroll; }
    BookPageIndex& index() { return m_index; }

    // VediPagina: 0 the record's page, 1 the next existing page, -1 the
    // previous one. False when nothing new is on show (reported).
    bool VediPagina(int flag);
    // Image1Click: closes the viewer.
    void Image1Click();

    // Keys: the release of a key and the press (arrows).
    void FormKey(int key, Qt::KeyboardModifiers mods);
    void FormKeyDown(int key);
    // The wheel, in eighths of a degree (120 a notch; positive is up).
    void wheel(int angleDelta);
    // Mouse on the page, rows in the scroll area's coordinates.
    void mouseDown(Qt::MouseButton button, int row);
    void mouseMove(int row);
    // A left click (press and release, no drag between) closes.
    void mouseUp(Qt::MouseButton button);
    void scrollTo(int y);

private:
    void scrolled();

    Globals& m_g;
    Reports& m_reports;
    BookViewPort& m_port;
    BookHost& m_host;
    BookPageIndex m_index;
    QString m_pagina;
    QString m_path;
    int m_numPagina = 0;
    bool m_locOk = false;
    std::optional<QRect> m_marker;
    int m_scrStart = 0;
    bool m_scrScroll = false;
    bool m_pressedLeft = false;
};

}  // namespace ziro

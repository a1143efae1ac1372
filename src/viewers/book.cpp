#include "viewers/book.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace ziro {

namespace {

QString withSlash(const QString& folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The page number of a file name "Pag<n>.KXB" (any case, n without leading
// zeros, so that the name is the one built from the number), or -1.
int pageOfName(const QString& name)
{
    if (name.size() < 8 || !name.startsWith(QLatin1String("pag"), Qt::CaseInsensitive) ||
        !name.endsWith(QLatin1String(".kxb"), Qt::CaseInsensitive))
        return -1;
    const QStringView digits = QStringView(name).mid(3, name.size() - 7);
    if (digits.size() > 10 || (digits.size() > 1 && digits.front() == QLatin1Char('0')))
        return -1;
    qint64 n = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return n > std::numeric_limits<int>::max() ? -1 : int(n);
}

}  // namespace

BookEdition bookEdition(const Globals& g)
{
    const Folders& d = g.dirs;
    BookEdition e;
    e.folder = g.ModoAM() ? d.DirBookAM : g.ModoCD() ? d.DirBookCDE : g.ModoCQ() ? d.DirBookCQC : d.DirBook;
    e.highestPage = g.ModoAB() ? 236 : g.ModoAM() ? 185 : (g.ModoCD() || g.ModoCQ()) ? 9999999 : 236;
    return e;
}

std::optional<int> parsePageNumber(const QString& libro)
{
    const QString head = libro.left(3);
    int n = 0;
    int digits = 0;
    for (const QChar c : head) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        n = n * 10 + (c.unicode() - '0');
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return n;
}

// --- BookPageIndex -----------------------------------------------------------

BookPageIndex::Listing& BookPageIndex::listing(const QString& folder)
{
    const QString key = withSlash(folder);
    const QDateTime modified = QFileInfo(key).lastModified();
    auto it = m_folders.find(key);
    if (it != m_folders.end() && it->settled && it->modified == modified)
        return *it;
    Listing fresh;
    const QDateTime now = QDateTime::currentDateTime();
    fresh.modified = modified;
    // A change within the clock's resolution of this read could hide behind
    // an unchanged time: such a listing is read again next time.
    fresh.settled = modified.isValid() && modified.msecsTo(now) > 2000;
    const QStringList names = QDir(key).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const int n = pageOfName(name);
        if (n < 0)
            continue;
        // Two names of one page in different cases: the exact one wins.
        const QString exact = QStringLiteral("Pag") + QString::number(n) + QStringLiteral(".KXB");
        if (!fresh.names.contains(n) || name == exact) {
            if (!fresh.names.contains(n))
                fresh.pages.push_back(n);
            fresh.names.insert(n, name);
        }
    }
    std::sort(fresh.pages.begin(), fresh.pages.end());
    ++m_listings;
    it = m_folders.insert(key, std::move(fresh));
    return *it;
}

const std::vector<int>& BookPageIndex::pages(const QString& folder)
{
    return listing(folder).pages;
}

QString BookPageIndex::pathOf(const QString& folder, int n)
{
    const QString key = withSlash(folder);
    // The listing CercaPagina has just read, without reading it again.
    auto cached = m_folders.constFind(key);
    const Listing& l = cached != m_folders.cend() ? *cached : listing(key);
    const auto it = l.names.constFind(n);
    return key + (it != l.names.cend() ? *it : QStringLiteral("Pag") + QString::number(n) + QStringLiteral(".KXB"));
}

int BookPageIndex::CercaPagina(const QString& folder, int from, int direction, int highest)
{
    if (from < 0 || from > highest)
        return 0;
    const std::vector<int>& p = pages(folder);
    if (direction > 0) {
        const auto it = std::upper_bound(p.begin(), p.end(), from);
        return it != p.end() && *it <= highest ? *it : 0;
    }
    const auto it = std::lower_bound(p.begin(), p.end(), from);
    if (it == p.begin())
        return 0;
    const int n = *std::prev(it);
    return n >= 1 ? n : 0;
}

// --- Geometry ----------------------------------------------------------------

std::optional<QRect> bookMarkerBox(int x, int y, QSize marker)
{
    if (x <= 0)
        return std::nullopt;
    return QRect(x - marker.width() + 3, y - marker.height() / 2 + 2, marker.width(), marker.height());
}

BookDrag bookDragMove(int scroll, int start, int pointerRow, int maximum)
{
    BookDrag d;
    d.scroll = std::clamp(scroll + (start - pointerRow), 0, std::max(0, maximum));
    d.start = start;
    if (d.scroll <= 0 || d.scroll >= kBookDragResetAt || d.scroll >= maximum)
        d.start = pointerRow;
    return d;
}

// --- BookViewer --------------------------------------------------------------

BookViewer::BookViewer(Globals& g, Reports& reports, BookViewPort& port, BookHost& host)
    : m_g(g), m_reports(reports), m_port(port), m_host(host)
{
}

bool BookViewer::isOpen() const
{
    return m_g.PagineLibro && m_port.windowVisible();
}

bool BookViewer::VediPagina(int flag)
{
    m_locOk = false;
    const BookEdition edition = bookEdition(m_g);
    const QString folder = withSlash(edition.folder);
    const int previous = m_numPagina;
    int numero = previous;
    QString pagina;
    QString path;
    if (flag == 0) {
        pagina = m_host.field(QStringLiteral("Libro")).trimmed();
        const std::optional<QString> joined = joinPlain(folder, pagina, QStringLiteral("Pag"), QStringLiteral(".KXB"));
        const QString shownPath = folder + QStringLiteral("Pag") + pagina + QStringLiteral(".KXB");
        if (!joined) {
            m_reports.Emsg(ReportKind::MissingFile, QString::fromLatin1(kBookReportContext), shownPath);
            return false;
        }
        const std::optional<int> n = parsePageNumber(pagina);
        if (!n) {
            // Not a page number ("abc"): said, never raised; the viewer
            // keeps its page.
            m_reports.Emsg(ReportKind::MissingFile, QString::fromLatin1(kBookReportContext), *joined);
            return false;
        }
        numero = *n;
        path = *joined;
    } else {
        if (flag > 0 && previous < edition.highestPage)
            numero = m_index.CercaPagina(folder, previous, 1, edition.highestPage);
        else if (flag < 0 && previous > 0)
            numero = m_index.CercaPagina(folder, previous, -1, edition.highestPage);
        pagina = QString::number(numero);
        path = m_index.pathOf(folder, numero);
    }

    if (!QFileInfo(path).isFile()) {
        m_reports.Emsg(ReportKind::MissingFile, QString::fromLatin1(kBookReportContext), path);
        return false;  // NumPagina stays on the page on show
    }
    std::optional<QImage> picture = loadKxbFile(path);
    if (!picture) {
        // A file that is not a picture: the page on show stays, with its
        // own name, so the position tool never stores a page not seen.
        m_reports.Emsg(ReportKind::FileIo, QString::fromLatin1(kBookReportContext), path);
        return false;
    }

    // Loaded: now it is the page on show.
    m_numPagina = numero;
    m_pagina = pagina;
    m_path = path;
    m_locOk = true;
    const QRect main = m_port.mainGeometry();
    const QSize size = m_port.windowSize();
    m_port.showWindow(QPoint(main.left() + (main.width() - size.width()) / 2 - 2,
                             main.top() + (main.height() - size.height()) / 2 - 36));
    m_port.setScrollPosition(0);
    m_port.setPage(*picture);
    m_g.PagineLibro = true;
    if (m_g.VideoAperto && m_g.VideoInCorso)
        m_host.toggleFilmPause();
    m_host.showPositionTool(true);
    m_port.setScrollPosition(0);

    bool okX = false;
    bool okY = false;
    const int x = m_host.field(QStringLiteral("FreX")).trimmed().toInt(&okX);
    const int y = m_host.field(QStringLiteral("FreY")).trimmed().toInt(&okY);
    const int X = okX ? x : 0;
    const int Y = okY ? y : 0;
    if (m_g.ModoDebug)
        m_reports.Debug(QStringLiteral("Load Pagina"), QStringLiteral("Pag. ") + path + QStringLiteral("  - X: ") +
                                                           QString::number(X) + QStringLiteral(" / Y: ") +
                                                           QString::number(Y));
    m_marker.reset();
    if (flag == 0 && X > 0) {
        // A point off the page still shows its marker, held at the page's
        // edge, and the log says so.
        const int px = std::clamp(X, kBookMarkerSize.width() - 3, std::max(kBookMarkerSize.width() - 3, picture->width()));
        const int py = std::clamp(Y, 0, picture->height());
        if (px != X || py != Y)
            m_reports.Emsg(ReportKind::LogOnly, QString::fromLatin1(kBookReportContext),
                           path + QStringLiteral(" - X: ") + QString::number(X) + QStringLiteral(" / Y: ") +
                               QString::number(Y) + QStringLiteral(" fuori pagina"));
        m_marker = bookMarkerBox(px, py);
        m_port.setMarker(m_marker);
        m_port.setScrollPosition(bookMarkerScroll(py));
    } else {
        m_port.setMarker(std::nullopt);
    }
    m_port.takeFocus();
    scrolled();
    return true;
}

void BookViewer::Image1Click()
{
    m_scrScroll = false;
    m_pressedLeft = false;
    m_port.setDragging(false);
    m_marker.reset();
    m_port.setMarker(std::nullopt);
    m_g.PagineLibro = false;
    m_port.hideWindow();
    m_host.showPositionTool(false);
    if (m_g.VideoAperto && !m_g.VideoInCorso && !m_host.photoViewerVisible())
        m_host.toggleFilmPause();
    if (!m_g.VideoAperto && m_host.quizVisible())
        m_host.focusQuiz();
    if (m_host.crossroadsVisible())
        m_host.refreshCrossroads();
}

void BookViewer::FormKey(int key, Qt::KeyboardModifiers mods)
{
    const bool keypad = mods & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Escape:
        Image1Click();
        return;
    case Qt::Key_PageUp:
        scrollTo(0);
        return;
    case Qt::Key_PageDown:
        scrollTo(m_port.scrollMaximum());
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Scrolled on the press; the release must not move the icon
        // selection under the viewer as well.
        return;
    case Qt::Key_Minus:
        if (keypad) {
            scrollTo(0);
            return;
        }
        break;
    case Qt::Key_Plus:
        if (keypad) {
            scrollTo(m_port.scrollMaximum());
            return;
        }
        break;
    default:
        break;
    }
    m_port.passKey(key, mods);
}

void BookViewer::FormKeyDown(int key)
{
    if (key == Qt::Key_Up)
        scrollTo(m_port.scrollPosition() - kBookArrowStep);
    else if (key == Qt::Key_Down)
        scrollTo(m_port.scrollPosition() + kBookArrowStep);
}

void BookViewer::wheel(int angleDelta)
{
    scrollTo(m_port.scrollPosition() - angleDelta * kBookWheelStep / 120);
}

void BookViewer::mouseDown(Qt::MouseButton button, int row)
{
    if (button == Qt::RightButton) {
        m_scrStart = row;
        m_scrScroll = true;
        m_pressedLeft = false;
        m_port.setDragging(true);
        return;
    }
    if (m_scrScroll) {
        m_scrScroll = false;
        m_port.setDragging(false);
        return;
    }
    m_pressedLeft = button == Qt::LeftButton;
}

void BookViewer::mouseMove(int row)
{
    if (!m_scrScroll)
        return;
    const BookDrag d = bookDragMove(m_port.scrollPosition(), m_scrStart, row, m_port.scrollMaximum());
    m_scrStart = d.start;
    scrollTo(d.scroll);
}

void BookViewer::mouseUp(Qt::MouseButton button)
{
    if (m_scrScroll) {
        m_scrScroll = false;
        m_port.setDragging(false);
        return;
    }
    const bool click = m_pressedLeft && button == Qt::LeftButton;
    m_pressedLeft = false;
    if (click && isOpen())
        Image1Click();
}

void BookViewer::scrollTo(int y)
{
    m_port.setScrollPosition(std::clamp(y, 0, std::max(0, m_port.scrollMaximum())));
    scrolled();
}

void BookViewer::scrolled()
{
    if (m_g.PagineLibro)
        m_host.positionChanged(m_pagina, m_port.scrollPosition());
}

}  // namespace ziro

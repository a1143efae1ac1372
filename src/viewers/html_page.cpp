#include "viewers/html_page.h"

#include "base/globals.h"
#include "base/reports.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPolygon>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ziro {

namespace {

const QString kContext = QStringLiteral("Display HTML");

constexpr QRect kCloseZone{549, 8, 50, 26};
constexpr QRect kBlockedZone{499, 8, 50, 26};
constexpr QSize kWindowSize{612, 384};

// Strictly inside: a press on the zone's edge is the page's.
bool strictlyInside(const QRect& r, QPoint p)
{
    return p.x() > r.left() && p.x() < r.left() + r.width() && p.y() > r.top() &&
           p.y() < r.top() + r.height();
}

QString cleanAbsolute(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.exists() ? info.canonicalFilePath() : QString();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The attributes of one tag: lower-case names, values unquoted, the entity
// "&amp;" (the only one addresses carry) decoded.
QHash<QString, QString> attributes(const QString& tag)
{
    static const QRegularExpression re(
        QStringLiteral("([A-Za-z_:][-A-Za-z0-9_:.]*)\\s*(?:=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>\"']+))?"));
    QHash<QString, QString> out;
    // Past the element's name.
    const int start = tag.indexOf(QRegularExpression(QStringLiteral("\\s")));
    if (start < 0)
        return out;
    auto it = re.globalMatch(tag, start);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString value = m.captured(2);
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\''))
            value = value.mid(1, value.size() - 2);
        value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const QString name = m.captured(1).toLower();
        if (!out.contains(name))
            out.insert(name, value.trimmed());
    }
    return out;
}

QList<int> parseCoords(const QString& text)
{
    QList<int> out;
    for (const QString& part : text.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return {};
        // A page may write any number: one beyond int is held at its end.
        out << static_cast<int>(std::clamp(v, double(std::numeric_limits<int>::min()),
                                           double(std::numeric_limits<int>::max())));
    }
    return out;
}

}  // namespace

QRect htmlWindowGeometry(const QRect& main)
{
    return QRect(main.left() + (main.width() - kWindowSize.width()) / 2 - 2,
                 main.top() + (main.height() - kWindowSize.height()) / 2 - 35, kWindowSize.width(),
                 kWindowSize.height());
}

bool inHtmlCloseZone(QPoint client)
{
    return strictlyInside(kCloseZone, client);
}

bool inHtmlBlockedZone(QPoint client, bool zoneVisible)
{
    return zoneVisible && strictlyInside(kBlockedZone, client);
}

QPoint htmlPopupPoint(QPoint client)
{
    QPoint p = client;
    if (client.x() > 450)
        p.rx() -= 175;
    if (client.y() > 290)
        p.ry() -= 175;
    return p;
}

// --- Sound links ------------------------------------------------------------

bool isSoundLink(const QString& address)
{
    return address.contains(QLatin1String(kSoundMarker));
}

SoundRequest parseSoundLink(const QString& address, const QString& pageFolder)
{
    SoundRequest r;
    r.action = SoundRequest::Action::Refused;
    // Decoded once, so that a separator or a space written as "%5C" or
    // "%20" counts as the one character it stands for.
    const QString decoded = QUrl::fromPercentEncoding(address.toUtf8());
    const qsizetype at = decoded.indexOf(QLatin1String(kSoundMarker));
    if (at < 0) {
        r.problem = QStringLiteral("nessun suono in ") + address;
        return r;
    }
    const QString tail = decoded.mid(at + qsizetype(sizeof(kSoundMarker) - 1));
    // A separator, a name, a separator and the mode: three at the least.
    if (tail.size() < 3) {
        r.problem = QStringLiteral("suono incompleto ") + address;
        return r;
    }
    const QChar mode = tail.back();
    if (mode != u'L' && mode != u'S') {
        r.action = SoundRequest::Action::Stop;
        return r;
    }
    QString name = tail.mid(1, tail.size() - 3);
    name.replace(u'\\', u'/');
    if (name.isEmpty() || name.startsWith(u'/') || name.contains(QChar(0)) ||
        QDir::isAbsolutePath(name) || name.contains(u':')) {
        r.problem = QStringLiteral("suono non valido ") + address;
        return r;
    }
    if (!name.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) {
        r.problem = QStringLiteral("suono non WAV ") + name;
        return r;
    }
    QString folder = pageFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QString path = isPlainName(name) ? resolveFile(folder, name) : folder + name;
    if (!insideFolder(path, folder)) {
        r.problem = QStringLiteral("suono fuori dalla pagina ") + name;
        return r;
    }
    r.action = mode == u'L' ? SoundRequest::Action::Loop : SoundRequest::Action::Once;
    r.path = path;
    return r;
}

bool insideFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString root = cleanAbsolute(folder);
    const QString file = cleanAbsolute(path);
    return file.startsWith(root + u'/') && file.size() > root.size() + 1;
}

std::optional<QString> pageFileOf(const QUrl& url, const QUrl& base, const QString& pageFolder)
{
    const QUrl full = url.isRelative() ? base.resolved(url) : url;
    if (!full.isLocalFile() || !full.host().isEmpty())
        return std::nullopt;
    const QString path = full.toLocalFile();
    if (!insideFolder(path, pageFolder))
        return std::nullopt;
    return path;
}

// --- Image maps -------------------------------------------------------------

bool MapArea::contains(QPoint p) const
{
    switch (shape) {
    case Shape::Default:
        return true;
    case Shape::Rect: {
        if (coords.size() < 4)
            return false;
        const int l = std::min(coords[0], coords[2]), r = std::max(coords[0], coords[2]);
        const int t = std::min(coords[1], coords[3]), b = std::max(coords[1], coords[3]);
        return p.x() >= l && p.x() <= r && p.y() >= t && p.y() <= b;
    }
    case Shape::Circle: {
        if (coords.size() < 3 || coords[2] < 0)
            return false;
        // Widened before the difference: a page may give any int as a centre.
        const qint64 dx = qint64(p.x()) - coords[0], dy = qint64(p.y()) - coords[1], radius = coords[2];
        return dx * dx + dy * dy <= radius * radius;
    }
    case Shape::Poly: {
        if (coords.size() < 6)
            return false;
        QPolygon poly;
        for (qsizetype i = 0; i + 1 < coords.size(); i += 2)
            poly << QPoint(coords[i], coords[i + 1]);
        return poly.containsPoint(p, Qt::OddEvenFill);
    }
    }
    return false;
}

ImageMaps parseImageMaps(const QString& html)
{
    static const QRegularExpression mapRe(QStringLiteral("<map\\b[^>]*>(.*?)(?:</map\\s*>|$)"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression openRe(QStringLiteral("<map\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression areaRe(QStringLiteral("<area\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    ImageMaps maps;
    auto it = mapRe.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QHash<QString, QString> attrs = attributes(openRe.match(m.captured(0)).captured(0));
        QString name = attrs.value(QStringLiteral("name"));
        if (name.isEmpty())
            name = attrs.value(QStringLiteral("id"));
        if (name.isEmpty() || maps.contains(name))
            continue;
        QList<MapArea> areas;
        auto ai = areaRe.globalMatch(m.captured(1));
        while (ai.hasNext()) {
            const QHash<QString, QString> a = attributes(ai.next().captured(0));
            MapArea area;
            const QString shape = a.value(QStringLiteral("shape")).toLower();
            if (shape.isEmpty() || shape == u"rect" || shape == u"rectangle")
                area.shape = MapArea::Shape::Rect;
            else if (shape == u"circle" || shape == u"circ")
                area.shape = MapArea::Shape::Circle;
            else if (shape == u"poly" || shape == u"polygon")
                area.shape = MapArea::Shape::Poly;
            else if (shape == u"default")
                area.shape = MapArea::Shape::Default;
            else
                continue;  // a shape nobody can hit
            area.coords = parseCoords(a.value(QStringLiteral("coords")));
            area.noHref = a.contains(QStringLiteral("nohref")) || !a.contains(QStringLiteral("href"));
            area.href = area.noHref ? QString() : a.value(QStringLiteral("href"));
            areas << area;
        }
        maps.insert(name, areas);
    }
    return maps;
}

QList<PageImage> parseImages(const QString& html)
{
    static const QRegularExpression imgRe(QStringLiteral("<img\\b[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    QList<PageImage> out;
    auto it = imgRe.globalMatch(html);
    while (it.hasNext()) {
        const QHash<QString, QString> a = attributes(it.next().captured(0));
        QString map = a.value(QStringLiteral("usemap"));
        if (map.startsWith(u'#'))
            map.remove(0, 1);
        out << PageImage{a.value(QStringLiteral("src")), map};
    }
    return out;
}

std::optional<QString> hitImageMap(const QList<MapArea>& areas, QPoint p)
{
    for (const MapArea& a : areas) {
        if (a.contains(p))
            return a.href;
    }
    return std::nullopt;
}

// --- Pages ------------------------------------------------------------------

std::optional<QString> entryPage(const QString& pageFolder)
{
    for (const QString& name : {QStringLiteral("MENU.HTML"), QStringLiteral("MENU.HTM")}) {
        const QString path = resolveFile(pageFolder, name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

std::optional<QString> readPage(const QString& path, QString* problem)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        *problem = QStringLiteral("mancante");
        return std::nullopt;
    }
    if (file.size() > kMaxPageBytes) {
        *problem = QStringLiteral("troppo grande");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kMaxPageBytes + 1);
    if (bytes.size() > kMaxPageBytes) {
        *problem = QStringLiteral("troppo grande");
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252(bytes);
    return QString::fromLatin1(bytes);
}

// --- The viewer -------------------------------------------------------------

HtmlViewer::HtmlViewer(Globals& g, Reports& reports, HtmlView& view, HtmlViewerHost& host)
    : m_g(g), m_reports(reports), m_view(view), m_host(host)
{
}

bool HtmlViewer::VediHtml(const QString& page)
{
    const QString root = m_g.dirs.DirHtml;
    if (!isPlainName(page)) {
        m_reports.Emsg(ReportKind::MissingFile, kContext, root + page + QStringLiteral("/MENU.HTML"));
        return false;
    }
    const QString folder = resolveFile(root, page) + u'/';
    const std::optional<QString> entry = entryPage(folder);
    if (!entry) {
        m_reports.Emsg(ReportKind::MissingFile, kContext, folder + QStringLiteral("MENU.HTML"));
        return false;
    }
    m_host.stopSound();
    m_host.clearHover();
    m_host.shrinkFilm();
    const QString before = m_folder;
    m_folder = folder;
    if (!loadPage(*entry, {})) {
        m_folder = before;
        return false;
    }
    m_inChiusura = false;
    m_open = true;
    m_view.showWindow(htmlWindowGeometry(m_view.mainGeometry()));
    m_view.takeFocus();
    return true;
}

bool HtmlViewer::loadPage(const QString& path, const QString& fragment)
{
    QString problem;
    const std::optional<QString> html = readPage(path, &problem);
    if (!html) {
        m_reports.Emsg(QFileInfo(path).isFile() ? ReportKind::FileIo : ReportKind::MissingFile, kContext,
                       path + QStringLiteral(" (") + problem + u')');
        return false;
    }
    m_pagePath = path;
    m_maps = parseImageMaps(*html);
    m_images = parseImages(*html);
    m_view.showPage(*html, QUrl::fromLocalFile(path), m_folder);
    if (!fragment.isEmpty())
        m_view.scrollToAnchor(fragment);
    return true;
}

void HtmlViewer::linkActivated(const QUrl& url)
{
    // Whatever the link leads to, the sound of the page before it ends.
    m_host.stopSound();
    if (!m_open)
        return;
    const QString address = url.toString(QUrl::FullyEncoded);
    if (isSoundLink(address)) {
        if (m_inChiusura)
            return;
        const SoundRequest r = parseSoundLink(address, m_folder);
        switch (r.action) {
        case SoundRequest::Action::Loop:
        case SoundRequest::Action::Once:
            m_host.playSound(r.path, r.action == SoundRequest::Action::Loop);
            break;
        case SoundRequest::Action::Stop:
            break;
        case SoundRequest::Action::Refused:
            m_reports.Emsg(ReportKind::LogOnly, kContext, r.problem);
            break;
        }
        return;
    }
    // A jump within the page on show.
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
        m_view.scrollToAnchor(url.fragment());
        return;
    }
    const std::optional<QString> file = pageFileOf(url, QUrl::fromLocalFile(m_pagePath), m_folder);
    if (!file) {
        m_reports.Emsg(ReportKind::LogOnly, kContext, QStringLiteral("collegamento rifiutato ") + address);
        return;
    }
    if (QFileInfo(*file) == QFileInfo(m_pagePath) && url.hasFragment()) {
        m_view.scrollToAnchor(url.fragment());
        return;
    }
    loadPage(*file, url.fragment());
}

HtmlViewer::Mouse HtmlViewer::mouse(QPoint client, Qt::MouseButton button)
{
    if (!m_open)
        return Mouse::PassOn;
    if (button == Qt::LeftButton) {
        if (inHtmlCloseZone(client)) {
            m_inChiusura = true;
            m_host.closePhotoViewer();
            ChiudiHtml();
            return Mouse::Closed;
        }
        // The blocked zone is never shown: the page keeps what lies there.
        if (inHtmlBlockedZone(client, false))
            return Mouse::Swallow;
        return Mouse::PassOn;
    }
    if (button == Qt::RightButton)
        return Mouse::PopUp;
    return Mouse::PassOn;
}

bool HtmlViewer::keyReleased(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    ChiudiHtml();
    return true;
}

void HtmlViewer::ChiudiHtml()
{
    if (!m_open)
        return;
    m_open = false;
    m_host.stopSound();
    const QString topic = m_host.currentTopic();
    m_view.hideWindow();
    // A paused film would be resumed here and a playing one paused once the
    // page has gone; the two together leave any film paused, so only the
    // second is done, without the film starting for an instant in between.
    if (m_g.VideoAperto && m_g.VideoInCorso)
        m_host.toggleFilmPause();
    if (m_host.bookVisible())
        m_host.focusBook();
    else if (m_host.quizVisible() && !m_g.VideoAperto)
        m_host.focusQuiz();
    if (m_host.photoViewerVisible())
        m_host.focusPhotoViewer();
    m_host.closePreviews();
    if (m_g.ModoAB() && (topic == u"J10" || topic == u"J11"))
        m_host.openPhoto(1);
    if (m_g.AudioON)
        m_host.playRecordSound();
}

}  // namespace ziro

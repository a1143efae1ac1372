#include "content/sign_viewer.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "platform/files/paths.h"

#include <QFileInfo>

namespace ziro {

namespace {

constexpr int kPanelWidth = 70;
constexpr int kPanelHeight = 65;
constexpr int kLeftColumnX = 19;
constexpr int kRightColumnX = 548;
constexpr std::array<int, 5> kPanelTops{29, 101, 173, 245, 317};
constexpr int kSelectorMargin = 4;

// Linked signs of signs 121 to 146 have pictures drawn for each of those
// signs, named after both.
constexpr int kPairedSignsFirst = 121;
constexpr int kPairedSignsLast = 146;
// Sign numbers from here up are not shown in Display.
constexpr int kUnnumberedSignsFrom = 900;

const QString kKxb = QStringLiteral(".KXB");
const QString kBmp = QStringLiteral(".BMP");

bool isPanel(int panel)
{
    return panel >= 1 && panel <= kPanelCount;
}

bool isOneOf(QChar c, const char* letters)
{
    for (; *letters; ++letters) {
        if (c == QLatin1Char(*letters))
            return true;
    }
    return false;
}

// The file on disk for a name, found regardless of letter case; nothing when
// it is missing or the name is not safe to look up.
std::optional<QString> existingFile(const PictureName& picture)
{
    if (!picture.plain)
        return std::nullopt;
    const QString path = resolveFile(picture.folder, picture.name);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

}  // namespace

QRect panelRect(int panel)
{
    if (!isPanel(panel))
        return {};
    const int column = (panel - 1) / 5;
    const int row = (panel - 1) % 5;
    return {column == 0 ? kLeftColumnX : kRightColumnX, kPanelTops[row], kPanelWidth,
            kPanelHeight};
}

QRect selectorRect(int panel)
{
    const QRect r = panelRect(panel);
    if (r.isNull())
        return {};
    return r.adjusted(-kSelectorMargin, -kSelectorMargin, kSelectorMargin, kSelectorMargin);
}

QString SoloCifre(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

std::optional<int> signNumber(const QString& segnale)
{
    if (segnale.isEmpty() || segnale.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : segnale) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool hasLinkPrefix(const QString& code)
{
    return !code.isEmpty() && isOneOf(code.front(), "aAnN");
}

QString withoutLinkPrefix(const QString& code)
{
    return hasLinkPrefix(code) ? code.mid(1) : code;
}

QString signFolder(const Folders& dirs, bool named)
{
    return named ? dirs.DirPicSgt : dirs.DirPicSgn;
}

PictureName recordSignFile(const Folders& dirs, bool named, const QString& figura)
{
    return {signFolder(dirs, named), figura + kBmp, isPlainName(figura)};
}

PictureName panelIconFile(const Folders& dirs, const QString& code)
{
    const QString name = withoutLinkPrefix(code);
    return {dirs.DirPicIcn, QStringLiteral("I") + name + kKxb, isPlainName(name)};
}

QString substituteLinkedCode(const QString& segnale, const QString& code)
{
    struct Substitution {
        const char* segnale;
        const char* code;
        const char* becomes;
    };
    static constexpr Substitution kTable[] = {
        {"11", "n41", "n908"},
        {"11", "n8", "n909"},
        {"13", "n11", "n911"},
        {"56", "n56", "n931"},
    };
    for (const Substitution& s : kTable) {
        if (segnale == QLatin1String(s.segnale) && code == QLatin1String(s.code))
            return QString::fromLatin1(s.becomes);
    }
    return code;
}

std::vector<PictureName> linkedItemFiles(const Folders& dirs, bool named,
                                         const QString& segnale, const QString& code,
                                         int quale)
{
    if (code.isEmpty())
        return {};
    const QChar first = code.front();
    const bool linkedSign = isOneOf(first, "nN")
                            || (isOneOf(first, "aA") && !(quale >= 1 && quale <= 5));
    if (!linkedSign) {
        // A part of the sign's integrated panel, drawn for that sign.
        if (!isOneOf(code.back(), "aAbB"))
            return {};
        return {{dirs.DirPicLnk, segnale + QStringLiteral("p") + code + kKxb,
                 isPlainName(segnale) && isPlainName(code)}};
    }

    const QString name =
        (isOneOf(first, "nN") ? substituteLinkedCode(segnale, code) : code).mid(1);
    const bool plain = isPlainName(name);
    std::vector<PictureName> files;
    const std::optional<int> number = signNumber(segnale);
    if (number && *number >= kPairedSignsFirst && *number <= kPairedSignsLast) {
        const QString paired = name + QStringLiteral("p") + segnale;
        files.push_back({dirs.DirPicLnk, paired + QStringLiteral("a") + kKxb, plain});
        files.push_back({dirs.DirPicLnk, paired + QStringLiteral("b") + kKxb, plain});
    }
    files.push_back({signFolder(dirs, named), name + kBmp, plain});
    return files;
}

DisplayPlacement displayPlacement(const QString& segnale, const QString& icona10)
{
    if (segnale.isEmpty())
        return {};
    if (!icona10.trimmed().isEmpty()) {
        // Panel 10 covers Display's usual place.
        const QPoint pos = segnale == QLatin1String("123") ? QPoint(29, 29) : QPoint(99, 29);
        return {true, pos, segnale};
    }
    const std::optional<int> number = signNumber(segnale);
    if (number && *number >= kUnnumberedSignsFrom)
        return {};
    return {true, kDisplayHome, SoloCifre(segnale)};
}

int nextSelection(int from, bool downward, const std::array<bool, kPanelCount>& filled)
{
    // From no selection the first step lands on panel 1 (down) or 10 (up).
    int p = isPanel(from) ? from : (downward ? kPanelCount : 1);
    for (int examined = 0; examined < 2 * kPanelCount; ++examined) {
        p = downward ? p % kPanelCount + 1 : (p + kPanelCount - 2) % kPanelCount + 1;
        if (filled[p - 1])
            return p;
    }
    return 0;
}

// --- SignViewer

SignViewer::SignViewer(Globals& globals, const Config& config, const DataTable& table,
                       Reports& reporter, SignView& view, ViewerPorts& viewers,
                       MainViewPort& mainView)
    : m_g(globals),
      m_config(config),
      m_table(table),
      m_reporter(reporter),
      m_view(view),
      m_viewers(viewers),
      m_main(mainView)
{
}

QString SignViewer::iconCode(int panel) const
{
    return m_table.fieldText(QStringLiteral("Icona") + QString::number(panel));
}

void SignViewer::Visione(const QString& figura, bool flgIcone, bool modoTxt)
{
    if (m_g.SegnaleON) {
        m_g.LockLoop = m_g.QuizON;
        if (m_g.SegnaleSpeciale) {
            m_view.clearSignPicture();
            m_shownFromNamed.reset();
            m_viewers.showCrossroads(m_g.Segnale);
            return;
        }
        if (m_viewers.crossroadsVisible())
            m_viewers.closeCrossroads();

        const PictureName sign =
            recordSignFile(m_g.dirs, modoTxt, m_viewers.pictogramName(figura));
        const std::optional<QString> file = existingFile(sign);
        // A missing sign leaves the sign area as it was, without a report.
        const bool shown = file
                           && m_view.setSignPicture(
                               *file, m_g.SegnaleF ? kVisoreFrameLarge : kVisoreFrame,
                               m_g.SegnaleF);
        if (shown) {
            m_shownFromNamed = modoTxt;

            if (flgIcone && !m_config.CBicone && !m_g.SegnaliDaMenu) {
                DisegnaIcone();
            } else if (!m_g.IconeDisegnate
                       && (!iconCode(1).trimmed().isEmpty() || !iconCode(6).trimmed().isEmpty())) {
                m_view.setRecallVisible(true);
            }

            m_view.repaint();
            m_g.VistaLink = false;
            placeDisplay();
        }
    }
    if (!m_g.Domanda.isEmpty() && m_g.PASSdomanda)
        m_main.setQuizButton(true);
}

void SignViewer::placeDisplay()
{
    const DisplayPlacement d = displayPlacement(m_g.Segnale, iconCode(10));
    if (d.visible) {
        m_displayPos = d.pos;
        m_view.showDisplay(d.pos, d.text);
    } else {
        m_view.hideDisplay();
    }
    m_view.placeJumpField(m_displayPos + kJumpFieldOffset);
}

void SignViewer::DisegnaIcone()
{
    m_view.setRecallVisible(false);
    for (int i = 1; i <= kPanelCount; ++i) {
        if (!m_g.IconaON[i - 1])
            continue;
        const PictureName icon = panelIconFile(m_g.dirs, iconCode(i));
        const QString context = QStringLiteral("display icona ") + QString::number(i);
        const std::optional<QString> file = existingFile(icon);
        if (!file)
            m_reporter.Emsg(ReportKind::MissingFile, context, icon.path());
        else if (!m_view.setPanelPicture(i, *file))
            m_reporter.Emsg(ReportKind::FileIo, context, *file);
    }
    m_g.IconeDisegnate = true;
}

void SignViewer::CancellaIcone()
{
    // Every panel, not only those of the current record: a panel left over
    // from the previous record must not stay on screen.
    for (int i = 1; i <= kPanelCount; ++i)
        m_view.clearPanelPicture(i);
    m_view.hideDisplay();
    m_selectPos = 0;
    m_view.hideSelector();
    m_viewers.clearPreviewPictures();
    m_view.setRecallVisible(false);
    m_g.IconeDisegnate = false;
}

void SignViewer::emptySignArea()
{
    m_view.clearSignPicture();
    m_shownFromNamed.reset();
}

void SignViewer::SettaSegnaliIcone(int quale)
{
    if (!isPanel(quale))
        return;
    const std::vector<PictureName> candidates =
        linkedItemFiles(m_g.dirs, m_config.CBNomeSegnali, m_g.Segnale, iconCode(quale), quale);

    std::optional<QString> file;
    for (const PictureName& candidate : candidates) {
        file = existingFile(candidate);
        if (file)
            break;
    }
    const QString reported = file ? *file
                                  : (candidates.empty() ? QString() : candidates.back().path());
    if (m_g.ModoDebug) {
        m_reporter.Debug(QStringLiteral("File Linkato"),
                         QStringLiteral("Ic. ") + QString::number(quale)
                             + QStringLiteral(" -  File ") + reported);
    }
    // A code with no picture of its own to enlarge: nothing to show or report.
    if (candidates.empty())
        return;

    const QString context = QStringLiteral("display segnale linkato ") + QString::number(quale);
    if (!file) {
        m_reporter.Emsg(ReportKind::MissingFile, context, reported);
        return;
    }
    if (!m_view.setLinkedPicture(*file)) {
        m_reporter.Emsg(ReportKind::FileIo, context, *file);
        return;
    }
    m_g.VistaLink = true;
    m_g.LockLoop = false;
}

void SignViewer::SpostaSelezione(int from, bool downward)
{
    if (!m_g.IconeDisegnate)
        return;
    m_selectPos = nextSelection(from, downward, m_g.IconaON);
    if (m_selectPos == 0)
        m_view.hideSelector();
    else
        m_view.showSelector(m_selectPos);
}

bool SignViewer::confirmSelection()
{
    if (m_selectPos <= 0)
        return false;
    SettaSegnaliIcone(m_selectPos);
    return true;
}

void SignViewer::MonitorClick(int panel)
{
    m_main.setQuizButton(false);
    if (isPanel(panel) && m_g.IconaON[panel - 1] && m_g.IconeDisegnate)
        SettaSegnaliIcone(panel);
}

void SignViewer::PLinkClick()
{
    DisegnaIcone();
}

void SignViewer::VisoreClick()
{
    if (m_viewers.bannerVisible()) {
        m_viewers.closeBanner();
        return;
    }
    if (!m_g.PASSsegnale)
        Visione(m_g.Segnale, true, m_config.CBNomeSegnali);
    if (m_g.VistaLink) {
        m_main.stepForward();
        return;
    }
    // The other sign set: the named pictures after the plain ones, else the
    // plain ones.
    const bool named = m_shownFromNamed.has_value() && !*m_shownFromNamed;
    Visione(m_g.Segnale, false, named);
}

}  // namespace ziro

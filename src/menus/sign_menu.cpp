#include "menus/sign_menu.h"

#include "platform/dataset/datapacket_reader.h"

#include <QFile>

#include <pugixml.hpp>

#include <cctype>
#include <cstring>
#include <string>

#include <cstdlib>

namespace ziro {

namespace {

constexpr std::array<int, kSignColumns> kLefts = {2, 89, 176, 263, 350, 437, 524};

const std::array<SignCategory, kSignCategories> kCategories = {{
    {"Segnali di PERICOLO", 1},
    {"PRESCRIZIONI, Segnali di PRECEDENZA", 40},
    {"PRESCRIZIONI, Segnali di DIVIETO", 54},
    {"PRESCRIZIONI, Segnali di OBBLIGO", 93},
    {"Segnali di INDICAZIONE", 166},
    {"Segnali TEMPORANEI", 275},
    {"Segnali COMPLEMENTARI", 289},
    {"PANNELLI INTEGRATIVI", 121},
    {"Lanterne semaforiche - SEMAFORI ", 154},
    {"VIGILE", 383},
    {"Segnali ORIZZONTALI", 501},
    {"Segnali VARI", 694},
    {"PRECEDENZE", 603},
    {"SPIE e SIMBOLI", 695},
}};

using Tags = std::array<int, kSignHotspots>;

// Fills hot spots from..to with the signs first..last in turn; a category
// with more cells than signs shows its first signs a second time (another
// drawing of the same sign).
void fill(Tags& t, int from, int to, int first, int last)
{
    int s = first;
    for (int k = from; k <= to; ++k) {
        t[size_t(k - 1)] = s;
        s = s == last ? first : s + 1;
    }
}

void fillList(Tags& t, int from, std::initializer_list<int> signs)
{
    int k = from;
    for (int s : signs)
        t[size_t(k++ - 1)] = s;
}

// The tags every layout shares; hot spots 242 to 421 are then the layout's.
Tags formTags()
{
    Tags t{};
    auto heading = [&t](int k, int sign) { t[size_t(k - 1)] = -sign; };
    heading(1, 1);     fill(t, 2, 40, 1, 39);
    heading(41, 40);   fill(t, 42, 55, 40, 53);
    heading(56, 54);   fill(t, 57, 97, 54, 92);
    heading(98, 93);   fill(t, 99, 130, 93, 120);
    heading(131, 166); fill(t, 132, 241, 166, 273);
    t[241] = 274;
    heading(243, 275); fill(t, 244, 260, 275, 288);
    heading(261, 289); fill(t, 262, 270, 289, 297);
    heading(271, 121); fill(t, 272, 298, 121, 147);
    heading(299, 154); fill(t, 300, 308, 154, 162);
    heading(309, 383); fill(t, 310, 313, 383, 386);
    heading(314, 501); fill(t, 315, 421, 501, 602);
    heading(422, 694); fillList(t, 423, {694, 699, 700, 701, 702, 703, 704, 705, 706, 707, 708});
    heading(434, 603); fill(t, 435, 516, 603, 684);
    heading(517, 695); fillList(t, 518, {695, 696, 697, 698}); fill(t, 522, 558, 709, 745);
    return t;
}

Tags roadTags()
{
    Tags t = formTags();
    // The road picture keeps two marking signs before the temporary ones.
    fillList(t, 242, {274, 334, 335, -275});
    fill(t, 246, 260, 275, 288);
    return t;
}

Tags cqcTags()
{
    Tags t = formTags();
    // The CQC picture has fewer temporary signs and more complementary ones.
    fillList(t, 242, {274, -275, 275});
    fill(t, 245, 251, 276, 282);
    fill(t, 252, 260, 290, 298);
    return t;
}

}  // namespace

const std::array<SignCategory, kSignCategories>& signCategories()
{
    return kCategories;
}

SignLayout signLayoutFor(int edition)
{
    return edition == int(TModoQuiz::mqCQ) ? SignLayout::Cqc : SignLayout::Road;
}

QString signMenuPictureName(SignLayout layout)
{
    return layout == SignLayout::Cqc ? QStringLiteral("ZIROMNU1.JPG") : QStringLiteral("RUZUDOR3.ODE");
}

const std::array<int, kSignHotspots>& signTags(SignLayout layout)
{
    static const Tags road = roadTags();
    static const Tags cqc = cqcTags();
    return layout == SignLayout::Cqc ? cqc : road;
}

int signTag(SignLayout layout, int k)
{
    if (k < 1 || k > kSignHotspots)
        return 0;
    return signTags(layout)[size_t(k - 1)];
}

QRect signHotspotRect(int k)
{
    if (k < 1 || k > kSignHotspots)
        return {};
    const int row = (k - 1) / kSignColumns;
    const int col = (k - 1) % kSignColumns;
    return QRect(kLefts[size_t(col)], row * kSignRowStep, kSignCellWidth, kSignCellHeight);
}

int signHotspotAt(QPoint p)
{
    if (p.y() < 0 || p.x() < 0)
        return 0;
    const int row = p.y() / kSignRowStep;
    if (row >= kSignRows || p.y() - row * kSignRowStep >= kSignCellHeight)
        return 0;
    for (int col = 0; col < kSignColumns; ++col) {
        const int left = kLefts[size_t(col)];
        if (p.x() >= left && p.x() < left + kSignCellWidth)
            return row * kSignColumns + col + 1;
    }
    return 0;
}

QRect signSelectorRect(int k)
{
    const QRect r = signHotspotRect(k);
    return r.isNull() ? QRect() : QRect(r.left() + 1, r.top() + 1, 82, 76);
}

int signBandScroll(int component)
{
    if (component < 35)
        return 0;
    if (component > 566)
        return 6400;
    return kSignPageStep * ((component - 35) / 28 + 1);
}

std::optional<int> signHeadingScroll(int component)
{
    static constexpr std::array<std::pair<int, int>, 10> kFixed = {{
        {47, 400}, {62, 560}, {104, 1040}, {137, 1440}, {249, 2720},
        {267, 2960}, {277, 3040}, {305, 3360}, {440, 4880}, {523, 5840},
    }};
    for (const auto& [c, scroll] : kFixed)
        if (c == component)
            return scroll;
    return std::nullopt;
}

std::optional<int> signTabFromX(int x, int stripWidth)
{
    if (x <= 3 || x >= stripWidth - 15)
        return std::nullopt;
    const int w = kSignTabWidth;
    const int tab = x / (w + (w + 2) / x);
    return std::clamp(tab, 0, kSignCategories - 1);
}

int signCategoryOfHotspot(SignLayout layout, int k)
{
    // The category is the last heading met at or before k, by its first sign.
    const Tags& t = signTags(layout);
    int first = 1;
    for (int i = 1; i <= k && i <= kSignHotspots; ++i)
        if (t[size_t(i - 1)] < 0)
            first = -t[size_t(i - 1)];
    for (int c = 0; c < kSignCategories; ++c)
        if (kCategories[size_t(c)].firstSign == first)
            return c;
    return 0;
}

std::optional<int> signKeyMove(SignLayout layout, int k, MenuKey key)
{
    const int c = k + kComponentOffset;
    int to = 0;
    switch (key) {
    case MenuKey::Left:
        if (c < 8 || c > 566) return std::nullopt;
        to = k - 1;
        break;
    case MenuKey::Right:
        if (c < 7 || c > 563) return std::nullopt;
        to = k + 1;
        break;
    case MenuKey::Up:
        if (c < 14 || c > 564) return std::nullopt;
        to = k - kSignColumns;
        break;
    case MenuKey::Down:
        if (c < 7 || c > 557) return std::nullopt;
        to = k + kSignColumns;
        break;
    }
    if (signTag(layout, to) == 0)
        return std::nullopt;
    return to;
}

std::optional<int> findSignHotspot(SignLayout layout, const QString& typed)
{
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    if (!ok || n == 0)
        return std::nullopt;
    const Tags& t = signTags(layout);
    for (int k = 1; k <= kSignHotspots; ++k)
        if (t[size_t(k - 1)] == n)
            return k;
    return std::nullopt;
}

namespace {

void addRecord(QuestionFlags& out, const QString& name, bool hasStatement)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('f')))
        return;
    bool ok = false;
    const int s = name.trimmed().toInt(&ok);
    if (!ok) {
        // Skipped, and the walk goes on: one odd record must not cost the
        // marks of all the records after it.
        if (out.badNames++ == 0)
            out.firstBadName = name;
        return;
    }
    // Only ever set: a later record of the same sign without a statement
    // must not hide the statements of an earlier one.
    if (s > 0 && s < kSignFlagCount && hasStatement)
        out.flags.set(size_t(s));
}

void finish(QuestionFlags& out, int edition)
{
    if (edition == int(TModoQuiz::mqAB))
        for (int s = 695; s <= 698; ++s)
            out.flags.set(size_t(s));
}

bool blank(QByteArrayView text)
{
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// An attribute value as XML reads it: the five entities and character
// references decoded. Values without '&' (nearly all) are taken as they are.
QString attributeText(QByteArrayView raw)
{
    if (!raw.contains('&'))
        return QString::fromUtf8(raw);
    QString out;
    qsizetype i = 0;
    while (i < raw.size()) {
        const qsizetype amp = raw.indexOf('&', i);
        if (amp < 0) {
            out += QString::fromUtf8(raw.sliced(i));
            break;
        }
        out += QString::fromUtf8(raw.sliced(i, amp - i));
        const qsizetype semi = raw.indexOf(';', amp);
        if (semi < 0) {
            out += QString::fromUtf8(raw.sliced(amp));
            break;
        }
        const QByteArrayView name = raw.sliced(amp + 1, semi - amp - 1);
        if (name == "amp") out += QLatin1Char('&');
        else if (name == "lt") out += QLatin1Char('<');
        else if (name == "gt") out += QLatin1Char('>');
        else if (name == "quot") out += QLatin1Char('"');
        else if (name == "apos") out += QLatin1Char('\'');
        else if (name.startsWith('#')) {
            bool ok = false;
            const uint code = name.size() > 1 && (name[1] == 'x' || name[1] == 'X')
                ? name.sliced(2).toByteArray().toUInt(&ok, 16)
                : name.sliced(1).toByteArray().toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF)
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        }
        i = semi + 1;
    }
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

QuestionFlags readQuestionFlags(const QString& path, int edition, QString* error)
{
    QuestionFlags out;
    auto failed = [&](const QString& text) {
        out.failed = true;
        if (error)
            *error = text;
        finish(out, edition);
        return out;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    if (file.size() > kMaxDatapacketSize)
        return failed(QStringLiteral("file troppo grande"));
    const QByteArray bytes = file.readAll();
    // The field list is parsed as XML; the rows, which are nearly all of the
    // file, are walked by their attributes only: two of forty are wanted.
    const qsizetype metaStart = bytes.indexOf("<METADATA");
    const qsizetype metaEnd = bytes.indexOf("</METADATA>", metaStart);
    const qsizetype rowsStart = bytes.indexOf("<ROWDATA", metaEnd);
    if (metaStart < 0 || metaEnd < 0 || rowsStart < 0)
        return failed(QStringLiteral("non è una tabella (METADATA o ROWDATA mancante)"));
    pugi::xml_document meta;
    const QByteArray head = bytes.mid(metaStart, metaEnd + 11 - metaStart);
    const pugi::xml_parse_result parsed = meta.load_buffer(head.constData(), size_t(head.size()),
                                                           pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        return failed(QString::fromLatin1(parsed.description()));
    QByteArray nameAttr, domandaAttr;
    for (pugi::xml_node f = meta.child("METADATA").child("FIELDS").child("FIELD"); f; f = f.next_sibling("FIELD")) {
        const char* attr = f.attribute("attrname").value();
        const char* real = f.attribute("fieldname").value();
        const QByteArrayView name = *real ? real : attr;
        if (name == "Nome segnale")
            nameAttr = attr;
        else if (name == "Domanda")
            domandaAttr = attr;
    }
    if (nameAttr.isEmpty())
        return failed(QStringLiteral("tabella senza il campo \"Nome segnale\""));

    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype at = rowsStart;
    for (;;) {
        at = bytes.indexOf("<ROW", at + 1);
        if (at < 0)
            break;
        qsizetype p = at + 4;
        if (p >= size || !isSpace(data[p]))
            continue;  // "<ROWDATA" and the like
        // '<' cannot stand inside an attribute value: the row ends before
        // the next one.
        qsizetype end = bytes.indexOf('<', p);
        if (end < 0)
            end = size;
        QByteArrayView name;
        bool statement = false;
        bool named = false;
        while (p < end) {
            while (p < end && isSpace(data[p]))
                ++p;
            if (p >= end || data[p] == '/' || data[p] == '>')
                break;
            const qsizetype nameStart = p;
            while (p < end && data[p] != '=' && !isSpace(data[p]))
                ++p;
            const QByteArrayView attr(data + nameStart, p - nameStart);
            while (p < end && (isSpace(data[p]) || data[p] == '='))
                ++p;
            if (p >= end || (data[p] != '"' && data[p] != '\''))
                break;
            const char quote = data[p++];
            const char* close = static_cast<const char*>(std::memchr(data + p, quote, size_t(end - p)));
            if (!close)
                break;
            const QByteArrayView value(data + p, close - (data + p));
            p = close - data + 1;
            if (attr == nameAttr) {
                name = value;
                named = true;
            } else if (!domandaAttr.isEmpty() && attr == domandaAttr) {
                statement = value.contains('&') ? !attributeText(value).trimmed().isEmpty() : !blank(value);
            }
        }
        if (named && !name.isEmpty())
            addRecord(out, attributeText(name), statement);
        at = end - 1;
    }
    finish(out, edition);
    return out;
}

QString questionFlagsMessage(const QuestionFlags& flags)
{
    if (flags.badNames == 0)
        return {};
    return QStringLiteral("Errore su MenuImg.IdentifyDaQuiz()\r\n")
        + QStringLiteral("Nome segnale non numerico: \"%1\" (%2 record)")
              .arg(flags.firstBadName)
              .arg(flags.badNames);
}

MenuStart menuStartFor(int setting)
{
    if (setting == 2)
        return MenuStart::Last;
    if (setting == 3)
        return MenuStart::Current;
    return MenuStart::First;
}

QString signStartText(MenuStart start, const QString& fieldText, const QString& currentSign)
{
    switch (start) {
    case MenuStart::Last:
        return fieldText;
    case MenuStart::Current:
        return currentSign;
    case MenuStart::First:
        break;
    }
    return QStringLiteral("1");
}

// --- SignMenu ------------------------------------------------------------------

SignMenu::SignMenu(Globals& g, SignMenuHost& host) : m_g(g), m_host(host) {}

bool SignMenu::selectHotspot(int k)
{
    const int tag = signTag(m_layout, k);
    if (tag == 0)
        return false;
    m_current = k;
    m_select = QString::number(std::abs(tag));
    return true;
}

bool SignMenu::findAndSelect(const QString& typed)
{
    const std::optional<int> k = findSignHotspot(m_layout, typed);
    selectHotspot(k.value_or(kSignFallbackHotspot));
    return k.has_value();
}

bool SignMenu::key(MenuKey key)
{
    const std::optional<int> to = signKeyMove(m_layout, m_current, key);
    return to && selectHotspot(*to);
}

bool SignMenu::tabPressed(int tab)
{
    tab = std::clamp(tab, 0, kSignCategories - 1);
    const int first = kCategories[size_t(tab)].firstSign;
    if (signTag(m_layout, m_current) == -first) {
        m_select = QString::number(first);
        return true;
    }
    const std::optional<int> heading = findSignHotspot(m_layout, QString::number(-first));
    if (heading)
        selectHotspot(*heading);
    return false;
}

SignConfirmOutcome SignMenu::confirm(bool fromPopup)
{
    if (m_select.isEmpty())
        return SignConfirmOutcome::Nothing;
    m_host.closeViewersForJump();
    m_g.SoloFoto = false;
    m_host.resetPhotoIndex();
    if (m_g.Custom || fromPopup)
        m_host.AttivaModoTemp(QStringLiteral("A"), QStringLiteral("Z"), false);
    m_host.FiltraDB(QStringLiteral("OFF"), QString(), false);

    const QString kName = QStringLiteral("Nome segnale");
    const int found = m_host.SpostaSuRecord(kName, m_select, false);
    if (found == 0)
        return SignConfirmOutcome::StayOpen;
    if (found == 1) {
        const QString topic = m_host.currentField(QStringLiteral("Argomento"));
        m_host.FiltraDB(topic, topic + QLatin1Char('Z'), false);
        m_host.closeMenu();
        m_host.SpostaSuRecord(kName, m_select, true);
        m_host.takeRecordAsQuestionNumber();
        if (m_host.currentField(QStringLiteral("Domanda")).trimmed().isEmpty())
            m_host.closeQuiz();
        return SignConfirmOutcome::Record;
    }

    m_host.closeQuiz();
    m_g.SegnaleON = true;
    bool isNumber = false;
    const int n = m_select.toInt(&isNumber);
    m_host.showSignAlone(m_select, isNumber && n < 999 ? n : 0);
    m_g.FotoON = false;
    m_g.VideoON = false;
    m_g.LibroON = false;
    m_g.QuizON = false;
    if (m_g.MdTemp.Status) {
        m_g.LockLoop = false;
        if (isNumber && n < 708) {
            m_host.moveToSignPrefix(QString::number(n + 1));
            m_g.LockLoop = true;
        } else {
            m_host.moveToSignPrefix(QStringLiteral("695"));
        }
    }
    m_host.closeMenu();
    return SignConfirmOutcome::PictureAlone;
}

}  // namespace ziro

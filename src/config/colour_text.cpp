#include "config/colour_text.h"

#include <array>

namespace ziro {

namespace {

struct NamedColour {
    const char* name;
    quint32 bgr;  // 0x00BBGGRR
};

// First entry of a value wins when writing, so the aliases come last.
constexpr std::array<NamedColour, 22> kNames{{
    {"clBlack", 0x000000},     {"clMaroon", 0x000080},   {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},     {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},     {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},     {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF},  {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},  {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080},
}};

QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool isHexDigits(QStringView text)
{
    if (text.isEmpty() || text.size() > 8)
        return false;
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

std::optional<quint32> parseNumber(const QString& text)
{
    QStringView hex;
    if (text.startsWith(u'$'))
        hex = QStringView(text).sliced(1);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex = QStringView(text).sliced(2);
    if (!hex.isNull()) {
        if (!isHexDigits(hex))
            return std::nullopt;
        return hex.toUInt(nullptr, 16);
    }
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);  // refuses a sign
    if (!ok)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<QColor> colourFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (const NamedColour& n : kNames) {
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return fromBgr(n.bgr);
    }
    const auto value = parseNumber(t);
    if (!value || (*value >> 24) != 0)
        return std::nullopt;
    return fromBgr(*value);
}

QString colourToText(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    const quint32 bgr = quint32(rgb.red()) | (quint32(rgb.green()) << 8)
        | (quint32(rgb.blue()) << 16);
    for (const NamedColour& n : kNames) {
        if (n.bgr == bgr)
            return QLatin1String(n.name);
    }
    return QStringLiteral("$%1").arg(bgr, 8, 16, QLatin1Char('0')).toUpper();
}

}  // namespace ziro

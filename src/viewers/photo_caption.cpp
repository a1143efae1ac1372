#include "viewers/photo_caption.h"

#include "config/colour_text.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <optional>

namespace ziro {

namespace {

constexpr int kFieldCount = 24;

std::optional<int> number(const QString& value)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return n;
}

// Applies field `index`; false when the value is not what the field needs,
// which ends the reading.
bool applyField(PhotoCaption& c, int index, const QString& value)
{
    auto setInt = [&value](int& target) {
        const auto n = number(value);
        if (n)
            target = *n;
        return n.has_value();
    };
    auto setColour = [&value](QColor& target) {
        const auto colour = colourFromText(value);
        if (colour)
            target = *colour;
        return colour.has_value();
    };
    auto setArrow = [&](CaptionArrow& arrow, int part) {
        int v = 0;
        if (!setInt(v))
            return false;
        switch (part) {
        case 0: arrow.origin.setX(v); break;
        case 1: arrow.origin.setY(v); break;
        case 2: arrow.tip.setX(v); break;
        default: arrow.tip.setY(v); break;
        }
        return true;
    };

    switch (index) {
    case 0:
        c.text = value.isEmpty() ? QStringLiteral(" ") : value;
        return true;
    case 1: return setInt(c.left);
    case 2: return setInt(c.top);
    case 3: return setInt(c.width);
    case 4: {
        int stored = 0;
        if (!setInt(stored) || stored < INT_MIN + 4)
            return false;
        c.height = stored - 4;
        return true;
    }
    case 5:
        c.multiLine = value == QLatin1String("2");
        return true;
    case 6:
        c.fontName = value;
        return true;
    case 7: return setColour(c.fontColour);
    case 8: return setInt(c.fontSize);
    case 9:
        if (value == QLatin1String("1"))
            c.alignment = CaptionAlignment::Left;
        else if (value == QLatin1String("2"))
            c.alignment = CaptionAlignment::Centre;
        else if (value == QLatin1String("3"))
            c.alignment = CaptionAlignment::Right;
        return true;
    case 10:
        if (value.size() == 1 && value[0] >= u'0' && value[0] <= u'3') {
            const int style = value[0].unicode() - u'0';
            c.italic = style & 1;
            c.bold = style & 2;
        }
        return true;
    case 11:
        c.background = value != QLatin1String("1");
        return true;
    case 12: return setColour(c.captionColour);
    case 13:
        if (value == QLatin1String("0"))
            c.effect = CaptionEffect::Normal3d;
        else if (value == QLatin1String("1"))
            c.effect = CaptionEffect::Resit3d;
        else if (value == QLatin1String("2"))
            c.effect = CaptionEffect::Shadowed3d;
        return true;
    case 14: return setColour(c.shadowColour);
    case 15: case 16: case 17: case 18:
        return setArrow(c.arrows[0], index - 15);
    case 19: return setColour(c.arrowColour);
    case 20: case 21: case 22: case 23:
        return setArrow(c.arrows[1], index - 20);
    default:
        return true;  // fields after the 24th are ignored
    }
}

// Leaves out what would break the record ('*', '#') or be refused by the
// table (control characters other than TAB, CR and LF).
QString storable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch == u'*' || ch == u'#')
            continue;
        if (ch.unicode() < 0x20 && ch != u'\t' && ch != u'\r' && ch != u'\n')
            continue;
        out.append(ch);
    }
    return out;
}

QString effectDigit(CaptionEffect effect)
{
    switch (effect) {
    case CaptionEffect::Resit3d: return QStringLiteral("1");
    case CaptionEffect::Shadowed3d: return QStringLiteral("2");
    default: return QStringLiteral("0");  // Raised3d has no digit of its own
    }
}

}  // namespace

bool hasCaption(const QString& value)
{
    return !value.trimmed().isEmpty();
}

CaptionReading readCaption(const QString& record)
{
    CaptionReading r;
    int index = 0;
    QString field;
    for (QChar ch : record) {
        if (ch == u'#')
            break;
        if (ch != u'*') {
            if (index < kFieldCount)
                field.append(ch);
            continue;
        }
        if (index < kFieldCount) {
            if (!applyField(r.caption, index, field))
                return r;
            ++r.fieldsApplied;
        }
        ++index;
        field.clear();
    }
    // A field not ended by '*' before the end is dropped: it may be cut.
    r.complete = r.fieldsApplied == kFieldCount;
    return r;
}

QString writeCaption(const PhotoCaption& c)
{
    QString text = storable(c.text);
    if (text.trimmed().isEmpty() && !c.anyArrow())
        return {};
    if (text.isEmpty())
        text = QStringLiteral(" ");
    const int style = (c.italic ? 1 : 0) | (c.bold ? 2 : 0);
    QStringList f;
    f.reserve(kFieldCount);
    f << text << QString::number(c.left) << QString::number(c.top) << QString::number(c.width)
      << QString::number(qint64(c.height) + 4) << (c.multiLine ? QStringLiteral("2") : QStringLiteral("1"))
      << storable(c.fontName) << colourToText(c.fontColour) << QString::number(c.fontSize)
      << QString::number(int(c.alignment)) << QString::number(style)
      << (c.background ? QStringLiteral("0") : QStringLiteral("1")) << colourToText(c.captionColour)
      << effectDigit(c.effect) << colourToText(c.shadowColour);
    for (int a = 0; a < 2; ++a) {
        const CaptionArrow& arrow = c.arrows[std::size_t(a)];
        f << QString::number(arrow.origin.x()) << QString::number(arrow.origin.y())
          << QString::number(arrow.tip.x()) << QString::number(arrow.tip.y());
        if (a == 0)
            f << colourToText(c.arrowColour);
    }
    return f.join(u'*') + QStringLiteral("*#");
}

QRect captionBackgroundRect(const PhotoCaption& c)
{
    int m = c.fontSize / 4;
    if (c.height > 4 * m && m < 35)
        m = c.height / 18;
    return c.box().adjusted(-m, -m, m, m);
}

int singleLineHeight(int fontSize)
{
    // In integers, so that no binary fraction tips a half either way.
    const qint64 num = qint64(fontSize) * 165;
    qint64 q = num / 100;
    qint64 r = num % 100;
    if (r < 0) {
        q -= 1;
        r += 100;
    }
    if (2 * r > 100 || (2 * r == 100 && q % 2 != 0))
        ++q;
    return int(std::max<qint64>(1, q));
}

}  // namespace ziro

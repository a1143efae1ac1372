#include "controls/fused_label.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace ziro {

namespace {

bool startsWithNoCase(const QString& s, QLatin1StringView prefix)
{
    return s.startsWith(prefix, Qt::CaseInsensitive);
}

// "scheme://" at the start: the URL names what opens it.
bool hasOwnScheme(const QString& url)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(url).hasMatch();
}

}  // namespace

// --- text ---

QString fusedLabelText(const QString& caption, const QString& formatString)
{
    if (formatString.isEmpty())
        return caption;
    QString out;
    out.reserve(formatString.size() + caption.size());
    for (qsizetype i = 0; i < formatString.size(); ++i) {
        const QChar c = formatString.at(i);
        if (c == QLatin1Char('%') && i + 1 < formatString.size()) {
            const QChar next = formatString.at(i + 1);
            if (next == QLatin1Char('s') || next == QLatin1Char('S')) {
                out += caption;
                ++i;
                continue;
            }
            if (next == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString fusedLabelMeasuredText(const QString& text)
{
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

// --- fitting ---

TextMeasure fontTextMeasure(const QFont& font, const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = fusedLabelMeasuredText(text).split(breaks);
    return [font, lines](int pixelSize) {
        QFont f = font;
        f.setPixelSize(std::max(1, pixelSize));
        const QFontMetrics fm(f);
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, fm.horizontalAdvance(line));
        return QSize(width, fm.height());
    };
}

namespace {

// The smallest size in 1..limit at which `fails` holds, or limit + 1 when it
// holds at none. The search gallops up and then halves, taking `fails` to
// hold at every size above the first one it holds at (a text grows with its
// font): the answer of a walk upward from 1, in a few dozen measures instead
// of hundreds (each new size loads the font at that size).
int firstFailingSize(const std::function<bool(int)>& fails, int limit)
{
    int lo = 1;  // every size below lo passes
    int hi = 1;
    while (hi <= limit && !fails(hi)) {
        lo = hi + 1;
        hi *= 2;
    }
    hi = std::min(hi, limit + 1);  // hi fails, or stands for "none up to the limit"
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (fails(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace

std::optional<int> fitFontSize(TFitType type, QSize box, const TextMeasure& measure)
{
    switch (type) {
    case TFitType::NormalFit:
        return std::nullopt;
    case TFitType::BestFitVert: {
        // The last size whose line is within the box: one below the first
        // that is taller.
        const int first = firstFailingSize([&](int s) { return measure(s).height() > box.height(); }, kMaxFitSize);
        return std::max(1, first - 1);
    }
    case TFitType::BestFithorz: {
        const int first =
            firstFailingSize([&](int s) { return measure(s).width() >= box.width(); }, kMaxFitSize - 1);
        return std::max(1, first - 2);
    }
    case TFitType::BestFitBoth: {
        const int first = firstFailingSize(
            [&](int s) {
                const QSize m = measure(s);
                return m.width() >= box.width() || m.height() >= box.height();
            },
            kMaxFitSize - 1);
        return std::max(1, first - 2);
    }
    }
    return std::nullopt;
}

std::optional<int> FusedLabelFit::fit(const Request& request, const TextMeasure& measure)
{
    if (request.type == TFitType::NormalFit) {
        m_last.reset();
        return std::nullopt;
    }
    if (m_last && m_last->type == request.type && m_last->fontSize == request.fontSize &&
        m_last->box == request.box && m_last->text == request.text && m_last->face == request.face)
        return std::nullopt;
    const std::optional<int> size = fitFontSize(request.type, request.box, measure);
    ++m_searches;
    if (!size) {
        m_last.reset();
        return std::nullopt;
    }
    m_last = request;
    m_last->fontSize = *size;
    return size;
}

QString fontFaceKey(const QFont& font)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(font.family())
        .arg(font.weight())
        .arg(font.italic() ? 1 : 0)
        .arg(font.stretch());
}

// --- effects ---

std::vector<EffectPass> effectPasses(T3DEffect effect, int hOffset, int vOffset)
{
    switch (effect) {
    case T3DEffect::Normal3d:
        return {};
    case T3DEffect::Resit3d:
        return {{QPoint(1, 1), true}, {QPoint(-1, -1), false}};
    case T3DEffect::Raised3d:
        return {{QPoint(1, 1), false}, {QPoint(-1, -1), true}};
    case T3DEffect::Shadowed3d:
        return {{QPoint(hOffset, vOffset), false}};
    }
    return {};
}

// --- links ---

FusedLink readFusedLink(const QString& value, TmdLinkType current)
{
    FusedLink link;
    QString url = value.trimmed();
    link.type = current;
    if (startsWithNoCase(url, QLatin1StringView("mailto:"))) {
        link.type = TmdLinkType::mailto;
        url = url.mid(7);
    } else if (startsWithNoCase(url, QLatin1StringView("http://"))) {
        link.type = TmdLinkType::http;
        url = url.mid(7);
    } else if (hasOwnScheme(url)) {
        link.type = TmdLinkType::http;  // https:// and the like: a web address
    } else if (url.contains(QLatin1Char('/'))) {
        link.type = TmdLinkType::http;
    } else if (url.contains(QLatin1Char('@'))) {
        link.type = TmdLinkType::mailto;
    }
    link.url = url;
    link.linkable = !url.isEmpty();
    return link;
}

QString fusedLinkTarget(const QString& url, TmdLinkType type)
{
    if (url.isEmpty())
        return QString();
    if (hasOwnScheme(url))
        return url;
    return (type == TmdLinkType::mailto ? QStringLiteral("mailto:") : QStringLiteral("http://")) + url;
}

bool fusedLabelOpensLink(TmdLabelType labelType, const FusedLink& link)
{
    if (link.url.isEmpty())
        return false;
    return labelType == TmdLabelType::Link || (labelType == TmdLabelType::Auto && link.linkable);
}

}  // namespace ziro

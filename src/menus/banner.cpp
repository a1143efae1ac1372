#include "menus/banner.h"

namespace ziro {

namespace {

struct Rgb {
    int r, g, b;
};

// Columns: C-D-E, CQC, A-B and AM.
constexpr Rgb kColours[10][3] = {
    {{108, 172, 89}, {108, 172, 89}, {108, 172, 89}},
    {{133, 115, 71}, {108, 172, 89}, {133, 115, 71}},
    {{52, 139, 54}, {108, 172, 89}, {54, 82, 156}},
    {{54, 82, 156}, {108, 172, 89}, {142, 137, 74}},
    {{142, 137, 74}, {108, 172, 89}, {52, 139, 54}},
    {{186, 63, 63}, {108, 172, 89}, {186, 63, 63}},
    {{62, 135, 189}, {205, 139, 67}, {62, 135, 189}},
    {{107, 47, 108}, {205, 139, 67}, {64, 128, 128}},
    {{138, 138, 138}, {62, 135, 189}, {205, 139, 67}},
    {{138, 138, 138}, {62, 135, 189}, {138, 138, 138}},
};

bool isLowerAscii(QChar c) { return c >= u'a' && c <= u'z'; }

// AM's chapters whose banner names the chapter instead of the menu line.
QString amFixedTitle(QChar letter, int topicNumber, const QString& text)
{
    switch (letter.unicode()) {
    case u'A': return QStringLiteral("Classificazione dei veicoli");
    case u'F': return QStringLiteral("Documenti");
    case u'I':
        if (topicNumber == 1)
            return QStringLiteral("Casco protettivo");
        if (topicNumber == 2)
            return QStringLiteral("Inquinamento dell'ambiente");
        return QStringLiteral("Sicurezza e inquinamento");
    case u'J': return QStringLiteral("Consigli vari");
    default: return text;
    }
}

}  // namespace

int bannerGroupIndex(QChar letter)
{
    if (letter == u'L')
        return 9;
    return static_cast<int>(letter.unicode()) - 'A';
}

std::optional<QColor> bannerColour(int g, TModoQuiz edition)
{
    if (g < 0 || g > 9)
        return std::nullopt;
    int column;
    switch (edition) {
    case TModoQuiz::mqCD: column = 0; break;
    case TModoQuiz::mqCQ: column = 1; break;
    case TModoQuiz::mqAB:
    case TModoQuiz::mqAM: column = 2; break;
    default: return std::nullopt;
    }
    const Rgb& c = kColours[g][column];
    return QColor(c.r, c.g, c.b);
}

TopicMenu bannerMenu(const TopicPopup& popup)
{
    TopicMenu menu;
    for (const TopicSubmenu& sub : popup.submenus) {
        TopicMenuGroup group;
        // "Intero argomento" comes first and carries the chapter letter.
        if (!sub.items.empty() && !sub.items.front().hint.isEmpty())
            group.letter = sub.items.front().hint.at(0);
        group.caption = sub.caption;
        group.items = QVector<TopicMenuItem>(sub.items.begin(), sub.items.end());
        menu.push_back(group);
    }
    return menu;
}

QStringList bannerLines(const QVector<TopicMenuItem>& items)
{
    QStringList lines;
    for (qsizetype i = 0; i < items.size(); ++i) {
        QString line = items[i].caption.trimmed();
        const QString& hint = items[i].hint;
        for (int joined = 0; joined < 2 && !hint.isEmpty() && i + 1 < items.size()
                             && items[i + 1].hint == hint;
             ++joined) {
            ++i;
            line += QLatin1Char(' ') + items[i].caption.trimmed();
        }
        lines << line;
    }
    return lines;
}

QString cutBannerText(QString text)
{
    if (!text.isEmpty() && isLowerAscii(text.at(0)))
        text[0] = text.at(0).toUpper();
    if (text.size() > kBannerMaxChars)
        text = text.left(kBannerMaxChars) + QStringLiteral(" ...");
    return text;
}

std::optional<BannerContent> bannerContent(const QString& sottoArgCorr, TModoQuiz edition,
                                           const TopicMenu& menu,
                                           const std::array<QString, 10>& titoliGruppi)
{
    BannerContent out;
    if (sottoArgCorr.isEmpty())
        return out;

    const QChar letter = sottoArgCorr.at(0);
    const int g = bannerGroupIndex(letter);
    if (g < 0 || g > 10)
        return out;

    const TopicMenuGroup* group = nullptr;
    for (const TopicMenuGroup& candidate : menu)
        if (candidate.letter == letter) {
            group = &candidate;
            break;
        }
    if (group)
        out.text = group->caption;
    else if (g < static_cast<int>(titoliGruppi.size()))
        out.text = titoliGruppi[static_cast<size_t>(g)];

    int topicNumber = 0;
    if (sottoArgCorr.size() > 1) {
        bool ok = false;
        topicNumber = sottoArgCorr.mid(1, 2).toInt(&ok);
        if (!ok || topicNumber < 0)
            return std::nullopt;
        int n = topicNumber;
        if (edition == TModoQuiz::mqAM || edition == TModoQuiz::mqAB
            || edition == TModoQuiz::mqCD) {
            if (letter == u'L')
                n += 12;
            else if (n > 3)
                n += 1;
        }
        if (group && !group->items.isEmpty()) {
            const QStringList lines = bannerLines(group->items);
            out.text = lines.at(qMin<qsizetype>(n, lines.size() - 1));
        }
    }

    if (edition == TModoQuiz::mqAM && (g == 0 || g == 5 || g > 6))
        out.text = amFixedTitle(letter, topicNumber, out.text);

    out.colour = bannerColour(g, edition);
    if (g == 7 && (edition == TModoQuiz::mqAB || edition == TModoQuiz::mqAM))
        out.text = titoliGruppi[7];
    if (edition == TModoQuiz::mqCD) {
        const qsizetype cut = out.text.indexOf(QLatin1String("- merci"));
        if (cut >= 0)
            out.text.truncate(cut);
    }

    out.text = cutBannerText(out.text);
    return out;
}

bool bannerMayShow(bool mode, const BannerState& state)
{
    return mode && state.recuperoOut && !state.subArgStart && !state.bannerVisible
        && !state.generalMenuVisible && !state.custom;
}

QPoint bannerTopLeft(const QRect& mainGeometry, const QSize& bannerSize)
{
    // Integer division halves toward zero, also when the banner is the wider.
    return {mainGeometry.left() + (mainGeometry.width() - bannerSize.width()) / 2 - 1,
            mainGeometry.top() + 200};
}

QRect bannerLabelRect(int bannerWidth, int labelHeight)
{
    return {5, 8, bannerWidth - 10, labelHeight};
}

int bannerShapeHeight(int fittedTextHeight, int labelTop)
{
    return qRound(fittedTextHeight + labelTop * 1.54);
}

}  // namespace ziro

#include "authoring/topic_lists.h"

#include "menus/topic_list.h"

namespace ziro {

namespace {

struct Replacement {
    const char16_t* from;
    const char16_t* to;
};

// Applied to the lower-cased line, so the capitals of a replacement are never
// matched by a later rule.
const Replacement kReplacements[] = {
    {u" ue", u" UE"},         {u" ncc", u" NCC"},       {u" cmr", u" CMR"},
    {u" tir", u" TIR"},       {u" ata", u" ATA"},       {u" cemt", u" CEMT"},
    {u" r.c.a.", u" R.C.A."}, {u" r.c.a", u" R.C.A."},  {u"a' ", u"\u00E0 "},
    {u"a', ", u"\u00E0, "},   {u"e' ", u"\u00E8 "},     {u"i' ", u"\u00EC "},
    {u"o' ", u"\u00F2 "},     {u"u' ", u"\u00F9 "},
};

void replaceFirst(QString& text, const Replacement& r)
{
    const QString from = QString::fromUtf16(r.from);
    qsizetype at = text.indexOf(from);
    // " r.c.a" is the form written without its final period; one that has it
    // was left by the rule before (a second occurrence) and must not gain
    // another.
    if (from == u" r.c.a") {
        while (at >= 0 && at + from.size() < text.size()
               && text.at(at + from.size()) == QLatin1Char('.'))
            at = text.indexOf(from, at + 1);
    }
    if (at >= 0)
        text.replace(at, from.size(), QString::fromUtf16(r.to));
}

const QString kContext = QStringLiteral("Caricamento Items menù");

}  // namespace

QStringList chapterLetters(TModoQuiz edition)
{
    switch (edition) {
    case TModoQuiz::mqAM:
        return {"A", "B", "C", "D", "E", "F", "G", "I", "J"};
    case TModoQuiz::mqAB:
        return {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    case TModoQuiz::mqCD:
        return {"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    case TModoQuiz::mqCQ:
        return {"A", "B", "C", "D", "E", "F", "G", "H", "I", "L"};
    case TModoQuiz::mqCustom:
        break;
    }
    return {};
}

bool chapterHasTopics(TModoQuiz edition, const QString& letter)
{
    return !(edition == TModoQuiz::mqAB && letter == u"H");
}

QString chapterHeading(const QString& title, const QString& letter)
{
    const bool last = letter == u"J" || letter == u"L";
    const int spaces = last ? 47 : 48;
    const int width = last ? 78 : 79;
    return (title + QString(spaces, QLatin1Char(' ')) + letter).left(width).toUpper();
}

QString normalizeTopicText(const QString& line)
{
    QString text = line.toLower();
    for (const Replacement& r : kReplacements)
        replaceFirst(text, r);
    if (!text.isEmpty() && text.at(0) >= QLatin1Char('a') && text.at(0) <= QLatin1Char('z'))
        text[0] = text.at(0).toUpper();
    return text;
}

TopicLists CaricaArgomenti(const Globals& g, const TopicListLog& logKind20)
{
    TopicLists lists;
    const TModoQuiz edition = g.Edizione;
    for (const QString& letter : chapterLetters(edition)) {
        // The tenth chapter's title is the tenth title whatever its letter.
        const size_t titleIndex = letter == u"L" ? 9 : static_cast<size_t>(letter.at(0).unicode() - u'A');
        const QString title = g.TitoliGruppi[titleIndex];
        lists.combo.push_back({chapterHeading(title, letter), letter, TopicComboItem::Kind::Heading});
        TopicSubmenu submenu{title, {{QStringLiteral("Intero argomento"), letter}}};

        if (chapterHasTopics(edition, letter)) {
            const QString path = topicListPath(g, letter);
            const auto rows = loadTopicList(path);
            if (!rows) {
                if (logKind20)
                    logKind20(kContext, path);
            } else {
                for (const TopicLine& row : *rows) {
                    if (!row.selectable())
                        continue;
                    const QString code = row.code.toUpper();
                    submenu.items.push_back({normalizeTopicText(row.title), code});

                    QString text = normalizeTopicText(row.text);
                    if (edition == TModoQuiz::mqCD) {
                        qsizetype cut = text.indexOf(u"- merci");
                        const qsizetype persone = text.indexOf(u"- persone");
                        if (persone >= 0 && (cut < 0 || persone < cut))
                            cut = persone;
                        if (cut >= 0)
                            text.truncate(cut);
                        text = text.trimmed();
                    } else if (edition == TModoQuiz::mqCQ && letter != u"L") {
                        text = text.trimmed();
                    }
                    if ((edition == TModoQuiz::mqCD || edition == TModoQuiz::mqCQ) && text.isEmpty())
                        continue;
                    lists.combo.push_back({text, code, TopicComboItem::Kind::Topic});
                }
            }
        }
        lists.popup.submenus.push_back(std::move(submenu));
    }
    lists.popup.last = {QStringLiteral("Menu ICONE..."), QStringLiteral("ICONE")};
    lists.combo.push_back({QStringLiteral("SELEZIONE FOTO"), {}, TopicComboItem::Kind::PhotoSelection});
    return lists;
}

}  // namespace ziro

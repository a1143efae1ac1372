#include "authoring/topic_lists.h"
#include "content/edition.h"
#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace ziro;

TEST(TopicLists, Normalisation)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"CITTA' E PAESI, CITTA' ", "Città e paesi, citta' "},
        {"velocita', limiti", "Velocità, limiti"},
        {"PERCHE' SI' NO' PIU' ", "Perchè sì nò più "},
        {"Norme UE e Ncc, cmr, Tir, Ata, Cemt", "Norme UE e NCC, CMR, TIR, ATA, CEMT"},
        {"Polizza R.C.A. obbligatoria", "Polizza R.C.A. obbligatoria"},
        {"Polizza r.c.a obbligatoria", "Polizza R.C.A. obbligatoria"},
        {"la r.c.a. e la r.c.a. auto", "La R.C.A. e la r.c.a. auto"},
        {"la r.c.a. e la r.c.a", "La R.C.A. e la R.C.A."},
        {"\u00C0 capo", "\u00E0 capo"},
        {"1) freni", "1) freni"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalizeTopicText(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(TopicLists, Headings)
{
    const QString title30 = QStringLiteral("Periodi lavoro, cronotachigraf");
    const QString h = chapterHeading(title30, QStringLiteral("F"));
    EXPECT_EQ(h.size(), 79);
    EXPECT_EQ(h, title30.toUpper() + QString(48, u' ') + u'F');
    EXPECT_EQ(chapterHeading(QStringLiteral("Strada e dinamiche del veicolo"), QStringLiteral("L")).size(), 78);
    EXPECT_EQ(chapterHeading(QStringLiteral("I veicoli"), QStringLiteral("A")),
              QStringLiteral("I VEICOLI") + QString(48, u' ') + u'A');
    EXPECT_EQ(chapterHeading(QStringLiteral("Consigli vari"), QStringLiteral("J")),
              QStringLiteral("CONSIGLI VARI") + QString(47, u' ') + u'J');
}

namespace {

class TopicListsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        g.dirs.DirProgram = m_dir.path() + QLatin1Char('/');
    }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(g.dirs.DirProgram + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Every group file of an edition letter with one topic "<letter>01".
    void writeAll(const char* editionLetter)
    {
        for (char l : QByteArray("ABCDEFGHIJL")) {
            const QByteArray line = QByteArray("argomento ").append(l).leftJustified(40, ' ')
                                    + "#    " + QByteArray(1, l) + "01  \r\n";
            write(QString::fromLatin1(editionLetter) + QLatin1Char(l) + QStringLiteral("0.TXT"), line);
        }
    }

    static QStringList headingCodes(const TopicLists& lists)
    {
        QStringList codes;
        for (const auto& item : lists.combo)
            if (item.kind == TopicComboItem::Kind::Heading)
                codes << item.code;
        return codes;
    }

    QTemporaryDir m_dir;
    Globals g;
};

}  // namespace

TEST_F(TopicListsFixture, ChaptersOfEveryEdition)
{
    struct Case {
        int edition;
        const char* letter;
        QStringList chapters;
    } cases[] = {
        {0, "C", {"A", "B", "C", "D", "E", "F", "G", "I", "J"}},
        {1, "N", {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}},
        {2, "A", {"A", "B", "C", "D", "E", "F", "G", "H", "I"}},
        {3, "Q", {"A", "B", "C", "D", "E", "F", "G", "H", "I", "L"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edition);
        writeAll(c.letter);
        ASSERT_TRUE(CambiaEdizione(g, c.edition, nullptr));
        QStringList logged;
        const TopicLists lists = CaricaArgomenti(g, [&](const QString&, const QString& n) { logged << n; });
        EXPECT_TRUE(logged.isEmpty());
        EXPECT_EQ(headingCodes(lists), c.chapters);

        ASSERT_EQ(lists.popup.submenus.size(), size_t(c.chapters.size()));
        for (int i = 0; i < c.chapters.size(); ++i) {
            const QString letter = c.chapters[i];
            const TopicSubmenu& sub = lists.popup.submenus[size_t(i)];
            const QString title = letter == u"L" ? g.TitoliGruppi[9] : TitoloGruppo(g, letter);
            EXPECT_EQ(sub.caption, title);
            ASSERT_FALSE(sub.items.empty());
            EXPECT_EQ(sub.items[0].caption, QStringLiteral("Intero argomento"));
            EXPECT_EQ(sub.items[0].hint, letter);
            const bool topics = !(c.edition == 1 && letter == u"H");
            ASSERT_EQ(sub.items.size(), topics ? 2u : 1u) << letter.toStdString();
            if (topics) {
                EXPECT_EQ(sub.items[1].caption, QStringLiteral("Argomento ") + letter.toLower()
                                                    + QString(29, u' '));
                EXPECT_EQ(sub.items[1].hint, letter + QStringLiteral("01"));
            }
        }
        EXPECT_EQ(lists.popup.last.caption, QStringLiteral("Menu ICONE..."));
        EXPECT_EQ(lists.popup.last.hint, QStringLiteral("ICONE"));
        ASSERT_FALSE(lists.combo.empty());
        EXPECT_EQ(lists.combo.back().text, QStringLiteral("SELEZIONE FOTO"));
        EXPECT_EQ(lists.combo.back().kind, TopicComboItem::Kind::PhotoSelection);
    }
}

TEST_F(TopicListsFixture, AbChapterHHasNoTopics)
{
    writeAll("N");
    CambiaEdizione(g, 1, nullptr);
    const TopicLists lists = CaricaArgomenti(g);
    const auto h = std::find_if(lists.combo.begin(), lists.combo.end(),
                                [](const TopicComboItem& i) { return i.code == u"H"; });
    ASSERT_NE(h, lists.combo.end());
    EXPECT_EQ(h->text, QStringLiteral("PRIMO SOCCORSO") + QString(48, u' ') + u'H');
    ASSERT_NE(h + 1, lists.combo.end());
    EXPECT_EQ((h + 1)->kind, TopicComboItem::Kind::Heading);
    EXPECT_EQ((h + 1)->code, QStringLiteral("I"));
    EXPECT_EQ((h + 2)->text, QStringLiteral("Argomento i") + QString(29, u' ') + QStringLiteral("#    i01  "));
    EXPECT_EQ((h + 2)->code, QStringLiteral("I01"));
}

TEST_F(TopicListsFixture, CdeCutKeepsTheCodeAndSkipsEmptyLines)
{
    writeAll("A");
    write(QStringLiteral("AG0.TXT"),
          "CRONOTACHIGRAFO - MERCI                 #    g01  \r\n"
          "- persone trasporto                     #    G02  \r\n"
          "\r\n"
          "Pesi e r.c.a - persone - merci          #    G03  \r\n");
    CambiaEdizione(g, 2, nullptr);
    const TopicLists lists = CaricaArgomenti(g);
    std::vector<std::pair<QString, QString>> topics;
    bool inG = false;
    for (const auto& item : lists.combo) {
        if (item.kind == TopicComboItem::Kind::Heading)
            inG = item.code == u"G";
        else if (inG)
            topics.emplace_back(item.text, item.code);
    }
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("Cronotachigrafo"), QStringLiteral("G01")},
        {QStringLiteral("Pesi e R.C.A."), QStringLiteral("G03")},
    };
    EXPECT_EQ(topics, expected);

    // The pop-up keeps every topic, uncut.
    const TopicSubmenu& sub = lists.popup.submenus[6];
    ASSERT_EQ(sub.items.size(), 4u);
    EXPECT_EQ(sub.items[1].caption, QStringLiteral("Cronotachigrafo - merci                 "));
    EXPECT_EQ(sub.items[2].hint, QStringLiteral("G02"));
    EXPECT_EQ(sub.items[3].caption, QStringLiteral("Pesi e R.C.A. - persone - merci          "));
}

TEST_F(TopicListsFixture, CqcTrimsExceptChapterL)
{
    writeAll("Q");
    write(QStringLiteral("QA0.TXT"), "Strada bagnata                          #    A01  \r\n");
    write(QStringLiteral("QL0.TXT"), "Trasporto scolastico                    #    L01  \r\n");
    CambiaEdizione(g, 3, nullptr);
    const TopicLists lists = CaricaArgomenti(g);
    ASSERT_GE(lists.combo.size(), 2u);
    EXPECT_EQ(lists.combo[1].text, QStringLiteral("Strada bagnata                          #    a01"));
    const auto& l = lists.combo[lists.combo.size() - 2];
    EXPECT_EQ(l.text, QStringLiteral("Trasporto scolastico                    #    l01  "));
    EXPECT_EQ(l.code, QStringLiteral("L01"));
    const auto& heading = lists.combo[lists.combo.size() - 3];
    EXPECT_EQ(heading.text, QStringLiteral("AUTOTRASPORTO PERSONE") + QString(47, u' ') + u'L');
    EXPECT_EQ(lists.popup.submenus.back().caption, QStringLiteral("Autotrasporto persone"));
}

TEST_F(TopicListsFixture, MissingFileIsLoggedAndKeepsTheHeading)
{
    writeAll("C");
    ASSERT_TRUE(QFile::remove(g.dirs.DirProgram + QStringLiteral("CB0.TXT")));
    CambiaEdizione(g, 0, nullptr);
    QList<QPair<QString, QString>> logged;
    const TopicLists lists = CaricaArgomenti(g, [&](const QString& c, const QString& n) { logged.append({c, n}); });
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0].first, QStringLiteral("Caricamento Items menù"));
    EXPECT_EQ(logged[0].second, g.dirs.DirProgram + QStringLiteral("CB0.TXT"));
    ASSERT_EQ(lists.popup.submenus.size(), 9u);
    EXPECT_EQ(lists.popup.submenus[1].items.size(), 1u);
    EXPECT_EQ(lists.combo[2].code, QStringLiteral("B"));
    EXPECT_EQ(lists.combo[3].code, QStringLiteral("C"));
}

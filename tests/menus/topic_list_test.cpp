#include "menus/topic_list.h"
#include "support/qt_printers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

// A title padded to 40 characters, as the files are laid out.
QByteArray padded(const QByteArray& title)
{
    return title.leftJustified(40, ' ');
}

}  // namespace

TEST(TopicList, LineParsing)
{
    struct Case {
        QByteArray line;  // Windows-1252
        const char* title;
        const char* display;
        const char* film;
        const char* group;
        const char* html;
        const char* code;
    } cases[] = {
        // Every field, a three-character code padded with two blanks.
        {padded("Velocit\xE0 e distanza") + "#012 %GR00012 $H01 B05  ",
         "Velocità e distanza                     ",
         "Velocità e distanza                     #012 %GR00012 $H01 ", "012", "GR00012", "H01", "B05"},
        // No "%" and no "$": neither group code nor page.
        {padded("Perch\xE9 frenare") + "#003 B0501", "Perché frenare                          ",
         "Perché frenare                          #003 ", "003", "", "", "B0501"},
        // Blank film.
        {padded("Segnali") + "#    C01  ", "Segnali                                 ",
         "Segnali                                 #    ", "", "", "", "C01"},
        // No marker at all: no film taken from the title.
        {"Gi\xF9 per la discesa A01  ", "Giù per la discesa A01  ", "Giù per la discesa ", "", "",
         "", "A01"},
        // Markers inside the title do not shift the real fields.
        {padded("Sconto 50% #1 $ ok") + "#007 %GRP0001 $H02 D12  ",
         "Sconto 50% #1 $ ok                      ",
         "Sconto 50% #1 $ ok                      #007 %GRP0001 $H02 ", "007", "GRP0001", "H02", "D12"},
        // A marker at the end of the text takes what follows, never the code.
        {"Titolo $H A01  ", "Titolo $H A01  ", "Titolo $H ", "", "", "H", "A01"},
        {"Titolo #A01  ", "Titolo #A01  ", "Titolo #", "", "", "", "A01"},
        // Exactly a code; shorter than a code; empty.
        {"L01  ", "L01  ", "", "", "", "", "L01"},
        {"A01", "A01", "", "", "", "", ""},
        {"", "", "", "", "", "", ""},
        // Blank code.
        {padded("Solo titolo") + "     ", "Solo titolo                             ",
         "Solo titolo                             ", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.constData());
        const auto rows = parseTopicList(c.line + "\r\n");
        ASSERT_EQ(rows.size(), 1u);
        const TopicLine& r = rows[0];
        EXPECT_EQ(r.title, QString::fromUtf8(c.title));
        EXPECT_EQ(r.display, QString::fromUtf8(c.display));
        EXPECT_EQ(r.film, QString::fromUtf8(c.film));
        EXPECT_EQ(r.group, QString::fromUtf8(c.group));
        EXPECT_EQ(r.html, QString::fromUtf8(c.html));
        EXPECT_EQ(r.code, QString::fromUtf8(c.code));
        EXPECT_EQ(r.selectable(), *c.code != '\0');
    }
}

TEST(TopicList, RowsFollowTheFile)
{
    // Any line break; an empty line in the middle is an unselectable row; the
    // final break adds no row.
    auto rows = parseTopicList("Uno A01  \r\nDue A02  \n\rTre A03  \rQuattro A04  \r\n");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].code, QStringLiteral("A02"));
    EXPECT_FALSE(rows[2].selectable());
    EXPECT_EQ(rows[3].code, QStringLiteral("A03"));
    EXPECT_EQ(rows[4].code, QStringLiteral("A04"));

    EXPECT_TRUE(parseTopicList("").empty());

    // No fixed row limit.
    QByteArray many;
    for (int i = 0; i < 120; ++i)
        many += padded("Riga " + QByteArray::number(i)) + "#    A" + QByteArray::number(i).rightJustified(3, '0') + " \r\n";
    rows = parseTopicList(many);
    ASSERT_EQ(rows.size(), 120u);
    EXPECT_EQ(rows[119].code, QStringLiteral("A119"));
}

TEST(TopicList, FileNamesAndLoading)
{
    EXPECT_EQ(topicGroupLetter(TModoQuiz::mqAB, 0), QStringLiteral("A"));
    EXPECT_EQ(topicGroupLetter(TModoQuiz::mqAB, 9), QStringLiteral("J"));
    EXPECT_EQ(topicGroupLetter(TModoQuiz::mqCQ, 8), QStringLiteral("I"));
    EXPECT_EQ(topicGroupLetter(TModoQuiz::mqCQ, 9), QStringLiteral("L"));
    EXPECT_TRUE(topicGroupLetter(TModoQuiz::mqAB, 10).isEmpty());
    EXPECT_TRUE(topicGroupLetter(TModoQuiz::mqAB, -1).isEmpty());
    EXPECT_EQ(topicListFileName(QStringLiteral("N"), QStringLiteral("A")), QStringLiteral("NA0.TXT"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.path() + QLatin1Char('/');
    {
        QFile f(program + QStringLiteral("ql0.txt"));  // case differs from the built name
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(padded("Trasporto persone") + "#    L01  \r\n");
    }
    Globals g;
    g.dirs.DirProgram = program;
    g.LetteraEdizione = QStringLiteral("Q");
    const QString path = topicListPath(g, topicGroupLetter(TModoQuiz::mqCQ, 9));
    EXPECT_EQ(path, program + QStringLiteral("ql0.txt"));
    const auto rows = loadTopicList(path);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ(rows->front().code, QStringLiteral("L01"));

    const QString missing = topicListPath(g, QStringLiteral("A"));
    EXPECT_EQ(missing, program + QStringLiteral("QA0.TXT"));
    EXPECT_FALSE(loadTopicList(missing).has_value());
}

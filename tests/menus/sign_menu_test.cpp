#include "menus/sign_menu.h"

#include "platform/dataset/data_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace ziro {
namespace {

TEST(SignMenuGrid, HotspotsTileThePictureAndHitTestsFindThem)
{
    EXPECT_EQ(signHotspotRect(1), QRect(2, 0, 83, 77));
    EXPECT_EQ(signHotspotRect(9), QRect(89, 80, 83, 77));
    EXPECT_EQ(signHotspotRect(560), QRect(524, 6320, 83, 77));
    EXPECT_TRUE(signHotspotRect(0).isNull());
    EXPECT_TRUE(signHotspotRect(561).isNull());
    EXPECT_LE(signHotspotRect(560).bottom(), kSignPictureHeight);
    for (int k : {1, 7, 8, 93, 300, 560}) {
        const QRect r = signHotspotRect(k);
        EXPECT_EQ(signHotspotAt(r.topLeft()), k);
        EXPECT_EQ(signHotspotAt(r.bottomRight()), k);
        EXPECT_EQ(signSelectorRect(k).topLeft(), r.topLeft() + QPoint(1, 1));
    }
    // The gaps between cells and outside the grid belong to no icon.
    EXPECT_EQ(signHotspotAt(QPoint(1, 10)), 0);
    EXPECT_EQ(signHotspotAt(QPoint(86, 10)), 0);
    EXPECT_EQ(signHotspotAt(QPoint(10, 78)), 0);
    EXPECT_EQ(signHotspotAt(QPoint(10, 6400)), 0);
    EXPECT_EQ(signHotspotAt(QPoint(-1, -1)), 0);
}

TEST(SignMenuGrid, BandsAndHeadingScrolls)
{
    const std::vector<std::pair<int, int>> bands = {
        {7, 0}, {34, 0}, {35, 320}, {62, 320}, {63, 640}, {539, 6080}, {566, 6080}, {567, 6400}};
    for (const auto& [c, scroll] : bands)
        EXPECT_EQ(signBandScroll(c), scroll) << c;
    EXPECT_EQ(signHeadingScroll(47), 400);
    EXPECT_EQ(signHeadingScroll(523), 5840);
    EXPECT_FALSE(signHeadingScroll(315).has_value());
}

TEST(SignMenuGrid, TabFromXIsClampedAndIgnoresTheEnds)
{
    const int strip = kSignCategories * kSignTabWidth + 20;
    EXPECT_FALSE(signTabFromX(3, strip));
    EXPECT_FALSE(signTabFromX(strip - 15, strip));
    EXPECT_EQ(signTabFromX(4, strip), 0);
    EXPECT_EQ(signTabFromX(47, strip), 1);
    EXPECT_EQ(signTabFromX(44 * 9 + 5, strip), 9);
    // Wider strips than the tabs never give a tab that does not exist.
    EXPECT_EQ(signTabFromX(2000, 3000), kSignCategories - 1);
}

TEST(SignMenuTags, BothLayoutsKeepTheFixedHeadingsAndEmptyCells)
{
    const std::vector<std::pair<int, int>> fixed = {
        {1, -1}, {41, -40}, {56, -54}, {98, -93}, {131, -166}, {261, -289}, {271, -121},
        {299, -154}, {309, -383}, {314, -501}, {422, -694}, {434, -603}, {517, -695}};
    for (SignLayout layout : {SignLayout::Road, SignLayout::Cqc}) {
        for (const auto& [k, tag] : fixed)
            EXPECT_EQ(signTag(layout, k), tag) << k;
        EXPECT_EQ(signTag(layout, 559), 0);
        EXPECT_EQ(signTag(layout, 560), 0);
        // Every category has exactly one heading and every other cell a sign.
        std::set<int> headings;
        for (int k = 1; k <= 558; ++k) {
            const int tag = signTag(layout, k);
            EXPECT_NE(tag, 0) << k;
            EXPECT_LT(std::abs(tag), kSignFlagCount);
            if (tag < 0) {
                EXPECT_TRUE(headings.insert(-tag).second) << k;
            }
        }
        for (const SignCategory& c : signCategories())
            EXPECT_TRUE(headings.count(c.firstSign)) << c.caption;
        EXPECT_EQ(headings.size(), size_t(kSignCategories));
    }
    EXPECT_EQ(signTag(SignLayout::Road, 242), 274);
    EXPECT_EQ(signTag(SignLayout::Road, 245), -275);
    EXPECT_EQ(signTag(SignLayout::Cqc, 243), -275);
    EXPECT_EQ(signLayoutFor(int(TModoQuiz::mqCQ)), SignLayout::Cqc);
    EXPECT_EQ(signLayoutFor(int(TModoQuiz::mqCD)), SignLayout::Road);
}

TEST(SignMenuFind, TypedNumbersCompareAsNumbers)
{
    const auto at = [](const char* typed) { return findSignHotspot(SignLayout::Road, QString::fromLatin1(typed)); };
    EXPECT_EQ(at("93"), 99);
    EXPECT_EQ(at("093"), 99);
    EXPECT_EQ(at(" 93 "), 99);
    EXPECT_EQ(at("-93"), 98);
    EXPECT_EQ(at("1"), 2);
    for (const char* none : {"", "0", "999", "abc", "12a"})
        EXPECT_FALSE(at(none)) << none;
    EXPECT_EQ(signCategoryOfHotspot(SignLayout::Road, 310), 9);
    EXPECT_EQ(signCategoryOfHotspot(SignLayout::Road, 244), 4);
}

TEST(SignMenuKeys, LimitsInComponentsAndNoEmptyCell)
{
    // Hot spot k is component k + 6.
    struct Case { int k; MenuKey key; std::optional<int> to; };
    const std::vector<Case> cases = {
        {2, MenuKey::Left, 1},          // sign 1 back to its heading
        {1, MenuKey::Left, std::nullopt},
        {1, MenuKey::Right, 2},
        {557, MenuKey::Right, 558},
        {558, MenuKey::Right, std::nullopt},
        {1, MenuKey::Up, std::nullopt},
        {8, MenuKey::Up, 1},
        {558, MenuKey::Up, 551},
        {1, MenuKey::Down, 8},
        {551, MenuKey::Down, 558},
        {554, MenuKey::Down, std::nullopt},  // component 560
        {552, MenuKey::Down, std::nullopt},  // would be an empty cell
    };
    for (const Case& c : cases)
        EXPECT_EQ(signKeyMove(SignLayout::Road, c.k, c.key), c.to) << c.k << " " << int(c.key);
}

struct RecordingHost : SignMenuHost {
    void closeViewersForJump() override { log.push_back("close viewers"); }
    void AttivaModoTemp(const QString& from, const QString& to, bool) override
    {
        log.push_back("temp " + from.toStdString() + to.toStdString());
    }
    void FiltraDB(const QString& from, const QString& to, bool) override
    {
        log.push_back("filter " + from.toStdString() + "-" + to.toStdString());
    }
    int SpostaSuRecord(const QString&, const QString& value, bool show) override
    {
        log.push_back("move " + value.toStdString() + (show ? " show" : ""));
        return found;
    }
    QString currentField(const QString& field) const override
    {
        return field == QLatin1String("Argomento") ? QStringLiteral("B05") : domanda;
    }
    void takeRecordAsQuestionNumber() override { log.push_back("question number"); }
    void closeQuiz() override { log.push_back("close quiz"); }
    void showSignAlone(const QString& sign, int number) override
    {
        log.push_back("alone " + sign.toStdString() + " " + std::to_string(number));
    }
    bool moveToSignPrefix(const QString& prefix) override
    {
        log.push_back("prefix " + prefix.toStdString());
        return true;
    }
    void closeMenu() override { log.push_back("close menu"); }

    int found = 1;
    QString domanda;
    std::vector<std::string> log;
};

TEST(SignMenuConfirm, RecordIsFilteredToItsTopic)
{
    Globals g;
    g.SoloFoto = true;
    RecordingHost host;
    SignMenu menu(g, host);
    menu.findAndSelect(QStringLiteral("93"));
    EXPECT_EQ(menu.confirm(false), SignConfirmOutcome::Record);
    EXPECT_FALSE(g.SoloFoto);
    const std::vector<std::string> want = {"close viewers", "filter OFF-", "move 93", "filter B05-B05Z",
                                           "close menu", "move 93 show", "question number", "close quiz"};
    EXPECT_EQ(host.log, want);

    // Opened from the topic pop-up (or in a custom lesson) it is a side trip;
    // a record with a statement keeps the quiz.
    host.log.clear();
    host.domanda = QStringLiteral("Q1");
    menu.confirm(true);
    EXPECT_EQ(host.log[1], "temp AZ");
    EXPECT_EQ(host.log.back(), "question number");
}

TEST(SignMenuConfirm, NothingFoundKeepsTheMenuOpen)
{
    Globals g;
    RecordingHost host;
    host.found = 0;
    SignMenu menu(g, host);
    EXPECT_EQ(menu.confirm(false), SignConfirmOutcome::StayOpen);
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "close menu"), 0);
    menu.setSelect(QString());
    host.log.clear();
    EXPECT_EQ(menu.confirm(false), SignConfirmOutcome::Nothing);
    EXPECT_TRUE(host.log.empty());
}

TEST(SignMenuConfirm, PictureAloneAndTheLockLoopRule)
{
    struct Case { const char* sign; bool pending; const char* prefix; bool lock; int shown; };
    const std::vector<Case> cases = {
        {"383", false, nullptr, false, 383},
        {"383", true, "384", true, 383},
        {"707", true, "708", true, 707},
        {"708", true, "695", false, 708},
        {"999", true, "695", false, 0},
    };
    for (const Case& c : cases) {
        Globals g;
        g.MdTemp.Status = c.pending;
        g.LockLoop = !c.lock;
        g.QuizON = g.FotoON = g.VideoON = g.LibroON = true;
        RecordingHost host;
        host.found = 2;
        SignMenu menu(g, host);
        menu.setSelect(QString::fromLatin1(c.sign));
        EXPECT_EQ(menu.confirm(false), SignConfirmOutcome::PictureAlone);
        EXPECT_TRUE(g.SegnaleON);
        EXPECT_FALSE(g.QuizON || g.FotoON || g.VideoON || g.LibroON);
        const std::string alone = "alone " + std::string(c.sign) + " " + std::to_string(c.shown);
        EXPECT_NE(std::find(host.log.begin(), host.log.end(), alone), host.log.end()) << c.sign;
        const auto prefix = std::find_if(host.log.begin(), host.log.end(),
                                         [](const std::string& s) { return s.rfind("prefix", 0) == 0; });
        if (c.prefix) {
            ASSERT_NE(prefix, host.log.end()) << c.sign;
            EXPECT_EQ(*prefix, "prefix " + std::string(c.prefix));
            EXPECT_EQ(g.LockLoop, c.lock) << c.sign;
        } else {
            EXPECT_EQ(prefix, host.log.end());
        }
        EXPECT_EQ(host.log.back(), "close menu");
    }
}

TEST(SignMenuSelection, EmptyCellsAndTabs)
{
    Globals g;
    RecordingHost host;
    SignMenu menu(g, host);
    menu.selectHotspot(99);
    EXPECT_FALSE(menu.selectHotspot(559));
    EXPECT_EQ(menu.current(), 99);
    EXPECT_EQ(menu.select(), QStringLiteral("93"));

    EXPECT_FALSE(menu.findAndSelect(QStringLiteral("998")));
    EXPECT_EQ(menu.current(), kSignFallbackHotspot);
    EXPECT_EQ(menu.select(), QStringLiteral("1"));

    // VIGILE: the first press selects the heading, the second confirms 383.
    EXPECT_FALSE(menu.tabPressed(9));
    EXPECT_EQ(menu.current(), 309);
    EXPECT_EQ(menu.select(), QStringLiteral("383"));
    EXPECT_TRUE(menu.tabPressed(9));
    EXPECT_EQ(menu.select(), QStringLiteral("383"));
    // The CQC heading of the temporary signs sits elsewhere.
    menu.setLayout(SignLayout::Cqc);
    menu.tabPressed(5);
    EXPECT_EQ(menu.current(), 243);
}

QList<FieldDef> contentFields()
{
    return {FieldDef::integer(QStringLiteral("NumRec")), FieldDef::text(QStringLiteral("Nome segnale"), 5),
            FieldDef::memo(QStringLiteral("Domanda"))};
}

TEST(SignMenuQuestionFlags, OrOverRecordsAndSkipsBadNames)
{
    DataTable t;
    ASSERT_TRUE(t.createFromFields(contentFields()));
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"12", "Q1"}, {"12", ""},      // a later record without a statement keeps the mark
        {"13", "  "},                  // blanks are no statement
        {"f14", "Q2"},                 // named signs are not numbers of the grid
        {"x7", "Q3"}, {"-5", "Q4"},    // not a sign number: skipped, the walk goes on
        {"1000", "Q5"}, {"0", "Q6"},   // out of the table
        {"999", "Q7"}, {" 20", "Q8"},
    };
    int n = 0;
    for (const auto& [name, domanda] : rows) {
        ASSERT_TRUE(t.append());
        t.setField(QStringLiteral("NumRec"), ++n);
        t.setField(QStringLiteral("Nome segnale"), QString::fromLatin1(name));
        t.setField(QStringLiteral("Domanda"), QString::fromLatin1(domanda));
        ASSERT_TRUE(t.post());
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("AAB2016.XML"));
    ASSERT_TRUE(t.saveToFile(file, SaveFormat::Utf8));
    // The table on show keeps its cursor: the file is read apart.
    t.first();
    const QuestionFlags cd = readQuestionFlags(file, int(TModoQuiz::mqCD));
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_FALSE(cd.failed);
    EXPECT_TRUE(cd.has(12));
    EXPECT_FALSE(cd.has(13));
    EXPECT_FALSE(cd.has(14));
    EXPECT_TRUE(cd.has(999));
    EXPECT_TRUE(cd.has(20));
    EXPECT_FALSE(cd.has(0) || cd.has(1000) || cd.has(-5));
    EXPECT_FALSE(cd.has(696));
    EXPECT_EQ(cd.flags.count(), 3u);
    EXPECT_EQ(cd.badNames, 1);
    EXPECT_TRUE(questionFlagsMessage(cd).startsWith(QStringLiteral("Errore su MenuImg.IdentifyDaQuiz()\r\n")));
    EXPECT_TRUE(questionFlagsMessage(cd).contains(QStringLiteral("x7")));

    const QuestionFlags ab = readQuestionFlags(file, int(TModoQuiz::mqAB));
    for (int s = 695; s <= 698; ++s)
        EXPECT_TRUE(ab.has(s)) << s;
    EXPECT_FALSE(ab.has(694) || ab.has(699));
    EXPECT_EQ(ab.flags.count(), 7u);
}

TEST(SignMenuQuestionFlags, RowsAreReadAsXmlReadsThem)
{
    // Field names mapped through "fieldname", single quotes, line breaks
    // between attributes, entities in values, a '>' inside a value.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hand.xml"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?>\n<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
            "<FIELD attrname=\"Nome_segnale\" fieldname=\"Nome segnale\" fieldtype=\"string\" WIDTH=\"5\"/>"
            "<FIELD attrname=\"Domanda\" fieldtype=\"string\" WIDTH=\"7\"/>"
            "</FIELDS></METADATA><ROWDATA>\n"
            "<ROW Nome_segnale=\"&#49;2\" Domanda='d&gt;1'/>\n"
            "<ROW\n  Domanda=\"&#32;\"\n  Nome_segnale='30'/>\n"
            "<ROW Domanda=\"x\" Nome_segnale=\"31\"></ROW>\n"
            "<ROW Nome_segnale=\"32\" Domanda=\"a > b\"/>\n"
            "</ROWDATA></DATAPACKET>");
    f.close();
    const QuestionFlags flags = readQuestionFlags(path, int(TModoQuiz::mqCD));
    EXPECT_FALSE(flags.failed);
    EXPECT_TRUE(flags.has(12));
    EXPECT_FALSE(flags.has(30));
    EXPECT_TRUE(flags.has(31));
    EXPECT_TRUE(flags.has(32));
    EXPECT_EQ(flags.flags.count(), 3u);
    EXPECT_EQ(flags.badNames, 0);
}

TEST(SignMenuQuestionFlags, FilesThatCannotBeReadSaySo)
{
    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("junk.xml"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<DATAPACKET><METADATA><FIELDS>");
    f.close();
    const QString noField = dir.filePath(QStringLiteral("nofield.xml"));
    QFile g(noField);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>");
    g.close();
    for (const QString& path : {junk, noField, dir.filePath(QStringLiteral("missing.xml"))}) {
        QString error;
        const QuestionFlags flags = readQuestionFlags(path, int(TModoQuiz::mqAB), &error);
        EXPECT_TRUE(flags.failed) << path.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(flags.has(696));
    }
}

TEST(SignMenuStart, SettingPicksTheStartText)
{
    EXPECT_EQ(signStartText(menuStartFor(1), QStringLiteral("55"), QStringLiteral("7")), QStringLiteral("1"));
    EXPECT_EQ(signStartText(menuStartFor(2), QStringLiteral("55"), QStringLiteral("7")), QStringLiteral("55"));
    EXPECT_EQ(signStartText(menuStartFor(3), QStringLiteral("55"), QStringLiteral("7")), QStringLiteral("7"));
    EXPECT_EQ(menuStartFor(9), MenuStart::First);
}

}  // namespace
}  // namespace ziro

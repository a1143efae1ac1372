#include "crossroads/cross_fixture.h"

#include "platform/dataset/table_schema.h"

#include <gtest/gtest.h>

namespace ziro::test {
namespace {

using namespace ziro::cross;

TEST(CrossNumbers, WhichSignsAreCrossroads)
{
    const std::pair<const char*, bool> cases[] = {
        {"598", false}, {"599", true}, {"620", true}, {"621", false}, {"630", false}, {"631", true},
        {"669", true},  {"670", false}, {"679", true}, {"686", true}, {"687", false}, {"6190", false},
        {"63a", false}, {"", false}};
    for (const auto& [sign, expected] : cases)
        EXPECT_EQ(isCrossroads(QString::fromLatin1(sign)), expected) << sign;
}

TEST(CrossNumbers, RenumberingVariantsAndFilmNames)
{
    EXPECT_EQ(renumbered("649"), "600");
    EXPECT_EQ(renumbered("659"), "657");
    EXPECT_EQ(renumbered("631"), "631");
    EXPECT_EQ(emergencySwitched("619"), "6190");
    EXPECT_EQ(emergencySwitched("6190"), "619");
    EXPECT_EQ(emergencySwitched("645"), "6450");
    EXPECT_EQ(emergencySwitched("6450"), "645");
    EXPECT_FALSE(emergencySwitched("631"));
    EXPECT_EQ(emergencyState("619"), 1);
    EXPECT_EQ(emergencyState("6450"), 2);
    EXPECT_EQ(emergencyState("641"), 0);
    EXPECT_EQ(filmBaseName("6190"), "Crs619");
    EXPECT_EQ(filmBaseName("600"), "Crs600");
}

TEST(CrossFrames, ClampedToTheAnimation)
{
    EXPECT_EQ(clampFrame(-3, 100), 0);
    EXPECT_EQ(clampFrame(100, 100), 99);
    EXPECT_EQ(clampFrame(42, 100), 42);
    EXPECT_EQ(clampFrame(5, 0), 0);
    // Vehicle k's still frame is L - n + k - 1.
    EXPECT_EQ(stillFrame(1, 3, 200), 197);
    EXPECT_EQ(stillFrame(3, 3, 200), 199);
    // Bad data never points past the end.
    EXPECT_EQ(stillFrame(5, 3, 200), 199);
    EXPECT_EQ(stillFrame(1, 3, 2), 0);
}

TEST(CrossTableFile, ReadsARecordWithItsAreasOrdersAndBoundaries)
{
    CrossRow row = row631();
    row << std::pair<QString, QString>{"SErr109", "CAB"} << std::pair<QString, QString>{"FErr109", "300"}
        << std::pair<QString, QString>{"SErr110", "CBA  340"} << std::pair<QString, QString>{"SErr111", "BCA  380"}
        << std::pair<QString, QString>{"SErr112", "ABX  3x0"} << std::pair<QString, QString>{"SErr120", "BBB  900"};
    CrossInstall install({row});
    QString why;
    const std::optional<CrossRecord> r = CrossTable(install.tablePath()).find(631, &why);
    ASSERT_TRUE(r) << qPrintable(why);
    EXPECT_EQ(r->sequence, "ABC");
    EXPECT_EQ(r->vehicles(), 3);
    EXPECT_EQ(r->colour(2), QChar('v'));
    EXPECT_EQ(r->hotSpot(1), QRect(10, 20, 50, 40));
    EXPECT_EQ(r->hotSpot(3), QRect(200, 20, 50, 40));
    // Area 4 is in the table, but the crossroads has three vehicles.
    EXPECT_TRUE(r->hotSpot(4).isEmpty());
    EXPECT_TRUE(r->hotSpot(5).isEmpty());
    // Padded orders of the long fields match without their blanks.
    EXPECT_EQ(r->orders[110], "CBA");
    EXPECT_EQ(wrongOrderSegment(*r, 1), (Segment{60, 100}));
    EXPECT_EQ(wrongOrderSegment(*r, 109), (Segment{300, 340}));
    EXPECT_EQ(wrongOrderSegment(*r, 110), (Segment{340, 380}));
    // A frame that is not a number is a missing boundary, and SErr120 has
    // no following one.
    EXPECT_FALSE(wrongOrderSegment(*r, 111));
    EXPECT_FALSE(wrongOrderSegment(*r, 120));
}

TEST(CrossTableFile, RefusesOtherFormsMissingFieldsAndUnknownNumbers)
{
    CrossInstall install({row631()});
    QString why;
    EXPECT_FALSE(CrossTable(install.tablePath()).find(632, &why));
    EXPECT_TRUE(why.contains("632"));

    QFile compact(install.tablePath());
    ASSERT_TRUE(compact.open(QIODevice::WriteOnly));
    compact.write(QByteArray("\x96\x19\xE0\xBD\x01\x00\x00\x00", 8) + QByteArray(200, '\0'));
    compact.close();
    EXPECT_FALSE(CrossTable(install.tablePath()).find(631, &why));
    EXPECT_TRUE(why.contains("compact"));

    DataTable t;
    QList<FieldDef> fields = tableFields();
    fields.removeAt(5);  // Xb1
    ASSERT_TRUE(t.createFromFields(fields));
    ASSERT_TRUE(t.saveToFile(install.tablePath(), SaveFormat::Utf8));
    EXPECT_FALSE(CrossTable(install.tablePath()).find(631, &why));
    EXPECT_TRUE(why.contains("Xb1"));
}

TEST(CrossTableFile, AreasAreWrittenBackKeepingTheRest)
{
    CrossInstall install({row631(), {{"Incrocio", "632"}, {"Sequenza", "AB"}}});
    const CrossTable table(install.tablePath());
    std::array<QRect, kVehicles> areas{QRect(1, 2, 3, 4), QRect(5, 6, 7, 8)};
    QString error;
    ASSERT_TRUE(table.saveAreas(632, areas, &error)) << qPrintable(error);
    EXPECT_EQ(table.find(632, nullptr)->areas[1], QRect(5, 6, 7, 8));
    const std::optional<CrossRecord> other = table.find(631, nullptr);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->areas[0], QRect(10, 20, 50, 40));
    EXPECT_EQ(other->orders[2], "ACB");
    EXPECT_FALSE(table.saveAreas(699, areas, &error));
}

TEST(CrossTableFile, HasTheFieldsInFileOrder)
{
    const QList<FieldDef> f = tableFields();
    ASSERT_EQ(f.size(), 256);
    EXPECT_EQ(f[0].name, "Rec");
    EXPECT_EQ(f[2].name, "Sequenza");
    EXPECT_EQ(f[22].name, "Yb5");
    EXPECT_EQ(f[26].name, "Colori");
    EXPECT_EQ(f[27].name, "SErr1");
    EXPECT_EQ(f[244].name, "FErr109");
    EXPECT_EQ(f[245].name, "SErr110");
    EXPECT_EQ(f[245].width, 10);
}

TEST(CrossDemonstration, OrderCoversEveryVehicle)
{
    CrossRecord r;
    r.sequence = "ABC";
    r.number = 631;
    EXPECT_EQ(r.demonstrationOrder()[2], 3);
    r.number = 6190;
    EXPECT_EQ(r.demonstrationOrder()[0], 3);
    EXPECT_EQ(r.demonstrationOrder()[1], 1);
    r.number = 6450;
    r.sequence = "ABCDE";
    const auto order = r.demonstrationOrder();
    EXPECT_EQ((std::vector<int>(order.begin(), order.end())), (std::vector<int>{3, 1, 2, 4, 5}));
    r.number = 6190;
    EXPECT_EQ(r.demonstrationOrder()[3], 4);
}

}  // namespace
}  // namespace ziro::test

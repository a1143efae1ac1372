#include "diag/book_position.h"
#include "platform/dataset/data_table.h"

#include <gtest/gtest.h>

using namespace ziro;

TEST(BookPosition, CaptionAndStore)
{
    EXPECT_EQ(bookPositionCaption(QStringLiteral("012"), 230).toStdString(), "Pag. 012 - Pos. 1,245");

    DataTable t;
    ASSERT_TRUE(t.createFromFields({FieldDef::integer(QStringLiteral("NumRec")),
                                    FieldDef::text(QStringLiteral("Libro"), 5),
                                    FieldDef::integer(QStringLiteral("FreX")),
                                    FieldDef::integer(QStringLiteral("FreY"))}));
    // No current record: nothing is written and the caller hears about it.
    QString error;
    EXPECT_FALSE(storeBookPosition(t, QStringLiteral("012"), 230, &error));
    EXPECT_FALSE(error.isEmpty());

    ASSERT_TRUE(t.append() && t.setField(QStringLiteral("NumRec"), 1) && t.post());
    ASSERT_TRUE(storeBookPosition(t, QStringLiteral("012"), 230));
    EXPECT_EQ(t.fieldText(QStringLiteral("Libro")).toStdString(), "012");
    EXPECT_EQ(t.fieldInt(QStringLiteral("FreX")), 1);
    EXPECT_EQ(t.fieldInt(QStringLiteral("FreY")), 245);

    // A page name longer than the field holds is refused whole.
    EXPECT_FALSE(storeBookPosition(t, QStringLiteral("0123456"), 10));
    EXPECT_EQ(t.fieldText(QStringLiteral("Libro")).toStdString(), "012");
    EXPECT_EQ(t.fieldInt(QStringLiteral("FreY")), 245);
}

#include "base/version.h"

#include <gtest/gtest.h>

using namespace ziro;

TEST(Version, Text)
{
    EXPECT_EQ(formatVersion(1, 2, 3, 4), QStringLiteral("1.23.4"));
    EXPECT_EQ(formatVersion(4, 1, 0, 0), QStringLiteral("4.10.0"));
    EXPECT_EQ(formatVersion(5, 2, 3, 11), QStringLiteral("5.23.11"));
    EXPECT_EQ(VersioneProgramma(), formatVersion(ZIRO_VERSION_MAJOR, ZIRO_VERSION_MINOR,
                                                 ZIRO_VERSION_PATCH, ZIRO_VERSION_TWEAK));
}

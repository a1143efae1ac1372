#include "platform/system/desktop_policy.h"

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(OpenableDocumentUrl, OnlyWebAndMailLinks)
{
    struct Case {
        QString target;
        bool accepted;
    };
    const Case cases[] = {
        {QStringLiteral("http://www.example.it/corsi"), true},
        {QStringLiteral("HTTPS://example.it"), true},
        {QStringLiteral("mailto:info@example.it"), true},
        {QStringLiteral("http://"), false},
        {QStringLiteral("mailto:"), false},
        {QStringLiteral("file:///etc/passwd"), false},
        {QStringLiteral("/usr/bin/xterm"), false},
        {QStringLiteral("www.example.it"), false},
        {QStringLiteral("javascript:alert(1)"), false},
        {QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(openableDocumentUrl(c.target).has_value(), c.accepted) << qPrintable(c.target);
}

}  // namespace
}  // namespace ziro

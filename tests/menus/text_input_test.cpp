#include "menus/text_input.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace ziro;

TEST(NameInput, KeyFilter)
{
    struct Case {
        char16_t key;
        int length;
        bool accepted;
    } cases[] = {
        {u'a', 0, true},   {u'Z', 5, true},   {u'7', 5, true},   {u'{', 0, true},
        {u'|', 0, true},   {u'}', 0, true},   {u' ', 0, true},   {u'-', 0, true},
        {u'_', 0, true},   {u'.', 0, false},  {u'/', 0, false},  {u'\\', 0, false},
        {u':', 0, false},  {u'\t', 0, false}, {u'\u00e8', 0, false},  // è
        {u'\u00c0', 0, false},                                         // À
        {u'x', 22, true},  // the 23rd character still goes in
        {u'x', 23, false}, // the 24th does not
        {u'\b', 40, true}, {u'\r', 40, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(acceptNameKey(QChar(c.key), c.length), c.accepted)
            << "key " << int(c.key) << " at length " << c.length;
}

TEST(NameInput, ConfirmNormalisesOrRefusesTheWholeField)
{
    struct Case {
        QString field;
        NameVerdict verdict;
        QString name;
    } cases[] = {
        {QStringLiteral("  mario rossi "), NameVerdict::Accepted, QStringLiteral("Mario rossi")},
        {QStringLiteral("LEZIONE Uno"), NameVerdict::Accepted, QStringLiteral("Lezione uno")},
        {QStringLiteral("12 prova"), NameVerdict::Accepted, QStringLiteral("12 prova")},
        {QStringLiteral("_corso-B {x|y}"), NameVerdict::Accepted, QStringLiteral("_corso-b {x|y}")},
        // 23 characters come back as the first 22.
        {QStringLiteral("abcdefghijklmnopqrstuvw"), NameVerdict::Accepted,
         QStringLiteral("Abcdefghijklmnopqrstuv")},
        // The cut comes before the trim: a blank at position 22 goes.
        {QStringLiteral("abcdefghijklmnopqrstu z"), NameVerdict::Accepted,
         QStringLiteral("Abcdefghijklmnopqrstu")},
        {QString(), NameVerdict::Empty, QString()},
        {QStringLiteral("    "), NameVerdict::Empty, QString()},
        // Pasted text that typing could not have produced.
        {QStringLiteral("../x"), NameVerdict::Refused, QString()},
        {QStringLiteral(".."), NameVerdict::Refused, QString()},
        {QStringLiteral("a/b"), NameVerdict::Refused, QString()},
        {QStringLiteral("a\\b"), NameVerdict::Refused, QString()},
        {QStringLiteral("C:x"), NameVerdict::Refused, QString()},
        {QStringLiteral("riga\nnuova"), NameVerdict::Refused, QString()},
        {QStringLiteral("\tmario"), NameVerdict::Refused, QString()},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), NameVerdict::Refused, QString()},
        {QStringLiteral("perché"), NameVerdict::Refused, QString()},
        // Beyond the kept 22 characters still counts.
        {QStringLiteral("abcdefghijklmnopqrstuvwxyz/.."), NameVerdict::Refused, QString()},
    };
    for (const auto& c : cases) {
        const NameCheck check = confirmName(c.field);
        EXPECT_EQ(check.verdict, c.verdict) << c.field.toStdString();
        EXPECT_EQ(check.name, c.name) << c.field.toStdString();
    }
}

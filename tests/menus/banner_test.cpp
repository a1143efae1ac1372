#include "menus/banner.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace ziro;

namespace {

std::array<QString, 10> titles()
{
    std::array<QString, 10> t;
    for (int i = 0; i < 10; ++i)
        t[static_cast<size_t>(i)] = QStringLiteral("Titolo %1").arg(QChar(u'A' + i));
    return t;
}

TopicMenuGroup group(QChar letter, const QString& caption, QVector<TopicMenuItem> topics)
{
    topics.prepend({QStringLiteral("Intero argomento"), QString(letter)});
    return {letter, caption, topics};
}

// Chapter B with seven topics, B01..B07, B04 spread over three menu items.
TopicMenu menuB()
{
    return {group(u'A', QStringLiteral("I veicoli"), {{QStringLiteral("Primo"), "A01"}}),
            group(u'B', QStringLiteral("La strada"),
                  {{QStringLiteral(" strade urbane "), "B01"},
                   {QStringLiteral("Carreggiata"), "B02"},
                   {QStringLiteral("Corsie"), "B03"},
                   {QStringLiteral("Incroci,"), "B04"},
                   {QStringLiteral("rotatorie"), "B04"},
                   {QStringLiteral("e svincoli "), "B04"},
                   {QStringLiteral("Banchina"), "B05"},
                   {QStringLiteral("Marciapiede"), "B06"},
                   {QStringLiteral("Passi carrabili"), "B07"}})};
}

}  // namespace

TEST(Banner, MenuLinesJoinAtMostThreeItemsWithTheSameHint)
{
    const QVector<TopicMenuItem> items = {{"Intero argomento", "C"}, {" uno ", "C01"},
                                          {"due", "C01"},            {"tre", "C01"},
                                          {"quattro", "C01"},        {"cinque", ""},
                                          {"sei", ""}};
    EXPECT_EQ(bannerLines(items),
              QStringList({"Intero argomento", "uno due tre", "quattro", "cinque", "sei"}));
}

TEST(Banner, TextForTopic)
{
    const TopicMenu menu = menuB();
    const auto t = titles();
    struct Case {
        QString code;
        TModoQuiz edition;
        QString text;
    } cases[] = {
        {QString(), TModoQuiz::mqAB, QString()},
        {QStringLiteral("B"), TModoQuiz::mqAB, QStringLiteral("La strada")},
        {QStringLiteral("B00"), TModoQuiz::mqAB, QStringLiteral("Intero argomento")},
        {QStringLiteral("B01"), TModoQuiz::mqAB, QStringLiteral("Strade urbane")},
        {QStringLiteral("B03"), TModoQuiz::mqAB, QStringLiteral("Corsie")},
        // Past 3 the line is one further on.
        {QStringLiteral("B05"), TModoQuiz::mqAB, QStringLiteral("Marciapiede")},
        {QStringLiteral("B04"), TModoQuiz::mqAB, QStringLiteral("Banchina")},
        // CQC takes the number as it is.
        {QStringLiteral("B04"), TModoQuiz::mqCQ, QStringLiteral("Incroci, rotatorie e svincoli")},
        // Past the last line: the last line.
        {QStringLiteral("B99"), TModoQuiz::mqAB, QStringLiteral("Passi carrabili")},
        // A chapter missing from the menu keeps its title.
        {QStringLiteral("C02"), TModoQuiz::mqAB, QStringLiteral("Titolo C")},
        // Outside the groups: nothing.
        {QStringLiteral("Z01"), TModoQuiz::mqAB, QString()},
        {QStringLiteral("b01"), TModoQuiz::mqAB, QString()},
        // AM names some chapters instead of the menu line.
        {QStringLiteral("A01"), TModoQuiz::mqAM, QStringLiteral("Classificazione dei veicoli")},
        {QStringLiteral("F03"), TModoQuiz::mqAM, QStringLiteral("Documenti")},
        {QStringLiteral("I01"), TModoQuiz::mqAM, QStringLiteral("Casco protettivo")},
        {QStringLiteral("I02"), TModoQuiz::mqAM, QStringLiteral("Inquinamento dell'ambiente")},
        {QStringLiteral("I03"), TModoQuiz::mqAM, QStringLiteral("Sicurezza e inquinamento")},
        {QStringLiteral("J05"), TModoQuiz::mqAM, QStringLiteral("Consigli vari")},
        {QStringLiteral("B01"), TModoQuiz::mqAM, QStringLiteral("Strade urbane")},
        // Chapter H of A-B and AM always shows its title.
        {QStringLiteral("H01"), TModoQuiz::mqAB, QStringLiteral("Titolo H")},
    };
    for (const auto& c : cases) {
        const auto content = bannerContent(c.code, c.edition, menu, t);
        ASSERT_TRUE(content) << c.code.toStdString();
        EXPECT_EQ(content->text, c.text) << c.code.toStdString();
    }
}

TEST(Banner, CutsLongTextsAndGoodsSuffix)
{
    EXPECT_EQ(cutBannerText(QStringLiteral("veicoli")), QStringLiteral("Veicoli"));
    EXPECT_EQ(cutBannerText(QStringLiteral("\u00e8 breve")), QStringLiteral("\u00e8 breve"));
    const QString ninety(90, u'x');
    EXPECT_EQ(cutBannerText(ninety), QStringLiteral("X") + QString(89, u'x'));
    EXPECT_EQ(cutBannerText(ninety + u'y'), QStringLiteral("X") + QString(89, u'x') + " ...");

    const TopicMenu menu = {group(u'G', QStringLiteral("Veicoli"),
                                  {{QStringLiteral("trasporto - merci pericolose"), "G01"}})};
    auto content = bannerContent(QStringLiteral("G01"), TModoQuiz::mqCD, menu, titles());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->text, QStringLiteral("Trasporto "));
    content = bannerContent(QStringLiteral("G01"), TModoQuiz::mqAB, menu, titles());
    ASSERT_TRUE(content);
    EXPECT_EQ(content->text, QStringLiteral("Trasporto - merci pericolose"));
}

TEST(Banner, TopicNumberThatIsNoNumberIsAnError)
{
    EXPECT_FALSE(bannerContent(QStringLiteral("Bx1"), TModoQuiz::mqAB, menuB(), titles()));
    EXPECT_FALSE(bannerContent(QStringLiteral("B-1"), TModoQuiz::mqAB, menuB(), titles()));
}

TEST(Banner, ColourByGroupAndEdition)
{
    struct Case {
        QString code;
        TModoQuiz edition;
        std::optional<QColor> colour;
    } cases[] = {
        {QStringLiteral("A01"), TModoQuiz::mqCD, QColor(108, 172, 89)},
        {QStringLiteral("C01"), TModoQuiz::mqCD, QColor(52, 139, 54)},
        {QStringLiteral("C01"), TModoQuiz::mqAB, QColor(54, 82, 156)},
        {QStringLiteral("C01"), TModoQuiz::mqCQ, QColor(108, 172, 89)},
        {QStringLiteral("E01"), TModoQuiz::mqAM, QColor(52, 139, 54)},
        {QStringLiteral("G01"), TModoQuiz::mqCQ, QColor(205, 139, 67)},
        {QStringLiteral("H01"), TModoQuiz::mqCD, QColor(107, 47, 108)},
        {QStringLiteral("H01"), TModoQuiz::mqAB, QColor(64, 128, 128)},
        {QStringLiteral("I01"), TModoQuiz::mqAB, QColor(205, 139, 67)},
        {QStringLiteral("J01"), TModoQuiz::mqCD, QColor(138, 138, 138)},
        // CQC's chapter L is coloured as group 9.
        {QStringLiteral("L01"), TModoQuiz::mqCQ, QColor(62, 135, 189)},
        // K is a group but has no colour; the colour stays.
        {QStringLiteral("K01"), TModoQuiz::mqAB, std::nullopt},
        {QString(), TModoQuiz::mqAB, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto content = bannerContent(c.code, c.edition, {}, titles());
        ASSERT_TRUE(content) << c.code.toStdString();
        EXPECT_EQ(content->colour, c.colour) << c.code.toStdString();
    }
}

TEST(Banner, ShowsOnlyWhenAllowed)
{
    BannerState ok;
    ok.recuperoOut = true;
    EXPECT_TRUE(bannerMayShow(true, ok));
    EXPECT_FALSE(bannerMayShow(false, ok));
    for (bool BannerState::*flag : {&BannerState::subArgStart, &BannerState::bannerVisible,
                                    &BannerState::generalMenuVisible, &BannerState::custom}) {
        BannerState s = ok;
        s.*flag = true;
        EXPECT_FALSE(bannerMayShow(true, s));
    }
    BannerState off = ok;
    off.recuperoOut = false;
    EXPECT_FALSE(bannerMayShow(true, off));
}

TEST(Banner, Geometry)
{
    EXPECT_EQ(bannerTopLeft(QRect(100, 50, 640, 480), QSize(577, 88)), QPoint(100 + 31 - 1, 250));
    // A banner wider than the window: the half rounds toward zero.
    EXPECT_EQ(bannerTopLeft(QRect(0, 0, 576, 480), QSize(577, 88)), QPoint(-1, 200));
    EXPECT_EQ(bannerShapeHeight(40), 52);  // 40 + 8 * 1.54 = 52.32
    EXPECT_EQ(bannerLabelRect(577, 60), QRect(5, 8, 567, 60));
}

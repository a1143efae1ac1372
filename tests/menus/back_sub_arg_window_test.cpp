#include "menus/back_sub_arg_window.h"
#include "support/qt_printers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

TopicMenuGroup group(QChar letter, const QString& caption, QVector<TopicMenuItem> topics)
{
    topics.prepend({QStringLiteral("Intero argomento"), QString(letter)});
    return {letter, caption, topics};
}

class BannerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 10; ++i)
            titoli[static_cast<size_t>(i)] = QStringLiteral("Titolo %1").arg(QChar(u'A' + i));
        menu = {group(u'A', QStringLiteral("I veicoli"), {{QStringLiteral("Primo"), "A01"}}),
                group(u'B', QStringLiteral("La strada"),
                      {{QStringLiteral("Strade urbane"), "B01"},
                       {QStringLiteral("Carreggiata"), "B02"},
                       {QStringLiteral("Corsie"), "B03"},
                       {QStringLiteral("Incroci,"), "B04"},
                       {QStringLiteral("rotatorie"), "B04"},
                       {QStringLiteral("e svincoli"), "B04"},
                       {QStringLiteral("Banchina"), "B05"},
                       {QStringLiteral("marciapiede"), "B06"}})};
        main.resize(640, 480);
        main.show();
        banner = std::make_unique<TBackSubArg>(&main);
    }

    BannerState allowed() const
    {
        BannerState s;
        s.recuperoOut = true;
        return s;
    }
    bool scrive(bool mode, const BannerState& s, const QString& code = QStringLiteral("B05"))
    {
        return banner->scriveSubArgDeskTop(mode, s, code, TModoQuiz::mqAB, menu, titoli);
    }

    std::array<QString, 10> titoli;
    TopicMenu menu;
    QWidget main;
    std::unique_ptr<TBackSubArg> banner;
};

}  // namespace

TEST_F(BannerWindowTest, ShowsTheTopicLineInItsGroupColourCentredOverTheMainWindow)
{
    ASSERT_TRUE(scrive(true, allowed()));
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text(), QStringLiteral("Marciapiede"));  // B05 in A-B: line 6, upper-cased
    EXPECT_EQ(banner->fillColour(), QColor(133, 115, 71));
    EXPECT_EQ(banner->geometry(), QRect(30, 200, 577, 88));

    // The label sits 5 pixels in, fitted, and the strip follows its text height.
    const QLabel* label = banner->label();
    EXPECT_EQ(label->geometry().topLeft(), QPoint(5, 8));
    EXPECT_EQ(label->width(), 567);
    const QFontMetrics fm(label->font());
    EXPECT_LT(fm.horizontalAdvance(label->text()), label->width());
    EXPECT_LT(fm.height(), label->height());
    EXPECT_EQ(banner->shapeHeight(), qMin(86, bannerShapeHeight(fm.height())));

    EXPECT_TRUE(banner->timer()->isActive());
    EXPECT_EQ(banner->timer()->interval(), kBannerShowMs);

    // The strip is translucent in the group colour.
    const QImage shot = banner->grab().toImage();
    const QColor mid = shot.pixelColor(10, banner->shapeHeight() / 2);
    EXPECT_NEAR(mid.red(), 133, 12);
    EXPECT_NEAR(mid.green(), 115, 12);
}

TEST_F(BannerWindowTest, LongTextIsFittedSmallerThanAShortOne)
{
    ASSERT_TRUE(scrive(true, allowed(), QStringLiteral("A")));
    const int shortSize = banner->label()->font().pixelSize();
    banner->closeBanner();
    menu[0].caption = QString(120, QLatin1Char('x'));
    ASSERT_TRUE(scrive(true, allowed(), QStringLiteral("A")));
    EXPECT_EQ(banner->text().size(), kBannerMaxChars + 4);
    EXPECT_LT(banner->label()->font().pixelSize(), shortSize);
    const QFontMetrics fm(banner->label()->font());
    EXPECT_LT(fm.horizontalAdvance(banner->text()), banner->label()->width());

    // The smaller text stays on the strip: nothing is drawn below it.
    const QImage shot = banner->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int below = 0;
    for (int y = banner->shapeHeight() + 2; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            below += qAlpha(shot.pixel(x, y)) > 0;
    EXPECT_EQ(below, 0);
}

TEST_F(BannerWindowTest, ConditionsThatCloseInsteadOfShowing)
{
    struct Case {
        const char* what;
        bool mode;
        BannerState state;
    };
    BannerState noRecupero;
    BannerState subArg = allowed();
    subArg.subArgStart = true;
    BannerState menuUp = allowed();
    menuUp.generalMenuVisible = true;
    BannerState custom = allowed();
    custom.custom = true;
    const Case cases[] = {{"Recupero out off", true, noRecupero},
                          {"SubArg start on", true, subArg},
                          {"general menu visible", true, menuUp},
                          {"custom lesson", true, custom},
                          {"mode false", false, allowed()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        banner->showModeless();
        EXPECT_TRUE(scrive(c.mode, c.state));
        EXPECT_FALSE(banner->isVisible());
        EXPECT_FALSE(banner->timer()->isActive());
    }

    // A second request while the banner is up closes it.
    ASSERT_TRUE(scrive(true, allowed()));
    ASSERT_TRUE(banner->isVisible());
    EXPECT_TRUE(scrive(true, allowed()));
    EXPECT_FALSE(banner->isVisible());
}

TEST_F(BannerWindowTest, UnreadableTopicCodeIsAnErrorAndShowsNothing)
{
    EXPECT_FALSE(scrive(true, allowed(), QStringLiteral("Bxy")));
    EXPECT_FALSE(banner->isVisible());
    EXPECT_FALSE(TBackSubArg::errorText().isEmpty());
}

TEST_F(BannerWindowTest, TimerClosesTheBannerOnlyWhileTheMainWindowIsVisible)
{
    ASSERT_TRUE(scrive(true, allowed()));
    main.hide();
    banner->timer()->setInterval(5);
    QTest::qWait(40);
    EXPECT_TRUE(banner->timer()->isActive());  // still waiting for the main window
    main.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !banner->timer()->isActive(); }, 1000));
    EXPECT_FALSE(banner->isVisible());
}

TEST_F(BannerWindowTest, KeyReleasesGoToTheMainWindowKeyMap)
{
    std::vector<int> keys;
    QObject::connect(banner.get(), &TBackSubArg::keyReleased,
                     [&](int key, Qt::KeyboardModifiers) { keys.push_back(key); });
    ASSERT_TRUE(scrive(true, allowed()));
    QTest::keyClick(banner.get(), Qt::Key_A);
    EXPECT_EQ(keys, std::vector<int>({Qt::Key_A}));
}

#include "menus/menu_art.h"

#include <gtest/gtest.h>

#include <QList>
#include <QSet>

using namespace ziro;

namespace {

MenuButton button(int i)
{
    return static_cast<MenuButton>(i);
}

// Every picture has the button's size, the mask is strictly two-coloured
// with see-through corners, and the looks really differ.
void expectSoundArt(const ButtonArt& art, QSize size, const std::string& what)
{
    SCOPED_TRACE(what);
    for (const QImage* pic :
         {&art.up, &art.down, &art.alt, &art.mask, &art.locking, &art.locked, &art.spare})
        EXPECT_EQ(pic->size(), size);
    EXPECT_NE(art.up, art.down);
    EXPECT_NE(art.up, art.alt);
    EXPECT_NE(art.down, art.alt);
    EXPECT_NE(art.up, art.locked);

    int white = 0, black = 0;
    for (int y = 0; y < art.mask.height(); ++y)
        for (int x = 0; x < art.mask.width(); ++x) {
            const QRgb p = art.mask.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0xFFFFFF || p == 0) << x << "," << y;
            (p ? white : black)++;
        }
    EXPECT_GT(white, black);
    EXPECT_EQ(art.mask.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(art.mask.pixel(size.width() / 2, size.height() / 2) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace

TEST(MenuArt, ControlsShownTogetherStayInTheWindowAndApart)
{
    const QRect panel = groupPanelRect();
    ASSERT_TRUE(kMenuWindowRect.contains(panel));
    for (int i = 0; i < kMenuButtonCount; ++i) {
        const QRect r = menuButtonRect(button(i));
        EXPECT_TRUE(kMenuWindowRect.contains(r)) << i;
        EXPECT_FALSE(r.intersects(panel)) << i;
        for (int j = i + 1; j < kMenuButtonCount; ++j)
            EXPECT_FALSE(r.intersects(menuButtonRect(button(j)))) << i << " and " << j;
    }

    // The ten group buttons lie inside the panel, apart from each other.
    const QRect panelArea(QPoint(0, 0), panel.size());
    for (int t = 1; t <= kGroupCount; ++t) {
        EXPECT_TRUE(panelArea.contains(groupButtonRect(t))) << t;
        for (int u = t + 1; u <= kGroupCount; ++u)
            EXPECT_FALSE(groupButtonRect(t).intersects(groupButtonRect(u))) << t << " and " << u;
    }
    EXPECT_TRUE(groupButtonRect(0).isEmpty());
    EXPECT_TRUE(groupButtonRect(11).isEmpty());

    // The open group: header, list and the two icon columns share the panel's place.
    QList<QRect> open{groupHeadRect(), menuListRect()};
    for (int row = 0; row < kMenuListRows; ++row) {
        open << filmIconRect(row) << htmlIconRect(row);
        // Each icon sits on its list row.
        const int rowTop = menuListRect().top() + row * menuListRowHeight();
        EXPECT_GE(filmIconRect(row).top(), rowTop) << row;
        EXPECT_LT(filmIconRect(row).bottom(), rowTop + menuListRowHeight()) << row;
    }
    for (int i = 0; i < open.size(); ++i) {
        EXPECT_TRUE(panel.contains(open[i])) << i;
        for (int j = i + 1; j < open.size(); ++j)
            EXPECT_FALSE(open[i].intersects(open[j])) << i << " and " << j;
    }
    EXPECT_EQ(menuListRect().height(), kMenuListRows * menuListRowHeight());
    EXPECT_TRUE(filmIconRect(-1).isEmpty());
    EXPECT_TRUE(htmlIconRect(kMenuListRows).isEmpty());
}

TEST(MenuArt, MenuButtonPicturesAreSoundInEveryLook)
{
    for (int i = 0; i < kMenuButtonCount; ++i)
        expectSoundArt(menuButtonArt(button(i)), menuButtonRect(button(i)).size(),
                       "button " + std::to_string(i));

    const QSize viewSize = menuButtonRect(MenuButton::SDom).size();
    const ButtonArt questions = viewModeArt(ViewMode::QuestionsOnly);
    const ButtonArt signs = viewModeArt(ViewMode::SignsOnly);
    const ButtonArt both = viewModeArt(ViewMode::Both);
    expectSoundArt(questions, viewSize, "questions only");
    expectSoundArt(signs, viewSize, "signs only");
    expectSoundArt(both, viewSize, "both");
    EXPECT_NE(questions.up, signs.up);
    EXPECT_NE(questions.up, both.up);
    EXPECT_NE(signs.up, both.up);
    EXPECT_EQ(menuButtonArt(MenuButton::SDom).up, both.up);
}

TEST(MenuArt, GroupPicturesAreSoundForShortAndOverlongTitles)
{
    const QString overlong = QStringLiteral(
        "NORME DI COMPORTAMENTO SULLA PRECEDENZA AGLI INCROCI E NELLE ROTATORIE "
        "SUPERCALIFRAGILISTICHESPIRALIDOSO");
    const struct {
        int tag;
        QString letter, title;
    } cases[] = {
        {1, QStringLiteral("A"), QStringLiteral("SEGNALI DI PERICOLO")},
        {5, QStringLiteral("E"), QString()},
        {10, QStringLiteral("L"), overlong},
    };
    for (const auto& c : cases) {
        const std::string what = "group " + std::to_string(c.tag);
        expectSoundArt(groupButtonArt(c.tag, c.letter, c.title), groupButtonRect(c.tag).size(),
                       what);
        const QImage head = groupHeadPicture(c.tag, c.letter, c.title);
        EXPECT_EQ(head.size(), groupHeadRect().size()) << what;
    }
    EXPECT_NE(groupButtonArt(1, QStringLiteral("A"), QStringLiteral("X")).up,
              groupButtonArt(1, QStringLiteral("A"), QStringLiteral("Y")).up);
    EXPECT_TRUE(groupButtonArt(0, QStringLiteral("A"), QStringLiteral("X")).up.isNull());
    EXPECT_TRUE(groupHeadPicture(11, QStringLiteral("A"), QStringLiteral("X")).isNull());

    QSet<QRgb> colours;
    for (int t = 1; t <= kGroupCount; ++t)
        colours.insert(groupColour(t).rgb());
    EXPECT_EQ(colours.size(), kGroupCount);
}

TEST(MenuArt, BackgroundAndIconsHaveTheirSizesAndAreDrawnTheSameEveryTime)
{
    const QImage bg = menuBackground();
    EXPECT_EQ(bg.size(), kMenuWindowRect.size());
    EXPECT_EQ(bg, drawMenuBackground());

    // The pictures below are painted anew on every call, over the shared
    // background that was just shown to be drawn the same every time.
    const QSize icon(kListIconSize, kListIconSize);
    EXPECT_EQ(filmIcon().size(), icon);
    EXPECT_EQ(htmlIcon().size(), icon);
    EXPECT_NE(filmIcon(), htmlIcon());
    EXPECT_EQ(filmIcon(), filmIcon());

    const QString title = QStringLiteral("SEGNALI DI PERICOLO");
    EXPECT_EQ(groupButtonArt(3, QStringLiteral("C"), title).up,
              groupButtonArt(3, QStringLiteral("C"), title).up);
    EXPECT_EQ(groupHeadPicture(3, QStringLiteral("C"), title),
              groupHeadPicture(3, QStringLiteral("C"), title));
    EXPECT_EQ(menuButtonArt(MenuButton::OK).alt, menuButtonArt(MenuButton::OK).alt);
}

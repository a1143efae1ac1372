#include "annotate/caption_tools.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <ostream>

// Found by argument lookup in QRect's namespace; static keeps it to this file.
static void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace ziro {

namespace {

const QString k51 = QString(kSingleLineLimit, u'a');

TEST(CaptionTyping, KeyPressRules)
{
    struct Case {
        QChar key;
        qsizetype length;
        bool multiLine;
        KeyDecision expected;
    } cases[] = {
        {u'x', 50, false, KeyDecision::Accept},           // the 51st character
        {u'x', 51, false, KeyDecision::RefuseWithBeep},   // the 52nd
        {u'x', 400, false, KeyDecision::RefuseWithBeep},
        {u'\b', 51, false, KeyDecision::Accept},          // Backspace still works
        {u'\r', 51, false, KeyDecision::Accept},
        {u'x', 51, true, KeyDecision::Accept},            // no limit on several lines
        {u'x', 5000, true, KeyDecision::Accept},
        {u'*', 0, false, KeyDecision::Refuse},
        {u'#', 0, false, KeyDecision::Refuse},
        {u'*', 10, true, KeyDecision::Refuse},
        {u'#', 60, false, KeyDecision::Refuse},           // refused silently even when full
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditTextKeyPress(c.key, c.length, c.multiLine), c.expected)
            << "key " << int(c.key.unicode()) << " length " << c.length << " multi " << c.multiLine;
    }
}

TEST(CaptionTyping, PastedTextIsCleaned)
{
    struct Case {
        QString pasted;
        bool multiLine;
        QString expected;
        bool altered;
    } cases[] = {
        {QStringLiteral("Dare precedenza"), false, QStringLiteral("Dare precedenza"), false},
        {QStringLiteral("a*b#c"), false, QStringLiteral("abc"), true},
        {QStringLiteral("a*b#c"), true, QStringLiteral("abc"), true},
        {QStringLiteral("riga 1\r\nriga 2\nriga 3"), true, QStringLiteral("riga 1\r\nriga 2\nriga 3"), false},
        {QStringLiteral("riga 1\r\nriga 2\nriga 3"), false, QStringLiteral("riga 1 riga 2 riga 3"), true},
        {QStringLiteral("a\tb"), false, QStringLiteral("a\tb"), false},
        {QStringLiteral("a") + QChar(0x07) + QChar(0x1B) + QStringLiteral("b"), true, QStringLiteral("ab"), true},
        {k51, false, k51, false},
        {k51 + QStringLiteral("bc"), false, k51, true},
        {k51 + QStringLiteral("bc"), true, k51 + QStringLiteral("bc"), false},
        {QStringLiteral("**##"), false, QString(), true},
    };
    for (const auto& c : cases) {
        const CleanedText cleaned = cleanCaptionText(c.pasted, c.multiLine);
        EXPECT_EQ(cleaned.text, c.expected) << c.pasted.toStdString();
        EXPECT_EQ(cleaned.altered, c.altered) << c.pasted.toStdString();
    }
}

TEST(CaptionTyping, CutNeverSplitsASurrogatePair)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x9A\x97");  // two UTF-16 units
    const QString text = QString(kSingleLineLimit - 1, u'a') + emoji;
    const CleanedText cleaned = cleanCaptionText(text, false);
    EXPECT_EQ(cleaned.text, QString(kSingleLineLimit - 1, u'a'));
    EXPECT_TRUE(cleaned.altered);
}

TEST(CaptionSizes, ApplicaDimensione)
{
    const QRect caption(40, 30, 200, 60);
    // Single line: the font gets value + 2, never below the bar's minimum.
    EXPECT_EQ(ApplicaDimensione(false, 20, 35, caption, 490).fontSize, 22);
    EXPECT_EQ(ApplicaDimensione(false, 5, 35, caption, 490).fontSize, kSizeBarMinimum);
    EXPECT_EQ(ApplicaDimensione(false, 20, 35, caption, 490).caption, caption);

    // Multi-line: widened by 20 only when the size changes and there is room.
    const SizeChange wider = ApplicaDimensione(true, 40, 35, caption, 490);
    EXPECT_EQ(wider.fontSize, 40);
    EXPECT_EQ(wider.caption, QRect(40, 30, 220, 60));
    EXPECT_EQ(wider.handle, QRect(40, 28, 220, 64));
    EXPECT_EQ(ApplicaDimensione(true, 35, 35, caption, 490).caption.width(), 200);
    // Right edge 240: 21 inside a 261 frame widens, 20 inside a 260 frame does not.
    EXPECT_EQ(ApplicaDimensione(true, 40, 35, caption, 261).caption.width(), 220);
    EXPECT_EQ(ApplicaDimensione(true, 40, 35, caption, 260).caption.width(), 200);
}

TEST(CaptionSizes, ShadeOffsetsFollowTheFontSize)
{
    struct Case {
        int size;
        std::optional<int> offset;
    } cases[] = {
        {0, std::nullopt}, {1, 2}, {39, 2}, {40, 3}, {79, 3}, {80, 4}, {130, 4}, {131, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shadeOffsetForSize(c.size), c.offset) << "size " << c.size;
}

TEST(CaptionSizes, SingleLineHeightRoundsHalvesToEven)
{
    struct Case {
        int size;
        int height;
    } cases[] = {
        {10, 16},   // 16.5
        {30, 50},   // 49.5
        {50, 82},   // 82.5
        {70, 116},  // 115.5
        {15, 25},   // 24.75
        {20, 33},
        {0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(singleLineHeight(c.size), c.height) << "size " << c.size;
}

TEST(CaptionSizes, SizeBarMinimum)
{
    EXPECT_EQ(FontSizeMinimo(14), 15);
    EXPECT_EQ(FontSizeMinimo(-3), 15);
    EXPECT_EQ(FontSizeMinimo(15), 15);
    EXPECT_EQ(FontSizeMinimo(90), 90);
    EXPECT_EQ(CaptionToolBarState::singleLineRestartSize(14), 20);
    EXPECT_EQ(CaptionToolBarState::singleLineRestartSize(15), std::nullopt);
}

TEST(CaptionGeometry, CorrectorKeepsTheCaptionInTheFrame)
{
    const QSize frame(490, 370);
    struct Case {
        QRect caption;
        QRect expected;
    } cases[] = {
        {QRect(100, 100, 200, 50), QRect(100, 100, 200, 50)},  // well inside
        {QRect(100, 300, 200, 55), QRect(100, 290, 200, 55)},  // bottom 355 = 370 - 15
        {QRect(100, 300, 200, 54), QRect(100, 300, 200, 54)},  // bottom 354
        {QRect(100, 15, 200, 400), QRect(100, 15, 200, 400)},  // top not above 15
        {QRect(270, 100, 200, 50), QRect(260, 100, 200, 50)},  // right 470 = 490 - 20
        {QRect(20, 100, 460, 50), QRect(20, 100, 460, 50)},    // left not above 20
        {QRect(20, 100, 465, 50), QRect(20, 100, 465, 50)},
        {QRect(19, 100, 200, 50), QRect(29, 100, 200, 50)},    // left 19: moved right
        {QRect(-30, 100, 200, 50), QRect(-20, 100, 200, 50)},
        {QRect(20, 100, 200, 50), QRect(20, 100, 200, 50)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Corrector(c.caption, frame), c.expected);
}

TEST(CaptionGeometry, BackgroundBoxMargin)
{
    // 40 points give a margin of 10, but a caption higher than 40 takes 66 div 18.
    FondinoBox box = SetFondino(QRect(100, 50, 200, 66), 40, true);
    EXPECT_EQ(box.margin, 3);
    EXPECT_EQ(box.rect, QRect(97, 47, 206, 72));
    EXPECT_TRUE(box.visible);
    // A low caption keeps a quarter of the font size.
    box = SetFondino(QRect(100, 50, 200, 40), 40, false);
    EXPECT_EQ(box.margin, 10);
    EXPECT_EQ(box.rect, QRect(90, 40, 220, 60));
    EXPECT_FALSE(box.visible);
    // A margin of 35 or more stays, however tall the caption.
    EXPECT_EQ(SetFondino(QRect(0, 0, 100, 300), 140, true).margin, 35);
    EXPECT_EQ(SetFondino(QRect(0, 0, 100, 300), 136, true).margin, 300 / 18);
}

TEST(CaptionGeometry, AlignmentButtonsPlaceTheBox)
{
    struct Case {
        CaptionAlignment alignment;
        int safeWidth;
        int captionWidth;
        int left;
    } cases[] = {
        {CaptionAlignment::Left, 440, 200, 23},
        {CaptionAlignment::Centre, 440, 200, 143},
        {CaptionAlignment::Centre, 440, 201, 23 + 120},  // 119.5 → 120
        {CaptionAlignment::Centre, 440, 203, 23 + 118},  // 118.5 → 118
        {CaptionAlignment::Centre, 440, 441, 23 + 0},    // -0.5 → 0
        {CaptionAlignment::Centre, 440, 443, 23 - 2},    // -1.5 → -2
        {CaptionAlignment::Right, 440, 200, 263},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(alignmentBoxLeft(c.alignment, c.safeWidth, c.captionWidth), c.left)
            << static_cast<int>(c.alignment) << " " << c.captionWidth;
    }
}

TEST(CaptionGeometry, FitEditOverflowAndToolBarPlace)
{
    EXPECT_EQ(fitHandleBounds(QRect(24, 19, 440, 330)), QRect(22, 17, 444, 334));
    EXPECT_EQ(keepEditedCaptionInView(QRect(300, 40, 141, 50), 440), QRect(200, 40, 141, 50));
    EXPECT_EQ(keepEditedCaptionInView(QRect(300, 40, 140, 50), 440), QRect(300, 40, 140, 50));
    EXPECT_EQ(toolBarGeometry(QPoint(16, 18)), QRect(89, 393, 462, 85));
}

TEST(CaptionGeometry, ResetStyle)
{
    CaptionStyle current;
    current.fontName = QStringLiteral("Verdana");
    current.fontSize = 72;
    current.italic = true;
    current.underline = true;
    current.FondinoON = true;
    current.effect = CaptionEffect::Raised3d;
    current.fontColour = QColor(255, 0, 0);
    current.captionColour = QColor(1, 2, 3);
    current.shadeColour = QColor(4, 5, 6);
    current.alignment = CaptionAlignment::Right;
    const QRect safeArea(24, 19, 440, 330);

    struct Case {
        bool fromButton;
        bool multiLine;
        std::optional<QRect> caption;
        int fontSize;
    } cases[] = {
        {false, false, QRect(24, 19, 240, 80), 50},  // a new caption
        {false, true, QRect(24, 19, 240, 80), 50},
        {true, true, safeArea, 50},                 // the button, several lines
        {true, false, std::nullopt, 72},            // the button, one line
    };
    for (const auto& c : cases) {
        const CaptionReset reset = resetCaption(current, c.fromButton, c.multiLine, safeArea);
        EXPECT_EQ(reset.caption, c.caption) << c.fromButton << c.multiLine;
        const CaptionStyle& s = reset.style;
        EXPECT_EQ(s.fontSize, c.fontSize);
        EXPECT_EQ(s.fontName, QStringLiteral("Arial"));
        EXPECT_EQ(s.alignment, CaptionAlignment::Centre);
        EXPECT_FALSE(s.italic || s.bold || s.underline || s.strikeOut);
        EXPECT_EQ(s.effect, CaptionEffect::Normal3d);
        EXPECT_EQ(s.fontColour, QColor(0, 0, 0));
        EXPECT_FALSE(s.FondinoON);
        EXPECT_EQ(s.captionColour, QColor(0xC6, 0xCD, 0xD9));
        EXPECT_EQ(s.shadeColour, QColor(128, 128, 128));
    }
}

TEST(CaptionToolBar, KeysForwardedToTheViewer)
{
    EXPECT_FALSE(forwardKeyRelease(ToolFocus::EditText, Qt::Key_A, Qt::NoModifier));
    EXPECT_TRUE(forwardKeyRelease(ToolFocus::EditText, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(forwardKeyRelease(ToolFocus::EditText, Qt::Key_T, Qt::AltModifier));
    EXPECT_TRUE(forwardKeyRelease(ToolFocus::FontBox, Qt::Key_A, Qt::NoModifier));

    EXPECT_TRUE(forwardKeyPress(ToolFocus::Other, Qt::Key_Left));
    for (ToolFocus f : {ToolFocus::EditText, ToolFocus::FontBox, ToolFocus::ColorBox, ToolFocus::SizeBar})
        EXPECT_FALSE(forwardKeyPress(f, Qt::Key_Down));
    EXPECT_TRUE(forwardKeyPress(ToolFocus::SizeBar, Qt::Key_Escape));
    EXPECT_FALSE(forwardKeyPress(ToolFocus::Other, Qt::Key_A));
}

TEST(CaptionToolBar, FoldsAndUnfolds)
{
    CaptionToolBarState state;
    EXPECT_EQ(state.width(), 462);
    EXPECT_EQ(state.foldButtonText(), QStringLiteral("<"));
    state.st_DimCtlrClick();
    EXPECT_EQ(state.width(), 13);
    EXPECT_EQ(state.foldButtonText(), QStringLiteral(">"));
    state.st_DimCtlrClick();
    EXPECT_EQ(state.width(), 462);
}

TEST(CaptionToolBar, ArrowOneSharesItsGroupWithTheUsableArea)
{
    CaptionToolBarState state;
    state.clickSafeArea(true);
    EXPECT_EQ(state.clickArrow(1, true), CaptionToolBarState::ArrowAction::Arm);
    EXPECT_TRUE(state.BuildFreccia1());
    EXPECT_FALSE(state.safeAreaDown());

    // The usable area raises arrow 1 and leaves nothing armed behind a raised button.
    state.clickSafeArea(true);
    EXPECT_FALSE(state.arrowButtonDown(1));
    EXPECT_FALSE(state.BuildFreccia1());
    EXPECT_EQ(state.armedArrow(), 0);

    // Arrow 2 is in no group.
    state.clickArrow(2, true);
    EXPECT_TRUE(state.safeAreaDown());
    EXPECT_EQ(state.armedArrow(), 2);
}

TEST(CaptionToolBar, ArrowLifecycle)
{
    CaptionToolBarState state;
    EXPECT_EQ(state.clickArrow(1, true), CaptionToolBarState::ArrowAction::Arm);
    EXPECT_EQ(state.clickArrow(2, true), CaptionToolBarState::ArrowAction::Arm);
    EXPECT_EQ(state.armedArrow(), 1);  // arrow 1 is drawn first

    state.arrowDrawn(1);
    EXPECT_FALSE(state.BuildFreccia1());
    EXPECT_TRUE(state.arrowButtonDown(1));
    EXPECT_EQ(state.armedArrow(), 2);

    // Raising the button of a drawn arrow removes it; raising an armed one disarms it.
    EXPECT_EQ(state.clickArrow(1, false), CaptionToolBarState::ArrowAction::Clear);
    EXPECT_EQ(state.clickArrow(2, false), CaptionToolBarState::ArrowAction::Clear);
    EXPECT_EQ(state.armedArrow(), 0);

    // Opening the tool bar disarms both and ends any resize left over; the
    // buttons show the arrows present.
    state.clickArrow(2, true);
    state.ResizeBusy = true;
    state.FormShow(false, CaptionAlignment::Centre);
    EXPECT_FALSE(state.BuildFreccia2());
    EXPECT_FALSE(state.ResizeBusy);
    state.showArrows(true, false);
    EXPECT_TRUE(state.arrowButtonDown(1));
    EXPECT_FALSE(state.arrowButtonDown(2));
}

TEST(CaptionToolBar, EffectButtonsAtMostOneDown)
{
    CaptionToolBarState state;
    EXPECT_EQ(state.clickRaised(true), CaptionEffect::Resit3d);
    EXPECT_EQ(state.clickShadow(true), CaptionEffect::Shadowed3d);
    EXPECT_FALSE(state.raisedDown());
    EXPECT_TRUE(state.shadowDown());
    EXPECT_EQ(state.clickRaised(true), CaptionEffect::Resit3d);
    EXPECT_FALSE(state.shadowDown());
    EXPECT_EQ(state.clickRaised(false), CaptionEffect::Normal3d);
    EXPECT_FALSE(state.raisedDown() || state.shadowDown());

    state.showEffect(CaptionEffect::Shadowed3d);
    EXPECT_TRUE(state.shadowDown());
    EXPECT_FALSE(state.raisedDown());
    state.showEffect(CaptionEffect::Normal3d);
    EXPECT_FALSE(state.raisedDown() || state.shadowDown());
}

TEST(CaptionToolBar, JustifyAndViewMode)
{
    CaptionToolBarState state;
    EXPECT_FALSE(state.SettaViewMode(true, QStringLiteral("  ")));  // blank caption: nothing
    EXPECT_FALSE(state.ViewMode());
    EXPECT_EQ(state.viewModeGlyph(), 6);

    // Single line: position mode even for a selected caption.
    state.FormShow(true, CaptionAlignment::Right);
    EXPECT_EQ(state.alignmentButtons().firstGlyph, 0);
    EXPECT_FALSE(state.alignmentButtons().grouped);
    EXPECT_EQ(state.alignmentButtons().down, std::nullopt);

    ASSERT_TRUE(state.SettaViewMode(true, QStringLiteral("Strada")));
    EXPECT_EQ(state.viewModeGlyph(), 7);
    state.FormShow(true, CaptionAlignment::Right);
    EXPECT_EQ(state.alignmentButtons().firstGlyph, 3);
    EXPECT_TRUE(state.alignmentButtons().grouped);
    EXPECT_EQ(state.alignmentButtons().down, CaptionAlignment::Right);
    state.showAlignment(CaptionAlignment::Left);
    EXPECT_EQ(state.alignmentButtons().down, CaptionAlignment::Left);

    state.Justify(false, CaptionAlignment::Left);
    state.showAlignment(CaptionAlignment::Left);
    EXPECT_EQ(state.alignmentButtons().down, std::nullopt);

    EXPECT_EQ(alignmentAction(true, true), AlignmentAction::AlignText);
    EXPECT_EQ(alignmentAction(true, false), AlignmentAction::PlaceBox);
    EXPECT_EQ(alignmentAction(false, true), AlignmentAction::PlaceBox);
    EXPECT_EQ(viewLayout(false).alignment, CaptionAlignment::Centre);
    EXPECT_TRUE(viewLayout(false).fitFontToBox);
    EXPECT_TRUE(viewLayout(true).autoSize);
}

}  // namespace
}  // namespace ziro

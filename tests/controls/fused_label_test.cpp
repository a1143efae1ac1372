#include "controls/fused_label.h"

#include "support/qt_printers.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

// A text 10 pixels wide and 2 high per pixel of font size, that counts
// how often it is measured.
struct FakeMeasure {
    int calls = 0;
    TextMeasure fn()
    {
        return [this](int size) {
            ++calls;
            return QSize(10 * size, 2 * size);
        };
    }
};

TEST(FusedLabelFitting, TheThreeModes)
{
    FakeMeasure m;
    const QSize box(200, 50);
    // Both: width reaches 200 at 20 (height 50 only at 25): 2 below it.
    EXPECT_EQ(fitFontSize(TFitType::BestFitBoth, box, m.fn()), 18);
    // Height first when the box is wide.
    EXPECT_EQ(fitFontSize(TFitType::BestFitBoth, QSize(1000, 50), m.fn()), 23);
    EXPECT_EQ(fitFontSize(TFitType::BestFithorz, box, m.fn()), 18);
    EXPECT_EQ(fitFontSize(TFitType::BestFithorz, QSize(1000, 5), m.fn()), 98) << "the height does not count";
    // Vertical: the largest size whose line is within the box's height.
    EXPECT_EQ(fitFontSize(TFitType::BestFitVert, box, m.fn()), 25);
    EXPECT_EQ(fitFontSize(TFitType::BestFitVert, QSize(1, 51), m.fn()), 25);
    EXPECT_EQ(fitFontSize(TFitType::BestFitVert, QSize(1, 52), m.fn()), 26);
    EXPECT_FALSE(fitFontSize(TFitType::NormalFit, box, m.fn()));
}

// A screen-sized box costs a few dozen measures, not one per size.
TEST(FusedLabelFitting, ALargeBoxTakesFewMeasures)
{
    FakeMeasure m;
    EXPECT_EQ(fitFontSize(TFitType::BestFitVert, QSize(640, 960), m.fn()), 480);
    EXPECT_LT(m.calls, 30);
    m.calls = 0;
    EXPECT_EQ(fitFontSize(TFitType::BestFitBoth, QSize(6400, 960), m.fn()), 478);
    EXPECT_LT(m.calls, 30);
    m.calls = 0;
    EXPECT_EQ(fitFontSize(TFitType::BestFithorz, QSize(6390, 1), m.fn()), 637);
    EXPECT_LT(m.calls, 30);
}

TEST(FusedLabelFitting, NeverBelowOne)
{
    FakeMeasure m;
    for (const QSize box : {QSize(0, 0), QSize(5, 5), QSize(25, 100), QSize(100, 3), QSize(-4, -4)}) {
        EXPECT_EQ(fitFontSize(TFitType::BestFitBoth, box, m.fn()), 1) << box.width() << "x" << box.height();
        EXPECT_EQ(fitFontSize(TFitType::BestFitVert, QSize(box.width(), std::min(box.height(), 3)), m.fn()), 1);
    }
    EXPECT_EQ(fitFontSize(TFitType::BestFithorz, QSize(25, 100), m.fn()), 1);
}

TEST(FusedLabelFitting, ABoxNoTextFillsStopsAtTheLargestSize)
{
    const TextMeasure nothing = [](int) { return QSize(0, 0); };
    EXPECT_EQ(fitFontSize(TFitType::BestFitBoth, QSize(200, 50), nothing), kMaxFitSize - 2);
    EXPECT_EQ(fitFontSize(TFitType::BestFitVert, QSize(200, 50), nothing), kMaxFitSize);
}

// With a real font: the largest size whose text fits a
// 200 x 50 box, less 2.
TEST(FusedLabelFitting, BestFitBothOnARealFont)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    const QString text = QStringLiteral("Segnali di pericolo");
    const QSize box(200, 50);
    const std::optional<int> size = fitFontSize(TFitType::BestFitBoth, box, fontTextMeasure(font, text));
    ASSERT_TRUE(size);
    auto fits = [&](int s) {
        QFont f = font;
        f.setPixelSize(s);
        const QFontMetrics fm(f);
        return fm.horizontalAdvance(text) < box.width() && fm.height() < box.height();
    };
    EXPECT_GT(*size, 5);
    EXPECT_TRUE(fits(*size + 1));
    EXPECT_FALSE(fits(*size + 2));
}

TEST(FusedLabelFitting, MeasuresTheWidestLineAndAnEmptyTextAsASpace)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    const QFontMetrics fm(font);
    const QSize two = fontTextMeasure(font, QStringLiteral("ab\nabcdef"))(20);
    EXPECT_EQ(two.width(), fm.horizontalAdvance(QStringLiteral("abcdef")));
    EXPECT_EQ(two.height(), fm.height());
    EXPECT_EQ(fontTextMeasure(font, QString())(20).width(), fm.horizontalAdvance(QLatin1Char(' ')));
    EXPECT_EQ(fusedLabelMeasuredText(QString()), QStringLiteral(" "));
    EXPECT_EQ(fusedLabelMeasuredText(QStringLiteral("&")), QStringLiteral("&"));
}

FusedLabelFit::Request request(int fontSize, QSize box, const QString& text = QStringLiteral("Ziro"))
{
    FusedLabelFit::Request r;
    r.type = TFitType::BestFitBoth;
    r.fontSize = fontSize;
    r.face = QStringLiteral("Arial|700|0|100");
    r.box = box;
    r.text = text;
    return r;
}

TEST(FusedLabelFitting, TheFitIsKeptUntilSizeWidthOrHeightChange)
{
    FakeMeasure m;
    FusedLabelFit fit;
    const std::optional<int> first = fit.fit(request(65, {200, 50}), m.fn());
    ASSERT_EQ(first, 18);
    EXPECT_EQ(fit.searches(), 1);
    const int callsAfterFirst = m.calls;

    // The label now has the fitted size: nothing to do, nothing measured.
    EXPECT_FALSE(fit.fit(request(18, {200, 50}), m.fn()));
    EXPECT_FALSE(fit.fit(request(18, {200, 50}), m.fn()));
    EXPECT_EQ(fit.searches(), 1);
    EXPECT_EQ(m.calls, callsAfterFirst);

    // A new width, a new height, a font size set from outside: a new fit each.
    EXPECT_EQ(fit.fit(request(18, {100, 50}), m.fn()), 8);
    EXPECT_EQ(fit.searches(), 2);
    EXPECT_EQ(fit.fit(request(8, {100, 10}), m.fn()), 3);
    EXPECT_EQ(fit.searches(), 3);
    EXPECT_EQ(fit.fit(request(40, {100, 10}), m.fn()), 3);
    EXPECT_EQ(fit.searches(), 4);
    EXPECT_FALSE(fit.fit(request(3, {100, 10}), m.fn()));
    EXPECT_EQ(fit.searches(), 4);

    // Another text or face fits again too.
    EXPECT_TRUE(fit.fit(request(3, {100, 10}, QStringLiteral("Altro")), m.fn()));
    EXPECT_EQ(fit.searches(), 5);
    FusedLabelFit::Request italic = request(3, {100, 10}, QStringLiteral("Altro"));
    italic.face = QStringLiteral("Arial|700|1|100");
    EXPECT_TRUE(fit.fit(italic, m.fn()));
    EXPECT_EQ(fit.searches(), 6);

    // A new fit type (the label invalidates) searches again.
    fit.invalidate();
    EXPECT_EQ(fit.fit(italic, m.fn()), 3);
    EXPECT_EQ(fit.searches(), 7);
    FusedLabelFit::Request vertical = italic;
    vertical.type = TFitType::BestFitVert;
    EXPECT_EQ(fit.fit(vertical, m.fn()), 5);
    EXPECT_EQ(fit.searches(), 8);
}

TEST(FusedLabelFitting, NormalFitLeavesTheFontAlone)
{
    FakeMeasure m;
    FusedLabelFit fit;
    FusedLabelFit::Request r = request(65, {200, 50});
    r.type = TFitType::NormalFit;
    EXPECT_FALSE(fit.fit(r, m.fn()));
    EXPECT_EQ(fit.searches(), 0);
    EXPECT_EQ(m.calls, 0);
}

TEST(FusedLabelText, FormatStringTakesTheCaption)
{
    EXPECT_EQ(fusedLabelText(QStringLiteral("Ziro"), QString()), QStringLiteral("Ziro"));
    EXPECT_EQ(fusedLabelText(QStringLiteral("Ziro"), QStringLiteral("Versione %s")), QStringLiteral("Versione Ziro"));
    EXPECT_EQ(fusedLabelText(QStringLiteral("50"), QStringLiteral("%s%% fatto")), QStringLiteral("50% fatto"));
    EXPECT_EQ(fusedLabelText(QStringLiteral("x"), QStringLiteral("100%")), QStringLiteral("100%"));
}

TEST(FusedLabelEffects, PassesBeforeTheFace)
{
    using V = std::vector<EffectPass>;
    EXPECT_EQ(effectPasses(T3DEffect::Normal3d, 5, -5), V{});
    EXPECT_EQ(effectPasses(T3DEffect::Resit3d, 5, -5), (V{{QPoint(1, 1), true}, {QPoint(-1, -1), false}}));
    EXPECT_EQ(effectPasses(T3DEffect::Raised3d, 5, -5), (V{{QPoint(1, 1), false}, {QPoint(-1, -1), true}}));
    EXPECT_EQ(effectPasses(T3DEffect::Shadowed3d, 2, -2), (V{{QPoint(2, -2), false}}));
}

TEST(FusedLabelLinks, UrlsReadAsWebOrMailLinks)
{
    struct Case {
        const char* value;
        const char* url;
        TmdLinkType type;
        const char* target;
    };
    const Case cases[] = {
        {"www.ziro.it/", "www.ziro.it/", TmdLinkType::http, "http://www.ziro.it/"},
        {"http://www.ziro.it/corsi", "www.ziro.it/corsi", TmdLinkType::http, "http://www.ziro.it/corsi"},
        {"HTTP://www.ziro.it/", "www.ziro.it/", TmdLinkType::http, "http://www.ziro.it/"},
        {"https://www.ziro.it/corsi", "https://www.ziro.it/corsi", TmdLinkType::http, "https://www.ziro.it/corsi"},
        {"HTTPS://www.ziro.it/", "HTTPS://www.ziro.it/", TmdLinkType::http, "HTTPS://www.ziro.it/"},
        {"info@ziro.it", "info@ziro.it", TmdLinkType::mailto, "mailto:info@ziro.it"},
        {"mailto:info@ziro.it", "info@ziro.it", TmdLinkType::mailto, "mailto:info@ziro.it"},
        {"MailTo:info@ziro.it", "info@ziro.it", TmdLinkType::mailto, "mailto:info@ziro.it"},
        {"http://user@ziro.it/", "user@ziro.it/", TmdLinkType::http, "http://user@ziro.it/"},
    };
    for (const Case& c : cases) {
        const FusedLink link = readFusedLink(QString::fromUtf8(c.value), TmdLinkType::mailto);
        EXPECT_EQ(link.url, QString::fromUtf8(c.url)) << c.value;
        EXPECT_EQ(link.type, c.type) << c.value;
        EXPECT_TRUE(link.linkable) << c.value;
        EXPECT_EQ(fusedLinkTarget(link.url, link.type), QString::fromUtf8(c.target)) << c.value;
    }

    // Neither "@" nor "/": the link type stays.
    EXPECT_EQ(readFusedLink(QStringLiteral("ziro"), TmdLinkType::mailto).type, TmdLinkType::mailto);
    EXPECT_EQ(readFusedLink(QStringLiteral("ziro"), TmdLinkType::http).type, TmdLinkType::http);
    const FusedLink none = readFusedLink(QString(), TmdLinkType::http);
    EXPECT_FALSE(none.linkable);
    EXPECT_EQ(fusedLinkTarget(none.url, none.type), QString());
}

TEST(FusedLabelLinks, WhichLabelsOpenTheirLink)
{
    const FusedLink web = readFusedLink(QStringLiteral("www.ziro.it/"), TmdLinkType::http);
    const FusedLink none = readFusedLink(QString(), TmdLinkType::http);
    EXPECT_TRUE(fusedLabelOpensLink(TmdLabelType::Auto, web));
    EXPECT_TRUE(fusedLabelOpensLink(TmdLabelType::Link, web));
    EXPECT_FALSE(fusedLabelOpensLink(TmdLabelType::Passive, web));
    EXPECT_FALSE(fusedLabelOpensLink(TmdLabelType::Auto, none));
    EXPECT_FALSE(fusedLabelOpensLink(TmdLabelType::Link, none));
}

}  // namespace

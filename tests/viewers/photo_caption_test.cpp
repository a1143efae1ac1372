#include "viewers/photo_caption.h"

#include <gtest/gtest.h>

using namespace ziro;

namespace {

const QString kExample = QStringLiteral(
    "Stop!*40*20*400*60*1*Arial*clBlack*35*2*2*1*$00D9CDC6*2*clGray*100*300*250*150*clPurple*-1*-1*-1*-1*#");

// A caption with no field at its default.
PhotoCaption everyFieldSet()
{
    PhotoCaption c;
    c.text = QStringLiteral("Dare la precedenza\ra destra");
    c.left = 17;
    c.top = -3;
    c.width = 312;
    c.height = 97;
    c.multiLine = true;
    c.fontName = QStringLiteral("Liberation Serif");
    c.fontColour = QColor(0x12, 0x34, 0x56);
    c.fontSize = 33;
    c.alignment = CaptionAlignment::Right;
    c.italic = true;
    c.bold = true;
    c.background = true;
    c.captionColour = QColor(255, 255, 0);
    c.effect = CaptionEffect::Resit3d;
    c.shadowColour = QColor(1, 2, 3);
    c.arrows[0] = {QPoint(10, 20), QPoint(200, 150)};
    c.arrowColour = QColor(0, 0, 255);
    c.arrows[1] = {QPoint(300, 310), QPoint(400, 5)};
    return c;
}

}  // namespace

TEST(PhotoCaption, ReadsTheStoredLayout)
{
    const CaptionReading r = readCaption(kExample);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.fieldsApplied, 24);
    const PhotoCaption& c = r.caption;
    EXPECT_EQ(c.text, "Stop!");
    EXPECT_EQ(c.box(), QRect(40, 20, 400, 56));  // the record holds height + 4
    EXPECT_FALSE(c.multiLine);
    EXPECT_EQ(c.fontName, "Arial");
    EXPECT_EQ(c.fontColour, QColor(0, 0, 0));
    EXPECT_EQ(c.fontSize, 35);
    EXPECT_EQ(c.alignment, CaptionAlignment::Centre);
    EXPECT_TRUE(c.bold);
    EXPECT_FALSE(c.italic);
    EXPECT_FALSE(c.background);
    EXPECT_EQ(c.captionColour, QColor(0xC6, 0xCD, 0xD9));
    EXPECT_EQ(c.effect, CaptionEffect::Shadowed3d);
    EXPECT_EQ(c.shadowColour, QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(c.arrows[0].present());
    EXPECT_EQ(c.arrows[0].origin, QPoint(100, 300));
    EXPECT_EQ(c.arrows[0].tip, QPoint(250, 150));
    EXPECT_EQ(c.arrowColour, QColor(0x80, 0, 0x80));
    EXPECT_FALSE(c.arrows[1].present());
    EXPECT_EQ(writeCaption(c), kExample);
}

TEST(PhotoCaption, WritesAndReadsBackEveryField)
{
    std::vector<PhotoCaption> captions;
    captions.push_back(everyFieldSet());
    PhotoCaption noArrows = everyFieldSet();
    noArrows.arrows[0].clear();
    noArrows.arrows[1].clear();
    captions.push_back(noArrows);
    PhotoCaption onlySecond = everyFieldSet();
    onlySecond.arrows[0].clear();
    captions.push_back(onlySecond);
    for (int style = 0; style < 4; ++style) {
        for (auto align : {CaptionAlignment::Left, CaptionAlignment::Centre, CaptionAlignment::Right}) {
            PhotoCaption c = noArrows;
            c.italic = style & 1;
            c.bold = style & 2;
            c.alignment = align;
            c.multiLine = style % 2;
            c.background = style < 2;
            c.effect = style == 3 ? CaptionEffect::Normal3d : CaptionEffect::Shadowed3d;
            captions.push_back(c);
        }
    }
    PhotoCaption textOnlyArrow = everyFieldSet();
    textOnlyArrow.text = QStringLiteral(" ");  // a blank caption kept for its arrows
    captions.push_back(textOnlyArrow);

    for (const PhotoCaption& c : captions) {
        const QString record = writeCaption(c);
        ASSERT_TRUE(record.endsWith(QLatin1String("*#"))) << qPrintable(record);
        EXPECT_EQ(record.count(u'*'), 24) << qPrintable(record);
        const CaptionReading r = readCaption(record);
        EXPECT_TRUE(r.complete) << qPrintable(record);
        EXPECT_EQ(r.caption, c) << qPrintable(record);
        EXPECT_EQ(writeCaption(r.caption), record);
    }
}

TEST(PhotoCaption, ColourTextsAndTheirForms)
{
    PhotoCaption c = everyFieldSet();
    c.fontColour = QColor(0, 0, 255);  // blue: 0xFF0000 in BGR order
    c.captionColour = QColor(0xC6, 0xCD, 0xD9);
    c.shadowColour = QColor(0x12, 0x34, 0x56);
    c.arrowColour = QColor(0x80, 0, 0x80);
    const QStringList fields = writeCaption(c).split(u'*');
    EXPECT_EQ(fields[7], "clBlue");
    EXPECT_EQ(fields[12], "$00D9CDC6");
    EXPECT_EQ(fields[14], "$00563412");
    EXPECT_EQ(fields[19], "clPurple");

    // Names in any case, aliases and "$" forms are read.
    QString record = kExample;
    record.replace(QLatin1String("clBlack"), QLatin1String("CLLTGRAY"));
    record.replace(QLatin1String("clGray"), QLatin1String("$000000FF"));
    const PhotoCaption read = readCaption(record).caption;
    EXPECT_EQ(read.fontColour, QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(read.shadowColour, QColor(255, 0, 0));
}

TEST(PhotoCaption, RaisedIsWrittenAsNoEffect)
{
    PhotoCaption c = everyFieldSet();
    c.effect = CaptionEffect::Raised3d;
    EXPECT_EQ(writeCaption(c).split(u'*')[13], "0");
}

TEST(PhotoCaption, TextsNeverCarryTheSeparators)
{
    PhotoCaption c = everyFieldSet();
    c.text = QStringLiteral("a*b#c\x01\td\r\ne");
    c.fontName = QStringLiteral("Ar*ial#");
    const QString record = writeCaption(c);
    EXPECT_EQ(record.count(u'*'), 24);
    EXPECT_EQ(record.count(u'#'), 1);
    const PhotoCaption back = readCaption(record).caption;
    EXPECT_EQ(back.text, QStringLiteral("abc\td\r\ne"));
    EXPECT_EQ(back.fontName, "Arial");
}

TEST(PhotoCaption, BlankCaptionWithoutArrowsWritesNothing)
{
    PhotoCaption c = everyFieldSet();
    c.arrows[0].clear();
    c.arrows[1].clear();
    for (const char* text : {"", "   ", "\r\n", "**#"}) {
        c.text = QString::fromLatin1(text);
        EXPECT_TRUE(writeCaption(c).isEmpty()) << text;
    }
    // An arrow keeps it, with the text written as the label holds it.
    c.arrows[1] = {QPoint(5, 5), QPoint(9, 9)};
    c.text.clear();
    EXPECT_TRUE(writeCaption(c).startsWith(QLatin1String(" *")));
    EXPECT_FALSE(hasCaption(QStringLiteral(" \r\n ")));
    EXPECT_TRUE(hasCaption(kExample));
}

TEST(PhotoCaption, BadRecordsFallBackWithoutFailing)
{
    const PhotoCaption defaults;
    struct Case {
        QString record;
        int applied;
        bool complete;
    };
    const Case cases[] = {
        {QString(), 0, false},
        {QStringLiteral("#"), 0, false},
        {QStringLiteral("Solo testo"), 0, false},        // cut before the first '*'
        {QStringLiteral("Ciao*12*"), 2, false},           // cut after field 1
        {QStringLiteral("Ciao*12*x*40*"), 2, false},      // a bad number ends the reading
        {QStringLiteral("Ciao*1*2*3*4*1*Arial*clNoSuch*20*"), 7, false},  // a bad colour
        {QStringLiteral("Ciao*1*2*3*99999999999*"), 4, false},            // out of range
        {QStringLiteral("Ciao*1*2*3*-2147483647*"), 4, false},            // height would wrap
        {QStringLiteral("********"), 1, false},           // empty number
        {kExample.chopped(1), 24, true},                  // no '#': read to the end
        {kExample.chopped(2) + QStringLiteral("*7*8*9*#"), 24, true},  // extra fields ignored
        {kExample.left(kExample.size() - 5), 22, false},  // cut inside the second arrow
    };
    for (const Case& c : cases) {
        const CaptionReading r = readCaption(c.record);
        EXPECT_EQ(r.fieldsApplied, c.applied) << qPrintable(c.record);
        EXPECT_EQ(r.complete, c.complete) << qPrintable(c.record);
    }

    // What was read before a bad value stays; the rest keeps the defaults.
    const PhotoCaption partial = readCaption(QStringLiteral("Ciao*12*x*40*")).caption;
    EXPECT_EQ(partial.text, "Ciao");
    EXPECT_EQ(partial.left, 12);
    EXPECT_EQ(partial.top, defaults.top);
    EXPECT_EQ(partial.width, defaults.width);
    EXPECT_FALSE(partial.anyArrow());

    // Values a field does not know leave its default.
    const QString odd = QStringLiteral("Ciao*1*2*3*4*9*F*clRed*20*7*9*1*clRed*5*clRed*-1*-1*-1*-1*clRed*-1*-1*-1*-1*#");
    const CaptionReading oddReading = readCaption(odd);
    EXPECT_TRUE(oddReading.complete);
    EXPECT_EQ(oddReading.caption.alignment, defaults.alignment);
    EXPECT_EQ(oddReading.caption.effect, defaults.effect);
    EXPECT_EQ(oddReading.caption.bold, defaults.bold);
    EXPECT_FALSE(oddReading.caption.multiLine);

    // An empty text reads as a single space.
    EXPECT_EQ(readCaption(QStringLiteral("*1*")).caption.text, " ");

    // A very long text is kept whole.
    const QString longText(10000, u'x');
    const CaptionReading big = readCaption(longText + kExample.mid(5));
    EXPECT_TRUE(big.complete);
    EXPECT_EQ(big.caption.text, longText);
    EXPECT_EQ(writeCaption(big.caption), longText + kExample.mid(5));
}

TEST(PhotoCaption, BackgroundBoxMargin)
{
    PhotoCaption c;
    c.left = 100;
    c.top = 50;
    c.width = 200;
    c.fontSize = 50;  // margin 12
    c.height = 48;    // not taller than 4 margins
    EXPECT_EQ(captionBackgroundRect(c), QRect(88, 38, 224, 72));
    c.height = 90;    // taller, margin below 35: height / 18 = 5
    EXPECT_EQ(captionBackgroundRect(c), QRect(95, 45, 210, 100));
    c.fontSize = 140;  // margin 35 is kept
    c.height = 200;
    EXPECT_EQ(captionBackgroundRect(c), QRect(65, 15, 270, 270));
}

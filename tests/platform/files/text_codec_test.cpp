#include "platform/files/text_codec.h"

#include <gtest/gtest.h>

namespace ziro {
namespace {

TEST(Windows1252, DecodesTheRangeWhereItDiffersFromLatin1)
{
    struct Case {
        unsigned char byte;
        char16_t expected;
    };
    const Case cases[] = {
        {0x80, u'€'}, {0x82, u'‚'}, {0x83, u'ƒ'}, {0x84, u'„'}, {0x85, u'…'}, {0x86, u'†'},
        {0x87, u'‡'}, {0x88, u'ˆ'}, {0x89, u'‰'}, {0x8A, u'Š'}, {0x8B, u'‹'}, {0x8C, u'Œ'},
        {0x8E, u'Ž'}, {0x91, u'‘'}, {0x92, u'’'}, {0x93, u'“'}, {0x94, u'”'}, {0x95, u'•'},
        {0x96, u'–'}, {0x97, u'—'}, {0x98, u'˜'}, {0x99, u'™'}, {0x9A, u'š'}, {0x9B, u'›'},
        {0x9C, u'œ'}, {0x9E, u'ž'}, {0x9F, u'Ÿ'},
        // Undefined in the code page: kept as the C1 control of the same value.
        {0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D},
        {0x41, u'A'}, {0xA0, 0xA0}, {0xE0, u'à'}, {0xFF, u'ÿ'},
    };
    for (const Case& c : cases) {
        const char byte = char(c.byte);
        EXPECT_EQ(decodeWindows1252(QByteArrayView(&byte, 1)), QString(QChar(c.expected))) << int(c.byte);
    }
}

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    bool lossless = false;
    EXPECT_EQ(encodeWindows1252(decodeWindows1252(all), &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Windows1252, EncodesItalianTextAndMarksWhatItCannotHold)
{
    bool lossless = false;
    EXPECT_EQ(encodeWindows1252(QStringLiteral("Unità € “sì”"), &lossless),
              QByteArray("Unit\xE0 \x80 \x93s\xEC\x94"));
    EXPECT_TRUE(lossless);

    // One '?' per character, also for one outside the BMP (two UTF-16 units).
    EXPECT_EQ(encodeWindows1252(QStringLiteral("a\u0100b") + QString::fromUcs4(U"\U0001F600"), &lossless),
              QByteArray("a?b?"));
    EXPECT_FALSE(lossless);
}

TEST(TextDecoding, ValidUtf8IsUtf8AndAnythingElseIsWindows1252)
{
    struct Case {
        QByteArray bytes;
        bool valid;
    };
    const Case cases[] = {
        {QByteArray(), true},
        {QByteArray("plain ascii"), true},
        {QByteArray("Unit\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x98\x80"), true},
        {QByteArray("Unit\xE0"), false},               // Windows-1252 à
        {QByteArray("\xC3"), false},                   // truncated at the end
        {QByteArray("\xE2\x82"), false},
        {QByteArray("\xC0\xAF"), false},               // overlong '/'
        {QByteArray("\xE0\x80\xAF"), false},           // overlong '/'
        {QByteArray("\xED\xA0\x80"), false},           // surrogate
        {QByteArray("\xF4\x90\x80\x80"), false},       // above U+10FFFF
        {QByteArray("\x80"), false},                   // lone continuation byte
        {QByteArray("\xC3\x28"), false},               // bad continuation
        {QByteArray("\xFF"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes.toHex().constData();
        TextEncoding detected = TextEncoding::Utf8;
        decodeText(c.bytes, &detected);
        EXPECT_EQ(detected, c.valid ? TextEncoding::Utf8 : TextEncoding::Windows1252)
            << c.bytes.toHex().constData();
    }

    TextEncoding detected = TextEncoding::Utf8;
    EXPECT_EQ(decodeText("Unit\xC3\xA0", &detected), QStringLiteral("Unità"));
    EXPECT_EQ(detected, TextEncoding::Utf8);
    EXPECT_EQ(decodeText("Unit\xE0 \x80", &detected), QStringLiteral("Unità €"));
    EXPECT_EQ(detected, TextEncoding::Windows1252);
}

TEST(TextDecoding, ByteOrderMarkIsDroppedAndMeansUtf8)
{
    TextEncoding detected = TextEncoding::Windows1252;
    EXPECT_EQ(decodeText("\xEF\xBB\xBF[Path]\r\nUnit\xC3\xA0=1", &detected), QStringLiteral("[Path]\r\nUnità=1"));
    EXPECT_EQ(detected, TextEncoding::Utf8);
}

TEST(TextDecoding, EncodeWritesBackInTheEncodingThatWasRead)
{
    const QString text = QStringLiteral("Unità €");
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        TextEncoding detected{};
        EXPECT_EQ(decodeText(encodeText(text, encoding), &detected), text);
        EXPECT_EQ(detected, encoding);
    }
    EXPECT_EQ(encodeText(text, TextEncoding::Utf8), QByteArray("Unit\xC3\xA0 \xE2\x82\xAC"));
}

}  // namespace
}  // namespace ziro

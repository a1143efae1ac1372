#include "platform/files/text_codec.h"

#include <QList>

#include <array>

namespace ziro {

namespace {

// Bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for `c`, or -1 when Windows-1252 has none.
int windows1252Byte(uint c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);

}  // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2; cp = b & 0x1F; minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3; cp = b & 0x0F; minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4; cp = b & 0x07; minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray encodeWindows1252(const QString& text, bool* lossless)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool exact = true;
    // Code points, not UTF-16 units: a character outside the BMP is one '?'.
    for (const uint c : text.toUcs4()) {
        const int b = windows1252Byte(c);
        if (b < 0) {
            bytes.append('?');
            exact = false;
        } else {
            bytes.append(char(b));
        }
    }
    if (lossless)
        *lossless = exact;
    return bytes;
}

QString decodeText(QByteArrayView bytes, TextEncoding* detected)
{
    TextEncoding encoding = TextEncoding::Windows1252;
    QString text;
    if (bytes.startsWith(kUtf8Bom)) {
        encoding = TextEncoding::Utf8;
        text = QString::fromUtf8(bytes.sliced(kUtf8Bom.size()));
    } else if (isValidUtf8(bytes)) {
        encoding = TextEncoding::Utf8;
        text = QString::fromUtf8(bytes);
    } else {
        text = decodeWindows1252(bytes);
    }
    if (detected)
        *detected = encoding;
    return text;
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? text.toUtf8() : encodeWindows1252(text);
}

}  // namespace ziro

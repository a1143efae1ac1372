#pragma once

// Word-at-a-time scanning of the attribute names and values pugixml leaves in
// the reader's buffer, and the matching of names to fields. Internal to the
// datapacket reader; every function that reads past a position relies on the
// buffer's zeroed padding (kScanPadding bytes after the data).

#include "platform/dataset/datapacket_reader.h"

#include <QStringList>

#include <pugixml.hpp>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace ziro::datapacket_scan {

inline constexpr std::size_t kScanPadding = 64;

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
inline constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// Lowest set bit marks the first zero byte (little-endian).
inline std::uint64_t zeroBytes(std::uint64_t w)
{
    return (w - kOnes) & ~w & kHighs;
}

inline std::uint64_t lowBytes(unsigned count)
{
    return count == 0 ? 0 : (~std::uint64_t(0) >> (64 - 8 * count));
}

inline std::uint64_t load64(const char* p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// strlen without reading past the terminator (which library versions may do
// within an aligned block: harmless alone, not while another thread writes
// the next bytes).
inline std::size_t lengthOf(const char* s)
{
    std::size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Optional blanks, an optional sign, decimal digits, optional blanks, within
// [low, high]. `canonical` tells whether the text is already the plain
// decimal form ("12", "-3", "0").
inline bool parseInteger(const char* s, std::size_t n, long long low, long long high, long long& value, bool& canonical)
{
    const char* p = s;
    const char* end = s + n;
    while (p < end && isBlank(*p))
        ++p;
    while (end > p && isBlank(end[-1]))
        --end;
    canonical = (p == s && end == s + n);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        canonical = canonical && negative;
        ++p;
    }
    if (p == end)
        return false;
    if (*p == '0' && end - p > 1)
        canonical = false;
    long long v = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > high + 1)  // high + 1 still lets the lowest negative through
            return false;
    }
    value = negative ? -v : v;
    if (negative && v == 0)
        canonical = false;
    return value >= low && value <= high;
}

struct ValueScan
{
    std::size_t length;
    bool nonAscii;
    std::uint64_t head;  // the value's bytes (zero-padded) when length <= 8
};

// Length of a NUL-terminated value in the padded buffer, whether it holds
// non-ASCII bytes, and its bytes when it is short: one word for short
// values, then sixteen bytes at a time.
inline ValueScan scanValue(const char* v)
{
    if constexpr (kLittleEndian) {
        const std::uint64_t w = load64(v);
        if (const std::uint64_t z = zeroBytes(w)) {
            const unsigned k = unsigned(std::countr_zero(z)) >> 3;
            const std::uint64_t head = w & lowBytes(k);
            return {k, (head & kHighs) != 0, head};
        }
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        std::size_t n = 8;
        unsigned high = (w & kHighs) ? 1U : 0U;
        for (;;) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + n));
            const unsigned z = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, zero)));
            const unsigned h = unsigned(_mm_movemask_epi8(x));
            if (z) {
                const unsigned k = unsigned(std::countr_zero(z));
                high |= h & ((1U << k) - 1);
                return {n + k, high != 0, w};
            }
            high |= h;
            n += 16;
        }
#else
        std::size_t n = 8;
        std::uint64_t bits = w;
        for (;;) {
            const std::uint64_t x = load64(v + n);
            if (const std::uint64_t z = zeroBytes(x)) {
                const unsigned k = unsigned(std::countr_zero(z)) >> 3;
                bits |= x & lowBytes(k);
                return {n + k, (bits & kHighs) != 0, w};
            }
            bits |= x;
            n += 8;
        }
#endif
    } else {
        const std::size_t n = lengthOf(v);
        bool high = false;
        for (std::size_t i = 0; i < n && !high; ++i)
            high = static_cast<unsigned char>(v[i]) >= 0x80;
        std::uint64_t head = 0;
        std::memcpy(&head, v, std::min<std::size_t>(n, 8));
        return {n, high, head};
    }
}

enum class Utf8Check { Valid, HasC1, Invalid };

// Strict UTF-8 (no overlong forms, surrogates or code points past U+10FFFF)
// of the value [p, end); *end is the value's NUL terminator, which stops a
// truncated sequence without a bounds check. Runs of ASCII are skipped a word
// at a time.
inline Utf8Check checkUtf8(const unsigned char* p, const unsigned char* end)
{
#if defined(__SSE2__)
    // Italian text is ASCII and the accented letters U+00C0..U+00FF, all
    // "C3 xx": sixteen bytes at a time, a chunk whose non-ASCII bytes are
    // only such pairs passes with three compares. At anything else the
    // byte-wise check below takes over from the last sequence boundary.
    {
        const __m128i lead = _mm_set1_epi8(char(0xC3));
        const __m128i topTwo = _mm_set1_epi8(char(0xC0));
        const __m128i continuation = _mm_set1_epi8(char(0x80));
        unsigned carry = 0;  // a C3 ended the previous chunk
        while (end - p >= 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const unsigned high = unsigned(_mm_movemask_epi8(x));
            if (high == 0 && carry == 0) {
                p += 16;
                continue;
            }
            const unsigned leads = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, lead)));
            const unsigned conts = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(x, topTwo), continuation)));
            if (high != (leads | conts) || conts != (((leads << 1) | carry) & 0xFFFFU))
                break;
            carry = leads >> 15;
            p += 16;
        }
        p -= carry;
    }
#endif
    Utf8Check result = Utf8Check::Valid;
    while (p < end) {
        if (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            const std::uint64_t high = w & kHighs;
            if (!high) {
                p += 8;
                continue;
            }
            if constexpr (kLittleEndian)
                p += std::countr_zero(high) >> 3;
        }
        const unsigned b = *p;
        if (b < 0x80) {
            ++p;
        } else if (b < 0xC2) {
            return Utf8Check::Invalid;
        } else if (b < 0xE0) {
            if ((p[1] & 0xC0) != 0x80)
                return Utf8Check::Invalid;
            if (b == 0xC2 && p[1] < 0xA0)
                result = Utf8Check::HasC1;
            p += 2;
        } else if (b < 0xF0) {
            if ((p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 || (b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] >= 0xA0))
                return Utf8Check::Invalid;
            p += 3;
        } else if (b < 0xF5) {
            if ((p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80 || (b == 0xF0 && p[1] < 0x90) ||
                (b == 0xF4 && p[1] >= 0x90))
                return Utf8Check::Invalid;
            p += 4;
        } else {
            return Utf8Check::Invalid;
        }
    }
    return p == end ? result : Utf8Check::Invalid;
}

inline void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// Appends the valid UTF-8 value with its C1 controls replaced (see windows1252ForC1).
inline void appendWithoutC1(std::string& out, const unsigned char* p, const unsigned char* end)
{
    while (p < end) {
        if (p[0] == 0xC2 && p + 1 < end && p[1] >= 0x80 && p[1] <= 0x9F) {
            appendUtf8(out, windows1252ForC1(p[1]));
            p += 2;
        } else {
            out.push_back(char(*p++));
        }
    }
}

// Maps a row attribute name to its field. Names of up to 15 bytes become a
// key of two words read straight from the buffer; longer ones are compared
// as strings.
class AttributeNames
{
public:
    explicit AttributeNames(const QStringList& names)
    {
        std::size_t size = 16;
        while (size < std::size_t(names.size()) * 4)
            size *= 2;
        m_mask = size - 1;
        m_table.assign(size, -1);
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray utf8 = names[i].toUtf8();
            char padded[24] = {};
            Key key{~std::uint64_t(0), ~std::uint64_t(0)};  // never matches a short name
            if (utf8.size() < 16) {
                std::memcpy(padded, utf8.constData(), std::size_t(utf8.size()));
                makeKey(padded, key);
                std::size_t slot = hash(key);
                while (m_table[slot] >= 0)
                    slot = (slot + 1) & m_mask;
                m_table[slot] = i;
            } else {
                m_long.push_back({utf8.toStdString(), i});
            }
            m_keys.push_back(key);
        }
    }

    // `name` has 16 readable bytes (padding); `predicted` is tried first.
    int find(const char* name, int predicted) const
    {
        Key key;
        if (!makeKey(name, key))
            return findLong(name);
        if (std::size_t(predicted) < m_keys.size() && m_keys[std::size_t(predicted)] == key)
            return predicted;
        for (std::size_t slot = hash(key);; slot = (slot + 1) & m_mask) {
            const int field = m_table[slot];
            if (field < 0 || m_keys[std::size_t(field)] == key)
                return field;
        }
    }

    // For names outside the padded buffer.
    int findSafe(const char* name, int predicted) const
    {
        const std::size_t length = lengthOf(name);
        if (length >= 16)
            return findLong(name);
        char padded[24] = {};
        std::memcpy(padded, name, length);
        return find(padded, predicted);
    }

private:
    struct Key
    {
        std::uint64_t w0;
        std::uint64_t w1;
        bool operator==(const Key&) const = default;
    };

    static bool makeKey(const char* p, Key& key)
    {
        if constexpr (kLittleEndian) {
            const std::uint64_t w0 = load64(p);
            if (const std::uint64_t z0 = zeroBytes(w0)) {
                key = {w0 & lowBytes(unsigned(std::countr_zero(z0)) >> 3), 0};
                return true;
            }
            const std::uint64_t w1 = load64(p + 8);
            if (const std::uint64_t z1 = zeroBytes(w1)) {
                key = {w0, w1 & lowBytes(unsigned(std::countr_zero(z1)) >> 3)};
                return true;
            }
            return false;
        } else {
            const std::size_t length = lengthOf(p);
            if (length >= 16)
                return false;
            char padded[16] = {};
            std::memcpy(padded, p, length);
            key = {load64(padded), load64(padded + 8)};
            return true;
        }
    }

    std::size_t hash(const Key& key) const
    {
        const std::uint64_t h = key.w0 * 0x9E3779B97F4A7C15ULL ^ (key.w1 + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
        return std::size_t(h >> 40) & m_mask;
    }

    int findLong(const char* name) const
    {
        for (const auto& [longName, field] : m_long) {
            std::size_t i = 0;
            while (i < longName.size() && name[i] == longName[i])
                ++i;
            if (i == longName.size() && name[i] == '\0')
                return field;
        }
        return -1;
    }

    std::vector<Key> m_keys;
    std::vector<int> m_table;
    std::size_t m_mask = 0;
    std::vector<std::pair<std::string, int>> m_long;
};

// pugixml keeps a node's attributes as a linked list of records
//   { uintptr_t header; char_t* name; char_t* value; prev; next; }
// (its non-compact layout, unchanged for many releases). Walking that list
// through the public API costs five out-of-line calls per attribute, over
// half of what the whole parse costs on a content table, so the loader reads
// the records through xml_attribute::internal_object() instead, after
// checking on the first row of every load that this layout gives exactly
// what the API gives; when it does not, it stays with the API.
struct AttributeRecordLayout
{
    std::uintptr_t header;
    char* name;
    char* value;
    void* previous;
    void* next;
};

template <typename T>
T fieldOf(const void* record, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

inline const char* recordName(const void* record)
{
    return fieldOf<const char*>(record, offsetof(AttributeRecordLayout, name));
}
inline const char* recordValue(const void* record)
{
    return fieldOf<const char*>(record, offsetof(AttributeRecordLayout, value));
}
inline const void* recordNext(const void* record)
{
    return fieldOf<const void*>(record, offsetof(AttributeRecordLayout, next));
}

inline bool recordLayoutMatches(pugi::xml_node row)
{
    const void* record = row.first_attribute().internal_object();
    for (pugi::xml_attribute a = row.first_attribute(); a; a = a.next_attribute()) {
        if (record != a.internal_object() || recordName(record) != a.name() || recordValue(record) != a.value())
            return false;
        record = recordNext(record);
    }
    return record == nullptr;
}

}  // namespace ziro::datapacket_scan

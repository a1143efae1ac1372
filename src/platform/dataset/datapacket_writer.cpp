#include "platform/dataset/datapacket_writer.h"

#include "platform/dataset/datapacket_format.h"
#include "platform/dataset/table_store.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace ziro {

namespace {

// 0: copied as is; 1: needs an entity or a reference; 2: non-ASCII byte
// (copied in the UTF-8 form, referenced in the ASCII one).
constexpr std::array<std::uint8_t, 256> makeEscapeClasses()
{
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c < 0x20; ++c)
        classes[std::size_t(c)] = 1;
    classes['&'] = classes['<'] = classes['>'] = classes['"'] = 1;
    for (int c = 0x80; c < 0x100; ++c)
        classes[std::size_t(c)] = 2;
    return classes;
}
constexpr std::array<std::uint8_t, 256> kEscapeClasses = makeEscapeClasses();

void appendReference(QByteArray& out, char32_t c)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::uint32_t(c));
    out.append("&#", 2);
    out.append(digits, result.ptr - digits);
    out.append(';');
}

// `s` is valid UTF-8 (the store holds nothing else).
void appendEscaped(QByteArray& out, const char* s, std::size_t n, SaveFormat format)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    const auto* end = p + n;
    const auto* run = p;
    const bool referenceNonAscii = format == SaveFormat::Ascii;
    while (p < end) {
        const std::uint8_t cls = kEscapeClasses[*p];
        if (cls == 0 || (cls == 2 && !referenceNonAscii)) {
            ++p;
            continue;
        }
        out.append(reinterpret_cast<const char*>(run), p - run);
        if (cls == 2) {
            const unsigned char b = *p;
            int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
            char32_t c = b & (0x3F >> extra);
            for (int i = 1; i <= extra && p + i < end; ++i)
                c = (c << 6) | (p[i] & 0x3F);
            appendReference(out, c);
            p += extra + 1;
        } else {
            switch (*p) {
            case '&':
                out.append("&amp;", 5);
                break;
            case '<':
                out.append("&lt;", 4);
                break;
            case '>':
                out.append("&gt;", 4);
                break;
            case '"':
                out.append("&quot;", 6);
                break;
            default:
                appendReference(out, *p);
                break;
            }
            ++p;
        }
        run = p;
    }
    out.append(reinterpret_cast<const char*>(run), p - run);
}

void appendAttribute(QByteArray& out, const QByteArray& name, const QString& value, SaveFormat format)
{
    const QByteArray utf8 = value.toUtf8();
    out.append(' ');
    out.append(name);
    out.append("=\"", 2);
    appendEscaped(out, utf8.constData(), std::size_t(utf8.size()), format);
    out.append('"');
}

}  // namespace

// The attributes kept from a file uninterpreted go back as they came, except
// that a name cannot be written as a character reference: one outside ASCII
// has no place in the plain form, which promises ASCII bytes only. It is left
// out there; no value of the table is lost with it.
static bool writableAttributeName(const QString& name, SaveFormat format)
{
    if (format != SaveFormat::Ascii)
        return true;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QByteArray writeDatapacket(const TableStore& store, SaveFormat format)
{
    const QStringList attributeNames = datapacket::rowAttributeNames(store.fields);
    std::vector<QByteArray> rowNames;
    std::size_t longestName = 0;
    for (const QString& name : attributeNames) {
        rowNames.push_back(name.toUtf8());
        longestName = std::max(longestName, std::size_t(rowNames.back().size()));
    }

    QByteArray out;
    // The arena is about the size of the file it came from; short values
    // live in the cells.
    out.reserve(qsizetype(store.bytes.size() + store.bytes.size() / 8 + store.cells.size() * (longestName / 2 + 12) +
                          store.rows.size() * 8 + std::size_t(store.fields.size()) * 80 + 4096));
    out.append(format == SaveFormat::Utf8 ? "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                          : "<?xml version=\"1.0\" standalone=\"yes\"?>\n");
    out.append("<DATAPACKET Version=\"2.0\">\n<METADATA>\n<FIELDS>\n");
    for (int i = 0; i < store.fields.size(); ++i) {
        const FieldDef& f = store.fields[i];
        out.append("<FIELD");
        appendAttribute(out, "attrname", attributeNames[i], format);
        if (f.name != attributeNames[i])
            appendAttribute(out, "fieldname", f.name, format);
        appendAttribute(out, "fieldtype", QString::fromLatin1(datapacket::fieldTypeName(f.type)), format);
        if (f.type == FieldType::Memo)
            appendAttribute(out, "SUBTYPE", QString::fromLatin1(datapacket::kBlobSubtypeText), format);
        if (f.width > 0 && (f.type == FieldType::Text || f.type == FieldType::WideText || f.type == FieldType::Memo))
            appendAttribute(out, "WIDTH", QString::number(f.width), format);
        for (const auto& [name, value] : f.extraAttributes) {
            if (writableAttributeName(name, format))
                appendAttribute(out, name.toUtf8(), value, format);
        }
        out.append("/>\n");
    }
    out.append("</FIELDS>\n<PARAMS");
    for (const auto& [name, value] : store.params) {
        if (writableAttributeName(name, format))
            appendAttribute(out, name.toUtf8(), value, format);
    }
    int indexNumber = 0;
    for (const IndexDef& index : store.indexes) {
        QString name;
        do {
            name = datapacket::indexParamName(++indexNumber);
        } while (std::any_of(store.params.begin(), store.params.end(), [&](const auto& p) { return p.first == name; }));
        appendAttribute(out, name.toUtf8(), datapacket::encodeIndexDef(index), format);
    }
    out.append("/>\n</METADATA>\n<ROWDATA>\n");

    for (const StoredRow& row : store.rows) {
        if (row.deleted)
            continue;
        out.append("<ROW", 4);
        const StoredCell* cell = store.cells.data() + row.firstCell;
        for (const StoredCell* end = cell + row.cellCount; cell != end; ++cell) {
            const QByteArray& name = rowNames[cell->field];
            out.append(' ');
            out.append(name);
            out.append("=\"", 2);
            const QByteArrayView value = store.cellBytes(*cell);
            appendEscaped(out, value.data(), std::size_t(value.size()), format);
            out.append('"');
        }
        out.append("/>\n", 3);
    }
    out.append("</ROWDATA>\n</DATAPACKET>\n");
    return out;
}

}  // namespace ziro

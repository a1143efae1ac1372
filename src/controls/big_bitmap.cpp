#include "controls/big_bitmap.h"

#include <QByteArray>
#include <QtEndian>

#include <cstdlib>

namespace ziro {

namespace {

constexpr qint64 kFileHeader = 14;

quint32 u32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
qint32 s32(const uchar* p) { return qFromLittleEndian<qint32>(p); }
quint16 u16(const uchar* p) { return qFromLittleEndian<quint16>(p); }

}  // namespace

BigBitmap::~BigBitmap()
{
    close();
}

bool BigBitmap::setFileName(const QString& name, QString* error)
{
    if (active() && name != m_fileName) {
        if (error)
            *error = QStringLiteral("Not on an active big bitmap viewer");
        return false;
    }
    m_fileName = name;
    return true;
}

bool BigBitmap::open(QString* error)
{
    if (active())
        return true;
    auto fail = [this, error](const QString& text) {
        close();
        if (error)
            *error = text;
        return false;
    };
    m_file = std::make_unique<QFile>(m_fileName);
    if (!m_file->open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Failed to open ") + m_fileName);
    const qint64 size = m_file->size();
    if (size <= 0)
        return fail(QStringLiteral("Failed to map file"));
    m_map = m_file->map(0, size);
    if (!m_map)
        return fail(QStringLiteral("Failed to view map file"));
    const QString invalid = QStringLiteral("Bitmap image is not valid");
    if (size < kFileHeader + 40 || u16(m_map) != 0x4D42)
        return fail(invalid);

    // The pixel data the headers describe must lie inside the file.
    const quint32 pixelOffset = u32(m_map + 10);
    const quint32 infoSize = u32(m_map + 14);
    const qint32 width = s32(m_map + 18);
    const qint32 height = s32(m_map + 22);
    const quint16 bits = u16(m_map + 28);
    const quint32 compression = u32(m_map + 30);
    const quint32 used = u32(m_map + 46);
    if (infoSize < 40 || width <= 0 || height == 0 || height == INT32_MIN
        || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return fail(invalid);
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    const qint64 rows = std::abs(qint64(height));
    const qint64 colours = used ? qint64(used) : (bits <= 8 ? (qint64(1) << bits) : 0);
    if (colours > 256 && bits <= 8)
        return fail(invalid);
    if (kFileHeader + qint64(infoSize) + colours * 4 > qint64(pixelOffset)
        || qint64(pixelOffset) >= size)
        return fail(invalid);
    // Run-length rows have no fixed length; the decoder stops at the end.
    const bool runLength = compression == 1 || compression == 2;
    if (!runLength && qint64(pixelOffset) + stride * rows > size)
        return fail(invalid);

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(m_map), qsizetype(size));
    QImage picture;
    if (!picture.loadFromData(bytes, "BMP") || picture.isNull())
        return fail(invalid);
    m_picture = picture;
    m_width = width;
    m_height = int(rows);
    m_colours = bits <= 8 ? int(colours) : 0;
    return true;
}

void BigBitmap::close()
{
    if (m_file && m_map)
        m_file->unmap(m_map);
    m_map = nullptr;
    m_file.reset();
    m_picture = QImage();
    m_width = m_height = m_colours = 0;
}

}  // namespace ziro

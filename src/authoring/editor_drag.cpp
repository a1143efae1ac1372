#include "authoring/editor_drag.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QRandomGenerator>

namespace ziro {

namespace {

constexpr quint32 kMagic = 0x5A45444Bu;  // "ZEDK"
constexpr quint16 kVersion = 1;
constexpr int kMaxCodes = 70;
constexpr int kMaxFields = 200;
constexpr int kMaxText = 1 << 20;

// Chosen once per process: a drag carrying another token was started by
// another program or another running copy, whose tables are not ours.
quint64 processToken()
{
    static const quint64 token = QRandomGenerator::system()->generate64();
    return token;
}

bool validOrigin(qint32 v)
{
    return v >= qint32(DragOrigin::SourceSign) && v <= qint32(DragOrigin::StepStatements);
}

bool readText(QDataStream& in, QString& out)
{
    in >> out;
    return in.status() == QDataStream::Ok && out.size() <= kMaxText;
}

}  // namespace

QString editorDragMimeType()
{
    return QStringLiteral("application/x-ziro-lesson-src");
}

QByteArray editorDragBytes(const EditorDrag& drag)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kVersion << processToken() << qint32(drag.origin) << qint32(drag.tag) << qint32(drag.tipo);
    out << qint32(drag.record.size());
    for (auto it = drag.record.cbegin(); it != drag.record.cend(); ++it)
        out << it.key() << it.value();
    out << drag.signFallback;
    out << qint32(drag.codes.size());
    for (const QString& c : drag.codes)
        out << c;
    out << drag.photoValue << drag.photoCaption << drag.extraSign << drag.extraSignFound << drag.topic;
    return bytes;
}

std::optional<EditorDrag> editorDragFromBytes(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    quint64 token = 0;
    qint32 origin = -1, tag = 0, tipo = 0, fields = 0;
    in >> magic >> version >> token >> origin >> tag >> tipo >> fields;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion || token != processToken()
        || !validOrigin(origin) || fields < 0 || fields > kMaxFields)
        return std::nullopt;
    EditorDrag d;
    d.origin = DragOrigin(origin);
    d.tag = tag;
    d.tipo = tipo;
    for (qint32 i = 0; i < fields; ++i) {
        QString k, v;
        if (!readText(in, k) || !readText(in, v))
            return std::nullopt;
        d.record.insert(k, v);
    }
    qint32 codes = 0;
    if (!readText(in, d.signFallback))
        return std::nullopt;
    in >> codes;
    if (in.status() != QDataStream::Ok || codes < 0 || codes > kMaxCodes)
        return std::nullopt;
    for (qint32 i = 0; i < codes; ++i) {
        QString c;
        if (!readText(in, c))
            return std::nullopt;
        d.codes << c;
    }
    if (!readText(in, d.photoValue) || !readText(in, d.photoCaption) || !readText(in, d.extraSign))
        return std::nullopt;
    in >> d.extraSignFound;
    if (!readText(in, d.topic) || !in.atEnd())
        return std::nullopt;
    return d;
}

QMimeData* encodeEditorDrag(const EditorDrag& drag)
{
    auto* mime = new QMimeData;
    mime->setData(editorDragMimeType(), editorDragBytes(drag));
    return mime;
}

std::optional<EditorDrag> decodeEditorDrag(const QMimeData* mime)
{
    if (!mime || !mime->hasFormat(editorDragMimeType()))
        return std::nullopt;
    return editorDragFromBytes(mime->data(editorDragMimeType()));
}

}  // namespace ziro

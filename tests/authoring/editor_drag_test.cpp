#include "authoring/editor_drag.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

namespace ziro {
namespace {

EditorDrag sampleDrag()
{
    EditorDrag d;
    d.origin = DragOrigin::BlockCombo;
    d.tag = 0;
    d.tipo = 5;
    d.record = {{QStringLiteral("Nome segnale"), QStringLiteral("123")}, {QStringLiteral("Foto1"), QStringLiteral("42")}};
    d.signFallback = QStringLiteral("123");
    d.codes = {QStringLiteral("    123V0007S045"), QStringLiteral("    123F0008S000")};
    d.topic = QStringLiteral("B01");
    return d;
}

TEST(EditorDrag, RoundTripsThroughItsMimeData)
{
    std::unique_ptr<QMimeData> mime(encodeEditorDrag(sampleDrag()));
    const auto back = decodeEditorDrag(mime.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->origin, DragOrigin::BlockCombo);
    EXPECT_EQ(back->tipo, 5);
    EXPECT_EQ(back->record, sampleDrag().record);
    EXPECT_EQ(back->codes, sampleDrag().codes);
    EXPECT_EQ(back->topic, QStringLiteral("B01"));
}

// Drops from other programs, other running copies and damaged data are
// refused rather than applied to a lesson.
TEST(EditorDrag, RefusesForeignAndDamagedData)
{
    QMimeData text;
    text.setText(QStringLiteral("ciao"));
    EXPECT_FALSE(decodeEditorDrag(&text));
    EXPECT_FALSE(decodeEditorDrag(nullptr));

    const QByteArray good = editorDragBytes(sampleDrag());
    for (int cut : {0, 4, 10, 20, int(good.size()) - 1})
        EXPECT_FALSE(editorDragFromBytes(good.left(cut))) << cut;
    EXPECT_FALSE(editorDragFromBytes(good + QByteArray("x")));

    QByteArray otherCopy = good;
    otherCopy[8] = char(otherCopy[8] ^ 0x5a);  // inside the process token
    EXPECT_FALSE(editorDragFromBytes(otherCopy));

    // A claimed count far beyond what a drag can hold is not believed.
    QByteArray huge;
    QDataStream out(&huge, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(0x5A45444Bu) << quint16(1);
    huge += good.mid(6, 8);
    QDataStream tail(&huge, QIODevice::Append);
    tail.setVersion(QDataStream::Qt_6_0);
    tail << qint32(0) << qint32(0) << qint32(0) << qint32(0x7fffffff);
    EXPECT_FALSE(editorDragFromBytes(huge));
}

}  // namespace
}  // namespace ziro

// The crossroads table and its sequences: a record with any field values,
// written by the table writer, found by the table reader and played through
// an exercise with a run of clicks and keys.
//
// Input: lines "Field=value" make the record (Rec and Incrocio first), a
// line "--" ends them, and each byte after it is one action of the class.

#include "fuzz_support.h"

#include "base/globals.h"
#include "base/reports.h"
#include "crossroads/cross_data.h"
#include "crossroads/cross_session.h"
#include "platform/dataset/data_table.h"

ZIRO_FUZZ_START

namespace {

// An animation of 400 frames that plays at once.
class InstantPlayer : public ziro::cross::CrossPlayer {
public:
    bool open(const QString&, QString*) override { return (m_open = true); }
    void close() override { m_open = false; }
    bool loaded() const override { return m_open; }
    int frameCount() const override { return 400; }
    int position() const override { return m_position; }
    void showFrame(int frame) override
    {
        ZIRO_FUZZ_CHECK(frame >= 0 && frame < 400);
        m_position = frame;
    }
    void play(int from, int to) override
    {
        ZIRO_FUZZ_CHECK(from >= 0 && to < 400);
        m_position = to;
    }
    void resume(int to) override { m_position = to; }

private:
    bool m_open = false;
    int m_position = 0;
};

class CountingView : public ziro::cross::CrossView {
public:
    void showSlot(int slot, QChar, QChar, bool) override
    {
        ZIRO_FUZZ_CHECK(slot >= 1 && slot <= ziro::cross::kVehicles);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    const qsizetype cut = bytes.indexOf("\n--\n");
    const QStringList lines = QString::fromUtf8(cut < 0 ? bytes : bytes.left(cut)).split(QLatin1Char('\n'));
    const QByteArray actions = cut < 0 ? QByteArray() : bytes.mid(cut + 4);

    ziro::DataTable table;
    if (!table.createFromFields(ziro::cross::tableFields()) || !table.append())
        abort();
    QString number;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        if (table.setField(line.left(eq), line.mid(eq + 1)) && line.left(eq) == QLatin1String("Incrocio"))
            number = line.mid(eq + 1);
    }
    if (!table.post())
        return 0;
    const QString folder = ziro::fuzz::scratchFolder();
    if (!table.saveToFile(folder + QStringLiteral("/kx_cross.cds"), ziro::SaveFormat::Utf8))
        abort();

    ziro::Globals g;
    g.dirs.DirProgram = folder + QLatin1Char('/');
    g.dirs.DirVideoCross = folder + QLatin1Char('/');
    ziro::NullReports reports;
    InstantPlayer player;
    CountingView view;
    ziro::cross::CrossSession session(g, reports, player, view);
    if (!session.load(number))
        return 0;
    const ziro::cross::CrossRecord* record = session.record();
    ZIRO_FUZZ_CHECK(record && record->vehicles() >= 0);
    for (int i = 1; i <= ziro::cross::kOrders; ++i)
        ziro::cross::wrongOrderSegment(*record, i);
    record->demonstrationOrder();

    for (const char c : actions) {
        const int a = static_cast<unsigned char>(c);
        const int vehicle = a / 16 % 7;  // 0 and 6 lie outside every record
        switch (a % 16) {
        case 0: session.clickHotSpot(vehicle); break;
        case 1: session.letterKey(QChar(u'A' + a / 16)); break;
        case 2: session.evaluate(); break;
        case 3: session.pressPicture(); break;
        case 4: session.releasePicture(); break;
        case 5: session.segmentEnded(); break;
        case 6: session.userReset(); break;
        case 7: session.reset(); break;
        case 8: session.hoverHotSpot(vehicle); break;
        case 9: session.rightPressHotSpot(vehicle); break;
        case 10: session.demonstrate(); break;
        case 11: session.switchEmergency(); break;
        default: session.clickHotSpot(1 + a % 5); break;
        }
        ZIRO_FUZZ_CHECK(session.nextEntry() >= 0);
    }
    return 0;
}

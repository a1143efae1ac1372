#include "viewers/photo_previews.h"

#include "base/globals.h"
#include "base/reports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

struct LoggedReports : NullReports {
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        log << QStringLiteral("%1|%2|%3").arg(reportCode(kind)).arg(context, name);
    }
    QStringList log;
};

// A grid that remembers what it was told; files named in `missing` do not
// load.
struct RecordingGrid : PreviewPort {
    void clearSlots() override
    {
        slots.clear();
        calls << QStringLiteral("clear");
    }
    bool loadSlot(int slot, const QString& path) override
    {
        if (missing.contains(path))
            return false;
        slots[slot] = path;
        return true;
    }
    void setGridSize(QSize s) override { size = s; }
    void closeGrid() override { calls << QStringLiteral("close"); }
    void beep() override { calls << QStringLiteral("beep"); }
    void openPhoto(int photo) override { calls << QStringLiteral("photo %1").arg(photo); }
    void openHtml(const QString& page) override { calls << QStringLiteral("html ") + page; }
    void passKey(int key, Qt::KeyboardModifiers) override { calls << QStringLiteral("key %1").arg(key); }

    QMap<int, QString> slots;
    QStringList calls;
    QSize size;
    QStringList missing;
};

class PhotoPreviewsTest : public ::testing::Test {
protected:
    PhotoPreviewsTest()
        : previews(g, reports, grid, [](const QString& value) -> std::optional<QString> {
              return QStringLiteral("foto/") + value + QStringLiteral(".KXB");
          })
    {
        g.dirs.DirHtml = html.path() + QLatin1Char('/');
    }

    static PreviewRecord photos(std::initializer_list<int> fields, const QString& page = {})
    {
        PreviewRecord r;
        for (int n : fields)
            r.foto[size_t(n - 1)] = QString::number(100 + n);
        r.html = page;
        return r;
    }

    QTemporaryDir html;
    Globals g;
    LoggedReports reports;
    RecordingGrid grid;
    PhotoPreviews previews;
};

TEST(PhotoPreviewGeometry, SizesSlotsAndPlacement)
{
    const struct {
        int thumbnails;
        QSize size;
    } sizes[] = {{1, {104, 84}},  {2, {200, 84}},   {6, {584, 84}},   {7, {584, 156}},
                 {12, {584, 156}}, {13, {584, 228}}, {24, {584, 300}}, {30, {584, 372}}};
    for (const auto& c : sizes)
        EXPECT_EQ(previewWindowSize(c.thumbnails), c.size) << c.thumbnails;

    EXPECT_EQ(previewSlotPosition(0), QPoint(11, 11));
    EXPECT_EQ(previewSlotPosition(5), QPoint(491, 11));
    EXPECT_EQ(previewSlotPosition(6), QPoint(11, 83));
    EXPECT_EQ(previewSlotPosition(29), QPoint(491, 299));

    // Over the 640 x 480 main window: centred across, and in the part above
    // the button bar.
    EXPECT_EQ(previewWindowGeometry(QRect(0, 0, 640, 480), QSize(584, 156)), QRect(27, 127, 584, 156));
    EXPECT_EQ(previewWindowGeometry(QRect(0, 0, 640, 480), QSize(584, 372)), QRect(27, 19, 584, 372));
}

TEST_F(PhotoPreviewsTest, EightPhotographsFillTwoRowsAndTheRestBeep)
{
    previews.PreparaAnteprime(photos({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(grid.size, QSize(584, 156));
    EXPECT_EQ(g.NumeroFoto, 8);
    EXPECT_EQ(g.FotoCorrente, 0);
    EXPECT_EQ(grid.slots.size(), 8);
    EXPECT_EQ(grid.slots.value(8), QStringLiteral("foto/108.KXB"));
    EXPECT_EQ(previews.pageSlot(), 0);

    for (int slot : {9, 12})
        previews.PreviewClick(slot);
    EXPECT_EQ(grid.calls.mid(1), QStringList({"beep", "beep"}));

    previews.PreviewClick(7);
    EXPECT_EQ(grid.calls.mid(3), QStringList({"close", "photo 7"}));
    EXPECT_EQ(g.FotoCorrente, 7);
}

TEST_F(PhotoPreviewsTest, OnePhotographAndAPageGiveTwoSlots)
{
    ASSERT_TRUE(QDir(html.path()).mkdir(QStringLiteral("Incrocio")));
    QFile pw(html.filePath(QStringLiteral("Incrocio/pw.bmp")));
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.close();

    previews.PreparaAnteprime(photos({1}, QStringLiteral("Incrocio")));
    EXPECT_EQ(grid.size, QSize(200, 84));
    EXPECT_EQ(g.NumeroFoto, 1);
    EXPECT_EQ(previews.pageSlot(), 2);
    // The page's preview is found whatever the letter case on disk.
    EXPECT_EQ(grid.slots.value(2), html.filePath(QStringLiteral("Incrocio/pw.bmp")));

    previews.PreviewClick(2);
    EXPECT_EQ(grid.calls.mid(1), QStringList({"html Incrocio"}));
    previews.PreviewClick(1);
    EXPECT_EQ(grid.calls.mid(2), QStringList({"close", "photo 1"}));
}

TEST_F(PhotoPreviewsTest, ARecordAfterAnotherShowsNothingOfTheFirst)
{
    previews.PreparaAnteprime(photos({1, 2, 3, 4, 5}, QStringLiteral("Pagina")));
    // A gap: Foto3 empty. Its slot is empty, not the earlier page or photo,
    // and a click on it opens nothing.
    previews.PreparaAnteprime(photos({1, 2, 4}));
    EXPECT_EQ(grid.calls.count(QStringLiteral("clear")), 2);
    EXPECT_FALSE(grid.slots.contains(3));
    EXPECT_FALSE(grid.slots.contains(5));
    EXPECT_EQ(previews.pageSlot(), 0);
    EXPECT_EQ(grid.size, QSize(392, 84));
    grid.calls.clear();
    previews.PreviewClick(3);
    previews.PreviewClick(5);
    EXPECT_EQ(grid.calls, QStringList({"beep", "beep"}));
}

TEST_F(PhotoPreviewsTest, CustomLessonsShowFifteenAndThirtyPhotographsLeaveNoPageSlot)
{
    std::initializer_list<int> all = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                      16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    g.Custom = true;
    previews.PreparaAnteprime(photos(all, QStringLiteral("Pagina")));
    EXPECT_EQ(g.NumeroFoto, 15);
    EXPECT_EQ(grid.slots.lastKey(), 16);  // the page after the fifteenth
    EXPECT_EQ(grid.size, QSize(584, 228));

    g.Custom = false;
    previews.PreparaAnteprime(photos(all, QStringLiteral("Pagina")));
    EXPECT_EQ(g.NumeroFoto, 30);
    EXPECT_EQ(previews.pageSlot(), 0);
    EXPECT_EQ(grid.size, QSize(584, 372));
    previews.PreviewClick(30);
    EXPECT_EQ(grid.calls.mid(grid.calls.size() - 2), QStringList({"close", "photo 30"}));
    previews.PreviewClick(31);
    EXPECT_EQ(grid.calls.last(), QStringLiteral("beep"));
}

TEST_F(PhotoPreviewsTest, MissingThumbnailsAreReportedAndLeaveTheirSlotEmpty)
{
    grid.missing << QStringLiteral("foto/102.KXB");
    previews.PreparaAnteprime(photos({1, 2}, QStringLiteral("../x")));
    EXPECT_FALSE(grid.slots.contains(2));
    ASSERT_EQ(reports.log.size(), 2);
    EXPECT_EQ(reports.log[0], QStringLiteral("1|prewiew foto 2|foto/102.KXB"));
    // A page name that is not a plain name is never loaded, only reported.
    EXPECT_TRUE(reports.log[1].startsWith(QStringLiteral("1|prewiew schema ../x\\PW.BMP|")));
    EXPECT_FALSE(grid.slots.contains(3));
}

TEST_F(PhotoPreviewsTest, EscapeClosesAndOtherKeysGoToTheMainWindow)
{
    previews.FormKey(Qt::Key_Escape, Qt::NoModifier);
    previews.FormKey(Qt::Key_F5, Qt::NoModifier);
    EXPECT_EQ(grid.calls, QStringList({"close", QStringLiteral("key %1").arg(int(Qt::Key_F5))}));
}

}  // namespace
}  // namespace ziro

// The preview grid as a widget over a lesson stand-in: where it shows, what
// clicks on full and empty slots and key releases do.

#include "viewers/foto_preview_window.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kx_image_widget.h"

#include <QFrame>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

class FotoPreviewWindowTest : public ::testing::Test {
protected:
    FotoPreviewWindowTest()
        : grid(&main), previews(g, reports, grid, [this](const QString& value) -> std::optional<QString> {
              return folder.filePath(value + QStringLiteral(".BMP"));
          })
    {
        main.resize(640, 480);
        main.show();
        grid.attach(&previews);
        QObject::connect(&grid, &TFotoPreview::photoChosen, [this](int n) { events << QStringLiteral("photo %1").arg(n); });
        QObject::connect(&grid, &TFotoPreview::beepRequested, [this] { events << QStringLiteral("beep"); });
        QObject::connect(&grid, &TFotoPreview::keyPassed,
                         [this](int key, Qt::KeyboardModifiers) { events << QStringLiteral("key %1").arg(key); });
        for (int n = 1; n <= 3; ++n) {
            QImage photo(160, 90, QImage::Format_RGB32);
            photo.fill(QColor::fromHsv(60 * n, 200, 200));
            photo.save(folder.filePath(QStringLiteral("%1.BMP").arg(n)), "BMP");
        }
    }

    void clickSlot(int slot) { QTest::mouseClick(grid.slotFrame(slot), Qt::LeftButton, {}, QPoint(40, 30)); }

    QWidget main;
    QTemporaryDir folder;
    Globals g;
    NullReports reports;
    TFotoPreview grid;
    PhotoPreviews previews;
    QStringList events;
};

TEST_F(FotoPreviewWindowTest, ShowsTheRecordsThumbnailsCentredAndOpensTheOneClicked)
{
    PreviewRecord record;
    record.foto[0] = QStringLiteral("1");
    record.foto[2] = QStringLiteral("3");
    previews.PreparaAnteprime(record);
    grid.showModeless();
    EXPECT_EQ(grid.geometry(), QRect(171, 163, 296, 84));
    // Thumbnails keep the photograph's shape inside their 80 x 60 frame.
    EXPECT_TRUE(grid.slotImage(1)->isLoaded());
    EXPECT_TRUE(QRect(1, 1, 80, 60).contains(grid.slotImage(1)->geometry()));
    EXPECT_LT(grid.slotImage(1)->height(), 60);
    EXPECT_FALSE(grid.slotImage(2)->isLoaded());
    EXPECT_EQ(grid.slotFrame(3)->geometry().topLeft(), QPoint(10 + 2 * 96, 10));

    clickSlot(2);  // the gap
    clickSlot(3);
    EXPECT_EQ(events, QStringList({"beep", "photo 3"}));
    EXPECT_FALSE(grid.isVisible());
    EXPECT_EQ(g.FotoCorrente, 3);
}

TEST_F(FotoPreviewWindowTest, EscapeClosesTheGridAndOtherKeysGoOn)
{
    PreviewRecord record;
    record.foto[0] = QStringLiteral("1");
    record.foto[1] = QStringLiteral("2");
    previews.PreparaAnteprime(record);
    grid.showModeless();
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(events, QStringList({QStringLiteral("key %1").arg(int(Qt::Key_Right))}));
    EXPECT_TRUE(grid.isVisible());
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_FALSE(grid.isVisible());
}

}  // namespace

// The photo viewer as a widget over a lesson stand-in: where it shows in
// its two sizes, and what clicks on the photograph, around it and on the
// caption indicator do.

#include "viewers/tv_foto_window.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "viewers/photo_render.h"
#include "support/memory_table.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::MemoryTable;

namespace {

class TVFotoWindowTest : public ::testing::Test {
protected:
    TVFotoWindowTest() : window(&main), viewer(g, config, reports, window, host)
    {
        main.resize(640, 480);
        main.show();
        window.attach(&viewer);
        g.dirs.DirFoto = dir.path() + QLatin1Char('/');
        QImage photo(480, 360, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        photo.save(dir.filePath(QStringLiteral("7.BMP")), "BMP");
        QFile::rename(dir.filePath(QStringLiteral("7.BMP")), dir.filePath(QStringLiteral("7.KXB")));
        table.fields[photoFieldName(1)] = QStringLiteral("7");
        table.fields[captionFieldName(1)] =
            QStringLiteral("Attenzione*60*40*200*40*1*Arial*clBlack*20*2*2*0*clWhite*0*clGray*-1*-1*-1*-1*clPurple*-1*-1*-1*-1*#");
        g.NumeroFoto = 1;
        viewer.setTable(&table);
    }

    QWidget main;
    QTemporaryDir dir;
    Globals g;
    Config config;
    NullReports reports;
    PhotoViewerHost host;
    MemoryTable table;
    TTVFoto window;
    PhotoViewer viewer;
};

TEST_F(TVFotoWindowTest, FramesThePhotographAndEnlargesItToTheWholeLesson)
{
    ASSERT_TRUE(viewer.VediFoto(1));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(14, 18, 607, 374));
    EXPECT_EQ(window.frame()->geometry(), QRect(59, 2, 490, 370));
    EXPECT_EQ(window.album()->geometry(), QRect(4, 4, 480, 360));
    EXPECT_TRUE(window.indicator()->isVisible());

    // A click on the white around the frame enlarges.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(20, 300));
    EXPECT_TRUE(viewer.isEnlarged());
    EXPECT_EQ(window.geometry(), QRect(0, 0, 640, 480));
    EXPECT_FALSE(window.indicator()->isVisible());
    const QImage shown = window.album()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(300, 300)).name(), QColor(Qt::darkGreen).name());

    // A click on the photograph brings the window size back; another one
    // closes the viewer.
    QTest::mouseClick(window.album(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_FALSE(viewer.isEnlarged());
    EXPECT_EQ(window.geometry(), QRect(14, 18, 607, 374));
    QTest::mouseClick(window.album(), Qt::LeftButton, {}, QPoint(300, 300));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(g.FotoCorrente, 0);
}

TEST_F(TVFotoWindowTest, TheIndicatorTogglesTheCaptionAndCarriesTheMenu)
{
    config.Cb_AutoText = false;
    ASSERT_TRUE(viewer.VediFoto(1));
    EXPECT_FALSE(viewer.captionVisible());
    QTest::mouseClick(window.indicator(), Qt::LeftButton);
    EXPECT_TRUE(viewer.captionVisible());
    // The caption's white box is painted over the photograph.
    const QImage shown = window.album()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(60, 50)).name(), QStringLiteral("#ffffff"));
    EXPECT_EQ(QColor(shown.pixel(300, 300)).name(), QColor(Qt::darkGreen).name());

    QTest::mouseClick(window.indicator(), Qt::RightButton);
    QMenu* menu = window.popupMenu();
    ASSERT_TRUE(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    EXPECT_TRUE(items.first()->text().startsWith(QStringLiteral("Nascondi testo")));
    menu->hide();
}

}  // namespace

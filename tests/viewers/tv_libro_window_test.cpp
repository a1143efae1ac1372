// The book page viewer as a widget over a lesson stand-in: where it shows,
// the page and its marker, the scroll keys, the wheel, the right-button drag
// and the click that closes.

#include "viewers/tv_libro_window.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"
#include "diag/error_window.h"
#include "diag/reporter.h"
#include "support/fakes.h"

#include <QFile>
#include <QMap>
#include <QPushButton>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

struct RecordHost : BookHost {
    QString field(const QString& name) const override { return fields.value(name); }
    QMap<QString, QString> fields;
};

class TVLibroWindowTest : public ::testing::Test {
protected:
    TVLibroWindowTest() : window(&main), viewer(g, reports, window, host)
    {
        main.resize(640, 480);
        main.show();
        window.attach(&viewer);
        g.dirs.DirBook = dir.path() + QLatin1Char('/');
        for (int n : {10, 12}) {
            QImage page(580, 1500, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter(&page).fillRect(0, 0, 580, 40, n == 10 ? Qt::blue : Qt::green);
            QFile f(dir.filePath(QStringLiteral("Pag%1.KXB").arg(n)));
            f.open(QIODevice::WriteOnly);
            f.write(encodeKxb(page));
        }
        host.fields[QStringLiteral("Libro")] = QStringLiteral("10");
        host.fields[QStringLiteral("FreX")] = QStringLiteral("300");
        host.fields[QStringLiteral("FreY")] = QStringLiteral("700");
    }

    QWidget main;
    QTemporaryDir dir;
    Globals g;
    NullReports reports;
    RecordHost host;
    TTVlibro window;
    BookViewer viewer;
};

TEST_F(TVLibroWindowTest, ShowsThePageWithItsMarker)
{
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(16, 17, 603, 374));
    EXPECT_EQ(window.scrollBox()->geometry(), QRect(3, 3, 600, 371));
    EXPECT_EQ(window.scrollBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(window.page()->height(), 1500);
    EXPECT_EQ(window.pagePicture().pixelColor(5, 5), QColor(Qt::blue));
    ASSERT_TRUE(window.marker()->isVisible());
    // The picture is centred; the marker points at FreX of the picture.
    const QRect pic = window.pictureRect();
    EXPECT_EQ(window.marker()->geometry(), bookMarkerBox(300, 700)->translated(pic.topLeft()));
    EXPECT_EQ(window.scrollPosition(), 685);
    // The marker is painted red.
    const QImage shot = window.marker()->grab().toImage();
    bool red = false;
    for (int y = 0; y < shot.height() && !red; ++y)
        for (int x = 0; x < shot.width() && !red; ++x)
            red = shot.pixelColor(x, y).red() > 200 && shot.pixelColor(x, y).green() < 60;
    EXPECT_TRUE(red);
}

TEST_F(TVLibroWindowTest, KeysWheelDragAndClick)
{
    ASSERT_TRUE(viewer.VediPagina(0));
    QScrollBar* bar = window.scrollBox()->verticalScrollBar();
    QTest::keyPress(&window, Qt::Key_Down);
    QTest::keyRelease(&window, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 705);
    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(&window, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(bar->value(), 0);

    QWheelEvent wheel(QPointF(100, 100), window.page()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.page(), &wheel);
    EXPECT_EQ(bar->value(), 45);

    // A right-button drag: the pointer 20 rows up scrolls 20 down.
    QTest::mousePress(window.page(), Qt::RightButton, {}, QPoint(100, 45 + 200));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 45 + 180), window.page()->mapToGlobal(QPointF(100, 225)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(window.page(), &move);
    EXPECT_EQ(bar->value(), 65);
    QTest::mouseRelease(window.page(), Qt::RightButton, {}, QPoint(100, 245));
    EXPECT_TRUE(window.isVisible());

    // The next page: the marker goes.
    ASSERT_TRUE(viewer.VediPagina(1));
    EXPECT_EQ(viewer.NumPagina(), 12);
    EXPECT_FALSE(window.marker()->isVisible());
    EXPECT_EQ(window.pagePicture().pixelColor(5, 5), QColor(Qt::green));

    // Other keys go to the main window's key map.
    QList<int> passed;
    QObject::connect(&window, &TTVlibro::keyPassed, [&passed](int key, Qt::KeyboardModifiers) { passed << key; });
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(passed, QList<int>{Qt::Key_Left});

    // A click closes.
    QTest::mouseClick(window.page(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(g.PagineLibro);
}

}  // namespace

namespace {

// The diagnostic window's position tool, driven as the shell drives it.
struct ToolHost : RecordHost {
    void showPositionTool(bool shown) override { error->showBookTool(shown); }
    void positionChanged(const QString& page, int scroll) override { error->showBookPosition(page, scroll); }
    TFError* error = nullptr;
};

struct BookOpen : ReportHost {
    const BookViewer* viewer = nullptr;
    bool bookViewerVisible() const override { return viewer && viewer->isOpen(); }
};

}  // namespace

TEST(TVLibroPositionTool, ComesWithTheViewerAndFollowsItsScroll)
{
    QWidget main;
    main.resize(640, 480);
    main.show();
    QTemporaryDir dir;
    Globals g;
    g.ProgramFile = dir.path() + QStringLiteral("/ziro");
    g.dirs.DirBook = dir.path() + QLatin1Char('/');
    QImage page(580, 1500, QImage::Format_RGB32);
    page.fill(Qt::white);
    QFile f(dir.filePath(QStringLiteral("Pag45.KXB")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeKxb(page));
    f.close();

    Reporter reporter(g);
    ziro::test::FakeDialogs dialogs;
    BookOpen reportHost;
    TFError error(&main, reporter, g, dialogs, reportHost);
    ToolHost host;
    host.error = &error;
    host.fields[QStringLiteral("Libro")] = QStringLiteral("45");
    host.fields[QStringLiteral("FreX")] = QStringLiteral("1");
    host.fields[QStringLiteral("FreY")] = QStringLiteral("315");
    TTVlibro window(&main);
    BookViewer viewer(g, reporter, window, host);
    window.attach(&viewer);
    reportHost.viewer = &viewer;

    // The diagnostic utility is up when the book opens.
    g.ModoDebug = true;
    reporter.Debug(QStringLiteral("prova"), QString());
    ASSERT_EQ(error.mode(), TFError::Mode::Debug);
    EXPECT_FALSE(error.fixPagesButton()->isVisible());
    ASSERT_TRUE(viewer.VediPagina(0));
    ASSERT_TRUE(error.fixPagesButton()->isVisible());
    EXPECT_EQ(error.fixPagesButton()->text(), QStringLiteral("Pag. 45 - Pos. 1,315"));
    viewer.FormKeyDown(Qt::Key_Down);
    EXPECT_EQ(error.fixPagesButton()->text(), QStringLiteral("Pag. 45 - Pos. 1,335"));
    viewer.Image1Click();
    EXPECT_FALSE(error.fixPagesButton()->isVisible());
}

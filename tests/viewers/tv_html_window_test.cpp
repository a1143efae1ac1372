// The HTML page window over a lesson stand-in, with a real page folder:
// how the page shows, and what presses on pictures with image maps, on
// links, in the close zone and with the right button, and keys, do.

#include "viewers/tv_html_window.h"

#include "base/globals.h"
#include "base/reports.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

struct RecordingHost : HtmlViewerHost {
    void playSound(const QString& path, bool loop) override
    {
        sounds << (loop ? QStringLiteral("L ") : QStringLiteral("S ")) + QFileInfo(path).fileName();
    }
    void closePhotoViewer() override { ++photoCloses; }
    QStringList sounds;
    int photoCloses = 0;
};

struct LoggedReports : NullReports {
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        log << QStringLiteral("%1|%2|%3").arg(reportCode(kind)).arg(context, name);
    }
    QStringList log;
};

class TVHtmlWindowTest : public ::testing::Test {
protected:
    TVHtmlWindowTest() : window(&main), viewer(g, reports, window, host)
    {
        main.resize(640, 480);
        main.show();
        window.attach(&viewer);
        window.setPopupMenu(&popup);
        popup.addAction(QStringLiteral("Argomento"));
        const QString root = dir.path() + QStringLiteral("/Html/");
        g.dirs.DirHtml = root;
        const QString folder = root + QStringLiteral("P1/");
        QDir().mkpath(folder);
        // A 100 x 50 picture shown twice its size: the map is in its own
        // pixels.
        QImage picture(100, 50, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        picture.save(folder + QStringLiteral("tavola.png"));
        picture.save(root + QStringLiteral("fuori.png"));
        writeFile(folder + QStringLiteral("MENU.HTML"),
                  "<html><body>"
                  "<img src=\"tavola.png\" usemap=\"#m\" width=\"200\" height=\"100\">"
                  "<map name=\"m\">"
                  "<area shape=\"rect\" coords=\"0,0,40,50\" href=\"RETT.HTML\">"
                  "<area shape=\"circle\" coords=\"75,25,20\" href=\"KX_SOUND/tono.wav/L\">"
                  "</map>"
                  "<p><a href=\"KX_SOUND/tono.wav/S\">Ascolta</a> <a href=\"http://www.example.org/\">web</a></p>"
                  "<img src=\"../fuori.png\">"
                  "<div style=\"height:3000px\">lunga</div>"
                  "</body></html>");
        writeFile(folder + QStringLiteral("RETT.HTML"), "<p>Rettangolo</p>");
        writeFile(folder + QStringLiteral("tono.wav"), "RIFF");
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTextBrowser* browser() { return window.browser(); }
    QWidget* page() { return browser()->viewport(); }

    // The viewport point of the anchor named by its text.
    QPoint anchorPoint(const QString& text)
    {
        QTextDocument* doc = browser()->document();
        const QTextCursor c = doc->find(text);
        EXPECT_FALSE(c.isNull());
        QTextCursor mid(doc);
        mid.setPosition(c.selectionStart() + 1);
        return browser()->cursorRect(mid).center();
    }

    QWidget main;
    QMenu popup;
    QTemporaryDir dir;
    Globals g;
    LoggedReports reports;
    RecordingHost host;
    TTVhtml window;
    HtmlViewer viewer;
};

TEST_F(TVHtmlWindowTest, ShowsThePageOverTheLessonWithoutScrollBarsAndOnlyItsOwnPictures)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(12, 13, 612, 384));
    EXPECT_FALSE(browser()->verticalScrollBar()->isVisible());
    EXPECT_FALSE(browser()->horizontalScrollBar()->isVisible());
    QTextDocument* doc = browser()->document();
    const auto picture = [doc](const char* src) {
        return doc->resource(QTextDocument::ImageResource, QUrl(QString::fromUtf8(src))).value<QImage>();
    };
    EXPECT_EQ(picture("tavola.png").size(), QSize(100, 50));
    EXPECT_TRUE(picture("../fuori.png").isNull());
    EXPECT_TRUE(browser()->hasFocus() || window.isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == nullptr);
}

TEST_F(TVHtmlWindowTest, PressesOnImageMapAreasLeadWhereTheAreaSays)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    const QPoint origin(4, 4);  // the document's margin
    EXPECT_EQ(window.mapAreaAt(origin + QPoint(150, 50)), QStringLiteral("KX_SOUND/tono.wav/L"));
    EXPECT_EQ(window.mapAreaAt(origin + QPoint(190, 90)), std::nullopt);  // on the picture, no area

    QTest::mouseClick(page(), Qt::LeftButton, {}, origin + QPoint(150, 50));
    EXPECT_EQ(host.sounds, QStringList{"L tono.wav"});
    EXPECT_EQ(viewer.pagePath(), dir.path() + QStringLiteral("/Html/P1/MENU.HTML"));

    QTest::mouseClick(page(), Qt::LeftButton, {}, origin + QPoint(30, 60));
    EXPECT_EQ(viewer.pagePath(), dir.path() + QStringLiteral("/Html/P1/RETT.HTML"));
    EXPECT_TRUE(browser()->toPlainText().contains(QStringLiteral("Rettangolo")));
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(TVHtmlWindowTest, LinksPlaySoundsAndTheWebIsRefused)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    QTest::mouseClick(page(), Qt::LeftButton, {}, anchorPoint(QStringLiteral("Ascolta")));
    EXPECT_EQ(host.sounds, QStringList{"S tono.wav"});
    QTest::mouseClick(page(), Qt::LeftButton, {}, anchorPoint(QStringLiteral("web")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(viewer.pagePath(), dir.path() + QStringLiteral("/Html/P1/MENU.HTML"));
    ASSERT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("20|")));
}

TEST_F(TVHtmlWindowTest, TheCloseZoneClosesAndARightPressOpensTheLessonPopUp)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    // Client (600, 300) lies at viewport (600, 302): the browser sits 2 up.
    QTest::mousePress(page(), Qt::RightButton, {}, QPoint(600, 302));
    EXPECT_TRUE(popup.isVisible());
    popup.hide();
    QTest::mouseRelease(page(), Qt::RightButton, {}, QPoint(600, 302));
    EXPECT_TRUE(window.isVisible());

    QTest::mouseClick(page(), Qt::LeftButton, {}, QPoint(549, 20 + 2));  // on the edge: the page's
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(page(), Qt::LeftButton, {}, QPoint(570, 20 + 2));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(viewer.isOpen());
    EXPECT_EQ(host.photoCloses, 1);
    EXPECT_TRUE(browser()->toPlainText().isEmpty());
}

TEST_F(TVHtmlWindowTest, EscClosesAndOtherKeysGoToTheLesson)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    QSignalSpy passed(&window, &TTVhtml::keyPassed);
    const int before = browser()->verticalScrollBar()->value();
    QTest::keyClick(browser(), Qt::Key_PageDown);
    QTest::keyClick(browser(), Qt::Key_Right);
    EXPECT_EQ(browser()->verticalScrollBar()->value(), before);  // keys do not scroll the page
    ASSERT_EQ(passed.size(), 2);
    EXPECT_EQ(passed[1][0].toInt(), int(Qt::Key_Right));
    QTest::keyClick(browser(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(passed.size(), 2);
}

}  // namespace

namespace {

// Pages that are broken in every way a file can be still show what they
// can, and presses on them do nothing worse than nothing.
TEST_F(TVHtmlWindowTest, BrokenPagesShowWhatTheyCan)
{
    const QString folder = dir.path() + QStringLiteral("/Html/ROTTA/");
    QDir().mkpath(folder);
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    const QByteArray pages[] = {
        garbage,
        "<html><body><img src=\"tavola.png\" usemap=\"#m\"><map name=\"m\"><area shape=circle coords=\"1,",
        "<table><tr><td rowspan=99999 colspan=-4><img src=\"/etc/passwd\" usemap=#><a href=\"KX_SOUND",
        "<map name=\"m\"><area shape=poly coords=\"a,b,c,d,e,f\" href=\"x.html\"></map><img src=x usemap=#m>",
    };
    for (const QByteArray& bytes : pages) {
        writeFile(folder + QStringLiteral("MENU.HTML"), bytes);
        ASSERT_TRUE(viewer.VediHtml(QStringLiteral("ROTTA")));
        for (const QPoint p : {QPoint(10, 10), QPoint(100, 40), QPoint(300, 200)})
            QTest::mouseClick(page(), Qt::LeftButton, {}, p);
        EXPECT_TRUE(host.sounds.isEmpty());
        viewer.ChiudiHtml();
        EXPECT_FALSE(window.isVisible());
    }
}

}  // namespace

namespace {

// The lesson under the page takes no clicks while the page is up; windows
// laid over the lesson (what the pop-up opens) still do.
TEST_F(TVHtmlWindowTest, TheLessonUnderThePageTakesNoClicks)
{
    auto* lessonButton = new QPushButton(&main);
    lessonButton->setGeometry(600, 440, 30, 30);
    lessonButton->show();
    OverlayWindow over(&main, QStringLiteral("TMenuGen"), QRect(100, 100, 200, 100));
    auto* menuButton = new QPushButton(&over);
    menuButton->setGeometry(10, 10, 50, 30);
    QSignalSpy lesson(lessonButton, &QPushButton::clicked);
    QSignalSpy menu(menuButton, &QPushButton::clicked);

    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("P1")));
    QTest::mouseClick(lessonButton, Qt::LeftButton);
    EXPECT_EQ(lesson.size(), 0);
    over.showModeless();
    QTest::mouseClick(menuButton, Qt::LeftButton);
    EXPECT_EQ(menu.size(), 1);
    over.hide();

    viewer.ChiudiHtml();
    QTest::mouseClick(lessonButton, Qt::LeftButton);
    EXPECT_EQ(lesson.size(), 1);
}

}  // namespace

// The HTML page viewer's logic over a fake window and host, with real page
// folders: which page opens, what sound links, image maps, presses and keys
// do, what is refused, and what closing the page sets going.

#include "viewers/html_page.h"

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

struct FakeView : HtmlView {
    void showPage(const QString& html, const QUrl& base, const QString&) override
    {
        pages << base.toLocalFile();
        shownHtml = html;
    }
    void scrollToAnchor(const QString& name) override { anchors << name; }
    void showWindow(const QRect& geometry) override
    {
        visible = true;
        shownAt = geometry;
    }
    void hideWindow() override { visible = false; }
    QStringList pages;
    QString shownHtml;
    QStringList anchors;
    bool visible = false;
    QRect shownAt;
};

// Every call in order, so that the order of the closing steps shows.
struct FakeHost : HtmlViewerHost {
    void clearHover() override { calls << QStringLiteral("hover"); }
    void shrinkFilm() override { calls << QStringLiteral("shrinkFilm"); }
    void toggleFilmPause() override { calls << QStringLiteral("pause"); }
    void playRecordSound() override { calls << QStringLiteral("ascolta"); }
    void playSound(const QString& path, bool loop) override
    {
        calls << (loop ? QStringLiteral("loop ") : QStringLiteral("once ")) + QFileInfo(path).fileName();
        played << path;
    }
    void stopSound() override { calls << QStringLiteral("stop"); }
    QString currentTopic() const override { return topic; }
    bool bookVisible() const override { return book; }
    void focusBook() override { calls << QStringLiteral("focusBook"); }
    bool quizVisible() const override { return quiz; }
    void focusQuiz() override { calls << QStringLiteral("focusQuiz"); }
    bool photoViewerVisible() const override { return photo; }
    void focusPhotoViewer() override { calls << QStringLiteral("focusPhoto"); }
    void closePhotoViewer() override { calls << QStringLiteral("closePhoto"); }
    void closePreviews() override { calls << QStringLiteral("closePreviews"); }
    void openPhoto(int n) override { calls << QStringLiteral("photo %1").arg(n); }

    QStringList calls;
    QStringList played;
    QString topic = QStringLiteral("B01");
    bool book = false, quiz = false, photo = false;
};

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class HtmlViewerTest : public ::testing::Test {
protected:
    HtmlViewerTest() : viewer(g, reports, view, host)
    {
        root = dir.path() + QStringLiteral("/Html/");
        g.dirs.DirHtml = root;
        write(root + QStringLiteral("H01/MENU.HTML"),
              "<html><body><a href=\"KX_SOUND/campana.wav/S\">x</a>"
              "<img src=\"tavola.png\" usemap=\"#m\"><map name=\"m\">"
              "<area shape=\"rect\" coords=\"0,0,10,10\" href=\"PAG2.HTML\"></map></body></html>");
        write(root + QStringLiteral("H01/PAG2.HTML"), "<p>due</p>");
        write(root + QStringLiteral("H01/campana.wav"), "RIFF");
        write(root + QStringLiteral("H01/sub/tono alto.wav"), "RIFF");
        write(root + QStringLiteral("H02/menu.htm"), "<p>vecchia</p>");
        write(root + QStringLiteral("segreto.wav"), "RIFF");
        write(root + QStringLiteral("H03/PW.BMP"), "BM");
    }

    bool open(const QString& page = QStringLiteral("H01"))
    {
        const bool ok = viewer.VediHtml(page);
        host.calls.clear();
        return ok;
    }

    QTemporaryDir dir;
    QString root;
    Globals g;
    LoggedReports reports;
    FakeView view;
    FakeHost host;
    HtmlViewer viewer;
};

TEST(HtmlPageGeometry, WindowSitsOverTheMainWindowAndZonesCountStrictlyInside)
{
    EXPECT_EQ(htmlWindowGeometry(QRect(0, 0, 640, 480)), QRect(12, 13, 612, 384));
    EXPECT_TRUE(inHtmlCloseZone(QPoint(550, 9)));
    EXPECT_TRUE(inHtmlCloseZone(QPoint(598, 33)));
    for (const QPoint edge : {QPoint(549, 20), QPoint(599, 20), QPoint(570, 8), QPoint(570, 34)})
        EXPECT_FALSE(inHtmlCloseZone(edge)) << edge.x() << "," << edge.y();
    EXPECT_FALSE(inHtmlBlockedZone(QPoint(520, 20), false));
    EXPECT_TRUE(inHtmlBlockedZone(QPoint(520, 20), true));
}

TEST(HtmlPageGeometry, PopUpMovesAwayFromTheRightAndBottomEdges)
{
    EXPECT_EQ(htmlPopupPoint(QPoint(450, 290)), QPoint(450, 290));
    EXPECT_EQ(htmlPopupPoint(QPoint(451, 100)), QPoint(276, 100));
    EXPECT_EQ(htmlPopupPoint(QPoint(100, 291)), QPoint(100, 116));
    EXPECT_EQ(htmlPopupPoint(QPoint(600, 370)), QPoint(425, 195));
}

TEST(HtmlSoundLink, ModesNamesAndRefusals)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/H01/");
    QDir().mkpath(folder + QStringLiteral("sub"));
    write(folder + QStringLiteral("Campana.WAV"), "RIFF");
    using A = SoundRequest::Action;
    struct Case {
        const char* address;
        A action;
        const char* file;  // relative to the folder, for Loop and Once
    };
    const Case cases[] = {
        {"KX_SOUND/campana.wav/L", A::Loop, "Campana.WAV"},  // letter case as on disk
        {"file:///x/KX_SOUND/campana.wav/S", A::Once, "Campana.WAV"},
        {"KX_SOUND|campana.wav|X", A::Stop, nullptr},
        {"KX_SOUND//X", A::Stop, nullptr},
        {"KX_SOUND/a/", A::Stop, nullptr},
        {"KX_SOUND/tono%20alto.wav/S", A::Once, "tono alto.wav"},
        {"KX_SOUND%5Csub%5Cbip.wav%5CS", A::Once, "sub/bip.wav"},
        {"KX_SOUND", A::Refused, nullptr},
        {"KX_SOUNDxS", A::Refused, nullptr},
        {"KX_SOUND/X", A::Refused, nullptr},  // too short even to stop
        {"KX_SOUND/S", A::Refused, nullptr},
        {"KX_SOUND//S", A::Refused, nullptr},
        {"KX_SOUND/../segreto.wav/S", A::Refused, nullptr},
        {"KX_SOUND/..%2F..%2Fetc%2Fpasswd.wav/S", A::Refused, nullptr},
        {"KX_SOUND//etc/x.wav/S", A::Refused, nullptr},
        {"KX_SOUND/C:/x.wav/L", A::Refused, nullptr},
        {"KX_SOUND/campana.mp3/S", A::Refused, nullptr},
        {"KX_SOUND/../../etc/passwd/L", A::Refused, nullptr},
    };
    for (const Case& c : cases) {
        const SoundRequest r = parseSoundLink(QString::fromUtf8(c.address), folder);
        EXPECT_EQ(r.action, c.action) << c.address;
        if (c.file)
            EXPECT_EQ(QDir::cleanPath(r.path), QDir::cleanPath(folder + QString::fromUtf8(c.file))) << c.address;
        else
            EXPECT_TRUE(r.path.isEmpty()) << c.address;
        EXPECT_EQ(r.problem.isEmpty(), c.action != A::Refused) << c.address;
    }
}

TEST(HtmlNavigation, OnlyFilesOfThePageFolderAreFollowed)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Html/H01/");
    QDir().mkpath(folder);
    const QUrl base = QUrl::fromLocalFile(folder + QStringLiteral("MENU.HTML"));
    EXPECT_EQ(pageFileOf(QUrl(QStringLiteral("PAG2.HTML")), base, folder), folder + QStringLiteral("PAG2.HTML"));
    EXPECT_EQ(pageFileOf(QUrl(QStringLiteral("a/b.htm#x")), base, folder), folder + QStringLiteral("a/b.htm"));
    for (const char* refused : {"http://example.org/", "https://example.org/x.html", "mailto:a@b.it",
                                "javascript:alert(1)", "../../etc/passwd", "../H02/MENU.HTML",
                                "../H01b/MENU.HTML", "..",
                                "..%2F..%2Fetc%2Fpasswd", "file:///etc/passwd", "file://server/share/x.html",
                                "/etc/passwd"})
        EXPECT_FALSE(pageFileOf(QUrl(QString::fromUtf8(refused)), base, folder)) << refused;
}

TEST(HtmlImageMap, ShapesAndOrderDecideTheHit)
{
    const ImageMaps maps = parseImageMaps(QStringLiteral(
        "<MAP NAME='tavola'>"
        "<area shape=circle coords=\"50,50,10\" href=\"cerchio.html\">"
        "<AREA SHAPE=\"rect\" COORDS=\"0, 0, 100, 100\" HREF=\"a.html?x=1&amp;y=2\">"
        "<area shape=\"poly\" coords=\"200,0 300,0 250,100\" href=\"tri.html\">"
        "<area shape=\"rect\" coords=\"300,300,310,310\" nohref>"
        "<area shape=\"star\" coords=\"0,0,999,999\" href=\"never.html\">"
        "<area shape=\"default\" href=\"resto.html\">"
        "</map><map name=\"vuota\"></map><map name=\"rotta\"><area coords=\"1,2\" href=\"x.html\">"));
    ASSERT_EQ(maps.size(), 3);
    const QList<MapArea> t = maps.value(QStringLiteral("tavola"));
    ASSERT_EQ(t.size(), 5);
    struct Case {
        QPoint p;
        std::optional<QString> href;
    };
    const Case cases[] = {
        {{50, 45}, QStringLiteral("cerchio.html")},  // the first area wins over the rect under it
        {{5, 5}, QStringLiteral("a.html?x=1&y=2")},
        {{100, 100}, QStringLiteral("a.html?x=1&y=2")},
        {{250, 50}, QStringLiteral("tri.html")},
        {{210, 90}, QStringLiteral("resto.html")},  // outside the triangle: the default
        {{305, 305}, QString()},                    // nohref takes the press
    };
    for (const Case& c : cases)
        EXPECT_EQ(hitImageMap(t, c.p), c.href) << c.p.x() << "," << c.p.y();
    EXPECT_EQ(hitImageMap(maps.value(QStringLiteral("vuota")), QPoint(1, 1)), std::nullopt);
    EXPECT_EQ(hitImageMap(maps.value(QStringLiteral("rotta")), QPoint(1, 2)), std::nullopt);
    // Centres and radii at the ends of int: the distance is taken in full
    // (wrapped in 32 bits, the first point would seem inside).
    const ImageMaps far = parseImageMaps(QStringLiteral(
        "<map name=m><area shape=circle coords=\"-2147483648,0,2147483647\" href=lontano.html>"
        "<area shape=circle coords=\"2147483647,2147483647,5\" href=angolo.html></map>"));
    EXPECT_EQ(hitImageMap(far.value(QStringLiteral("m")), QPoint(20, 0)), std::nullopt);
    EXPECT_EQ(hitImageMap(far.value(QStringLiteral("m")), QPoint(-20, -3)), QStringLiteral("lontano.html"));
    const ImageMaps huge = parseImageMaps(QStringLiteral(
        "<map name=m><area shape=rect coords=\"nan,nan,inf,1e30\" href=mai.html>"
        "<area shape=rect coords=\"-1e30,-1e30,1e30,1e30\" href=tutto.html></map>"));
    EXPECT_EQ(hitImageMap(huge.value(QStringLiteral("m")), QPoint(5, 5)), QStringLiteral("tutto.html"));

    const QList<PageImage> images = parseImages(
        QStringLiteral("<img src=\"a.png\"><IMG alt='x' USEMAP=\"#tavola\" SRC='b.png'/><img usemap=#m src=c.png>"));
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[0].map, QString());
    EXPECT_EQ(images[1].src, QStringLiteral("b.png"));
    EXPECT_EQ(images[1].map, QStringLiteral("tavola"));
    EXPECT_EQ(images[2].map, QStringLiteral("m"));
}

TEST(HtmlPageFile, EncodingsAndSizeLimit)
{
    QTemporaryDir dir;
    const QString utf8 = dir.filePath(QStringLiteral("u.html"));
    const QString cp = dir.filePath(QStringLiteral("w.html"));
    const QString huge = dir.filePath(QStringLiteral("h.html"));
    write(utf8, QString::fromUtf8("<p>perché</p>").toUtf8());
    write(cp, QByteArray("<p>perch\xe9</p>"));
    write(huge, QByteArray(kMaxPageBytes + 1, 'a'));
    QString problem;
    EXPECT_EQ(readPage(utf8, &problem), QString::fromUtf8("<p>perché</p>"));
    EXPECT_EQ(readPage(cp, &problem), QString::fromUtf8("<p>perché</p>"));
    EXPECT_EQ(readPage(huge, &problem), std::nullopt);
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_EQ(readPage(dir.filePath(QStringLiteral("nessuna.html")), &problem), std::nullopt);
}

TEST_F(HtmlViewerTest, OpensMenuHtmlOrElseMenuHtmShowingTheWindowOverTheLesson)
{
    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("H01")));
    EXPECT_TRUE(viewer.isOpen());
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(view.shownAt, QRect(12, 13, 612, 384));
    EXPECT_EQ(viewer.pageFolder(), root + QStringLiteral("H01/"));
    EXPECT_EQ(view.pages.last(), root + QStringLiteral("H01/MENU.HTML"));
    EXPECT_TRUE(viewer.imageMaps().contains(QStringLiteral("m")));
    EXPECT_EQ(host.calls, (QStringList{"stop", "hover", "shrinkFilm"}));

    ASSERT_TRUE(viewer.VediHtml(QStringLiteral("h02")));
    EXPECT_EQ(view.pages.last(), root + QStringLiteral("H02/menu.htm"));
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(HtmlViewerTest, AMissingOrUnsafePageIsReportedAndNothingOpens)
{
    for (const char* page : {"H03", "H09", "../H01", "H01/../H01", ""}) {
        reports.log.clear();
        EXPECT_FALSE(viewer.VediHtml(QString::fromUtf8(page))) << page;
        EXPECT_FALSE(viewer.isOpen()) << page;
        EXPECT_FALSE(view.visible) << page;
        ASSERT_EQ(reports.log.size(), 1) << page;
        EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("1|Display HTML|"))) << page;
    }
    EXPECT_TRUE(view.pages.isEmpty());
    EXPECT_EQ(reports.log[0], QStringLiteral("1|Display HTML|") + root + QStringLiteral("/MENU.HTML"));

    write(root + QStringLiteral("H04/MENU.HTML"), QByteArray(kMaxPageBytes + 10, '<'));
    reports.log.clear();
    EXPECT_FALSE(viewer.VediHtml(QStringLiteral("H04")));
    EXPECT_FALSE(view.visible);
    ASSERT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("2|Display HTML|"))) << reports.log[0].toStdString();
}

TEST_F(HtmlViewerTest, SoundLinksPlayLoopAndStopAfterStoppingTheSoundBefore)
{
    ASSERT_TRUE(open());
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/campana.wav/L")));
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/sub/tono%20alto.wav/S")));
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/campana.wav/X")));
    EXPECT_EQ(host.calls, (QStringList{"stop", "loop campana.wav", "stop", "once tono alto.wav", "stop"}));
    EXPECT_TRUE(reports.log.isEmpty());
    EXPECT_EQ(view.pages.size(), 1);  // no link was followed as a page

    host.calls.clear();
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/../segreto.wav/L")));
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/S")));
    EXPECT_EQ(host.calls, (QStringList{"stop", "stop"}));
    ASSERT_EQ(reports.log.size(), 2);
    EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("20|Display HTML|")));
}

TEST_F(HtmlViewerTest, PagesOfTheFolderAreFollowedAndEverythingElseRefusedAndLogged)
{
    ASSERT_TRUE(open());
    viewer.linkActivated(QUrl(QStringLiteral("PAG2.HTML")));
    EXPECT_EQ(view.pages.last(), root + QStringLiteral("H01/PAG2.HTML"));
    EXPECT_EQ(viewer.pagePath(), root + QStringLiteral("H01/PAG2.HTML"));
    viewer.linkActivated(QUrl(QStringLiteral("MENU.HTML#fine")));
    EXPECT_EQ(view.pages.last(), root + QStringLiteral("H01/MENU.HTML"));
    EXPECT_EQ(view.anchors, QStringList{"fine"});
    viewer.linkActivated(QUrl(QStringLiteral("#inizio")));
    EXPECT_EQ(view.pages.size(), 3);
    EXPECT_EQ(view.anchors.last(), QStringLiteral("inizio"));
    EXPECT_TRUE(reports.log.isEmpty());

    host.calls.clear();
    for (const char* bad : {"http://www.example.org/", "../../etc/passwd", "../H02/menu.htm", "file:///etc/passwd"})
        viewer.linkActivated(QUrl(QString::fromUtf8(bad)));
    EXPECT_EQ(view.pages.size(), 3);
    EXPECT_EQ(host.calls, (QStringList{"stop", "stop", "stop", "stop"}));
    ASSERT_EQ(reports.log.size(), 4);
    for (const QString& line : reports.log)
        EXPECT_TRUE(line.startsWith(QStringLiteral("20|Display HTML|"))) << line.toStdString();

    // A page of the folder that is missing: said, and the page on show stays.
    reports.log.clear();
    viewer.linkActivated(QUrl(QStringLiteral("NESSUNA.HTML")));
    EXPECT_EQ(view.pages.size(), 3);
    ASSERT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("1|Display HTML|")));
}

TEST_F(HtmlViewerTest, CloseZoneClosesAndLaterSoundLinksAreIgnored)
{
    ASSERT_TRUE(open());
    EXPECT_EQ(viewer.mouse(QPoint(100, 100), Qt::LeftButton), HtmlViewer::Mouse::PassOn);
    EXPECT_EQ(viewer.mouse(QPoint(600, 300), Qt::RightButton), HtmlViewer::Mouse::PopUp);
    EXPECT_EQ(viewer.mouse(QPoint(560, 20), Qt::LeftButton), HtmlViewer::Mouse::Closed);
    EXPECT_FALSE(viewer.isOpen());
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(viewer.closing());
    EXPECT_EQ(host.calls.first(), QStringLiteral("closePhoto"));
    host.calls.clear();
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/campana.wav/S")));
    EXPECT_TRUE(host.played.isEmpty());

    // The next show starts afresh.
    ASSERT_TRUE(open());
    EXPECT_FALSE(viewer.closing());
    viewer.linkActivated(QUrl(QStringLiteral("KX_SOUND/campana.wav/S")));
    EXPECT_EQ(host.played.size(), 1);
}

TEST_F(HtmlViewerTest, EscClosesAndOtherKeysAreTheLessons)
{
    ASSERT_TRUE(open());
    EXPECT_FALSE(viewer.keyReleased(Qt::Key_Right));
    EXPECT_TRUE(viewer.isOpen());
    EXPECT_TRUE(viewer.keyReleased(Qt::Key_Escape));
    EXPECT_FALSE(viewer.isOpen());
}

TEST_F(HtmlViewerTest, ClosingFollowUps)
{
    struct Case {
        const char* name;
        TModoQuiz edition;
        const char* topic;
        bool filmOpen, filmPlaying, book, quiz, photo, audio;
        QStringList calls;
    };
    const Case cases[] = {
        {"plain", TModoQuiz::mqAB, "B01", false, false, false, false, false, false,
         {"stop", "closePreviews"}},
        {"J10 in A-B shows photo 1", TModoQuiz::mqAB, "J10", false, false, false, false, false, false,
         {"stop", "closePreviews", "photo 1"}},
        {"J11 in A-B", TModoQuiz::mqAB, "J11", false, false, false, false, false, false,
         {"stop", "closePreviews", "photo 1"}},
        {"J10 in C-D", TModoQuiz::mqCD, "J10", false, false, false, false, false, false,
         {"stop", "closePreviews"}},
        {"a playing film is paused", TModoQuiz::mqAB, "B01", true, true, false, false, false, false,
         {"stop", "pause", "closePreviews"}},
        {"a paused film stays paused", TModoQuiz::mqAB, "B01", true, false, false, false, false, false,
         {"stop", "closePreviews"}},
        {"book first, then photo", TModoQuiz::mqAB, "B01", false, false, true, true, true, false,
         {"stop", "focusBook", "focusPhoto", "closePreviews"}},
        {"quiz without film", TModoQuiz::mqAB, "B01", false, false, false, true, false, false,
         {"stop", "focusQuiz", "closePreviews"}},
        {"quiz under a film keeps no focus", TModoQuiz::mqAB, "B01", true, false, false, true, false, false,
         {"stop", "closePreviews"}},
        {"record sound", TModoQuiz::mqAB, "B01", false, false, false, false, false, true,
         {"stop", "closePreviews", "ascolta"}},
    };
    for (const Case& c : cases) {
        g.Edizione = c.edition;
        host.topic = QString::fromUtf8(c.topic);
        g.VideoAperto = c.filmOpen;
        g.VideoInCorso = c.filmPlaying;
        host.book = c.book;
        host.quiz = c.quiz;
        host.photo = c.photo;
        g.AudioON = c.audio;
        ASSERT_TRUE(open()) << c.name;
        viewer.ChiudiHtml();
        EXPECT_EQ(host.calls, c.calls) << c.name;
        EXPECT_FALSE(view.visible) << c.name;
        host.calls.clear();
        viewer.ChiudiHtml();  // closing a closed page does nothing
        EXPECT_TRUE(host.calls.isEmpty()) << c.name;
    }
}

}  // namespace
}  // namespace ziro

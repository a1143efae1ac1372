// The book page viewer's logic over a fake window and host, with real page
// files in a temporary folder: which page shows, where the marker sits, how
// pages are turned, scrolled, dragged and closed, and what bad input gets.

#include "viewers/book.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/time.h>

namespace ziro {
namespace {

struct LoggedReports : NullReports {
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        log << QStringLiteral("%1|%2|%3").arg(reportCode(kind)).arg(context, name);
    }
    void Debug(const QString& context, const QString& text) override { debug << context + QLatin1Char('|') + text; }
    QStringList log;
    QStringList debug;
};

struct FakeView : BookViewPort {
    void showWindow(const QPoint& p) override
    {
        at = p;
        visible = true;
    }
    void hideWindow() override { visible = false; }
    bool windowVisible() const override { return visible; }
    void setPage(const QImage& p) override { page = p; }
    void setMarker(const std::optional<QRect>& b) override { marker = b; }
    int scrollPosition() const override { return scroll; }
    int scrollMaximum() const override { return std::max(0, page.height() - 371); }
    void setScrollPosition(int y) override { scroll = std::clamp(y, 0, scrollMaximum()); }
    void setDragging(bool on) override { dragging = on; }
    void passKey(int key, Qt::KeyboardModifiers) override { passed << key; }

    QPoint at;
    bool visible = false;
    QImage page;
    std::optional<QRect> marker;
    int scroll = 0;
    bool dragging = false;
    QList<int> passed;
};

struct FakeHost : BookHost {
    QString field(const QString& name) const override { return fields.value(name); }
    void toggleFilmPause() override { ++pauses; }
    bool photoViewerVisible() const override { return photo; }
    bool quizVisible() const override { return quiz; }
    void focusQuiz() override { ++quizFocus; }
    bool crossroadsVisible() const override { return cross; }
    void refreshCrossroads() override { ++crossRefresh; }
    void showPositionTool(bool shown) override { tool = shown; }
    void positionChanged(const QString& page, int scroll) override { position = page + QLatin1Char('@') + QString::number(scroll); }

    QMap<QString, QString> fields;
    int pauses = 0;
    bool photo = false;
    bool quiz = false;
    int quizFocus = 0;
    bool cross = false;
    int crossRefresh = 0;
    bool tool = false;
    QString position;
};

QImage pagePicture(int height, QColor colour = Qt::white)
{
    QImage img(580, height, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

bool writePage(const QString& path, int height = 1500)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(encodeKxb(pagePicture(height))) > 0;
}

class BookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* sub : {"Book", "Book AM", "Book CDE", "Book CQC"})
            ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromLatin1(sub)));
        g.dirs.DirBook = dir.path() + QStringLiteral("/Book/");
        g.dirs.DirBookAM = dir.path() + QStringLiteral("/Book AM/");
        g.dirs.DirBookCDE = dir.path() + QStringLiteral("/Book CDE/");
        g.dirs.DirBookCQC = dir.path() + QStringLiteral("/Book CQC/");
        for (int n : {1, 2, 3, 5, 45, 235, 236})
            ASSERT_TRUE(writePage(g.dirs.DirBook + QStringLiteral("Pag%1.KXB").arg(n)));
    }
    void record(const QString& libro, int x = 0, int y = 0)
    {
        host.fields[QStringLiteral("Libro")] = libro;
        host.fields[QStringLiteral("FreX")] = QString::number(x);
        host.fields[QStringLiteral("FreY")] = QString::number(y);
    }

    QTemporaryDir dir;
    Globals g;
    LoggedReports reports;
    FakeView view;
    FakeHost host;
    BookViewer viewer{g, reports, view, host};
};

TEST(BookRules, EditionFolderAndHighestPage)
{
    Globals g;
    g.dirs.DirBook = QStringLiteral("/b/");
    g.dirs.DirBookAM = QStringLiteral("/am/");
    g.dirs.DirBookCDE = QStringLiteral("/cde/");
    g.dirs.DirBookCQC = QStringLiteral("/cqc/");
    g.Edizione = TModoQuiz::mqAB;
    EXPECT_EQ(bookEdition(g).folder, QStringLiteral("/b/"));
    EXPECT_EQ(bookEdition(g).highestPage, 236);
    g.Edizione = TModoQuiz::mqAM;
    EXPECT_EQ(bookEdition(g).folder, QStringLiteral("/am/"));
    EXPECT_EQ(bookEdition(g).highestPage, 185);
    g.Edizione = TModoQuiz::mqCD;
    EXPECT_EQ(bookEdition(g).folder, QStringLiteral("/cde/"));
    EXPECT_EQ(bookEdition(g).highestPage, 9999999);
    g.Edizione = TModoQuiz::mqCQ;
    EXPECT_EQ(bookEdition(g).folder, QStringLiteral("/cqc/"));
    EXPECT_EQ(bookEdition(g).highestPage, 9999999);
}

TEST(BookRules, PageNumberFromTheFirstThreeCharacters)
{
    EXPECT_EQ(parsePageNumber(QStringLiteral("45")), 45);
    EXPECT_EQ(parsePageNumber(QStringLiteral("045")), 45);
    EXPECT_EQ(parsePageNumber(QStringLiteral("236")), 236);
    EXPECT_EQ(parsePageNumber(QStringLiteral("999999999")), 999);
    EXPECT_EQ(parsePageNumber(QStringLiteral("12a")), 12);
    EXPECT_EQ(parsePageNumber(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(parsePageNumber(QString()), std::nullopt);
}

TEST(BookRules, MarkerGeometry)
{
    EXPECT_EQ(bookMarkerBox(0, 300), std::nullopt);
    EXPECT_EQ(bookMarkerBox(-5, 300), std::nullopt);
    const QRect box = *bookMarkerBox(200, 300, QSize(40, 37));
    EXPECT_EQ(box.top(), 300 - 37 / 2 + 2);
    EXPECT_EQ(box.left(), 200 - 40 + 3);
    EXPECT_EQ(box.size(), QSize(40, 37));
    EXPECT_EQ(bookMarkerScroll(300), 285);
}

TEST(BookRules, DragArithmetic)
{
    // Pointer 30 rows above where the drag began: 30 further down.
    BookDrag d = bookDragMove(100, 200, 170, 1000);
    EXPECT_EQ(d.scroll, 130);
    EXPECT_EQ(d.start, 200);
    // At the top the drag starts again from the pointer.
    d = bookDragMove(10, 100, 150, 1000);
    EXPECT_EQ(d.scroll, 0);
    EXPECT_EQ(d.start, 150);
    // At 550 or more too: exactly 550 ...
    d = bookDragMove(530, 100, 80, 1000);
    EXPECT_EQ(d.scroll, 550);
    EXPECT_EQ(d.start, 80);
    // ... and 549 not.
    d = bookDragMove(529, 100, 80, 1000);
    EXPECT_EQ(d.scroll, 549);
    EXPECT_EQ(d.start, 100);
    d = bookDragMove(540, 100, 80, 1000);
    EXPECT_EQ(d.scroll, 560);
    EXPECT_EQ(d.start, 80);
    // Never past the end of the range.
    d = bookDragMove(300, 300, 0, 320);
    EXPECT_EQ(d.scroll, 320);
    EXPECT_EQ(d.start, 0);
}

TEST_F(BookTest, IndexFindsExistingPagesFromOneListing)
{
    BookPageIndex& index = viewer.index();
    const QString folder = g.dirs.DirBook;
    ASSERT_TRUE(writePage(folder + QStringLiteral("pag7.kxb")));
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag007.KXB")));  // not a name built from a number
    QFile(folder + QStringLiteral("Pag9.txt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(index.pages(folder), (std::vector<int>{1, 2, 3, 5, 7, 45, 235, 236}));
    EXPECT_EQ(index.CercaPagina(folder, 3, 1, 236), 5);
    EXPECT_EQ(index.CercaPagina(folder, 5, 1, 236), 7);
    EXPECT_EQ(index.CercaPagina(folder, 45, 1, 200), 0);  // nothing up to the highest page
    EXPECT_EQ(index.CercaPagina(folder, 45, -1, 236), 7);
    EXPECT_EQ(index.CercaPagina(folder, 1, -1, 236), 0);
    EXPECT_EQ(index.CercaPagina(folder, 300, 1, 236), 0);  // above the highest page
    EXPECT_EQ(index.pathOf(folder, 7), folder + QStringLiteral("pag7.kxb"));
    EXPECT_EQ(index.pathOf(folder, 0), folder + QStringLiteral("Pag0.KXB"));
}

TEST_F(BookTest, IndexIsReadAgainWhenTheFolderChanges)
{
    BookPageIndex& index = viewer.index();
    const QString folder = g.dirs.DirBookCDE;
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag10.KXB")));
    EXPECT_EQ(index.CercaPagina(folder, 10, 1, 9999999), 0);
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag9000000.KXB")));
    EXPECT_EQ(index.CercaPagina(folder, 10, 1, 9999999), 9000000);
}

TEST_F(BookTest, AChangeHiddenBehindAnUnchangedFolderTimeIsFoundWhileRecent)
{
    // A file system whose clock is coarse: the folder keeps its time across
    // a change made just after it was listed.
    BookPageIndex& index = viewer.index();
    const QString folder = g.dirs.DirBookAM;
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag10.KXB")));
    struct timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[1] = times[0];
    const QByteArray native = QFile::encodeName(folder);
    ASSERT_EQ(utimes(native.constData(), times), 0);
    EXPECT_EQ(index.CercaPagina(folder, 10, 1, 185), 0);
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag11.KXB")));
    ASSERT_EQ(utimes(native.constData(), times), 0);
    EXPECT_EQ(index.CercaPagina(folder, 10, 1, 185), 11);
    // A folder untouched for a while is listed once.
    times[0].tv_sec -= 60;
    times[1] = times[0];
    ASSERT_EQ(utimes(native.constData(), times), 0);
    EXPECT_EQ(index.CercaPagina(folder, 10, 1, 185), 11);
    const int listings = index.listings();
    EXPECT_EQ(index.CercaPagina(folder, 11, -1, 185), 10);
    EXPECT_EQ(index.listings(), listings);
}

TEST_F(BookTest, RecordPageWithoutMarker)
{
    record(QStringLiteral("45"), 0, 0);
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_TRUE(view.visible);
    EXPECT_TRUE(g.PagineLibro);
    EXPECT_EQ(viewer.NumPagina(), 45);
    EXPECT_EQ(viewer.PaginaLibroCorrente(), QStringLiteral("45"));
    EXPECT_EQ(view.scroll, 0);
    EXPECT_EQ(view.marker, std::nullopt);
    EXPECT_EQ(view.page.height(), 1500);
    EXPECT_TRUE(host.tool);
    EXPECT_EQ(host.position, QStringLiteral("45@0"));
    // Placed over the main window: top = (480 - 374) div 2 - 36, left =
    // (640 - 603) div 2 - 2.
    EXPECT_EQ(view.at, QPoint(16, 17));
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(BookTest, MarkerAndScroll)
{
    record(QStringLiteral("45"), 200, 300);
    ASSERT_TRUE(viewer.VediPagina(0));
    ASSERT_TRUE(view.marker);
    EXPECT_EQ(*view.marker, *bookMarkerBox(200, 300));
    EXPECT_EQ(view.scroll, 285);
}

TEST_F(BookTest, StepsTurnToExistingPagesAndHideTheMarker)
{
    record(QStringLiteral("3"), 200, 300);
    ASSERT_TRUE(viewer.VediPagina(0));
    ASSERT_TRUE(viewer.VediPagina(1));  // over the missing page 4
    EXPECT_EQ(viewer.NumPagina(), 5);
    EXPECT_EQ(viewer.PaginaLibroCorrente(), QStringLiteral("5"));
    EXPECT_EQ(view.marker, std::nullopt);
    EXPECT_EQ(view.scroll, 0);
    ASSERT_TRUE(viewer.VediPagina(-1));
    EXPECT_EQ(viewer.NumPagina(), 3);
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(BookTest, ForwardReachesTheHighestPage)
{
    record(QStringLiteral("45"));
    ASSERT_TRUE(viewer.VediPagina(0));
    ASSERT_TRUE(viewer.VediPagina(1));
    EXPECT_EQ(viewer.NumPagina(), 235);
    ASSERT_TRUE(viewer.VediPagina(1));
    EXPECT_EQ(viewer.NumPagina(), 236);
    EXPECT_EQ(viewer.index().CercaPagina(g.dirs.DirBook, 235, 1, 236), 236);
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(BookTest, ForwardAtTheHighestPageReloadsIt)
{
    record(QStringLiteral("236"));
    ASSERT_TRUE(viewer.VediPagina(0));
    ASSERT_TRUE(viewer.VediPagina(1));
    EXPECT_EQ(viewer.NumPagina(), 236);
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(BookTest, ForwardPastTheLastExistingPageReportsPageZero)
{
    ASSERT_TRUE(QFile::remove(g.dirs.DirBook + QStringLiteral("Pag236.KXB")));
    record(QStringLiteral("235"));
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_FALSE(viewer.VediPagina(1));
    EXPECT_EQ(reports.log, QStringList{QStringLiteral("1|display pagina libro|") + g.dirs.DirBook +
                                       QStringLiteral("Pag0.KXB")});
    EXPECT_EQ(viewer.NumPagina(), 235);
    EXPECT_EQ(viewer.PaginaLibroCorrente(), QStringLiteral("235"));
}

TEST_F(BookTest, BackwardAtPageOneStaysWithAReport)
{
    record(QStringLiteral("1"));
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_FALSE(viewer.VediPagina(-1));
    EXPECT_EQ(reports.log.size(), 1);
    EXPECT_EQ(viewer.NumPagina(), 1);
    EXPECT_TRUE(view.visible);
}

TEST_F(BookTest, HighestPageOfNineMillionCostsOneListing)
{
    g.Edizione = TModoQuiz::mqCD;
    const QString folder = g.dirs.DirBookCDE;
    ASSERT_TRUE(writePage(folder + QStringLiteral("Pag12.KXB")));
    record(QStringLiteral("12"));
    ASSERT_TRUE(viewer.VediPagina(0));
    const int before = viewer.index().listings();
    EXPECT_FALSE(viewer.VediPagina(1));
    EXPECT_LE(viewer.index().listings() - before, 1);
    EXPECT_EQ(viewer.NumPagina(), 12);
}

TEST_F(BookTest, BadInputIsReportedNeverRaised)
{
    // Not a number.
    record(QStringLiteral("abc"));
    EXPECT_FALSE(viewer.VediPagina(0));
    EXPECT_EQ(reports.log.value(0), QStringLiteral("1|display pagina libro|") + g.dirs.DirBook +
                                        QStringLiteral("Pagabc.KXB"));
    EXPECT_FALSE(g.PagineLibro);
    // A page text too long: page 999 whose file is missing.
    record(QStringLiteral("999999999"));
    EXPECT_FALSE(viewer.VediPagina(0));
    EXPECT_TRUE(reports.log.value(1).endsWith(QStringLiteral("Pag999999999.KXB")));
    // Not a plain name.
    record(QStringLiteral("../45"));
    EXPECT_FALSE(viewer.VediPagina(0));
    EXPECT_EQ(reports.log.size(), 3);
    EXPECT_FALSE(view.visible);
}

TEST_F(BookTest, APageThatIsNoPictureKeepsThePageOnShow)
{
    record(QStringLiteral("45"), 100, 200);
    ASSERT_TRUE(viewer.VediPagina(0));
    {
        QFile f(g.dirs.DirBook + QStringLiteral("Pag46.KXB"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture at all, not even a header");
    }
    record(QStringLiteral("46"), 100, 200);
    EXPECT_FALSE(viewer.VediPagina(0));
    EXPECT_EQ(reports.log, QStringList{QStringLiteral("2|display pagina libro|") + g.dirs.DirBook +
                                       QStringLiteral("Pag46.KXB")});
    // The position tool would still store the page that is on show.
    EXPECT_EQ(viewer.PaginaLibroCorrente(), QStringLiteral("45"));
    EXPECT_EQ(viewer.NumPagina(), 45);
}

TEST_F(BookTest, VeryTallPageAndMarkerOffThePage)
{
    ASSERT_TRUE(writePage(g.dirs.DirBook + QStringLiteral("Pag50.KXB"), 20000));
    record(QStringLiteral("50"), 900, 25000);
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_EQ(view.page.height(), 20000);
    ASSERT_TRUE(view.marker);
    // Held at the page's edge, and logged.
    EXPECT_EQ(*view.marker, *bookMarkerBox(580, 20000));
    EXPECT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log.value(0).startsWith(QStringLiteral("20|")));
    EXPECT_EQ(view.scroll, view.scrollMaximum());
    // A point left of the page but still FreX > 0.
    record(QStringLiteral("50"), 5, -40);
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_EQ(*view.marker, *bookMarkerBox(37, 0));
    EXPECT_EQ(view.scroll, 0);
}

TEST_F(BookTest, DebugLine)
{
    g.ModoDebug = true;
    record(QStringLiteral("45"), 200, 300);
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_EQ(reports.debug, QStringList{QStringLiteral("Load Pagina|Pag. ") + g.dirs.DirBook +
                                         QStringLiteral("Pag45.KXB  - X: 200 / Y: 300")});
}

TEST_F(BookTest, KeysWheelAndDrag)
{
    record(QStringLiteral("45"), 200, 300);
    ASSERT_TRUE(viewer.VediPagina(0));
    viewer.FormKeyDown(Qt::Key_Down);
    EXPECT_EQ(view.scroll, 305);
    viewer.FormKeyDown(Qt::Key_Up);
    viewer.FormKeyDown(Qt::Key_Up);
    EXPECT_EQ(view.scroll, 265);
    viewer.FormKey(Qt::Key_Up, Qt::NoModifier);  // the release does nothing more
    EXPECT_TRUE(view.passed.isEmpty());
    viewer.FormKey(Qt::Key_PageDown, Qt::NoModifier);
    EXPECT_EQ(view.scroll, 1500 - 371);
    viewer.FormKey(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(view.scroll, 0);
    viewer.FormKey(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(view.scroll, 1500 - 371);
    viewer.FormKey(Qt::Key_PageUp, Qt::NoModifier);
    EXPECT_EQ(view.scroll, 0);
    viewer.wheel(-240);  // two notches down
    EXPECT_EQ(view.scroll, 90);
    viewer.wheel(120);
    EXPECT_EQ(view.scroll, 45);
    EXPECT_EQ(host.position, QStringLiteral("45@45"));
    viewer.FormKey(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(view.passed, QList<int>{Qt::Key_Right});

    viewer.mouseDown(Qt::RightButton, 200);
    EXPECT_TRUE(view.dragging);
    viewer.mouseMove(190);
    EXPECT_EQ(view.scroll, 55);
    viewer.mouseMove(180);
    EXPECT_EQ(view.scroll, 75);
    viewer.mouseUp(Qt::RightButton);
    EXPECT_FALSE(view.dragging);
    viewer.mouseMove(100);
    EXPECT_EQ(view.scroll, 75);
    EXPECT_TRUE(view.visible);  // a drag is no click
}

TEST_F(BookTest, ClickClosesAndTheFilmRules)
{
    g.VideoAperto = true;
    g.VideoInCorso = true;
    record(QStringLiteral("45"), 200, 300);
    ASSERT_TRUE(viewer.VediPagina(0));
    EXPECT_EQ(host.pauses, 1);  // the film pauses
    g.VideoInCorso = false;
    host.cross = true;
    viewer.mouseDown(Qt::LeftButton, 100);
    viewer.mouseUp(Qt::LeftButton);
    EXPECT_FALSE(view.visible);
    EXPECT_FALSE(g.PagineLibro);
    EXPECT_FALSE(host.tool);
    EXPECT_EQ(view.marker, std::nullopt);
    EXPECT_EQ(host.pauses, 2);  // and resumes
    EXPECT_EQ(host.crossRefresh, 1);
    EXPECT_EQ(host.quizFocus, 0);

    // The photo viewer on show keeps the film paused; without a film the
    // quiz gets the keyboard.
    ASSERT_TRUE(viewer.VediPagina(0));
    host.photo = true;
    viewer.FormKey(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(host.pauses, 2);
    g.VideoAperto = false;
    host.quiz = true;
    ASSERT_TRUE(viewer.VediPagina(0));
    viewer.Image1Click();
    EXPECT_EQ(host.quizFocus, 1);
}

}  // namespace
}  // namespace ziro

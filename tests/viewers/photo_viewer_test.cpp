// The photo viewer's logic over a fake window and host and a table in
// memory, with real photograph files: which photograph shows, in which
// size, with which caption, and what keys and clicks do.

#include "viewers/photo_viewer.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "viewers/photo_render.h"
#include "support/memory_table.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

using test::MemoryTable;

struct LoggedReports : NullReports {
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        log << QStringLiteral("%1|%2|%3").arg(reportCode(kind)).arg(context, name);
    }
    bool Conferma(const QString&, const QString&) override { return answer; }
    QStringList log;
    bool answer = false;
};

struct FakeWindow : PhotoViewerPort {
    void showWindowSize(const QRect& r) override
    {
        geometry = r;
        visible = true;
        enlarged = false;
    }
    void showEnlarged(const QRect& r) override
    {
        geometry = r;
        visible = true;
        enlarged = true;
    }
    void hideWindow() override { visible = false; }
    void setPicture(const QImage& p) override { picture = p; }
    void showCaption(const PhotoCaption* c) override { caption = c ? std::optional<PhotoCaption>(*c) : std::nullopt; }
    void setIndicator(bool v, bool s) override
    {
        indicator = v;
        stored = s;
    }
    void beep() override { ++beeps; }
    void passKey(int key, Qt::KeyboardModifiers) override { passed << key; }
    qreal deviceScale() const override { return scale; }
    void selectCaption(const std::optional<QRect>& box) override { handle = box; }
    void showRubberLine(const QLine& line) override { rubber = line; }

    QRect geometry;
    bool visible = false;
    bool enlarged = false;
    QImage picture;
    std::optional<PhotoCaption> caption;
    bool indicator = false;
    bool stored = false;
    int beeps = 0;
    QList<int> passed;
    qreal scale = 1.0;
    std::optional<QRect> handle;
    QLine rubber;
};

struct FakeHost : PhotoViewerHost {
    void playRecordSound() override { calls << QStringLiteral("sound"); }
    void toggleFilmPause() override { calls << QStringLiteral("film"); }
    void closePreviews() override { calls << QStringLiteral("previews"); }
    void openGeneralMenu() override { calls << QStringLiteral("menu"); }
    QString subTopic() const override { return topic; }
    // The tool bar: opened by the viewer when `toolsWork`, arming arrows
    // as a test says.
    bool toolsOpen() const override { return tools; }
    bool openTools() override
    {
        tools = toolsWork;
        return tools;
    }
    void closeTools() override { tools = false; }
    int armedArrow() const override { return armed; }
    void arrowDrawn(int arrow) override
    {
        drawn << arrow;
        armed = 0;
    }
    void showCaptionInTools(const PhotoCaption& c, bool selected) override
    {
        inTools = c;
        toolsSelected = selected;
    }
    QStringList calls;
    QString topic;
    bool toolsWork = false;
    bool tools = false;
    int armed = 0;
    QList<int> drawn;
    PhotoCaption inTools;
    bool toolsSelected = false;
};

// A photograph of one colour; masked ones get their two signature bytes
// changed, as the installation's are.
void writePhoto(const QString& path, QColor colour, QSize size = {480, 360})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    if (path.endsWith(QStringLiteral(".KXB")))
        bytes.replace(0, 2, "KX");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QString kCaption = QStringLiteral(
    "Stop*40*20*300*64*1*Arial*clRed*30*1*2*0*clYellow*2*clGray*100*300*200*200*clPurple*-1*-1*-1*-1*#");

class PhotoViewerTest : public ::testing::Test {
protected:
    PhotoViewerTest() : viewer(g, config, reports, window, host)
    {
        g.dirs.DirFoto = dir.filePath(QStringLiteral("Foto/"));
        g.dirs.DirFotoUtente = dir.filePath(QStringLiteral("Utente/"));
        QDir().mkpath(g.dirs.DirFoto);
        QDir().mkpath(g.dirs.DirFotoUtente);
        writePhoto(g.dirs.DirFoto + QStringLiteral("101.KXB"), Qt::red);
        writePhoto(g.dirs.DirFoto + QStringLiteral("103.KXB"), Qt::green);
        writePhoto(g.dirs.DirFotoUtente + QStringLiteral("9001.BMP"), Qt::blue, {320, 240});
        for (int n = 1; n <= 30; ++n) {
            table.fields[photoFieldName(n)] = QString();
            table.fields[captionFieldName(n)] = QString();
        }
        table.fields[photoFieldName(1)] = QStringLiteral("101");
        table.fields[photoFieldName(3)] = QStringLiteral("103");
        table.fields[photoFieldName(4)] = QStringLiteral("9001");
        table.fields[captionFieldName(1)] = kCaption;
        g.NumeroFoto = 4;
        viewer.setTable(&table);
    }

    QTemporaryDir dir;
    Globals g;
    Config config;
    LoggedReports reports;
    FakeWindow window;
    FakeHost host;
    MemoryTable table;
    PhotoViewer viewer;
};

TEST_F(PhotoViewerTest, ShowsAPhotographFramedInTheMiddleOfTheLessonWithItsCaption)
{
    g.AudioON = true;
    ASSERT_TRUE(viewer.VediFoto(1));
    EXPECT_EQ(window.geometry, QRect(14, 18, 607, 374));
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(g.FotoCorrente, 1);
    EXPECT_EQ(host.calls, QStringList({"sound"}));
    // "Auto text" shows the stored caption and draws its arrow.
    ASSERT_TRUE(window.caption.has_value());
    EXPECT_EQ(window.caption->text, QStringLiteral("Stop"));
    EXPECT_TRUE(window.indicator);
    EXPECT_TRUE(window.stored);
    EXPECT_NE(window.picture.pixel(150, 250), qRgb(255, 0, 0));  // on the arrow's shaft

    // The indicator hides the caption, and its arrow with it.
    viewer.SpiaTestoClick();
    EXPECT_FALSE(window.caption.has_value());
    EXPECT_EQ(window.picture.pixel(150, 250), qRgb(255, 0, 0));
    viewer.SpiaTestoClick();
    EXPECT_TRUE(window.caption.has_value());

    // No record sound without "Audio foto", nor for other photographs.
    config.CBAudioFoto = false;
    ASSERT_TRUE(viewer.VediFoto(1));
    config.CBAudioFoto = true;
    ASSERT_TRUE(viewer.VediFoto(3));
    EXPECT_EQ(host.calls, QStringList({"sound"}));
}

TEST_F(PhotoViewerTest, WrapsStepsOverGapsAndReportsWhatCannotBeShown)
{
    ASSERT_TRUE(viewer.VediFoto(5));  // past the last: the first
    EXPECT_EQ(g.FotoCorrente, 1);
    ASSERT_TRUE(viewer.VediFoto(0));  // before the first: the last, a user photograph
    EXPECT_EQ(g.FotoCorrente, 4);
    EXPECT_EQ(window.picture.size(), QSize(320, 240));
    // Without a caption field value the indicator is silver.
    EXPECT_FALSE(window.stored);

    ASSERT_TRUE(viewer.step(1));  // wraps to 1
    EXPECT_EQ(g.FotoCorrente, 1);
    ASSERT_TRUE(viewer.step(1));  // Foto2 is empty
    EXPECT_EQ(g.FotoCorrente, 3);

    // A missing file, and a value that is no photograph number, are
    // reported; the viewer keeps what it showed.
    table.fields[photoFieldName(1)] = QStringLiteral("102");
    table.fields[photoFieldName(4)] = QStringLiteral("../101");
    EXPECT_FALSE(viewer.VediFoto(1));
    EXPECT_FALSE(viewer.VediFoto(4));
    EXPECT_EQ(g.FotoCorrente, 3);
    ASSERT_EQ(reports.log.size(), 2);
    EXPECT_TRUE(reports.log[0].startsWith(QStringLiteral("1|display foto|")));
    EXPECT_TRUE(reports.log[0].endsWith(QStringLiteral("102.KXB")));
    EXPECT_TRUE(reports.log[1].startsWith(QStringLiteral("1|display foto|")));

    g.NumeroFoto = 0;
    EXPECT_FALSE(viewer.VediFoto(1));
    EXPECT_EQ(window.beeps, 1);
}

TEST_F(PhotoViewerTest, EnlargesWithTheCaptionBurntInAndComesBack)
{
    ASSERT_TRUE(viewer.VediFoto(1));
    viewer.Image1Click();
    EXPECT_TRUE(viewer.isEnlarged());
    EXPECT_EQ(window.geometry, QRect(0, 0, 640, 480));
    EXPECT_EQ(window.picture.size(), kEnlargedPictureSize);
    EXPECT_FALSE(window.caption.has_value());  // it is in the picture now
    EXPECT_FALSE(window.indicator);
    // The caption's yellow box, burnt in and enlarged with the photograph.
    // (Right of the short, left-aligned text.)
    const QColor box = window.picture.pixel(qRound(300 * 614 / 480.0), qRound(40 * 454 / 360.0));
    EXPECT_GT(box.green(), 200) << box.name().toStdString();
    EXPECT_LT(box.blue(), 60) << box.name().toStdString();

    // A click on the enlarged photograph brings the window size back, with
    // the caption ("Auto text").
    viewer.AlbumClick();
    EXPECT_FALSE(viewer.isEnlarged());
    EXPECT_EQ(window.geometry, QRect(14, 18, 607, 374));
    EXPECT_EQ(window.picture.size(), QSize(480, 360));
    EXPECT_TRUE(window.caption.has_value());

    // Without "Full screen" the next photograph comes in the window size...
    viewer.Image1Click();
    ASSERT_TRUE(viewer.VediFoto(3));
    EXPECT_FALSE(viewer.isEnlarged());
    EXPECT_EQ(window.picture.size(), QSize(480, 360));

    // On a projector the enlarged picture is made at the screen's own
    // pixels, so it is never blown up again.
    window.scale = 2.25;
    viewer.Image1Click();
    EXPECT_EQ(window.picture.size(), QSize(1382, 1022));
    viewer.AlbumClick();

    // ...with it each photograph comes enlarged in turn.
    config.CBfotoFull = true;
    viewer.Image1Click();
    ASSERT_TRUE(viewer.VediFoto(3));
    EXPECT_TRUE(viewer.isEnlarged());
    EXPECT_EQ(QColor(window.picture.pixel(300, 200)).name(), QStringLiteral("#00ff00"));
}

TEST_F(PhotoViewerTest, KeysAndClicksCloseTheViewerAndPassTheRestOn)
{
    g.VideoAperto = true;  // a paused film goes on when the photograph closes
    ASSERT_TRUE(viewer.VediFoto(1));
    viewer.FormKey(Qt::Key_F2, Qt::NoModifier);
    EXPECT_TRUE(viewer.isEnlarged());
    viewer.FormKey(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_FALSE(viewer.isEnlarged());
    viewer.FormKey(Qt::Key_PageDown, Qt::NoModifier);
    EXPECT_EQ(window.passed, QList<int>({Qt::Key_PageDown}));

    viewer.FormKey(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_FALSE(viewer.isOpen());
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(g.FotoCorrente, 0);
    EXPECT_EQ(host.calls, QStringList({"film", "previews"}));

    // In photo-only mode a click opens the general menu on the first topic
    // and does nothing on another.
    g.SoloFoto = true;
    host.topic = QStringLiteral("B02");
    ASSERT_TRUE(viewer.VediFoto(3));
    viewer.AlbumClick();
    EXPECT_TRUE(viewer.isOpen());
    host.topic = QStringLiteral("A01");
    viewer.AlbumClick();
    EXPECT_EQ(host.calls.last(), QStringLiteral("menu"));
}

TEST_F(PhotoViewerTest, CopyAndPasteCarryACaptionToAnotherPhotograph)
{
    ASSERT_TRUE(viewer.VediFoto(1));
    viewer.FormKey(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(viewer.VediFoto(3));
    EXPECT_FALSE(window.stored);
    viewer.FormKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.saves, 1);
    EXPECT_EQ(table.fields[captionFieldName(3)], kCaption);
    EXPECT_TRUE(window.stored);
    EXPECT_FALSE(viewer.modificato());
    // Loading and showing a caption never writes it back.
    ASSERT_TRUE(viewer.VediFoto(1));
    viewer.SpiaTestoClick();
    viewer.SpiaTestoClick();
    EXPECT_EQ(table.saves, 1);
    EXPECT_EQ(table.fields[captionFieldName(1)], kCaption);
}

TEST_F(PhotoViewerTest, ANewCaptionIsWrittenSelectedAndStoredOnlyOnceTyped)
{
    host.toolsWork = true;
    ASSERT_TRUE(viewer.VediFoto(3));
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(host.tools);
    ASSERT_TRUE(window.caption);
    EXPECT_EQ(window.caption->text, QStringLiteral("Testo..."));
    EXPECT_EQ(window.caption->box().topLeft(), PhotoViewer::safeArea().topLeft());
    EXPECT_EQ(host.inTools.text, QStringLiteral("Testo..."));

    // Closing on the placeholder stores nothing.
    viewer.PopUpTextClick(3);
    EXPECT_FALSE(host.tools);
    EXPECT_EQ(table.saves, 0);
    EXPECT_FALSE(window.caption);

    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    viewer.SelezionaTitolo();
    EXPECT_TRUE(viewer.editMode());
    ASSERT_TRUE(window.handle);
    viewer.changeCaption([](PhotoCaption& c) {
        c.text = QStringLiteral("Curva");
        c.bold = true;
    });
    EXPECT_TRUE(viewer.modificato());
    EXPECT_EQ(window.handle, window.caption->box());  // the handle follows
    // A click on the photograph while editing lets the caption go and
    // keeps the viewer open.
    viewer.AlbumClick();
    EXPECT_FALSE(viewer.editMode());
    EXPECT_FALSE(window.handle);
    EXPECT_TRUE(window.visible);

    viewer.PopUpTextClick(3);
    EXPECT_EQ(table.saves, 1);
    const PhotoCaption stored = readCaption(table.fields[captionFieldName(3)]).caption;
    EXPECT_EQ(stored.text, QStringLiteral("Curva"));
    EXPECT_TRUE(stored.bold);
    EXPECT_TRUE(viewer.hasStoredCaption());
    EXPECT_FALSE(viewer.modificato());

    // Opened again, the stored caption is edited, not replaced.
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(viewer.caption().text, QStringLiteral("Curva"));
    EXPECT_FALSE(viewer.modificato());
}

// Lent to the lesson editor the viewer shows and captions the step it was
// given, 4 right and 29 down, keeps the lesson behind still, and gives the
// lesson its table and photograph count back when it closes.
TEST_F(PhotoViewerTest, LentToTheEditorItCaptionsTheStepAndGivesTheLessonBack)
{
    MemoryTable step;
    for (int n = 1; n <= 15; ++n) {
        step.fields[photoFieldName(n)] = QString();
        step.fields[captionFieldName(n)] = QString();
    }
    step.fields[photoFieldName(1)] = QStringLiteral("103");
    step.fields[photoFieldName(2)] = QStringLiteral("101");
    g.AudioON = true;
    ASSERT_TRUE(viewer.VediFoto(3));
    host.toolsWork = true;

    ASSERT_TRUE(viewer.showLent(step, 15, 1, QPoint(4, 29)));
    EXPECT_TRUE(viewer.lent());
    EXPECT_EQ(window.geometry, QRect(18, 47, 607, 374));
    EXPECT_EQ(g.NumeroFoto, 15);
    EXPECT_EQ(host.calls, QStringList({"previews"}));  // the lesson's photograph went; no record sound
    EXPECT_FALSE(viewer.VediFoto(16));                 // no wrapping over the step's slots
    viewer.FormKey(Qt::Key_Right, {});
    EXPECT_EQ(g.FotoCorrente, 2);
    viewer.FormKey(Qt::Key_Space, {});
    EXPECT_TRUE(window.passed.isEmpty());

    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(host.tools);
    viewer.changeCaption([](PhotoCaption& c) { c.text = QStringLiteral("Incrocio"); });
    // Closed with the tool bar still open (the page's close button): the
    // caption is settled into the step before the lesson's table comes back.
    reports.answer = true;
    viewer.ChiudiFoto();
    EXPECT_FALSE(host.tools);
    EXPECT_FALSE(window.visible);
    EXPECT_FALSE(viewer.lent());
    EXPECT_EQ(readCaption(step.fields[captionFieldName(2)]).caption.text, QStringLiteral("Incrocio"));
    EXPECT_EQ(table.saves, 0);
    EXPECT_EQ(g.NumeroFoto, 4);
    EXPECT_EQ(host.calls, QStringList({"previews"}));

    ASSERT_TRUE(viewer.VediFoto(1));
    EXPECT_EQ(window.geometry, QRect(14, 18, 607, 374));
    EXPECT_EQ(viewer.caption().text, QStringLiteral("Stop"));

    // A slot that cannot be shown ends the loan at once.
    step.fields[photoFieldName(3)] = QStringLiteral("777");
    EXPECT_FALSE(viewer.showLent(step, 15, 3, QPoint(4, 29)));
    EXPECT_FALSE(viewer.lent());
    EXPECT_EQ(g.NumeroFoto, 4);
    // A picture alone is shown read-only.
    ASSERT_TRUE(viewer.showLentSingle(g.dirs.DirFotoUtente + QStringLiteral("9001.BMP"), 9001, QPoint(4, 29)));
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    EXPECT_FALSE(host.tools);
    viewer.FormKey(Qt::Key_Escape, {});
    EXPECT_FALSE(window.visible);
    EXPECT_FALSE(viewer.lent());
    ASSERT_TRUE(viewer.showLent(step, 15, 1, QPoint(4, 29)));
    viewer.AlbumClick();
    EXPECT_FALSE(window.visible);
    EXPECT_FALSE(viewer.lent());
}

TEST_F(PhotoViewerTest, WithoutTheToolBarEditingOnlyBeeps)
{
    ASSERT_TRUE(viewer.VediFoto(3));
    const int beeps = window.beeps;
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(window.beeps, beeps + 1);
    viewer.SelezionaTitolo();
    EXPECT_FALSE(viewer.editMode());
    EXPECT_FALSE(window.handle);
}

TEST_F(PhotoViewerTest, AnArmedArrowIsDrawnByDraggingAndBurntIntoThePhotograph)
{
    host.toolsWork = true;
    ASSERT_TRUE(viewer.VediFoto(3));
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    ASSERT_TRUE(host.tools);
    // Nothing armed: the mouse draws nothing.
    EXPECT_FALSE(viewer.arrowPress(QPoint(50, 60)));
    EXPECT_FALSE(viewer.arrowRelease(QPoint(200, 100)));

    host.armed = 2;
    const QImage before = window.picture;
    ASSERT_TRUE(viewer.arrowPress(QPoint(300, 60)));
    ASSERT_TRUE(viewer.arrowMove(QPoint(-5, 100)));
    EXPECT_EQ(window.rubber, QLine(QPoint(300, 60), QPoint(1, 100)));  // kept inside the photograph
    ASSERT_TRUE(viewer.arrowMove(QPoint(120, 200)));
    ASSERT_TRUE(viewer.arrowRelease(QPoint(120, 200)));
    EXPECT_TRUE(window.rubber.isNull());
    EXPECT_EQ(host.drawn, QList<int>{2});
    EXPECT_FALSE(viewer.caption().arrows[0].present());
    EXPECT_EQ(viewer.caption().arrows[1], (CaptionArrow{QPoint(300, 60), QPoint(120, 200)}));
    EXPECT_TRUE(viewer.modificato());
    EXPECT_NE(window.picture, before);
    EXPECT_EQ(window.picture.pixelColor(120, 200), viewer.caption().arrowColour);

    // Cleared again, the photograph is clean.
    viewer.clearArrow(2);
    EXPECT_FALSE(viewer.caption().anyArrow());
    EXPECT_EQ(window.picture, before);

    // Closing the tool bar halfway through an arrow leaves no rubber line.
    host.armed = 1;
    ASSERT_TRUE(viewer.arrowPress(QPoint(30, 30)));
    viewer.FormKey(Qt::Key_Escape, {});
    EXPECT_FALSE(host.tools);
    EXPECT_TRUE(window.rubber.isNull());
    EXPECT_FALSE(viewer.arrowRelease(QPoint(90, 90)));
}

TEST_F(PhotoViewerTest, TheHandleSizesTheCaptionAsItsLinesAllow)
{
    host.toolsWork = true;
    ASSERT_TRUE(viewer.VediFoto(3));
    viewer.FormKey(Qt::Key_T, Qt::AltModifier);
    viewer.SelezionaTitolo();
    viewer.changeCaption([](PhotoCaption& c) {
        c.text = QStringLiteral("Stop");
        c.fontSize = 20;
        c.height = 33;
    });
    // Moved: a single line keeps its font and the height the font asks.
    viewer.BoundSync(QRect(70, 90, 200, 33));
    EXPECT_EQ(viewer.caption().box(), QRect(70, 90, 200, 33));
    EXPECT_EQ(viewer.caption().fontSize, 20);
    // Made taller: the line's font grows with it, halves of a pixel even.
    viewer.BoundSync(QRect(70, 90, 400, 120));
    const int font = viewer.caption().fontSize;
    EXPECT_GT(font, 20);
    EXPECT_EQ(viewer.caption().height, singleLineHeight(font));
    // A multi-line caption takes the box as it is; no font below 15.
    viewer.changeCaption([](PhotoCaption& c) {
        c.multiLine = true;
        c.fontSize = 9;
    });
    viewer.BoundSync(QRect(10, 20, 0, 0));
    EXPECT_EQ(viewer.caption().box(), QRect(10, 20, 1, 1));
    EXPECT_EQ(viewer.caption().fontSize, 15);
    EXPECT_EQ(window.handle, viewer.caption().box());
}

}  // namespace
}  // namespace ziro

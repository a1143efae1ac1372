// The caption tool bar over a real photo viewer on a lesson stand-in: what
// typing, the size bar, the style buttons, the arrow tool and the stored
// styles do to the caption the viewer shows and stores.

#include "annotate/tools_window.h"

#include "annotate/caption_styles.h"
#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "controls/stretch_handle_widget.h"
#include "viewers/photo_render.h"
#include "viewers/tv_foto_window.h"
#include "support/memory_table.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ziro;
using ziro::test::MemoryTable;

namespace {

struct AnsweringReports : NullReports {
    bool Conferma(const QString& context, const QString&) override
    {
        asked << context;
        return yes;
    }
    QStringList asked;
    bool yes = true;
};

// The host as the program wires it: the tool bar opens under the viewer.
struct ToolsHost : PhotoViewerHost {
    bool toolsOpen() const override { return tools->isOpen(); }
    bool openTools() override
    {
        tools->openAt(window->geometry().topLeft());
        return tools->isOpen();
    }
    void closeTools() override { tools->park(); }
    int armedArrow() const override { return tools->isOpen() ? tools->armedArrow() : 0; }
    void arrowDrawn(int arrow) override { tools->arrowDrawn(arrow); }
    void showCaptionInTools(const PhotoCaption& c, bool selected) override
    {
        if (tools->isOpen())
            tools->showCaption(c, selected);
    }
    TTools* tools = nullptr;
    TTVFoto* window = nullptr;
};

class ToolsWindowTest : public ::testing::Test {
protected:
    ToolsWindowTest()
        : window(&main), tools(&main), viewer(g, config, reports, window, host),
          styles(dir.filePath(QStringLiteral("TextStyles.ini")), QString(), reports)
    {
        main.resize(640, 480);
        main.show();
        window.attach(&viewer);
        host.tools = &tools;
        host.window = &window;
        tools.attach(&viewer, &styles, &reports);
        QObject::connect(&tools, &TTools::beepRequested, [this] { ++beeps; });
        g.dirs.DirFoto = dir.path() + QLatin1Char('/');
        QImage photo(480, 360, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        photo.save(dir.filePath(QStringLiteral("7.BMP")), "BMP");
        QFile::rename(dir.filePath(QStringLiteral("7.BMP")), dir.filePath(QStringLiteral("7.KXB")));
        table.fields[photoFieldName(1)] = QStringLiteral("7");
        table.fields[captionFieldName(1)] = QString();
        g.NumeroFoto = 1;
        viewer.setTable(&table);
    }

    // Opens the photograph and a new caption on it.
    void openNewCaption()
    {
        ASSERT_TRUE(viewer.VediFoto(1));
        viewer.FormKey(Qt::Key_T, Qt::AltModifier);
        ASSERT_TRUE(tools.isVisible());
    }
    void click(const char* name, Qt::MouseButton b = Qt::LeftButton)
    {
        QToolButton* button = tools.button(QString::fromLatin1(name));
        ASSERT_TRUE(button) << name;
        QTest::mouseClick(button, b);
    }
    const PhotoCaption& caption() const { return viewer.caption(); }

    QWidget main;
    QTemporaryDir dir;
    Globals g;
    Config config;
    AnsweringReports reports;
    ToolsHost host;
    MemoryTable table;
    TTVFoto window;
    TTools tools;
    PhotoViewer viewer;
    CaptionStyleStore styles;
    int beeps = 0;
};

TEST_F(ToolsWindowTest, ANewCaptionOpensCentredSelectedAndReadyToType)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    EXPECT_EQ(tools.geometry(), QRect(window.geometry().topLeft() + QPoint(73, 375), QSize(462, 85)));
    EXPECT_EQ(caption().text, QStringLiteral("Testo..."));
    EXPECT_EQ(caption().fontSize, 50);
    EXPECT_EQ(caption().fontName, QStringLiteral("Arial"));
    // Centred in the usable area, under the handle.
    const QRect safe = PhotoViewer::safeArea();
    EXPECT_EQ(caption().left - safe.left(), safe.right() - (caption().left + caption().width - 1));
    EXPECT_TRUE(viewer.editMode());
    EXPECT_TRUE(window.handle()->Attached());
    EXPECT_EQ(tools.editText()->textCursor().selectedText(), QStringLiteral("Testo..."));

    // Typing replaces the placeholder; the record's delimiters never get in.
    QTest::keyClicks(tools.editText(), QStringLiteral("Cu*rv#a"));
    EXPECT_EQ(caption().text, QStringLiteral("Curva"));
    // Nor by pasting or dropping.
    tools.editText()->insertPlainText(QStringLiteral(" *stretta#"));
    EXPECT_EQ(caption().text, QStringLiteral("Curva stretta"));
    EXPECT_EQ(tools.editText()->toPlainText(), QStringLiteral("Curva stretta"));
    EXPECT_GE(beeps, 1);
}

TEST_F(ToolsWindowTest, ASingleLineStopsAtFiftyOneCharactersAndMultipleLinesDoNot)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    tools.editText()->selectAll();
    QTest::keyClicks(tools.editText(), QString(60, u'x'));
    EXPECT_EQ(caption().text.size(), kSingleLineLimit);
    EXPECT_EQ(beeps, 60 - kSingleLineLimit);
    QTest::keyClick(tools.editText(), Qt::Key_Backspace);
    EXPECT_EQ(caption().text.size(), kSingleLineLimit - 1);
    // Enter breaks no single line.
    QTest::keyClick(tools.editText(), Qt::Key_Return);
    EXPECT_FALSE(caption().text.contains(u'\r'));

    click("Sb_RigheMultiple");
    EXPECT_TRUE(caption().multiLine);
    QTest::keyClick(tools.editText(), Qt::Key_Return);
    QTest::keyClicks(tools.editText(), QString(30, u'y'));
    EXPECT_EQ(caption().text.size(), kSingleLineLimit + 30);
    // A line break is stored as a carriage return.
    EXPECT_TRUE(caption().text.contains(u'\r'));
    const QRect box = caption().box();
    EXPECT_GT(box.height(), singleLineHeight(caption().fontSize));
}

TEST_F(ToolsWindowTest, SizeEffectsAndFoldingFollowTheButtons)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    QTest::keyClicks(tools.editText(), QStringLiteral("Stop"));
    // The single line's font is two points above the bar.
    tools.sizeBar()->setValue(20);
    EXPECT_EQ(caption().fontSize, 22);
    EXPECT_EQ(caption().height, singleLineHeight(22));
    const int narrow = caption().width;
    tools.sizeBar()->setValue(40);
    EXPECT_EQ(caption().fontSize, 42);
    EXPECT_GT(caption().width, narrow);  // the line's box follows its text

    click("Sb_Shade");
    EXPECT_EQ(caption().effect, CaptionEffect::Shadowed3d);
    click("Sb_3d");
    EXPECT_EQ(caption().effect, CaptionEffect::Resit3d);
    EXPECT_FALSE(tools.button(QStringLiteral("Sb_Shade"))->isChecked());
    click("Sb_3d");
    EXPECT_EQ(caption().effect, CaptionEffect::Normal3d);
    click("Sb_Bld");
    click("Sb_It");
    EXPECT_TRUE(caption().bold && caption().italic);
    // A new caption has no box: the button is down; raised, the box shows.
    EXPECT_TRUE(tools.button(QStringLiteral("Sb_Trasparente"))->isChecked());
    click("Sb_Trasparente");
    EXPECT_TRUE(caption().background);
    click("Sb_Trasparente");
    EXPECT_FALSE(caption().background);

    click("st_DimCtlr");
    EXPECT_EQ(tools.width(), 13);
    EXPECT_FALSE(tools.editText()->isVisible());
    click("st_DimCtlr");
    EXPECT_EQ(tools.width(), 462);
    EXPECT_TRUE(tools.editText()->isVisible());
}

TEST_F(ToolsWindowTest, TheColourBoxShowsTheCaptionColourAndOthersComeFromTheChooser)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    viewer.changeCaption([](PhotoCaption& c) { c.fontColour = QColor(255, 0, 0); });
    EXPECT_EQ(tools.colorBox()->currentText(), QStringLiteral("Rosso"));
    viewer.changeCaption([](PhotoCaption& c) { c.fontColour = QColor(192, 192, 192); });
    EXPECT_EQ(tools.colorBox()->currentIndex(), 15);

    std::optional<QColor> answer;
    tools.setColourChooser([&answer](const QColor&) { return answer; });
    QComboBox* box = tools.colorBox();
    Q_EMIT box->activated(18);  // "Altri...", cancelled
    EXPECT_EQ(caption().fontColour, QColor(192, 192, 192));
    answer = QColor(10, 20, 30);
    Q_EMIT box->activated(18);
    EXPECT_EQ(caption().fontColour, QColor(10, 20, 30));
    Q_EMIT box->activated(12);
    EXPECT_EQ(caption().fontColour, QColor(0, 0, 255));
    click("Sb_ColorArrow");
    EXPECT_EQ(caption().arrowColour, QColor(10, 20, 30));
}

TEST_F(ToolsWindowTest, AChosenFontGoesToTheTopOfTheList)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    QComboBox* box = tools.fontBox();
    ASSERT_GE(box->count(), 3);
    const QString third = box->itemText(2);
    const QString first = box->itemText(0);
    const int count = box->count();
    Q_EMIT box->activated(2);
    EXPECT_EQ(caption().fontName, third);
    EXPECT_EQ(box->itemText(0), third);
    EXPECT_EQ(box->itemText(1), first);
    EXPECT_EQ(box->count(), count);
    EXPECT_EQ(box->currentIndex(), 0);
}

TEST_F(ToolsWindowTest, AnArrowIsArmedDrawnWithTheMouseAndStored)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    QTest::keyClicks(tools.editText(), QStringLiteral("Guarda"));
    click("Sb_ArrowOn1");
    EXPECT_EQ(tools.armedArrow(), 1);
    EXPECT_FALSE(viewer.editMode());
    QWidget* album = window.album();
    QTest::mousePress(album, Qt::LeftButton, {}, QPoint(400, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(250, 200), album->mapToGlobal(QPointF(250, 200)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(album, &move);
    QTest::mouseRelease(album, Qt::LeftButton, {}, QPoint(250, 200));
    EXPECT_EQ(tools.armedArrow(), 0);
    EXPECT_TRUE(tools.button(QStringLiteral("Sb_ArrowOn1"))->isChecked());
    EXPECT_EQ(caption().arrows[0], (CaptionArrow{QPoint(400, 300), QPoint(250, 200)}));
    // The release drew an arrow and did not close the viewer.
    EXPECT_TRUE(window.isVisible());

    // "Salva testo" stores caption and arrow; the next showing has both.
    viewer.PopUpTextClick(3);
    EXPECT_FALSE(tools.isVisible());
    const PhotoCaption stored = readCaption(table.fields[captionFieldName(1)]).caption;
    EXPECT_EQ(stored.text, QStringLiteral("Guarda"));
    EXPECT_EQ(stored.arrows[0], caption().arrows[0]);
}

TEST_F(ToolsWindowTest, StylesAreStoredUnderAAndBAndComeBack)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    // Nothing stored yet: the button does nothing.
    const PhotoCaption before = caption();
    click("Sb_Predef2");
    EXPECT_EQ(caption().effect, before.effect);

    viewer.changeCaption([](PhotoCaption& c) {
        c.fontColour = QColor(255, 0, 0);
        c.bold = c.italic = true;
        c.effect = CaptionEffect::Shadowed3d;
    });
    reports.yes = false;
    click("Sb_Predef2", Qt::RightButton);
    EXPECT_EQ(reports.asked, QStringList{QStringLiteral("Salvataggio preset n.1, Ok?")});
    EXPECT_FALSE(QFile::exists(styles.userPath()));
    reports.yes = true;
    click("Sb_Predef2", Qt::RightButton);
    ASSERT_TRUE(QFile::exists(styles.userPath()));

    click("Sb_Predef1");  // back to the built-in style
    EXPECT_EQ(caption().fontColour, QColor(0, 0, 0));
    EXPECT_FALSE(caption().bold);
    click("Sb_Predef2");
    EXPECT_EQ(caption().fontColour, QColor(255, 0, 0));
    EXPECT_TRUE(caption().bold && caption().italic);
    EXPECT_EQ(caption().effect, CaptionEffect::Shadowed3d);
}

TEST_F(ToolsWindowTest, TheBoxIsPlacedOrItsTextAlignedAndTheHandleMovesIt)
{
    ASSERT_NO_FATAL_FAILURE(openNewCaption());
    QTest::keyClicks(tools.editText(), QStringLiteral("Stop"));
    const QRect safe = PhotoViewer::safeArea();
    viewer.DeselezionaTitolo();
    click("Sb_Jl");
    EXPECT_EQ(caption().left, safe.left());
    click("Sb_Jr");
    EXPECT_EQ(caption().left + caption().width, safe.left() + safe.width());
    EXPECT_EQ(caption().alignment, CaptionAlignment::Centre);

    // A selected multi-line caption aligns its text instead.
    click("Sb_RigheMultiple");
    ASSERT_TRUE(viewer.editMode());
    const int left = caption().left;
    click("Sb_Jl");
    EXPECT_EQ(caption().alignment, CaptionAlignment::Left);
    EXPECT_EQ(caption().left, left);

    // Arrow keys on the handle carry the caption.
    TStretchHandle* handle = window.handle();
    ASSERT_TRUE(handle->Attached());
    const QPoint at = caption().box().topLeft();
    QTest::keyClick(handle, Qt::Key_Right);
    QTest::keyClick(handle, Qt::Key_Down);
    EXPECT_EQ(caption().box().topLeft(), at + QPoint(1, 1));

    click("Sb_Fit");
    EXPECT_EQ(caption().box(), safe);
}

}  // namespace

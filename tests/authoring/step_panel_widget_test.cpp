// The step panel and the editor page driven by synthesized drops, clicks
// and keys over a lesson file in a temporary folder.

#include "authoring/lesson_editor_widget.h"
#include "authoring/step_panel_widget.h"

#include "authoring/custom_lessons.h"
#include "authoring/lesson_store.h"
#include "base/globals.h"
#include "platform/dataset/data_table.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "support/logging_reports.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <memory>

namespace ziro {
namespace {

using test::LoggingReports;

QString code(int block, int id)
{
    return QStringLiteral("%1V%2S000").arg(block, 7, 10, QLatin1Char(' ')).arg(id, 4, 10, QLatin1Char('0'));
}

EditorDrag block(int nCodes = 3)
{
    EditorDrag d;
    d.origin = DragOrigin::BlockCombo;
    d.record = {{QStringLiteral("Domanda"), QStringLiteral("0000042")}};
    for (int i = 1; i <= nCodes; ++i)
        d.codes << code(42, i);
    return d;
}

EditorDrag photo(const QString& value, const QString& caption = {})
{
    EditorDrag d;
    d.origin = DragOrigin::SourcePhoto;
    d.tag = 21;
    d.photoValue = value;
    d.photoCaption = caption;
    return d;
}

// Sends a drag's enter and drop to `target`; answers whether the drop was
// taken.
bool drop(QWidget* target, QMimeData* mime)
{
    std::unique_ptr<QMimeData> owned(mime);
    const QPointF at(2, 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent ev(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &ev);
    return ev.isAccepted();
}

bool drop(QWidget* target, const EditorDrag& d)
{
    return drop(target, encodeEditorDrag(d));
}

struct Names : CustomLessonPort {
    QStringList answers;
    QStringList titles;
    int beeps = 0;
    QString askName(const QString& title, const QString&, const QString&) override
    {
        titles << title;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void beep() override { ++beeps; }
};

struct FailingOps : LessonFileOps {
    bool fail = false;
    bool write(const QString& path, const QByteArray& data, QString* error) override
    {
        return !fail && LessonFileOps::write(path, data, error);
    }
};

class StepPanelTest : public ::testing::Test {
protected:
    StepPanelTest()
    {
        dirs.DirFotoUtente = dir.path() + QLatin1Char('/');
        dirs.DirFoto = dir.path() + QLatin1Char('/');
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(Qt::blue);
        for (const char* n : {"9012", "9013", "9014"})
            img.save(dir.filePath(QString::fromLatin1(n) + QStringLiteral(".BMP")), "BMP");
        path = dir.filePath(QStringLiteral("Nuova lezione.xml"));
        DataTable t;
        t.createFromFields(lessonFields());
        t.saveToFile(path, SaveFormat::Ascii);
        page = std::make_unique<LessonEditorWidget>(dirs, reports, names, nullptr, ops);
        page->show();
        EXPECT_TRUE(page->open(path, 0));
        panel = page->steps();
    }

    LessonEditorModel& model() { return page->model(); }

    QTemporaryDir dir;
    Folders dirs;
    QString path;
    LoggingReports reports;
    Names names;
    FailingOps ops;
    std::unique_ptr<LessonEditorWidget> page;
    StepPanelWidget* panel = nullptr;
};

// Each target takes what it accepts and nothing else; data from another
// program never reaches the lesson.
TEST_F(StepPanelTest, TargetsTakeOnlyWhatTheyAccept)
{
    auto* foreign = new QMimeData;
    foreign->setText(QStringLiteral("0000042"));
    EXPECT_FALSE(drop(panel->signTarget(), foreign));
    auto* forged = new QMimeData;
    forged->setData(editorDragMimeType(), QByteArray("ZEDK garbage"));
    EXPECT_FALSE(drop(panel->lessonName(), forged));
    EXPECT_EQ(model().count(), 0);

    struct Case { QWidget* target; EditorDrag drag; bool taken; };
    const std::vector<Case> cases = {
        {panel->statementList()->viewport(), photo(QStringLiteral("9012")), false},
        {panel->photoSlot(3), block(), false},
        {panel->insertMarker(4), photo(QStringLiteral("9012")), false},  // slot 4 empty
        {panel->signTarget(), block(), true},
        {panel->photoSlot(9), photo(QStringLiteral("9012"), QStringLiteral("uno")), true},
        {panel->insertMarker(0), photo(QStringLiteral("9013")), true},
        {panel->lessonName(), photo(QStringLiteral("9014")), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(drop(c.target, c.drag), c.taken) << qPrintable(c.target->objectName());
    ASSERT_EQ(model().count(), 2);
    model().moveTo(1);
    EXPECT_EQ(model().field(QStringLiteral("Domanda")), QStringLiteral("0000042"));
    EXPECT_EQ(model().field(QStringLiteral("Foto1")), QStringLiteral("9013"));
    EXPECT_EQ(model().field(QStringLiteral("Foto2")), QStringLiteral("9012"));
    EXPECT_EQ(model().field(QStringLiteral("TxtF2")), QStringLiteral("uno"));
    EXPECT_EQ(model().numRecAt(2), 1000);
}

TEST_F(StepPanelTest, TheDropMenuAppliesTheRememberedDropWhereChosen)
{
    model().appendStep();
    panel->menuToggle()->setChecked(true);
    ASSERT_TRUE(drop(panel->signTarget(), block()));
    EXPECT_TRUE(panel->hasPendingDrop());
    EXPECT_TRUE(model().field(QStringLiteral("Domanda")).isEmpty()) << "nothing applied before the choice";
    const QList<QAction*> items = panel->dropMenu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("  Aggiungi in un nuovo passo in fondo alla lezione"));
    items[0]->trigger();
    EXPECT_FALSE(panel->hasPendingDrop());
    EXPECT_EQ(model().count(), 2);
    EXPECT_EQ(model().position(), 2);
    EXPECT_EQ(model().field(QStringLiteral("Domanda")), QStringLiteral("0000042"));

    ASSERT_TRUE(drop(panel->photoSlot(1), photo(QStringLiteral("9012"))));
    items[1]->trigger();  // a new step before the current one
    EXPECT_EQ(model().count(), 3);
    EXPECT_EQ(model().numRecAt(2), 750);
    EXPECT_EQ(model().field(QStringLiteral("Foto1")), QStringLiteral("9012"));
    items[2]->trigger();  // nothing remembered any more
    EXPECT_EQ(model().count(), 3);
}

TEST_F(StepPanelTest, RightClicksDeleteOnlyWhenConfirmed)
{
    model().appendStep();
    for (const char* v : {"9012", "9013", "9014"})
        model().dropPhoto(photo(QString::fromLatin1(v)), 15);
    model().dropStatements(block(4));
    panel->refresh();
    reports.answer = false;
    QTest::mouseClick(panel->photoSlot(2), Qt::RightButton);
    EXPECT_EQ(model().field(QStringLiteral("Foto2")), QStringLiteral("9013"));
    reports.answer = true;
    QTest::mouseClick(panel->photoSlot(2), Qt::RightButton);
    EXPECT_EQ(model().field(QStringLiteral("Foto2")), QStringLiteral("9014"));
    EXPECT_TRUE(reports.log.contains(QStringLiteral("? Si desidera eliminare la foto?")));

    QListWidget* list = panel->statementList();
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(model().statementCodes(), (QStringList{code(42, 1), code(42, 3), code(42, 4)}));
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Period);
    EXPECT_EQ(model().statementCodes(), (QStringList{code(42, 3), code(42, 4)}));
}

TEST_F(StepPanelTest, DraggingAStatementMovesItAndEscapeCancels)
{
    model().appendStep();
    model().dropStatements(block(4));
    panel->refresh();
    QListWidget* list = panel->statementList();
    QWidget* vp = list->viewport();
    const QPoint first = list->visualItemRect(list->item(0)).center();
    const QPoint third = list->visualItemRect(list->item(2)).center();

    QTest::mousePress(vp, Qt::LeftButton, {}, first);
    QMouseEvent move(QEvent::MouseMove, QPointF(third), vp->mapToGlobal(QPointF(third)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(vp, &move);
    EXPECT_TRUE(panel->moveMarker()->isVisible());
    EXPECT_EQ(panel->moveMarker()->height(), 2);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(panel->moveMarker()->isVisible());
    QTest::mouseRelease(vp, Qt::LeftButton, {}, third);
    EXPECT_EQ(model().statementCodes(), (QStringList{code(42, 1), code(42, 2), code(42, 3), code(42, 4)}));

    QTest::mousePress(vp, Qt::LeftButton, {}, first);
    QCoreApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, third);
    EXPECT_EQ(model().statementCodes(), (QStringList{code(42, 2), code(42, 3), code(42, 1), code(42, 4)}));
    EXPECT_EQ(panel->info()->text(), QStringLiteral("42"));
}

// The viewer as the page borrows it: what it was asked to show, and the
// caption store it was bound to.
struct ViewerDouble : EditorPhotoPort {
    CaptionTable* bound = nullptr;
    int slot = 0;
    int count = 0;
    QString picture;
    int closes = 0;
    LessonEditorWidget* page = nullptr;
    bool showPhoto(CaptionTable& captions, int s, int c) override
    {
        closeShown();
        bound = &captions;
        slot = s;
        count = c;
        return true;
    }
    bool showPicture(const QString& path, int) override
    {
        closeShown();
        picture = path;
        return true;
    }
    void closePhoto() override { closeShown(); }
    // The real viewer tells the page as it closes, before it opens another.
    void closeShown()
    {
        if (!bound && picture.isEmpty())
            return;
        ++closes;
        bound = nullptr;
        picture.clear();
        page->previewClosed();
    }
};

TEST_F(StepPanelTest, APreviewShowsTheStepsOwnPhotograph)
{
    ViewerDouble viewer;
    viewer.page = page.get();
    page->setPhotoPort(&viewer);
    model().appendStep();
    model().dropPhoto(photo(QStringLiteral("9012"), QStringLiteral("della lezione")), 1);
    model().dropPhoto(photo(QStringLiteral("9013")), 2);
    model().appendStep();
    model().dropPhoto(photo(QStringLiteral("9014"), QStringLiteral("altro passo")), 1);
    model().navigate(LessonEditorModel::Nav::First);
    panel->refresh();

    QTest::mouseDClick(panel->photoSlot(2), Qt::LeftButton);
    QTest::mouseRelease(panel->photoSlot(2), Qt::LeftButton);
    ASSERT_TRUE(viewer.bound);
    EXPECT_EQ(viewer.slot, 2);
    EXPECT_EQ(viewer.count, 15);
    ASSERT_TRUE(page->preview()->isVisible());
    EXPECT_TRUE(page->closePreviewButton()->isVisible());
    EXPECT_EQ(page->previewBinding().numRec, 500);

    // The store stays on the step it was opened for, wherever the page
    // goes meanwhile: a caption written now lands in step 500 and its file.
    model().navigate(LessonEditorModel::Nav::Last);
    EXPECT_EQ(viewer.bound->fieldText(QStringLiteral("TxtF1")), QStringLiteral("della lezione"));
    QString error;
    ASSERT_TRUE(viewer.bound->storeAndSave(QStringLiteral("TxtF2"), QStringLiteral("scritta*#"), &error));
    EXPECT_EQ(model().field(QStringLiteral("TxtF2")), QString());
    EXPECT_EQ(model().stepField(500, QStringLiteral("TxtF2")), QStringLiteral("scritta*#"));
    DataTable onDisk;
    ASSERT_TRUE(onDisk.loadFromFile(path));
    ASSERT_TRUE(onDisk.locate(QStringLiteral("NumRec"), QStringLiteral("500")));
    EXPECT_EQ(onDisk.fieldText(QStringLiteral("TxtF2")), QStringLiteral("scritta*#"));

    // The click area and the close button give the page back.
    QTest::mouseClick(page->preview(), Qt::LeftButton);
    EXPECT_FALSE(page->preview()->isVisible());
    EXPECT_FALSE(viewer.bound);
    EXPECT_EQ(viewer.closes, 1);
    panel->refresh();
    QTest::mouseDClick(panel->photoSlot(1), Qt::LeftButton);
    QTest::mouseRelease(panel->photoSlot(1), Qt::LeftButton);
    ASSERT_TRUE(viewer.bound);
    QTest::mouseClick(page->closePreviewButton(), Qt::LeftButton);
    EXPECT_FALSE(viewer.bound);
    EXPECT_FALSE(page->previewOpen());

    // PnInfo opens the photograph it names; a missing file is said so.
    QTest::mousePress(panel->photoSlot(1), Qt::LeftButton);
    QTest::mouseRelease(panel->photoSlot(1), Qt::LeftButton);
    EXPECT_EQ(panel->info()->text(), QStringLiteral("f 9014"));
    QTest::mouseClick(panel->info(), Qt::LeftButton);
    ASSERT_TRUE(viewer.bound);
    EXPECT_EQ(viewer.bound->fieldText(QStringLiteral("Foto1")), QStringLiteral("9014"));
    page->previewClosed();
    page->showSourcePicture(dir.filePath(QStringLiteral("8888.KXB")), 8888, nullptr, 1, 30);
    EXPECT_TRUE(reports.log.contains(QStringLiteral("10 la foto \"8888.KXB\" non esiste! | ")))
        << qPrintable(reports.log.join(QLatin1Char('|')));
    EXPECT_FALSE(page->previewOpen());
    // A picture without a caption place goes to the viewer read-only.
    page->showSourcePicture(dir.filePath(QStringLiteral("9013.BMP")), 9013, nullptr, 1, 30);
    EXPECT_TRUE(viewer.picture.endsWith(QStringLiteral("9013.BMP")));
    EXPECT_TRUE(page->previewOpen());
    // Hiding the page never leaves the viewer lent to it.
    page->hide();
    EXPECT_TRUE(viewer.picture.isEmpty());
    EXPECT_FALSE(page->previewOpen());
    page->show();

    // The source panel is hidden and shown by a double click on the step.
    QWidget source;
    page->setSourcePanel(&source);
    QTest::mouseDClick(panel->signTarget(), Qt::LeftButton);
    EXPECT_FALSE(source.isVisible());
    EXPECT_TRUE(page->closePreviewButton()->isVisible());
    QTest::mouseDClick(panel->signTarget(), Qt::LeftButton);
    EXPECT_TRUE(source.isVisible());
    page->setSourcePanel(nullptr);
    source.setParent(nullptr);
}

// A copy is named only when the page closes: its name combo (a drop target
// too) is off while it is edited, and on again for the next lesson.
TEST_F(StepPanelTest, ACopysNameIsFixedWhileItIsEdited)
{
    EXPECT_TRUE(panel->lessonName()->isEnabled());
    ASSERT_TRUE(page->open(path, 0, true));
    EXPECT_FALSE(panel->lessonName()->isEnabled());
    EXPECT_FALSE(drop(panel->lessonName(), block()));
    EXPECT_EQ(model().count(), 0);
    ASSERT_TRUE(page->open(path, 0));
    EXPECT_TRUE(panel->lessonName()->isEnabled());
}

TEST_F(StepPanelTest, ClosingANewLessonNamesItOrStaysOpen)
{
    model().dropSign(block());
    // An empty answer keeps the page open, the draft in place.
    EXPECT_FALSE(page->tryClose());
    EXPECT_TRUE(QFileInfo::exists(path));
    // A write that fails keeps it open too, the draft intact.
    ops.fail = true;
    names.answers = {QStringLiteral("Rotonde")};
    EXPECT_FALSE(page->tryClose());
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("Rotonde.xml"))));
    ops.fail = false;
    // A reserved name is asked again, with a beep.
    names.answers = {QStringLiteral("Nuova lezione"), QStringLiteral("Rotonde")};
    names.titles.clear();
    EXPECT_TRUE(page->tryClose());
    EXPECT_EQ(names.beeps, 1);
    EXPECT_EQ(names.titles.last(), QString::fromUtf8("Nome della lezione già esistente"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Rotonde.xml"))));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(StepPanelTest, AFailedSaveKeepsThePageOpenUntilItSucceeds)
{
    model().appendStep();
    reports.answer = false;  // keep the draft on close
    ops.fail = true;
    EXPECT_FALSE(drop(panel->signTarget(), block()) && !model().unsaved());
    EXPECT_TRUE(model().unsaved());
    EXPECT_FALSE(page->tryClose());
    EXPECT_FALSE(page->open(path, 0)) << "the unsaved lesson is not dropped for another";
    EXPECT_TRUE(model().unsaved());
    ops.fail = false;
    EXPECT_TRUE(page->tryClose());
    LessonEditorModel check(reports);
    ASSERT_TRUE(check.open(path));
    EXPECT_EQ(check.field(QStringLiteral("Domanda")), QStringLiteral("0000042"));
}

}  // namespace
}  // namespace ziro

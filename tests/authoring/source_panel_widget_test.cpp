#include "authoring/source_panel_widget.h"

#include "authoring/source_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace ziro {
namespace {

class SourcePanel : public test::SourceFixture {
protected:
    void SetUp() override
    {
        SourceFixture::SetUp();
        writeAB();
        picture(dirs.DirPicSgn + QStringLiteral("101.BMP"), Qt::red);
        picture(dirs.DirPicSgn + QStringLiteral("45.BMP"), Qt::blue);
        panel = std::make_unique<SourcePanelWidget>(dirs, reports);
        panel->resize(640, 260);
    }

    void picture(const QString& path, Qt::GlobalColor colour)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path, "BMP"));
    }

    std::optional<EditorDrag> dragged(DragOrigin origin, int tag = 0)
    {
        std::unique_ptr<QMimeData> mime(panel->dragData(origin, tag));
        if (!mime)
            return std::nullopt;
        EXPECT_TRUE(mime->hasFormat(editorDragMimeType()));
        return decodeEditorDrag(mime.get());
    }

    std::unique_ptr<SourcePanelWidget> panel;
};

TEST_F(SourcePanel, ShowsTheRecordAndDragsTheChosenStatements)
{
    panel->open(0, 0);
    EXPECT_EQ(panel->typeCombo()->currentText(), QStringLiteral("Quiz A e B"));
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("1 / 4"));
    EXPECT_EQ(panel->blockCombo()->currentText(), QStringLiteral("00010"));
    EXPECT_FALSE(panel->navButton(1)->isEnabled());
    EXPECT_TRUE(panel->navButton(3)->isEnabled());
    EXPECT_FALSE(panel->signLabel()->pixmap().isNull());

    QListWidget* list = panel->statementList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Testo uno"));
    EXPECT_EQ(list->item(0)->foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(list->item(1)->foreground().color(), QColor(128, 0, 0));

    list->item(1)->setSelected(true);
    const auto statements = dragged(DragOrigin::SourceStatements);
    ASSERT_TRUE(statements);
    EXPECT_EQ(statements->origin, DragOrigin::SourceStatements);
    EXPECT_EQ(statements->codes, QStringList{"  00010F0008S000"});
    EXPECT_EQ(statements->record.value(QStringLiteral("Nome segnale")), QStringLiteral("101"));

    const auto block = dragged(DragOrigin::BlockCombo);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->codes.size(), 2);
    EXPECT_EQ(block->record.value(QStringLiteral("Domanda")), QStringLiteral("00010"));

    const auto photo = dragged(DragOrigin::SourcePhoto, 21);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->photoValue, QStringLiteral("12"));
    EXPECT_EQ(photo->photoCaption, QStringLiteral("Curva"));
    // Foto1 names a picture that is not there: a cross, not an empty slot.
    EXPECT_FALSE(panel->preview(21)->pixmap().isNull());
    EXPECT_TRUE(panel->preview(22)->pixmap().isNull());

    QTest::mouseClick(panel->navButton(3), Qt::LeftButton);
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("2 / 4"));
    EXPECT_EQ(panel->blockCombo()->currentText(), QStringLiteral("-----"));
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(dragged(DragOrigin::BlockCombo));
    // Sign 102 has no picture: said once, not at every visit.
    QTest::mouseClick(panel->navButton(2), Qt::LeftButton);
    QTest::mouseClick(panel->navButton(3), Qt::LeftButton);
    EXPECT_EQ(reports.log.filter(QStringLiteral("14 Errore segnale Sorgente")).size(), 1);
    EXPECT_TRUE(panel->signLabel()->pixmap().isNull());
}

TEST_F(SourcePanel, CtrlClickOnTheSignAsksForTheFilmAndAStatementShowsItsFigure)
{
    panel->open(0, 0);
    QSignalSpy film(panel.get(), &SourcePanelWidget::filmRequested);
    QTest::mouseClick(panel->signLabel(), Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(film.count(), 1);
    EXPECT_EQ(film.at(0).at(0).toString(), QStringLiteral("v7"));

    const auto middle = [&] {
        const QImage shown = panel->signLabel()->pixmap().toImage();
        return shown.pixelColor(shown.rect().center());
    };
    const QColor before = middle();
    QListWidget* list = panel->statementList();
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_NE(middle(), before);

    // Pressing one of two chosen lines keeps both for the drag; letting go
    // without moving chooses that line alone.
    list->selectAll();
    panel->signLabel()->clear();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(list->selectedItems().size(), 2);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().first(), list->item(0));
    EXPECT_FALSE(panel->signLabel()->pixmap().isNull());
}

TEST_F(SourcePanel, UserPhotosPageDisableTheCombosAndOpenPreviews)
{
    for (int i = 0; i < 16; ++i)
        picture(dirs.DirFotoUtente + QStringLiteral("%1.BMP").arg(9000 + i), Qt::green);
    touch(dirs.DirFotoUtente + QStringLiteral("0042 x.BMP"));
    panel->open(0, 0);
    const int photoItem = panel->topicCombo()->count() - 1;
    ASSERT_EQ(panel->topicCombo()->itemText(photoItem), QStringLiteral("SELEZIONE FOTO"));
    panel->topicCombo()->activated(photoItem);

    EXPECT_EQ(panel->typeCombo()->currentText(), QStringLiteral("Foto utente"));
    EXPECT_FALSE(panel->topicCombo()->isEnabled());
    EXPECT_FALSE(panel->blockCombo()->isEnabled());
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("1 / 2"));
    EXPECT_TRUE(panel->signLabel()->pixmap().isNull());
    EXPECT_EQ(panel->statementList()->count(), 0);
    EXPECT_FALSE(panel->preview(35)->pixmap().isNull());
    EXPECT_TRUE(panel->preview(36)->pixmap().isNull());

    QSignalSpy info(panel.get(), &SourcePanelWidget::infoChanged);
    QSignalSpy preview(panel.get(), &SourcePanelWidget::previewRequested);
    QTest::mousePress(panel->preview(22), Qt::LeftButton);
    QTest::mouseRelease(panel->preview(22), Qt::LeftButton);
    ASSERT_EQ(info.count(), 1);
    EXPECT_EQ(info.at(0).at(0).toString(), QStringLiteral("f 9001"));
    // The pictures take the press: inside the presentation only the widget
    // that took it is sent the moves that start a drag.
    for (QWidget* w : {static_cast<QWidget*>(panel->preview(22)), static_cast<QWidget*>(panel->signLabel())}) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        press.ignore();
        QCoreApplication::sendEvent(w, &press);
        EXPECT_TRUE(press.isAccepted()) << qPrintable(w->objectName());
        QTest::mouseRelease(w, Qt::LeftButton);
    }
    QTest::mouseDClick(panel->preview(22), Qt::LeftButton);
    EXPECT_EQ(preview.count(), 0);  // the viewer comes once the button is up
    QTest::mouseRelease(panel->preview(22), Qt::LeftButton);
    ASSERT_EQ(preview.count(), 1);
    EXPECT_EQ(preview.at(0).at(0).toInt(), 22);

    QTest::mouseClick(panel->navButton(3), Qt::LeftButton);
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("2 / 2"));
    const auto last = dragged(DragOrigin::SourcePhoto, 21);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->photoValue, QStringLiteral("9015"));
    EXPECT_FALSE(dragged(DragOrigin::SourcePhoto, 22));
    EXPECT_FALSE(panel->navButton(4)->isEnabled());

    // Back to an edition: the combos come back with the record kept.
    panel->typeCombo()->activated(0);
    EXPECT_TRUE(panel->topicCombo()->isEnabled());
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("1 / 4"));
}

TEST_F(SourcePanel, AnEmptyPhotoListFallsBackToTheFirstEdition)
{
    panel->open(0, 0);
    panel->typeCombo()->activated(1);  // no "FOTO NUOVE.TXT"
    EXPECT_EQ(panel->typeCombo()->currentIndex(), 0);
    EXPECT_TRUE(panel->topicCombo()->isEnabled());
    EXPECT_EQ(panel->counterLabel()->text(), QStringLiteral("1 / 4"));
}

TEST_F(SourcePanel, ALineWiderThanTheListIsHintedOnlyFarToTheRight)
{
    const QString longText = QStringLiteral("Il segnale raffigurato ").repeated(8);
    writeBank(QStringLiteral("NQM2016.XML"), {{"00010", "7", true, longText, {}, {}, 0, "", "1"},
                                              {"00010", "8", false, "Breve", {}, {}, 0, "", "1"}});
    panel->resize(640, 260);
    panel->show();
    panel->open(0, 0);
    QListWidget* list = panel->statementList();
    ASSERT_EQ(list->count(), 2);
    ASSERT_GT(list->viewport()->width(), 420);
    auto hint = [&](int row, int x) {
        QToolTip::hideText();
        const QPoint at(x, list->visualItemRect(list->item(row)).center().y());
        QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
        // A hint refused leaves the event ignored (the tip fades out later).
        return event.isAccepted() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hint(0, 410), longText);
    EXPECT_EQ(hint(0, 390), QString());
    EXPECT_EQ(hint(1, 410), QString());
    QToolTip::hideText();
}

}  // namespace
}  // namespace ziro

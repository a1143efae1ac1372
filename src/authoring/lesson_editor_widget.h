#pragma once

// The lesson editor's page: the source half on top (set from outside), the
// step panel below, previews of photographs in the program's photo viewer,
// and the naming of a new lesson when the page closes.

#include "authoring/lesson_editor_model.h"
#include "authoring/step_panel_widget.h"

#include <QWidget>

#include <memory>

class QToolButton;

namespace ziro {

class CaptionTable;
class CustomLessonPort;
struct Folders;
class Reports;

// The program's photo viewer as the editor borrows it, placed over the page
// (29 pixels down and 4 right of its usual place). It tells the page when it
// closes (previewClosed). The null base shows nothing.
class EditorPhotoPort {
public:
    virtual ~EditorPhotoPort() = default;
    // Photograph `slot` of the `count` slots of `captions`, whose captions
    // are read from and written there as long as the viewer shows it.
    virtual bool showPhoto(CaptionTable& captions, int slot, int count)
    {
        Q_UNUSED(captions);
        Q_UNUSED(slot);
        Q_UNUSED(count);
        return false;
    }
    // A picture that has no place for a caption: shown read-only.
    virtual bool showPicture(const QString& path, int number)
    {
        Q_UNUSED(path);
        Q_UNUSED(number);
        return false;
    }
    // Closes what the page asked for (never the lesson's own photograph).
    virtual void closePhoto() {}
};

class LessonEditorWidget : public QWidget {
    Q_OBJECT
public:
    LessonEditorWidget(const Folders& dirs, Reports& reports, CustomLessonPort& names, QWidget* parent = nullptr,
                       LessonFileOps& ops = realLessonFileOps());

    // The source half goes above the steps; the page does not own its logic.
    void setSourcePanel(QWidget* panel);
    QWidget* sourcePanel() const { return m_sourcePanel; }
    void setSource(EditorSource* source) { m_steps->setSource(source); }
    void setBank(const QuestionBank* bank) { m_steps->setBank(bank); }

    // Opens the lesson file at step 1; `tipo` is the edition's Tipo; false
    // (reported) when it cannot be read. A copy's name combo is disabled:
    // the copy is named when the page closes.
    bool open(const QString& lessonPath, int tipo, bool copy = false);
    // The page may close: its work is on disk, a new lesson has been named
    // or kept as the draft. False keeps the page open.
    bool tryClose();
    void setPhotoPort(EditorPhotoPort* port) { m_photoPort = port; }
    // A source picture (double-clicked in the source half) in the viewer:
    // with `captions`, photograph `slot` of the `count` of that record, its
    // caption kept there; without, read-only. A missing file is said so.
    void showSourcePicture(const QString& path, int number, std::unique_ptr<CaptionTable> captions, int slot,
                           int count);
    // The viewer closed (by its own keys or clicks, or for another
    // photograph): the page is the teacher's again.
    void previewClosed();
    bool previewOpen() const { return m_previewOpen; }

    LessonEditorModel& model() { return m_model; }
    StepPanelWidget* steps() const { return m_steps; }
    // PBackClose: the click area over the page while a preview shows.
    QWidget* preview() const { return m_preview; }
    QToolButton* closePreviewButton() const { return m_closePreview; }
    // The step photograph the preview shows, as it was when opened.
    const StepPhotoBinding& previewBinding() const { return m_binding; }

Q_SIGNALS:
    void closed(const QString& lessonPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showPreview(const StepPhotoBinding& photo);
    void closePreview();
    bool openInViewer(std::unique_ptr<CaptionTable> captions, int slot, int count, const QString& path, int number);
    void toggleSource();
    QString askName(bool again);

    const Folders& m_dirs;
    Reports& m_reports;
    CustomLessonPort& m_names;
    LessonEditorModel m_model;
    StepPanelWidget* m_steps = nullptr;
    QWidget* m_sourcePanel = nullptr;
    QWidget* m_preview = nullptr;
    QToolButton* m_closePreview = nullptr;
    StepPhotoBinding m_binding;
    EditorPhotoPort* m_photoPort = nullptr;
    // The caption store the viewer is bound to; it outlives the binding.
    std::unique_ptr<CaptionTable> m_previewTable;
    bool m_previewOpen = false;
};

}  // namespace ziro

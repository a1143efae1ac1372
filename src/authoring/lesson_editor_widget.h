#pragma once

// The lesson editor's page: the source half on top (set from outside), the
// step panel below, a preview of a step photograph, and the naming of a new
// lesson when the page closes.

#include "authoring/lesson_editor_model.h"
#include "authoring/step_panel_widget.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace ziro {

class CustomLessonPort;
struct Folders;
class Reports;

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
    // (reported) when it cannot be read.
    bool open(const QString& lessonPath, int tipo);
    // The page may close: its work is on disk, a new lesson has been named
    // or kept as the draft. False keeps the page open.
    bool tryClose();
    // A source picture (double-clicked in the source half) in the preview,
    // for a look only: it is bound to no step.
    void showSourcePicture(const QString& path, const QString& caption);

    LessonEditorModel& model() { return m_model; }
    StepPanelWidget* steps() const { return m_steps; }
    QLabel* preview() const { return m_preview; }
    QToolButton* closePreviewButton() const { return m_closePreview; }
    // The photograph the preview shows, as the step holds it.
    const StepPhotoBinding& previewBinding() const { return m_binding; }

Q_SIGNALS:
    void closed(const QString& lessonPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPreview(const StepPhotoBinding& photo);
    void closePreview();
    void toggleSource();
    QString askName(bool again);

    const Folders& m_dirs;
    Reports& m_reports;
    CustomLessonPort& m_names;
    LessonEditorModel m_model;
    StepPanelWidget* m_steps = nullptr;
    QWidget* m_sourcePanel = nullptr;
    QLabel* m_preview = nullptr;
    QToolButton* m_closePreview = nullptr;
    StepPhotoBinding m_binding;
};

}  // namespace ziro

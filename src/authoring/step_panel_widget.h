#pragma once

// The lower half of the lesson editor: the current step of the lesson (its
// sign, its statements, its 15 photographs) with the navigator, the lesson
// name and every drop target. All the rules live in LessonEditorModel; this
// is the drag-and-drop plumbing, the drop menu, the questions before a
// delete, and the reordering of statements by dragging.

#include "authoring/editor_drag.h"
#include "authoring/lesson_editor_model.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QScrollArea;
class QSlider;
class QTimer;
class QToolButton;

namespace ziro {

struct Folders;
class QuestionBank;
class Reports;

// What a destination photograph is, so that a preview shows and edits the
// step's own photograph and never a source record's.
struct StepPhotoBinding {
    QString lessonPath;
    int numRec = 0;
    int slot = 0;  // 1..15
    QString value;
    QString caption;
};

class StepPanelWidget : public QWidget {
    Q_OBJECT
public:
    enum class MenuChoice { Append, InsertBefore, Current };

    StepPanelWidget(LessonEditorModel& model, const Folders& dirs, Reports& reports, QWidget* parent = nullptr);

    void setBank(const QuestionBank* bank) { m_bank = bank; }
    void setSource(EditorSource* source) { m_source = source; }

    // AggiornaDestinazione: shows the current step.
    void refresh();

    QWidget* signTarget() const;
    QListWidget* statementList() const { return m_list; }
    QWidget* photoSlot(int slot) const;
    QWidget* insertMarker(int marker) const;
    QComboBox* lessonName() const { return m_name; }
    QToolButton* menuToggle() const { return m_insertType; }
    QLabel* info() const { return m_info; }
    QLabel* counter() const { return m_counter; }
    QSlider* trackBar() const { return m_track; }
    QToolButton* navButton(int i) const { return m_nav[std::size_t(i)]; }
    QMenu* dropMenu() const { return m_menu; }
    QFrame* moveMarker() const { return m_marker; }
    bool hasPendingDrop() const { return m_pending.has_value(); }
    void applyPending(MenuChoice choice);

Q_SIGNALS:
    // A step photograph to show large.
    void previewRequested(const ziro::StepPhotoBinding& photo);
    // A double click on the destination panel: hide or show the source.
    void toggleSourceRequested();
    void lessonChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        LessonEditorModel::Target target = LessonEditorModel::Target::Sign;
        int slot = 0;
        EditorDrag drag;
    };

    bool acceptsHere(QObject* target, const EditorDrag& drag) const;
    bool dropHere(QObject* target, const EditorDrag& drag, const QPoint& globalPos);
    bool apply(const Pending& p);
    void changed(bool didChange);
    void onNav(int which);
    void startDragFrom(QWidget* w, const EditorDrag& drag);
    void showPhotoInfo(int slot);
    void requestPreview(int slot);
    bool listEvent(QEvent* event);
    void updateMoveMarker(const QPoint& viewportPos);
    void endMove(bool apply);
    int slotOf(QObject* o) const;
    int markerOf(QObject* o) const;

    LessonEditorModel& m_model;
    const Folders& m_dirs;
    Reports& m_reports;
    const QuestionBank* m_bank = nullptr;
    EditorSource* m_source = nullptr;

    QToolButton* m_insertType = nullptr;
    QLabel* m_sign = nullptr;
    QListWidget* m_list = nullptr;
    QScrollArea* m_strip = nullptr;
    std::array<QLabel*, kStepPhotos> m_slots{};
    std::array<QFrame*, kStepPhotos> m_markers{};
    QLabel* m_counter = nullptr;
    QSlider* m_track = nullptr;
    QComboBox* m_name = nullptr;
    std::array<QToolButton*, 6> m_nav{};
    QLabel* m_info = nullptr;
    QMenu* m_menu = nullptr;
    QFrame* m_marker = nullptr;
    QTimer* m_scroll = nullptr;

    std::optional<Pending> m_pending;
    int m_infoSlot = 0;
    int m_previewOnRelease = 0;  // the slot double-clicked, shown on the release
    // The statement being moved, and where it would land.
    int m_dragged = -1;
    int m_dropAt = -1;
    int m_scrollStep = 0;
    QPoint m_pressPos;
    QPointer<QWidget> m_pressed;
    bool m_refreshing = false;
};

}  // namespace ziro

#pragma once

// The upper half of the lesson editor: the source the teacher drags from.
// Everything it shows and every drag it starts comes from a SourceModel; the
// panel only draws, forwards clicks and starts drags with the editor's
// private MIME type.

#include "authoring/source_model.h"

#include <QPoint>
#include <QSet>
#include <QWidget>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QScrollArea;
class QToolButton;

namespace ziro {

class SourcePanelWidget : public QWidget {
    Q_OBJECT

public:
    SourcePanelWidget(const Folders& dirs, Reports& reports, QWidget* parent = nullptr);
    ~SourcePanelWidget() override;

    SourceModel& model() { return *m_model; }
    // The destination's topic import reads the source through this.
    EditorSource& source() { return *m_model; }

    // Opens the editor on a source type with the topic combo's marker (the
    // item selected when an edition is applied). Reports of a missing user
    // photo folder or picture list come once, at the first opening.
    void open(int sourceIndex, int topicMarker);
    // The folders after the settings moved them (read at the next open).
    void setFolders(const Folders& dirs) { m_model->setFolders(dirs); }
    // Applies a source type as choosing it in the type combo does.
    void applySourceType(int index);

    // For tests: the controls by their names.
    QComboBox* typeCombo() const { return m_type; }
    QComboBox* topicCombo() const { return m_topics; }
    QComboBox* blockCombo() const { return m_blocks; }
    QListWidget* statementList() const { return m_list; }
    QLabel* signLabel() const { return m_sign; }
    QLabel* preview(int tag) const;
    QLabel* counterLabel() const { return m_counter; }
    QToolButton* navButton(int tag) const { return m_nav[size_t(tag - 1)]; }
    QLabel* infoLabel() const { return m_info; }

    // The MIME data a drag from `origin` (with a picture `tag`) would carry
    // now; null when nothing would be dragged.
    QMimeData* dragData(DragOrigin origin, int tag = 0) const;

Q_SIGNALS:
    // A double-click on source picture `tag` (21..50).
    void previewRequested(int tag);
    // Ctrl-click on the sign of a record with a film.
    void filmRequested(const QString& video);
    // The text of the information panel.
    void infoChanged(const QString& text);
    // The source record or page changed.
    void sourceChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void fillTopics();
    void showSign(const QString& path);
    void showPictures();
    void setInfo(const QString& text);
    void startDrag(QWidget* from, DragOrigin origin, int tag);
    bool listTooltip(QEvent* event);

    Reports& m_reports;
    std::unique_ptr<SourceModel> m_model;
    QSet<QString> m_badSigns;  // reported once each
    bool m_checked = false;
    bool m_updating = false;

    QComboBox* m_type = nullptr;
    QComboBox* m_topics = nullptr;
    QComboBox* m_blocks = nullptr;
    std::array<QToolButton*, 4> m_nav{};
    QLabel* m_counter = nullptr;
    QLabel* m_sign = nullptr;
    QListWidget* m_list = nullptr;
    QScrollArea* m_strip = nullptr;
    std::array<QLabel*, kSourcePhotos> m_previews{};
    QLabel* m_info = nullptr;

    QWidget* m_pressed = nullptr;  // where a possible drag began
    QPoint m_pressPos;
    bool m_comboPress = false;
    int m_previewOnRelease = 0;  // the picture double-clicked, shown on the release
};

}  // namespace ziro

#pragma once

// The caption tool bar: a small bar over the lesson with which the teacher
// writes and styles the caption of the photograph on show and arms its two
// arrows. It always works on the photo viewer's caption; what each control
// does to it follows the rules of caption_tools.h, and the viewer stores it.

#include "annotate/caption_tools.h"
#include "controls/overlay_widget.h"
#include "viewers/photo_caption.h"

#include <QColor>

#include <functional>
#include <optional>

class QComboBox;
class QPlainTextEdit;
class QSlider;
class QToolButton;
class QLineEdit;

namespace ziro {

class CaptionStyleStore;
class PhotoViewer;
class Reports;

class TTools : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTools(QWidget* host);
    ~TTools() override;

    // The viewer whose caption the bar works on, the stored styles and the
    // questions asked before storing one.
    void attach(PhotoViewer* viewer, CaptionStyleStore* styles, Reports* reports);

    // Picks a colour starting from `current`; nullopt when the teacher
    // cancels. The default shows the colour grid over the bar.
    using ColourChooser = std::function<std::optional<QColor>(const QColor& current)>;
    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

    // FormShow: opens under the viewer at `viewerTopLeft`.
    void openAt(const QPoint& viewerTopLeft);
    // FormClose: parks the bar out of sight.
    void park();
    bool isOpen() const { return m_open; }

    int armedArrow() const { return m_state.armedArrow(); }
    void arrowDrawn(int arrow);
    // AcquireData: the controls show the caption.
    void showCaption(const PhotoCaption& caption, bool selected);

    const CaptionToolBarState& state() const { return m_state; }
    QPlainTextEdit* editText() const { return m_edit; }
    QSlider* sizeBar() const { return m_size; }
    QComboBox* fontBox() const { return m_font; }
    QComboBox* colorBox() const { return m_colour; }
    // A tool button by its name ("Sb_Bld", "Sb_ArrowOn1", ...).
    QToolButton* button(const QString& name) const;

    // The buttons' actions, as clicks give them.
    void Sb_Predef1Click(bool fromButton);
    void Sb_JmClick();
    void presetClick(CaptionPreset preset, Qt::MouseButton button);

Q_SIGNALS:
    void beepRequested();
    // Sb_SafeArea: the usable area's frame shown or hidden.
    void safeAreaShown(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QToolButton* makeButton(const char* name, const QString& hint, const QRect& place, bool checkable);
    void layoutControls();
    ToolFocus focusArea() const;
    bool usable() const;
    const PhotoCaption& caption() const;
    void change(const std::function<void(PhotoCaption&)>& edit);
    void selectFirst();
    void editTextChanged();
    void applySize(int value);
    void alignmentClick(CaptionAlignment alignment);
    void arrowClick(int arrow);
    void pickColour(QColor PhotoCaption::*member);
    std::optional<QColor> chooseColour(const QColor& current);
    void fontChosen(int index);
    void colourChosen(int index);
    void setViewMode(bool multiLine);
    void refreshButtons();

    PhotoViewer* m_viewer = nullptr;
    CaptionStyleStore* m_styles = nullptr;
    Reports* m_reports = nullptr;
    ColourChooser m_chooseColour;
    CaptionToolBarState m_state;
    bool m_open = false;
    bool m_updating = false;  // the controls are being set from the caption
    int m_usedFonts = -1;     // NumUsed: the last recently used font at the top
    QPoint m_dragFrom;

    QComboBox* m_font = nullptr;
    QComboBox* m_colour = nullptr;
    QSlider* m_size = nullptr;
    QPlainTextEdit* m_edit = nullptr;
    QLineEdit* m_hideFocus = nullptr;
    QToolButton* m_fold = nullptr;
};

}  // namespace ziro

#pragma once

#include "controls/overlay_widget.h"
#include "menus/banner.h"

#include <QColor>
#include <QString>

#include <array>

class QLabel;
class QTimer;

namespace ziro {

// The sub-topic banner: a translucent rounded strip over the main window
// naming the current sub-topic in its group's colour. A child overlay cannot
// have a window opacity of its own, so the strip and text are painted with
// alpha and the rest of the widget is left unpainted (see-through).
class TBackSubArg : public OverlayWindow {
    Q_OBJECT
public:
    // Whole-window opacity of the design, applied to everything painted.
    static constexpr int kAlpha = 240;
    // The text reported (with a short tone) when the banner cannot be written.
    static QString errorText() { return QStringLiteral("Errore su scrittura argomento."); }

    explicit TBackSubArg(QWidget* host);

    // Writes the banner for `sottoArgCorr`, shows it over the host and starts
    // TimerSubArgWrite. False, with nothing shown, when the topic code cannot
    // be read: the caller reports errorText().
    bool showFor(const QString& sottoArgCorr, TModoQuiz edition, const TopicMenu& menu,
                 const std::array<QString, 10>& titoli);

    // ScriveSubArgDeskTop: `mode` true writes and shows the banner when
    // `state` allows it (the banner's own visibility is taken from the
    // window, whatever state says), otherwise closes it. False only on the
    // write error above.
    bool scriveSubArgDeskTop(bool mode, BannerState state, const QString& sottoArgCorr,
                             TModoQuiz edition, const TopicMenu& menu,
                             const std::array<QString, 10>& titoli);

    // Closes the banner and stops the timer.
    void closeBanner();

    // WriteLabel: fits the label to the window and sizes the strip under it.
    void writeLabel();

    QString text() const;
    QColor fillColour() const { return m_fill; }
    int shapeHeight() const { return m_shapeHeight; }
    QLabel* label() const { return m_label; }
    // Fires kBannerShowMs after showing; closes the banner once the main
    // window is visible.
    QTimer* timer() const { return m_timer; }

Q_SIGNALS:
    // Key releases are the main window's: its key map acts on them.
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTimer();

    QLabel* m_label = nullptr;
    QTimer* m_timer = nullptr;
    QColor m_fill = QColor(192, 192, 192);  // silver until a group colours it
    int m_shapeHeight = 86;
};

}  // namespace ziro

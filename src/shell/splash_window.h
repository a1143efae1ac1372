#pragma once

#include <QTimer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;

namespace ziro {

class TKXImage;
class SystemServices;

// Opacity after `step` steps of the fade-in (+3 each, capped at 255) and of
// the dissolve (-4 each, floored at 0).
int fadeInOpacity(int step);
int dissolveOpacity(int step);
// Top-left corner of the splash on a screen of the given size.
QPoint splashPosition(QSize screen, QSize splash = {410, 130});

// The start-up splash: the one window of the program that is a top-level of
// its own, shown before the main window exists.
class TSplash : public QWidget {
    Q_OBJECT
public:
    TSplash(const QString& dirProgram, SystemServices& system);

    // Places the window, loads "LOGO.BMP", starts "LOGO.WAV" and shows it.
    void showSplash();
    // Shows `text` in the version label while the splash is visible.
    void showVersion(const QString& text);
    // Fades the splash out, then closes it; returns once it is gone. A
    // splash that is no longer visible is left alone.
    void dissolve();

    bool dissolved() const { return m_dissolved; }
    // How strongly the splash shows, 0 (not at all) to 255.
    int level() const { return m_level; }
    QLabel* versionLabel() const { return m_ver3; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fadeInStep();
    void setLevel(int level);

    QString m_dirProgram;
    SystemServices& m_system;
    QWidget* m_body = nullptr;
    QGraphicsOpacityEffect* m_effect = nullptr;
    int m_level = 0;
    TKXImage* m_picture = nullptr;
    QLabel* m_ver3 = nullptr;
    QTimer m_fade;
    int m_fadeStep = 0;
    bool m_fadeInDone = false;
    bool m_dissolved = false;
};

}  // namespace ziro

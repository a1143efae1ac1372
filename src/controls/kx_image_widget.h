#pragma once

// Picture control for signs, icons, photographs, book pages and the splash
// logo. It loads masked bitmaps (and plain BMPs) and places itself inside a
// frame rectangle given in its parent's coordinates.

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

namespace ziro {

class TKXImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString About READ About WRITE setAbout)
    Q_PROPERTY(QString NomeKXB READ NomeKXB WRITE setNomeKXB)
    Q_PROPERTY(bool KeepRatio READ KeepRatio WRITE setKeepRatio)
    Q_PROPERTY(int FrameLeft READ FrameLeft WRITE setFrameLeft)
    Q_PROPERTY(int FrameTop READ FrameTop WRITE setFrameTop)
    Q_PROPERTY(int FrameWidth READ FrameWidth WRITE setFrameWidth)
    Q_PROPERTY(int FrameHeight READ FrameHeight WRITE setFrameHeight)
    Q_PROPERTY(int FrameBorder READ FrameBorder WRITE setFrameBorder)
    Q_PROPERTY(float AdjRatio READ AdjRatio WRITE setAdjRatio)
    Q_PROPERTY(bool Stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool Center READ center WRITE setCenter)

public:
    // The frame starts as the control's bounds at creation.
    explicit TKXImage(QWidget* parent = nullptr);
    TKXImage(QWidget* parent, QRect bounds);

    QString About() const { return m_about; }
    void setAbout(const QString& about) { m_about = about; }

    // Stores the name, then loads the file and fits (LoadKXB). Returns whether
    // the load succeeded; on failure the previous picture and geometry stay.
    QString NomeKXB() const { return m_nomeKXB; }
    bool setNomeKXB(const QString& nomeFile);

    bool KeepRatio() const { return m_keepRatio; }
    void setKeepRatio(bool keepRatio);

    // The frame and its modifiers are only stored: they take effect at the
    // next load, KeepRatio change or fit().
    int FrameLeft() const { return m_frame.left(); }
    int FrameTop() const { return m_frame.top(); }
    int FrameWidth() const { return m_frame.width(); }
    int FrameHeight() const { return m_frame.height(); }
    void setFrameLeft(int left) { m_frame.moveLeft(left); }
    void setFrameTop(int top) { m_frame.moveTop(top); }
    void setFrameWidth(int width) { m_frame.setWidth(width); }
    void setFrameHeight(int height) { m_frame.setHeight(height); }
    QRect frame() const { return m_frame; }
    void setFrame(const QRect& frame) { m_frame = frame; }

    int FrameBorder() const { return m_frameBorder; }
    void setFrameBorder(int border) { m_frameBorder = border; }
    float AdjRatio() const { return m_adjRatio; }
    void setAdjRatio(float ratio) { m_adjRatio = ratio; }

    // Reads and decodes the file, then fits. A failed load changes nothing
    // and returns false; the caller reports it.
    bool LoadKXB(const QString& NomeFile);

    // Shows a picture decoded elsewhere (e.g. a JPEG) and fits. A null
    // picture is the same as clear().
    void setPicture(const QImage& picture);
    // Empties the control: it paints nothing and fitting does nothing until
    // the next picture arrives. Geometry stays.
    void clear();
    const QImage& picture() const { return m_picture; }
    bool isLoaded() const { return !m_picture.isNull(); }

    // Places the control in its frame for the current picture; does nothing
    // while the control is empty.
    void fit();

    // Stretch (default): the picture fills the control. Otherwise it is drawn
    // at its own size, at the top-left corner or centred.
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    bool center() const { return m_center; }
    void setCenter(bool center);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_about = QStringLiteral("Masked bitmap picture control");
    QString m_nomeKXB;
    bool m_keepRatio = false;
    QRect m_frame;
    int m_frameBorder = 0;
    float m_adjRatio = 1.0f;
    QImage m_picture;
    bool m_stretch = true;
    bool m_center = false;
};

} // namespace ziro

#pragma once

// The big bitmap viewer's file: a device-independent bitmap read through a
// read-only mapping of the file. The headers are checked against the file's
// size before a pixel is touched, so a truncated or doctored file is refused
// with the viewer's message instead of being read past its end.

#include <QFile>
#include <QImage>
#include <QString>

#include <memory>

namespace ziro {

class BigBitmap {
public:
    BigBitmap() = default;
    ~BigBitmap();
    BigBitmap(const BigBitmap&) = delete;
    BigBitmap& operator=(const BigBitmap&) = delete;

    const QString& fileName() const { return m_fileName; }
    // Fails with "Not on an active big bitmap viewer" while open.
    bool setFileName(const QString& name, QString* error = nullptr);

    // Maps the file and checks it; on failure `error` gets the message
    // ("Failed to open <name>", "Failed to map file", "Bitmap image is not
    // valid") and the viewer stays closed with nothing mapped.
    bool open(QString* error = nullptr);
    void close();
    bool active() const { return m_map != nullptr; }

    int bitmapWidth() const { return m_width; }
    int bitmapHeight() const { return m_height; }
    // Colour table entries: the header's count when set, else 2, 16 or 256
    // for 1, 4 or 8 bits; 0 above 8 bits (no palette).
    int colours() const { return m_colours; }
    bool hasPalette() const { return m_colours >= 3; }

    // The picture, decoded from the mapping; null while closed.
    const QImage& picture() const { return m_picture; }

private:
    QString m_fileName;
    std::unique_ptr<QFile> m_file;
    uchar* m_map = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_colours = 0;
    QImage m_picture;
};

}  // namespace ziro

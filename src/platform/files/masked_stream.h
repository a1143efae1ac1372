#pragma once

// Reads a masked film as the playable file it stands for, without writing
// it: the file's own bytes, with its masked leading bytes replaced in memory
// by the ones a playable file of its kind starts with. Any other file (a
// restored ".MPG", ".MP4", ".AVI", or a name of no masked kind) is read as it
// is.
//
// The media engine reads from its own threads, several streams at once and
// at any offset, so reads are positional and the reader keeps no position of
// its own: one reader may be shared by threads once it is open.

#include <QByteArray>
#include <QString>

namespace ziro {

class MaskedStream {
public:
    MaskedStream() = default;
    ~MaskedStream();
    MaskedStream(const MaskedStream&) = delete;
    MaskedStream& operator=(const MaskedStream&) = delete;

    // Opens `path` for reading. A file named as a masked kind must start
    // with that kind's mask bytes: one that does not (already restored,
    // damaged, or not a film at all) is refused, since restoring bytes over
    // anything else would hand the player garbage. False, with the reason in
    // `error`, when the file cannot be opened or is refused.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // The file's length, fixed when it was opened.
    qint64 size() const { return m_size; }
    // Whether the leading bytes are restored on reading.
    bool isMasked() const { return !m_restore.isEmpty(); }

    // Copies up to `n` bytes from `offset` into `buffer`: the count copied,
    // 0 at or past the end, -1 on a read error or a negative argument.
    qint64 read(qint64 offset, char* buffer, qint64 n) const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
    QByteArray m_restore;  // what the first bytes read as; empty for plain files
};

}  // namespace ziro

#include "platform/files/masked_stream.h"

#include "platform/files/mask_kinds.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ziro {

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// pread until `n` bytes or the end; -1 on an error.
qint64 readAt(int fd, qint64 offset, char* buffer, qint64 n)
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, buffer + done, size_t(n - done), off_t(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

}  // namespace

MaskedStream::~MaskedStream()
{
    close();
}

bool MaskedStream::open(const QString& path, QString* error)
{
    close();
    const QString shown = QDir::toNativeSeparators(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, QStringLiteral("%1: %2").arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        setError(error, QStringLiteral("%1: not a regular file").arg(shown));
        return false;
    }

    bool masked = false;
    const std::optional<MaskKind> kind = maskKindOf(path, &masked);
    QByteArray restore;
    if (kind && masked) {
        const QByteArray& mask = kind->maskBytes;
        QByteArray head(mask.size(), '\0');
        const qint64 got = readAt(fd, 0, head.data(), head.size());
        if (got != head.size() || head != mask) {
            ::close(fd);
            setError(error, got < 0 ? QStringLiteral("%1: %2").arg(shown, QString::fromLocal8Bit(std::strerror(errno)))
                                    : QStringLiteral("%1: not a masked %2 file (its first bytes are not \"%3\")")
                                          .arg(shown, QLatin1String(kind->masked + 1), QLatin1String(mask)));
            return false;
        }
        restore = kind->restoreBytes;
    }

    m_fd = fd;
    m_size = qint64(st.st_size);
    m_restore = restore;
    return true;
}

void MaskedStream::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_restore.clear();
}

qint64 MaskedStream::read(qint64 offset, char* buffer, qint64 n) const
{
    if (m_fd < 0 || offset < 0 || n < 0)
        return -1;
    if (offset >= m_size || n == 0)
        return 0;
    n = std::min(n, m_size - offset);
    const qint64 got = readAt(m_fd, offset, buffer, n);
    if (got <= 0)
        return got;
    // The leading bytes, wherever this read overlaps them.
    const qint64 head = m_restore.size();
    for (qint64 at = offset; at < head && at < offset + got; ++at)
        buffer[at - offset] = m_restore[at];
    return got;
}

}  // namespace ziro

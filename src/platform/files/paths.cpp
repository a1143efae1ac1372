#include "platform/files/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

namespace ziro {

bool isPlainName(const QString& code)
{
    if (code.isEmpty())
        return false;
    if (code.contains(QLatin1Char('/')) || code.contains(QLatin1Char('\\'))
        || code.contains(QLatin1String("..")))
        return false;
    bool onlyDots = true;
    for (const QChar c : code) {
        // Other_Control covers NUL, the C0 and C1 ranges and DEL.
        if (c.category() == QChar::Other_Control)
            return false;
        if (c != QLatin1Char('.'))
            onlyDots = false;
    }
    if (onlyDots)
        return false;
    // "C:name" is relative to a drive on Windows.
    const bool driveLetter = code.size() >= 2 && code.at(1) == QLatin1Char(':')
                             && code.at(0).isLetter() && code.at(0).unicode() < 0x80;
    return !driveLetter;
}

namespace {

QString withTrailingSlash(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

}  // namespace

CaseInsensitiveResolver::Listing CaseInsensitiveResolver::readListing(const QString& folder)
{
    Listing listing;
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    // Sorted, and the first of several names that differ only in case wins, so
    // the choice does not depend on the order the file system lists them in.
    for (const QString& name : names) {
        const QString key = name.toCaseFolded();
        if (!listing.contains(key))
            listing.insert(key, name);
    }
    return listing;
}

QString CaseInsensitiveResolver::resolve(const QString& folder, const QString& name)
{
    const QString dir = withTrailingSlash(folder);
    const QString direct = dir + name;
    if (!isPlainName(name) || QFileInfo::exists(direct))
        return direct;

    const QString key = name.toCaseFolded();
    // A folder's time changes whenever an entry is added, removed or renamed,
    // so a listing read at that time still holds: a name missing from it is
    // missing from the folder, and a step that looks for an absent page does
    // not read the whole folder again each time.
    const QDateTime modified = QFileInfo(dir).lastModified();
    QMutexLocker locker(&m_mutex);
    const auto cached = m_listings.constFind(dir);
    if (cached != m_listings.constEnd() && cached->settled && cached->modified == modified &&
        modified.isValid()) {
        const QString onDisk = cached->names.value(key);
        if (onDisk.isEmpty())
            return direct;
        if (QFileInfo::exists(dir + onDisk))
            return dir + onDisk;
    }
    // Not cached, changed since, or an entry gone: read the folder again.
    Listing listing = readListing(dir);
    const QString onDisk = listing.value(key);
    const bool settled = modified.isValid() && modified.msecsTo(QDateTime::currentDateTime()) > 2000;
    m_listings.insert(dir, Cached{std::move(listing), modified, settled});
    return onDisk.isEmpty() ? direct : dir + onDisk;
}

void CaseInsensitiveResolver::invalidate(const QString& folder)
{
    QMutexLocker locker(&m_mutex);
    m_listings.remove(withTrailingSlash(folder));
}

void CaseInsensitiveResolver::clear()
{
    QMutexLocker locker(&m_mutex);
    m_listings.clear();
}

CaseInsensitiveResolver& fileResolver()
{
    static CaseInsensitiveResolver resolver;
    return resolver;
}

QString resolveFile(const QString& folder, const QString& name)
{
    return fileResolver().resolve(folder, name);
}

std::optional<QString> joinPlain(const QString& folder, const QString& code,
                                 const QString& prefix, const QString& extension)
{
    if (!isPlainName(code))
        return std::nullopt;
    return resolveFile(folder, prefix + code + extension);
}

}  // namespace ziro

#pragma once

#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QString>

#include <optional>

namespace ziro {

// File names built from content and user input, and finding them in content
// authored on Windows, where letter case never mattered.

// Whether `code` (a value read from a record or typed by the user) may become
// part of a file name: non-empty, no path separators, no "..", no NUL or other
// control characters, not made of dots only and not starting with a drive
// ("C:"). Anything else must be refused, never joined to a folder.
bool isPlainName(const QString& code);

// Finds a file in a folder ignoring letter case ("Pag12.KXB" against
// "pag12.kxb"). The listing of each folder is cached; a lookup that misses in
// the cache reads the folder again before giving up, so files added later are
// found, and a cached hit that has since disappeared is looked up afresh.
// Safe to use from several threads.
class CaseInsensitiveResolver {
public:
    // `folder` + `name` when that exists as written; otherwise the one entry
    // of `folder` whose name equals `name` ignoring case; otherwise `folder` +
    // `name` unchanged, so that a "file missing" report names the built path.
    // A `folder` without a trailing '/' gets one. Only a plain `name` is
    // looked up (callers check isPlainName first); any other name, like the
    // folder itself, is used as written.
    QString resolve(const QString& folder, const QString& name);

    // Drops the cached listing of `folder` (after the program wrote there).
    void invalidate(const QString& folder);
    void clear();

private:
    // Case-folded name -> the name on disk.
    using Listing = QHash<QString, QString>;
    struct Cached {
        Listing names;
        QDateTime modified;  // the folder's, when it was read
        // The folder had not changed for a while when it was read; a change
        // within the clock's resolution of the read could hide behind an
        // unchanged time.
        bool settled = false;
    };

    static Listing readListing(const QString& folder);

    QMutex m_mutex;
    QHash<QString, Cached> m_listings;
};

// The process-wide resolver behind resolveFile().
CaseInsensitiveResolver& fileResolver();

// fileResolver().resolve(folder, name).
QString resolveFile(const QString& folder, const QString& name);

// The resolved path of `prefix` + `code` + `extension` in `folder`, or nullopt
// when `code` is not a plain name. `prefix` and `extension` are the program's
// own constants ("Pag", ".KXB") and are not checked.
std::optional<QString> joinPlain(const QString& folder, const QString& code,
                                 const QString& prefix = {}, const QString& extension = {});

}  // namespace ziro

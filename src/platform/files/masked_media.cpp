#include "platform/files/masked_media.h"

#include "platform/files/mask_kinds.h"
#include "platform/files/paths.h"

#include <QFile>
#include <QFileInfo>

#include <initializer_list>

namespace ziro {
namespace {

enum class Way { Restore, Mask };

// Writes `bytes` at offset 0 of `path` when the file starts with `expected`.
// False, with the file unchanged, when it cannot be opened, does not start
// with `expected` or cannot be written.
bool overwriteHead(const QString& path, const QByteArray& expected, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    if (f.read(expected.size()) != expected)
        return false;
    if (!f.seek(0) || f.write(bytes) != bytes.size() || !f.flush())
        return false;
    f.close();
    return f.error() == QFileDevice::NoError;
}

// `fixedContext` empty: the context names the file's extension, as the
// MPEG and AVI helpers have always reported it.
MaskOutcome convert(const QString& path, Way way, std::initializer_list<int> kinds,
                    const QString& fixedContext)
{
    const QFileInfo info(path);
    const QString ext = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const auto fail = [&](const QString& extension, const QString& name) {
        MaskOutcome o;
        o.context = fixedContext.isEmpty()
            ? QStringLiteral("KX: ") + extension + QStringLiteral("-> Conv:")
            : fixedContext;
        o.name = name;
        return o;
    };
    // The extension has not been looked at when the file is missing.
    if (!info.isFile())
        return fail(QString(), path);

    const MaskKind* kind = nullptr;
    for (const int k : kinds) {
        const MaskKind& candidate = maskKinds()[k];
        const char* from = way == Way::Restore ? candidate.masked : candidate.restored;
        if (ext.compare(QLatin1String(from), Qt::CaseInsensitive) == 0)
            kind = &candidate;
    }
    if (!kind)
        return fail(ext, path);

    const QByteArray& expected = way == Way::Restore ? kind->maskBytes : kind->restoreBytes;
    const QByteArray& bytes = way == Way::Restore ? kind->restoreBytes : kind->maskBytes;
    const QString folder = info.absolutePath() + QLatin1Char('/');
    const QString targetName = info.completeBaseName()
        + QLatin1String(way == Way::Restore ? kind->restored : kind->masked);
    const QString target = info.path() + QLatin1Char('/') + targetName;
    // A file already under the other name (in any letter case) is kept: it
    // may be the one a previous restore left, and it is not ours to replace.
    if (QFileInfo::exists(resolveFile(folder, targetName)))
        return fail(ext, target);

    if (!overwriteHead(path, expected, bytes))
        return fail(ext, path);
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(path, target)) {
        overwriteHead(path, bytes, expected);
        return fail(ext, path);
    }
    fileResolver().invalidate(folder);
    MaskOutcome o;
    o.ok = true;
    o.path = target;
    return o;
}

}  // namespace

MaskOutcome SmascheraMedia(const QString& path)
{
    return convert(path, Way::Restore, {0, 1}, {});
}

MaskOutcome MascheraMedia(const QString& path)
{
    return convert(path, Way::Mask, {0, 1}, {});
}

MaskOutcome SmascheraMP4(const QString& path)
{
    return convert(path, Way::Restore, {2}, QStringLiteral("KX: KXS -> Conv:"));
}

MaskOutcome MascheraMP4(const QString& path)
{
    return convert(path, Way::Mask, {2}, QStringLiteral("KX: MP4 -> Conv:"));
}

}  // namespace ziro

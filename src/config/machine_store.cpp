#include "config/machine_store.h"

#include "config/ini_file.h"

#include <QDir>
#include <QFileInfo>

namespace ziro {

namespace {
const QString kSection = QStringLiteral("Ziro");
const QString kKey = QStringLiteral("Versione corrente");
}  // namespace

QString FileMachineStore::defaultPath()
{
#if defined(Q_OS_WIN)
    QString base = qEnvironmentVariable("ProgramData");
    if (base.isEmpty())
        base = QStringLiteral("C:/ProgramData");
    return QDir::fromNativeSeparators(base) + QStringLiteral("/ziro/version.ini");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("/Library/Application Support/ziro/version.ini");
#else
    return QStringLiteral("/etc/ziro/version.ini");
#endif
}

FileMachineStore::FileMachineStore(QString path) : m_path(std::move(path)) {}

std::optional<QString> FileMachineStore::readVersion()
{
    // A store nobody has written yet is empty, not broken: it is created by
    // the first write.
    if (!QFileInfo::exists(m_path))
        return QString();
    const auto ini = IniFile::open(m_path);
    if (!ini)
        return std::nullopt;
    return ini->readString(kSection, kKey);
}

bool FileMachineStore::writeVersion(const QString& version)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const auto ini = IniFile::open(m_path);
    if (!ini)
        return false;
    return ini->writeString(kSection, kKey, version);
}

}  // namespace ziro

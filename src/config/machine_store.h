#pragma once

// The installed content version is kept machine-wide as well as in the
// settings file, so that every user of the computer sees the same
// installation. The store holds that one text value.

#include <QString>

#include <optional>

namespace ziro {

class MachineStore {
public:
    virtual ~MachineStore() = default;
    // The stored version; an empty text when nothing has been stored yet;
    // nullopt when the store exists but cannot be read.
    virtual std::optional<QString> readVersion() = 0;
    // Stores the version, creating the store when missing; false when it
    // could not be written (usually: no permission to write machine-wide).
    virtual bool writeVersion(const QString& version) = 0;
};

// The store as a small INI file readable by every user and writable by the
// administrator who installs the content.
class FileMachineStore : public MachineStore {
public:
    // The machine-wide location on this platform.
    static QString defaultPath();

    explicit FileMachineStore(QString path = defaultPath());

    QString path() const { return m_path; }

    std::optional<QString> readVersion() override;
    bool writeVersion(const QString& version) override;

private:
    QString m_path;
};

}  // namespace ziro

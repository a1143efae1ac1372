// The settings file reader: any bytes open, every name reads, an untouched
// file is written back byte for byte, a written value reads back, and the
// program's own load of the settings takes the file without harm.

#include "fuzz_support.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "config/settings.h"

ZIRO_FUZZ_START

namespace {

class FixedStore : public ziro::MachineStore {
public:
    std::optional<QString> readVersion() override { return QStringLiteral("1.00"); }
    bool writeVersion(const QString&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    const QString path = ziro::fuzz::scratchFile(QStringLiteral("ZIRO.INI"), bytes);
    QString error;
    std::shared_ptr<ziro::IniFile> ini = ziro::IniFile::open(path, &error);
    ZIRO_FUZZ_CHECK(ini);
    ZIRO_FUZZ_CHECK(ini->toBytes() == bytes);
    for (const QString& section : ini->sections()) {
        ZIRO_FUZZ_CHECK(ini->sectionExists(section));
        for (const QString& key : ini->readSection(section)) {
            ZIRO_FUZZ_CHECK(ini->valueExists(section, key));
            ini->readString(section, key);
            ini->readInteger(section, key, 7);
            ini->readBool(section, key, false);
        }
    }
    ini->setAutoSave(false);
    if (ini->writeString(QStringLiteral("Fuzz"), QStringLiteral("Chiave"), QStringLiteral("Unità € 1")))
        ZIRO_FUZZ_CHECK(ini->readString(QStringLiteral("fuzz"), QStringLiteral("CHIAVE")) == QStringLiteral("Unità € 1"));

    ziro::Globals g;
    g.FileIni = ziro::fuzz::scratchFile(QStringLiteral("ZIRO.INI"), bytes);
    ziro::Config cfg;
    ziro::NullReports reports;
    FixedStore store;
    ziro::CaricaIni(g, cfg, reports, store, QStringLiteral("1.00"));
    return 0;
}

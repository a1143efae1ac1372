// Loading and applying the settings file, as the main window's activation
// does: the whole file read, every key into the configuration, the version
// reconciled with the machine-wide store, the folders recomputed.

#include "base/globals.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "config/settings.h"
#include "diag/reporter.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_SettingsLoadAndApply(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/ziro/Program/");
    QDir().mkpath(program);

    ziro::Globals g;
    g.initFromProgram(program + QStringLiteral("ziro"));
    {
        ziro::Config cfg;
        cfg.NomeAutoscuola = QStringLiteral("Autoscuola Città");
        auto ini = ziro::IniFile::open(g.FileIni);
        ini->setAutoSave(false);
        for (const ziro::SettingDef& def : ziro::settingDefs())
            ini->writeString(def.section, def.key, ziro::settingText(cfg, def.id));
        ini->writeString(QStringLiteral("Info"), QStringLiteral("Versione"), QStringLiteral("4.10.0"));
        ini->save();
    }
    ziro::FileMachineStore store(dir.path() + QStringLiteral("/version.ini"));
    store.writeVersion(QStringLiteral("4.10.0"));
    ziro::Reporter reporter(g);

    for (auto _ : state) {
        ziro::Config cfg;
        const bool loaded = ziro::CaricaIni(g, cfg, reporter, store, QStringLiteral("4.10.0"));
        ziro::VediConfig(g, cfg);
        benchmark::DoNotOptimize(loaded);
        g.IniFilePtr.reset();
    }
    state.SetLabel("settings file of every key");
}

}  // namespace

BENCHMARK(BM_SettingsLoadAndApply)->Unit(benchmark::kMicrosecond);

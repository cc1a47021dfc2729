// Load and save of a full Tarvik.ini: every key, sixteen [AP] sections, a
// name list and a script. The files live in a temporary folder on the disk
// that holds $TMPDIR; saves include flushing each file to the disk.
// The *InMemory cases show the parsing and formatting alone.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "engine/base/sjis.h"
#include "engine/base/filebytes.h"
#include "engine/settings/inifile.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingskeys.h"

namespace tarvik {
namespace {

class FullSettings {
 public:
  FullSettings() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    files_.emplace(dir_);
    store_.tarvik.SOHOIP = "192.168.0.1";
    store_.tarvik.PASS = "secret password";
    store_.sound.s6 = toSjis("wav\\ホーダイ開始.wav");
    for (int i = 0; i < 40; ++i)
      store_.nameList.push_back("03" + std::to_string(12340000 + i) + ":" + toSjis("山田"));
    for (int i = 0; i < 10; ++i) store_.script.push_back(std::to_string(i) + ":00 sh s");
    for (int n = 0; n < 16; ++n) {
      ApplicationList apps;
      for (std::size_t k = 0; k < apps.size(); ++k) {
        apps[k] = "C:\\Program Files\\Tool" + std::to_string(k) + "\\tool.exe $IP";
      }
      files_->saveApplications(n, apps);
    }
    apps_ = files_->loadApplications(0);
    files_->saveDialogSettings(store_, apps_);
    files_->saveWindowState(store_, false);
  }
  ~FullSettings() { std::filesystem::remove_all(dir_); }

  const SettingsFiles& files() const { return *files_; }
  SettingsStore& store() { return store_; }
  const ApplicationList& apps() const { return apps_; }

 private:
  std::filesystem::path dir_;
  std::optional<SettingsFiles> files_;
  SettingsStore store_;
  ApplicationList apps_;
};

void BM_LoadAll(benchmark::State& state) {
  FullSettings full;
  for (auto _ : state) {
    SettingsStore store;
    full.files().loadAll(store);
    benchmark::DoNotOptimize(store);
  }
  state.counters["ini_bytes"] = static_cast<double>(std::filesystem::file_size(full.files().iniPath()));
}
BENCHMARK(BM_LoadAll);

void BM_SaveDialogSettings(benchmark::State& state) {
  FullSettings full;
  for (auto _ : state) {
    std::string error = full.files().saveDialogSettings(full.store(), full.apps());
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_SaveDialogSettings)->UseRealTime();

void BM_SaveWindowState(benchmark::State& state) {
  FullSettings full;
  for (auto _ : state) {
    std::string error = full.files().saveWindowState(full.store(), false);
    if (!error.empty()) state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_SaveWindowState)->UseRealTime();

void BM_LoadInMemory(benchmark::State& state) {
  FullSettings full;
  std::string bytes = *readFileBytes(full.files().iniPath());
  for (auto _ : state) {
    IniFile ini(bytes);
    SettingsStore store;
    for (const SettingKey& key : settingKeys()) readSetting(ini, key, store);
    benchmark::DoNotOptimize(store);
  }
}
BENCHMARK(BM_LoadInMemory);

void BM_SaveDialogInMemory(benchmark::State& state) {
  FullSettings full;
  std::string bytes = *readFileBytes(full.files().iniPath());
  for (auto _ : state) {
    IniFile ini(bytes);
    for (const SettingKey& key : settingKeys()) {
      if (key.writer == KeyWriter::kDialogFirst || key.writer == KeyWriter::kDialog) {
        writeSetting(ini, key, full.store());
      }
    }
    for (std::size_t k = 0; k < full.apps().size(); ++k)
      ini.writeString("AP0", std::to_string(k + 1), full.apps()[k]);
    std::string out = ini.text();
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_SaveDialogInMemory);

}  // namespace
}  // namespace tarvik

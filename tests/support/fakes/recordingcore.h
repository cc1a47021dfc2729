#pragma once
// A stand-in for the engine behind the windows: it records every command of
// the engine's list as a line ("ConnectFromMenu 5") and keeps a real
// settings store and real settings files in a directory of the test's own.

#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "engine/core/enginecommands.h"

namespace tarvik::test {

class RecordingCore : public EngineCommands {
 public:
  explicit RecordingCore(std::filesystem::path dir) : files_(std::move(dir)) {}

  const SettingsStore& settings() const override { return store; }
  const SettingsFiles& files() const override { return files_; }
  void loadSettings() override { files_.loadAll(store); }
  void applySettings(const SettingsStore& edited) override { store = edited; }
  ApplicationList loadApplications(int destination) const override {
    return files_.loadApplications(destination);
  }
  std::string saveApplications(int destination, const ApplicationList& apps) override {
    return files_.saveApplications(destination, apps);
  }

  // Every command is recorded as its name and its arguments (described below).
#define TARVIK_RECORD_COMMAND(guard, result, name, parameters, arguments) \
  result name parameters override { return recorded<result>(#name, std::forward_as_tuple arguments); }
  TARVIK_ENGINE_COMMANDS(TARVIK_RECORD_COMMAND)
#undef TARVIK_RECORD_COMMAND

  // The save itself is the real one, so the tests see the files it writes.
  std::string ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) override {
    store = edited;
    std::string error = files_.saveDialogSettings(store, shownApps);
    if (error.empty()) record("ConfigClosed");
    return error;
  }

  bool jigenChecked() const override { return jigen; }
  const ChannelState& channel(Channel ch) const override { return ch == Channel::B1 ? b1 : b2; }
  const std::string& routerVersion() const override { return version; }
  int routerPageBase() const override { return pageBase; }
  std::string routerPageAddress(int page) const override { return "page " + std::to_string(page); }
  const std::vector<std::string>& destinationList() const override { return destinations; }
  bool exchangeIdle() const override { return true; }
  std::string soundFile(std::string_view sjisSetting) const override { return std::string(sjisSetting); }

  // How an argument appears in the record. A close request's placement is
  // kept for the test.
  static std::string describe(const std::string& text) { return text; }
  static std::string describe(std::string_view text) { return std::string(text); }
  static std::string describe(const std::vector<std::string>& words) { return std::to_string(words.size()); }
  static std::string describe(ReportButton button) { return std::to_string(static_cast<int>(button)); }
  static std::string describe(long long number) { return std::to_string(number); }
  std::string describe(const WindowPlacement& p) {
    placement = p;
    return std::to_string(p.parked);
  }

  std::string last() const { return calls.empty() ? std::string() : calls.back(); }
  void record(std::string call) { calls.push_back(std::move(call)); }

  template <typename Result, typename... Arguments>
  Result recorded(const char* name, std::tuple<Arguments&...> arguments) {
    std::string call = name;
    std::apply([&](auto&... a) { ((call += " " + describe(a)), ...); }, arguments);
    if (call == "JIGENClick") jigen = !jigen;
    record(std::move(call));
    if constexpr (std::is_same_v<Result, bool>) return closeAllowed;  // FormCloseQuery
  }

  SettingsStore store;
  std::vector<std::string> calls;
  bool closeAllowed = true;
  bool jigen = true;
  WindowPlacement placement;  // the last close request's
  ChannelState b1, b2;
  std::string version;
  int pageBase = 0;
  std::vector<std::string> destinations = std::vector<std::string>(16);

 private:
  SettingsFiles files_;
};

}  // namespace tarvik::test

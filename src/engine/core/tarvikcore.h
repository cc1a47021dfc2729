#pragma once
// The program's core: all state and every decision, no Qt, no sockets, no
// windows. The front ends call it through EngineCommands, and the core acts
// through its ports.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/enginecommands.h"
#include "engine/ports/browser.h"
#include "engine/ports/clock.h"
#include "engine/ports/launcher.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound.h"
#include "engine/ports/timers.h"
#include "engine/ports/transport.h"
#include "engine/ports/view.h"

namespace tarvik {

struct CorePorts {
  View& view;
  Transport& transport;
  Timers& timers;
  Sound& sound;
  Launcher& launcher;
  Browser& browser;
  Clock& clock;
  Prompter& prompter;
};

class TarvikCore final : public EngineCommands {
 public:
  TarvikCore(CorePorts ports, SettingsFiles files);
  ~TarvikCore() override;
  TarvikCore(const TarvikCore&) = delete;
  TarvikCore& operator=(const TarvikCore&) = delete;

  const SettingsStore& settings() const override;
  const SettingsFiles& files() const override;
  // Also keeps what of Tarvik.ini was not taken, to be told (once) by
  // FormShow on the status line.
  void loadSettings() override;
  // That text (UTF-8); empty when everything was taken.
  const std::string& settingsNotice() const;
  void applySettings(const SettingsStore& edited) override;
  ApplicationList loadApplications(int destination) const override;
  std::string saveApplications(int destination, const ApplicationList& apps) override;

#define TARVIK_OVERRIDE_COMMAND(guard, result, name, parameters, arguments) result name parameters override;
  TARVIK_ENGINE_COMMANDS(TARVIK_OVERRIDE_COMMAND)
#undef TARVIK_OVERRIDE_COMMAND
  std::string ConfigClosed(const SettingsStore& edited, const ApplicationList& shownApps) override;

  // The folders the program's data was installed in, in the order they are
  // searched; a relative sound name not found in the current directory or
  // the config directory is looked for there.
  void setDataDirectories(std::vector<std::filesystem::path> dirs);
  std::string soundFile(std::string_view sjisSetting) const override;

  bool jigenChecked() const override;
  const ChannelState& channel(Channel ch) const override;
  const std::string& routerVersion() const override;
  int routerPageBase() const override;
  std::string routerPageAddress(int page) const override;
  const std::vector<std::string>& destinationList() const override;
  bool exchangeIdle() const override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tarvik

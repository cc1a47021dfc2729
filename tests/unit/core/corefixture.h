#pragma once
// A TarvikCore on fake ports, a config folder of its own, and helpers that
// play the router's part in an exchange.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/sjis.h"
#include "engine/core/tarvikcore.h"
#include "fakes/fakeports.h"
#include "fakes/routeroutput.h"

namespace tarvik::coretest {

// The port fakes and router transcripts of the shared test library.
using namespace tarvik::test;

class CoreTest : public testing::Test {
 protected:
  CoreTest();
  ~CoreTest() override;

  // A change of the engine's settings, as a dialog makes it: a copy that
  // goes back to the engine (applySettings) at the end of the statement.
  class SettingsEdit {
   public:
    explicit SettingsEdit(EngineCommands& engine) : engine_(engine), store_(engine.settings()) {}
    ~SettingsEdit() { engine_.applySettings(store_); }
    SettingsEdit(const SettingsEdit&) = delete;
    SettingsEdit& operator=(const SettingsEdit&) = delete;
    SettingsStore* operator->() { return &store_; }
    SettingsStore& operator*() { return store_; }

   private:
    EngineCommands& engine_;
    SettingsStore store_;
  };

  // FormCreate with the arguments, then FormShow. Settings can be changed
  // before (through settings()).
  void start(const std::vector<std::string>& arguments = {});
  SettingsEdit settings() { return SettingsEdit(*core); }
  // The windows where the settings have them, for a close request.
  WindowPlacement placement(bool parked = false) const {
    const auto& o = core->settings().option;
    return {o.left, o.top, parked, o.left2, o.top2, o.Width2, o.Height2};
  }
  std::filesystem::path path(const std::string& name) const { return dir / name; }
  void writeFile(const std::string& name, const std::string& bytes) const;
  std::string readFile(const std::string& name) const;

  // The last exchange opened, and the chain its login batch carried.
  SocketId lastSocket() const { return transport.opened.empty() ? kNoSocket : transport.opened.back(); }
  std::string chainOf(SocketId socket);                            // connects it when not yet connected
  std::vector<std::string> chainsSince(std::size_t openedBefore);  // of exchanges opened since
  // Connects, delivers the router's output, closes.
  void answer(SocketId socket, const std::string& sjisOutput);
  // A poll tick that must open a "sh s" exchange, answered with the status.
  void poll(const std::string& statusOutput, const std::string& extra = "");
  // A tick, the clock moved on by the poll interval first.
  void tick();
  // Events (of the shared list) since index `from`, only those starting
  // with one of the prefixes.
  std::vector<std::string> eventsSince(std::size_t from, std::vector<std::string> prefixes) const;

  std::filesystem::path dir;
  Events events;
  FakeView view{events};
  FakeTransport transport{events};
  FakeTimers timers;
  FakeSound sound{events};
  FakeLauncher launcher{events};
  FakeBrowser browser;
  FakeClock clock;
  FakePrompter prompter{events};
  std::unique_ptr<TarvikCore> core;
  std::vector<SocketId> connectedSockets;
};

}  // namespace tarvik::coretest

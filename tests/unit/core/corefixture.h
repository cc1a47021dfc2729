#pragma once
// A TarvikCore on fake ports, a config folder of its own, and helpers that
// play the router's part in an exchange.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/sjis.h"
#include "core/tarvikcore.h"
#include "fakeports.h"
#include "routeroutput.h"

namespace tarvik::coretest {

class CoreTest : public testing::Test {
 protected:
  CoreTest();
  ~CoreTest() override;

  // FormCreate with the arguments, then FormShow. Settings can be changed
  // before (through settings()).
  void start(const std::vector<std::string>& arguments = {});
  SettingsStore& settings() { return core->settings(); }
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

#pragma once
// Recording fakes of every port. Each keeps what it was asked to do; the
// ones given an event list also add it there, in order, as "kind text"
// lines, so that tests can check both what happened and in which order.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/ports/browser.h"
#include "engine/ports/clock.h"
#include "engine/ports/launcher.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound.h"
#include "engine/ports/timers.h"
#include "engine/ports/transport.h"
#include "engine/ports/view.h"

namespace tarvik::test {

using Events = std::vector<std::string>;

struct FakeView : View {
  explicit FakeView(Events& e) : events(e) {}
  Events& events;
  std::string status, dest, tip, version, jigen, hint;
  std::array<std::string, 2> box, channelTip;
  std::array<bool, 2> icon{false, false};
  std::array<std::string, 16> captions;
  std::vector<std::string> details, errors;
  bool callerShown = false;
  std::string callerName, callerNumber;
  int closeRequests = 0;

  void record(const std::string& e) { events.push_back(e); }
  void setStatusLine(const std::string& t) override { status = t, record("status " + t); }
  void setChannelText(Channel ch, const std::string& t) override { box[int(ch)] = t; }
  void setDestinationLabel(const std::string& t) override { dest = t; }
  void showCallerName(const std::string& name, const std::string& number) override {
    callerShown = true, callerName = name, callerNumber = number;
  }
  void clearCallerName() override { callerShown = false, record("caller-off"); }
  void setMainTip(const std::string& t) override { tip = t; }
  void setChannelTip(Channel ch, const std::string& t) override { channelTip[int(ch)] = t; }
  void setChannelIconVisible(Channel ch, bool v) override { icon[int(ch)] = v; }
  void setDestinationCaption(int i, const std::string& c) override { captions.at(i) = c; }
  void setDestinationList(const std::vector<std::string>&) override {}
  void setConnectHint(const std::string& t) override { hint = t; }
  void appendDetails(const std::string& line) override { details.push_back(line), record("details " + line); }
  void clearDetails() override { details.clear(); }
  void setPanelColour(PanelColour c) override {
    record(c == PanelColour::Red ? "panel red" : "panel normal");
  }
  void setStrip(StripColour c) override { record(c == StripColour::Night ? "strip night" : "strip day"); }
  void parkWindow() override { record("park"); }
  void restoreWindow() override { record("restore"); }
  void setRouterVersion(const std::string& b) override { version = b; }
  void setJigenCaption(const std::string& c) override { jigen = c; }
  void requestClose() override { ++closeRequests, record("close-request"); }
  void showError(const std::string& t) override { errors.push_back(t), record("error " + t); }
  void notify(const Notice& n) override {
    record(std::string("notify ") + noticeKindWord(n.kind) + " " + n.title + ": " + n.text);
  }
};

struct FakeTransport : Transport {
  explicit FakeTransport(Events& e) : events(e) {}
  Events& events;
  std::string host;
  int port = 0;
  SocketId next = 1;
  bool failOpen = false;
  bool failSend = false;
  std::string error = "cannot open";
  ConnectFailure failure = ConnectFailure::Other;  // why a connect failed
  std::vector<SocketId> opened, closed;
  std::map<SocketId, std::vector<std::string>> sent;

  void setHost(const std::string& h) override { host = h; }
  void setPort(int p) override { port = p; }
  SocketId open() override {
    if (failOpen) return kNoSocket;
    opened.push_back(next);
    events.push_back("open " + std::to_string(next));
    return next++;
  }
  bool send(SocketId s, std::string_view bytes) override {
    if (failSend) return false;
    sent[s].emplace_back(bytes);
    return true;
  }
  void close(SocketId s) override { closed.push_back(s); }
  std::string errorText() const override { return error; }
  ConnectFailure connectFailure() const override { return failure; }
};

struct FakeTimers : Timers {
  struct Timer {
    bool active = false;
    int intervalMs = 0;
    bool singleShot = false;
  };
  std::map<TimerId, Timer> timers;
  void start(TimerId id, int ms, bool single) override { timers[id] = {true, ms, single}; }
  void stop(TimerId id) override { timers[id].active = false; }
  bool isActive(TimerId id) const override {
    auto it = timers.find(id);
    return it != timers.end() && it->second.active;
  }
};

struct FakeSound : Sound {
  FakeSound() = default;
  explicit FakeSound(Events& e) : events(&e) {}
  Events* events = nullptr;
  std::vector<std::string> played;
  void play(const std::string& path) override {
    played.push_back(path);
    if (events) events->push_back("sound " + path);
  }
};

struct FakeLauncher : Launcher {
  FakeLauncher() = default;
  explicit FakeLauncher(Events& e) : events(&e) {}
  Events* events = nullptr;
  ProcessHandle next = 100;
  std::vector<std::string> started;
  std::vector<ProcessHandle> ended;
  // A program whose line starts with "missing" cannot be started.
  ProcessHandle start(const std::string& commandLine) override {
    started.push_back(commandLine);
    if (events) events->push_back("launch [" + commandLine + "]");
    return commandLine.rfind("missing", 0) == 0 ? kNoProcess : next++;
  }
  void end(ProcessHandle p) override {
    ended.push_back(p);
    if (events) events->push_back("end " + std::to_string(p));
  }
};

struct FakeBrowser : Browser {
  std::vector<std::string> opened;
  void open(const std::string& address) override { opened.push_back(address); }
};

// Local time and the millisecond tick move together.
struct FakeClock : Clock {
  LocalTime time{1999, 5, 3, 12, 0, 0};
  std::uint32_t tick = 1000;
  LocalTime now() const override { return time; }
  std::uint32_t tickMs() const override { return tick; }
  void set(int hour, int minute, int second = 0) {
    time.hour = hour, time.minute = minute, time.second = second;
  }
  void advance(int ms) {
    tick += static_cast<std::uint32_t>(ms);
    int s = (time.hour * 3600 + time.minute * 60 + time.second + ms / 1000) % 86400;
    set(s / 3600, s / 60 % 60, s % 60);
  }
};

struct FakePrompter : Prompter {
  explicit FakePrompter(Events& e) : events(e) {}
  Events& events;
  void askCredentials(const std::string& lastUserId) override {
    events.push_back("ask-credentials " + lastUserId);
  }
  void askDisconnectOnExit() override { events.push_back("ask-disconnect"); }
};

}  // namespace tarvik::test

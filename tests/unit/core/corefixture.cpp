#include "corefixture.h"

#include <fstream>
#include <iterator>

#include "engine/net/exchange.h"

namespace tarvik::coretest {

CoreTest::CoreTest() {
  std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  dir = std::filesystem::path(testing::TempDir()) / ("tarvik-core-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  core = std::make_unique<TarvikCore>(
      CorePorts{view, transport, timers, sound, launcher, browser, clock, prompter}, SettingsFiles(dir));
  // Sounds with short names, so that tests read easily; the log in the folder.
  SettingsEdit edit = settings();
  SettingsStore& s = *edit;
  s.sound.s1 = "dial.wav", s.sound.s2 = "connected.wav", s.sound.s3 = "disconnected.wav";
  s.sound.s5 = "busy.wav", s.sound.s6 = "night.wav", s.sound.s7 = "warning.wav", s.sound.s8 = "ring.wav";
  s.option.LOG = (dir / "mn128soho.log").string();
  s.tarvik.SOHOIP = "192.168.0.1";
}

CoreTest::~CoreTest() {
  core.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

void CoreTest::start(const std::vector<std::string>& arguments) {
  core->FormCreate(arguments);
  core->FormShow();
}

void CoreTest::writeFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string CoreTest::readFile(const std::string& name) const {
  std::ifstream in(dir / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string CoreTest::chainOf(SocketId socket) {
  if (std::find(connectedSockets.begin(), connectedSockets.end(), socket) == connectedSockets.end()) {
    connectedSockets.push_back(socket);
    core->AsyncSock1Connect(socket);
  }
  const auto& sent = transport.sent[socket];
  if (sent.empty()) return "(nothing sent)";
  // CR admin CR sys kc s CR <chain> CR <code> CR l CR, with empty password and code.
  const std::string& batch = sent.front();
  const std::string head = "\radmin\rsys kc s\r", tail = "\r\rl\r";
  if (batch.rfind(head, 0) != 0 || batch.size() < head.size() + tail.size()) return "(not a batch)";
  return batch.substr(head.size(), batch.size() - head.size() - tail.size());
}

std::vector<std::string> CoreTest::chainsSince(std::size_t openedBefore) {
  std::vector<std::string> chains;
  for (std::size_t i = openedBefore; i < transport.opened.size(); ++i)
    chains.push_back(chainOf(transport.opened[i]));
  return chains;
}

void CoreTest::answer(SocketId socket, const std::string& sjisOutput) {
  chainOf(socket);
  core->AsyncSock1Receive(socket, sjisOutput);
  core->AsyncSock1Close(socket);
}

void CoreTest::tick() {
  clock.advance(5000);
  core->Timer1Timer();
}

void CoreTest::poll(const std::string& statusOutput, const std::string& extra) {
  std::size_t before = transport.opened.size();
  tick();
  ASSERT_EQ(transport.opened.size(), before + 1) << "the tick opened no exchange";
  ASSERT_EQ(chainOf(lastSocket()), "sh s");
  answer(lastSocket(), exchange({{"sh s", statusOutput + extra}}));
}

std::vector<std::string> CoreTest::eventsSince(std::size_t from, std::vector<std::string> prefixes) const {
  std::vector<std::string> result;
  for (std::size_t i = from; i < events.size(); ++i) {
    for (const std::string& p : prefixes) {
      if (events[i].rfind(p, 0) == 0) {
        result.push_back(events[i]);
        break;
      }
    }
  }
  return result;
}

}  // namespace tarvik::coretest

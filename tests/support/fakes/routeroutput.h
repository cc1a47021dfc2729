#pragma once
// Small router console transcripts for the core tests, written in UTF-8 and
// turned into the router's Shift-JIS with its LF CR line ends.

#include <string>
#include <utility>
#include <vector>

namespace tarvik::test {

struct Chan {
  std::string status = "空き";
  std::string ip, mode, number, usage;
  // The minutes connected as the router counts them, before the "/";
  // empty: "  12" for a channel in use.
  std::string time = {};
};

// What "sh s" prints for the two channels.
std::string statusBlock(const Chan& b1 = {}, const Chan& b2 = {});

// A connected B1 (and idle B2) with the given address and number.
Chan connected(const std::string& ip, const std::string& number = "0312345001");

// A channel ringing with a call from number.
Chan ringingFrom(const std::string& number);

// "#0 ..." to "#15" as "sh r l" prints them; names for the first entries.
std::string destinationLines(const std::vector<std::string>& names);

// One exchange as the router prints it: login, "sys kc s", each command
// after its prompt followed by its output, the empty code line, logout.
// Returns Shift-JIS bytes.
std::string exchange(const std::vector<std::pair<std::string, std::string>>& commandsAndOutputs);

// The console's answer to a poll's batch with a wrong password, recorded
// from the simulator, which answers as the router does: the password
// refused, the next line taken for a user name and its "password" refused
// too, then the logout. Shift-JIS; there is no prompt in it.
std::string refusedLogin();

}  // namespace tarvik::test

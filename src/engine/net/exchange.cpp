#include "engine/net/exchange.h"

#include <array>
#include <string>

namespace tarvik {
namespace {

constexpr char kCr = '\r';

// Every chain the program sends, one row each. Lines are separated by CR;
// the placeholders {n} (destination number), {id}, {pw} and {clock} are
// filled in by expand(). Nothing else in the program spells a console
// command.
enum class Chain {
  Startup,
  SetClock,
  Poll,
  Dial,
  DisconnectAll,
  DisconnectB1,
  DisconnectB2,
  DialWithCredentials,
  History,
  Charges,
  Ppp,
  AnalogHistory,
  Mail,
  PhsMail,
  Count
};

struct Row {
  Chain chain;
  std::string_view pattern;
};

constexpr std::array<Row, static_cast<std::size_t>(Chain::Count)> kVocabulary{{
    {Chain::Startup, "sh ver\rsh r l\rsh s\rsh r l\r"},
    {Chain::SetClock, "\rsy t {clock}"},
    {Chain::Poll, "sh s"},
    {Chain::Dial, "co {n}\rsh s"},
    {Chain::DisconnectAll, "dis a\rsh s"},
    {Chain::DisconnectB1, "dis b1\rsh s"},
    {Chain::DisconnectB2, "dis b2\rsh s"},
    {Chain::DialWithCredentials, "rem {n} s i {id}\rrem {n} s p {pw}\rco {n}\rrem {n} s p\r"},
    {Chain::History, "sh h"},
    {Chain::Charges, "show ch"},
    {Chain::Ppp, "show ppp"},
    {Chain::AnalogHistory, "show history"},
    {Chain::Mail, "show mail"},
    {Chain::PhsMail, "show pmail"},
}};

// The fixed parts of the login batch around the password, chain and code.
constexpr std::string_view kUser = "\radmin\r";
constexpr std::string_view kShiftJisCode = "sys kc s\r";
constexpr std::string_view kLogout = "l\r";

constexpr bool rowsInOrder() {
  for (std::size_t i = 0; i < kVocabulary.size(); ++i) {
    if (static_cast<std::size_t>(kVocabulary[i].chain) != i) return false;
  }
  return true;
}
static_assert(rowsInOrder(), "vocabulary rows must follow the Chain order");

struct Values {
  std::string n, id, pw, clock;
};

// A value typed by the user must stay on its own console line: a CR or LF
// inside it would start another command, so line breaks (and NUL) are
// dropped.
std::string oneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n' && c != '\0') out.push_back(c);
  }
  return out;
}

std::string expand(Chain chain, const Values& values = {}) {
  std::string_view pattern = kVocabulary[static_cast<std::size_t>(chain)].pattern;
  std::string out;
  out.reserve(pattern.size() + 32);
  std::size_t i = 0;
  while (i < pattern.size()) {
    std::size_t open = pattern.find('{', i);
    if (open == std::string_view::npos) {
      out.append(pattern.substr(i));
      break;
    }
    std::size_t close = pattern.find('}', open);
    out.append(pattern.substr(i, open - i));
    std::string_view name = pattern.substr(open + 1, close - open - 1);
    if (name == "n")
      out += values.n;
    else if (name == "id")
      out += values.id;
    else if (name == "pw")
      out += values.pw;
    else if (name == "clock")
      out += values.clock;
    i = close + 1;
  }
  return out;
}

}  // namespace

namespace commands {

std::string startupChain() { return expand(Chain::Startup); }

std::string clockLine(int year, int month, int day, int hour, int minute) {
  return std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day) + "-" +
         std::to_string(hour) + ":" + std::to_string(minute);
}

std::string setClock(const std::string& clockText) {
  Values values;
  values.clock = oneLine(clockText);
  return expand(Chain::SetClock, values);
}

std::string poll() { return expand(Chain::Poll); }

std::string dial(int destination) {
  Values values;
  values.n = std::to_string(destination);
  return expand(Chain::Dial, values);
}

std::string disconnectAll() { return expand(Chain::DisconnectAll); }
std::string disconnectB1() { return expand(Chain::DisconnectB1); }
std::string disconnectB2() { return expand(Chain::DisconnectB2); }

std::string dialWithCredentials(int destination, std::string_view id, std::string_view password) {
  Values values;
  values.n = std::to_string(destination);
  values.id = oneLine(id);
  values.pw = oneLine(password);
  return expand(Chain::DialWithCredentials, values);
}

std::string history() { return expand(Chain::History); }
std::string charges() { return expand(Chain::Charges); }
std::string ppp() { return expand(Chain::Ppp); }
std::string analogHistory() { return expand(Chain::AnalogHistory); }
std::string mail() { return expand(Chain::Mail); }
std::string phsMail() { return expand(Chain::PhsMail); }

bool asksStatus(std::string_view chain) {
  const std::string status = poll();
  for (std::size_t start = 0; start <= chain.size();) {
    std::size_t end = chain.find(kCr, start);
    if (end == std::string_view::npos) end = chain.size();
    if (chain.substr(start, end - start) == status) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace commands

std::string loginBatch(std::string_view password, std::string_view chain, std::string_view kanjiCode) {
  std::string batch;
  batch.reserve(kUser.size() + password.size() + kShiftJisCode.size() + chain.size() + kanjiCode.size() +
                kLogout.size() + 3);
  batch += kUser;
  std::string pass = oneLine(password);
  if (!pass.empty()) {
    batch += pass;
    batch += kCr;
  }
  batch += kShiftJisCode;
  batch += chain;
  batch += kCr;
  batch += oneLine(kanjiCode);
  batch += kCr;
  batch += kLogout;
  return batch;
}

}  // namespace tarvik

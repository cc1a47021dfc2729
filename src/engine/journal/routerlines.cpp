#include "engine/journal/routerlines.h"

#include <algorithm>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

struct Texts {
  std::string dialling = toSjis("へ接続中．");
  std::vector<std::string> failures{toSjis("接続に失敗しました"), toSjis("番号を設定してください")};
  std::string connected = toSjis("接続");
};

const Texts& texts() {
  static const Texts t;
  return t;
}

// The answer's lines without their line ends: the router ends a line with
// LF and one more byte (CR), which so begins the next line.
template <typename Visit>
void forEachLine(std::string_view answer, Visit visit) {
  while (!answer.empty()) {
    const std::size_t end = answer.find('\n');
    std::string_view line = answer.substr(0, end);
    answer.remove_prefix(end == std::string_view::npos ? answer.size() : end + 1);
    while (!line.empty() && line.front() == '\r') line.remove_prefix(1);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    visit(line);
  }
}

// A history line begins with its date: its third byte is "/". It tells of
// the past, and comes again with every fetch of the history.
bool historyLine(std::string_view line) { return line.size() >= 3 && line[2] == '/'; }

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view nextWord(std::string_view& text) {
  text = trimBlanks(text);
  const std::size_t blank = text.find(' ');
  const std::string_view word = text.substr(0, blank);
  text.remove_prefix(word.size());
  text = trimBlanks(text);
  return word;
}

}  // namespace

RouterDestination parseRouterDestination(std::string_view text) {
  RouterDestination d;
  text = trimBlanks(text);
  if (!text.starts_with('#')) return d;
  text.remove_prefix(1);
  std::size_t digits = 0;
  while (digits < text.size() && digits < 3 && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits > 2) return d;
  const int index = std::stoi(std::string(text.substr(0, digits)));
  if (index > 15) return d;
  d.index = index;
  text.remove_prefix(digits);
  if (text.starts_with(':')) text.remove_prefix(1);
  text = trimBlanks(text);
  // The number, when there is one, is the last word after the name.
  const std::size_t blank = text.rfind(' ');
  if (blank != std::string_view::npos && allDigits(text.substr(blank + 1))) {
    d.number = std::string(text.substr(blank + 1));
    text = trimBlanks(text.substr(0, blank));
  }
  d.name = std::string(text);
  return d;
}

std::vector<int> findDialStarts(std::string_view answer) {
  std::vector<int> starts;
  forEachLine(answer, [&](std::string_view line) {
    const std::size_t at = line.find(texts().dialling);
    if (at == std::string_view::npos || historyLine(line)) return;
    const RouterDestination d = parseRouterDestination(line.substr(0, at));
    if (d.index >= 0) starts.push_back(d.index);
  });
  return starts;
}

std::vector<DialFailure> findDialFailures(std::string_view answer) {
  std::vector<DialFailure> failures;
  forEachLine(answer, [&](std::string_view line) {
    for (const std::string& message : texts().failures) {
      const std::size_t at = line.find(message);
      if (at == std::string_view::npos) continue;
      failures.push_back({parseRouterDestination(line.substr(0, at)),
                          std::string(trimBlanks(line.substr(at))), historyLine(line)});
      return;
    }
  });
  return failures;
}

// After a history line's date come the time, the channel, what happened
// and the destination: "12/11 10:05:00 B1 接続 #0:Tarvik ISP 0312345678".
std::array<ChannelHistory, 2> findChannelHistory(std::string_view answer) {
  std::array<ChannelHistory, 2> news;
  forEachLine(answer, [&](std::string_view line) {
    if (!historyLine(line)) return;
    nextWord(line);  // the date
    nextWord(line);  // the time
    const std::string_view channel = nextWord(line);
    const int ch = channel == "B1" ? 0 : channel == "B2" ? 1 : -1;
    if (ch < 0) return;
    ChannelHistory& h = news[static_cast<std::size_t>(ch)];
    h.mentioned = true;
    h.connectedTo.reset();
    if (nextWord(line) != texts().connected) return;
    const RouterDestination d = parseRouterDestination(line);
    if (d.index >= 0) h.connectedTo = d;
  });
  return news;
}

}  // namespace tarvik

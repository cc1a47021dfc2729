#include "engine/journal/callmessages.h"

#include <algorithm>
#include <string>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

struct Texts {
  std::string connected = toSjis("チャネルを接続しました");
  std::string disconnected = toSjis("チャネルを切断しました。");
  std::string connectionTime = toSjis("接続時間");
  std::string minute = toSjis("分");
  std::string minutesField = toSjis("分間");
};

const Texts& texts() {
  static const Texts t;
  return t;
}

// "B1" or "B2" right before the message.
int channelBefore(std::string_view answer, std::size_t at) {
  if (at < 2) return -1;
  const std::string_view name = answer.substr(at - 2, 2);
  if (name == "B1") return 0;
  if (name == "B2") return 1;
  return -1;
}

// Leading digits of text as a number, and what follows them.
std::optional<int> leadingNumber(std::string_view& text) {
  std::size_t digits = 0;
  int value = 0;
  while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
    value = value * 10 + (text[digits++] - '0');
  if (digits == 0) return std::nullopt;
  text.remove_prefix(digits);
  return value;
}

// "接続時間 N分" in the line after the ending message.
std::optional<int> minutesAfter(std::string_view answer, std::size_t messageEnd) {
  std::size_t start = answer.find('\n', messageEnd);
  if (start == std::string_view::npos) return std::nullopt;
  ++start;
  if (start < answer.size() && answer[start] == '\r') ++start;
  std::string_view line = answer.substr(start);
  line = line.substr(0, line.find('\n'));
  const std::size_t at = line.find(texts().connectionTime);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = trimBlanks(line.substr(at + texts().connectionTime.size()));
  auto minutes = leadingNumber(rest);
  if (!minutes || !rest.starts_with(texts().minute)) return std::nullopt;
  return minutes;
}

}  // namespace

std::vector<CallMessage> findCallMessages(std::string_view answer) {
  struct Found {
    std::size_t at;
    CallMessage message;
  };
  std::vector<Found> found;
  const Texts& t = texts();
  for (std::size_t at = answer.find(t.connected); at != std::string_view::npos;
       at = answer.find(t.connected, at + 1))
    found.push_back({at, {CallMessage::Kind::Connected, channelBefore(answer, at), std::nullopt}});
  for (std::size_t at = answer.find(t.disconnected); at != std::string_view::npos;
       at = answer.find(t.disconnected, at + 1)) {
    found.push_back({at,
                     {CallMessage::Kind::Disconnected, channelBefore(answer, at),
                      minutesAfter(answer, at + t.disconnected.size())}});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.at < b.at; });
  std::vector<CallMessage> messages;
  messages.reserve(found.size());
  for (const Found& f : found) messages.push_back(f.message);
  return messages;
}

std::optional<int> connectionFieldMinutes(std::string_view field) {
  std::string_view rest = trimBlanks(field);
  auto minutes = leadingNumber(rest);
  if (!minutes || rest != texts().minutesField) return std::nullopt;
  return minutes;
}

}  // namespace tarvik

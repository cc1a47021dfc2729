#pragma once
// Lines of the router's answers that tell which destination a call went
// to, where the status blocks may never have shown it: a dial the router
// begins ("#0:Tarvik ISP へ接続中．"), a dial that failed
// ("#1:会社 接続に失敗しました（認証エラー）"), and the lines of its
// connection history ("12/11 10:05:00 B1 接続 #0:Tarvik ISP 0312345678").
// Texts are Shift-JIS, as the router prints them.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A destination as the router names it: "#n:name", perhaps followed by the
// number it dials.
struct RouterDestination {
  int index = -1;  // 0..15, -1 when the line names none
  std::string name;
  std::string number;
};

// "#n:name [number]" -> its parts; index -1 when text does not begin with
// "#" and a destination number.
RouterDestination parseRouterDestination(std::string_view text);

// The destinations of the dials the router reports begun, in order.
std::vector<int> findDialStarts(std::string_view answerSjis);

struct DialFailure {
  RouterDestination destination;  // what stands before the message
  std::string reason;             // the message and what follows it on its line
  // Told by a line of the connection history: a failure of the past, which
  // comes again with every fetch of the history.
  bool past = false;
};

// Every failed dial of an answer, one per line, in order: the lines holding
// "接続に失敗しました" or "番号を設定してください".
std::vector<DialFailure> findDialFailures(std::string_view answerSjis);

// What the newest history line of a channel in an answer says.
struct ChannelHistory {
  bool mentioned = false;  // the answer holds a history line of the channel
  // The destination of the connection that line reports up ("接続"); none
  // when it reports anything else (ended, failed, given up).
  std::optional<RouterDestination> connectedTo;
};

// [0] is B1, [1] is B2.
std::array<ChannelHistory, 2> findChannelHistory(std::string_view answerSjis);

}  // namespace tarvik

#pragma once
// The router's own messages about a channel's connection, found anywhere in
// an answer: "B1チャネルを接続しました。" when a connection comes up, and
// "B1チャネルを切断しました。" followed by a line such as
// "網側から切断されました 接続時間 2分" when it ends. A call shorter than
// one poll shows in nothing else, and the ending message carries the
// router's count of its minutes.

#include <optional>
#include <string_view>
#include <vector>

namespace tarvik {

struct CallMessage {
  enum class Kind { Connected, Disconnected };
  Kind kind = Kind::Connected;
  int channel = -1;            // 0 = B1, 1 = B2, -1 when the message names none
  std::optional<int> minutes;  // "接続時間 N分" of an ending connection
};

// The messages of an answer (Shift-JIS), in the order they stand in it.
std::vector<CallMessage> findCallMessages(std::string_view answerSjis);

// The whole minutes of a channel's connection-time field as the status
// block shows it ("   2分間"); nullopt when it holds no count.
std::optional<int> connectionFieldMinutes(std::string_view fieldSjis);

}  // namespace tarvik

#pragma once
// The router's texts that the parser looks for, and the texts it writes,
// converted to Shift-JIS once for the whole run.

#include <array>
#include <string>

#include "engine/monitor/channelblock.h"
#include "engine/monitor/consoleparser.h"

namespace tarvik {

struct ConsoleParser::Literals {
  // Line pass.
  std::string lineTypeMarker;  // "回線種別:" starts the unechoed status block
  std::string passwordPrompt;  // "パ"
  std::string analog;          // "アナログ"

  // Status blocks, B1 then B2.
  std::array<ChannelMarkers, 2> channels;

  // Messages searched in the whole answer.
  std::string disconnected;  // "チャネルを切断しました。"
  std::array<std::string, 3> failures;
  std::string dialling;   // "へ接続中．"
  std::string ended;      // "切断しま"
  std::string busy;       // "着ユーザビジー）"
  std::string connected;  // "ルを接続し"

  // Built on first use and shared by every parser.
  static const Literals& get();
};

}  // namespace tarvik

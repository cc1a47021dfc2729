#pragma once
// Reads one channel's status block into its ChannelState.

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/monitor/channelstate.h"

namespace tarvik {

// The router's texts that mark a channel's status block and its fields
// (Shift-JIS).
struct ChannelMarkers {
  std::string channel;      // "B1チャネル：" / "B2チャネル："
  std::string connectTime;  // "分）[" for B1, "間（分）[" for B2
  std::string address;      // "Pアドレス["
  std::string mode;         // "モード["
  std::string number;       // "番号["
  std::string usage;        // "BOD %）["
  std::string idleWord;     // "空"
  std::string minutes;      // "分間", appended to the connection time
};

// Fills `state` from the block whose channel marker starts at `markerPos` in
// `answer`. The status text is the rest of the marker's line when it ends
// within 20 bytes; every other field comes from the 400 bytes after the
// marker, where its first occurrence is used, even when that lies in the
// next channel's block.
void parseChannelBlock(std::string_view answer, std::size_t markerPos, const ChannelMarkers& markers,
                       ChannelState& state);

}  // namespace tarvik

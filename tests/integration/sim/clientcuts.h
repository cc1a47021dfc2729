#pragma once
// The byte-wise cuts a console client makes in the router's Shift-JIS
// output, written out here so that the simulator's texts can be checked
// against them: the channel status fields and the destination list rows.

#include <string>
#include <vector>

namespace simtest {

struct ChannelCut {
  bool found = false;
  bool idle = false;
  std::string status, time, ip, mode, number, usage;  // Shift-JIS
};

// marker: "B1チャネル：" or "B2チャネル："; timeMarker: "分）[" (B1) or
// "間（分）[" (B2), all Shift-JIS.
ChannelCut cutChannel(const std::string& chunk, const std::string& marker, const std::string& timeMarker);
ChannelCut cutB1(const std::string& chunk);
ChannelCut cutB2(const std::string& chunk);

struct DestinationCut {
  std::string entry;    // the row's first 30 bytes and its bytes 36 to 48
  std::string number;   // bytes 2 and 3, blanks removed
  std::string caption;  // the entry's first 20 bytes without trailing blanks
};

// Sixteen rows from the first "#0 " on; fewer when the chunk ends early.
std::vector<DestinationCut> cutDestinationList(const std::string& chunk);

}  // namespace simtest

#pragma once
// The state of one ISDN bearer channel as the last status block showed it.
// Texts are Shift-JIS bytes.

#include <array>
#include <string>

namespace tarvik {

struct ChannelState {
  // Field order is the display order, stored as [OPTION] B1 / B2.
  enum Field { StatusText = 0, ConnectTime, IPAddress, ConnectMode, PhoneNumber, LineUsage, TransferRate };
  std::array<std::string, 7> texts;
  bool Idle = false;
  int DisplayIndex = 0;  // 0..6, owned by the display step

  const std::string& text(Field f) const { return texts[f]; }
  std::string& text(Field f) { return texts[f]; }
};

// The status shows the channel free ("空"). Before any status block has
// been read nothing shows, so a channel is not free then either.
bool showsFree(const ChannelState& channel);

// The status shows a call coming in on the channel ("呼び出し中（着").
bool showsRinging(const ChannelState& channel);

}  // namespace tarvik

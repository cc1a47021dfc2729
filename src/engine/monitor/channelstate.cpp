#include "engine/monitor/channelstate.h"

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {

bool showsFree(const ChannelState& channel) {
  static const std::string kFree = toSjis("空");
  return contains(channel.text(ChannelState::StatusText), kFree);
}

bool showsRinging(const ChannelState& channel) {
  static const std::string kRinging = toSjis("呼び出し中（着");
  return contains(channel.text(ChannelState::StatusText), kRinging);
}

}  // namespace tarvik

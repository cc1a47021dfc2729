// What a channel's stored status text shows: free, or a call coming in.

#include "engine/monitor/channelstate.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

TEST(ChannelStatus, FreeAndRingingAreReadFromTheStatusText) {
  struct Case {
    const char* status;
    bool free, ringing;
  };
  const Case cases[] = {
      {"空き", true, false},
      {"空", true, false},
      {"呼び出し中（着信）", false, true},
      {"呼び出し中（着", false, true},
      {"呼び出し中（発信）", false, false},  // an outgoing call rings elsewhere
      {"通信中", false, false},
      {"", false, false},  // before any status block: neither
  };
  for (const Case& c : cases) {
    ChannelState channel;
    channel.text(ChannelState::StatusText) = toSjis(c.status);
    EXPECT_EQ(showsFree(channel), c.free) << c.status;
    EXPECT_EQ(showsRinging(channel), c.ringing) << c.status;
  }
  ChannelState elsewhere;  // the words in another field do not count
  elsewhere.text(ChannelState::ConnectMode) = toSjis("空 呼び出し中（着");
  EXPECT_FALSE(showsFree(elsewhere));
  EXPECT_FALSE(showsRinging(elsewhere));
}

}  // namespace
}  // namespace tarvik

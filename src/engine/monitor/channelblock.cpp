#include "engine/monitor/channelblock.h"

#include <optional>

#include "engine/base/bytes.h"
#include "engine/monitor/extractfield.h"
#include "engine/monitor/transferrate.h"

namespace tarvik {

namespace {
constexpr std::size_t kHeadBytes = 20;      // holds the status line
constexpr std::size_t kSectionBytes = 400;  // holds the fields
}  // namespace

void parseChannelBlock(std::string_view answer, std::size_t markerPos, const ChannelMarkers& markers,
                       ChannelState& state) {
  std::string_view rest = answer.substr(markerPos + markers.channel.size());
  std::string_view head = rest.substr(0, kHeadBytes);
  state.Idle = contains(head, markers.idleWord);

  std::size_t lineEnd = head.find('\n');
  const std::string status(lineEnd == std::string_view::npos ? std::string_view() : head.substr(0, lineEnd));
  state.text(ChannelState::StatusText) = status;

  std::string_view section = rest.substr(0, kSectionBytes);
  auto field = [&](const std::string& marker, std::string_view terminator) {
    return ExtractField(marker, section, terminator, status, state.Idle);
  };

  std::string connectTime = field(markers.connectTime, "/");
  if (connectTime != status) connectTime += markers.minutes;
  state.text(ChannelState::ConnectTime) = std::move(connectTime);
  state.text(ChannelState::IPAddress) = field(markers.address, "]");
  state.text(ChannelState::ConnectMode) = field(markers.mode, "]");
  state.text(ChannelState::PhoneNumber) = field(markers.number, "]");
  state.text(ChannelState::LineUsage) = field(markers.usage, "]");

  // A usage without a readable rate shows the status text, as an idle
  // channel does; the rest of the answer is still read.
  std::optional<std::string> rate = transferRateText(state.text(ChannelState::LineUsage));
  if (rate)
    state.text(ChannelState::TransferRate) = std::move(*rate);
  else
    state.text(ChannelState::TransferRate) = status;
}

}  // namespace tarvik

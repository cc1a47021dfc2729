#pragma once
// Rotation of a channel box through the fields of ChannelState.

#include <array>

namespace tarvik {

// enabled[k]: whether field k takes part in the rotation (the options
// showConnectionTime, showIpAddress, showConnectionMode, showPhoneNumber,
// showLineUsage, showTransferRate for fields 1..6; field 0, the status text,
// is always shown).
using FieldSwitches = std::array<bool, 7>;

// The next index after index: one on, skipping switched-off fields, wrapping
// after 6 to 0. Any index outside 0..6 is brought back into range.
int nextDisplayIndex(int index, const FieldSwitches& enabled);

// A stored index ([OPTION] B1 / B2) brought into 0..6.
int clampDisplayIndex(int index);

}  // namespace tarvik

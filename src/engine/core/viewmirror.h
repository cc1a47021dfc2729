#pragma once
// What the windows show, kept as far as the engine needs it back: the
// status line, the destination label, each channel box's text and whether
// the router has reported on each channel. Every change goes to the View
// through here, so the copy never differs from what is shown.

#include <array>
#include <string>

#include "engine/ports/view.h"

namespace tarvik {

class ViewMirror {
 public:
  explicit ViewMirror(View& view) : view_(view) {}

  void setStatus(const std::string& utf8);
  void showStatusError(const std::string& utf8);
  const std::string& status() const { return status_; }

  // The destination label; its caption is the caller name shown.
  void setLabel1(const std::string& utf8);
  const std::string& label1() const { return label1_; }

  // A channel box's text (Shift-JIS).
  void setChannelText(int channel, const std::string& sjis);
  const std::string& channelText(int channel) const { return shown_[channel]; }

  // The router reported on the channel: a status block has been parsed.
  void channelReported(int channel) { reported_[channel] = true; }
  bool reported(int channel) const { return reported_[channel]; }

 private:
  View& view_;
  std::string status_;
  std::string label1_;
  std::array<std::string, 2> shown_;
  std::array<bool, 2> reported_{false, false};
};

}  // namespace tarvik

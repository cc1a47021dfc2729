#include "engine/monitor/cnttime.h"

#include <utility>

#include "engine/base/sjis.h"

namespace tarvik {

struct TCntTime::Literals {
  std::string minutesBlank = toSjis("分 ");
  std::string secondsBlank = toSjis("秒 ");
  std::string hours = toSjis("時間");
  std::string minutes = toSjis("分");
};

TCntTime::TCntTime(TickSource tick, TickSource time)
    : tick_(std::move(tick)), time_(time ? std::move(time) : tick_) {
  static const Literals literals;
  lit_ = &literals;
}

std::uint32_t TCntTime::now() const {
  const TickSource& source = TimeFunc == tfTick ? tick_ : time_;
  return source ? source() : 0;
}

void TCntTime::Start() { start_ = now(); }

std::string TCntTime::GetText() {
  // Unsigned subtraction is modulo 2^32, so a tick counter that wrapped
  // once since the start still gives the right difference.
  elapsed_ = static_cast<std::int32_t>(now() - start_);
  std::int32_t totalSeconds = elapsed_ / 1000;
  minutes_ = totalSeconds / 60;
  hours_ = minutes_ / 60;
  seconds_ = totalSeconds - minutes_ * 60;

  std::string text;
  if (TimeMode == tmHour) {
    text = std::to_string(hours_) + lit_->hours + std::to_string(minutes_ - hours_ * 60) + lit_->minutes;
  } else {
    text = std::to_string(minutes_) + lit_->minutesBlank;
  }
  return text + std::to_string(seconds_) + lit_->secondsBlank;
}

void TCntTime::Snapshot() { snapshot_ = GetText(); }

}  // namespace tarvik

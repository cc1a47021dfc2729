#pragma once
// TCntTime: the time since a start mark, as Japanese text.

#include <cstdint>
#include <functional>
#include <string>

namespace tarvik {

class TCntTime {
 public:
  enum TFunc { tfTick, tfTime };  // GetTickCount-like or multimedia-timer-like source
  enum TMode { tmMin, tmHour };   // "12分 34秒 " or "1時間12分34秒 "
  enum TPrec { tpCSec, tpMSec };  // kept as chosen; nothing depends on it

  // A millisecond tick that may wrap round in 32 bits.
  using TickSource = std::function<std::uint32_t()>;

  // `tick` serves tfTick; `time` serves tfTime and defaults to `tick`, as
  // both are the same kind of millisecond count here.
  explicit TCntTime(TickSource tick, TickSource time = {});

  TFunc TimeFunc = tfTime;
  TMode TimeMode = tmMin;
  TPrec TPrecision = tpCSec;

  // Start mark := now.
  void Start();
  // The elapsed time since the start mark, Shift-JIS: "12分 34秒 " in
  // tmMin (minutes not limited to 59), "1時間12分34秒 " in tmHour.
  std::string GetText();
  // Keeps the current text as the final reading of a call.
  void Snapshot();

  const std::string& snapshotText() const { return snapshot_; }
  std::int32_t elapsedMs() const { return elapsed_; }
  std::int32_t hours() const { return hours_; }
  std::int32_t totalMinutes() const { return minutes_; }
  std::int32_t seconds() const { return seconds_; }

 private:
  struct Literals;
  std::uint32_t now() const;

  TickSource tick_;
  TickSource time_;
  const Literals* lit_;  // shared, lives for the whole run
  std::uint32_t start_ = 0;
  std::int32_t elapsed_ = 0;
  std::string snapshot_;
  std::int32_t hours_ = 0;
  std::int32_t minutes_ = 0;
  std::int32_t seconds_ = 0;
};

}  // namespace tarvik

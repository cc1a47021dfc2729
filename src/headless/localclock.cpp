#include "headless/localclock.h"

#include <ctime>

namespace tarvik::app {

LocalTime LocalClock::now() const {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&t, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::uint32_t LocalClock::tickMs() const {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace tarvik::app

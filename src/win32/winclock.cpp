#include "win32/winclock.h"

#include <windows.h>

namespace tarvik::win32 {

LocalTime WinClock::now() const {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t WinClock::tickMs() const { return static_cast<std::uint32_t>(::GetTickCount64()); }

}  // namespace tarvik::win32

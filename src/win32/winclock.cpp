#include "win32/winclock.h"

#include <windows.h>

#include <ctime>

namespace tarvik::win32 {

// The C library's time (--usage's month, the journal's times) runs past
// January 2038 in both builds (cmake/windows.cmake).
static_assert(sizeof(std::time_t) == 8, "a 32-bit time_t ends in 2038");

LocalTime WinClock::now() const {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t WinClock::tickMs() const { return static_cast<std::uint32_t>(::GetTickCount64()); }

}  // namespace tarvik::win32

#pragma once
// Runs the thread's message loop until a condition holds or the time is up:
// the Windows ports deliver everything through that loop. The condition is
// also looked at every few milliseconds without a message, for what happens
// outside the loop (another program writing a file, ending).

#include <windows.h>

#include <functional>

namespace tarvik::win32::testing {

inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    const DWORD wait = static_cast<DWORD>(deadline - now < 20 ? deadline - now : 20);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace tarvik::win32::testing

#include "win32/desktop/dpi.h"

namespace tarvik::win32 {
namespace {

template <typename F>
F user32(const char* name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT systemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : static_cast<int>(kBaseDpi);
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

int trayIconSide() { return systemMetric(SM_CXSMICON, systemDpi()); }

UINT dpiOfWindow(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = user32<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return systemDpi();
}

int systemMetric(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = user32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  return ::GetSystemMetrics(index);
}

void adjustWindowRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = user32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (forDpi && forDpi(&rect, style, menu, exStyle, dpi)) return;
  ::AdjustWindowRectEx(&rect, style, menu, exStyle);
}

}  // namespace tarvik::win32

#pragma once
// Per-monitor DPI: the windows are laid out in pixels at 96 DPI (100 %) and
// scaled to the DPI of the monitor they are on. The calls that know about a
// window's DPI came with Windows 10; on older systems (and where they are
// missing) the system DPI stands in.

#include <windows.h>

namespace tarvik::win32 {

inline constexpr UINT kBaseDpi = 96;

// The DPI the window is shown at.
UINT dpiOfWindow(HWND window);
// The system's DPI: the notification area's, on the main monitor, wherever
// the program's windows are.
UINT systemDpi();
// The side of an icon in the notification area, in pixels: the system's
// small icon at its DPI (16 at 100 %, 24 at 150 %).
int trayIconSide();
// n layout pixels at dpi.
inline int scaled(int n, UINT dpi) { return MulDiv(n, static_cast<int>(dpi), static_cast<int>(kBaseDpi)); }
// GetSystemMetricsForDpi where the system has it.
int systemMetric(int index, UINT dpi);
// AdjustWindowRectExForDpi where the system has it.
void adjustWindowRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

}  // namespace tarvik::win32

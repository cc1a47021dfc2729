#pragma once
// The channel icons of the tray (TB1, TB2): the label ("B1", "B2") in white
// bold letters on navy above a yellow bar, drawn at the size the system
// asks for, so the icon is sharp at every scaling.

#include <windows.h>

#include <string>

namespace tarvik::win32 {

// A new icon of side x side pixels; the caller destroys it (DestroyIcon).
HICON drawChannelIcon(const std::wstring& label, int side);

}  // namespace tarvik::win32

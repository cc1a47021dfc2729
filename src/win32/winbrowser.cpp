#include "win32/winbrowser.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/widetext.h"

namespace tarvik::win32 {

void WinBrowser::open(const std::string& address) {
  const std::wstring target = widen(address);
  ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarvik::win32

#include "win32/desktop/messagebox.h"

#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

// The hook lives only while one box opens; it renames the cancel button of
// the box that this thread activates next and then removes itself. The hook
// API gives the procedure no context, hence the thread's own slot.
thread_local HHOOK activeHook = nullptr;

LRESULT CALLBACK renameButtons(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = activeHook;
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (HWND cancel = ::GetDlgItem(box, IDCANCEL)) ::SetWindowTextW(cancel, L"ｷｬﾝｾﾙ");
    if (HWND ok = ::GetDlgItem(box, IDOK)) ::SetWindowTextW(ok, L"OK");
    ::UnhookWindowsHookEx(hook);
    activeHook = nullptr;
    return 0;
  }
  return ::CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

int messageBox(HWND owner, const std::string& text, const std::string& title, UINT type) {
  if (!activeHook) activeHook = ::SetWindowsHookExW(WH_CBT, renameButtons, nullptr, ::GetCurrentThreadId());
  const int answer = ::MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), type);
  if (activeHook) {
    ::UnhookWindowsHookEx(activeHook);
    activeHook = nullptr;
  }
  return answer;
}

void errorBox(HWND owner, const std::string& text) {
  messageBox(owner, text, "Tarvik", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

bool askDisconnect(HWND owner) {
  return messageBox(owner, "回線を切断してもよろしいですか?", "確認",
                    MB_OKCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND) == IDOK;
}

}  // namespace tarvik::win32

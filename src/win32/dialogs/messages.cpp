// The message boxes of the dialogs and the message-loop hook of the
// modeless ones.
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"
#include "win32/widetext.h"

namespace tarvik::win32 {

MessageFunction systemMessageBox() {
  return [](HWND owner, MessageKind kind, const std::string& text) {
    const UINT icons[] = {MB_ICONERROR, MB_ICONWARNING, MB_ICONINFORMATION};
    MessageBoxW(owner, widen(text).c_str(), L"Tarvik", MB_OK | icons[static_cast<int>(kind)]);
  };
}

bool dispatchDialogMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !GetPropW(root, kDialogProperty)) return false;
  // Enter is the dialog's own decision first (which button it presses
  // depends on the page and the control), then the platform's.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
      SendMessageW(root, kEnterKeyMessage, 0, reinterpret_cast<LPARAM>(&msg))) {
    return true;
  }
  return IsDialogMessageW(root, &msg) != FALSE;
}

}  // namespace tarvik::win32

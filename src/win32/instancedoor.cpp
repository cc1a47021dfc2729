#include "win32/instancedoor.h"

#include "app/secondstart.h"

namespace tarvik::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TarvikDoor";
// Marks the WM_COPYDATA of a second start among any others.
constexpr ULONG_PTR kSecondStartData = 0x5456524B;

}  // namespace

InstanceDoor::InstanceDoor(Words onWords) : onWords_(std::move(onWords)) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &InstanceDoor::procedure;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);  // fails harmlessly once registered
  hwnd_ =
      ::CreateWindowExW(0, kClassName, L"Tarvik", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (hwnd_) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

InstanceDoor::~InstanceDoor() {
  if (!hwnd_) return;
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK InstanceDoor::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<InstanceDoor*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message != WM_COPYDATA || !self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || data->dwData != kSecondStartData || data->cbData > app::kSecondStartMaxBytes) return FALSE;
  const auto words =
      app::decodeSecondStart(std::string(static_cast<const char*>(data->lpData), data->cbData));
  if (!words) return FALSE;
  self->onWords_(*words);
  return TRUE;
}

bool InstanceDoor::knock(const std::vector<std::string>& words, std::string& problem, int timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  HWND door = nullptr;
  // A program that has only just taken the mutex opens its door a moment later.
  while (!(door = ::FindWindowExW(HWND_MESSAGE, nullptr, kClassName, nullptr))) {
    if (::GetTickCount64() > deadline) {
      problem = "no running Tarvik answers";
      return false;
    }
    ::Sleep(50);
  }
  // This start came from the user, so it may give the foreground away: the
  // running program's window may then come to the front.
  DWORD pid = 0;
  ::GetWindowThreadProcessId(door, &pid);
  if (pid) ::AllowSetForegroundWindow(pid);
  std::string message = app::encodeSecondStart(words);
  COPYDATASTRUCT data{};
  data.dwData = kSecondStartData;
  data.cbData = static_cast<DWORD>(message.size());
  data.lpData = message.data();
  DWORD_PTR answer = FALSE;
  const ULONGLONG now = ::GetTickCount64();
  const UINT wait = now < deadline ? static_cast<UINT>(deadline - now) : 1;
  if (!::SendMessageTimeoutW(door, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, wait,
                             &answer) ||
      answer != TRUE) {
    problem = "the running Tarvik did not answer";
    return false;
  }
  return true;
}

}  // namespace tarvik::win32

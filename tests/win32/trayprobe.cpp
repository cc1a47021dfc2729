// tray-probe.exe: the desktop end-to-end test's hand in the notification
// area, from the Windows side.
//
//   tray-probe.exe warm-up
//     Puts an icon of its own into the notification area and keeps it there
//     until it is ended. Wine's shell docks the first icon of a new display
//     into the tray host before the host is ready for it, and that icon
//     stays blank and deaf: the test runs this first, waits for the icon in
//     the tray host and ends it, so Tarvik's icons are not the first.
//   tray-probe.exe channel-icons
//     Shows the channel icons B1 and B2 as tarvik.exe draws them for the
//     notification area (same drawing, same size for the system's DPI),
//     until it is ended, and prints "side N": the icons' side in pixels.
//   tray-probe.exe forget
//     The shell forgets the icons of Tarvik's tray windows, as a shell that
//     has just been restarted knows none. Prints "forgot N of M": N icons
//     the shell had, M tray windows found.
//   tray-probe.exe taskbar-created
//     Broadcasts "TaskbarCreated", as the shell does once its taskbar is
//     there again, and prints "known N of M": how many of Tarvik's tray
//     windows have an icon in the shell once every window has answered the
//     broadcast (the icons a program adds on it are added by then).
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/desktop/channelicon.h"
#include "win32/desktop/dpi.h"

namespace {

constexpr wchar_t kTarvikTrayClass[] = L"TarvikTaskBar";
constexpr UINT kTarvikIconId = 1;

void print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
              nullptr);
}

std::vector<HWND> tarvikTrayWindows() {
  std::vector<HWND> windows;
  HWND after = nullptr;
  while ((after = ::FindWindowExW(nullptr, after, kTarvikTrayClass, nullptr)) != nullptr)
    windows.push_back(after);
  return windows;
}

NOTIFYICONDATAW iconOf(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTarvikIconId;
  return data;
}

// Whether the shell has an icon for the window: a change of nothing
// succeeds only for an icon it knows.
bool shellKnows(HWND window) {
  NOTIFYICONDATAW data = iconOf(window);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

int forget() {
  const std::vector<HWND> windows = tarvikTrayWindows();
  int forgotten = 0;
  for (HWND window : windows) {
    NOTIFYICONDATAW data = iconOf(window);
    if (::Shell_NotifyIconW(NIM_DELETE, &data)) ++forgotten;
  }
  print("forgot " + std::to_string(forgotten) + " of " + std::to_string(windows.size()));
  return 0;
}

int taskbarCreated() {
  const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  // Sent, not posted: it returns once every top-level window has handled it.
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 10000, &result)) {
    print("the broadcast did not reach every window");
    return 1;
  }
  const std::vector<HWND> windows = tarvikTrayWindows();
  int known = 0;
  for (HWND window : windows) known += shellKnows(window) ? 1 : 0;
  print("known " + std::to_string(known) + " of " + std::to_string(windows.size()));
  return 0;
}

HWND hiddenWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"TarvikTrayProbe";
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                           nullptr);
}

bool addIcon(HWND window, UINT id, HICON image) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = id;
  data.uFlags = NIF_ICON;
  data.hIcon = image;
  return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

// Until the test ends the program; the shell takes its icons away with
// its window.
int runUntilEnded() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}

int warmUp(HINSTANCE instance) {
  if (!addIcon(hiddenWindow(instance), 1, ::LoadIconW(nullptr, IDI_APPLICATION))) return 1;
  return runUntilEnded();
}

// DPI aware as tarvik.exe's manifest makes it, so the system's DPI is the
// real one and not the 96 of a program that knows nothing of scaling.
void beDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const auto setContext = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (!setContext || !setContext(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)))) ::SetProcessDPIAware();
}

int channelIcons(HINSTANCE instance) {
  beDpiAware();
  const int side = tarvik::win32::trayIconSide();
  HWND window = hiddenWindow(instance);
  HICON b1 = tarvik::win32::drawChannelIcon(L"B1", side);
  HICON b2 = tarvik::win32::drawChannelIcon(L"B2", side);
  if (!b1 || !b2 || !addIcon(window, 1, b1) || !addIcon(window, 2, b2)) return 1;
  print("side " + std::to_string(side));
  return runUntilEnded();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring command = commandLine ? commandLine : L"";
  if (command == L"warm-up") return warmUp(instance);
  if (command == L"channel-icons") return channelIcons(instance);
  if (command == L"forget") return forget();
  if (command == L"taskbar-created") return taskbarCreated();
  print("usage: tray-probe.exe warm-up|channel-icons|forget|taskbar-created");
  return 2;
}

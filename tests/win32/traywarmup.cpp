// Puts an icon into the notification area for a moment and takes it away
// again. Wine's shell docks the first icon of a new display into the tray
// host before the host is ready for it, and that icon stays blank and deaf;
// the desktop end-to-end test runs this first, so Tarvik's icons are not
// the first.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"TarvikTrayWarmUp";
  ::RegisterClassExW(&wc);
  HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                  nullptr);
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  data.uFlags = NIF_ICON;
  data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  ::Shell_NotifyIconW(NIM_ADD, &data);
  // A second or so of messages, for the shell to dock the icon.
  const DWORD until = ::GetTickCount() + 1500;
  MSG msg;
  while (::GetTickCount() < until) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(20);
  }
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  ::DestroyWindow(window);
  return 0;
}

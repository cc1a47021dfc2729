// The launcher tests' recording program: writes its process id and its
// arguments (one a line, UTF-8) to the file named by its first argument,
// then keeps a hidden top-level window until asked to close. Asked
// (WM_CLOSE), it creates that file's name with ".asked" added; with
// "--ignore-close" it then stays, so only termination ends it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring askedNote;  // the record's name with ".asked"

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    if (FILE* note = ::_wfopen(askedNote.c_str(), L"wb")) std::fclose(note);
    if (::GetWindowLongPtrW(hwnd, GWLP_USERDATA)) return 0;  // --ignore-close
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::string utf8(const wchar_t* text) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  askedNote = std::wstring(argv[1]) + L".asked";
  bool ignoreClose = false;
  for (int i = 2; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--ignore-close") ignoreClose = true;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TarvikLaunchee";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowW(L"TarvikLaunchee", L"launchee", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
  if (!window) return 3;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, ignoreClose ? 1 : 0);

  // Written under another name and renamed, so a reader never sees half.
  const std::wstring record = argv[1];
  const std::wstring partial = record + L".part";
  FILE* out = ::_wfopen(partial.c_str(), L"wb");
  if (!out) return 4;
  std::fprintf(out, "%lu\n", ::GetCurrentProcessId());
  for (int i = 2; i < argc; ++i) std::fprintf(out, "%s\n", utf8(argv[i]).c_str());
  std::fclose(out);
  ::MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}

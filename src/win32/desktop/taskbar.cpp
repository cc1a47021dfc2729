#include "win32/desktop/taskbar.h"

#include <shellapi.h>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TarvikTaskBar";
constexpr UINT kIconId = 1;

void registerClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  ::RegisterClassExW(&wc);  // a second registration fails harmlessly
}

// A text cut to maxBytes of its Shift-JIS form, never inside a character.
std::string cutToSjisBytes(const std::string& utf8, std::size_t maxBytes) {
  return toUtf8(sjisCut(toSjis(utf8), maxBytes));
}

void copyInto(wchar_t* field, std::size_t capacity, const std::wstring& text) {
  ::lstrcpynW(field, text.c_str(), static_cast<int>(capacity));
}

}  // namespace

TTaskBar::TTaskBar(HINSTANCE instance) {
  registerClass(instance, procedure);
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // A top-level window, never shown: message-only windows do not hear the
  // shell's broadcast when the taskbar comes back.
  window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, this);
}

TTaskBar::~TTaskBar() {
  remove();
  if (window_) ::DestroyWindow(window_);
}

void TTaskBar::setIcon(HICON icon) {
  if (icon == icon_) return;
  icon_ = icon;
  update();
}

void TTaskBar::setEnableTaskTray(bool enable) {
  enableTaskTray_ = enable;
  if (enable) {
    add();
  } else {
    remove();
  }
}

// The poll sets the same tip every few seconds: the shell hears of a tip
// only when it changes (a shell still docking the icon can lose it to a
// stream of changes).
void TTaskBar::setTips(const std::string& tips) {
  std::string cut = cutToSjisBytes(tips, kMaxTipBytes);
  if (cut == tips_) return;
  tips_ = std::move(cut);
  update();
}

std::wstring TTaskBar::shownTip() const { return widen(cutToSjisBytes(tips_, kShownTipBytes)); }

NOTIFYICONDATAW TTaskBar::iconData(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = icon_ ? icon_ : applicationIcon_;
  copyInto(data.szTip, std::size(data.szTip), shownTip());
  return data;
}

void TTaskBar::add() {
  NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  // Adding an icon that is there already fails; it is brought up to date.
  if (!::Shell_NotifyIconW(NIM_ADD, &data)) ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TTaskBar::update() {
  if (!enableTaskTray_ || !window_) return;
  // An icon the shell does not know (it was not ready when the icon was
  // added) is added now.
  NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) ::Shell_NotifyIconW(NIM_ADD, &data);
}

void TTaskBar::remove() {
  if (!window_) return;
  NOTIFYICONDATAW data = iconData(0);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void TTaskBar::showBalloon(const std::string& title, const std::string& text, DWORD icon) {
  if (!enableTaskTray_) return;
  NOTIFYICONDATAW data = iconData(NIF_INFO);
  copyInto(data.szInfoTitle, std::size(data.szInfoTitle), widen(title));
  copyInto(data.szInfo, std::size(data.szInfo), widen(text));
  data.dwInfoFlags = icon;
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TTaskBar::handleMouse(UINT mouseMessage, POINT cursor) {
  // The press raises the click event; the release opens that button's menu.
  const struct {
    UINT message;
    MouseButton button;
  } presses[] = {{WM_LBUTTONDOWN, MouseButton::Left},
                 {WM_RBUTTONDOWN, MouseButton::Right},
                 {WM_MBUTTONDOWN, MouseButton::Middle}};
  for (const auto& p : presses) {
    if (p.message == mouseMessage && onTrayClick_) onTrayClick_(p.button);
  }
  const struct {
    UINT message;
    const MenuHandler* menu;
  } releases[] = {{WM_LBUTTONUP, &popupLeft_}, {WM_MBUTTONUP, &popupMiddle_}, {WM_RBUTTONUP, &popupRight_}};
  for (const auto& r : releases) {
    if (r.message == mouseMessage && *r.menu) (*r.menu)(cursor);
  }
}

LRESULT CALLBACK TTaskBar::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Where the cursor is, before anything else happens.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TTaskBar*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == kTrayMessage) {
    self->handleMouse(static_cast<UINT>(lParam), cursor);
    return 0;
  }
  if (self && message == self->taskbarCreated_ && self->taskbarCreated_ != 0) {
    if (self->enableTaskTray_) self->add();
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tarvik::win32

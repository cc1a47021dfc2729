#pragma once
// TTaskBar: one icon in the notification area on Shell_NotifyIconW, with its
// image, its tip, a click event and the menus that open from it. The main
// window holds three: TSOHO (the program), TB1 and TB2 (the channels, shown
// while in use). Each icon has a hidden top-level window of its own that
// receives the icon's messages (all three use icon id 1 and are told apart
// by their windows) and the shell's "TaskbarCreated", after which a shown
// icon is added again (the taskbar was restarted).

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace tarvik::win32 {

class TTaskBar {
 public:
  enum class MouseButton { Left, Right, Middle };
  using ClickHandler = std::function<void(MouseButton)>;
  // Opens a pop-up menu at the screen point (the cursor when the button
  // went up); the owner of the menus does the tracking.
  using MenuHandler = std::function<void(POINT)>;

  // The icon's callback message: WM_APP + 100.
  static constexpr UINT kTrayMessage = WM_APP + 100;
  // The longest tip kept, and the part of it the icon shows (bytes of the
  // Shift-JIS text; a double-byte character is never split).
  static constexpr std::size_t kMaxTipBytes = 255;
  static constexpr std::size_t kShownTipBytes = 63;

  explicit TTaskBar(HINSTANCE instance);
  ~TTaskBar();  // the icon leaves the notification area
  TTaskBar(const TTaskBar&) = delete;
  TTaskBar& operator=(const TTaskBar&) = delete;

  // A null icon shows the application's own. The component does not own it.
  void setIcon(HICON icon);
  void setApplicationIcon(HICON icon) { applicationIcon_ = icon; update(); }

  void setEnableTaskTray(bool enable);  // adds or removes, on every call
  bool enableTaskTray() const { return enableTaskTray_; }

  // UTF-8; kept up to kMaxTipBytes, shown up to kShownTipBytes.
  void setTips(const std::string& tips);
  const std::string& tips() const { return tips_; }
  std::wstring shownTip() const;

  void setOnTrayClick(ClickHandler handler) { onTrayClick_ = std::move(handler); }
  void setPopupMenuLeft(MenuHandler menu) { popupLeft_ = std::move(menu); }
  void setPopupMenuMiddle(MenuHandler menu) { popupMiddle_ = std::move(menu); }
  void setPopupMenuRight(MenuHandler menu) { popupRight_ = std::move(menu); }

  // A balloon message from the icon (desktop notifications) with its icon
  // (NIIF_INFO, NIIF_WARNING).
  void showBalloon(const std::string& title, const std::string& text, DWORD icon);

  HWND messageWindow() const { return window_; }

  // What a press and release of a button on the icon does, as the shell's
  // callback message delivers it (lParam: the mouse message).
  void handleMouse(UINT mouseMessage, POINT cursor);

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  NOTIFYICONDATAW iconData(UINT flags) const;
  void add();
  void update();
  void remove();

  HWND window_ = nullptr;
  UINT taskbarCreated_ = 0;
  HICON icon_ = nullptr;
  HICON applicationIcon_ = nullptr;
  bool enableTaskTray_ = false;
  std::string tips_;
  ClickHandler onTrayClick_;
  MenuHandler popupLeft_, popupMiddle_, popupRight_;
};

}  // namespace tarvik::win32

#pragma once
// TForm1, "Tarvik": the small status window with the two channel boxes
// (Edit1, Edit2), the destination label (Label1), the colour strip (Panel2)
// on the channel panel (Panel1), the status line (Label4) and the three
// everyday buttons, its main menu, and the two menus it shares with the
// tray icon. What its menu items, clicks and parking do is the shared
// presentation's (desktop/mainpresenter.h); this window draws and moves
// itself and hands on, through its hooks, what the other windows must do.
// It is owned by a hidden window, so it has no taskbar button.
//
// Laid out in pixels at 100 % and scaled to the DPI of its monitor; the
// labels, the panel and the strip are painted, the boxes and buttons are
// controls.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "desktop/mainpresenter.h"
#include "desktop/mainwindowhost.h"
#include "engine/core/enginecommands.h"
#include "win32/desktop/menubar.h"
#include "win32/desktop/uifont.h"
#include "win32/desktop/usagewindow.h"
#include "engine/ports/view.h"

namespace tarvik::win32 {

class MainWindow : private desktop::MainWindowHost {
 public:
  static constexpr int kParkedTop = desktop::kParkedTop;
  static constexpr int kClientWidth = 136;
  static constexpr int kClientHeight = 109;
  static constexpr wchar_t kClassName[] = L"TForm1";

  // What the window hands to the rest of the program.
  struct Hooks {
    std::function<void()> config;       // Tarvikの設定, 設定
    std::function<void()> details;      // 詳細
    std::function<void()> about;        // ﾊﾞｰｼﾞｮﾝ情報
    std::function<void()> showTrayIcon;          // TSOHO, at start
    std::function<void(Channel)> copyAddress;    // a press on TB1 or TB2
    // The settings loaded at start: the details window's place, the
    // settings dialog's controls.
    std::function<void(const desktop::WindowGeometry&)> placeDetails;
    std::function<void()> loadSettingsForm;
    // Adds the other windows' state (the details window's geometry) to what
    // a close request hands the engine.
    std::function<void(WindowPlacement&)> writeWindowState;
    // The close was allowed, or the session ended: the program ends.
    std::function<void()> closed;
  };

  MainWindow(HINSTANCE instance, EngineCommands& core, HWND owner, Hooks hooks);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  HMENU popupMenu1() const { return menus_.popupMenu1(); }
  HMENU popupMenu2() const { return menus_.popupMenu2(); }
  const MenuBar& menus() const { return menus_; }

  // [OPTION] ONSCREEN, read when the window is created.
  void setStayOnTop(bool onTop);
  // [OPTION] left and top; top is also where the window comes back to. A
  // place that no monitor shows is moved onto the nearest monitor.
  void placeAt(int left, int top) { presenter_.parking().placeAt(left, top); }
  int rememberedTop() const { return presenter_.parking().rememberedTop(); }
  void show();

  void park() { presenter_.parking().park(); }
  // K4Click: also brings a window that no monitor shows onto the nearest one.
  void bringBack() { presenter_.parking().bringBack(); }
  void restoreOnConnect() { presenter_.parking().restoreOnConnect(); }  // with [OPTION] CHECK4
  bool isParked() const { return presenter_.parking().isParked(); }

  desktop::MainPresenter& presenter() { return presenter_; }

  // What the core shows (UTF-8). False when the status text is wider than
  // the line and shows cut.
  bool setStatusLine(const std::string& text);
  void setChannelText(Channel ch, const std::string& text);
  void setDestinationLabel(const std::string& text);
  void showCallerName(const std::string& name, const std::string& number);
  void clearCallerName();
  void setDestinationCaption(int index, const std::string& caption);
  void setConnectHint(const std::string& text);
  void setPanelColour(PanelColour colour);
  void setStrip(StripColour colour);
  void setJigenCaption(const std::string& caption);
  void setMonitoringOff(bool off) override;  // [OPTION] CHECK11 greys the channel boxes

  // CopyIPtoClip: the channel's box gets the text, all of it selected, and
  // the text goes to the clipboard.
  void copyToClipboard(Channel ch, const std::string& text);

  // The menus at a screen point (the tray icon's left and right button).
  void popUp(HMENU menu, POINT at);

  // The close request (終了, the close box, the core's own close).
  void requestClose() override;
  // The session ends: the window state saved, no question, then closed().
  void endSession();

  // For the thread's message loop: F1, Tab and Enter of the window.
  bool preTranslate(MSG& msg);

  // What the window shows, for tests and probes.
  std::string channelText(Channel ch) const;
  const std::string& statusLine() const { return status_; }

  // The labels drawn with an ellipsis when their text is wider than they
  // are; each is a tooltip tool of the window, whose text tipText gives.
  enum class CutLabel : UINT_PTR { Status = 1, Destination, CallerName };
  std::string tipText(CutLabel label) const;
  // Where a label is drawn, in client pixels at the window's DPI.
  RECT labelRect(CutLabel label) const;

 private:
  struct Control;
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK channelBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR data);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createControls();
  void layout();
  void makeFonts();
  void fitToClientSize();
  int clientHeight() const;
  void paint(HDC dc);
  void onClick(POINT client);
  void onCommand(UINT id);
  RECT rect(int left, int top, int width, int height) const;
  HWND channelBox(Channel ch) const { return ch == Channel::B1 ? edit1_ : edit2_; }
  void invalidate(const RECT& r);
  WindowPlacement takeWindowState();
  // Whether the label's text fits its box in its font, and the label's
  // tooltip, which holds the whole text while it shows cut.
  const std::string& cutLabelText(CutLabel label) const;
  bool fits(CutLabel label) const;
  void updateTip(CutLabel label);

  // MainWindowHost
  int windowLeft() const override;
  int windowTop() const override;
  void moveWindow(int left, int top) override;
  void keepReachable() override;
  bool isMinimised() const override;
  // Label1 and the minimise button: the whole program goes out of sight;
  // 情報窓表示 brings it back.
  void minimiseApplication() override;
  void restoreWindow(bool activate) override;
  void bringToFront() override { ::SetForegroundWindow(hwnd_); }
  void showWindow() override { show(); }
  void openSettings() override;
  void openDetails() override;
  void openAbout() override;
  // 利用状況: the usage window, made at its first opening, owned by this one.
  void openUsage() override;
  void setTimeSwitchCaption(const std::string& caption) override { setJigenCaption(caption); }
  void setTimeSwitchChecked(bool checked) override;
  void showTrayIcon() override;
  void copyAddress(Channel ch) override;
  void placeDetails(const desktop::WindowGeometry& geometry) override;
  void loadSettingsForm() override;
  std::string manualPath() const override;
  void showError(const std::string& text) override;
  // The normal place of the window, also while it is minimised.
  RECT normalRect() const;

  HINSTANCE instance_;
  EngineCommands& core_;
  Hooks hooks_;
  desktop::MainPresenter presenter_{core_, *this};
  MenuBar menus_;
  HWND hwnd_ = nullptr;
  HWND edit1_ = nullptr;
  HWND edit2_ = nullptr;
  HWND connectBtn_ = nullptr;
  HWND discBtn_ = nullptr;
  HWND button3_ = nullptr;
  HWND tooltip_ = nullptr;
  HACCEL accelerators_ = nullptr;
  UINT dpi_ = 96;
  Font font_;      // 12 px, the window's font
  Font nameFont_;  // 16 px bold underlined, the caller name
  int statusHeight_ = 15;  // the status line's height: the font's whole cell
  HBRUSH channelBrush_ = nullptr;

  std::string destination_ = "接続先";
  std::string status_;
  std::string callerName_;
  std::string label3_ = "B2";
  bool callerShown_ = false;
  std::string connectHint_;
  std::string jigenCaption_;
  PanelColour panel_ = PanelColour::Normal;
  bool stripSet_ = false;
  StripColour strip_ = StripColour::Day;

  std::unique_ptr<UsageWindow> usage_;

  bool minimised_ = false;
  bool ended_ = false;
};

}  // namespace tarvik::win32

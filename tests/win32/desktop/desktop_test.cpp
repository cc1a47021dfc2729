// The desktop program's own windows under Wine: the menus built from the
// shared tables, the main window's commands, close request, session end and
// parking over a recording core, the tray icon's tip and mouse rules, and
// the drawn channel icons.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "desktop/mainmenus.h"
#include "win32/desktop/balloonicon.h"
#include "win32/desktop/channelicon.h"
#include "win32/desktop/mainwindow.h"
#include "win32/desktop/menubar.h"
#include "win32/desktop/taskbar.h"
#include "fakes/recordingcore.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

namespace fs = std::filesystem;

fs::path testDir(const char* name) {
  const fs::path dir = fs::temp_directory_path() / (std::string("tarvik-desktop-test-") + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

int itemCount(HMENU menu, UINT id) {
  // Every item, submenus included, with this command id.
  int n = 0;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      n += itemCount(sub, id);
    } else if (::GetMenuItemID(menu, i) == id) {
      ++n;
    }
  }
  return n;
}

const MenuItem* row(std::span<const MenuItem> items, const std::string& name) {
  for (const MenuItem& item : items) {
    if (name == item.name) return &item;
    if (const MenuItem* inside = row(item.children, name)) return inside;
  }
  return nullptr;
}

const MenuItem& row(const std::string& name) {
  for (auto items : {mainMenuItems(), popupMenu1Items(), popupMenu2Items()}) {
    if (const MenuItem* found = row(items, name)) return *found;
  }
  ADD_FAILURE() << "no row " << name;
  return mainMenuItems()[0];
}

std::wstring itemCaption(HMENU menu, int position) {
  wchar_t buffer[256] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(position), buffer, static_cast<int>(std::size(buffer)), MF_BYPOSITION);
  return buffer;
}

// The Win32 menus are the tables: every row is an item of its menu, in the
// table's order, with the row's caption and the id of the row's command; a
// submenu holds its rows, and the id leads back to the row.
void expectBuiltFrom(HMENU menu, std::span<const MenuItem> rows, const std::string& where) {
  int position = 0;
  for (const MenuItem& item : rows) {
    const std::string here = where + "/" + item.name;
    ASSERT_LT(position, ::GetMenuItemCount(menu)) << here;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) << here;
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, item.act == MenuAct::Separator) << here;
    if (item.act == MenuAct::Submenu) {
      ASSERT_NE(info.hSubMenu, nullptr) << here;
      expectBuiltFrom(info.hSubMenu, item.children, here);
    } else if (item.act != MenuAct::Separator) {
      EXPECT_EQ(info.wID, MenuBar::commandId(item)) << here;
      ASSERT_NE(MenuBar::command(info.wID), nullptr) << here;
      EXPECT_TRUE(MenuBar::command(info.wID)->sameCommand(item)) << here;
      const std::wstring caption = itemCaption(menu, position);
      const std::wstring expected = widen(item.caption);
      EXPECT_EQ(caption.substr(0, caption.find(L'\t')), expected.empty() ? L" " : expected) << here;
    }
    ++position;
  }
  EXPECT_EQ(position, ::GetMenuItemCount(menu)) << where;
}

TEST(MenuBar, TheMenusAreBuiltFromTheTables) {
  MenuBar menus;
  expectBuiltFrom(menus.mainMenu(), mainMenuItems(), "MainMenu1");
  expectBuiltFrom(menus.popupMenu1(), popupMenu1Items(), "PopupMenu1");
  expectBuiltFrom(menus.popupMenu2(), popupMenu2Items(), "PopupMenu2");
  // 接続 is the left menu's default item; ﾍﾙﾌﾟ shows its key.
  EXPECT_EQ(::GetMenuDefaultItem(menus.popupMenu2(), FALSE, 0), MenuBar::commandId(row("K5")));
  EXPECT_EQ(menus.caption(menus.mainMenu(), MenuBar::helpId()), L"ﾍﾙﾌﾟ\tF1");
  EXPECT_EQ(MenuBar::command(0), nullptr);
  EXPECT_EQ(MenuBar::command(MenuBar::commandId(row("K7")) + 1), nullptr) << "past the last command";
}

TEST(MenuBar, DestinationCaptionsChangeInBothMenus) {
  MenuBar menus;
  const UINT id15 = MenuBar::commandId(MenuAct::Destination, 15);
  // Blank before the router's list, but an item (not a separator).
  EXPECT_EQ(menus.caption(menus.mainMenu(), id15), L" ");
  menus.setDestinationCaption(15, "#15 モバイル");
  EXPECT_EQ(menus.caption(menus.mainMenu(), id15), L"#15 モバイル");
  EXPECT_EQ(menus.caption(menus.popupMenu1(), id15), L"#15 モバイル");
  menus.setDestinationCaption(3, "");
  EXPECT_EQ(menus.caption(menus.popupMenu1(), MenuBar::commandId(MenuAct::Destination, 3)), L" ");
}

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() : core(testDir("main")) {
    MainWindow::Hooks hooks;
    hooks.details = [this] { core.record("details"); };
    hooks.config = [this] { core.record("config"); };
    hooks.about = [this] { core.record("about"); };
    hooks.closed = [this] { ++closed; };
    window = std::make_unique<MainWindow>(::GetModuleHandleW(nullptr), core, nullptr, std::move(hooks));
    window->placeAt(100, 50);
    window->show();
  }

  void command(const MenuItem& item) { ::SendMessageW(window->hwnd(), WM_COMMAND, MenuBar::commandId(item), 0); }
  RECT frame() const {
    RECT r{};
    ::GetWindowRect(window->hwnd(), &r);
    return r;
  }

  test::RecordingCore core;
  std::unique_ptr<MainWindow> window;
  int closed = 0;
};

// A picked item reaches the presentation and through it its handler.
TEST_F(MainWindowTest, MenuItemsReachTheirHandlers) {
  const std::pair<const char*, const char*> cases[] = {
      {"N11", "ConnectFromMenu 0"}, {"NM15", "ConnectFromMenu 15"}, {"K14", "ExecWWW 3"},
      {"B1Disc", "B1DiscClick"},    {"KB22", "B2DiscClick"},        {"K5", "ConnectBtnClick"},
      {"K6", "DiscBtnClick"},       {"K3", "config"},               {"KTarvik1", "about"},
      {"K7", "details"},            {"JIGEN", "JIGENClick"},
  };
  for (const auto& [name, call] : cases) {
    command(row(name));
    EXPECT_EQ(core.last(), call) << name;
  }
}

// 利用状況 of その他 and of the tray menu opens the usage window, owned by
// the main window; the second time the same window comes back, and it goes
// with the main window.
TEST_F(MainWindowTest, UsageItemsOpenTheUsageWindow) {
  HWND usage = nullptr;
  for (const char* name : {"KUsage1", "KUsage2"}) {
    command(row(name));
    HWND shown = ::FindWindowW(L"TarvikUsage", L"利用状況");
    ASSERT_NE(shown, nullptr) << name;
    EXPECT_TRUE(::IsWindowVisible(shown)) << name;
    EXPECT_EQ(::GetWindow(shown, GW_OWNER), window->hwnd()) << name;
    if (usage) {
      EXPECT_EQ(shown, usage) << "a second window";
    }
    usage = shown;
    ::SendMessageW(usage, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(usage)) << name << ": the close box hides it";
  }
  window.reset();
  EXPECT_FALSE(::IsWindow(usage));
}

TEST_F(MainWindowTest, TimedDisconnectItemFollowsTheCore) {
  window->setJigenCaption("時限切断 [7:58]");
  const UINT id = MenuBar::commandId(row("JIGEN"));
  auto checked = [&] { return (::GetMenuState(window->popupMenu1(), id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  EXPECT_TRUE(checked());
  command(row("JIGEN"));
  EXPECT_FALSE(checked());
  command(row("JIGEN"));
  EXPECT_TRUE(checked());
  EXPECT_EQ(window->menus().caption(window->popupMenu1(), id), L"時限切断 [7:58]");
}

// Parking moves the real window (the rules are the presentation's, tested
// in tests/unit/desktop): out of sight at top -300, back with a double click
// on the background; a place no monitor shows is moved onto a real monitor.
TEST_F(MainWindowTest, ParkingMovesTheWindowAndADoubleClickBringsItBack) {
  EXPECT_EQ(frame().top, 50);
  window->park();
  EXPECT_EQ(frame().top, MainWindow::kParkedTop);
  EXPECT_EQ(frame().left, 100);
  EXPECT_TRUE(window->isParked());
  ::SendMessageW(window->hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(60, 100));
  EXPECT_EQ(frame().top, 50);
  EXPECT_FALSE(window->isParked());

  const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  window->placeAt(screen.right + 2000, 40);
  const RECT r = frame();
  EXPECT_TRUE(r.left >= screen.left && r.top >= screen.top && r.right <= screen.right && r.bottom <= screen.bottom);
  EXPECT_EQ(r.top, 40) << "moved only as far as needed";
}

TEST_F(MainWindowTest, CloseRequestAsksTheCoreAndSaysWhetherParked) {
  window->park();
  core.closeAllowed = false;
  ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(core.last(), "FormCloseQuery 1");
  EXPECT_EQ(closed, 0);
  core.closeAllowed = true;
  window->bringBack();
  ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_GE(core.calls.size(), 2u);
  EXPECT_EQ(core.calls[core.calls.size() - 2], "FormCloseQuery 0");
  EXPECT_EQ(core.last(), "FormClose");
  EXPECT_EQ(core.placement.left, 100);
  EXPECT_EQ(core.placement.top, 50);
  EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowTest, SessionEndSavesWithoutAsking) {
  EXPECT_EQ(::SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(core.last(), "EndSession 0");
  EXPECT_EQ(closed, 1);
  // Once only.
  ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(core.last(), "EndSession 0");
}

// 常に手前に表示: the window is topmost exactly while the setting says so,
// its own tips notwithstanding.
TEST_F(MainWindowTest, StaysOnTopAsTheSettingSays) {
  auto topmost = [&] { return (::GetWindowLongW(window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_FALSE(topmost());
  for (const bool onTop : {true, false, true}) {
    window->setStayOnTop(onTop);
    EXPECT_EQ(topmost(), onTop);
  }
}

TEST_F(MainWindowTest, ChannelBoxesAndStatusLine) {
  window->setChannelText(Channel::B1, "空き");
  window->setChannelText(Channel::B2, "203.0.113.5");
  EXPECT_EQ(window->channelText(Channel::B1), "空き");
  EXPECT_EQ(window->channelText(Channel::B2), "203.0.113.5");
  EXPECT_TRUE(window->setStatusLine("待機中"));
  EXPECT_FALSE(window->setStatusLine("ルーターからの長いメッセージが一行に収まらない"));
  window->copyToClipboard(Channel::B1, "192.0.2.7");
  EXPECT_EQ(window->channelText(Channel::B1), "192.0.2.7");
}

// At 100 %, 150 % and 200 % the status line is as tall as its font's whole
// cell (its descenders are not cut), lies inside the client area and below
// the buttons.
TEST_F(MainWindowTest, TheStatusLineHoldsItsFontsWholeHeightAtEveryScaling) {
  for (const UINT dpi : {96u, 144u, 192u}) {
    SCOPED_TRACE(dpi);
    RECT suggested = frame();
    ::SendMessageW(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT status = window->labelRect(MainWindow::CutLabel::Status);

    const Font font(12, dpi);
    HDC dc = ::GetDC(window->hwnd());
    const HGDIOBJ old = ::SelectObject(dc, font.handle());
    TEXTMETRICW metrics{};
    ASSERT_TRUE(::GetTextMetricsW(dc, &metrics));
    ::SelectObject(dc, old);
    ::ReleaseDC(window->hwnd(), dc);
    EXPECT_GE(status.bottom - status.top, metrics.tmHeight);

    RECT client{};
    ::GetClientRect(window->hwnd(), &client);
    EXPECT_LE(status.bottom, client.bottom) << "cut by the window's edge";
    for (HWND button = ::FindWindowExW(window->hwnd(), nullptr, L"BUTTON", nullptr); button;
         button = ::FindWindowExW(window->hwnd(), button, L"BUTTON", nullptr)) {
      RECT r{};
      ::GetWindowRect(button, &r);
      ::MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&r), 2);
      EXPECT_LE(r.bottom, status.top) << "over a button";
    }
  }
}

// The status line, the destination label and the caller name display are
// drawn with an ellipsis when the text is wider; the whole text is then
// their tooltip, and a text that fits has none.
TEST_F(MainWindowTest, CutLabelsShowTheWholeTextInTheirTooltip) {
  using CutLabel = MainWindow::CutLabel;
  const struct {
    CutLabel label;
    std::string longText, shortText;
    std::function<void(const std::string&)> show;
  } cases[] = {
      {CutLabel::Status, "ルーターからの長いメッセージが一行に収まらない", "待機中",
       [this](const std::string& t) { window->setStatusLine(t); }},
      {CutLabel::Destination, "株式会社山田商店 本社 営業部", "山田商店",
       [this](const std::string& t) { window->setDestinationLabel(t); }},
      {CutLabel::CallerName, "株式会社山田商店 本社", "実家",
       [this](const std::string& t) { window->showCallerName(t, "0312341234"); }},
  };
  for (const auto& c : cases) {
    c.show(c.longText);
    EXPECT_EQ(window->tipText(c.label), c.longText) << c.longText;
    c.show(c.shortText);
    EXPECT_EQ(window->tipText(c.label), "") << c.shortText;
  }
  window->showCallerName("株式会社山田商店 本社", "0312341234");
  window->clearCallerName();
  EXPECT_EQ(window->tipText(CutLabel::CallerName), "") << "a hidden name has no tooltip";
}

// A failure the user has to see to warns; the rest informs.
TEST(TaskBar, BalloonsOfFailuresWarnTheOthersInform) {
  const struct {
    NoticeKind kind;
    DWORD icon;
  } cases[] = {
      {NoticeKind::RouterSilent, NIIF_WARNING}, {NoticeKind::JournalFailed, NIIF_WARNING},
      {NoticeKind::IncomingCall, NIIF_INFO},    {NoticeKind::Connected, NIIF_INFO},
      {NoticeKind::Disconnected, NIIF_INFO},    {NoticeKind::DialFailed, NIIF_INFO},
      {NoticeKind::RouterBack, NIIF_INFO},      {NoticeKind::JournalBack, NIIF_INFO},
  };
  for (const auto& c : cases) EXPECT_EQ(balloonIconOf(c.kind), c.icon) << noticeKindWord(c.kind);
}

TEST(TaskBar, TipIsCutToItsBytesWithoutSplittingACharacter) {
  TTaskBar icon(::GetModuleHandleW(nullptr));
  const struct {
    std::string tip;
    std::size_t shownSjisBytes;
  } cases[] = {
      {"B1 空き / B2 空き", 17},
      {std::string(100, 'x'), 63},
      {[] {
         std::string s;
         for (int i = 0; i < 40; ++i) s += "あ";
         return s;
       }(),
       62},  // 31 double-byte characters: the 32nd would need byte 64
  };
  for (const auto& c : cases) {
    icon.setTips(c.tip);
    EXPECT_EQ(toSjis(narrow(icon.shownTip())).size(), c.shownSjisBytes) << c.tip;
  }
  std::string long300(300, 'y');
  icon.setTips(long300);
  EXPECT_EQ(icon.tips().size(), TTaskBar::kMaxTipBytes);
}

TEST(TaskBar, PressRaisesTheClickAndReleaseOpensThatButtonsMenu) {
  TTaskBar icon(::GetModuleHandleW(nullptr));
  std::vector<std::string> seen;
  icon.setOnTrayClick([&](TTaskBar::MouseButton b) { seen.push_back("click " + std::to_string(static_cast<int>(b))); });
  icon.setPopupMenuLeft([&](POINT) { seen.push_back("left menu"); });
  icon.setPopupMenuRight([&](POINT) { seen.push_back("right menu"); });
  const struct {
    UINT message;
    const char* expected;  // nullptr: nothing happens
  } cases[] = {
      {WM_LBUTTONDOWN, "click 0"}, {WM_LBUTTONUP, "left menu"},  {WM_RBUTTONDOWN, "click 1"},
      {WM_RBUTTONUP, "right menu"}, {WM_MBUTTONDOWN, "click 2"}, {WM_MBUTTONUP, nullptr},
      {WM_LBUTTONDBLCLK, nullptr},  {WM_MOUSEMOVE, nullptr},
  };
  for (const auto& c : cases) {
    seen.clear();
    ::SendMessageW(icon.messageWindow(), TTaskBar::kTrayMessage, 1, c.message);
    if (c.expected) {
      EXPECT_EQ(seen, std::vector<std::string>{c.expected}) << c.message;
    } else {
      EXPECT_TRUE(seen.empty()) << c.message;
    }
  }
}

TEST(ChannelIcon, NavyFaceAboveAYellowBarAtEverySize) {
  for (int side : {16, 20, 24, 32, 48}) {
    HICON icon = drawChannelIcon(L"B1", side);
    ASSERT_NE(icon, nullptr) << side;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bm{};
    ::GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, side);
    EXPECT_EQ(bm.bmHeight, side);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, info.hbmColor);
    EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(0, 0, 128)) << side;
    EXPECT_EQ(::GetPixel(dc, side / 2, side - 1), RGB(255, 255, 0)) << side;
    // The label is drawn: some white in the face.
    bool white = false;
    for (int y = 0; y < side * 4 / 5 && !white; ++y) {
      for (int x = 0; x < side && !white; ++x) white = ::GetPixel(dc, x, y) == RGB(255, 255, 255);
    }
    EXPECT_TRUE(white) << side;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
  }
}

}  // namespace
}  // namespace tarvik::win32

// The window 利用状況 of the Windows program under Wine, over a journal
// written for the test: the month list, the chart's bars in their colours,
// the totals, the two lists with the missed call in red, copying, saving
// the month as CSV, Escape, and the window at 100 % and 150 %, and on a
// small screen at 100, 150 and 200 %, photographed into
// TARVIK_USAGE_ARTIFACTS when it is set.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/journal/journalfile.h"
#include "engine/settings/settingsstore.h"
#include "fakes/journalrecords.h"
#include "fakes/testdir.h"
#include "win32/desktop/usagewindow.h"
#include "win32/dialogs/dialogs.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

using desktop::YearMonth;
using tarvik::testing::readBytes;
using tarvik::testing::TestDir;

void drain() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (dispatchDialogMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

std::string textOf(HWND control) {
  const int n = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), n + 1)));
  return narrow(text);
}

std::vector<std::string> comboItems(HWND box) {
  std::vector<std::string> items;
  const auto n = ::SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    std::wstring text(static_cast<std::size_t>(::SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(narrow(text));
  }
  return items;
}

// The list's rows, their cells joined by "|".
std::vector<std::string> rowsOf(HWND list) {
  std::vector<std::string> rows;
  const int columns = Header_GetItemCount(ListView_GetHeader(list));
  for (int r = 0; r < ListView_GetItemCount(list); ++r) {
    std::string row;
    for (int c = 0; c < columns; ++c) {
      wchar_t cell[256] = {};
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = cell;
      item.cchTextMax = 256;
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
      row += (c ? "|" : "") + narrow(cell);
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> headersOf(HWND list) {
  std::vector<std::string> headers;
  HWND header = ListView_GetHeader(list);
  for (int c = 0; c < Header_GetItemCount(header); ++c) {
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
    headers.push_back(narrow(text));
  }
  return headers;
}

void click(HWND button) {
  ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  drain();
}

// A key as the message loop meets it: through dispatchDialogMessage first.
void pressKey(HWND focus, WPARAM key) {
  ::SetFocus(focus);
  MSG down{focus, WM_KEYDOWN, key, 1, 0, {}};
  if (!dispatchDialogMessage(down)) {
    ::TranslateMessage(&down);
    ::DispatchMessageW(&down);
  }
  MSG up{focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001), 0, {}};
  if (!dispatchDialogMessage(up)) ::DispatchMessageW(&up);
  drain();
}

std::wstring clipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

void emptyClipboard() {
  if (!::OpenClipboard(nullptr)) return;
  ::EmptyClipboard();
  ::CloseClipboard();
}

// A window's pixels as the screen shows them, frame included.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
  COLORREF at(int x, int y) const {
    const std::uint32_t p =
        pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
  }
};

Picture photograph(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  drain();
  RECT r{};
  ::GetWindowRect(window, &r);
  Picture picture;
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(
      p, p + static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

// As a 24-bit BMP file, which every viewer opens.
void save(const Picture& picture, const std::filesystem::path& path) {
  const int stride = (picture.width * 3 + 3) & ~3;
  const DWORD imageBytes = static_cast<DWORD>(stride * picture.height);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + imageBytes;
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = picture.height;  // bottom row first
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageBytes;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(static_cast<std::size_t>(stride), 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.at(x, y);
      row[static_cast<std::size_t>(x * 3)] = static_cast<char>(GetBValue(c));
      row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
      row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
    }
    out.write(row.data(), stride);
  }
  ASSERT_TRUE(out.good()) << path.string();
}

void photographInto(HWND window, const char* name) {
  const char* dir = std::getenv("TARVIK_USAGE_ARTIFACTS");
  if (!dir || !*dir) return;
  std::filesystem::create_directories(dir);
  save(photograph(window), std::filesystem::path(dir) / name);
}

// A point of a control's client area in the window's picture.
POINT inPicture(HWND window, HWND control, POINT p) {
  ::ClientToScreen(control, &p);
  RECT r{};
  ::GetWindowRect(window, &r);
  return POINT{p.x - r.left, p.y - r.top};
}

bool reddish(COLORREF c) { return GetRValue(c) > 0x90 && GetGValue(c) < 0x50 && GetBValue(c) < 0x50; }

// Rows of a list that show red text.
std::vector<bool> redRows(HWND window, HWND list, const Picture& picture) {
  std::vector<bool> red;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
    bool found = false;
    for (int y = r.top; y < r.bottom && !found; ++y) {
      for (int x = r.left; x < r.right && !found; ++x) {
        const POINT p = inPicture(window, list, POINT{x, y});
        if (p.x >= 0 && p.y >= 0 && p.x < picture.width && p.y < picture.height)
          found = reddish(picture.at(p.x, p.y));
      }
    }
    red.push_back(found);
  }
  return red;
}

int scrollPosition(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  return ::GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

// What the window's scroll bars reach: the client area where it holds the
// page of controls, else the page scrolled under it.
RECT pageOf(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  auto extent = [&](int bar, LONG shown) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    return ::GetScrollInfo(window, bar, &info) ? std::max<LONG>(shown, info.nMax + 1) : shown;
  };
  const LONG left = -scrollPosition(window, SB_HORZ), top = -scrollPosition(window, SB_VERT);
  return RECT{left, top, left + extent(SB_HORZ, client.right), top + extent(SB_VERT, client.bottom)};
}

// Every control on the page the window shows or scrolls, none over another.
void expectTidy(HWND window) {
  const RECT page = pageOf(window);
  std::vector<std::pair<HWND, RECT>> placed;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.left >= page.left && r.top >= page.top && r.right <= page.right && r.bottom <= page.bottom)
        << "control " << ::GetDlgCtrlID(child) << " outside the window";
    for (const auto& [other, o] : placed) {
      RECT both{};
      EXPECT_FALSE(::IntersectRect(&both, &r, &o))
          << "controls " << ::GetDlgCtrlID(child) << " and " << ::GetDlgCtrlID(other) << " overlap";
    }
    placed.emplace_back(child, r);
  }
}

// A label or button whose text is wider than itself shows it cut.
void expectWholeTexts(HWND window) {
  for (int id : {UsageWindow::kTotalsLabel, UsageWindow::kCostLabel, UsageWindow::kReloadButton,
                 UsageWindow::kCopyButton, UsageWindow::kSaveButton, UsageWindow::kStackedBox,
                 UsageWindow::kMonthLabel}) {
    HWND control = ::GetDlgItem(window, id);
    const std::wstring text = widen(textOf(control));
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    RECT r{};
    ::GetClientRect(control, &r);
    EXPECT_LE(size.cx, r.right) << "control " << id << " cuts " << narrow(text);
  }
  // Every column of the lists shows its header and its cells whole.
  for (int id : {UsageWindow::kDestinationList, UsageWindow::kIncomingList}) {
    HWND list = ::GetDlgItem(window, id);
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    const std::vector<std::string> headers = headersOf(list);
    const std::vector<std::string> rows = rowsOf(list);
    for (int c = 0; c < static_cast<int>(headers.size()); ++c) {
      std::vector<std::wstring> texts{widen(headers[static_cast<std::size_t>(c)])};
      for (const std::string& row : rows) {
        std::size_t from = 0;
        for (int skip = 0; skip < c; ++skip) from = row.find('|', from) + 1;
        texts.push_back(widen(row.substr(from, row.find('|', from) - from)));
      }
      for (const std::wstring& text : texts) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        EXPECT_LT(size.cx, ListView_GetColumnWidth(list, c)) << "list " << id << " cuts " << narrow(text);
      }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
  }
}

// A control's rectangle in the window's client coordinates.
RECT placeOf(HWND window, HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class UsageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(test::writeSampleJournal(dir.path())); }

  HWND item(int id) const { return window.control(id); }
  void open(YearMonth month) {
    window.reload();
    window.showMonth(month);
    ::ShowWindow(window.hwnd(), SW_SHOW);
    ::SetForegroundWindow(window.hwnd());
    drain();
  }

  TestDir dir;
  Tariff tariff;  // the defaults unless a test sets it
  std::vector<std::wstring> suggestedNames;
  std::optional<std::filesystem::path> chosenPath;
  UsageWindow window{nullptr, dir.path(), [this] { return tariff; },
                     UsageWindow::Hooks{[this](HWND, const std::wstring& name) {
                       suggestedNames.push_back(name);
                       return chosenPath;
                     }}};
};

TEST_F(UsageWindowTest, ShowsTheMonthsTotalsDestinationsAndCalls) {
  open({2026, 12});
  EXPECT_EQ(textOf(window.hwnd()), "利用状況");
  const std::vector<std::string> months = comboItems(item(UsageWindow::kMonthBox));
  EXPECT_NE(std::find(months.begin(), months.end(), "2026-12"), months.end());
  EXPECT_NE(std::find(months.begin(), months.end(), "2026-11"), months.end());
  EXPECT_TRUE(std::is_sorted(months.begin(), months.end(), std::greater<>())) << "newest first";
  EXPECT_EQ(textOf(item(UsageWindow::kMonthBox)), "2026-12");

  EXPECT_EQ(textOf(item(UsageWindow::kTotalsLabel)),
            "合計 51 分　接続 2 回　失敗 0 回　話中 0 回　着信 2 件 (不在 1 件)");
  EXPECT_EQ(textOf(item(UsageWindow::kCostLabel)), "従量 51 分　定額 0 分　料金概算 180 円");
  EXPECT_EQ(headersOf(item(UsageWindow::kDestinationList)),
            (std::vector<std::string>{"接続先", "回数", "分", "従量(分)", "定額(分)", "料金概算"}));
  EXPECT_EQ(rowsOf(item(UsageWindow::kDestinationList)),
            std::vector<std::string>{"#0 Tarvik ISP 0312345678|2|51|51|0|180 円"});
  EXPECT_EQ(headersOf(item(UsageWindow::kIncomingList)),
            (std::vector<std::string>{"日時", "結果", "番号", "名前"}));
  EXPECT_EQ(
      rowsOf(item(UsageWindow::kIncomingList)),
      (std::vector<std::string>{"12/10 21:45|不在|0452223333|山田商店", "12/11 8:05|応答|0399999999|"}));

  HWND message = item(UsageWindow::kMessageLabel);
  EXPECT_TRUE(::IsWindowVisible(message));
  EXPECT_EQ(textOf(message), "通話記録の読めない行 1 行を読み飛ばしました (最初の行: Tarvik-journal.csv:7)");
  // It stands above what was read: the chart and the totals.
  for (int id : {UsageWindow::kChart, UsageWindow::kTotalsLabel, UsageWindow::kCostLabel})
    EXPECT_LE(placeOf(window.hwnd(), message).bottom, placeOf(window.hwnd(), item(id)).top)
        << "control " << id;
  expectTidy(window.hwnd());
  expectWholeTexts(window.hwnd());

  // Another month from the list.
  HWND box = item(UsageWindow::kMonthBox);
  const auto november = std::find(months.begin(), months.end(), "2026-11") - months.begin();
  ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(november), 0);
  ::SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(UsageWindow::kMonthBox, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(window.presenter().summary().month, 11);
  EXPECT_EQ(textOf(item(UsageWindow::kTotalsLabel)),
            "合計 60 分　接続 1 回　失敗 0 回　話中 0 回　着信 0 件 (不在 0 件)");
  EXPECT_EQ(ListView_GetItemCount(item(UsageWindow::kIncomingList)), 0);
}

// The missed call's row is drawn in red: what the list asks its parent
// when it draws each row, and the pixels it drew.
TEST_F(UsageWindowTest, TheMissedCallsRowIsRed) {
  open({2026, 12});
  HWND list = item(UsageWindow::kIncomingList);
  for (const auto& [row, red] : {std::pair{0, true}, std::pair{1, false}}) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr = NMHDR{list, UsageWindow::kIncomingList, static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    const LRESULT result =
        ::SendMessageW(window.hwnd(), WM_NOTIFY, UsageWindow::kIncomingList, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(draw.clrText, red ? RGB(0xc0, 0, 0) : CLR_DEFAULT) << row;
    EXPECT_EQ(result, red ? CDRF_NEWFONT : CDRF_DODEFAULT) << row;
  }
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  const Picture picture = photograph(window.hwnd());
  EXPECT_EQ(redRows(window.hwnd(), list, picture), (std::vector<bool>{true, false}));
}

// The chart's bars stand on the minute axis in their colours: stacked,
// the evening call's flat-rate minutes in green over nothing metered; as
// one bar, all of a day's minutes in blue.
TEST_F(UsageWindowTest, TheChartDrawsTheDaysBarsInTheirColours) {
  SettingsStore settings;
  settings.tariff.FLATFROM = 21;
  settings.tariff.FLATDEST = "0";
  tariff = tariffOf(settings);
  open({2026, 12});
  HWND chart = item(UsageWindow::kChart);
  const COLORREF metered = RGB(0x2a, 0x6f, 0xb0), flat = RGB(0x4c, 0xa6, 0x5a);

  auto check = [&](const std::vector<std::tuple<int, COLORREF, int>>& expected) {
    const ChartGeometry g = window.chartGeometry();
    ASSERT_EQ(g.tickY.size(), 5u) << "0 to 40 in steps of 10";
    const int plotHeight = g.plot.bottom - g.plot.top;
    ASSERT_EQ(g.bars.size(), expected.size());
    const Picture picture = photograph(window.hwnd());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto& [day, colour, minutes] = expected[i];
      const ChartBar& bar = g.bars[i];
      EXPECT_EQ(bar.day, day);
      EXPECT_EQ(bar.colour, colour) << "day " << day;
      EXPECT_EQ(bar.rect.bottom, g.plot.bottom) << "day " << day;
      EXPECT_NEAR(bar.rect.bottom - bar.rect.top, plotHeight * minutes / 40, 1) << "day " << day;
      const POINT centre =
          inPicture(window.hwnd(), chart,
                    POINT{(bar.rect.left + bar.rect.right) / 2, (bar.rect.top + bar.rect.bottom) / 2});
      EXPECT_EQ(picture.at(centre.x, centre.y), colour) << "day " << day << " as drawn";
    }
  };
  check({{3, flat, 38}, {10, metered, 13}});

  ::SendMessageW(item(UsageWindow::kStackedBox), BM_CLICK, 0, 0);
  drain();
  ASSERT_EQ(::SendMessageW(item(UsageWindow::kStackedBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  check({{3, metered, 38}, {10, metered, 13}});
}

TEST_F(UsageWindowTest, CallsAreCopiedAndTheMonthIsSavedAsCsv) {
  open({2026, 12});
  const std::wstring copied =
      widen("2026-12-10 21:45:30\t不在\t0452223333\t山田商店\r\n2026-12-11 08:05:00\t応答\t0399999999\t\r\n");
  emptyClipboard();
  click(item(UsageWindow::kCopyButton));
  EXPECT_EQ(clipboardText(), copied);

  // Ctrl+C in the list does the same.
  emptyClipboard();
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  pressKey(item(UsageWindow::kIncomingList), 'C');
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(clipboardText(), copied);

  // The save button offers the month's name; the file is the month's
  // records with the byte-order mark and CR LF line ends.
  chosenPath = dir.path() / "export.csv";
  click(item(UsageWindow::kSaveButton));
  ASSERT_EQ(suggestedNames, std::vector<std::wstring>{L"Tarvik-usage-2026-12.csv"});
  const std::string bytes = readBytes(*chosenPath);
  EXPECT_EQ(bytes, window.presenter().csvBytes());
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes.substr(3, bytes.find('\n') - 2),
            "event,start,end,channel,destination,name,number,ip,minutes,result\r\n");
  EXPECT_NE(bytes.find("incoming,2026-12-10 21:45:30,,B1,,山田商店,0452223333,,0,missed\r\n"),
            std::string::npos);

  // Cancelled: nothing written.
  chosenPath.reset();
  std::filesystem::remove(dir.path() / "export.csv");
  click(item(UsageWindow::kSaveButton));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "export.csv"));
  EXPECT_FALSE(window.exportCsv(dir.path() / "no" / "such" / "x.csv"));
}

// Escape on the open month list closes the list and leaves the window;
// elsewhere it hides the window, whichever control has the focus.
TEST_F(UsageWindowTest, EscapeOnTheOpenMonthListClosesOnlyTheList) {
  window.openWindow();
  drain();
  HWND box = item(UsageWindow::kMonthBox);
  ::SetFocus(box);
  ::SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  drain();
  ASSERT_TRUE(::SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0));
  pressKey(box, VK_ESCAPE);
  EXPECT_FALSE(::SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) << "the list closes";
  EXPECT_TRUE(window.isVisible()) << "the window stays";

  for (int id : {UsageWindow::kMonthBox, UsageWindow::kIncomingList, UsageWindow::kReloadButton}) {
    window.openWindow();
    drain();
    ASSERT_TRUE(window.isVisible());
    pressKey(item(id), VK_ESCAPE);
    EXPECT_FALSE(window.isVisible()) << "control " << id;
  }
  // The close box hides it too; it opens again on the same month.
  window.openWindow();
  window.showMonth({2026, 11});
  ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window.isVisible());
  window.openWindow();
  EXPECT_EQ(window.presenter().view().month, (YearMonth{2026, 11}));
}

// Moved to a screen at 150 %: the fonts and the layout grow with it, every
// text whole, nothing over anything else. Photographed with #0 on the
// evening flat rate, so that both kinds of minutes show.
TEST_F(UsageWindowTest, FollowsTheScreensScale) {
  SettingsStore settings;
  settings.tariff.FLATFROM = 21;
  settings.tariff.FLATDEST = "0";
  tariff = tariffOf(settings);
  open({2026, 12});
  photographInto(window.hwnd(), "usage-100.bmp");
  const UINT before = window.dpi();
  RECT frame{};
  ::GetWindowRect(window.hwnd(), &frame);
  RECT header{};
  ::GetWindowRect(ListView_GetHeader(item(UsageWindow::kIncomingList)), &header);
  const UINT after = before * 3 / 2;

  RECT suggested{0, 0, MulDiv(frame.right - frame.left, 3, 2), MulDiv(frame.bottom - frame.top, 3, 2)};
  ::SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(after, after),
                 reinterpret_cast<LPARAM>(&suggested));
  drain();
  RECT grown{};
  ::GetWindowRect(window.hwnd(), &grown);
  ASSERT_EQ(grown.right - grown.left, suggested.right) << "the screen must hold the window at 150 %";
  ASSERT_EQ(grown.bottom - grown.top, suggested.bottom) << "the screen must hold the window at 150 %";
  EXPECT_EQ(window.dpi(), after);
  RECT biggerHeader{};
  ::GetWindowRect(ListView_GetHeader(item(UsageWindow::kIncomingList)), &biggerHeader);
  EXPECT_GT(biggerHeader.bottom - biggerHeader.top, header.bottom - header.top) << "the lists' font grew";
  expectTidy(window.hwnd());
  expectWholeTexts(window.hwnd());
  const ChartGeometry g = window.chartGeometry();
  EXPECT_EQ(g.bars.size(), 2u);
  photographInto(window.hwnd(), "usage-150.bmp");
}

// On a 1024 by 768 screen above a 40-pixel taskbar, at 100, 150 and 200 %
// (the last two as Windows tells a window its monitor's new scale, with
// its frame scaled as the suggested size): the frame lies inside the work
// area, and what it cannot hold scrolls, every control keeping its size,
// none over another, the last list reachable with the scroll bars.
TEST(UsageWindowOnASmallScreen, OpensInsideTheWorkAreaAndScrollsWhatDoesNotFit) {
  const RECT work{0, 0, 1024, 728};
  TestDir dir;
  ASSERT_FALSE(test::writeSampleJournal(dir.path()));
  for (const int percent : {100, 150, 200}) {
    SCOPED_TRACE(percent);
    UsageWindow window{nullptr, dir.path(), {}, UsageWindow::Hooks{{}, [&](HMONITOR) { return work; }}};
    const UINT dpi = static_cast<UINT>(MulDiv(static_cast<int>(window.dpi()), percent, 100));
    if (dpi != window.dpi()) {
      RECT frame{};
      ::GetWindowRect(window.hwnd(), &frame);
      RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, percent, 100),
                     frame.top + MulDiv(frame.bottom - frame.top, percent, 100)};
      ::SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    window.openWindow();
    window.showMonth({2026, 12});
    drain();
    ASSERT_EQ(window.dpi(), dpi);
    RECT frame{};
    ::GetWindowRect(window.hwnd(), &frame);
    EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                frame.bottom <= work.bottom)
        << "the frame " << frame.left << "," << frame.top << " to " << frame.right << "," << frame.bottom;
    expectTidy(window.hwnd());
    expectWholeTexts(window.hwnd());
    photographInto(window.hwnd(), ("usage-1024x768-" + std::to_string(percent) + ".bmp").c_str());

    // Scrolled to the end with the scroll bars, the last list's bottom
    // right corner comes into sight.
    for (const UINT message : {WM_VSCROLL, WM_HSCROLL})
      ::SendMessageW(window.hwnd(), message, MAKEWPARAM(SB_BOTTOM, 0), 0);
    drain();
    RECT client{};
    ::GetClientRect(window.hwnd(), &client);
    const RECT last = placeOf(window.hwnd(), window.control(UsageWindow::kIncomingList));
    EXPECT_TRUE(last.right <= client.right && last.bottom <= client.bottom && last.right > 0 &&
                last.bottom > 0)
        << "the incoming calls end at " << last.right << "," << last.bottom << " in " << client.right << "x"
        << client.bottom;
    expectTidy(window.hwnd());

    // Back at the start, a control that takes the focus out of sight is
    // scrolled into it (as Tab moves through the window).
    for (const UINT message : {WM_VSCROLL, WM_HSCROLL})
      ::SendMessageW(window.hwnd(), message, MAKEWPARAM(SB_TOP, 0), 0);
    ::SetFocus(window.control(UsageWindow::kIncomingList));
    drain();
    const RECT focused = placeOf(window.hwnd(), window.control(UsageWindow::kIncomingList));
    EXPECT_TRUE(focused.top >= 0 && focused.bottom <= client.bottom && focused.left >= 0)
        << "the focused list at " << focused.left << "," << focused.top << " to " << focused.bottom;
  }
}

}  // namespace
}  // namespace tarvik::win32

// The window is per-monitor DPI aware, as tarvik.exe declares in its manifest.
int main(int argc, char** argv) {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext"))))
    set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&init);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "win32/desktop/usagewindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <vector>

#include "desktop/screenfit.h"
#include "win32/desktop/dpi.h"
#include "win32/desktop/uifont.h"
#include "win32/dialogs/dialogsupport.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

using desktop::UsagePresenter;
using desktop::UsageTexts;

constexpr wchar_t kClassName[] = L"TarvikUsage";

// Sizes at 100 %, as the Linux window.
constexpr int kClientWidth = 820;
constexpr int kClientHeight = 680;
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kRowHeight = 24;      // the top row's controls
constexpr int kMonthBoxWidth = 96;  // "2026-12" and its arrow
constexpr int kButtonWidth = 75;    // at least
constexpr int kCaptionMargin = 12;  // each side of a button's caption
constexpr int kCellMargin = 8;      // each side of a list's cell
constexpr int kCheckMark = 24;      // a check box's mark and its gap
constexpr int kChartMinimum = 120;
constexpr int kListRows = 3;  // the lists keep room for at least these

COLORREF colourOf(desktop::UsageColour c) {
  return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

SIZE textSize(HWND control, HFONT font, const std::wstring& text) {
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return size;
}

// The height text takes when wrapped to width.
int wrappedHeight(HWND control, HFONT font, const std::wstring& text, int width) {
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, font);
  RECT box{0, 0, width, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return box.bottom;
}

// Windows programs paste text with CR LF line ends.
std::wstring withCrLf(const std::string& utf8) {
  std::wstring text;
  for (wchar_t c : widen(utf8)) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  return text;
}

std::optional<std::filesystem::path> askSavePath(HWND owner, const std::wstring& suggested) {
  std::array<wchar_t, 32768> file{};
  std::copy_n(suggested.begin(), std::min(suggested.size(), file.size() - 1), file.begin());
  const std::wstring filter = widen(UsageTexts::csvFilter) + L" (*.csv)" + L'\0' + L"*.csv" + L'\0' + L'\0';
  const std::wstring title = widen(UsageTexts::saveTitle);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = L"csv";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!::GetSaveFileNameW(&ofn)) return std::nullopt;
  return std::filesystem::path(file.data());
}

app::ScreenRect screenRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

desktop::YearMonth thisMonth() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth};
}

}  // namespace

struct UsageWindow::Impl {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  HWND hwnd = nullptr;
  UsagePresenter presenter;
  desktop::YearMonth shown = thisMonth();
  std::function<Tariff()> tariff;
  Hooks hooks;
  UINT dpi = kBaseDpi;
  Font font;
  std::unique_ptr<UsageChart> chart;
  HWND lastFocus = nullptr;
  SIZE minimum{};          // the window's smallest size, frame included
  bool layingOut = false;  // a scroll bar coming or going resizes the client area meanwhile

  Impl(std::filesystem::path configDir, std::function<Tariff()> t, Hooks h)
      : presenter(std::move(configDir)), tariff(std::move(t)), hooks(std::move(h)) {}

  HWND item(int id) const { return ::GetDlgItem(hwnd, id); }
  int px(int n) const { return scaled(n, dpi); }
  HFONT fontHandle() const { return font.handle(); }

  HWND makeControl(DWORD exStyle, const wchar_t* cls, const std::string& text, DWORD style, int id) {
    HWND control =
        ::CreateWindowExW(exStyle, cls, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                          hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SetWindowSubclass(control, controlProcedure, static_cast<UINT_PTR>(id),
                        reinterpret_cast<DWORD_PTR>(this));
    return control;
  }

  void makeList(int id, const std::vector<std::string>& headers) {
    HWND list = makeControl(WS_EX_CLIENTEDGE, WC_LISTVIEWW, "",
                            LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, id);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t c = 0; c < headers.size(); ++c) {
      std::wstring text = widen(headers[c]);
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      column.pszText = text.data();
      column.cx = px(60);
      column.iSubItem = static_cast<int>(c);
      ::SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
  }

  void createControls() {
    makeControl(0, L"STATIC", UsageTexts::monthLabel, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kMonthLabel);
    makeControl(0, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kMonthBox);
    HWND stacked = makeControl(0, L"BUTTON", UsageTexts::stacked, BS_AUTOCHECKBOX | WS_TABSTOP, kStackedBox);
    ::SendMessageW(stacked, BM_SETCHECK, BST_CHECKED, 0);
    makeControl(0, L"BUTTON", UsageTexts::reload, BS_PUSHBUTTON | WS_TABSTOP, kReloadButton);
    makeControl(0, L"BUTTON", UsageTexts::copy, BS_PUSHBUTTON | WS_TABSTOP, kCopyButton);
    makeControl(0, L"BUTTON", UsageTexts::save, BS_PUSHBUTTON | WS_TABSTOP, kSaveButton);
    chart = std::make_unique<UsageChart>(instance, hwnd, kChart);
    for (int id : {kTotalsLabel, kCostLabel, kMessageLabel})
      makeControl(0, L"STATIC", "", SS_LEFT | SS_NOPREFIX, id);
    makeControl(0, L"STATIC", UsageTexts::destinationsCaption, SS_LEFT | SS_NOPREFIX, kDestinationCaption);
    makeList(kDestinationList, UsagePresenter::destinationHeaders());
    makeControl(0, L"STATIC", UsageTexts::incomingCaption, SS_LEFT | SS_NOPREFIX, kIncomingCaption);
    makeList(kIncomingList, UsagePresenter::incomingHeaders());
  }

  void applyFonts() {
    font = Font(12, dpi);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle()), TRUE);
    chart->setDpi(dpi);
  }

  int lineHeight() const { return textSize(hwnd, fontHandle(), L"0").cy + px(4); }

  int buttonWidth(int id) const {
    const int text = textSize(item(id), fontHandle(), widen(controlText(item(id)))).cx;
    return std::max(px(kButtonWidth), text + 2 * px(kCaptionMargin));
  }

  // A list's header and kListRows rows, with its frame.
  int listMinimum(int id) const {
    HWND list = item(id);
    RECT header{};
    ::GetWindowRect(ListView_GetHeader(list), &header);
    int row = lineHeight();
    RECT first{};
    if (ListView_GetItemCount(list) > 0 && ListView_GetItemRect(list, 0, &first, LVIR_BOUNDS))
      row = first.bottom - first.top;
    return (header.bottom - header.top) + kListRows * row + 2 * systemMetric(SM_CYEDGE, dpi) + px(2);
  }

  // The work area of the monitor that holds most of rect.
  RECT workAreaAt(const RECT& rect) const {
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    if (hooks.workArea) return hooks.workArea(monitor);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    return info.rcWork;
  }

  RECT frameRect() const {
    RECT frame{};
    ::GetWindowRect(hwnd, &frame);
    return frame;
  }

  void setFrame(const app::ScreenRect& r) {
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // What the page of controls needs at a width: its top row's width, and
  // the heights of what lies under it.
  struct PageMeasure {
    int topRowWidth = 0;
    int top = 0;            // where the chart's row begins
    int messageHeight = 0;  // 0 without a message
    int fixed = 0;          // the texts, the captions and the gaps under the top row
    int listMinimum = 0;
    SIZE least{};  // the page's smallest size
  };

  PageMeasure measure(int width) const {
    PageMeasure p;
    const int m = px(kMargin);
    const int gap = px(kGap);
    const int line = lineHeight();
    p.topRowWidth = m + topRowControlsWidth() + m;
    const std::wstring message = widen(presenter.message());
    p.messageHeight = message.empty() ? 0 : wrappedHeight(hwnd, fontHandle(), message, width - 2 * m);
    p.top = m + px(kRowHeight) + gap;
    p.fixed = (p.messageHeight ? p.messageHeight + gap : 0) + 2 * line + 2 * line + 3 * gap;
    p.listMinimum = std::max(listMinimum(kDestinationList), listMinimum(kIncomingList));
    p.least = SIZE{p.topRowWidth, p.top + p.fixed + px(kChartMinimum) + 2 * p.listMinimum + m};
    return p;
  }

  int monthLabelWidth() const {
    return textSize(hwnd, fontHandle(), widen(UsageTexts::monthLabel)).cx + px(4);
  }
  int checkWidth() const {
    return textSize(hwnd, fontHandle(), widen(UsageTexts::stacked)).cx + px(kCheckMark);
  }

  // The top row without its outer margins: the month, the check box, the buttons.
  int topRowControlsWidth() const {
    int width = monthLabelWidth() + px(kMonthBoxWidth) + 2 * px(kGap) + checkWidth();
    for (int id : {kSaveButton, kCopyButton, kReloadButton}) width += px(kGap) + buttonWidth(id);
    return width;
  }

  // One scroll bar over a page of `page` pixels shown in `shown`; it goes
  // away when the page fits.
  void setScrollRange(int bar, int page, int shown) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = page - 1;
    info.nPage = static_cast<UINT>(std::max(shown, 0));
    ::SetScrollInfo(hwnd, bar, &info, TRUE);
  }

  int scrollPosition(int bar) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    return ::GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
  }

  // The controls on a page as large as the client area, or as large as
  // they need where the client area is smaller: then the window scrolls.
  void layout() {
    if (layingOut) return;
    layingOut = true;
    RECT client{};
    ::GetClientRect(hwnd, &client);
    PageMeasure p;
    // Twice: a scroll bar that takes room from one side may make the
    // other one needed.
    const int topRowWidth = 2 * px(kMargin) + topRowControlsWidth();
    for (int pass = 0; pass < 2; ++pass) {
      p = measure(std::max<int>(client.right, topRowWidth));
      setScrollRange(SB_HORZ, p.least.cx, client.right);
      setScrollRange(SB_VERT, p.least.cy, client.bottom);
      ::GetClientRect(hwnd, &client);
    }
    const int width = std::max<int>(client.right, p.least.cx);
    p = measure(width);
    const int height = std::max<int>(client.bottom, p.least.cy);
    placeControls(p, width, height, POINT{-scrollPosition(SB_HORZ), -scrollPosition(SB_VERT)});

    // The smallest frame: the whole page where the work area holds it,
    // else the work area (the rest scrolls).
    RECT frame{0, 0, p.least.cx, p.least.cy};
    adjustWindowRect(frame, static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)), false,
                     static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE)), dpi);
    const RECT work = workAreaAt(frameRect());
    minimum = SIZE{std::min(frame.right - frame.left, work.right - work.left),
                   std::min(frame.bottom - frame.top, work.bottom - work.top)};
    layingOut = false;
  }

  void placeControls(const PageMeasure& p, int width, int height, POINT origin) {
    const int m = px(kMargin);
    const int gap = px(kGap);
    const int row = px(kRowHeight);
    const int line = lineHeight();
    auto place = [&](int id, int x, int y, int w, int h) {
      ::MoveWindow(item(id), origin.x + x, origin.y + y, w, h, TRUE);
    };

    // The top row: the month, the check box; the buttons at the right.
    int x = m;
    place(kMonthLabel, x, m, monthLabelWidth(), row);
    x += monthLabelWidth();
    place(kMonthBox, x, m, px(kMonthBoxWidth), px(200));  // the height includes the open list
    x += px(kMonthBoxWidth) + 2 * px(kGap);
    place(kStackedBox, x, m, checkWidth(), row);
    int right = width - m;
    for (int id : {kSaveButton, kCopyButton, kReloadButton}) {
      const int w = buttonWidth(id);
      place(id, right - w, m, w, row);
      right -= w + gap;
    }

    // Under it: the message about the reading above all that was read,
    // the chart, the totals, the two lists with their captions. The lists
    // keep room for a few rows; the chart gives way first.
    ::ShowWindow(item(kMessageLabel), p.messageHeight ? SW_SHOW : SW_HIDE);
    const int free = std::max(0, height - p.top - p.fixed - m);
    int list = std::max(p.listMinimum, free * 2 / 7);
    const int chartHeight = std::max(px(kChartMinimum), free - 2 * list);
    list = std::max(p.listMinimum, (free - chartHeight) / 2);

    int y = p.top;
    if (p.messageHeight) {
      place(kMessageLabel, m, y, width - 2 * m, p.messageHeight);
      y += p.messageHeight + gap;
    }
    place(kChart, m, y, width - 2 * m, chartHeight);
    y += chartHeight + gap;
    place(kTotalsLabel, m, y, width - 2 * m, line);
    y += line;
    place(kCostLabel, m, y, width - 2 * m, line);
    y += line + gap;
    place(kDestinationCaption, m, y, width - 2 * m, line);
    y += line;
    place(kDestinationList, m, y, width - 2 * m, list);
    y += list + gap;
    place(kIncomingCaption, m, y, width - 2 * m, line);
    y += line;
    place(kIncomingList, m, y, width - 2 * m, list);
    fitColumns(kDestinationList);
    fitColumns(kIncomingList);
  }

  // A scroll bar moved by the user: by a line, a page, to the thumb or an end.
  void scrolled(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(hwnd, bar, &info)) return;
    const int page = static_cast<int>(info.nPage);
    int position = info.nPos;
    switch (request) {
      case SB_LINEUP:
        position -= lineHeight();
        break;
      case SB_LINEDOWN:
        position += lineHeight();
        break;
      case SB_PAGEUP:
        position -= page;
        break;
      case SB_PAGEDOWN:
        position += page;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
      case SB_TOP:
        position = info.nMin;
        break;
      case SB_BOTTOM:
        position = info.nMax;
        break;
      default:
        return;
    }
    scrollTo(bar, position);
  }

  void scrollTo(int bar, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;  // the scroll bar keeps it within its range
    ::SetScrollInfo(hwnd, bar, &info, TRUE);
    layout();
  }

  // A control that takes the focus out of sight is scrolled into it.
  void scrollIntoSight(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    auto shift = [](LONG from, LONG to, LONG shown) {
      if (from < 0) return static_cast<int>(from);
      if (to > shown) return static_cast<int>(std::min(from, to - shown));
      return 0;
    };
    const int dx = shift(r.left, r.right, client.right);
    const int dy = shift(r.top, r.bottom, client.bottom);
    if (dx) scrollTo(SB_HORZ, scrollPosition(SB_HORZ) + dx);
    if (dy) scrollTo(SB_VERT, scrollPosition(SB_VERT) + dy);
  }

  // Where the window opens: the frame kept inside the work area of its
  // monitor, no larger than it.
  void keepInWorkArea() {
    const RECT frame = frameRect();
    const app::ScreenRect kept = app::keptWithin(screenRect(frame), screenRect(workAreaAt(frame)));
    if (kept != screenRect(frame)) setFrame(kept);
  }

  // Each column as wide as its header or its widest cell; the last one
  // also takes the rest of the row. Measured here: the list's own sizing
  // cuts some headers under Wine.
  void fitColumns(int id) const {
    HWND list = item(id);
    const int columns = Header_GetItemCount(ListView_GetHeader(list));
    const int rows = ListView_GetItemCount(list);
    const std::vector<std::string>& headers =
        id == kIncomingList ? UsagePresenter::incomingHeaders() : UsagePresenter::destinationHeaders();
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, fontHandle());
    auto widthOf = [&](const std::wstring& text) {
      SIZE size{};
      ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      return static_cast<int>(size.cx);
    };
    RECT client{};
    ::GetClientRect(list, &client);
    int used = 0;
    for (int c = 0; c < columns; ++c) {
      int width =
          c < static_cast<int>(headers.size()) ? widthOf(widen(headers[static_cast<std::size_t>(c)])) : 0;
      for (int r = 0; r < rows; ++r) {
        wchar_t cell[512] = {};
        ListView_GetItemText(list, r, c, cell, 512);
        width = std::max(width, widthOf(cell));
      }
      width += 2 * px(kCellMargin);
      if (c == columns - 1) width = std::max<int>(width, client.right - used);
      ListView_SetColumnWidth(list, c, width);
      used += width;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
  }

  void fillList(int id, const std::vector<desktop::UsageRow>& rows) {
    HWND list = item(id);
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
        std::wstring text = widen(rows[r].cells[c]);
        LVITEMW cell{};
        cell.mask = LVIF_TEXT;
        cell.iItem = static_cast<int>(r);
        cell.iSubItem = static_cast<int>(c);
        cell.pszText = text.data();
        ::SendMessageW(list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&cell));
      }
    }
    fitColumns(id);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
  }

  bool stacked() const { return ::SendMessageW(item(kStackedBox), BM_GETCHECK, 0, 0) == BST_CHECKED; }

  void fillMonths() {
    HWND box = item(kMonthBox);
    ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const desktop::YearMonth& m : presenter.months())
      ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(m.key()).c_str()));
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(presenter.monthIndex()), 0);
  }

  void reload() {
    presenter.reload(thisMonth());
    setControlText(item(kMessageLabel), presenter.message());
    fillMonths();
    layout();
  }

  void showMonth(desktop::YearMonth month) {
    shown = month;
    presenter.showMonth(month, tariff ? tariff() : Tariff{});
    fillMonths();
    const desktop::UsageMonthView& view = presenter.view();
    chart->show(view, stacked());
    setControlText(item(kTotalsLabel), view.totals);
    setControlText(item(kCostLabel), view.cost);
    fillList(kDestinationList, view.destinations);
    fillList(kIncomingList, view.incoming);
    layout();
  }

  void monthChosen() {
    const auto index = static_cast<std::size_t>(::SendMessageW(item(kMonthBox), CB_GETCURSEL, 0, 0));
    if (index < presenter.months().size()) showMonth(presenter.months()[index]);
  }

  void copyIncoming() const {
    const std::wstring text = withCrLf(presenter.incomingText());
    if (!::OpenClipboard(hwnd)) return;
    ::EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(::GlobalLock(memory)));
      ::GlobalUnlock(memory);
      if (!::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
    }
    ::CloseClipboard();
  }

  void chooseExportFile() {
    const std::wstring name = widen(presenter.csvFileName());
    const std::optional<std::filesystem::path> path =
        hooks.pickSaveFile ? hooks.pickSaveFile(hwnd, name) : askSavePath(hwnd, name);
    if (path) presenter.saveCsv(*path);
  }

  void hide() { ::ShowWindow(hwnd, SW_HIDE); }

  // A missed call's row in red.
  LRESULT customDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
      case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
      case CDDS_ITEMPREPAINT: {
        const auto row = static_cast<std::size_t>(draw->nmcd.dwItemSpec);
        const std::vector<desktop::UsageRow>& rows = presenter.view().incoming;
        if (row < rows.size() && rows[row].missed) {
          draw->clrText = colourOf(desktop::kMissedColour);
          return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
      }
      default:
        return CDRF_DODEFAULT;
    }
  }

  void command(int id, int code) {
    switch (id) {
      case kMonthBox:
        if (code == CBN_SELCHANGE) monthChosen();
        break;
      case kStackedBox:
        if (code == BN_CLICKED) chart->show(presenter.view(), stacked());
        break;
      case kReloadButton:
        reload();
        showMonth(shown);
        break;
      case kCopyButton:
        copyIncoming();
        break;
      case kSaveButton:
        chooseExportFile();
        break;
      case IDCANCEL:  // Escape, through the dialog keys of the message loop
        hide();
        break;
      default:
        break;
    }
  }

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == kIncomingList && header->code == NM_CUSTOMDRAW)
          return customDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return 0;
      }
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == item(kMessageLabel)) {
          auto dc = reinterpret_cast<HDC>(wParam);
          ::SetTextColor(dc, colourOf(desktop::kMessageColour));
          ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
      case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) layout();
        return 0;
      case WM_HSCROLL:
      case WM_VSCROLL:
        if (lParam == 0) scrolled(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return 0;
      case WM_MOUSEWHEEL:
        scrollTo(SB_VERT,
                 scrollPosition(SB_VERT) - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * lineHeight() / WHEEL_DELTA);
        return 0;
      case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{minimum.cx, minimum.cy};
        return 0;
      case WM_DPICHANGED: {
        dpi = HIWORD(wParam);
        applyFonts();
        // The size suggested for the new scale, kept inside the work area.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        layout();  // the smallest size at the new scale
        setFrame(app::keptWithin(screenRect(*suggested), screenRect(workAreaAt(*suggested))));
        layout();
        return 0;
      }
      case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
          lastFocus = ::GetFocus();
        } else {
          ::SetFocus(lastFocus && ::IsChild(hwnd, lastFocus) ? lastFocus : item(kMonthBox));
        }
        return 0;
      case WM_CLOSE:
        hide();
        return 0;
      case WM_DESTROY:
        ::RemovePropW(hwnd, kDialogProperty);
        break;
      default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Impl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->hwnd = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Impl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
  }

  // Every control: Ctrl+C copies the calls, and Escape hides the window
  // when the message loop does not give it the dialog keys (an open month
  // list takes its Escape itself).
  static LRESULT CALLBACK controlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<Impl*>(data);
    if (message == WM_KEYDOWN) {
      const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
      if (wParam == 'C' && ctrl) {
        self->copyIncoming();
        return 0;
      }
      const bool listOpen = id == kMonthBox && ::SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0);
      if (wParam == VK_ESCAPE && !listOpen) {
        self->hide();
        return 0;
      }
    } else if (message == WM_SETFOCUS) {
      self->scrollIntoSight(control);
    } else if (message == WM_NCDESTROY) {
      ::RemoveWindowSubclass(control, controlProcedure, id);
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
  }
};

UsageWindow::UsageWindow(HWND owner, std::filesystem::path configDir, std::function<Tariff()> tariff,
                         Hooks hooks)
    : impl_(std::make_unique<Impl>(std::move(configDir), std::move(tariff), std::move(hooks))) {
  Impl& d = *impl_;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Impl::procedure;
  wc.hInstance = d.instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon =
      static_cast<HICON>(::LoadImageW(d.instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  ::RegisterClassExW(&wc);  // fails harmlessly once registered

  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
  ::CreateWindowExW(kExStyle, kClassName, widen(UsageTexts::title).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, kClientWidth, kClientHeight, owner, nullptr, d.instance, &d);
  // The dialog keys (Tab, Escape) come through dispatchDialogMessage().
  ::SetPropW(d.hwnd, kDialogProperty, reinterpret_cast<HANDLE>(1));
  d.dpi = dpiOfWindow(d.hwnd);
  d.createControls();
  d.applyFonts();

  // Its size at 100 % scaled for its screen, centred on the screen's work
  // area and no larger than it.
  RECT frame{0, 0, scaled(kClientWidth, d.dpi), scaled(kClientHeight, d.dpi)};
  adjustWindowRect(frame, kStyle, false, kExStyle, d.dpi);
  RECT beside{};
  ::GetWindowRect(owner ? owner : d.hwnd, &beside);
  d.layout();
  d.setFrame(app::centredWithin(frame.right - frame.left, frame.bottom - frame.top,
                                screenRect(d.workAreaAt(beside))));
  d.layout();
}

UsageWindow::~UsageWindow() {
  if (impl_->hwnd) {
    ::SetWindowLongPtrW(impl_->hwnd, GWLP_USERDATA, 0);
    ::RemovePropW(impl_->hwnd, kDialogProperty);
    ::DestroyWindow(impl_->hwnd);
  }
}

void UsageWindow::openWindow() {
  impl_->reload();
  impl_->showMonth(impl_->shown);
  if (::IsIconic(impl_->hwnd)) ::ShowWindow(impl_->hwnd, SW_RESTORE);
  // The screens may have changed while it was hidden.
  if (!isVisible()) impl_->keepInWorkArea();
  ::ShowWindow(impl_->hwnd, SW_SHOW);
  ::SetForegroundWindow(impl_->hwnd);
}

void UsageWindow::reload() { impl_->reload(); }
void UsageWindow::showMonth(desktop::YearMonth month) { impl_->showMonth(month); }
void UsageWindow::copyIncoming() const { impl_->copyIncoming(); }
bool UsageWindow::exportCsv(const std::filesystem::path& path) const {
  return impl_->presenter.saveCsv(path);
}
HWND UsageWindow::hwnd() const { return impl_->hwnd; }
HWND UsageWindow::control(int id) const { return impl_->item(id); }
bool UsageWindow::isVisible() const { return ::IsWindowVisible(impl_->hwnd) != FALSE; }
UINT UsageWindow::dpi() const { return impl_->dpi; }
const desktop::UsagePresenter& UsageWindow::presenter() const { return impl_->presenter; }

ChartGeometry UsageWindow::chartGeometry() const {
  RECT client{};
  ::GetClientRect(impl_->chart->hwnd(), &client);
  return impl_->chart->geometry(client.right, client.bottom);
}

}  // namespace tarvik::win32

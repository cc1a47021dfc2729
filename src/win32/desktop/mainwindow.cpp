#include "win32/desktop/mainwindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "desktop/screenfit.h"
#include "win32/desktop/dpi.h"
#include "win32/desktop/messagebox.h"
#include "win32/desktop/programfiles.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

enum ControlId : int { kEdit1Id = 101, kEdit2Id, kConnectBtnId, kDiscBtnId, kButton3Id };

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kStripDay = RGB(0, 0, 255);
constexpr COLORREF kStripNight = RGB(0, 128, 0);
constexpr COLORREF kWarningRed = RGB(255, 0, 0);

// Where things are, in pixels at 100 % (left, top, width, height).
struct Box {
  int left, top, width, height;
};
constexpr Box kPanel1{0, 1, 137, 65};
constexpr Box kLabel1{8, 2, 124, 13};  // centred, so tall Japanese fonts stay off the strip
constexpr Box kPanel2{5, 15, 126, 4};
constexpr Box kLabel2{4, 21, 15, 16};
constexpr Box kEdit1{19, 20, 112, 20};
constexpr Box kLabel3{4, 43, 15, 16};
constexpr Box kEdit2{19, 41, 112, 20};
constexpr Box kNameDisplay{8, 22, 124, 22};
constexpr Box kConnectBtn{3, 66, 41, 25};
constexpr Box kDiscBtn{45, 66, 41, 25};
constexpr Box kButton3{90, 66, 41, 25};
constexpr Box kLabel4{8, 93, 126, 15};

using CutLabel = MainWindow::CutLabel;
constexpr CutLabel kCutLabels[] = {CutLabel::Status, CutLabel::Destination, CutLabel::CallerName};

const Box& cutLabelBox(CutLabel label) {
  return label == CutLabel::Status ? kLabel4 : label == CutLabel::Destination ? kLabel1 : kNameDisplay;
}

void fillRect(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

void drawText(HDC dc, const std::wstring& text, RECT r, UINT format) {
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, EngineCommands& core, HWND owner, Hooks hooks)
    : instance_(instance), core_(core), hooks_(std::move(hooks)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  ::RegisterClassExW(&wc);
  channelBrush_ = ::CreateSolidBrush(kBlack);

  // Owned by the hidden application window: no taskbar button.
  hwnd_ = ::CreateWindowExW(kExStyle, kClassName, L"Tarvik", kStyle, 350, 0, 200, 200, owner, menus_.mainMenu(),
                            instance, this);
  dpi_ = dpiOfWindow(hwnd_);
  makeFonts();
  createControls();
  layout();
  fitToClientSize();

  ACCEL f1{FVIRTKEY, VK_F1, static_cast<WORD>(MenuBar::helpId())};
  accelerators_ = ::CreateAcceleratorTableW(&f1, 1);
  menus_.setJigen("時限切断 []", core_.jigenChecked());
}

MainWindow::~MainWindow() {
  usage_.reset();  // before its owner
  if (tooltip_) ::DestroyWindow(tooltip_);  // owned by no window, it does not go with this one
  if (hwnd_) {
    // The main menu goes with the window.
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
  if (channelBrush_) ::DeleteObject(channelBrush_);
}

RECT MainWindow::rect(int left, int top, int width, int height) const {
  return RECT{scaled(left, dpi_), scaled(top, dpi_), scaled(left + width, dpi_), scaled(top + height, dpi_)};
}

void MainWindow::makeFonts() {
  font_ = Font(12, dpi_);
  nameFont_ = Font(16, dpi_, true, true);
  // The status line sits at the window's bottom edge: it is as tall as the
  // font's cell (ascent and descent, which a Japanese face makes larger
  // than the scaled 15 pixels), so no descender is cut at any scaling.
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = ::SelectObject(dc, font_.handle());
  TEXTMETRICW metrics{};
  const bool measured = ::GetTextMetricsW(dc, &metrics) != FALSE;
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  statusHeight_ = std::max(scaled(kLabel4.height, dpi_), measured ? static_cast<int>(metrics.tmHeight) : 0);
}

RECT MainWindow::labelRect(CutLabel label) const {
  const Box& box = cutLabelBox(label);
  RECT r = rect(box.left, box.top, box.width, box.height);
  if (label == CutLabel::Status) {
    // A taller line moves up into the room below the buttons first; only
    // what is still missing then makes the window taller (clientHeight).
    const int belowButtons = scaled(kConnectBtn.top + kConnectBtn.height + 1, dpi_);
    r.top = std::max(belowButtons, std::min<int>(r.top, scaled(kClientHeight, dpi_) - statusHeight_));
    r.bottom = r.top + statusHeight_;
  }
  return r;
}

// 109 pixels at 100 %, and more where the status line's font needs it.
int MainWindow::clientHeight() const {
  return std::max<int>(scaled(kClientHeight, dpi_), labelRect(CutLabel::Status).bottom);
}

void MainWindow::createControls() {
  auto channelBox = [this](int id) {
    // Read-only, no tab stop; the colours come with WM_CTLCOLORSTATIC.
    HWND box = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, 0, 0, 10, 10, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SetWindowSubclass(box, channelBoxProcedure, static_cast<UINT_PTR>(id), reinterpret_cast<DWORD_PTR>(this));
    return box;
  };
  edit1_ = channelBox(kEdit1Id);
  edit2_ = channelBox(kEdit2Id);
  auto button = [this](int id, const wchar_t* caption, DWORD kind) {
    return ::CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, 0, 10, 10,
                             hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  };
  connectBtn_ = button(kConnectBtnId, L"接続", BS_PUSHBUTTON);
  discBtn_ = button(kDiscBtnId, L"切断", BS_PUSHBUTTON);
  button3_ = button(kButton3Id, L"詳細", BS_DEFPUSHBUTTON);  // Enter presses it

  // The connect button's hint (the default destination) and the status
  // line's whole text when it shows cut. The tip, topmost itself, is owned
  // by no window: an owned topmost popup keeps its owner from being made
  // topmost (under Wine), and the window must stay on top when the
  // settings say so.
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               instance_, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(connectBtn_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  for (CutLabel label : kCutLabels) {
    TOOLINFOW cutTool{};
    cutTool.cbSize = sizeof cutTool;
    cutTool.uFlags = TTF_SUBCLASS;
    cutTool.hwnd = hwnd_;
    cutTool.uId = static_cast<UINT_PTR>(label);
    cutTool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&cutTool));
  }
  ::SetFocus(connectBtn_);  // the connect button has the first focus
}

void MainWindow::layout() {
  const struct {
    HWND control;
    Box box;
  } placed[] = {{edit1_, kEdit1},         {edit2_, kEdit2},   {connectBtn_, kConnectBtn},
                {discBtn_, kDiscBtn},     {button3_, kButton3}};
  for (const auto& p : placed) {
    const RECT r = rect(p.box.left, p.box.top, p.box.width, p.box.height);
    ::SetWindowPos(p.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
  }
  // The channel boxes keep their text at the left edge.
  for (HWND box : {edit1_, edit2_}) ::SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  for (CutLabel label : kCutLabels) {
    TOOLINFOW cutTool{};
    cutTool.cbSize = sizeof cutTool;
    cutTool.hwnd = hwnd_;
    cutTool.uId = static_cast<UINT_PTR>(label);
    cutTool.rect = labelRect(label);
    ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&cutTool));
    updateTip(label);
  }
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

// The client area is 136 x 109 at 100 % under the menu bar (taller where
// the status line's font needs it), however many lines the menu bar takes.
void MainWindow::fitToClientSize() {
  RECT frame{0, 0, scaled(kClientWidth, dpi_), clientHeight()};
  adjustWindowRect(frame, kStyle, true, kExStyle, dpi_);
  RECT now{};
  ::GetWindowRect(hwnd_, &now);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int missing = clientHeight() - (client.bottom - client.top);
  if (missing != 0) {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + missing,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::setStayOnTop(bool onTop) {
  ::SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

// A named function: 32-bit Windows calls it with the stdcall convention,
// which a lambda's conversion does not give.
BOOL CALLBACK addMonitorRect(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<app::ScreenRect>*>(data)->push_back(
        {r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  return TRUE;
}

// Every monitor's rectangle, in the coordinates of window rectangles.
std::vector<app::ScreenRect> monitorRects() {
  std::vector<app::ScreenRect> rects;
  ::EnumDisplayMonitors(nullptr, nullptr, addMonitorRect, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

}  // namespace

void MainWindow::keepReachable() {
  if (::IsIconic(hwnd_)) return;  // its rectangle is the icon's, not where it comes back to
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  const app::ScreenPoint to =
      app::fitOnScreens({r.left, r.top, r.right - r.left, r.bottom - r.top}, monitorRects());
  if (to.left != r.left || to.top != r.top) {
    ::SetWindowPos(hwnd_, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::show() {
  ::ShowWindow(hwnd_, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd_);
  ::SetFocus(connectBtn_);
}

RECT MainWindow::normalRect() const {
  RECT r{};
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if ((minimised_ || ::IsIconic(hwnd_)) && ::GetWindowPlacement(hwnd_, &wp)) {
    r = wp.rcNormalPosition;
  } else {
    ::GetWindowRect(hwnd_, &r);
  }
  return r;
}

int MainWindow::windowLeft() const { return static_cast<int>(normalRect().left); }
int MainWindow::windowTop() const { return static_cast<int>(normalRect().top); }

void MainWindow::moveWindow(int left, int top) {
  ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MainWindow::isMinimised() const { return minimised_ || ::IsIconic(hwnd_) || !::IsWindowVisible(hwnd_); }

void MainWindow::restoreWindow(bool activate) {
  if (!activate) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  ::ShowWindow(hwnd_, SW_RESTORE);
  ::ShowOwnedPopups(hwnd_, TRUE);
  minimised_ = false;
}

void MainWindow::openSettings() {
  if (hooks_.config) hooks_.config();
}

void MainWindow::openDetails() {
  ::SendMessageW(button3_, BM_CLICK, 0, 0);  // K7Click presses Button3
}

void MainWindow::openAbout() {
  if (hooks_.about) hooks_.about();
}

void MainWindow::openUsage() {
  if (!usage_) {
    usage_ = std::make_unique<UsageWindow>(hwnd_, core_.files().directory(),
                                           [this] { return tariffOf(core_.settings()); });
  }
  usage_->openWindow();
}

void MainWindow::setTimeSwitchChecked(bool) { menus_.setJigen(jigenCaption_, core_.jigenChecked()); }

void MainWindow::showTrayIcon() {
  if (hooks_.showTrayIcon) hooks_.showTrayIcon();
}

void MainWindow::copyAddress(Channel ch) {
  if (hooks_.copyAddress) hooks_.copyAddress(ch);
}

void MainWindow::placeDetails(const desktop::WindowGeometry& geometry) {
  if (hooks_.placeDetails) hooks_.placeDetails(geometry);
}

void MainWindow::loadSettingsForm() {
  if (hooks_.loadSettingsForm) hooks_.loadSettingsForm();
}

std::string MainWindow::manualPath() const { return narrow(findProgramFile(manualName()).wstring()); }

// The box belongs to no window, so it opens wherever the main window is.
void MainWindow::showError(const std::string& text) { errorBox(nullptr, text); }

void MainWindow::minimiseApplication() {
  // The owned windows (details, settings) go with the main window; with no
  // taskbar button, nothing is left to see but the tray icon.
  ::ShowOwnedPopups(hwnd_, FALSE);
  ::ShowWindow(hwnd_, SW_MINIMIZE);
  ::ShowWindow(hwnd_, SW_HIDE);
  minimised_ = true;
}

void MainWindow::invalidate(const RECT& r) { ::InvalidateRect(hwnd_, &r, TRUE); }

const std::string& MainWindow::cutLabelText(CutLabel label) const {
  static const std::string none;
  switch (label) {
    case CutLabel::Status:
      return status_;
    case CutLabel::Destination:
      return destination_;
    case CutLabel::CallerName:
      return callerShown_ ? callerName_ : none;
  }
  return none;
}

bool MainWindow::fits(CutLabel label) const {
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = ::SelectObject(dc, (label == CutLabel::CallerName ? nameFont_ : font_).handle());
  const std::wstring text = widen(cutLabelText(label));
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  return extent.cx <= scaled(cutLabelBox(label).width, dpi_);
}

void MainWindow::updateTip(CutLabel label) {
  std::wstring text = fits(label) ? std::wstring() : widen(cutLabelText(label));
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd_;
  tool.uId = static_cast<UINT_PTR>(label);
  tool.lpszText = text.data();
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string MainWindow::tipText(CutLabel label) const {
  std::wstring buffer(1024, L'\0');
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd_;
  tool.uId = static_cast<UINT_PTR>(label);
  tool.lpszText = buffer.data();
  ::SendMessageW(tooltip_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
  return narrow(buffer.c_str());
}

bool MainWindow::setStatusLine(const std::string& text) {
  status_ = text;
  invalidate(labelRect(CutLabel::Status));
  updateTip(CutLabel::Status);
  return fits(CutLabel::Status);
}

void MainWindow::setChannelText(Channel ch, const std::string& text) {
  HWND box = channelBox(ch);
  ::SetWindowTextW(box, widen(text).c_str());
  ::SendMessageW(box, EM_SETSEL, 0, 0);
}

std::string MainWindow::channelText(Channel ch) const {
  HWND box = channelBox(ch);
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return narrow(text);
}

void MainWindow::setDestinationLabel(const std::string& text) {
  destination_ = text;
  invalidate(rect(kLabel1.left, kLabel1.top, kLabel1.width, kLabel1.height));
  updateTip(CutLabel::Destination);
}

void MainWindow::showCallerName(const std::string& name, const std::string& number) {
  callerName_ = name;
  label3_ = "   " + number;
  callerShown_ = true;
  ::ShowWindow(edit1_, SW_HIDE);
  ::ShowWindow(edit2_, SW_HIDE);
  invalidate(rect(kPanel1.left, kPanel1.top, kPanel1.width, kPanel1.height));
  updateTip(CutLabel::CallerName);
}

void MainWindow::clearCallerName() {
  callerShown_ = false;
  label3_ = "B2";
  ::ShowWindow(edit1_, SW_SHOW);
  ::ShowWindow(edit2_, SW_SHOW);
  invalidate(rect(kPanel1.left, kPanel1.top, kPanel1.width, kPanel1.height));
  updateTip(CutLabel::CallerName);
}

void MainWindow::setDestinationCaption(int index, const std::string& caption) {
  menus_.setDestinationCaption(index, caption);
}

void MainWindow::setConnectHint(const std::string& text) {
  connectHint_ = text;
  std::wstring wide = widen(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(connectBtn_);
  tool.lpszText = wide.data();
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::setPanelColour(PanelColour colour) {
  panel_ = colour;
  invalidate(rect(kPanel1.left, kPanel1.top, kPanel1.width, kPanel1.height));
}

void MainWindow::setStrip(StripColour colour) {
  if (stripSet_ && strip_ == colour) return;
  stripSet_ = true;
  strip_ = colour;
  invalidate(rect(kPanel2.left, kPanel2.top, kPanel2.width, kPanel2.height));
}

void MainWindow::setJigenCaption(const std::string& caption) {
  jigenCaption_ = caption;
  menus_.setJigen(caption, core_.jigenChecked());
}

void MainWindow::setMonitoringOff(bool off) {
  ::EnableWindow(edit1_, !off);
  ::EnableWindow(edit2_, !off);
}

void MainWindow::copyToClipboard(Channel ch, const std::string& text) {
  HWND box = channelBox(ch);
  const std::wstring wide = widen(text);
  ::SetWindowTextW(box, wide.c_str());
  ::SendMessageW(box, EM_SETSEL, 0, -1);
  // Also an empty address: the clipboard gets what the box shows.
  if (!::OpenClipboard(hwnd_)) return;
  ::EmptyClipboard();
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* p = ::GlobalLock(memory)) {
      std::memcpy(p, wide.c_str(), bytes);
      ::GlobalUnlock(memory);
      if (!::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
    } else {
      ::GlobalFree(memory);
    }
  }
  ::CloseClipboard();
}

void MainWindow::popUp(HMENU menu, POINT at) {
  // In the foreground first, so the menu closes when the user clicks
  // elsewhere; the empty message afterwards lets a second click work.
  ::SetForegroundWindow(hwnd_);
  const UINT id = static_cast<UINT>(::TrackPopupMenuEx(
      menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, hwnd_, nullptr));
  ::PostMessageW(hwnd_, WM_NULL, 0, 0);
  if (id != 0) onCommand(id);
}

WindowPlacement MainWindow::takeWindowState() {
  WindowPlacement placement = presenter_.windowState();
  if (hooks_.writeWindowState) hooks_.writeWindowState(placement);
  return placement;
}

void MainWindow::requestClose() {
  if (ended_) return;
  if (core_.FormCloseQuery(takeWindowState())) {
    ended_ = true;
    core_.FormClose();
    if (hooks_.closed) hooks_.closed();
  }
}

void MainWindow::endSession() {
  if (ended_) return;
  ended_ = true;
  core_.EndSession(takeWindowState());
  if (hooks_.closed) hooks_.closed();
}

bool MainWindow::preTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd))) return false;
  if (accelerators_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &msg)) return true;
  return ::IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void MainWindow::onCommand(UINT id) {
  switch (id) {
    case kConnectBtnId:
      core_.ConnectBtnClick();
      return;
    case kDiscBtnId:
      core_.DiscBtnClick();
      return;
    case kButton3Id:
    case IDOK:  // Enter: the default button
      if (hooks_.details) hooks_.details();
      return;
    default:
      break;
  }
  if (const MenuItem* item = MenuBar::command(id)) presenter_.run(*item);
}

void MainWindow::onClick(POINT p) {
  auto inside = [&](const Box& b) {
    const RECT r = rect(b.left, b.top, b.width, b.height);
    return ::PtInRect(&r, p) != FALSE;
  };
  if (inside(kLabel1)) {
    presenter_.Label1Click();
  } else if (!callerShown_ && inside(kLabel2)) {
    core_.Edit1Click();
  } else if (inside(kLabel3)) {
    core_.Edit2Click();
  }
}

void MainWindow::paint(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  fillRect(dc, client, ::GetSysColor(COLOR_BTNFACE));

  RECT panel = rect(kPanel1.left, kPanel1.top, kPanel1.width, kPanel1.height);
  fillRect(dc, panel, panel_ == PanelColour::Red ? kWarningRed : ::GetSysColor(COLOR_BTNFACE));
  ::DrawEdge(dc, &panel, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);

  RECT strip = rect(kPanel2.left, kPanel2.top, kPanel2.width, kPanel2.height);
  fillRect(dc, strip, !stripSet_ ? kBlack : strip_ == StripColour::Day ? kStripDay : kStripNight);
  ::DrawEdge(dc, &strip, BDR_SUNKENOUTER, BF_RECT);

  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = ::SelectObject(dc, font_.handle());
  drawText(dc, widen(destination_), rect(kLabel1.left, kLabel1.top, kLabel1.width, kLabel1.height),
           DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (!callerShown_) {
    drawText(dc, L"B1", rect(kLabel2.left, kLabel2.top, kLabel2.width, kLabel2.height),
             DT_LEFT | DT_TOP | DT_SINGLELINE);
  }
  drawText(dc, widen(label3_), rect(kLabel3.left, kLabel3.top, callerShown_ ? 124 : kLabel3.width, kLabel3.height),
           DT_LEFT | DT_TOP | DT_SINGLELINE);
  drawText(dc, widen(status_), labelRect(CutLabel::Status),
           DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (callerShown_) {
    ::SelectObject(dc, nameFont_.handle());
    ::SetTextColor(dc, kBlack);
    drawText(dc, widen(callerName_), rect(kNameDisplay.left, kNameDisplay.top, kNameDisplay.width, kNameDisplay.height),
             DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  ::SelectObject(dc, old);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control == edit1_ || control == edit2_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, ::IsWindowEnabled(control) ? kYellow : RGB(128, 128, 128));
        ::SetBkColor(dc, kBlack);
        return reinterpret_cast<LRESULT>(channelBrush_);
      }
      break;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kButton3Id, DC_HASDEFID);
    case WM_LBUTTONDOWN:
      onClick(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_LBUTTONDBLCLK:
      presenter_.K4Click();
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) {  // from the keyboard: at the window's corner
        RECT r{};
        ::GetWindowRect(hwnd_, &r);
        at = POINT{r.left, r.top};
      }
      popUp(menus_.popupMenu1(), at);
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        presenter_.Label1Click();
        return 0;
      }
      break;
    case WM_CLOSE:
      requestClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) endSession();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      makeFonts();
      layout();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      fitToClientSize();
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

// A click in a channel box runs its display step; its menu is the window's.
LRESULT CALLBACK MainWindow::channelBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
      if (id == kEdit1Id) {
        self->core_.Edit1Click();
      } else {
        self->core_.Edit2Click();
      }
      break;
    case WM_CONTEXTMENU:
      return ::SendMessageW(self->hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self->hwnd_), lParam);
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, channelBoxProcedure, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace tarvik::win32

// TForm5, "Tarvik - 詳細": the transcript of the router's answers and the
// six report buttons on a bar at the bottom edge. The text takes all the
// room above the bar at every resize; closing only hides the window.
#include <algorithm>
#include <stdexcept>

#include "engine/core/enginecommands.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/dialogsupport.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

struct ReportButtonRow {
  int id;
  ReportButton button;
  bool fixedPitch;  // the four report buttons use the fixed-pitch font
};

constexpr ReportButtonRow kButtons[] = {
    {IDC_DetailsButton1, ReportButton::Charges, true},
    {IDC_DetailsButton2, ReportButton::ConnectionLog, true},
    {IDC_DetailsButton3, ReportButton::Ppp, true},
    {IDC_DetailsButton4, ReportButton::Analog, true},
    {IDC_Mail_Button, ReportButton::Mail, false},
    {IDC_PHS_Button, ReportButton::PhsMail, false},
};

// Sizes at 96 dots per inch, scaled for the screen.
constexpr int kBarHeight = 37;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
constexpr int kCaptionMargin = 8;  // room on each side of a caption
// A transcript that runs for weeks must not grow without end.
constexpr int kMaxLines = 20000;

}  // namespace

struct DetailsWindow::Impl {
  EngineCommands& core;
  HWND dlg = nullptr;
  HFONT fixedFont = nullptr;
  bool empty = false;  // after a clear, the next line takes the first row
  bool shownOnce = false;
  std::optional<Geometry> stored;
  int minimumWidth = 0;  // the window's, so that no button is cut

  explicit Impl(EngineCommands& c) : core(c) {}

  // The transcript and the four report buttons in the fixed-pitch face, at
  // the scale of the window's screen.
  void applyFixedFont() {
    HFONT old = fixedFont;
    fixedFont = createFont(dlg, japaneseFixedFace(), 9);
    SendDlgItemMessageW(dlg, IDC_Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    for (const ReportButtonRow& row : kButtons) {
      if (row.fixedPitch)
        SendDlgItemMessageW(dlg, row.id, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    }
    if (old) DeleteObject(old);
  }

  int scaled(int pixels) const { return MulDiv(pixels, windowDpi(dlg), 96); }

  int buttonWidth(HWND button) const {
    HDC dc = GetDC(button);
    auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    const std::wstring caption = widen(controlText(button));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    return std::max(scaled(kButtonWidth), static_cast<int>(size.cx) + 2 * scaled(kCaptionMargin));
  }

  void layout() {
    RECT client{};
    GetClientRect(dlg, &client);
    const int bar = scaled(kBarHeight);
    const int textHeight = std::max(0, static_cast<int>(client.bottom) - bar);
    MoveWindow(GetDlgItem(dlg, IDC_Memo1), 0, 0, client.right, textHeight, TRUE);
    MoveWindow(GetDlgItem(dlg, IDC_DetailsPanel1), 0, textHeight, client.right, bar, TRUE);
    int left = scaled(8);
    for (const ReportButtonRow& row : kButtons) {
      HWND button = GetDlgItem(dlg, row.id);
      const int width = buttonWidth(button);
      MoveWindow(button, left, textHeight + scaled(6), width, scaled(kButtonHeight), TRUE);
      left += width + scaled(kButtonGap);
    }
    RECT frame{0, 0, left - scaled(kButtonGap) + scaled(8), 0};
    AdjustWindowRectEx(&frame, GetWindowLongW(dlg, GWL_STYLE), FALSE, GetWindowLongW(dlg, GWL_EXSTYLE));
    minimumWidth = frame.right - frame.left;
  }

  void appendLine(const std::string& line) {
    HWND memo = GetDlgItem(dlg, IDC_Memo1);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    const bool scrollable = GetScrollInfo(memo, SB_VERT, &info);
    const bool atEnd = !scrollable || info.nPos + static_cast<int>(info.nPage) > info.nMax;
    const LRESULT firstVisible = SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0);

    // The transcript starts with one empty row, as the window always has.
    const std::wstring text = (empty ? L"" : L"\r\n") + widen(line);
    empty = false;
    const int end = GetWindowTextLengthW(memo);
    SendMessageW(memo, EM_SETSEL, end, end);
    SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));

    const LRESULT lines = SendMessageW(memo, EM_GETLINECOUNT, 0, 0);
    if (lines > kMaxLines) {
      const LRESULT cut = SendMessageW(memo, EM_LINEINDEX, lines - kMaxLines, 0);
      SendMessageW(memo, EM_SETSEL, 0, cut);
      SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    }
    if (atEnd) {
      const int newEnd = GetWindowTextLengthW(memo);
      SendMessageW(memo, EM_SETSEL, newEnd, newEnd);
      SendMessageW(memo, EM_SCROLLCARET, 0, 0);
    } else {
      // The reader is further up: the text stays where it is.
      const LRESULT now = SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0);
      SendMessageW(memo, EM_LINESCROLL, 0, firstVisible - now);
    }
  }

  static INT_PTR CALLBACK proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(window, GWLP_USERDATA, lp);
      SetPropW(window, kDialogProperty, reinterpret_cast<HANDLE>(1));
      return FALSE;
    }
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    switch (msg) {
      case WM_DPICHANGED:
        PostMessageW(window, kRescaleMessage, 0, 0);
        return FALSE;
      case kRescaleMessage:
        self->applyFixedFont();
        self->layout();
        return TRUE;
      case WM_SIZE:
        self->layout();
        return TRUE;
      case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.x = self->minimumWidth;
        return TRUE;
      case WM_COMMAND:
        for (const ReportButtonRow& row : kButtons) {
          if (row.id == LOWORD(wp) && HIWORD(wp) == BN_CLICKED) self->core.ReportButtonClick(row.button);
        }
        return TRUE;
      case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return TRUE;
      case WM_SHOWWINDOW:
        if (wp) self->shownOnce = true;
        return FALSE;
      case WM_DESTROY:
        RemovePropW(window, kDialogProperty);
        return FALSE;
    }
    return FALSE;
  }
};

DetailsWindow::DetailsWindow(EngineCommands& core, HWND owner) : impl_(std::make_unique<Impl>(core)) {
  Impl& d = *impl_;
  d.dlg = createDialogFromResource(IDD_DETAILS, owner, Impl::proc, reinterpret_cast<LPARAM>(impl_.get()));
  if (!d.dlg) throw std::runtime_error("the details window's resource is missing");
  d.applyFixedFont();
  SendDlgItemMessageW(d.dlg, IDC_Memo1, EM_SETLIMITTEXT, 0, 0);  // as much as the system allows
  d.layout();
  applyGeometry(Geometry{438, 300, 438, 279});
}

DetailsWindow::~DetailsWindow() {
  if (impl_->dlg) DestroyWindow(impl_->dlg);
  if (impl_->fixedFont) DeleteObject(impl_->fixedFont);
}

void DetailsWindow::appendLine(const std::string& utf8Line) { impl_->appendLine(utf8Line); }

void DetailsWindow::clearText() {
  SetDlgItemTextW(impl_->dlg, IDC_Memo1, L"");
  impl_->empty = true;
}

std::string DetailsWindow::text() const {
  std::string text = controlText(GetDlgItem(impl_->dlg, IDC_Memo1));
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

// The place is in screen pixels; the size in pixels at 100 %, so that the
// window keeps its lines and its look on a screen of another scale (and a
// size widened at 150 % for its buttons does not stay wide at 100 %).
void DetailsWindow::applyGeometry(const Geometry& g) {
  impl_->stored = g;
  SetWindowPos(impl_->dlg, nullptr, g.left, g.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(impl_->dlg, nullptr, 0, 0, impl_->scaled(g.width), impl_->scaled(g.height),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Until the window has been shown, the stored place and size are what the
// user last left; the minimum width does not rewrite them.
DetailsWindow::Geometry DetailsWindow::savedGeometry() const {
  if (!impl_->shownOnce && impl_->stored) return *impl_->stored;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(impl_->dlg, &placement);
  RECT r = placement.rcNormalPosition;
  if (placement.showCmd == SW_SHOWNORMAL || !IsWindowVisible(impl_->dlg)) GetWindowRect(impl_->dlg, &r);
  const int dpi = windowDpi(impl_->dlg);
  return Geometry{r.left, r.top, MulDiv(r.right - r.left, 96, dpi), MulDiv(r.bottom - r.top, 96, dpi)};
}

void DetailsWindow::show() {
  if (IsIconic(impl_->dlg)) ShowWindow(impl_->dlg, SW_RESTORE);
  ShowWindow(impl_->dlg, SW_SHOW);
  SetForegroundWindow(impl_->dlg);
}

HWND DetailsWindow::hwnd() const { return impl_->dlg; }
bool DetailsWindow::isVisible() const { return IsWindowVisible(impl_->dlg) != FALSE; }

}  // namespace tarvik::win32

#include "win32/desktop/usagechart.h"

#include <algorithm>
#include <string>

#include "win32/desktop/dpi.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

// Sizes at 100 %.
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kLegendBox = 12;
constexpr double kBarShare = 0.8;  // of a day's width, as the Linux chart

constexpr COLORREF kBackground = RGB(0xff, 0xff, 0xff);
constexpr COLORREF kGrid = RGB(0xe4, 0xe4, 0xe4);
constexpr COLORREF kAxis = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kText = RGB(0x20, 0x20, 0x20);

COLORREF colourOf(desktop::UsageColour c) {
  return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

SIZE textSize(HDC dc, HFONT font, const std::wstring& text) {
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  return size;
}

void drawText(HDC dc, HFONT font, const std::wstring& text, RECT box, UINT format) {
  HGDIOBJ old = ::SelectObject(dc, font);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX | DT_SINGLELINE);
  ::SelectObject(dc, old);
}

void fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::MoveToEx(dc, x1, y1, nullptr);
  ::LineTo(dc, x2, y2);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

// The series shown, bottom first: their legend names, colours and minutes.
struct Series {
  const char* name;
  desktop::UsageColour colour;
  const std::vector<int>* minutes;
};

std::vector<Series> seriesOf(const desktop::UsageMonthView& view, bool stacked) {
  using desktop::UsageTexts;
  if (stacked)
    return {{UsageTexts::meteredSeries, desktop::kMeteredColour, &view.metered},
            {UsageTexts::flatSeries, desktop::kFlatColour, &view.flat}};
  return {{UsageTexts::singleSeries, desktop::kMeteredColour, &view.minutes}};
}

}  // namespace

UsageChart::UsageChart(HINSTANCE instance, HWND parent, int id) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);  // fails harmlessly once registered
  hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  setDpi(dpiOfWindow(parent));
}

int UsageChart::px(int n) const { return scaled(n, dpi_); }

void UsageChart::setDpi(UINT dpi) {
  dpi_ = dpi;
  font_ = Font(12, dpi);
  smallFont_ = Font(10, dpi);
  titleFont_ = Font(14, dpi, true);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void UsageChart::show(const desktop::UsageMonthView& view, bool stacked) {
  view_ = view;
  stacked_ = stacked;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

ChartGeometry UsageChart::geometry(int width, int height) const {
  HDC dc = ::GetDC(hwnd_);
  const int titleHeight = textSize(dc, titleFont_.handle(), L"0").cy;
  const SIZE small = textSize(dc, smallFont_.handle(), L"0");
  const int axisTitleWidth = textSize(dc, font_.handle(), widen(desktop::UsageTexts::minuteAxis)).cx;
  const int labelWidth = textSize(dc, smallFont_.handle(), std::to_wstring(view_.scale.top())).cx;
  int legendWidth = 0;
  if (stacked_) {
    for (const Series& s : seriesOf(view_, true))
      legendWidth = std::max<int>(legendWidth, textSize(dc, font_.handle(), widen(s.name)).cx);
    legendWidth += px(kLegendBox) + px(4) + 2 * px(kMargin);
  }
  ::ReleaseDC(hwnd_, dc);

  ChartGeometry g;
  g.plot.left = px(kMargin) + axisTitleWidth + px(kGap) + labelWidth + px(kGap);
  g.plot.right = std::max<int>(g.plot.left + 1, width - px(kMargin) - legendWidth);
  g.plot.top = px(kMargin) + titleHeight + px(kGap) + small.cy / 2;
  g.plot.bottom = std::max<int>(g.plot.top + 1, height - px(kMargin) - small.cy - px(4));

  const int plotHeight = g.plot.bottom - g.plot.top;
  const int top = std::max(1, view_.scale.top());
  auto yOf = [&](int minutes) { return g.plot.bottom - MulDiv(minutes, plotHeight, top); };
  for (int step = 0; step <= view_.scale.steps; ++step) g.tickY.push_back(yOf(step * view_.scale.step));

  const std::size_t days = view_.minutes.size();
  if (days == 0) return g;
  const int plotLeft = g.plot.left;
  const double slot = static_cast<double>(g.plot.right - plotLeft) / static_cast<double>(days);
  auto xAt = [&](double place) { return plotLeft + static_cast<int>(slot * place); };
  for (std::size_t i = 0; i < days; ++i) {
    const int left = xAt(static_cast<double>(i) + (1 - kBarShare) / 2);
    const int right = std::max(left + 1, xAt(static_cast<double>(i) + (1 + kBarShare) / 2));
    int below = 0;  // the minutes of the series under this one
    for (const Series& s : seriesOf(view_, stacked_)) {
      const int minutes = (*s.minutes)[i];
      if (minutes > 0) {
        g.bars.push_back({RECT{left, yOf(below + minutes), right, yOf(below)}, colourOf(s.colour),
                          static_cast<int>(i) + 1});
      }
      below += minutes;
    }
  }
  return g;
}

void UsageChart::paint(HDC dc, int width, int height) const {
  const RECT all{0, 0, width, height};
  fill(dc, all, kBackground);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kText);
  const ChartGeometry g = geometry(width, height);

  drawText(dc, titleFont_.handle(), widen(view_.chartTitle), RECT{0, px(kMargin), width, g.plot.top}, DT_CENTER | DT_TOP);

  // The minute axis: a grid line and a label at each step, its title at the left.
  const int labelRight = g.plot.left - px(kGap);
  for (std::size_t step = 0; step < g.tickY.size(); ++step) {
    const int y = g.tickY[step];
    if (step > 0) line(dc, g.plot.left, y, g.plot.right, y, kGrid);
    const std::wstring label = std::to_wstring(static_cast<int>(step) * view_.scale.step);
    drawText(dc, smallFont_.handle(), label, RECT{0, y - px(10), labelRight, y + px(10)}, DT_RIGHT | DT_VCENTER);
  }
  drawText(dc, font_.handle(), widen(desktop::UsageTexts::minuteAxis),
           RECT{px(kMargin), g.plot.top, labelRight, g.plot.bottom}, DT_LEFT | DT_VCENTER);

  for (const ChartBar& bar : g.bars) fill(dc, bar.rect, bar.colour);
  line(dc, g.plot.left, g.plot.top, g.plot.left, g.plot.bottom, kAxis);
  line(dc, g.plot.left, g.plot.bottom, g.plot.right, g.plot.bottom, kAxis);

  // Every fifth day numbered under its place.
  const std::size_t days = view_.dayLabels.size();
  for (std::size_t i = 0; i < days; ++i) {
    if (view_.dayLabels[i].empty()) continue;
    const int centre = g.plot.left + MulDiv(2 * static_cast<int>(i) + 1, g.plot.right - g.plot.left,
                                            2 * static_cast<int>(days));
    drawText(dc, smallFont_.handle(), widen(view_.dayLabels[i]),
             RECT{centre - px(20), g.plot.bottom + px(2), centre + px(20), height}, DT_CENTER | DT_TOP);
  }

  if (!stacked_) return;
  // The legend at the right, its entries one under the other in the middle.
  const std::vector<Series> series = seriesOf(view_, true);
  const int rowHeight = px(kLegendBox) + px(kGap);
  int y = (g.plot.top + g.plot.bottom) / 2 - rowHeight * static_cast<int>(series.size()) / 2;
  const int x = g.plot.right + px(kMargin);
  for (const Series& s : series) {
    fill(dc, RECT{x, y, x + px(kLegendBox), y + px(kLegendBox)}, colourOf(s.colour));
    drawText(dc, font_.handle(), widen(s.name), RECT{x + px(kLegendBox) + px(4), y - px(4), width, y + px(kLegendBox) + px(4)},
             DT_LEFT | DT_VCENTER);
    y += rowHeight;
  }
}

// Painted into a bitmap first, so that a resize does not flicker.
LRESULT CALLBACK UsageChart::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<UsageChart*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<UsageChart*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PAINTSTRUCT ps{};
      HDC target = message == WM_PAINT ? ::BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
      RECT client{};
      ::GetClientRect(hwnd, &client);
      if (self && client.right > 0 && client.bottom > 0) {
        HDC memory = ::CreateCompatibleDC(target);
        HBITMAP bitmap = ::CreateCompatibleBitmap(target, client.right, client.bottom);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        self->paint(memory, client.right, client.bottom);
        ::BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
      }
      if (message == WM_PAINT) ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      if (self) self->hwnd_ = nullptr;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tarvik::win32

#pragma once
// The bar chart of the window 利用状況, drawn with GDI in a child window of
// its own: the title, the minute axis with its round steps and grid lines,
// one bar per day (metered and flat-rate minutes stacked, or one bar of
// all), every fifth day numbered under it, and the legend when stacked.
// Laid out in pixels at 100 % and scaled to the window's DPI.

#include <windows.h>

#include <vector>

#include "desktop/usagepresenter.h"
#include "win32/desktop/uifont.h"

namespace tarvik::win32 {

// One coloured piece of a bar, in the chart's client pixels.
struct ChartBar {
  RECT rect;
  COLORREF colour;
  int day;  // 1 for the 1st
};

// Where things go in a chart of the given client size.
struct ChartGeometry {
  RECT plot;  // the area the bars stand in (the axis at its left and bottom edges)
  std::vector<ChartBar> bars;
  std::vector<int> tickY;  // the y of each minute step, from 0 upwards
};

class UsageChart {
 public:
  static constexpr wchar_t kClassName[] = L"TarvikUsageChart";

  UsageChart(HINSTANCE instance, HWND parent, int id);
  UsageChart(const UsageChart&) = delete;
  UsageChart& operator=(const UsageChart&) = delete;

  HWND hwnd() const { return hwnd_; }
  // What to draw; it is drawn again.
  void show(const desktop::UsageMonthView& view, bool stacked);
  // After a change of the window's DPI: the fonts are made again.
  void setDpi(UINT dpi);
  bool stacked() const { return stacked_; }

  // The layout for the current view in a client area of that size (what
  // painting draws; the tests look at the pixels it names).
  ChartGeometry geometry(int width, int height) const;

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HDC dc, int width, int height) const;
  int px(int n) const;

  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  Font font_, smallFont_, titleFont_;
  desktop::UsageMonthView view_;
  bool stacked_ = true;
};

}  // namespace tarvik::win32

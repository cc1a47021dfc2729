#pragma once
// The window "利用状況": one month of the call journal, as the Linux
// program shows it. A month chooser, the bar chart of the minutes online
// per day (metered and flat-rate minutes stacked, or as one bar), the
// totals with the estimated cost, the totals and cost per destination and
// the incoming calls with the missed ones in red; the incoming calls can be
// copied (button or Ctrl+C) and the month saved as CSV. Escape or the
// close box hides it. It opens inside the work area of its monitor, and
// scrolls what a small work area cannot hold. What it shows comes from
// desktop::UsagePresenter; this is the drawing and the controls.
//
// How the desktop program uses it: make one (after the main window, its
// owner) and call openWindow() for the menu items 利用状況 (その他 and the
// tray menu). The thread's message loop passes messages through
// dispatchDialogMessage() (win32/dialogs/dialogs.h), which gives the window
// its Tab and Escape keys.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/usagepresenter.h"
#include "engine/journal/tariff.h"
#include "win32/desktop/usagechart.h"

namespace tarvik::win32 {

class UsageWindow {
 public:
  // The controls' ids, for the tests.
  enum Control : int {
    kMonthBox = 101,
    kStackedBox,
    kReloadButton,
    kCopyButton,
    kSaveButton,
    kChart,
    kTotalsLabel,
    kCostLabel,
    kMessageLabel,
    kDestinationList,
    kIncomingList,
    kMonthLabel,
    kDestinationCaption,
    kIncomingCaption,
  };

  struct Hooks {
    // The save dialog: the chosen path, nothing when cancelled. Empty:
    // GetSaveFileNameW offering suggestedName.
    std::function<std::optional<std::filesystem::path>(HWND owner, const std::wstring& suggestedName)>
        pickSaveFile;
    // A monitor's work area (the screen less the taskbar). Empty: the
    // monitor's own, from GetMonitorInfoW.
    std::function<RECT(HMONITOR)> workArea;
  };

  // Created hidden. owner: the main window (may be null). tariff: asked at
  // every showing (the settings may have changed); empty means the defaults.
  UsageWindow(HWND owner, std::filesystem::path configDir, std::function<Tariff()> tariff, Hooks hooks = {});
  ~UsageWindow();
  UsageWindow(const UsageWindow&) = delete;
  UsageWindow& operator=(const UsageWindow&) = delete;

  // Reads the journal again and shows the window on the month it showed
  // last (the current month at first), brought to the front.
  void openWindow();
  // Reads the journal again; the month chooser offers every month with a
  // record, and the current one.
  void reload();
  void showMonth(desktop::YearMonth month);

  // The calls of the month on the clipboard (CR LF line ends, as Windows
  // programs paste text).
  void copyIncoming() const;
  // The month as CSV at path; false when it could not be written.
  bool exportCsv(const std::filesystem::path& path) const;

  HWND hwnd() const;
  HWND control(int id) const;
  bool isVisible() const;
  UINT dpi() const;
  const desktop::UsagePresenter& presenter() const;
  // The chart's layout at its present size (client pixels of the chart).
  ChartGeometry chartGeometry() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarvik::win32

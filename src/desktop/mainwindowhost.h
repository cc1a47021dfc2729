#pragma once
// What the presentation asks of a desktop's main window and of the windows
// around it. Each toolkit's main window answers: it moves, minimises and
// restores itself and hands on what the other windows must do. Texts are
// UTF-8.

#include <string>

#include "engine/ports/view.h"

namespace tarvik::desktop {

// The details window's place and size ([OPTION] left2, top2, Width2, Height2).
struct WindowGeometry {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const WindowGeometry&) const = default;
};

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;

  // --- the main window's place ---
  // Its frame's corner; while minimised, where it comes back to.
  virtual int windowLeft() const = 0;
  virtual int windowTop() const = 0;
  virtual void moveWindow(int left, int top) = 0;
  // Moves it onto the nearest screen when no screen shows it.
  virtual void keepReachable() = 0;
  virtual bool isMinimised() const = 0;
  // The whole program out of sight (the other windows with it).
  virtual void minimiseApplication() = 0;
  // Back from minimised; activate: also to the front, for the user.
  virtual void restoreWindow(bool activate) = 0;
  virtual void bringToFront() = 0;
  virtual void showWindow() = 0;

  // --- the menus' windows and commands ---
  virtual void requestClose() = 0;  // the close request, as the close box
  virtual void openSettings() = 0;
  virtual void openDetails() = 0;
  virtual void openAbout() = 0;
  virtual void openUsage() = 0;
  // JIGEN, the timed-disconnect item: its caption and its check mark.
  virtual void setTimeSwitchCaption(const std::string& caption) = 0;
  virtual void setTimeSwitchChecked(bool checked) = 0;
  virtual void setMonitoringOff(bool off) = 0;  // greys the channel boxes

  // --- the tray ---
  virtual void showTrayIcon() = 0;  // TSOHO, the program's own icon
  // CopyIPtoClip: the channel icon's tip into its box and onto the clipboard.
  virtual void copyAddress(Channel ch) = 0;

  // --- the windows the start-up settings place ---
  virtual void placeDetails(const WindowGeometry& geometry) = 0;
  virtual void loadSettingsForm() = 0;

  // --- files and messages ---
  // The manual's file (manual/manual.html beside the program, found as the
  // program finds its files); empty when there is none.
  virtual std::string manualPath() const = 0;
  virtual void showError(const std::string& text) = 0;
};

}  // namespace tarvik::desktop

#pragma once
// The main window's presentation, shared by the Qt and Win32 programs: what
// a picked menu item does, parking, the tray mouse rules, the window setup
// from the settings loaded at start, and opening the manual. The toolkits
// draw the window and hand its events here; this asks them back through
// MainWindowHost.

#include "desktop/mainmenus.h"
#include "desktop/mainwindowhost.h"
#include "desktop/manualaddress.h"
#include "desktop/parking.h"
#include "desktop/trayrules.h"
#include "engine/core/enginecommands.h"
#include "engine/ports/browser.h"

namespace tarvik::desktop {

class MainPresenter {
 public:
  MainPresenter(EngineCommands& core, MainWindowHost& host);

  // Where the manual opens; none: it does not.
  void setBrowser(Browser* browser) { browser_ = browser; }
  // Without a notification area parking minimises (see Parking).
  void setTrayAvailable(bool available) { parking_.setTrayAvailable(available); }

  // --- start-up ---
  // After the settings are loaded: the main window's place (left, top, and
  // the top it returns to), the timed-disconnect item, the channel boxes
  // greyed without monitoring, the details window's place, the settings
  // dialog's controls.
  void applyLoadedSettings();
  // The program's tray icon and the main window shown; with [OPTION] SIZE
  // the window is parked, once, at its first showing.
  void showAtStart();

  // --- the main window's events ---
  void run(const MenuItem& item);  // a picked menu item
  void Label1Click() { parking_.minimise(); }
  void K4Click() { parking_.bringBack(); }  // 情報窓表示, a double click on the window

  // --- parking ---
  Parking& parking() { return parking_; }
  const Parking& parking() const { return parking_; }

  // --- the tray ---
  void trayPressed(TrayIcon icon, TrayButton button);

  void openManual(ManualSection section);

  // Where the main window stands, for a close request or the session end:
  // its place, whether it is parked, and the details window's geometry as
  // loaded (the toolkit writes the window's own over it).
  WindowPlacement windowState() const;

 private:
  EngineCommands& core_;
  MainWindowHost& host_;
  Browser* browser_ = nullptr;
  Parking parking_;
};

}  // namespace tarvik::desktop

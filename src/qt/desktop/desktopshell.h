#pragma once
// The desktop program's windows and tray icons, made once at start and
// wired to each other and to the core: TForm1 with its menus, the settings
// dialog, the about box, the ID/password dialog, the details window, and
// the three tray icons TSOHO, TB1 and TB2.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "qt/desktop/qtview.h"
#include "qt/dialogs/settingsdialog.h"

namespace tarvik {

class UsageWindow;

class Browser;

class DesktopShell : public QObject {
  Q_OBJECT
 public:
  DesktopShell(EngineCommands& core, QtView& view, Browser& browser, SettingsDialog::SoundPlayer play,
               bool trayAvailable);
  ~DesktopShell() override;

  // FormCreate: [OPTION] ONSCREEN decides whether the window stays on top.
  void applyStayOnTop(bool onTop);
  // After the start-up load: the presentation's window setup.
  void applyLoadedSettings();
  // Shows the main window and the program's tray icon; with [OPTION] SIZE
  // the window is parked once, at its first showing.
  void show();

  void copyAddress(Channel ch);  // CopyIPtoClip / CopyIPtoClipB2
  // A second start of the program: the main window comes back from parking
  // or the task bar and to the front.
  void comeForward();

  const DesktopWindows& windows() const { return w_; }
  UsageWindow* usageWindow() const { return usage_; }
  bool trayAvailable() const { return trayAvailable_; }

 signals:
  // The close was allowed: the event loop may end.
  void finished();

 private:
  void setUpTray();
  void followMainWindow(bool minimised);
  void tellNoTrayOnce();

  EngineCommands& core_;
  QtView& view_;
  Browser& browser_;
  DesktopWindows w_;
  UsageWindow* usage_ = nullptr;  // 利用状況, made at the first opening
  bool trayAvailable_;
  bool toldNoTray_ = false;
  std::vector<QPointer<QWidget>> minimisedWithMain_;
};

}  // namespace tarvik

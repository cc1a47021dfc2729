#pragma once
// TForm1, "Tarvik": the small status window with the two channel boxes, the
// destination label, the status line and the three everyday buttons, its
// main menu, and the two menus it shares with the tray icon. What its menu
// items, clicks and parking do is the shared presentation's
// (desktop/mainpresenter.h); this window draws and moves itself and hands
// on, as signals, what the other windows must do.

#include <QMainWindow>
#include <array>
#include <functional>
#include <span>

#include "desktop/mainmenus.h"
#include "desktop/mainpresenter.h"
#include "desktop/mainwindowhost.h"
#include "engine/core/enginecommands.h"
#include "engine/ports/view.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tarvik {

class EngineCommands;
class ElidedLabel;

class MainWindow : public QMainWindow, private desktop::MainWindowHost {
  Q_OBJECT
 public:
  static constexpr int kParkedTop = desktop::kParkedTop;
  static constexpr int kClientWidth = 136;
  static constexpr int kClientHeight = 109;

  explicit MainWindow(EngineCommands& core, QWidget* parent = nullptr);

  // [OPTION] ONSCREEN, read when the window is created.
  void setStayOnTop(bool onTop);
  // [OPTION] left and top; top is also where the window comes back to. A
  // place that no screen shows is moved onto the nearest screen.
  void placeAt(int left, int top) { presenter_.parking().placeAt(left, top); }
  int rememberedTop() const { return presenter_.parking().rememberedTop(); }

  // Without a notification area the window must stay reachable: parking
  // then minimises it instead of moving it out of sight.
  void setTrayAvailable(bool available) { presenter_.setTrayAvailable(available); }

  void park() { presenter_.parking().park(); }
  // K4Click: also brings a window that no screen shows onto the nearest one.
  void bringBack() { presenter_.parking().bringBack(); }
  void restoreOnConnect() { presenter_.parking().restoreOnConnect(); }  // with restoreOnConnect
  bool isParked() const { return presenter_.parking().isParked(); }

  desktop::MainPresenter& presenter() { return presenter_; }

  // What the core shows.
  // False when the text is wider than the line and shows cut.
  bool setStatusLine(const QString& text);
  void setChannelText(Channel ch, const QString& text);
  void setDestinationLabel(const QString& text);
  void showCallerName(const QString& name, const QString& number);
  void clearCallerName();
  void setDestinationCaption(int index, const QString& caption);
  void setConnectHint(const QString& text);
  void setPanelColour(PanelColour colour);
  void setStrip(StripColour colour);
  void setJigenCaption(const QString& caption);
  void setMonitoringOff(bool off) override;  // monitoringOff greys the channel boxes

  // CopyIPtoClip: the channel's box gets the text, all of it selected, and
  // the selection goes to the clipboard.
  void copyToClipboard(Channel ch, const QString& text);

  QMenu* popupMenu1() const { return popup1_; }
  QMenu* popupMenu2() const { return popup2_; }
  // The two items that dial destination n (main menu, pop-up menu).
  std::array<QAction*, 2> destinationActions(int n) const { return destinationActions_.at(n); }

  // Runs before each close request, to add the other windows' state (the
  // details window's geometry) to what the close request hands the engine.
  void setWindowStateWriter(std::function<void(WindowPlacement&)> writer) {
    writeWindowState_ = std::move(writer);
  }

  // The session ends (logout, shutdown, SIGTERM): the window state goes into
  // the settings as at a close request, the core saves it and tears down
  // without asking anything, and closed() is emitted. Once only.
  void endSession();

 signals:
  void configRequested();
  void detailsRequested();
  void aboutRequested();
  void usageRequested();
  void trayIconRequested();  // the program's tray icon is to be shown
  void addressCopyRequested(tarvik::Channel ch);
  void detailsPlacementLoaded(const QRect& geometry);
  void settingsFormLoadRequested();
  void closed();  // the close was allowed: the program ends
  // The window was minimised (by 接続先 or its title bar) or restored: the
  // whole program goes with it.
  void minimisedChanged(bool minimised);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void addItems(QMenu* menu, std::span<const MenuItem> items);
  QAction* makeAction(QMenu* menu, const MenuItem& item);
  QLineEdit* channelBox(Channel ch) const { return ch == Channel::B1 ? edit1_ : edit2_; }
  // Where the windows stand now, for a close request or the session end.
  WindowPlacement takeWindowState();

  // MainWindowHost
  int windowLeft() const override { return x(); }
  int windowTop() const override { return y(); }
  void moveWindow(int left, int top) override { move(left, top); }
  void keepReachable() override;
  bool isMinimised() const override { return isMinimized(); }
  void minimiseApplication() override { showMinimized(); }
  void restoreWindow(bool activate) override;
  void bringToFront() override;
  void showWindow() override { show(); }
  void requestClose() override { close(); }
  void openSettings() override { emit configRequested(); }
  void openDetails() override;  // K7Click presses Button3
  void openAbout() override { emit aboutRequested(); }
  void openUsage() override { emit usageRequested(); }
  void setTimeSwitchCaption(const std::string& caption) override;
  void setTimeSwitchChecked(bool checked) override;
  void showTrayIcon() override { emit trayIconRequested(); }
  void copyAddress(Channel ch) override { emit addressCopyRequested(ch); }
  void placeDetails(const desktop::WindowGeometry& g) override;
  void loadSettingsForm() override { emit settingsFormLoadRequested(); }
  std::string manualPath() const override;
  void showError(const std::string& text) override;

  EngineCommands& core_;
  desktop::MainPresenter presenter_{core_, *this};
  QWidget* client_ = nullptr;
  QFrame* panel1_ = nullptr;
  QFrame* panel2_ = nullptr;
  ElidedLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  ElidedLabel* label4_ = nullptr;
  ElidedLabel* nameDisplay_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QPushButton* connectBtn_ = nullptr;
  QPushButton* discBtn_ = nullptr;
  QPushButton* button3_ = nullptr;
  QMenu* popup1_ = nullptr;
  QMenu* popup2_ = nullptr;
  QAction* jigen_ = nullptr;
  std::array<std::array<QAction*, 2>, 16> destinationActions_{};
  std::array<int, 16> destinationActionCount_{};
  std::function<void(WindowPlacement&)> writeWindowState_;
  bool ended_ = false;
};

}  // namespace tarvik

#pragma once
// TForm1, "Tarvik": the small status window with the two channel boxes, the
// destination label, the status line and the three everyday buttons, its
// main menu, and the two menus it shares with the tray icon. It can be
// parked off-screen (top edge -300) instead of being closed.

#include <QMainWindow>
#include <array>
#include <functional>
#include <span>

#include "engine/core/enginecommands.h"
#include "desktop/mainmenus.h"
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

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kParkedTop = -300;
  static constexpr int kClientWidth = 136;
  static constexpr int kClientHeight = 109;

  explicit MainWindow(EngineCommands& core, QWidget* parent = nullptr);

  // [OPTION] ONSCREEN, read when the window is created.
  void setStayOnTop(bool onTop);
  // [OPTION] left and top; top is also where the window comes back to. A
  // place that no screen shows is moved onto the nearest screen.
  void placeAt(int left, int top);
  int rememberedTop() const { return rememberedTop_; }

  // Without a notification area the window must stay reachable: parking
  // then minimises it instead of moving it out of sight.
  void setTrayAvailable(bool available) { trayAvailable_ = available; }

  void park();
  // K4Click: also brings a window that no screen shows onto the nearest one.
  void bringBack();
  void restoreOnConnect();  // on a connection, with restoreOnConnect
  bool isParked() const { return parked_; }

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
  void setMonitoringOff(bool off);  // monitoringOff greys the channel boxes

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
  void helpRequested();
  void programPageRequested();
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
  void run(MenuAct act, int value);
  QLineEdit* channelBox(Channel ch) const { return ch == Channel::B1 ? edit1_ : edit2_; }
  // Moves the window onto the nearest screen when no screen shows it.
  void keepReachable();
  // Where the windows stand now, for a close request or the session end.
  WindowPlacement takeWindowState();

  EngineCommands& core_;
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
  int rememberedTop_ = 0;
  bool parked_ = false;
  bool trayAvailable_ = true;
  bool ended_ = false;
};

}  // namespace tarvik

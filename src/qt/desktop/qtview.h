#pragma once
// The desktop program's View and Prompter: what the core decides to show,
// rendered into the main window, the tray icons, the details window, the
// settings dialog and the about box; the core's two questions as dialogs
// that answer without blocking the core.

#include <QObject>

#include "qt/adapters/desktopnotifier.h"
#include "engine/ports/prompter.h"
#include "engine/ports/view.h"

namespace tarvik {

class AboutBox;
class EngineCommands;
class CredentialsDialog;
class DetailsWindow;
class MainWindow;
class SettingsDialog;
class TTaskBar;

struct DesktopWindows {
  MainWindow* main = nullptr;
  DetailsWindow* details = nullptr;
  SettingsDialog* settings = nullptr;
  AboutBox* about = nullptr;
  CredentialsDialog* credentials = nullptr;
  TTaskBar* TSOHO = nullptr;
  TTaskBar* TB1 = nullptr;
  TTaskBar* TB2 = nullptr;
};

class QtView : public QObject, public View, public Prompter {
  Q_OBJECT
 public:
  QtView();

  // The core is made before the windows (they need it); the view reaches
  // them once both exist. Until then what the core shows is dropped.
  void attach(EngineCommands& core, const DesktopWindows& windows);
  // The windows are going away: from now on what the core shows is dropped.
  void detach() { w_ = DesktopWindows{}; }

  // View
  void setStatusLine(const std::string& text) override;
  void setChannelText(Channel ch, const std::string& text) override;
  void setDestinationLabel(const std::string& text) override;
  void showCallerName(const std::string& name, const std::string& number) override;
  void clearCallerName() override;
  void setMainTip(const std::string& text) override;
  void setChannelTip(Channel ch, const std::string& text) override;
  void setChannelIconVisible(Channel ch, bool visible) override;
  void setDestinationCaption(int index, const std::string& caption) override;
  void setDestinationList(const std::vector<std::string>& entries) override;
  void setConnectHint(const std::string& text) override;
  void appendDetails(const std::string& line) override;
  void clearDetails() override;
  void setPanelColour(PanelColour colour) override;
  void setStrip(StripColour colour) override;
  void parkWindow() override;
  void restoreWindow() override;
  void setRouterVersion(const std::string& banner) override;
  void setJigenCaption(const std::string& caption) override;
  void requestClose() override;
  void showError(const std::string& text) override;
  // Through the desktop's notification service, else the tray icon's message.
  void notify(const Notice& notice) override;

  // Prompter
  void askCredentials(const std::string& lastUserId) override;
  void askDisconnectOnExit() override;

 private:
  TTaskBar* channelIcon(Channel ch) const;

  EngineCommands* core_ = nullptr;
  DesktopWindows w_;
  DesktopNotifier notifier_;
};

}  // namespace tarvik

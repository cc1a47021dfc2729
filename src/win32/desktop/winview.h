#pragma once
// The Windows desktop program's View and Prompter: what the core decides to
// show, drawn into the main window, the tray icons and the dialogs; the
// core's two questions as boxes that answer later. Boxes and the close the
// core asks for open from the message loop, never from inside the core's
// own handling of a router answer.

#include <functional>
#include <string>
#include <vector>

#include "engine/ports/prompter.h"
#include "engine/ports/view.h"

namespace tarvik {
class EngineCommands;
}

namespace tarvik::win32 {

class MainWindow;
class MessageWindow;
class TTaskBar;

class WinView : public View, public Prompter {
 public:
  struct Windows {
    MainWindow* main = nullptr;
    TTaskBar* TSOHO = nullptr;
    TTaskBar* TB1 = nullptr;
    TTaskBar* TB2 = nullptr;
  };
  // What goes to the dialogs (details window, settings dialog, about box,
  // ID/password dialog); an empty hook drops it.
  struct DialogHooks {
    std::function<void(const std::string&)> appendDetails;
    std::function<void()> clearDetails;
    std::function<void(const std::vector<std::string>&)> setDestinationList;
    std::function<void(const std::string&)> setRouterVersion;
    std::function<void(const std::string& sjisLastUserId)> askCredentials;
  };

  explicit WinView(MessageWindow& loop) : loop_(loop) {}

  // The core is made before the windows (they need it); the view reaches
  // them once both exist. Until then, and after detach(), what the core
  // shows is dropped.
  void attach(EngineCommands& core, const Windows& windows);
  void setDialogHooks(DialogHooks hooks) { dialogs_ = std::move(hooks); }
  void detach();

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
  void notify(const Notice& notice) override;  // a balloon from the program's tray icon

  // Prompter
  void askCredentials(const std::string& lastUserId) override;
  void askDisconnectOnExit() override;

 private:
  TTaskBar* channelIcon(Channel ch) const { return ch == Channel::B1 ? w_.TB1 : w_.TB2; }

  MessageWindow& loop_;
  EngineCommands* core_ = nullptr;
  Windows w_;
  DialogHooks dialogs_;
};

}  // namespace tarvik::win32

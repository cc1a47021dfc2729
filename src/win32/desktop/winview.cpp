#include "win32/desktop/winview.h"

#include "engine/core/enginecommands.h"
#include "win32/desktop/balloonicon.h"
#include "win32/desktop/mainwindow.h"
#include "win32/desktop/messagebox.h"
#include "win32/desktop/taskbar.h"
#include "win32/messagewindow.h"

namespace tarvik::win32 {

void WinView::attach(EngineCommands& core, const Windows& windows) {
  core_ = &core;
  w_ = windows;
}

void WinView::detach() {
  core_ = nullptr;
  w_ = Windows{};
  dialogs_ = DialogHooks{};
}

void WinView::setStatusLine(const std::string& text) {
  if (!w_.main) return;
  // Our own texts fit the line; a router message that does not is also
  // written whole into the details window, where it can be read later.
  if (!w_.main->setStatusLine(text) && dialogs_.appendDetails) dialogs_.appendDetails(text);
}

void WinView::setChannelText(Channel ch, const std::string& text) {
  if (w_.main) w_.main->setChannelText(ch, text);
}

void WinView::setDestinationLabel(const std::string& text) {
  if (w_.main) w_.main->setDestinationLabel(text);
}

void WinView::showCallerName(const std::string& name, const std::string& number) {
  if (w_.main) w_.main->showCallerName(name, number);
}

void WinView::clearCallerName() {
  if (w_.main) w_.main->clearCallerName();
}

void WinView::setMainTip(const std::string& text) {
  if (w_.TSOHO) w_.TSOHO->setTips(text);
}

void WinView::setChannelTip(Channel ch, const std::string& text) {
  if (TTaskBar* icon = channelIcon(ch)) icon->setTips(text);
}

void WinView::setChannelIconVisible(Channel ch, bool visible) {
  TTaskBar* icon = channelIcon(ch);
  if (icon && icon->enableTaskTray() != visible) icon->setEnableTaskTray(visible);
}

void WinView::setDestinationCaption(int index, const std::string& caption) {
  if (w_.main) w_.main->setDestinationCaption(index, caption);
}

void WinView::setDestinationList(const std::vector<std::string>& entries) {
  if (dialogs_.setDestinationList) dialogs_.setDestinationList(entries);
}

void WinView::setConnectHint(const std::string& text) {
  if (w_.main) w_.main->setConnectHint(text);
}

void WinView::appendDetails(const std::string& line) {
  if (dialogs_.appendDetails) dialogs_.appendDetails(line);
}

void WinView::clearDetails() {
  if (dialogs_.clearDetails) dialogs_.clearDetails();
}

void WinView::setPanelColour(PanelColour colour) {
  if (w_.main) w_.main->setPanelColour(colour);
}

void WinView::setStrip(StripColour colour) {
  if (w_.main) w_.main->setStrip(colour);
}

void WinView::parkWindow() {
  if (w_.main) w_.main->park();
}

void WinView::restoreWindow() {
  if (w_.main) w_.main->restoreOnConnect();
}

void WinView::setRouterVersion(const std::string& banner) {
  if (dialogs_.setRouterVersion) dialogs_.setRouterVersion(banner);
}

void WinView::setJigenCaption(const std::string& caption) {
  if (w_.main) w_.main->setJigenCaption(caption);
}

void WinView::requestClose() {
  // Asked from inside the core's handling of a router answer: the close
  // request runs once that handling has returned.
  loop_.post([this] {
    if (w_.main) w_.main->requestClose();
  });
}

void WinView::showError(const std::string& text) {
  // The box belongs to no window, so it opens in the middle of the screen
  // wherever the main window is (parked, minimised).
  loop_.post([text] { errorBox(nullptr, text); });
}

void WinView::notify(const Notice& notice) {
  if (w_.TSOHO) w_.TSOHO->showBalloon(notice.title, notice.text, balloonIconOf(notice.kind));
}

void WinView::askCredentials(const std::string& lastUserId) {
  if (dialogs_.askCredentials) {
    dialogs_.askCredentials(lastUserId);
  } else if (core_) {
    EngineCommands* core = core_;
    loop_.post([core] { core->CredentialsCancelled(); });
  }
}

void WinView::askDisconnectOnExit() {
  if (!core_) return;
  loop_.post([this] {
    const bool ok = askDisconnect(w_.main ? w_.main->hwnd() : nullptr);
    if (core_) core_->DisconnectQuestionAnswered(ok);
  });
}

}  // namespace tarvik::win32

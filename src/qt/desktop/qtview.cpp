#include "qt/desktop/qtview.h"

#include <QStringList>

#include "qt/desktop/mainwindow.h"
#include "engine/base/sjis.h"
#include "qt/dialogs/settingsdialog.h"
#include "qt/tray/taskbar.h"
#include "qt/windows/aboutbox.h"
#include "engine/core/enginecommands.h"
#include "qt/windows/credentialsdialog.h"
#include "qt/windows/detailswindow.h"
#include "qt/windows/messageboxes.h"

namespace tarvik {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

void QtView::attach(EngineCommands& core, const DesktopWindows& windows) {
  core_ = &core;
  w_ = windows;
  if (w_.credentials) {
    connect(w_.credentials, &CredentialsDialog::entered, this, [this](const QString& id, const QString& pw) {
      core_->CredentialsEntered(toSjis(id.toStdString()), toSjis(pw.toStdString()));
    });
    connect(w_.credentials, &CredentialsDialog::cancelled, this, [this] { core_->CredentialsCancelled(); });
  }
}

void QtView::setStatusLine(const std::string& text) {
  if (!w_.main) return;
  // Our own texts fit the line; a router message that does not is also
  // written whole into the details window, where it can be read later.
  if (!w_.main->setStatusLine(q(text)) && w_.details) w_.details->appendLine(q(text));
}

void QtView::setChannelText(Channel ch, const std::string& text) {
  if (w_.main) w_.main->setChannelText(ch, q(text));
}

void QtView::setDestinationLabel(const std::string& text) {
  if (w_.main) w_.main->setDestinationLabel(q(text));
}

void QtView::showCallerName(const std::string& name, const std::string& number) {
  if (w_.main) w_.main->showCallerName(q(name), q(number));
}

void QtView::clearCallerName() {
  if (w_.main) w_.main->clearCallerName();
}

void QtView::setMainTip(const std::string& text) {
  if (w_.TSOHO) w_.TSOHO->setTips(q(text));
}

TTaskBar* QtView::channelIcon(Channel ch) const { return ch == Channel::B1 ? w_.TB1 : w_.TB2; }

void QtView::setChannelTip(Channel ch, const std::string& text) {
  if (TTaskBar* icon = channelIcon(ch)) icon->setTips(q(text));
}

void QtView::setChannelIconVisible(Channel ch, bool visible) {
  TTaskBar* icon = channelIcon(ch);
  if (icon && icon->enableTaskTray() != visible) icon->setEnableTaskTray(visible);
}

void QtView::setDestinationCaption(int index, const std::string& caption) {
  if (w_.main) w_.main->setDestinationCaption(index, q(caption));
}

void QtView::setDestinationList(const std::vector<std::string>& entries) {
  if (!w_.settings) return;
  QStringList list;
  for (const std::string& entry : entries) list << q(entry);
  w_.settings->setDestinationList(list);
}

void QtView::setConnectHint(const std::string& text) {
  if (w_.main) w_.main->setConnectHint(q(text));
}

void QtView::appendDetails(const std::string& line) {
  if (w_.details) w_.details->appendLine(q(line));
}

void QtView::clearDetails() {
  if (w_.details) w_.details->clearText();
}

void QtView::setPanelColour(PanelColour colour) {
  if (w_.main) w_.main->setPanelColour(colour);
}

void QtView::setStrip(StripColour colour) {
  if (w_.main) w_.main->setStrip(colour);
}

void QtView::parkWindow() {
  if (w_.main) w_.main->park();
}

void QtView::restoreWindow() {
  if (w_.main) w_.main->restoreOnConnect();
}

void QtView::setRouterVersion(const std::string& banner) {
  if (w_.about) w_.about->setRouterVersion(q(banner));
}

void QtView::setJigenCaption(const std::string& caption) {
  if (w_.main) w_.main->setJigenCaption(q(caption));
}

void QtView::requestClose() {
  // Asked from inside the core's own handling of a router answer: close
  // once that handling has returned.
  if (w_.main) QMetaObject::invokeMethod(w_.main, &QWidget::close, Qt::QueuedConnection);
}

// The boxes belong to no window, so they open in the middle of the screen
// wherever the main window is (parked, minimised).
void QtView::showError(const std::string& text) { showErrorBox(nullptr, q(text)); }

QtView::QtView()
    : notifier_([this](const QString& title, const QString& text) {
        if (w_.TSOHO) w_.TSOHO->trayIcon()->showMessage(title, text);
      }) {}

void QtView::notify(const Notice& notice) { notifier_.notify(q(notice.title), q(notice.text)); }

void QtView::askCredentials(const std::string& lastUserId) {
  if (w_.credentials) {
    // The last user ID comes from the settings, as Shift-JIS.
    w_.credentials->ask(QString::fromStdString(toUtf8(lastUserId)));
  } else if (core_) {
    core_->CredentialsCancelled();
  }
}

void QtView::askDisconnectOnExit() {
  if (!core_) return;
  tarvik::askDisconnectOnExit(nullptr, [this](bool ok) { core_->DisconnectQuestionAnswered(ok); });
}

}  // namespace tarvik

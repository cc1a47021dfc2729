#include "qt/desktop/desktopshell.h"

#include <QApplication>

#include "qt/desktop/mainwindow.h"
#include "engine/base/sjis.h"
#include "engine/ports/browser.h"
#include "qt/tray/channelicon.h"
#include "qt/tray/taskbar.h"
#include "qt/windows/aboutbox.h"
#include "engine/core/enginecommands.h"
#include "qt/windows/credentialsdialog.h"
#include "qt/windows/detailswindow.h"
#include "qt/windows/messageboxes.h"
#include "qt/windows/usagewindow.h"

namespace tarvik {
namespace {


QString noTrayText() {
  return QStringLiteral(
      "通知領域(タスクトレイ)が見つかりません。\n"
      "Tarvikのウィンドウは画面外へ移動せず、最小化してタスクバーに残します。");
}

}  // namespace

DesktopShell::DesktopShell(EngineCommands& core, QtView& view, Browser& browser,
                           SettingsDialog::SoundPlayer play, bool trayAvailable)
    : core_(core), view_(view), browser_(browser), trayAvailable_(trayAvailable) {
  // The windows in the order the program makes them.
  w_.main = new MainWindow(core_);
  w_.settings = new SettingsDialog(core_, std::move(play));
  w_.about = new AboutBox;
  w_.credentials = new CredentialsDialog;
  w_.details = new DetailsWindow(core_);
  w_.main->setWindowIcon(QApplication::windowIcon());
  w_.main->setTrayAvailable(trayAvailable_);

  MainWindow* main = w_.main;
  connect(main, &MainWindow::configRequested, w_.settings, &SettingsDialog::openDialog);
  connect(main, &MainWindow::detailsRequested, this, [this] {
    w_.details->show();
    w_.details->raise();
    w_.details->activateWindow();
  });
  connect(main, &MainWindow::aboutRequested, w_.about, &AboutBox::showModal);
  connect(main, &MainWindow::usageRequested, this, [this] {
    if (!usage_) {
      usage_ = new UsageWindow(core_.files().directory());
      usage_->setTariffSource([this] { return tariffOf(core_.settings()); });
    }
    usage_->openWindow();
  });
  connect(main, &MainWindow::trayIconRequested, this, [this] {
    // The program lives in the tray: no taskbar button while the tray is there.
    if (trayAvailable_) w_.TSOHO->setEnableTaskBar(false);
    w_.TSOHO->setEnableTaskTray(true);
  });
  connect(main, &MainWindow::addressCopyRequested, this, &DesktopShell::copyAddress);
  connect(main, &MainWindow::detailsPlacementLoaded, this, [this](const QRect& g) {
    w_.details->applyGeometry(g.x(), g.y(), g.width(), g.height());
  });
  connect(main, &MainWindow::settingsFormLoadRequested, w_.settings, &SettingsDialog::loadFromStore);
  main->presenter().setBrowser(&browser_);
  connect(main, &MainWindow::closed, this, &DesktopShell::finished);
  connect(main, &MainWindow::minimisedChanged, this, &DesktopShell::followMainWindow);
  connect(w_.settings, &SettingsDialog::monitoringOffChanged, main, &MainWindow::setMonitoringOff);
  connect(w_.settings, &SettingsDialog::connectHintChanged, main, &MainWindow::setConnectHint);
  main->setWindowStateWriter([this](WindowPlacement& placement) {
    const QRect g = w_.details->savedGeometry();
    placement.left2 = g.x();
    placement.top2 = g.y();
    placement.Width2 = g.width();
    placement.Height2 = g.height();
  });

  setUpTray();
  view_.attach(core_, w_);
}

DesktopShell::~DesktopShell() {
  view_.detach();
  // The tray icons go first, so none is left in the notification area.
  delete w_.TB2;
  delete w_.TB1;
  delete w_.TSOHO;
  delete usage_;
  delete w_.details;
  delete w_.credentials;
  delete w_.about;
  delete w_.settings;
  delete w_.main;
}

void DesktopShell::setUpTray() {
  w_.TSOHO = new TTaskBar;
  w_.TSOHO->setObjectName(QStringLiteral("TSOHO"));
  w_.TSOHO->setIcon(QApplication::windowIcon());
  w_.TSOHO->setTaskBarWindow(w_.main);

  const struct {
    TTaskBar** icon;
    const char* name;
    const char* label;
  } channels[] = {{&w_.TB1, "TB1", "B1"}, {&w_.TB2, "TB2", "B2"}};
  for (const auto& c : channels) {
    auto* icon = new TTaskBar;
    icon->setObjectName(QString::fromLatin1(c.name));
    icon->setIcon(channelIcon(QString::fromLatin1(c.label)));
    *c.icon = icon;
  }

  // Which press and release on which icon does what is the presentation's.
  const std::pair<desktop::TrayIcon, TTaskBar*> icons[] = {
      {desktop::TrayIcon::TSOHO, w_.TSOHO}, {desktop::TrayIcon::TB1, w_.TB1}, {desktop::TrayIcon::TB2, w_.TB2}};
  auto menu = [this](desktop::TrayIcon icon, desktop::TrayButton button) -> QMenu* {
    const auto which = desktop::trayMenuOnRelease(icon, button);
    if (!which) return nullptr;
    return *which == desktop::TrayMenu::PopupMenu1 ? w_.main->popupMenu1() : w_.main->popupMenu2();
  };
  for (const auto& [id, icon] : icons) {
    icon->setPopupMenuLeft(menu(id, desktop::TrayButton::Left));
    icon->setPopupMenuMiddle(menu(id, desktop::TrayButton::Middle));
    icon->setPopupMenuRight(menu(id, desktop::TrayButton::Right));
    connect(icon, &TTaskBar::OnTrayClick, this, [this, id](TTaskBar::MouseButton b) {
      const desktop::TrayButton button = b == TTaskBar::MouseButton::Left    ? desktop::TrayButton::Left
                                         : b == TTaskBar::MouseButton::Right ? desktop::TrayButton::Right
                                                                             : desktop::TrayButton::Middle;
      w_.main->presenter().trayPressed(id, button);
    });
  }
}

// Minimising the main window minimises the whole program: the other open
// windows go with it and come back with it.
void DesktopShell::followMainWindow(bool minimised) {
  if (minimised) {
    minimisedWithMain_.clear();
    for (QWidget* w : {static_cast<QWidget*>(w_.settings), static_cast<QWidget*>(w_.details),
                       static_cast<QWidget*>(w_.about), static_cast<QWidget*>(w_.credentials)}) {
      if (w && w->isVisible() && !w->isMinimized()) {
        w->showMinimized();
        minimisedWithMain_.push_back(w);
      }
    }
    return;
  }
  for (const QPointer<QWidget>& w : minimisedWithMain_) {
    if (w && w->isVisible() && w->isMinimized()) w->showNormal();
  }
  minimisedWithMain_.clear();
}

void DesktopShell::applyStayOnTop(bool onTop) { w_.main->setStayOnTop(onTop); }

void DesktopShell::applyLoadedSettings() { w_.main->presenter().applyLoadedSettings(); }

void DesktopShell::show() {
  w_.main->presenter().showAtStart();
  if (!trayAvailable_) tellNoTrayOnce();
}

void DesktopShell::tellNoTrayOnce() {
  if (toldNoTray_) return;
  toldNoTray_ = true;
  showInformationBox(nullptr, noTrayText());
}

void DesktopShell::comeForward() { w_.main->bringBack(); }

void DesktopShell::copyAddress(Channel ch) {
  TTaskBar* icon = ch == Channel::B1 ? w_.TB1 : w_.TB2;
  w_.main->copyToClipboard(ch, icon->tips());
}

}  // namespace tarvik

#include "qt/tray/taskbar.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"

namespace tarvik {
namespace {

QString cutTip(const QString& text, int maxBytes) {
  const std::string sjis = toSjis(text.toStdString());
  return QString::fromStdString(toUtf8(sjisCut(sjis, static_cast<std::size_t>(maxBytes))));
}

}  // namespace

TTaskBar::TTaskBar(QObject* parent) : QObject(parent), tray_(new QSystemTrayIcon(this)) {
  connect(tray_, &QSystemTrayIcon::activated, this, &TTaskBar::onActivated);
  updateTrayIcon();
}

TTaskBar::~TTaskBar() { tray_->hide(); }

void TTaskBar::setIcon(const QIcon& icon) {
  icon_ = icon;
  updateTrayIcon();
}

QIcon TTaskBar::shownIcon() const { return icon_.isNull() ? QApplication::windowIcon() : icon_; }

void TTaskBar::setEnableTaskBar(bool enable) {
  enableTaskBar_ = enable;
  QWidget* window = taskBarWindow_.data();
  if (!window) return;
  // A tool window has no taskbar entry on the desktops that honour it.
  const bool wasVisible = window->isVisible();
  window->setWindowFlag(Qt::Tool, !enable);
  if (wasVisible) window->show();
}

void TTaskBar::setEnableTaskTray(bool enable) {
  enableTaskTray_ = enable;
  if (enable) {
    updateTrayIcon();
    tray_->show();
  } else {
    tray_->hide();
  }
}

bool TTaskBar::isIconShown() const { return tray_->isVisible(); }

void TTaskBar::setTips(const QString& tips) {
  tips_ = cutTip(tips, kMaxTipBytes);
  updateTrayIcon();
}

QString TTaskBar::shownTip() const { return cutTip(tips_, kShownTipBytes); }

void TTaskBar::setPopupMenuRight(QMenu* menu) {
  popupRight_ = menu;
  // The platform opens the context menu itself, where it knows the place.
  tray_->setContextMenu(menu);
}

void TTaskBar::updateTrayIcon() {
  tray_->setIcon(shownIcon());
  tray_->setToolTip(shownTip());
}

void TTaskBar::press(MouseButton button) {
  emit OnTrayClick(button);
  QMenu* menu = nullptr;
  switch (button) {
    case MouseButton::Left:
      menu = popupLeft_;
      break;
    case MouseButton::Middle:
      menu = popupMiddle_;
      break;
    case MouseButton::Right:
      menu = popupRight_;
      break;
  }
  if (!menu) return;
  if (QWidget* window = taskBarWindow_.data()) window->activateWindow();
  menu->popup(QCursor::pos());
}

void TTaskBar::onActivated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      press(MouseButton::Left);
      break;
    case QSystemTrayIcon::MiddleClick:
      press(MouseButton::Middle);
      break;
    case QSystemTrayIcon::Context:
      // The context menu is already opened by the platform.
      emit OnTrayClick(MouseButton::Right);
      break;
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::Unknown:
      break;
  }
}

}  // namespace tarvik

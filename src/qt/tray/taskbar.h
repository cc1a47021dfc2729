#pragma once
// TTaskBar: one icon in the notification area, with its image, its tip, a
// click event and the menus that open from it. The main window holds three:
// TSOHO (the program), TB1 and TB2 (the channels, shown while in use).

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

namespace tarvik {

class TTaskBar : public QObject {
  Q_OBJECT
 public:
  enum class MouseButton { Left, Right, Middle };
  Q_ENUM(MouseButton)

  // The longest tip kept, and the part of it the icon shows (bytes of the
  // Shift-JIS text; a double-byte character is never split).
  static constexpr int kMaxTipBytes = 255;
  static constexpr int kShownTipBytes = 63;

  explicit TTaskBar(QObject* parent = nullptr);
  ~TTaskBar() override;

  // An empty image shows the application's own icon.
  void setIcon(const QIcon& icon);
  QIcon icon() const { return icon_; }
  QIcon shownIcon() const;

  // Whether the program's taskbar button is shown. Acts on the window given
  // by setTaskBarWindow (the main window), keeping it visible as it was.
  void setEnableTaskBar(bool enable);
  bool enableTaskBar() const { return enableTaskBar_; }
  void setTaskBarWindow(QWidget* window) { taskBarWindow_ = window; }

  // Whether the icon is in the notification area.
  void setEnableTaskTray(bool enable);
  bool enableTaskTray() const { return enableTaskTray_; }
  bool isIconShown() const;

  void setTips(const QString& tips);
  QString tips() const { return tips_; }
  QString shownTip() const;

  void setPopupMenuLeft(QMenu* menu) { popupLeft_ = menu; }
  void setPopupMenuMiddle(QMenu* menu) { popupMiddle_ = menu; }
  void setPopupMenuRight(QMenu* menu);
  QMenu* popupMenuLeft() const { return popupLeft_; }
  QMenu* popupMenuMiddle() const { return popupMiddle_; }
  QMenu* popupMenuRight() const { return popupRight_; }

  // What a press on the icon does: raise OnTrayClick, then open the menu of
  // that button at the cursor. Public so that tests can press the icon.
  void press(MouseButton button);

  QSystemTrayIcon* trayIcon() const { return tray_; }

 signals:
  void OnTrayClick(tarvik::TTaskBar::MouseButton button);

 private:
  void onActivated(QSystemTrayIcon::ActivationReason reason);
  void updateTrayIcon();

  QSystemTrayIcon* tray_;
  QIcon icon_;
  QString tips_;
  bool enableTaskBar_ = true;
  bool enableTaskTray_ = false;
  QPointer<QWidget> taskBarWindow_;
  QPointer<QMenu> popupLeft_, popupMiddle_, popupRight_;
};

}  // namespace tarvik

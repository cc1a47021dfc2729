#include "desktop/trayrules.h"

namespace tarvik::desktop {
namespace {

struct TrayRule {
  TrayIcon icon;
  std::optional<TrayMenu> left, right, middle;  // on release
  std::optional<Channel> copiesOnPress;
};

constexpr TrayRule kRules[] = {
    {TrayIcon::TSOHO, TrayMenu::PopupMenu2, TrayMenu::PopupMenu1, TrayMenu::PopupMenu1, std::nullopt},
    {TrayIcon::TB1, std::nullopt, std::nullopt, std::nullopt, Channel::B1},
    {TrayIcon::TB2, std::nullopt, std::nullopt, std::nullopt, Channel::B2},
};

const TrayRule& ruleOf(TrayIcon icon) {
  for (const TrayRule& rule : kRules) {
    if (rule.icon == icon) return rule;
  }
  return kRules[0];
}

}  // namespace

std::optional<TrayMenu> trayMenuOnRelease(TrayIcon icon, TrayButton button) {
  const TrayRule& rule = ruleOf(icon);
  switch (button) {
    case TrayButton::Left:
      return rule.left;
    case TrayButton::Right:
      return rule.right;
    case TrayButton::Middle:
      return rule.middle;
  }
  return std::nullopt;
}

std::optional<Channel> trayAddressOnPress(TrayIcon icon) { return ruleOf(icon).copiesOnPress; }

}  // namespace tarvik::desktop

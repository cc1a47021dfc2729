#pragma once
// The tray mouse rules, written once: which press or release on which of
// the three icons does what. TSOHO, the program's icon, opens the short
// menu (PopupMenu2) on the left button's release and the large one
// (PopupMenu1) on the middle and right buttons'; TB1 and TB2, the channel
// icons, copy their channel's address on any press and open no menu.

#include <optional>

#include "engine/ports/view.h"

namespace tarvik::desktop {

enum class TrayIcon { TSOHO, TB1, TB2 };
enum class TrayButton { Left, Right, Middle };
enum class TrayMenu { PopupMenu1, PopupMenu2 };

inline constexpr TrayIcon kTrayIcons[] = {TrayIcon::TSOHO, TrayIcon::TB1, TrayIcon::TB2};
inline constexpr TrayButton kTrayButtons[] = {TrayButton::Left, TrayButton::Right, TrayButton::Middle};

// The menu a button's release on the icon opens, if any.
std::optional<TrayMenu> trayMenuOnRelease(TrayIcon icon, TrayButton button);
// The channel whose address a press on the icon copies, if any.
std::optional<Channel> trayAddressOnPress(TrayIcon icon);

}  // namespace tarvik::desktop

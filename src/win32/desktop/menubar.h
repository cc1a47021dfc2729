#pragma once
// The main window's menus as Win32 menus, built from the shared tables
// (mainmenus.h): the main menu (MainMenu1), the window's and the tray's
// context menu (PopupMenu1) and the tray's left-button menu (PopupMenu2).
// An item's command id is its command's number in the shared tables
// (menuCommands()), so the same action in two menus has the same id.

#include <windows.h>

#include <string>

#include "desktop/mainmenus.h"

namespace tarvik::win32 {

class MenuBar {
 public:
  MenuBar();
  ~MenuBar();  // PopupMenu1 and PopupMenu2; MainMenu1 goes with the window it is set on
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  HMENU mainMenu() const { return main_; }
  HMENU popupMenu1() const { return popup1_; }
  HMENU popupMenu2() const { return popup2_; }

  static UINT commandId(const MenuItem& item);
  // The first item with this act and value (a destination, ﾍﾙﾌﾟ, 時限切断).
  static UINT commandId(MenuAct act, int value = 0);
  // The row an id stands for; none for an id that is no menu item's.
  static const MenuItem* command(UINT id);

  // The caption (UTF-8) of both items that dial destination index.
  void setDestinationCaption(int index, const std::string& caption);
  void setJigen(const std::string& caption, bool checked);
  // The caption of an item as the menus show it (tests, the e2e probes).
  std::wstring caption(HMENU menu, UINT id) const;

  // The id the F1 key sends (ﾍﾙﾌﾟ).
  static UINT helpId() { return commandId(MenuAct::Help); }

 private:
  HMENU main_ = nullptr;
  HMENU popup1_ = nullptr;
  HMENU popup2_ = nullptr;
};

}  // namespace tarvik::win32

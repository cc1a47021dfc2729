#pragma once
// The menus of the main window, item by item: the main menu (MainMenu1),
// the window's and the tray's context menu (PopupMenu1) and the tray's
// left-button menu (PopupMenu2). Written once, as data; each desktop front
// end (Qt on Linux, Win32 on Windows) builds its menus from these tables.

#include <span>

#include "engine/core/enginecommands.h"

namespace tarvik {

enum class MenuAct {
  Submenu,
  Separator,
  Destination,  // value: the destination number it dials
  RouterPage,   // value: the router page number
  B1Disc,
  B2Disc,
  Exit,
  Config,
  Help,
  About,
  ProgramPage,
  BringBack,
  Jigen,
  Connect,
  Disconnect,
  Details,
  Usage,  // the usage window
};

struct MenuItem {
  const char* name;
  const char* caption;
  MenuAct act;
  int value = 0;
  std::span<const MenuItem> children = {};
};

std::span<const MenuItem> mainMenuItems();    // File1, KS1, K2
std::span<const MenuItem> popupMenu1Items();  // PopupMenu1
std::span<const MenuItem> popupMenu2Items();  // PopupMenu2

// Runs an item that only asks the engine (dial a destination, open a
// router page, drop B1 or B2, connect, disconnect). False for the items
// whose effect is the front end's own (windows, close, the time switch).
bool runEngineAct(EngineCommands& core, MenuAct act, int value);

}  // namespace tarvik

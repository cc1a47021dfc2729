#pragma once
// The menus of the main window, item by item: the main menu (MainMenu1),
// the window's and the tray's context menu (PopupMenu1) and the tray's
// left-button menu (PopupMenu2). Written once, as data; each desktop front
// end (Qt on Linux, Win32 on Windows) builds its menus from these tables
// and hands every picked item to the presentation (desktop/mainpresenter.h).
//
// An item that only asks the engine carries the call in its row: adding
// such an item is its engine handler and its row here, nothing else.

#include <optional>
#include <span>

#include "engine/core/enginecommands.h"

namespace tarvik {

// What an item is, as far as the front ends must tell items apart: the
// structure, the destinations (their captions follow the router's list),
// and the items whose effect is a window's (the presentation runs those).
enum class MenuAct {
  Submenu,
  Separator,
  Engine,       // runs the row's engine call
  Destination,  // an engine call too; value: the destination number it dials
  Exit,
  Config,
  Help,
  About,
  ProgramPage,
  BringBack,
  Jigen,
  Details,
  Usage,  // the usage window
};

// How an item asks the engine, with the number its row carries.
using EngineCall = void (*)(EngineCommands& core, int value);

struct MenuItem {
  const char* name;
  const char* caption;
  MenuAct act;
  int value = 0;
  std::span<const MenuItem> children = {};
  EngineCall engine = nullptr;
  bool isDefault = false;  // the menu's default item, shown bold

  // Two items in different menus that do the same thing are one command.
  bool sameCommand(const MenuItem& other) const {
    return act == other.act && value == other.value && engine == other.engine;
  }
};

std::span<const MenuItem> mainMenuItems();    // File1, KS1, K2
std::span<const MenuItem> popupMenu1Items();  // PopupMenu1
std::span<const MenuItem> popupMenu2Items();  // PopupMenu2

// Every command of the three menus once, in menu order (the first item of
// each). A command's index here is its number wherever a toolkit needs one
// (the Win32 menu ids); the number follows the tables, whatever the order
// of MenuAct.
std::span<const MenuItem* const> menuCommands();
std::optional<int> menuCommandIndex(const MenuItem& item);
// The index of the first command with this act and value.
std::optional<int> menuCommandIndex(MenuAct act, int value = 0);

}  // namespace tarvik

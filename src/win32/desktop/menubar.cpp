#include "win32/desktop/menubar.h"

#include <span>
#include <vector>

#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

constexpr UINT kFirstId = 1000;

// An empty text would make a separator of the item: a blank item keeps a
// blank to stay one (the destinations #8 to #15 before the router's list).
std::wstring itemText(const std::string& utf8) {
  std::wstring text = widen(utf8);
  return text.empty() ? std::wstring(L" ") : text;
}

std::wstring shownCaption(const MenuItem& item) {
  std::wstring text = itemText(item.caption);
  if (item.act == MenuAct::Help) text += L"\tF1";
  return text;
}

void fill(HMENU menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    if (item.act == MenuAct::Separator) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item.act == MenuAct::Submenu) {
      HMENU sub = ::CreatePopupMenu();
      fill(sub, item.children);
      ::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), shownCaption(item).c_str());
    } else {
      const std::wstring text = shownCaption(item);
      const UINT id = MenuBar::commandId(item);
      ::AppendMenuW(menu, MF_STRING, id, text.c_str());
      if (item.isDefault) ::SetMenuDefaultItem(menu, id, FALSE);  // shown bold
    }
  }
}

void setCaption(HMENU menu, UINT id, const std::wstring& text) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  std::wstring copy = text;
  info.dwTypeData = copy.data();
  ::SetMenuItemInfoW(menu, id, FALSE, &info);
}

}  // namespace

UINT MenuBar::commandId(const MenuItem& item) {
  const auto index = menuCommandIndex(item);
  return index ? kFirstId + static_cast<UINT>(*index) : 0;
}

UINT MenuBar::commandId(MenuAct act, int value) {
  const auto index = menuCommandIndex(act, value);
  return index ? kFirstId + static_cast<UINT>(*index) : 0;
}

const MenuItem* MenuBar::command(UINT id) {
  const auto commands = menuCommands();
  if (id < kFirstId || id - kFirstId >= commands.size()) return nullptr;
  return commands[id - kFirstId];
}

MenuBar::MenuBar() {
  main_ = ::CreateMenu();
  fill(main_, mainMenuItems());
  popup1_ = ::CreatePopupMenu();
  fill(popup1_, popupMenu1Items());
  popup2_ = ::CreatePopupMenu();
  fill(popup2_, popupMenu2Items());
}

MenuBar::~MenuBar() {
  if (popup1_) ::DestroyMenu(popup1_);
  if (popup2_) ::DestroyMenu(popup2_);
}

void MenuBar::setDestinationCaption(int index, const std::string& caption) {
  if (index < 0 || index > 15) return;
  const UINT id = commandId(MenuAct::Destination, index);
  const std::wstring text = itemText(caption);
  setCaption(main_, id, text);
  setCaption(popup1_, id, text);
}

void MenuBar::setJigen(const std::string& caption, bool checked) {
  const UINT id = commandId(MenuAct::Jigen);
  setCaption(popup1_, id, widen(caption));
  ::CheckMenuItem(popup1_, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

std::wstring MenuBar::caption(HMENU menu, UINT id) const {
  wchar_t buffer[256] = {};
  ::GetMenuStringW(menu, id, buffer, static_cast<int>(std::size(buffer)), MF_BYCOMMAND);
  return buffer;
}

}  // namespace tarvik::win32

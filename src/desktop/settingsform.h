#pragma once
// The settings dialog ("Tarvik - 設定") as both desktops run it, over the
// toolkit's controls (SettingsFormView): bound live to the engine's
// settings (every change of a control is a change of the setting at once),
// the dependent control states, the per-field rules, the application page
// per destination, browsing, playing, the caller-name list, and the close
// (no cancel: every close saves). The toolkit creates the controls and
// turns its events into the calls below.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/settingsformview.h"
#include "engine/settings/applicationlist.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {
class EngineCommands;
}

namespace tarvik::desktop {

enum class CloseOutcome {
  Saved,          // saved and hidden
  ClosedUnsaved,  // a file could not be written: told, and hidden all the same
  KeptOpen,       // the interval is no integer: told, the dialog stays open
};

class SettingsForm {
 public:
  SettingsForm(EngineCommands& core, SettingsFormView& view);

  // Every control from the engine's settings (after the start-up load),
  // with the dependent states.
  void load();
  // The sixteen destination entries (UTF-8); each box shows its index.
  void setDestinationList(const std::vector<std::string>& entries);

  // The user's changes. edited: a text changed (typing, a choice in a
  // destination box); chosen: a destination box's entry was chosen or its
  // typing finished (the application page switches only then); toggled: a check box; pressed: a mouse press
  // in a field; clicked: a button of settingsFormButtons().
  void edited(std::string_view control, const std::string& text);
  void chosen(std::string_view control, const std::string& text);
  void toggled(std::string_view control, bool on);
  void pressed(std::string_view control);
  void clicked(std::string_view control);

  // The menu action: open, or bring to the front when already open.
  void open();
  // OK or the close box.
  CloseOutcome close();
  void addName();
  void deleteName();
  void browse();

  // The path field the browse buttons fill; empty while there is none.
  std::string_view browseTarget() const { return browseTarget_; }

 private:
  void edit(const std::function<void(SettingsStore&)>& change);
  void put(std::string_view control, const std::string& text);
  void applyDependentStates();
  int destinationIndex(const std::string& text) const;
  void changeAppDestination(int index);
  void loadAppFields();
  ApplicationList appFields() const;
  void showSavedValues();

  EngineCommands& core_;
  SettingsFormView& view_;
  std::vector<std::string> entries_;
  std::string browseTarget_;
  bool quiet_ = false;  // the form is setting controls itself
};

// Script text <-> lines: "\n" or "\r\n" between lines; a final line break
// makes no extra line.
std::vector<std::string> scriptLines(const std::string& text);
std::string scriptText(const std::vector<std::string>& lines);

}  // namespace tarvik::desktop

#pragma once
// Which control of the settings dialog holds which setting: text fields,
// check boxes and destination boxes, each written once.

#include <span>
#include <string>

#include "engine/settings/settingsstore.h"

namespace tarvik::win32 {

struct TextBinding {
  int id;
  std::string& (*field)(SettingsStore&);
};

struct BoolBinding {
  int id;
  bool& (*field)(SettingsStore&);
};

// A field of whole numbers; a value outside min..max is not taken.
struct NumberBinding {
  int id;
  int& (*field)(SettingsStore&);
  int min, max;
};

struct DestinationBinding {
  int id;
  int& (*field)(SettingsStore&);
};

std::span<const TextBinding> textBindings();
std::span<const BoolBinding> boolBindings();
std::span<const NumberBinding> numberBindings();
// ComboBox1 DEFAULT, ComboBox2 AUTO, RedialBox REDIAL, ComboBox3 the
// destination the application page shows.
std::span<const DestinationBinding> destinationBindings();

}  // namespace tarvik::win32

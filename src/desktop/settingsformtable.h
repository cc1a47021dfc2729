#pragma once
// The settings dialog's controls, written once for both desktops: each
// control's designer name, its kind, the INI key it holds, and the rules
// that tie controls together. The Qt pages and the Win32 resource create
// controls of these names; the settings form binds them through this table.

#include <span>
#include <string_view>

namespace tarvik {
struct SettingKey;
}

namespace tarvik::desktop {

enum class ControlKind {
  Text,            // a text field: a text key
  Password,        // a text field that shows "*": the password key
  Number,          // a field of whole numbers: an integer key, within its range
  Check,           // a check box: a flag key
  Destination,     // a destination box: the index (0 to 16) of an integer key
  AppDestination,  // the application page's destination box: the destination shown
  AppCommand,      // a command line of the application page: key 1..7 of [AP<n>]
  Script,          // the router script, one line per line
  NameList,        // the caller-name list
  NameField,       // the number or name being added to that list
};

// Which path fields the browse buttons fill.
enum class BrowseRole {
  None,
  OnClick,          // a click makes the field the browse target
  OnClickOrChange,  // so does any change of its text, the start-up load's included
};

// Whether every desktop has the control.
enum class Presence {
  Always,
  WithKeyring,  // only where the desktop keeps passwords in a keyring
};

struct FormField {
  std::string_view control;
  ControlKind kind;
  std::string_view section = {};  // the INI key; empty where the value is none
  std::string_view key = {};
  BrowseRole browse = BrowseRole::None;
  Presence presence = Presence::Always;
};

enum class FormAction { Play, Browse, AddName, DeleteName, Ok };

struct FormButton {
  std::string_view control;
  FormAction action;
  std::string_view field = {};  // Play: the path field of its own row
};

// A control enabled exactly when a check box is (or is not) ticked.
struct DependentState {
  std::string_view control;
  std::string_view checkBox;
  bool enabledWhenTicked;
};

std::span<const FormField> settingsFormFields();
std::span<const FormButton> settingsFormButtons();
std::span<const DependentState> settingsDependentStates();

// The row of a control; null when the table has none.
const FormField* formField(std::string_view control);
const FormButton* formButton(std::string_view control);
// The INI key a row holds; null for the rows without one.
const SettingKey* settingKeyOf(const FormField& field);

// The dialog's pages in tab order: each page's designer name and its tab's
// caption.
struct FormPage {
  std::string_view name;
  std::string_view caption;
};

std::span<const FormPage> settingsFormPages();

// The desktops, where a caption differs between them.
enum class Desktop { Freedesktop, Windows };

// A caption each desktop words its own way: the place the password is kept
// is named as the system names it (the stored key is the same).
struct PlatformCaption {
  std::string_view control;
  std::string_view freedesktop;
  std::string_view windows;
};

std::span<const PlatformCaption> platformCaptions();
// The control's caption on that desktop; empty when the table has none.
std::string_view platformCaption(std::string_view control, Desktop desktop);

// Controls the close reads by name.
inline constexpr std::string_view kDefaultDestinationBox = "ComboBox1";
inline constexpr std::string_view kAppDestinationBox = "ComboBox3";
inline constexpr std::string_view kScriptArea = "Script";
inline constexpr std::string_view kNameNumber = "Edit22";
inline constexpr std::string_view kNameName = "Edit23";
inline constexpr std::string_view kNameListBox = "ListBox1";

}  // namespace tarvik::desktop

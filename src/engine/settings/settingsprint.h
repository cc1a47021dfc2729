#pragma once
// The settings as INI text in UTF-8, for --print-settings: every section and
// key of the store with the value the program uses (after the load's
// corrections), the password as the file stores it (encoded, never in
// clear). The name list and the script follow as comment lines
// ("; Tarvik.lst" and "; Tarvik.spt" headers, then "; " + each line), so
// the whole output still reads as the same INI file.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/settings/inifile.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

std::string printSettings(const SettingsStore& store);

// The same, with the [AP0]..[AP16] sections of Tarvik.ini (as read) that
// hold at least one command line (all seven keys of each), before the
// comment trailer.
std::string printSettings(const SettingsStore& store, const IniFile& ini);

// --print-settings: the settings of configDir loaded as the program loads
// them at start (each file read once), printed as above, with a note for
// each part of Tarvik.ini that was not taken; or, when a settings file
// there cannot be read, no text and the reason (naming the file).
struct PrintedSettings {
  std::string text;
  std::string error;
  std::vector<std::string> notes;  // UTF-8, one line each
};
PrintedSettings printSettingsIn(const std::filesystem::path& configDir);

}  // namespace tarvik

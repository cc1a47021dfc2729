#include "engine/reactions/callernames.h"

#include "engine/base/bytes.h"
#include "engine/reactions/soundpaths.h"
#include "engine/settings/nameentry.h"

namespace tarvik {

std::optional<std::string> destinationName(const std::vector<std::string>& nameList,
                                           std::string_view phoneNumber) {
  std::optional<std::string> found;
  for (const std::string& entry : nameList) {
    NameEntry e = splitNameEntry(entry);
    if (!e.number.empty() && contains(phoneNumber, e.number)) found = std::string(e.name);
  }
  return found;
}

std::string nameSoundPath(std::string_view folderSjis, std::string_view numberSjis) {
  if (numberSjis.empty() || contains(numberSjis, "/") || contains(numberSjis, "\\") ||
      contains(numberSjis, "..")) {
    return {};
  }
  std::string file(folderSjis);
  file += numberSjis;
  file += ".wav";
  return settingsPath(file);
}

std::string CallerDisplay::ShowCallerName(std::string_view numberSjis, std::string_view nameSoundFolderSjis,
                                          std::string_view generalSoundSjis, const FileExists& exists) {
  if (showing_) return {};
  showing_ = true;
  std::string nameSound = nameSoundPath(nameSoundFolderSjis, numberSjis);
  if (!nameSound.empty() && exists && exists(nameSound)) return nameSound;
  return settingsPath(generalSoundSjis);
}

bool CallerDisplay::ClearCallerName() {
  bool was = showing_;
  showing_ = false;
  return was;
}

}  // namespace tarvik

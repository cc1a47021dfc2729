#pragma once
// The caller name list (Tarvik.lst, entries "number:name", Shift-JIS):
// the destination label's name for a channel's number, and the caller name
// display with its per-caller sound while a call rings.
// (Tagging console lines with names is done by the parser.)

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The name of the last entry whose number occurs in phoneNumber, if any.
std::optional<std::string> destinationName(const std::vector<std::string>& nameList,
                                           std::string_view phoneNumber);

// The per-caller sound: folder + number + ".wav" (joined as stored, no
// separator added), as a UTF-8 path. Empty when the number is empty or could
// lead out of the folder (it comes from the router): then only the general
// incoming-call sound is used.
std::string nameSoundPath(std::string_view folderSjis, std::string_view numberSjis);

class CallerDisplay {
 public:
  using FileExists = std::function<bool(const std::string& utf8Path)>;

  // A ringing channel. Returns the sound to play (UTF-8 path, empty for
  // none): on the first notice of a call the caller's name sound when its
  // file exists, else the general sound; nothing while the display already
  // shows.
  std::string ShowCallerName(std::string_view numberSjis, std::string_view nameSoundFolderSjis,
                             std::string_view generalSoundSjis, const FileExists& exists);
  // No channel rings: true when the display was showing and is now cleared.
  bool ClearCallerName();
  bool showing() const { return showing_; }

 private:
  bool showing_ = false;
};

}  // namespace tarvik

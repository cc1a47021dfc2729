#pragma once
// The rules of the caller-name editor ("追加" on the settings dialog's
// ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ page), for every front end's dialog: both fields lose their
// leading and trailing blanks; a number with "-" is refused with a warning;
// an empty field adds nothing; otherwise the entry number ":" name goes to
// the end of the list (duplicates allowed, no other character checked).
//
// The texts may be Shift-JIS (as the store keeps them) or UTF-8 (as a
// window holds them): blanks, "-" and ":" are single bytes that never occur
// inside a double-byte character of either.

#include <string>
#include <string_view>

namespace tarvik {

struct NameEntryResult {
  enum Outcome { Added, RefusedDash, Empty } outcome = Empty;
  std::string number;  // the trimmed fields, put back into the dialog
  std::string name;
  std::string entry;  // number ":" name when Added
};

NameEntryResult makeNameEntry(std::string_view number, std::string_view name);

// The warning for a number with "-" (UTF-8).
inline constexpr const char* kNameEntryDashWarning = "数字のみ入力して下さい";

}  // namespace tarvik

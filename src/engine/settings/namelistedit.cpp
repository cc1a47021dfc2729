#include "engine/settings/namelistedit.h"

namespace tarvik {
namespace {

// Blanks are the control characters and the space, as in the settings
// files; a full-width space is part of the text.
bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string trimBlanks(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace

NameEntryResult makeNameEntry(std::string_view number, std::string_view name) {
  NameEntryResult r{NameEntryResult::Empty, trimBlanks(number), trimBlanks(name), {}};
  if (r.number.find('-') != std::string::npos) {
    r.outcome = NameEntryResult::RefusedDash;
  } else if (!r.number.empty() && !r.name.empty()) {
    r.outcome = NameEntryResult::Added;
    r.entry = r.number + ':' + r.name;
  }
  return r;
}

}  // namespace tarvik

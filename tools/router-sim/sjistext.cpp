#include "sjistext.h"

#include "engine/base/bytes.h"
#include "engine/base/iconvtext.h"
#include "engine/base/sjis.h"

namespace sim {
namespace {

// CP932 to a Japanese code; unconvertible characters become '?'. Each piece
// ends in ASCII (ISO-2022-JP).
std::string fromCp932(const char* to, std::string_view in) {
  return tarvik::iconvText(to, "CP932", in, "?", tarvik::BadInputStep::kWholeCharacter);
}

}  // namespace

std::string sj(std::string_view utf8) { return tarvik::toSjis(utf8); }

std::string padSjis(std::string_view text, std::size_t width) {
  std::string out(tarvik::sjisCut(text, width));
  out.append(width - out.size(), ' ');
  return out;
}

std::string encodeFor(char kanjiCode, std::string_view sjis) {
  switch (kanjiCode) {
    case 'e':
      return fromCp932("EUC-JP-MS", sjis);
    case 'j':
      return fromCp932("ISO-2022-JP", sjis);
    case 'u':
      return tarvik::toUtf8(sjis);
    default:
      return std::string(sjis);
  }
}

}  // namespace sim

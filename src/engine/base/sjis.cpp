#include "engine/base/sjis.h"

#include "engine/base/iconvtext.h"

namespace tarvik {

std::string toSjis(std::string_view utf8) {
  return iconvText("CP932", "UTF-8", utf8, "?", BadInputStep::kWholeCharacter);
}

std::string toUtf8(std::string_view sjis) {
  return iconvText("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", BadInputStep::kOneByte);
}

}  // namespace tarvik

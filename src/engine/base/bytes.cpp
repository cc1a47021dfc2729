#include "engine/base/bytes.h"

namespace tarvik {

std::string_view sjisCut(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t i = 0;
  while (i < maxBytes) {
    std::size_t width = isSjisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > maxBytes) break;
    i += width;
  }
  return text.substr(0, i);
}

std::string_view trimRightBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return trimRightBlanks(text);
}

bool parseDecimal(std::string_view text, long long& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return false;
  long long result = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    if (result > (9223372036854775807LL - (c - '0')) / 10) return false;
    result = result * 10 + (c - '0');
  }
  value = negative ? -result : result;
  return true;
}

namespace {

bool isAsciiWordByte(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

}  // namespace

std::string maskWord(std::string_view text, std::string_view word, std::string_view mask) {
  if (word.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  bool afterWordByte = false;  // the character before is an ASCII letter or digit
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!afterWordByte && text.substr(i, word.size()) == word) {
      const std::size_t end = i + word.size();
      if (end == text.size() || !isAsciiWordByte(static_cast<unsigned char>(text[end]))) {
        out += mask;
        afterWordByte = isAsciiWordByte(static_cast<unsigned char>(word.back()));
        i = end;
        continue;
      }
    }
    const std::size_t length = isSjisLead(b) && i + 1 < text.size() ? 2 : 1;
    out.append(text.substr(i, length));
    afterWordByte = length == 1 && isAsciiWordByte(b);
    i += length;
  }
  return out;
}

}  // namespace tarvik

#pragma once
// Byte-wise helpers for Shift-JIS text.
//
// Positions and lengths are in bytes, as the router's console counts them.
// A cut for display never splits a double-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik {

// True when b is the first byte of a double-byte CP932 character.
constexpr bool isSjisLead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The first at most maxBytes bytes of text, shortened by one byte when the
// cut would fall between a lead byte and its trail byte.
std::string_view sjisCut(std::string_view text, std::size_t maxBytes);

// Removes trailing blanks (0x20).
std::string_view trimRightBlanks(std::string_view text);

// Removes leading and trailing blanks (0x20).
std::string_view trimBlanks(std::string_view text);

// True when text contains needle (plain byte-wise substring search).
inline bool contains(std::string_view text, std::string_view needle) {
  return text.find(needle) != std::string_view::npos;
}

// text with every occurrence of word that stands as a word of its own
// (not inside a longer run of ASCII letters and digits) replaced by mask.
// Matches start on character boundaries only, so a trail byte is never
// taken for the word's first byte. An empty word masks nothing.
std::string maskWord(std::string_view text, std::string_view word, std::string_view mask);

// Parses a decimal integer with optional leading blanks and sign, the way the
// original conversion does: the whole rest must be digits. Returns false when
// the text does not convert or overflows.
bool parseDecimal(std::string_view text, long long& value);

}  // namespace tarvik

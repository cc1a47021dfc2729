#pragma once
// An INI document with the semantics of the Windows profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA), so that a
// Tarvik.ini written by the Windows build reads the same here.
//
// Reading:
// - lines end at CR, LF or CR LF;
// - "[name]" starts a section (the name runs to the last "]" on the line);
//   a line whose first non-blank character is ";" is a comment;
// - "key=value": blanks around the key and the value are dropped, then one
//   pair of matching surrounding quotes (" or ') is removed;
// - section and key names are matched without regard to ASCII case
//   (double-byte characters compare as they are); the first match wins;
// - a value is read at most kMaxValueBytes bytes, cut before a double-byte
//   character rather than through it.
//
// Writing replaces one key's line (or adds the key at the end of its
// section, or the section at the end of the file); every other byte of the
// file stays as it was. New lines end in CR LF. Bytes are Shift-JIS and are
// never converted.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

class IniFile {
 public:
  // The profile functions read through a 1024-byte buffer.
  static constexpr std::size_t kMaxValueBytes = 1023;

  IniFile() = default;
  explicit IniFile(std::string_view bytes);

  // The value as the profile functions return it; nullopt when the section
  // or key is missing (a present key with an empty value gives "").
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Integer rule: see parseProfileInteger; missing or invalid -> fallback.
  int readInteger(std::string_view section, std::string_view key, int fallback) const;
  // Read as an integer (fallback 1 or 0); any non-zero number is true.
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;

  // Sets one key. CR and LF in the value (which would split the line) become
  // blanks, and the value ends at a NUL byte, as a C string would.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);

  // The document's bytes.
  std::string text() const;

  // A line the profile functions pass over although it holds something: not
  // a section header (a "[" without its "]"), a key or a comment ("; " or
  // "# "), or a key above the first section.
  struct UnreadLine {
    std::size_t number;  // from 1
    std::string text;
  };
  std::vector<UnreadLine> unreadLines() const;

 private:
  enum class Kind : unsigned char { kOther, kSection, kKey };
  struct Line {
    std::string text;      // without its line end
    std::string_view eol;  // "\r\n", "\n", "\r", or "" for a last line without one (literals)
    Kind kind = Kind::kOther;
    std::size_t nameBegin = 0, nameLength = 0;    // section or key name
    std::size_t valueBegin = 0, valueLength = 0;  // key value, blanks trimmed
  };

  static Line parseLine(std::string text, std::string_view eol);
  std::string_view name(const Line& line) const;
  // Index of the section's header line, or npos.
  std::size_t findSection(std::string_view section) const;
  // Index of the key's line within the section starting at header, or npos.
  std::size_t findKey(std::size_t header, std::string_view key) const;
  void insertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
};

// The profile integer rule: a text longer than two characters that begins
// with "0x" or "0X" is hexadecimal (up to 32 bits, taken as signed); anything
// else is decimal with optional leading blanks and sign, within 32 bits.
// Returns false when the text is not such an integer.
bool parseProfileInteger(std::string_view text, int& value);

// Case-insensitive name comparison of the profile functions (ASCII letters
// fold; the two bytes of a Shift-JIS character are compared exactly).
bool profileNamesEqual(std::string_view a, std::string_view b);

}  // namespace tarvik

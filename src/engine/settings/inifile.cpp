#include "engine/settings/inifile.h"

#include <cstdint>

#include "engine/base/bytes.h"
#include "engine/settings/linefile.h"

namespace tarvik {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t npos = std::string::npos;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Built by appending: GCC 12's -Wrestrict misreads "[" + std::string(...)
// on 32-bit targets.
std::string sectionHeader(std::string_view section) {
  std::string line(1, '[');
  line.append(section);
  line.push_back(']');
  return line;
}

std::string_view trimmedValue(std::string_view value) {
  while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
  return value;
}

// A value in a pair of double or single quotes: the pair is not part of it.
bool hasOuterQuotes(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool hasNonBlank(std::string_view text) {
  for (char c : text) {
    if (!isBlank(c)) return true;
  }
  return false;
}

}  // namespace

bool profileNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isSjisLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      // A double-byte character: its trail byte may look like an ASCII letter
      // but must not be folded.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (foldAscii(a[i]) != foldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool parseProfileInteger(std::string_view text, int& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t result = 0;
    for (char c : text.substr(2)) {
      int digit = hexDigit(c);
      if (digit < 0) return false;
      result = result * 16 + static_cast<unsigned>(digit);
      if (result > 0xFFFFFFFFu) return false;
    }
    // Eight hex digits fill the 32 bits, so 0xFFFFFFFF is -1.
    value = static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(result)));
    return true;
  }
  long long result = 0;
  if (!parseDecimal(text, result) || result < INT32_MIN || result > INT32_MAX) return false;
  value = static_cast<int>(result);
  return true;
}

IniFile::IniFile(std::string_view bytes) {
  forEachLine(bytes, [this](std::string_view text, std::string_view eol) {
    lines_.push_back(parseLine(std::string(text), eol));
  });
}

IniFile::Line IniFile::parseLine(std::string text, std::string_view eol) {
  Line line;
  line.eol = eol;
  std::size_t p = 0;
  while (p < text.size() && isBlank(text[p])) ++p;
  if (p < text.size() && text[p] == '[') {
    // The name runs to the last "]"; "]" can be the trail byte of a
    // double-byte character, so walk the text character by character.
    std::size_t close = npos;
    for (std::size_t i = p + 1; i < text.size(); ++i) {
      if (text[i] == ']') close = i;
      if (isSjisLead(static_cast<unsigned char>(text[i]))) ++i;
    }
    if (close != npos) {
      line.kind = Kind::kSection;
      line.nameBegin = p + 1;
      line.nameLength = close - p - 1;
      line.text = std::move(text);
      return line;
    }
    // No closing bracket: read like any other line, as the profile functions do.
  }
  std::size_t equals = p < text.size() && text[p] != ';' ? text.find('=', p) : npos;
  if (equals != npos) {
    std::size_t nameEnd = equals;
    while (nameEnd > p && isBlank(text[nameEnd - 1])) --nameEnd;
    std::size_t valueBegin = equals + 1;
    while (valueBegin < text.size() && isBlank(text[valueBegin])) ++valueBegin;
    std::size_t valueEnd = text.size();
    while (valueEnd > valueBegin && isBlank(text[valueEnd - 1])) --valueEnd;
    if (nameEnd > p) {
      line.kind = Kind::kKey;
      line.nameBegin = p;
      line.nameLength = nameEnd - p;
      line.valueBegin = valueBegin;
      line.valueLength = valueEnd - valueBegin;
    }
  }
  line.text = std::move(text);
  return line;
}

std::string_view IniFile::name(const Line& line) const {
  return std::string_view(line.text).substr(line.nameBegin, line.nameLength);
}

std::size_t IniFile::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && profileNamesEqual(name(lines_[i]), section)) return i;
  }
  return npos;
}

std::size_t IniFile::findKey(std::size_t header, std::string_view key) const {
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
    if (lines_[i].kind == Kind::kKey && profileNamesEqual(name(lines_[i]), key)) return i;
  }
  return npos;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  std::size_t header = findSection(section);
  if (header == npos) return std::nullopt;
  std::size_t index = findKey(header, key);
  if (index == npos) return std::nullopt;
  const Line& line = lines_[index];
  std::string_view raw = std::string_view(line.text).substr(line.valueBegin, line.valueLength);
  if (hasOuterQuotes(raw)) raw = raw.substr(1, raw.size() - 2);
  return std::string(sjisCut(raw, kMaxValueBytes));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  std::optional<std::string> found = value(section, key);
  return found ? std::move(*found) : std::string(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  std::optional<std::string> found = value(section, key);
  int result = 0;
  return found && parseProfileInteger(*found, result) ? result : fallback;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::insertLine(std::size_t at, std::string text) {
  // The line before the new one may be a last line without a line end.
  if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = kCrLf;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), parseLine(std::move(text), kCrLf));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  std::string clean(value.substr(0, value.find('\0')));
  for (char& c : clean) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  // Reading takes one pair of quotes off a value (after its blanks), so a
  // value that itself starts and ends with the same quote, like a quoted
  // program with a quoted last argument, is kept in one more pair.
  if (hasOuterQuotes(trimmedValue(clean))) clean = "\"" + clean + "\"";
  std::size_t header = findSection(section);
  if (header == npos) {
    insertLine(lines_.size(), sectionHeader(section));
    insertLine(lines_.size(), std::string(key) + "=" + clean);
    return;
  }
  std::size_t index = findKey(header, key);
  if (index != npos) {
    // The key keeps its spelling from the file; only the value changes.
    lines_[index] = parseLine(std::string(name(lines_[index])) + "=" + clean, kCrLf);
    return;
  }
  // A new key goes after the section's last non-blank line, so blank lines
  // that separate it from the next section stay where they are.
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
    if (hasNonBlank(lines_[i].text)) last = i;
  }
  insertLine(last + 1, std::string(key) + "=" + clean);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

std::vector<IniFile::UnreadLine> IniFile::unreadLines() const {
  std::vector<UnreadLine> unread;
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    inSection = inSection || line.kind == Kind::kSection;
    const std::string_view text = trimmedValue(line.text);
    const bool comment = !text.empty() && (text.front() == ';' || text.front() == '#');
    if (line.kind == Kind::kSection || (line.kind == Kind::kKey && inSection) || text.empty() || comment)
      continue;
    unread.push_back({i + 1, line.text});
  }
  return unread;
}

std::string IniFile::text() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + line.eol.size();
  std::string out;
  out.reserve(size);
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

}  // namespace tarvik

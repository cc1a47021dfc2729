#include <windows.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

constexpr UINT kShiftJis = 932;

// Bytes of the sequence that starts with lead, in either encoding; used to
// step over an invalid one. A cut-off sequence at the end takes what is left.
std::size_t sequenceLength(UINT codePage, unsigned char lead) {
  if (codePage == CP_UTF8) return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return ::IsDBCSLeadByteEx(kShiftJis, lead) ? 2 : 1;
}

// Appends the UTF-16 of in; false when in holds an invalid sequence.
bool widenStrict(UINT codePage, std::string_view in, std::wstring& out) {
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return false;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(n));
  ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, out.data() + at, n);
  return true;
}

// The whole text at once when it is valid (the usual case); else sequence
// by sequence, each invalid one becoming U+FFFD, so conversion always ends
// and loses nothing silently, as iconv does on the other platforms.
std::wstring widen(UINT codePage, std::string_view in) {
  std::wstring wide;
  if (widenStrict(codePage, in, wide)) return wide;
  wide.clear();
  while (!in.empty()) {
    std::size_t step = sequenceLength(codePage, static_cast<unsigned char>(in.front()));
    if (step > in.size()) step = in.size();
    if (!widenStrict(codePage, in.substr(0, step), wide)) {
      wide += L'\xFFFD';
      if (codePage != CP_UTF8) step = 1;  // the next byte may start a character
    }
    in.remove_prefix(step);
  }
  return wide;
}

// Characters the target cannot hold become '?' (no best-fit look-alikes).
std::string narrow(UINT codePage, std::wstring_view in) {
  std::string out;
  if (in.empty()) return out;
  const int size = static_cast<int>(in.size());
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  int n = ::WideCharToMultiByte(codePage, flags, in.data(), size, nullptr, 0, fallback, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(codePage, flags, in.data(), size, out.data(), n, fallback, nullptr);
  return out;
}

}  // namespace

std::string toSjis(std::string_view utf8) {
  std::wstring wide = widen(CP_UTF8, utf8);
  // A character beyond the BMP is one character, so one '?', not two.
  std::wstring single;
  single.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    single += pair ? L'?' : wide[i];
    if (pair) ++i;
  }
  return narrow(kShiftJis, single);
}

std::string toUtf8(std::string_view sjis) { return narrow(CP_UTF8, widen(kShiftJis, sjis)); }

}  // namespace tarvik

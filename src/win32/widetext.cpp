#include "win32/widetext.h"

#include <windows.h>

namespace tarvik::win32 {

std::wstring widen(std::string_view utf8) {
  std::wstring out;
  if (utf8.empty()) return out;
  const int size = static_cast<int>(utf8.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (n <= 0) return out;
  out.resize(static_cast<std::size_t>(n));
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  std::string out;
  if (utf16.empty()) return out;
  const int size = static_cast<int>(utf16.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<std::size_t>(n));
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace tarvik::win32

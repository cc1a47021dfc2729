#pragma once
// UTF-8 inside the program, UTF-16 at every call of the system.

#include <string>
#include <string_view>

namespace tarvik::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace tarvik::win32

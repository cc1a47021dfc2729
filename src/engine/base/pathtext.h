#pragma once
// File names between UTF-8 text and std::filesystem::path. A path made from
// a plain std::string is read in the platform's narrow encoding, which on
// Windows is not UTF-8 (the C runtime widens it byte by byte, and 接続ログ.log
// becomes another file's name): every path that comes from text goes
// through this pair instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

}  // namespace tarvik

#pragma once
// The folder tarvik.exe lies in: where the settings files go when it is
// writable, and where the sounds, the picture and the manual are installed.

#include <filesystem>

namespace tarvik::win32 {

std::filesystem::path executableDir();

}  // namespace tarvik::win32

#pragma once
// The files that come with the program (the manual, the picture): beside
// tarvik.exe, else in the current directory as the settings' relative
// names would find them.

#include <filesystem>

namespace tarvik::win32 {

// The first existing candidate; empty when there is none.
std::filesystem::path findProgramFile(const std::filesystem::path& relative);

inline std::filesystem::path manualName() { return std::filesystem::path(L"manual") / L"manual.html"; }
inline std::filesystem::path pictureName() { return L"Tarvik.bmp"; }

}  // namespace tarvik::win32

#pragma once
// The address the browser is given for the manual: the file's URL, with the
// section's fragment for the program's own page ("#tarvik").

#include <string>
#include <string_view>

namespace tarvik::desktop {

enum class ManualSection { Whole, Program };

// As the platform writes it, for the message that it is missing.
#ifdef _WIN32
inline constexpr const char* kManualName = "manual\\manual.html";
#else
inline constexpr const char* kManualName = "manual/manual.html";
#endif
inline constexpr const char* kManualMissing = "マニュアルが見つかりません: ";

// A file's URL from its absolute path (UTF-8; "/usr/share/..." or
// "C:\\Program Files\\..."): "file:///" and the path with '/' between its
// parts; the characters that would end or change the path in a URL (blank,
// '%', '#', '?') are escaped, the rest (Japanese included) left as it is.
std::string fileUrl(std::string_view path);

std::string manualAddress(std::string_view manualPath, ManualSection section);

}  // namespace tarvik::desktop

#pragma once
// Whole-file reads and crash-safe whole-file writes, shared by the settings
// files and the connection log.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// The file's bytes; nullopt when it does not exist or cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Replaces the file with bytes: they go to a new file beside it, which is
// flushed to disk and then renamed over the old one, so a crash or a full
// disk leaves either the old file or the new one, never a part of either.
// A file that exists and is read-only is refused, as the platform's profile
// writer refuses it. The folder is created when missing. Returns false when
// the file could not be replaced; the old file is then untouched.
bool replaceFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tarvik

#pragma once
// Appending to a file so that what was appended is on the disk when the
// call returns: the journal's one way of writing.

#include <filesystem>
#include <string_view>

namespace tarvik {

// Opens the file for appending (creating it readable and writable by its
// owner only), writes bytes at its end, flushes them to the disk and closes
// it. False when any step failed; bytes already written stay.
bool appendSynced(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tarvik

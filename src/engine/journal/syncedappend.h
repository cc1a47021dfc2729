#pragma once
// Appending to a file so that what was appended is on the disk when the
// call returns: the journal's one way of writing.

#include <filesystem>
#include <string_view>
#include <system_error>

namespace tarvik {

// Opens the file for appending (creating it readable and writable by its
// owner only), writes bytes at its end, flushes them to the disk and closes
// it. Returns why a step failed (as a portable std::errc where there is
// one), an empty code when all went well; bytes already written stay.
std::error_code appendSynced(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tarvik

#pragma once
// Whole-file reads and crash-safe whole-file writes, shared by the settings
// files and the connection log.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tarvik {

// A whole file as read: its bytes, or why there are none.
struct FileRead {
  std::optional<std::string> bytes;
  // Set when bytes is empty: no_such_file_or_directory for a missing file,
  // is_a_directory for a folder, notRegularFile() for a FIFO, a socket or a
  // device, else the system's reason.
  std::error_code error;
};

// Reads the file without ever waiting: a FIFO with no writer (or anything
// else that is not a regular file) is refused at once, never read, since
// reading it could hold the program up for good.
FileRead readFile(const std::filesystem::path& path);

// The file's bytes; nullopt when it does not exist or cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// The reason given for a name that is there but is not a regular file (a
// FIFO, a socket, a device): the program neither reads nor writes it.
std::error_code notRegularFile();

// Who may read a file that replaceFileBytes writes over an existing one:
// the old file's permissions as they were, or its owner alone (the group's
// and others' bits taken away).
enum class FileAccess { kKeep, kOwnerOnly };

// Replaces the file with bytes: they go to a new file beside it, which is
// flushed to disk and then renamed over the old one, so a crash or a full
// disk leaves either the old file or the new one, never a part of either.
// A file that exists and is read-only is refused, as the platform's profile
// writer refuses it. A new file is readable and writable by its owner only;
// one that existed keeps its permissions (see FileAccess). Missing folders
// are created for the owner only. When the folder cannot take a new file but
// the file itself may be written (settings beside a program installed in a
// read-only folder), the file is written in place instead, its space
// reserved first. Returns false when the file could not be replaced; the
// old file is then untouched.
bool replaceFileBytes(const std::filesystem::path& path, std::string_view bytes,
                      FileAccess access = FileAccess::kKeep);

// True when the file exists and someone besides its owner may read it.
bool readableByOthers(const std::filesystem::path& path);

// Creates the folder and any missing parents, each for its owner only.
// True when the folder exists afterwards.
bool createPrivateDirectories(const std::filesystem::path& dir);

}  // namespace tarvik

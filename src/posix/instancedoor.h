#pragma once
// The door of the running Tarvik: a local stream socket, "Tarvik.sock",
// beside the single-instance lock in the user's private runtime folder, so
// only the same user can knock. A second start connects, sends its action
// words (secondstart.h) and waits for the running program's answer; the
// running program's event loop listens (the Qt and libuv front ends each
// with their own socket type).

#include <filesystem>
#include <string>
#include <vector>

namespace tarvik::app {

// The socket's path in a lock folder.
std::filesystem::path instanceDoorIn(const std::filesystem::path& lockFolder);
// The socket's path for this user's session; empty when there is no private
// runtime folder (and so no lock and no door).
std::filesystem::path instanceDoorPath();

// Hands words to the program listening at door and waits for its answer,
// at most timeoutMs in all (a door that is not open yet is waited for).
// False, with why in problem, when nobody took them.
bool knockOnInstanceDoor(const std::filesystem::path& door, const std::vector<std::string>& words,
                         std::string& problem, int timeoutMs = 5000);

}  // namespace tarvik::app

#pragma once
// A second start of Tarvik while one runs hands its action words ("co",
// "b1", "b2", ...) to the running program, which acts on them and comes
// forward; the second process then ends. The words travel as one message
// over the platform's local channel (a socket beside the single-instance
// lock; WM_COPYDATA on Windows): each word followed by a NUL byte, and one
// more NUL at the end. Empty words carry no action and are left out.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::app {

// A message longer than this is not a second start of ours: the action
// words of a command line fit many times over.
inline constexpr std::size_t kSecondStartMaxBytes = 8192;

// The running program's answer once it has taken the words.
inline constexpr char kSecondStartTaken[] = "OK\n";

// The message for words: as many whole words as fit.
std::string encodeSecondStart(const std::vector<std::string>& words);

// The words once bytes hold a whole message (what follows it is ignored);
// nothing while it is still incomplete.
std::optional<std::vector<std::string>> decodeSecondStart(const std::string& bytes);

}  // namespace tarvik::app

#pragma once
// Only one Tarvik per user session. On Windows: the named mutex "Tarvik" in
// the session's namespace (singleinstance_win32.cpp). Elsewhere: an
// exclusive lock (flock) on
// "Tarvik.lock" in the user's runtime directory ($XDG_RUNTIME_DIR, else a
// private folder /tmp/tarvik-<uid> made 0700), held for the life of the
// process. The system frees it when the process ends, so a crashed run
// leaves no lock behind. Another --config-dir is the same user's session:
// it does not make a second instance.
//
// A second start hands its action words to the running program (handOver):
// through the socket beside the lock (instancedoor.h), or WM_COPYDATA to
// the running program's window on Windows.

#include <filesystem>
#include <string>
#include <vector>

namespace tarvik::app {

class SingleInstance {
 public:
  // Tries to take the lock in runtimeDir() (the mutex on Windows); never waits.
  SingleInstance();
#ifndef _WIN32
  explicit SingleInstance(const std::filesystem::path& directory);
#endif
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process holds the lock, or when no lock can be had at
  // all (running unguarded beats never starting); false when another
  // instance runs.
  bool acquired() const { return acquired_; }
  // Why no lock could be had (empty when the lock is held or taken by another).
  const std::string& problem() const { return problem_; }

  // Another instance runs: gives it words (the action words of this start,
  // perhaps none) and asks it to come forward. False, with why in problem,
  // when it did not take them.
  bool handOver(const std::vector<std::string>& words, std::string& problem) const;

#ifndef _WIN32
  // $XDG_RUNTIME_DIR when set and absolute, else /tmp/tarvik-<uid>, made
  // when missing (0700) and refused when another user owns it or others may
  // write to it (empty path, problem says why).
  static std::filesystem::path runtimeDir(std::string* problem = nullptr);
#endif

 private:
#ifdef _WIN32
  void* mutex_ = nullptr;  // the mutex's HANDLE
#else
  void lock(const std::filesystem::path& directory);

  std::filesystem::path directory_;  // where the lock is (and the door)
  int fd_ = -1;
#endif
  bool acquired_ = false;
  std::string problem_;
};

}  // namespace tarvik::app

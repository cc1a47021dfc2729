#pragma once
// One Tarvik per session: the named mutex "Tarvik" in the session's
// namespace, held for the program's life.

#include <windows.h>

namespace tarvik::win32 {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another Tarvik of this session holds the mutex.
  bool acquired() const { return acquired_; }

 private:
  HANDLE mutex_ = nullptr;
  bool acquired_ = false;
};

}  // namespace tarvik::win32

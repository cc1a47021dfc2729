#include "app/singleinstance.h"

#include <windows.h>

#include "win32/instancedoor.h"

namespace tarvik::app {

// The mutex lives in the session's namespace (no "Global\" prefix), so
// another user's Tarvik on the same machine does not count.
SingleInstance::SingleInstance() {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Tarvik");
  if (mutex == nullptr) {
    acquired_ = true;  // running unguarded beats never starting
    problem_ = "CreateMutexW failed: error " + std::to_string(::GetLastError());
    return;
  }
  mutex_ = mutex;
  acquired_ = ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool SingleInstance::handOver(const std::vector<std::string>& words, std::string& problem) const {
  return win32::InstanceDoor::knock(words, problem);
}

SingleInstance::~SingleInstance() {
  if (mutex_) ::CloseHandle(static_cast<HANDLE>(mutex_));
}

}  // namespace tarvik::app

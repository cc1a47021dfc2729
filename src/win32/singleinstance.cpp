#include <windows.h>

#include "app/singleinstance.h"

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

SingleInstance::~SingleInstance() {
  if (mutex_) ::CloseHandle(static_cast<HANDLE>(mutex_));
}

}  // namespace tarvik::app

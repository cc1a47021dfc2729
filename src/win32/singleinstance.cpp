#include "singleinstance.h"

namespace tarvik::win32 {

SingleInstance::SingleInstance() {
  mutex_ = ::CreateMutexW(nullptr, FALSE, L"Tarvik");
  acquired_ = mutex_ != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (mutex_) ::CloseHandle(mutex_);
}

}  // namespace tarvik::win32

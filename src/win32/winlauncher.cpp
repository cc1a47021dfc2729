#include "win32/winlauncher.h"

#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

struct CloseRequest {
  DWORD pid;
};

BOOL CALLBACK askToClose(HWND window, LPARAM context) {
  const auto* request = reinterpret_cast<const CloseRequest*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == request->pid) ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

bool stillRunning(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

}  // namespace

WinLauncher::WinLauncher(MessageWindow& window, int terminateAfterMs)
    : window_(window), terminateAfterMs_(terminateAfterMs) {}

// Programs still running are left running, as the user started them to
// keep; only the handles are let go.
WinLauncher::~WinLauncher() {
  for (auto& [handle, child] : children_) {
    if (child.terminateTimer) {
      ::KillTimer(window_.handle(), child.terminateTimer);
      window_.setTimerHandler(child.terminateTimer, nullptr);
    }
    ::CloseHandle(child.process);
  }
}

ProcessHandle WinLauncher::start(const std::string& utf8CommandLine) {
  forgetEnded();
  if (utf8CommandLine.find_first_not_of(" \t") == std::string::npos) return kNoProcess;
  std::wstring commandLine = widen(utf8CommandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    return kNoProcess;
  }
  ::CloseHandle(info.hThread);
  const ProcessHandle handle = next_++;
  children_[handle] = Child{info.hProcess, info.dwProcessId, 0};
  return handle;
}

void WinLauncher::end(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end() || it->second.terminateTimer) return;
  Child& child = it->second;
  if (!stillRunning(child.process)) {
    forget(process);
    return;
  }
  CloseRequest request{child.pid};
  ::EnumWindows(&askToClose, reinterpret_cast<LPARAM>(&request));
  child.terminateTimer = window_.newTimerId();
  window_.setTimerHandler(child.terminateTimer, [this, process] { terminateIfRunning(process); });
  ::SetTimer(window_.handle(), child.terminateTimer, static_cast<UINT>(terminateAfterMs_), nullptr);
}

void WinLauncher::terminateIfRunning(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end()) return;
  if (stillRunning(it->second.process)) ::TerminateProcess(it->second.process, 1);
  forget(process);
}

void WinLauncher::forget(ProcessHandle process) {
  auto it = children_.find(process);
  if (it == children_.end()) return;
  if (it->second.terminateTimer) {
    ::KillTimer(window_.handle(), it->second.terminateTimer);
    window_.setTimerHandler(it->second.terminateTimer, nullptr);
  }
  ::CloseHandle(it->second.process);
  children_.erase(it);
}

// Programs that have ended on their own need their handles no longer.
void WinLauncher::forgetEnded() {
  for (auto it = children_.begin(); it != children_.end();) {
    const ProcessHandle handle = it->first;
    const bool done = !it->second.terminateTimer && !stillRunning(it->second.process);
    ++it;
    if (done) forget(handle);
  }
}

bool WinLauncher::isRunning(ProcessHandle process) const {
  auto it = children_.find(process);
  return it != children_.end() && stillRunning(it->second.process);
}

DWORD WinLauncher::pid(ProcessHandle process) const {
  auto it = children_.find(process);
  return it == children_.end() ? 0 : it->second.pid;
}

}  // namespace tarvik::win32

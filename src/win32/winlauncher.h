#pragma once
// The core's Launcher port on CreateProcessW. The command line goes to the
// system as the user typed it, so the system finds the program as it does
// for any command line (an unquoted path with blanks included) and the
// program reads its arguments by its own rules. Started programs inherit
// no handle.
//
// end() asks a still-running program to close (WM_CLOSE to its top-level
// windows) and terminates it 5 seconds later only if it still runs. The
// launcher holds each program's process handle until then, so a process id
// reused by the system in the meantime is never touched.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "win32/messagewindow.h"
#include "engine/ports/launcher.h"

namespace tarvik::win32 {

class WinLauncher : public Launcher {
 public:
  static constexpr int kTerminateAfterMs = 5000;

  explicit WinLauncher(MessageWindow& window, int terminateAfterMs = kTerminateAfterMs);
  ~WinLauncher() override;
  WinLauncher(const WinLauncher&) = delete;
  WinLauncher& operator=(const WinLauncher&) = delete;

  ProcessHandle start(const std::string& commandLine) override;
  void end(ProcessHandle process) override;

  // True while the program started under this handle runs.
  bool isRunning(ProcessHandle process) const;
  // The system's process id (0 when the handle is unknown).
  DWORD pid(ProcessHandle process) const;

 private:
  struct Child {
    HANDLE process = nullptr;
    DWORD pid = 0;
    UINT_PTR terminateTimer = 0;  // set while an end is pending
  };
  void terminateIfRunning(ProcessHandle process);
  void forget(ProcessHandle process);
  void forgetEnded();

  MessageWindow& window_;
  int terminateAfterMs_;
  ProcessHandle next_ = 1;
  std::map<ProcessHandle, Child> children_;
};

}  // namespace tarvik::win32

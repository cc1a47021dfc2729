#include "textview/printingports.h"

#include "app/commandline.h"

namespace tarvik::app {

void PrintingSound::play(const std::string& utf8Path) {
  // An empty name asks for silence: nothing to report, nothing to play.
  if (utf8Path.empty()) return;
  out_.write("sound", {utf8Path});
  real_.play(utf8Path);
}

ProcessHandle PrintingLauncher::start(const std::string& commandLine) {
  // Printed as the program and its arguments, split as the launcher will.
  const std::vector<std::string> argv = splitProgramLine(commandLine, isExecutableProgram);
  out_.write("launch", argv);
  ProcessHandle handle = real_.start(commandLine);
  if (handle != kNoProcess) started_[handle] = argv;
  return handle;
}

void PrintingLauncher::end(ProcessHandle process) {
  auto it = started_.find(process);
  if (it == started_.end()) return;  // never ours: nothing to ask
  out_.write("end", it->second);
  real_.end(process);
  // The handle is done with; the core may still hand it in again at a
  // later disconnection, which must not end anything twice.
  started_.erase(it);
}

void PrintingBrowser::open(const std::string& address) {
  out_.write("browse", {address});
  if (real_) real_->open(address);
}

}  // namespace tarvik::app

#pragma once
// Decorators that print what the core asks of the world (sounds, started
// and ended programs, web addresses) and pass it on to the real adapter.

#include <map>
#include <string>
#include <vector>

#include "textview/linewriter.h"
#include "engine/ports/browser.h"
#include "engine/ports/launcher.h"
#include "engine/ports/sound.h"

namespace tarvik::app {

class PrintingSound : public Sound {
 public:
  PrintingSound(LineWriter& out, Sound& real) : out_(out), real_(real) {}
  void play(const std::string& utf8Path) override;

 private:
  LineWriter& out_;
  Sound& real_;
};

// "launch" lists the argument vector; "end" lists the same vector again, so
// a reader can tell which program was asked to close.
class PrintingLauncher : public Launcher {
 public:
  PrintingLauncher(LineWriter& out, Launcher& real) : out_(out), real_(real) {}
  ProcessHandle start(const std::string& commandLine) override;
  void end(ProcessHandle process) override;

 private:
  LineWriter& out_;
  Launcher& real_;
  std::map<ProcessHandle, std::vector<std::string>> started_;
};

// The address is printed, and handed on to a real browser when there is
// one (without a display nobody would look at it).
class PrintingBrowser : public Browser {
 public:
  explicit PrintingBrowser(LineWriter& out, Browser* real = nullptr) : out_(out), real_(real) {}
  void open(const std::string& address) override;

 private:
  LineWriter& out_;
  Browser* real_;
};

}  // namespace tarvik::app

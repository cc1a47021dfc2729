#pragma once
// The headless front end: the text View on standard output, the prompter
// that never asks, the engine's ports on a libuv loop, and SIGINT, SIGTERM
// and SIGHUP as the way to end. The start-up sequence is the shared one
// (startup.h).

#include <cstdio>
#include <memory>

#include "app/corewiring.h"
#include "app/startup.h"
#include "headless/eventloop.h"
#include "headless/localclock.h"
#include "headless/uvinstancedoor.h"
#include "headless/uvlauncher.h"
#include "headless/uvtimers.h"
#include "headless/uvtransport.h"
#include "headless/xdgbrowser.h"
#include "posix/canberrasound.h"
#include "textview/headlessprompter.h"
#include "textview/linewriter.h"
#include "textview/printingports.h"
#include "textview/textview.h"

namespace tarvik::app {

class HeadlessFrontEnd : public FrontEnd {
 public:
  // events: where the event lines go.
  explicit HeadlessFrontEnd(std::FILE* events);
  ~HeadlessFrontEnd() override;

  void startClockAt(const LocalTime& start) override { wiring_.startClockAt(start); }
  TarvikCore& createCore(const std::filesystem::path& configDir) override;
  void settingsUnreadable(const std::filesystem::path& configDir, const std::filesystem::path& iniPath,
                          const std::string& reason) override;
  // Without windows there is no first-run dialog to ask for the address.
  bool routerAddressMissing(TarvikCore& core) override;
  // The password kept in the desktop's keyring ([SECRET] KEYRING) is read
  // before the loop runs; without it the program could not log in, so it
  // says why and ends.
  bool settingsLoaded(TarvikCore& core) override;
  int run(TarvikCore& core) override;
  void destroyCore() override { wiring_.destroyCore(); }

 private:
  class Signals;
  // A signal or the core's own close request: no question, no window
  // state to save; the exchange in flight is closed and the loop ends.
  void end();

  std::filesystem::path configDir_;
  std::FILE* events_;
  LineWriter out_;
  EventLoop loop_;  // first made, last gone: every handle below is closed on it
  UvTimers timers_;
  LocalClock clock_;
  UvLauncher realLauncher_;
  CanberraSound realSound_;
  XdgBrowser realBrowser_;
  CoreWiring wiring_;
  UvTransport transport_;
  TextView view_;
  HeadlessPrompter prompter_;
  PrintingSound sound_;
  PrintingLauncher launcher_;
  PrintingBrowser browser_;
  std::unique_ptr<Signals> signals_;
  std::unique_ptr<UvInstanceDoor> door_;  // second starts hand their words in here
  bool ended_ = false;
};

}  // namespace tarvik::app

#include "win32/runheadless.h"

#include <cstdio>
#include <memory>

#include "app/startup.h"
#include "textview/headlessprompter.h"
#include "textview/linewriter.h"
#include "textview/printingports.h"
#include "textview/textview.h"
#include "win32/consolecontrol.h"
#include "win32/corewiring.h"
#include "win32/instancedoor.h"
#include "win32/widetext.h"
#include "win32/winsound.h"

namespace tarvik::win32 {
namespace {

using app::HeadlessPrompter;
using app::LineWriter;
using app::PrintingBrowser;
using app::PrintingLauncher;
using app::PrintingSound;
using app::TextView;

// The headless front end on the Win32 message loop: the text View on
// standard output, the prompter that never asks, the Windows ports.
class WinHeadlessFrontEnd : public app::FrontEnd {
 public:
  // Started programs inherit no handle, so standard output stays the
  // event lines' own.
  WinHeadlessFrontEnd()
      : out_(stdout),
        view_(out_, [this] { wiring_.window().post([this] { end(); }); }),
        prompter_(view_, [this](std::function<void()> answer) { wiring_.window().post(std::move(answer)); }),
        sound_(out_, realSound_),
        launcher_(out_, wiring_.launcher()),
        browser_(out_) {}

  void startClockAt(const LocalTime& start) override { wiring_.startClockAt(start); }

  TarvikCore& createCore(const std::filesystem::path& configDir) override {
    TarvikCore& core = wiring_.createCore({view_, prompter_, sound_, browser_, &launcher_}, configDir);
    prompter_.attach(&core);
    return core;
  }

  void settingsUnreadable(const std::filesystem::path& configDir, const std::filesystem::path&,
                          const std::string& reason) override {
    std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n", narrow(configDir.wstring()).c_str(),
                 reason.c_str());
  }

  // Without windows there is no first-run dialog to ask for the address.
  bool routerAddressMissing(TarvikCore& core) override {
    // A broken [Tarvik] header is a common reason for it.
    if (!core.settingsNotice().empty()) std::fprintf(stderr, "tarvik: %s\n", core.settingsNotice().c_str());
    std::fprintf(stderr, "tarvik: no router address: set SOHOIP=<address> in the [Tarvik] section of %s\n",
                 narrow(core.files().iniPath().wstring()).c_str());
    return false;
  }

  int run(TarvikCore& core) override {
    ConsoleControl console(wiring_.window(), [this] { end(); });
    // A second start gives this one its action words.
    InstanceDoor door([&core](const std::vector<std::string>& words) { core.SecondStart(words); });
    core.FormShow();
    const int code = runMessageLoop();
    std::fflush(stdout);
    console.finished();
    return code;
  }

  void destroyCore() override { wiring_.destroyCore(); }

 private:
  // Ctrl-C or the core's own close request: no question, no window state
  // to save; the exchange in flight is closed and the loop ends.
  void end() {
    if (ended_) return;
    ended_ = true;
    if (TarvikCore* core = wiring_.core()) core->FormClose();
    out_.write("quit", {});
    ::PostQuitMessage(0);
  }

  LineWriter out_;
  CoreWiring wiring_;
  TextView view_;
  HeadlessPrompter prompter_;
  WinSound realSound_;
  PrintingSound sound_;
  PrintingLauncher launcher_;
  PrintingBrowser browser_;
  bool ended_ = false;
};

}  // namespace

int runHeadless(const app::ProgramOptions& options, const std::filesystem::path& configDir) {
  return app::runProgram(options, configDir, [] { return std::make_unique<WinHeadlessFrontEnd>(); });
}

}  // namespace tarvik::win32

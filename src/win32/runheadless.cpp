#include "runheadless.h"

#include <cstdio>
#include <exception>

#include "base/bytes.h"
#include "consolecontrol.h"
#include "corewiring.h"
#include "headlessprompter.h"
#include "linewriter.h"
#include "printingports.h"
#include "textview.h"
#include "widetext.h"
#include "winsound.h"

namespace tarvik::win32 {

using app::HeadlessPrompter;
using app::LineWriter;
using app::PrintingBrowser;
using app::PrintingLauncher;
using app::PrintingSound;
using app::TextView;

int runHeadless(const app::ProgramOptions& options, const std::filesystem::path& configDir) {
  // Started programs inherit no handle, so standard output stays the
  // event lines' own.
  LineWriter out(stdout);
  CoreWiring wiring;
  MessageWindow& window = wiring.window();

  bool ended = false;
  // Ctrl-C or the core's own close request: no question, no window state
  // to save; the exchange in flight is closed and the loop ends.
  auto end = [&] {
    if (ended) return;
    ended = true;
    if (TarvikCore* core = wiring.core()) core->FormClose();
    out.write("quit", {});
    ::PostQuitMessage(0);
  };
  TextView view(out, [&] { window.post(end); });
  HeadlessPrompter prompter(view, [&window](std::function<void()> answer) { window.post(std::move(answer)); });
  WinSound realSound;
  PrintingSound sound(out, realSound);
  PrintingLauncher launcher(out, wiring.launcher());
  PrintingBrowser browser(out);

  TarvikCore& core = wiring.createCore({view, prompter, sound, browser, &launcher}, configDir);
  // The core goes before the ports above, on every way out.
  struct EndCore {
    CoreWiring& wiring;
    ~EndCore() { wiring.destroyCore(); }
  } endCore{wiring};
  prompter.attach(&core);
  core.FormCreate(options.actionWords);
  try {
    core.files().loadAll(core.settings());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n", narrow(configDir.wstring()).c_str(),
                 e.what());
    return app::kUsageExitCode;
  }
  // Without windows there is no first-run dialog to ask for the address.
  if (trimBlanks(core.settings().tarvik.SOHOIP).empty()) {
    std::fprintf(stderr, "tarvik: no router address: set SOHOIP=<address> in the [Tarvik] section of %s\n",
                 narrow(core.files().iniPath().wstring()).c_str());
    return app::kUsageExitCode;
  }
  if (options.pollMs > 0) core.setPollIntervalOverrideMs(options.pollMs);

  ConsoleControl console(window, end);
  core.FormShow();
  const int code = runMessageLoop();
  std::fflush(stdout);
  console.finished();
  return code;
}

}  // namespace tarvik::win32

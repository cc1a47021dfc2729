#include "runheadless.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "headlessprompter.h"
#include "linewriter.h"
#include "printingports.h"
#include "signalwatcher.h"
#include "textview.h"
#include "adapters/qtsound.h"
#include "shell/corewiring.h"
#include "posixtransport.h"
#include "base/bytes.h"
#include "keyring/secretstores.h"
#include "settings/passwordkeeper.h"

namespace tarvik::app {
namespace {

// The event lines keep standard output to themselves. Launched programs
// inherit descriptor 1, so it is pointed at standard error, and the events
// go to a private copy of the original that no child inherits.
std::FILE* takeEventStream() {
  std::fflush(stdout);
  int fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (fd < 0) return stdout;
  std::FILE* events = ::fdopen(fd, "w");
  if (!events) {
    ::close(fd);
    return stdout;
  }
  ::dup2(STDERR_FILENO, STDOUT_FILENO);
  return events;
}

// The password kept in the desktop's keyring ([SECRET] KEYRING) is read
// before the loop runs; waiting here holds nothing up. Without it the
// program could not log in, so it says why and ends.
bool readKeyringPassword(SettingsStore& settings, const std::filesystem::path& configDir,
                         const std::filesystem::path& ini) {
  if (!settings.secret.KEYRING) return true;
  std::unique_ptr<SecretStore> secrets = makeSecretStore(configDir);
  std::string problem = "this build has no keyring support";
  if (secrets) PasswordKeeper(*secrets).fetch(settings, [&](const std::string& p) { problem = p; });
  if (problem.empty()) return true;
  std::fprintf(stderr,
               "tarvik: the router password is kept in the desktop keyring ([SECRET] KEYRING=1 in %s), "
               "and it cannot be read from here: %s\n",
               ini.c_str(), problem.c_str());
  return false;
}

}  // namespace

int runHeadless(QCoreApplication& app, const ProgramOptions& options, const std::filesystem::path& configDir) {
  std::FILE* events = takeEventStream();
  LineWriter out(events);

  CoreWiring wiring(
      [](TransportEvents handlers) { return std::make_unique<PosixTransport>(std::move(handlers)); });
  bool ended = false;
  // A signal or the core's own close request: no question, no window
  // state to save; the exchange in flight is closed and the loop ends.
  auto end = [&] {
    if (ended) return;
    ended = true;
    if (TarvikCore* core = wiring.core()) core->FormClose();
    out.write("quit", {});
    app.quit();
  };
  TextView view(out, [&] { QTimer::singleShot(0, &app, end); });
  HeadlessPrompter prompter(view, [&app](std::function<void()> answer) {
    QTimer::singleShot(0, &app, std::move(answer));
  });
  QtSound realSound;
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
    std::fprintf(stderr, "tarvik: cannot read the settings in %s: %s\n", configDir.c_str(), e.what());
    return kUsageExitCode;
  }
  // Without windows there is no first-run dialog to ask for the address.
  if (trimBlanks(core.settings().tarvik.SOHOIP).empty()) {
    std::fprintf(stderr, "tarvik: no router address: set SOHOIP=<address> in the [Tarvik] section of %s\n",
                 core.files().iniPath().c_str());
    return kUsageExitCode;
  }
  if (!readKeyringPassword(core.settings(), configDir, core.files().iniPath())) return kUsageExitCode;
  if (options.pollMs > 0) core.setPollIntervalOverrideMs(options.pollMs);

  SignalWatcher signalWatcher([&](int) { end(); });
  core.FormShow();
  int code = app.exec();
  std::fflush(events);
  return code;
}

}  // namespace tarvik::app

#include "app/gui/desktop.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include "adapters/qtbrowser.h"
#include "adapters/qtclock.h"
#include "adapters/qtlauncher.h"
#include "adapters/qtsound.h"
#include "adapters/qttimers.h"
#include "app/gui/appicon.h"
#include "app/gui/coreadapter.h"
#include "app/gui/desktopshell.h"
#include "base/sjis.h"
#include "core/tarvikcore.h"
#include "net/qt/asyncsocktransport.h"
#include "reactions/soundpaths.h"
#include "settings/dialogs/firstrundialog.h"
#include "windows/fonts.h"

namespace tarvik {

int runDesktop(QApplication& app, const DesktopOptions& options) {
  QApplication::setApplicationName(QStringLiteral("Tarvik"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tarvik"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tarvik"));
  QApplication::setWindowIcon(routerIcon());
  QApplication::setFont(proportionalFontPt(9));
  // The program lives in the tray: closing a window never ends it; only the
  // main window's allowed close does.
  QApplication::setQuitOnLastWindowClosed(false);

  TarvikCore* core = nullptr;
  AsyncSockTransport transport({
      [&core](SocketId s) { if (core) core->AsyncSock1Connect(s); },
      [&core](SocketId s, std::string_view bytes) { if (core) core->AsyncSock1Receive(s, bytes); },
      [&core](SocketId s) { if (core) core->AsyncSock1Close(s); },
  });
  QtTimers timers;
  QtClock clock;
  QtSound sound;
  QtLauncher launcher;
  QtBrowser browser;
  QtView view;

  TarvikCore tarvikCore(CorePorts{view, transport, timers, sound, launcher, browser, clock, view},
                        SettingsFiles(options.configDir));
  core = &tarvikCore;
  timers.setHandler(TimerId::Timer1, [core] { core->Timer1Timer(); });
  timers.setHandler(TimerId::Timer2, [core] { core->Timer2Timer(); });
  timers.setHandler(TimerId::TIMEMAN, [core] { core->TIMEMANTimer(); });
  timers.setHandler(TimerId::ExchangeWatchdog, [core] { core->ExchangeWatchdogTimer(); });
  if (options.pollMs > 0) core->setPollIntervalOverrideMs(options.pollMs);

  CoreAdapter actions(*core);
  DesktopShell shell(
      actions, view, browser, [&sound](const std::string& sjisPath) { sound.play(settingsPath(sjisPath)); },
      QSystemTrayIcon::isSystemTrayAvailable());

  // FormCreate: arguments, then the stay-on-top flag alone.
  core->FormCreate(options.actionWords);
  shell.applyStayOnTop(core->files().readStayOnTop());

  // The start-up load; without a router address the first-run dialog asks
  // for one (kept in memory until the settings dialog is next closed).
  SettingsStore& settings = core->settings();
  core->files().loadAll(settings);
  if (settings.tarvik.SOHOIP.empty()) {
    if (const std::optional<QString> address = FirstRunDialog::ask()) {
      settings.tarvik.SOHOIP = toSjis(address->toStdString());
    }
  }
  shell.applyLoadedSettings();

  QObject::connect(&shell, &DesktopShell::finished, &app, [] { QCoreApplication::exit(0); });
  shell.show();
  core->FormShow();
  return app.exec();
}

}  // namespace tarvik

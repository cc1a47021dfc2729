#include "desktop/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <exception>
#include <memory>
#include <optional>

#include "desktop/appicon.h"
#include "desktop/coreadapter.h"
#include "desktop/desktopshell.h"
#include "desktop/mainwindow.h"
#include "desktop/sessionend.h"
#include "shell/coreshell.h"
#include "base/sjis.h"
#include "reactions/soundpaths.h"
#include "dialogs/firstrundialog.h"
#include "keyring/secretstores.h"
#include "settings/passwordkeeper.h"
#include "windows/fonts.h"
#include "windows/messageboxes.h"

namespace tarvik {

int runDesktop(QApplication& app, const DesktopOptions& options) {
  // No display name: the platform would append it to every window title,
  // and each window's title is already the whole caption.
  QApplication::setApplicationName(QStringLiteral("Tarvik"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tarvik"));
  QApplication::setWindowIcon(routerIcon());
  QApplication::setFont(proportionalFontPt(9));
  // The program lives in the tray: closing a window never ends it; only the
  // main window's allowed close does.
  QApplication::setQuitOnLastWindowClosed(false);

  QtView view;
  app::CoreShell coreShell;
  TarvikCore& core = coreShell.createCore({view, view}, options.configDir);
  if (options.pollMs > 0) core.setPollIntervalOverrideMs(options.pollMs);

  CoreAdapter actions(core);
  app::CoreShell* shellPtr = &coreShell;
  DesktopShell shell(
      actions, view, coreShell.browser(),
      [shellPtr, &core](const std::string& sjisPath) { shellPtr->sound().play(core.soundFile(sjisPath)); },
      QSystemTrayIcon::isSystemTrayAvailable());

  // FormCreate: the arguments, then the stay-on-top flag alone.
  core.FormCreate(options.actionWords);
  shell.applyStayOnTop(core.files().readStayOnTop());

  // The start-up load; without a router address the first-run dialog asks
  // for one, and the address confirmed there is written at once.
  SettingsStore& settings = core.settings();
  try {
    core.files().loadAll(settings);
  } catch (const std::exception& e) {
    // Nothing to run without the settings: the program ends, unsuccessfully,
    // once the message is acknowledged.
    QMessageBox* box = showErrorBox(nullptr, QStringLiteral("設定を読み込めません: %1\n%2")
                                                 .arg(QString::fromStdString(core.files().iniPath().string()),
                                                      QString::fromLocal8Bit(e.what())));
    QObject::connect(box, &QMessageBox::finished, &app, [] { QCoreApplication::exit(kSettingsUnreadable); });
    const int code = app.exec();
    coreShell.destroyCore();
    return code;
  }
  if (settings.tarvik.SOHOIP.empty()) {
    const std::string error = FirstRunDialog::askAndKeep(settings, core.files());
    if (!error.empty()) showErrorBox(nullptr, QString::fromStdString(error));
  }
  shell.applyLoadedSettings();

  // The router password kept in the desktop's keyring: the answers of the
  // keyring come back through the event loop, which never waits for them.
  std::unique_ptr<SecretStore> secrets = app::makeSecretStore(options.configDir, [](std::function<void()> f) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(f), Qt::QueuedConnection);
  });
  std::optional<PasswordKeeper> keeper;
  if (secrets) keeper.emplace(*secrets);
  shell.windows().settings->setPasswordKeeper(keeper ? &*keeper : nullptr);

  QObject::connect(&shell, &DesktopShell::finished, &app, [] { QCoreApplication::exit(0); });
  // SIGTERM and the end of the desktop session close as the platform's
  // end-of-session message does: the window state saved, no question, and
  // an orderly way out of main(), which frees the single-instance lock.
  MainWindow* mainWindow = shell.windows().main;
  SessionEndWatcher sessionEnd([mainWindow] { mainWindow->endSession(); });
  // A quit that comes from elsewhere (the session manager's last word) ends
  // the same way; after an ordinary close this does nothing.
  QObject::connect(&app, &QCoreApplication::aboutToQuit, mainWindow, &MainWindow::endSession);
  shell.show();
  // The first exchange logs in, so it waits until the password is known.
  auto startUp = [&core](const std::string& problem) {
    core.FormShow();
    if (!problem.empty()) showErrorBox(nullptr, QString::fromStdString(problem));
  };
  if (keeper) {
    keeper->fetch(settings, startUp);
  } else {
    startUp({});
  }
  const int code = app.exec();
  coreShell.destroyCore();
  return code;
}

}  // namespace tarvik

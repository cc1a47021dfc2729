#include "desktop/desktop.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <exception>

#include "desktop/appicon.h"
#include "desktop/coreadapter.h"
#include "desktop/desktopshell.h"
#include "shell/coreshell.h"
#include "base/sjis.h"
#include "reactions/soundpaths.h"
#include "dialogs/firstrundialog.h"
#include "windows/fonts.h"
#include "windows/messageboxes.h"

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

  QtView view;
  app::CoreShell coreShell;
  TarvikCore& core = coreShell.createCore({view, view}, options.configDir);
  if (options.pollMs > 0) core.setPollIntervalOverrideMs(options.pollMs);

  CoreAdapter actions(core);
  app::CoreShell* shellPtr = &coreShell;
  DesktopShell shell(
      actions, view, coreShell.browser(),
      [shellPtr](const std::string& sjisPath) { shellPtr->sound().play(settingsPath(sjisPath)); },
      QSystemTrayIcon::isSystemTrayAvailable());

  // FormCreate: the arguments, then the stay-on-top flag alone.
  core.FormCreate(options.actionWords);
  shell.applyStayOnTop(core.files().readStayOnTop());

  // The start-up load; without a router address the first-run dialog asks
  // for one (kept in memory until the settings dialog is next closed).
  SettingsStore& settings = core.settings();
  try {
    core.files().loadAll(settings);
  } catch (const std::exception& e) {
    showErrorBox(nullptr, QStringLiteral("設定を読み込めません: %1\n%2")
                              .arg(QString::fromStdString(core.files().iniPath().string()),
                                   QString::fromLocal8Bit(e.what())));
    app.exec();  // until the message is acknowledged
    return 2;
  }
  if (settings.tarvik.SOHOIP.empty()) {
    if (const std::optional<QString> address = FirstRunDialog::ask()) {
      settings.tarvik.SOHOIP = toSjis(address->toStdString());
    }
  }
  shell.applyLoadedSettings();

  QObject::connect(&shell, &DesktopShell::finished, &app, [] { QCoreApplication::exit(0); });
  shell.show();
  core.FormShow();
  const int code = app.exec();
  coreShell.destroyCore();
  return code;
}

}  // namespace tarvik

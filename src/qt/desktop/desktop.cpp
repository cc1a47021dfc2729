#include "qt/desktop/desktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/startup.h"
#include "desktop/passwordplace.h"
#include "engine/base/sjis.h"
#include "engine/reactions/soundpaths.h"
#include "engine/settings/passwordkeeper.h"
#include "posix/instancedoor.h"
#include "posix/keyring/secretstores.h"
#include "qt/adapters/qtinstancedoor.h"
#include "qt/desktop/appicon.h"
#include "qt/desktop/desktopshell.h"
#include "qt/desktop/mainwindow.h"
#include "qt/desktop/sessionend.h"
#include "qt/dialogs/firstrundialog.h"
#include "qt/dialogs/settingsdialog.h"
#include "qt/shell/coreshell.h"
#include "qt/windows/fonts.h"
#include "qt/windows/messageboxes.h"

namespace tarvik {
namespace {

// The desktop front end: the Qt View, the windows and tray icons, the Qt
// adapters, the keyring. The start-up sequence is the shared one
// (startup.h).
class DesktopFrontEnd : public app::FrontEnd {
 public:
  explicit DesktopFrontEnd(QApplication& app) : app_(app) {}

  void startClockAt(const LocalTime& start) override { coreShell_.startClockAt(start); }

  TarvikCore& createCore(const std::filesystem::path& configDir) override {
    configDir_ = configDir;
    TarvikCore& core = coreShell_.createCore({view_, view_}, configDir);
    app::CoreShell* shellPtr = &coreShell_;
    shell_ = std::make_unique<DesktopShell>(
        core, view_, coreShell_.browser(),
        [shellPtr, &core](const std::string& sjisPath) { shellPtr->sound().play(core.soundFile(sjisPath)); },
        QSystemTrayIcon::isSystemTrayAvailable());
    return core;
  }

  // FormCreate has run; the stay-on-top flag is read alone, before the load.
  void created(TarvikCore& core) override { shell_->applyStayOnTop(core.files().readStayOnTop()); }

  void settingsUnreadable(const std::filesystem::path&, const std::filesystem::path& iniPath,
                          const std::string& reason) override {
    // Nothing to run without the settings: the program ends, unsuccessfully,
    // once the message is acknowledged.
    QMessageBox* box = showErrorBox(nullptr, QStringLiteral("設定を読み込めません: %1\n%2")
                                                 .arg(QString::fromStdString(iniPath.string()),
                                                      QString::fromLocal8Bit(reason.c_str())));
    QObject::connect(box, &QMessageBox::finished, &app_, [] { QCoreApplication::exit(kSettingsUnreadable); });
    app_.exec();
  }

  // The first-run dialog asks, and the address confirmed there is written
  // at once; without an answer the program runs all the same.
  bool routerAddressMissing(TarvikCore& core) override {
    SettingsStore edited = core.settings();
    const std::string error = FirstRunDialog::askAndKeep(edited, core.files());
    core.applySettings(edited);
    if (!error.empty()) showErrorBox(nullptr, QString::fromStdString(error));
    return true;
  }

  int run(TarvikCore& core) override {
    shell_->applyLoadedSettings();

    // The router password kept in the desktop's keyring: the answers of the
    // keyring come back through the event loop, which never waits for them.
    std::string noStore;
    secrets_ = app::makeSecretStore(
        configDir_,
        [](std::function<void()> f) {
          QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(f), Qt::QueuedConnection);
        },
        &noStore);
    if (secrets_) keeper_.emplace(*secrets_);
    shell_->windows().settings->setPasswordKeeper(keeper_ ? &*keeper_ : nullptr);

    QObject::connect(shell_.get(), &DesktopShell::finished, &app_, [] { QCoreApplication::exit(0); });
    // SIGTERM and the end of the desktop session close as the platform's
    // end-of-session message does: the window state saved, no question, and
    // an orderly way out of main(), which frees the single-instance lock.
    MainWindow* mainWindow = shell_->windows().main;
    sessionEnd_ = std::make_unique<SessionEndWatcher>([mainWindow] { mainWindow->endSession(); });
    // A quit that comes from elsewhere (the session manager's last word) ends
    // the same way; after an ordinary close this does nothing.
    QObject::connect(&app_, &QCoreApplication::aboutToQuit, mainWindow, &MainWindow::endSession);
    shell_->show();
    // A second start brings this one forward and gives it its action words.
    door_ = std::make_unique<QtInstanceDoor>(app::instanceDoorPath(),
                                             [this, &core](const std::vector<std::string>& words) {
                                               shell_->comeForward();
                                               core.SecondStart(words);
                                             });
    if (!door_->problem().isEmpty()) {
      std::fprintf(stderr, "tarvik: a second start cannot reach this one: %s\n",
                   qPrintable(door_->problem()));
    }
    // The first exchange logs in, so it waits until the password is known.
    auto startUp = [&core](const std::string& problem) {
      core.FormShow();
      if (!problem.empty()) showErrorBox(nullptr, QString::fromStdString(problem));
    };
    // The keeper answers later; the password it found goes to the settings
    // dialog too.
    SettingsDialog* dialog = shell_->windows().settings;
    desktop::fetchPasswordAtStart(core, keeper_ ? &*keeper_ : nullptr, noStore,
                                  [dialog, startUp](const std::string& problem) {
                                    dialog->showPassword();
                                    startUp(problem);
                                  });
    const int code = app_.exec();
    door_.reset();  // no second start reaches a program on its way out
    return code;
  }

  void destroyCore() override { coreShell_.destroyCore(); }

 private:
  QApplication& app_;
  std::filesystem::path configDir_;
  QtView view_;
  app::CoreShell coreShell_;
  std::unique_ptr<DesktopShell> shell_;
  std::unique_ptr<SecretStore> secrets_;
  std::optional<PasswordKeeper> keeper_;
  std::unique_ptr<SessionEndWatcher> sessionEnd_;
  std::unique_ptr<QtInstanceDoor> door_;
};

}  // namespace

int runDesktop(QApplication& app, const app::ProgramOptions& options, const std::filesystem::path& configDir) {
  // No display name: the platform would append it to every window title,
  // and each window's title is already the whole caption.
  QApplication::setApplicationName(QStringLiteral("Tarvik"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tarvik"));
  QApplication::setWindowIcon(routerIcon());
  QApplication::setFont(proportionalFontPt(9));
  // The program lives in the tray: closing a window never ends it; only the
  // main window's allowed close does.
  QApplication::setQuitOnLastWindowClosed(false);
  return app::runProgram(options, configDir, [&app] { return std::make_unique<DesktopFrontEnd>(app); });
}

}  // namespace tarvik

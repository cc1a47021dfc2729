#include "win32/desktop/rundesktop.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <memory>

#include "app/startup.h"
#include "win32/corewiring.h"
#include "win32/desktop/channelicon.h"
#include "win32/desktop/dpi.h"
#include "win32/desktop/mainwindow.h"
#include "win32/desktop/messagebox.h"
#include "win32/desktop/programfiles.h"
#include "win32/desktop/taskbar.h"
#include "win32/desktop/winview.h"
#include "win32/dialogs/dialogs.h"
#include "win32/dialogs/routerpassword.h"
#include "win32/instancedoor.h"
#include "win32/programdir.h"
#include "win32/widetext.h"
#include "win32/winbrowser.h"
#include "win32/winsound.h"

namespace tarvik::win32 {
namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";

// An owned icon handle.
struct IconHandle {
  HICON icon = nullptr;
  ~IconHandle() {
    if (icon) ::DestroyIcon(icon);
  }
};

// The hidden top-level window that owns the main window, as the
// application window of the original platform does: the main window has no
// taskbar button of its own, and this one is never shown.
HWND createApplicationWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kApplicationClass;
  ::RegisterClassExW(&wc);
  return ::CreateWindowExW(0, kApplicationClass, L"Tarvik", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                           nullptr);
}

// The desktop front end: the Windows View, the windows and tray icons, the
// Windows adapters. The start-up sequence is the shared one (startup.h).
class WinDesktopFrontEnd : public app::FrontEnd {
 public:
  WinDesktopFrontEnd() : instance_(::GetModuleHandleW(nullptr)), view_(wiring_.window()) {}

  ~WinDesktopFrontEnd() override { destroyWindows(); }

  void startClockAt(const LocalTime& start) override { wiring_.startClockAt(start); }

  TarvikCore& createCore(const std::filesystem::path& configDir) override {
    TarvikCore& core = wiring_.createCore({view_, view_, sound_, browser_, nullptr}, configDir);
    createWindows(core);
    return core;
  }

  // FormCreate has run; the stay-on-top flag is read alone, before the load.
  void created(TarvikCore& core) override { main_->setStayOnTop(core.files().readStayOnTop()); }

  void settingsUnreadable(const std::filesystem::path&, const std::filesystem::path& iniPath,
                          const std::string& reason) override {
    errorBox(nullptr, "設定を読み込めません: " + narrow(iniPath.wstring()) + "\n" + reason);
  }

  // The first-run dialog asks, and the address confirmed there is written
  // at once; without an answer the program runs all the same.
  bool routerAddressMissing(TarvikCore& core) override {
    SettingsStore edited = core.settings();
    const std::string error = askRouterAddressAndKeep(edited, core.files(), nullptr);
    core.applySettings(edited);
    if (!error.empty()) errorBox(nullptr, error);
    return true;
  }

  int run(TarvikCore& core) override {
    // The program lives in the tray; the window has no taskbar button.
    main_->presenter().applyLoadedSettings();
    main_->presenter().showAtStart();
    // The first exchange logs in, so it waits until the password is known.
    password_->fetchAtStart(core, *settings_, [this, &core](const std::string& problem) {
      core.FormShow();
      if (!problem.empty()) errorBox(main_->hwnd(), problem);
    });

    // A second start brings this one forward and gives it its action words.
    InstanceDoor door([this, &core](const std::vector<std::string>& words) {
      if (main_) main_->bringBack();
      core.SecondStart(words);
    });

    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (dispatchDialogMessage(msg)) continue;
      if (main_ && main_->preTranslate(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    destroyWindows();
    return static_cast<int>(msg.wParam);
  }

  void destroyCore() override { wiring_.destroyCore(); }

 private:
  void createWindows(TarvikCore& core) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
    applicationWindow_ = createApplicationWindow(instance_);

    MainWindow::Hooks hooks;
    hooks.config = [this] {
      if (settings_) settings_->openDialog();
    };
    hooks.details = [this] {
      if (details_) details_->show();
    };
    hooks.about = [this] {
      if (about_) about_->showModal();
    };
    hooks.writeWindowState = [this](WindowPlacement& placement) {
      if (!details_) return;
      const DetailsWindow::Geometry g = details_->savedGeometry();
      placement.left2 = g.left;
      placement.top2 = g.top;
      placement.Width2 = g.width;
      placement.Height2 = g.height;
    };
    hooks.showTrayIcon = [this] { TSOHO_->setEnableTaskTray(true); };
    hooks.copyAddress = [this](Channel ch) {
      main_->copyToClipboard(ch, (ch == Channel::B1 ? TB1_ : TB2_)->tips());
    };
    hooks.placeDetails = [this](const desktop::WindowGeometry& g) {
      details_->applyGeometry({g.left, g.top, g.width, g.height});
    };
    hooks.loadSettingsForm = [this] { settings_->loadFromStore(); };
    hooks.closed = [] { ::PostQuitMessage(0); };
    main_ = std::make_unique<MainWindow>(instance_, core, applicationWindow_, std::move(hooks));
    main_->presenter().setBrowser(&browser_);
    createDialogs(core);

    // Drawn for the notification area, not for the monitor of the window.
    const int side = trayIconSide();
    appIcon_.icon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON, side, side, 0));
    b1Icon_.icon = drawChannelIcon(L"B1", side);
    b2Icon_.icon = drawChannelIcon(L"B2", side);

    TSOHO_ = std::make_unique<TTaskBar>(instance_);
    TSOHO_->setApplicationIcon(appIcon_.icon);
    TB1_ = std::make_unique<TTaskBar>(instance_);
    TB1_->setIcon(b1Icon_.icon);
    TB2_ = std::make_unique<TTaskBar>(instance_);
    TB2_->setIcon(b2Icon_.icon);
    wireTrayIcon(*TSOHO_, desktop::TrayIcon::TSOHO);
    wireTrayIcon(*TB1_, desktop::TrayIcon::TB1);
    wireTrayIcon(*TB2_, desktop::TrayIcon::TB2);

    view_.attach(core, {main_.get(), TSOHO_.get(), TB1_.get(), TB2_.get()});
    WinView::DialogHooks dialogHooks;
    dialogHooks.appendDetails = [this](const std::string& line) { details_->appendLine(line); };
    dialogHooks.clearDetails = [this] { details_->clearText(); };
    dialogHooks.setDestinationList = [this](const std::vector<std::string>& entries) {
      settings_->setDestinationList(entries);
    };
    dialogHooks.setRouterVersion = [this](const std::string& banner) { about_->setRouterVersion(banner); };
    dialogHooks.askCredentials = [this](const std::string& lastUserId) { credentials_->ask(lastUserId); };
    view_.setDialogHooks(std::move(dialogHooks));
  }

  // The windows the main window opens, in the order the program makes them,
  // each owned by it: they go out of sight and come back with it.
  void createDialogs(TarvikCore& core) {
    HWND owner = main_->hwnd();
    SettingsDialog::Hooks hooks;
    hooks.monitoringOffChanged = [this](bool off) { main_->setMonitoringOff(off); };
    hooks.stayOnTopChanged = [this](bool onTop) { main_->setStayOnTop(onTop); };
    hooks.connectHintChanged = [this](const std::string& text) { main_->setConnectHint(text); };
    settings_ = std::make_unique<SettingsDialog>(core, owner, std::move(hooks));
    password_ = std::make_unique<RouterPassword>(core.files().directory());
    password_->attach(*settings_);
    std::filesystem::path picture = findProgramFile(pictureName());
    if (picture.empty()) picture = executableDir() / pictureName();
    about_ = std::make_unique<AboutBox>(owner, picture);
    credentials_ = std::make_unique<CredentialsDialog>(core, owner);
    details_ = std::make_unique<DetailsWindow>(core, owner);
  }

  // Which press and release on which icon does what is the presentation's.
  void wireTrayIcon(TTaskBar& icon, desktop::TrayIcon id) {
    MainWindow* main = main_.get();
    auto menu = [main, id](desktop::TrayButton button) -> TTaskBar::MenuHandler {
      const auto which = desktop::trayMenuOnRelease(id, button);
      if (!which) return nullptr;
      const bool large = *which == desktop::TrayMenu::PopupMenu1;
      return [main, large](POINT at) { main->popUp(large ? main->popupMenu1() : main->popupMenu2(), at); };
    };
    icon.setPopupMenuLeft(menu(desktop::TrayButton::Left));
    icon.setPopupMenuMiddle(menu(desktop::TrayButton::Middle));
    icon.setPopupMenuRight(menu(desktop::TrayButton::Right));
    icon.setOnTrayClick([main, id](TTaskBar::MouseButton b) {
      const desktop::TrayButton button = b == TTaskBar::MouseButton::Left    ? desktop::TrayButton::Left
                                         : b == TTaskBar::MouseButton::Right ? desktop::TrayButton::Right
                                                                             : desktop::TrayButton::Middle;
      main->presenter().trayPressed(id, button);
    });
  }

  void destroyWindows() {
    view_.detach();
    // The tray icons go first, so none is left in the notification area.
    TB2_.reset();
    TB1_.reset();
    TSOHO_.reset();
    details_.reset();
    credentials_.reset();
    about_.reset();
    settings_.reset();
    password_.reset();
    main_.reset();
    if (applicationWindow_) ::DestroyWindow(applicationWindow_);
    applicationWindow_ = nullptr;
  }

  HINSTANCE instance_;
  CoreWiring wiring_;
  WinView view_;
  WinSound sound_;
  WinBrowser browser_;
  HWND applicationWindow_ = nullptr;
  IconHandle appIcon_, b1Icon_, b2Icon_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<SettingsDialog> settings_;
  std::unique_ptr<RouterPassword> password_;
  std::unique_ptr<AboutBox> about_;
  std::unique_ptr<CredentialsDialog> credentials_;
  std::unique_ptr<DetailsWindow> details_;
  std::unique_ptr<TTaskBar> TSOHO_, TB1_, TB2_;
};

}  // namespace

int runDesktop(const app::ProgramOptions& options, const std::filesystem::path& configDir) {
  return app::runProgram(options, configDir, [] { return std::make_unique<WinDesktopFrontEnd>(); });
}

}  // namespace tarvik::win32

#include "desktop/mainpresenter.h"

#include "engine/core/coretexts.h"

namespace tarvik::desktop {

MainPresenter::MainPresenter(EngineCommands& core, MainWindowHost& host)
    : core_(core), host_(host), parking_(host) {}

void MainPresenter::applyLoadedSettings() {
  const SettingsStore& s = core_.settings();
  parking_.placeAt(s.option.left, s.option.top);
  host_.setTimeSwitchCaption(texts::timedDisconnectCaption(s.time.OFF));
  host_.setTimeSwitchChecked(core_.jigenChecked());
  host_.setMonitoringOff(s.option.monitoringOff);
  host_.placeDetails({s.option.left2, s.option.top2, s.option.Width2, s.option.Height2});
  host_.loadSettingsForm();
}

void MainPresenter::showAtStart() {
  host_.showTrayIcon();
  host_.showWindow();
  if (core_.settings().option.SIZE) parking_.park();
}

void MainPresenter::run(const MenuItem& item) {
  // The item's number, not its caption, decides what happens.
  if (item.engine) {
    item.engine(core_, item.value);
    return;
  }
  switch (item.act) {
    case MenuAct::Exit:
      host_.requestClose();
      break;
    case MenuAct::Config:
      host_.openSettings();
      break;
    case MenuAct::Help:
      openManual(ManualSection::Whole);
      break;
    case MenuAct::About:
      host_.openAbout();
      break;
    case MenuAct::ProgramPage:
      // The program's own page is the manual's section about the program.
      openManual(ManualSection::Program);
      break;
    case MenuAct::BringBack:
      parking_.bringBack();
      break;
    case MenuAct::Jigen:
      core_.JIGENClick();
      host_.setTimeSwitchChecked(core_.jigenChecked());
      break;
    case MenuAct::Details:
      host_.openDetails();  // K7Click presses Button3
      break;
    case MenuAct::Usage:
      host_.openUsage();
      break;
    case MenuAct::Submenu:
    case MenuAct::Separator:
    case MenuAct::Engine:  // without a call: nothing to run
    case MenuAct::Destination:
      break;
  }
}

void MainPresenter::trayPressed(TrayIcon icon, TrayButton) {
  if (const auto ch = trayAddressOnPress(icon)) host_.copyAddress(*ch);
}

void MainPresenter::openManual(ManualSection section) {
  const std::string path = host_.manualPath();
  if (path.empty()) {
    host_.showError(std::string(kManualMissing) + kManualName);
    return;
  }
  if (browser_) browser_->open(manualAddress(path, section));
}

WindowPlacement MainPresenter::windowState() const {
  const auto& saved = core_.settings().option;
  return WindowPlacement{host_.windowLeft(), host_.windowTop(), parking_.isParked(),
                         saved.left2,        saved.top2,         saved.Width2,
                         saved.Height2};
}

}  // namespace tarvik::desktop

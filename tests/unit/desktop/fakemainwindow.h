#pragma once
// A main window for the presentation's tests: a frame of the real window's
// size on one 1024 x 768 screen, minimised or not, that records what the
// presentation asks of it ("open settings", "copy B2").

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/mainwindowhost.h"
#include "desktop/screenfit.h"

namespace tarvik::test {

class FakeMainWindow : public desktop::MainWindowHost {
 public:
  static constexpr int kWidth = 142, kHeight = 150;
  static constexpr app::ScreenRect kScreen{0, 0, 1024, 768};

  int left = 0, top = 0;
  bool minimised = false, shown = false;
  std::vector<std::string> asked;  // the other windows' part, in order
  std::string timeSwitchCaption;
  bool timeSwitchChecked = false;
  bool monitoringOff = false;
  desktop::WindowGeometry details;
  std::string manual = "/opt/tarvik/manual/manual.html";
  std::vector<std::string> errors;

  bool onScreen() const {
    return left >= 0 && top >= 0 && left + kWidth <= kScreen.width && top + kHeight <= kScreen.height;
  }
  void userMoves(int l, int t) { left = l, top = t; }

  int windowLeft() const override { return left; }
  int windowTop() const override { return top; }
  void moveWindow(int l, int t) override { left = l, top = t; }
  void keepReachable() override {
    const app::ScreenRect screens[] = {kScreen};
    const app::ScreenPoint to = app::fitOnScreens({left, top, kWidth, kHeight}, screens);
    left = to.left, top = to.top;
  }
  bool isMinimised() const override { return minimised; }
  void minimiseApplication() override { minimised = true; }
  void restoreWindow(bool activate) override {
    minimised = false;
    if (activate) asked.push_back("to the front");
  }
  void bringToFront() override { asked.push_back("to the front"); }
  void showWindow() override {
    shown = true;
    asked.push_back("show window");
  }
  void requestClose() override { asked.push_back("close"); }
  void openSettings() override { asked.push_back("settings window"); }
  void openDetails() override { asked.push_back("details window"); }
  void openAbout() override { asked.push_back("about box"); }
  void openUsage() override { asked.push_back("usage window"); }
  void setTimeSwitchCaption(const std::string& caption) override { timeSwitchCaption = caption; }
  void setTimeSwitchChecked(bool checked) override { timeSwitchChecked = checked; }
  void setMonitoringOff(bool off) override { monitoringOff = off; }
  void showTrayIcon() override { asked.push_back("tray icon"); }
  void copyAddress(Channel ch) override { asked.push_back(ch == Channel::B1 ? "copy B1" : "copy B2"); }
  void placeDetails(const desktop::WindowGeometry& geometry) override { details = geometry; }
  void loadSettingsForm() override { asked.push_back("settings form loaded"); }
  std::string manualPath() const override { return manual; }
  void showError(const std::string& text) override { errors.push_back(text); }
};

}  // namespace tarvik::test

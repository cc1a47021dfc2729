// The main window's presentation over a fake window: the window setup from
// the settings loaded at start, the tray mouse rules, the manual, and what a
// close request hands the engine.
#include "desktop/mainpresenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fakemainwindow.h"
#include "fakes/fakeports.h"
#include "fakes/recordingcore.h"

namespace tarvik::desktop {
namespace {

struct PresenterTest : ::testing::Test {
  test::RecordingCore core{std::filesystem::temp_directory_path() / "tarvik-presenter-test"};
  test::FakeMainWindow window;
  test::FakeBrowser browser;
  MainPresenter presenter{core, window};
  PresenterTest() { presenter.setBrowser(&browser); }
};

TEST_F(PresenterTest, TheLoadedSettingsPlaceTheWindowsAndSetTheTimedDisconnectItem) {
  core.store.option.left = 120;
  core.store.option.top = 30;
  core.store.option.left2 = 200;
  core.store.option.top2 = 250;
  core.store.option.Width2 = 500;
  core.store.option.Height2 = 300;
  core.store.option.monitoringOff = true;
  core.store.time.OFF = "6:15";
  presenter.applyLoadedSettings();
  EXPECT_EQ(window.left, 120);
  EXPECT_EQ(window.top, 30);
  EXPECT_EQ(presenter.parking().rememberedTop(), 30);
  EXPECT_EQ(window.details, (WindowGeometry{200, 250, 500, 300}));
  EXPECT_EQ(window.timeSwitchCaption, "時限切断 [6:15]");
  EXPECT_TRUE(window.timeSwitchChecked) << "as the engine's switch stands";
  EXPECT_TRUE(window.monitoringOff) << "the channel boxes greyed without monitoring";
  EXPECT_EQ(window.asked, std::vector<std::string>{"settings form loaded"});
  EXPECT_FALSE(window.shown) << "shown only by showAtStart";
}

// The tray icon comes first, then the window; with [OPTION] SIZE the window
// is parked at its first showing, and only then.
TEST_F(PresenterTest, StartingMinimisedParksTheWindowOnceAtItsFirstShowing) {
  for (const bool size : {false, true}) {
    SCOPED_TRACE(size ? "SIZE" : "no SIZE");
    window = test::FakeMainWindow{};
    core.store.option.SIZE = size;
    core.store.option.top = 40;
    presenter.applyLoadedSettings();
    window.asked.clear();
    presenter.showAtStart();
    EXPECT_EQ(window.asked, (std::vector<std::string>{"tray icon", "show window"}));
    EXPECT_EQ(presenter.parking().isParked(), size);
    EXPECT_EQ(window.top, size ? kParkedTop : 40);
  }
  presenter.K4Click();
  EXPECT_EQ(window.top, 40);
}

// TSOHO opens the short menu on the left button and the large one on the
// middle and right buttons, at their release; TB1 and TB2 copy their
// channel's address on any press and open no menu.
TEST_F(PresenterTest, TheTrayMouseRules) {
  const struct {
    TrayIcon icon;
    TrayButton button;
    std::optional<TrayMenu> menu;
    const char* press;  // what a press does; nullptr: nothing
  } cases[] = {
      {TrayIcon::TSOHO, TrayButton::Left, TrayMenu::PopupMenu2, nullptr},
      {TrayIcon::TSOHO, TrayButton::Middle, TrayMenu::PopupMenu1, nullptr},
      {TrayIcon::TSOHO, TrayButton::Right, TrayMenu::PopupMenu1, nullptr},
      {TrayIcon::TB1, TrayButton::Left, std::nullopt, "copy B1"},
      {TrayIcon::TB1, TrayButton::Right, std::nullopt, "copy B1"},
      {TrayIcon::TB1, TrayButton::Middle, std::nullopt, "copy B1"},
      {TrayIcon::TB2, TrayButton::Left, std::nullopt, "copy B2"},
      {TrayIcon::TB2, TrayButton::Right, std::nullopt, "copy B2"},
      {TrayIcon::TB2, TrayButton::Middle, std::nullopt, "copy B2"},
  };
  for (const auto& c : cases) {
    const std::string what = std::to_string(static_cast<int>(c.icon)) + "/" +
                             std::to_string(static_cast<int>(c.button));
    EXPECT_EQ(trayMenuOnRelease(c.icon, c.button), c.menu) << what;
    window.asked.clear();
    presenter.trayPressed(c.icon, c.button);
    EXPECT_EQ(window.asked, c.press ? std::vector<std::string>{c.press} : std::vector<std::string>{}) << what;
  }
  EXPECT_TRUE(core.calls.empty()) << "a tray click asks the engine nothing";
}

TEST_F(PresenterTest, TheManualOpensAsAFileAddressAndTheProgramsPageIsItsSectionAboutTarvik) {
  presenter.openManual(ManualSection::Whole);
  presenter.openManual(ManualSection::Program);
  EXPECT_EQ(browser.opened, (std::vector<std::string>{"file:///opt/tarvik/manual/manual.html",
                                                      "file:///opt/tarvik/manual/manual.html#tarvik"}));
  EXPECT_TRUE(window.errors.empty());

  window.manual.clear();
  browser.opened.clear();
  presenter.openManual(ManualSection::Whole);
  EXPECT_TRUE(browser.opened.empty());
  EXPECT_EQ(window.errors, std::vector<std::string>{std::string("マニュアルが見つかりません: ") + kManualName});
}

TEST(FileUrl, PathsOfBothPlatformsBecomeFileAddresses) {
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/share/tarvik/manual/manual.html", "file:///usr/share/tarvik/manual/manual.html"},
      {"C:\\Program Files\\Tarvik\\manual\\manual.html", "file:///C:/Program%20Files/Tarvik/manual/manual.html"},
      {"/home/太郎/100%/#1?/manual.html", "file:///home/太郎/100%25/%231%3F/manual.html"},
  };
  for (const auto& [path, url] : cases) EXPECT_EQ(fileUrl(path), url) << path;
}

// What a close request hands the engine: the window's place and whether it
// is parked (the engine then keeps the saved top), with the details
// window's geometry as loaded.
TEST_F(PresenterTest, TheWindowStateSaysWhetherTheWindowIsParked) {
  core.store.option.top = 40;
  core.store.option.Width2 = 438;
  presenter.applyLoadedSettings();
  window.userMoves(360, 70);
  presenter.parking().park();
  WindowPlacement p = presenter.windowState();
  EXPECT_EQ(p.left, 360);
  EXPECT_TRUE(p.parked);
  EXPECT_EQ(p.Width2, 438);
  presenter.K4Click();
  p = presenter.windowState();
  EXPECT_FALSE(p.parked);
  EXPECT_EQ(p.top, 40);
}

TEST_F(PresenterTest, TheDestinationLabelMinimisesAndADoubleClickBringsBack) {
  presenter.applyLoadedSettings();
  presenter.Label1Click();
  EXPECT_TRUE(window.minimised);
  presenter.K4Click();
  EXPECT_FALSE(window.minimised);
  // On screen, a double click changes nothing visible.
  window.userMoves(300, 90);
  presenter.K4Click();
  EXPECT_EQ(window.left, 300);
  EXPECT_EQ(window.top, 90);
}

}  // namespace
}  // namespace tarvik::desktop

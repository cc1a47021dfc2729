#include "desktop/screenfit.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvik::app {
namespace {

// A window of the main window's size; two screens side by side, the
// second one lower and smaller (a laptop beside a monitor).
constexpr int kW = 136, kH = 150;
const std::vector<ScreenRect> kTwoScreens{{0, 0, 1920, 1080}, {1920, 200, 1366, 768}};
const std::vector<ScreenRect> kOneScreen{{0, 0, 1366, 768}};

TEST(FitOnScreens, ReachableWindowsStayAndLostOnesComeToTheNearestScreen) {
  struct Case {
    const char* why;
    const std::vector<ScreenRect>& screens;
    ScreenPoint at, expected;
  } const cases[] = {
      {"the default place", kOneScreen, {350, 0}, {350, 0}},
      {"on the second screen", kTwoScreens, {2500, 300}, {2500, 300}},
      {"partly past the right edge, title bar still there", kOneScreen, {1366 - 30, 100}, {1366 - 30, 100}},
      {"left on a monitor that is gone", kOneScreen, {2500, 300}, {1366 - kW, 300}},
      {"below the smaller screen's bottom", kOneScreen, {400, 1000}, {400, 768 - kH}},
      {"far off to the lower right", kOneScreen, {9000, 9000}, {1366 - kW, 768 - kH}},
      {"off to the left and above", kOneScreen, {-5000, -5000}, {0, 0}},
      {"only a sliver past the right edge", kOneScreen, {1366 - 10, 100}, {1366 - kW, 100}},
      {"title bar above the screen", kOneScreen, {200, -40}, {200, 0}},
      {"title bar below the screen's bottom", kOneScreen, {200, 768 - 10}, {200, 768 - kH}},
      {"in the gap above the lower second screen", kTwoScreens, {2500, 50}, {2500, 200}},
      {"nearer the first screen", kTwoScreens, {-500, 500}, {0, 500}},
      {"nearer the second screen", kTwoScreens, {4000, 500}, {1920 + 1366 - kW, 500}},
      {"no screens known: left alone", {}, {9000, 9000}, {9000, 9000}},
  };
  for (const Case& c : cases) {
    const ScreenRect window{c.at.left, c.at.top, kW, kH};
    EXPECT_EQ(fitOnScreens(window, c.screens), c.expected) << c.why;
    // What comes back is reachable, and stays where it is.
    if (!c.screens.empty()) {
      const ScreenRect moved{c.expected.left, c.expected.top, kW, kH};
      EXPECT_TRUE(reachable(moved, c.screens)) << c.why;
      EXPECT_EQ(fitOnScreens(moved, c.screens), c.expected) << c.why;
    }
  }
}

TEST(FitOnScreens, WindowLargerThanTheScreenKeepsToItsTopLeft) {
  const std::vector<ScreenRect> small{{100, 50, 640, 480}};
  EXPECT_EQ(fitOnScreens({3000, 3000, 800, 600}, small), (ScreenPoint{100, 50}));
}

// A large window (the usage window at 150 %) on a work area above a
// taskbar, and on one beside a taskbar at the left: never out of it.
TEST(FitInWorkArea, ALargeWindowShrinksToTheWorkAreaAndStaysInside) {
  const ScreenRect aboveTaskbar{0, 0, 1024, 728};
  const ScreenRect besideTaskbar{60, 0, 964, 768};
  struct Case {
    const char* why;
    ScreenRect area, window, centred, kept;
  } const cases[] = {
      // clang-format off
      {"fits: centred, and kept where it is", aboveTaskbar,
       {10, 10, 836, 711}, {94, 8, 836, 711}, {10, 10, 836, 711}},
      {"its bottom edge over the taskbar", aboveTaskbar,
       {10, 20, 836, 711}, {94, 8, 836, 711}, {10, 17, 836, 711}},
      {"taller than the work area", aboveTaskbar,
       {0, 107, 836, 1064}, {94, 0, 836, 728}, {0, 0, 836, 728}},
      {"larger both ways", aboveTaskbar,
       {-20, -20, 1246, 1064}, {0, 0, 1024, 728}, {0, 0, 1024, 728}},
      {"past the bottom right", aboveTaskbar,
       {900, 700, 300, 200}, {362, 264, 300, 200}, {724, 528, 300, 200}},
      {"over the taskbar at the left", besideTaskbar,
       {0, 0, 300, 200}, {392, 284, 300, 200}, {60, 0, 300, 200}},
      // clang-format on
  };
  for (const Case& c : cases) {
    EXPECT_EQ(centredWithin(c.window.width, c.window.height, c.area), c.centred) << c.why;
    EXPECT_EQ(keptWithin(c.window, c.area), c.kept) << c.why;
  }
}

}  // namespace
}  // namespace tarvik::app

// Parking and bringing back, once for both desktops, over a fake window.
#include "desktop/parking.h"

#include <gtest/gtest.h>

#include "fakemainwindow.h"

namespace tarvik::desktop {
namespace {

using test::FakeMainWindow;

struct ParkingTest : ::testing::Test {
  FakeMainWindow window;
  Parking parking{window};
};

TEST_F(ParkingTest, ParkingAndBringingBack) {
  parking.placeAt(350, 40);
  EXPECT_EQ(window.left, 350);
  EXPECT_EQ(window.top, 40);
  EXPECT_FALSE(parking.isParked());
  parking.park();
  EXPECT_EQ(window.top, kParkedTop);
  EXPECT_EQ(window.left, 350) << "parking keeps the left edge";
  EXPECT_TRUE(parking.isParked());
  EXPECT_FALSE(window.minimised) << "parked is not minimised";
  parking.bringBack();
  EXPECT_EQ(window.top, 40);
  EXPECT_FALSE(parking.isParked());

  window.userMoves(500, 200);
  parking.bringBack();
  EXPECT_EQ(window.top, 200) << "a window on screen stays where the user put it";
  EXPECT_EQ(window.left, 500);
  parking.restoreOnConnect();
  EXPECT_EQ(window.top, 40) << "a connection brings it to the remembered top";
  EXPECT_EQ(window.left, 500);
}

// The top saved in the file decides: -300 starts the window parked, and the
// close then keeps the saved top; bringing it back puts it on the screen.
TEST_F(ParkingTest, ASavedParkedTopStartsParked) {
  parking.placeAt(350, kParkedTop);
  EXPECT_TRUE(parking.isParked());
  EXPECT_EQ(window.top, kParkedTop) << "a saved parked top stays out of sight";
  parking.bringBack();
  EXPECT_FALSE(parking.isParked());
  EXPECT_TRUE(window.onScreen()) << "brought back onto the screen, not to -300 again";
}

TEST_F(ParkingTest, MinimisingAndBringingBack) {
  parking.placeAt(350, 40);
  parking.minimise();
  EXPECT_TRUE(window.minimised);
  window.asked.clear();
  parking.bringBack();
  EXPECT_FALSE(window.minimised);
  EXPECT_EQ(window.top, 40);
  EXPECT_EQ(window.asked.back(), "to the front");

  // A connection restores without taking the user's focus.
  parking.park();
  parking.minimise();
  window.asked.clear();
  parking.restoreOnConnect();
  EXPECT_FALSE(window.minimised);
  EXPECT_FALSE(parking.isParked());
  EXPECT_EQ(window.top, 40);
  EXPECT_TRUE(window.asked.empty()) << "not brought to the front";
}

// Saved on a screen that is gone, the window starts on the nearest screen
// and returns there; one that a screen change leaves out of sight comes back
// with 情報窓表示 or a connection. Parked stays parked until brought back.
TEST_F(ParkingTest, AWindowNoScreenShowsComesBackOntoTheNearestOne) {
  const struct {
    const char* why;
    int left, top;
  } starts[] = {
      {"right of the screen", 3000, 40},
      {"below it", 40, 3000},
      {"above and left of it", -3000, -1000},
  };
  for (const auto& start : starts) {
    parking.placeAt(start.left, start.top);
    EXPECT_TRUE(window.onScreen()) << start.why;
    EXPECT_EQ(parking.rememberedTop(), window.top) << start.why;
  }
  parking.placeAt(3000, 40);
  EXPECT_EQ(window.top, 40) << "moved only as far as needed";
  parking.placeAt(50, 40);
  EXPECT_EQ(window.left, 50) << "a place on the screen stays";

  window.userMoves(5000, 60);  // its screen was unplugged
  parking.bringBack();
  EXPECT_TRUE(window.onScreen());
  EXPECT_EQ(window.top, 60);

  parking.park();
  EXPECT_EQ(window.top, kParkedTop) << "parked stays out of sight";
  parking.bringBack();
  EXPECT_TRUE(window.onScreen());
  EXPECT_EQ(window.top, 40);

  window.userMoves(-5000, 5000);
  parking.restoreOnConnect();
  EXPECT_TRUE(window.onScreen());
  EXPECT_EQ(window.top, 40);
}

TEST_F(ParkingTest, WithoutATrayParkingMinimisesInsteadOfHiding) {
  parking.setTrayAvailable(false);
  parking.placeAt(350, 40);
  parking.park();
  EXPECT_EQ(window.top, 40);
  EXPECT_FALSE(parking.isParked());
  EXPECT_TRUE(window.minimised);
  parking.bringBack();
  EXPECT_FALSE(window.minimised);
}

}  // namespace
}  // namespace tarvik::desktop

// The usage chart's value axis keeps round steps whatever the month's
// largest day.
#include "engine/journal/axisscale.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(AxisScale, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  const struct {
    int largest;
    int step, top;
  } cases[] = {
      {0, 1, 4},
      {1, 1, 4},
      {4, 1, 4},
      {5, 1, 5},
      {6, 2, 6},
      {9, 2, 10},
      {17, 5, 20},
      {51, 20, 60},
      {68, 20, 80},
      {100, 20, 100},
      {101, 50, 150},
      {250, 50, 250},
      {251, 100, 300},
      {1300, 500, 1500},
      {44640, 10000, 50000},  // a whole month online, all on one day's bar
  };
  for (const auto& c : cases) {
    const AxisScale s = roundAxisScale(c.largest);
    EXPECT_EQ(s.step, c.step) << c.largest;
    EXPECT_EQ(s.top(), c.top) << c.largest;
    EXPECT_GE(s.top(), c.largest);
    EXPECT_LE(s.steps, 5) << c.largest;
  }
}

}  // namespace
}  // namespace tarvik

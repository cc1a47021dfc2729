#include "engine/control/displaystep.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

constexpr FieldSwitches kAll{true, true, true, true, true, true, true};
constexpr FieldSwitches kNone{true, false, false, false, false, false, false};
constexpr FieldSwitches kOnlyIpAndRate{true, false, true, false, false, false, true};

struct StepCase {
  int from;
  FieldSwitches enabled;
  int to;
};

class DisplayStep : public testing::TestWithParam<StepCase> {};

TEST_P(DisplayStep, AdvancesToTheNextEnabledField) {
  EXPECT_EQ(nextDisplayIndex(GetParam().from, GetParam().enabled), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Table, DisplayStep,
                         testing::Values(StepCase{0, kAll, 1}, StepCase{5, kAll, 6}, StepCase{6, kAll, 0},
                                         StepCase{0, kNone, 0}, StepCase{3, kNone, 0},
                                         StepCase{0, kOnlyIpAndRate, 2}, StepCase{2, kOnlyIpAndRate, 6},
                                         StepCase{6, kOnlyIpAndRate, 0},
                                         // NEXT steps back first: the shown field stays.
                                         StepCase{-1, kAll, 0}, StepCase{1, kAll, 2},
                                         // Out of range from a hand-edited file.
                                         StepCase{42, kAll, 1}, StepCase{-7, kAll, 1}));

TEST(DisplayStep, StoredIndexIsClamped) {
  EXPECT_EQ(clampDisplayIndex(4), 4);
  EXPECT_EQ(clampDisplayIndex(-1), 0);
  EXPECT_EQ(clampDisplayIndex(7), 0);
}

}  // namespace
}  // namespace tarvik

// The elapsed-time counter and its texts.

#include "engine/monitor/cnttime.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"

namespace tarvik {
namespace {

class CntTimeTest : public ::testing::Test {
 protected:
  std::uint32_t tick = 0;
  std::uint32_t mmTime = 0;
  TCntTime counter{[this] { return tick; }, [this] { return mmTime; }};

  std::string text() { return toUtf8(counter.GetText()); }
};

TEST_F(CntTimeTest, RendersMinutesOrHours) {
  struct Case {
    std::uint32_t ms;
    const char* minutes;
    const char* hours;
  };
  const Case cases[] = {
      {0, "0分 0秒 ", "0時間0分0秒 "},           {999, "0分 0秒 ", "0時間0分0秒 "},
      {59'999, "0分 59秒 ", "0時間0分59秒 "},    {60'000, "1分 0秒 ", "0時間1分0秒 "},
      {754'000, "12分 34秒 ", "0時間12分34秒 "}, {4'354'000, "72分 34秒 ", "1時間12分34秒 "},
      {7'200'000, "120分 0秒 ", "2時間0分0秒 "},
  };
  counter.TimeFunc = TCntTime::tfTick;
  counter.Start();
  for (const Case& c : cases) {
    tick = c.ms;
    counter.TimeMode = TCntTime::tmMin;
    EXPECT_EQ(text(), c.minutes) << c.ms;
    counter.TimeMode = TCntTime::tmHour;
    EXPECT_EQ(text(), c.hours) << c.ms;
  }
  EXPECT_EQ(counter.elapsedMs(), 7'200'000);
  EXPECT_EQ(counter.hours(), 2);
  EXPECT_EQ(counter.totalMinutes(), 120);
  EXPECT_EQ(counter.seconds(), 0);
}

TEST_F(CntTimeTest, DifferenceSurvivesTheTickWrappingRound) {
  counter.TimeFunc = TCntTime::tfTick;
  tick = 0xFFFF'FFFFu - 4'999;  // 5 s before the 32-bit tick wraps round
  counter.Start();
  tick = 749'000;
  EXPECT_EQ(text(), "12分 34秒 ");
  EXPECT_EQ(counter.elapsedMs(), 754'000);
}

TEST_F(CntTimeTest, UsesTheSelectedSourceAndMeasuresFromZeroBeforeStart) {
  tick = 1'000'000;
  mmTime = 61'000;
  EXPECT_EQ(counter.TimeFunc, TCntTime::tfTime);  // the declared default
  EXPECT_EQ(text(), "1分 1秒 ");
  counter.TimeFunc = TCntTime::tfTick;
  EXPECT_EQ(text(), "16分 40秒 ");

  counter.Start();
  tick += 2'500;
  counter.Snapshot();
  EXPECT_EQ(toUtf8(counter.snapshotText()), "0分 2秒 ");
  tick += 60'000;
  EXPECT_EQ(toUtf8(counter.snapshotText()), "0分 2秒 ");  // a snapshot stays as taken
  EXPECT_EQ(text(), "1分 2秒 ");
}

TEST(CntTimeSingleSourceTest, OneSourceServesBothFunctions) {
  std::uint32_t now = 0;
  TCntTime counter([&now] { return now; });
  counter.Start();
  now = 3'000;
  EXPECT_EQ(toUtf8(counter.GetText()), "0分 3秒 ");
  counter.TimeFunc = TCntTime::tfTick;
  EXPECT_EQ(toUtf8(counter.GetText()), "0分 3秒 ");
}

}  // namespace
}  // namespace tarvik

// What the window 利用状況 shows, over a journal written for the test: the
// months offered, the bars and their scale, the totals and cost, the rows,
// the message about the reading, the copied calls and the saved month.

#include "desktop/usagepresenter.h"

#include <gtest/gtest.h>

#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "engine/journal/journalfile.h"
#include "engine/settings/settingsstore.h"
#include "fakes/journalrecords.h"
#include "fakes/testdir.h"

namespace tarvik::desktop {
namespace {

using tarvik::testing::readBytes;
using tarvik::testing::TestDir;

using test::busy;
using test::call;
using test::ring;

// #0 at the flat rate from 21:00 to 8:00.
Tariff eveningFlatRate() {
  SettingsStore settings;
  settings.tariff.FLATFROM = 21;
  settings.tariff.FLATDEST = "0";
  return tariffOf(settings);
}

class UsagePresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JournalFile journal(dir.path(), 1 << 20);
    const LocalTime now{2026, 12, 31, 23, 0, 0};
    for (const JournalRecord& r :
         {call({2026, 12, 3, 21, 0, 0}, {2026, 12, 3, 21, 38, 0}, 38),
          call({2026, 12, 10, 9, 0, 0}, {2026, 12, 10, 9, 12, 30}, 13),
          ring({2026, 12, 10, 21, 45, 30}, "0452223333", "山田商店", true), busy({2026, 12, 10, 22, 0, 0}),
          ring({2026, 12, 11, 8, 5, 0}, "0399999999", "", false),
          call({2026, 11, 20, 21, 0, 0}, {2026, 11, 20, 22, 0, 0}, 60),
          call({2026, 9, 1, 10, 0, 0}, {2026, 9, 1, 10, 1, 0}, 1)})
      ASSERT_FALSE(journal.append(r, now));
  }

  TestDir dir;
  UsagePresenter presenter{dir.path()};
};

TEST_F(UsagePresenterTest, OffersEveryMonthWithRecordsAndTheCurrentOneNewestFirst) {
  presenter.reload({2027, 2});
  EXPECT_EQ(presenter.months(), (std::vector<YearMonth>{{2027, 2}, {2026, 12}, {2026, 11}, {2026, 9}}));
  presenter.showMonth({2026, 11}, {});
  EXPECT_EQ(presenter.monthIndex(), 2);
  EXPECT_EQ(presenter.view().month.key(), "2026-11");

  // A month without records, asked for, joins the offer in its place.
  presenter.showMonth({2026, 10}, {});
  EXPECT_EQ(presenter.months(),
            (std::vector<YearMonth>{{2027, 2}, {2026, 12}, {2026, 11}, {2026, 10}, {2026, 9}}));
  EXPECT_EQ(presenter.monthIndex(), 3);
  EXPECT_EQ(presenter.view().totals, "合計 0 分　接続 0 回　失敗 0 回　話中 0 回　着信 0 件 (不在 0 件)");

  // A new reading offers only what the journal holds again.
  presenter.reload({2027, 2});
  EXPECT_EQ(presenter.months().size(), 4u);
}

TEST_F(UsagePresenterTest, TheMonthsBarsLabelsAndScale) {
  presenter.reload({2026, 12});
  presenter.showMonth({2026, 12}, eveningFlatRate());
  const UsageMonthView& view = presenter.view();
  EXPECT_EQ(view.chartTitle, "2026年12月 日別接続時間");
  ASSERT_EQ(view.dayLabels.size(), 31u);
  std::vector<std::string> numbered;
  for (std::size_t i = 0; i < view.dayLabels.size(); ++i) {
    if (!view.dayLabels[i].empty()) numbered.push_back(view.dayLabels[i] + "@" + std::to_string(i));
  }
  EXPECT_EQ(numbered, (std::vector<std::string>{"1@0", "5@4", "10@9", "15@14", "20@19", "25@24", "30@29"}));
  // The evening call on the 3rd is flat-rate, the morning call on the 10th metered.
  ASSERT_EQ(view.metered.size(), 31u);
  ASSERT_EQ(view.flat.size(), 31u);
  ASSERT_EQ(view.minutes.size(), 31u);
  EXPECT_EQ((std::vector<int>{view.metered[2], view.flat[2], view.minutes[2]}),
            (std::vector<int>{0, 38, 38}));
  EXPECT_EQ((std::vector<int>{view.metered[9], view.flat[9], view.minutes[9]}),
            (std::vector<int>{13, 0, 13}));
  EXPECT_EQ(view.minutes[0], 0);
  // 38 minutes on the longest day: steps of 10 up to 40.
  EXPECT_EQ(view.scale.step, 10);
  EXPECT_EQ(view.scale.top(), 40);

  presenter.showMonth({2026, 11}, {});  // 60 minutes: 0, 20, 40, 60 over 30 days
  EXPECT_EQ(presenter.view().dayLabels.size(), 30u);
  EXPECT_EQ(presenter.view().scale.step, 20);
  EXPECT_EQ(presenter.view().scale.steps, 3);
}

// The texts and rows follow the tariff: without one the defaults hold (38
// minutes are 13 units, 12½ minutes 5); with #0 on the evening flat rate
// only the morning call costs.
TEST_F(UsagePresenterTest, TotalsCostAndRowsFollowTheTariff) {
  presenter.reload({2026, 12});
  presenter.showMonth({2026, 12}, {});
  const UsageMonthView* view = &presenter.view();
  EXPECT_EQ(view->totals, "合計 51 分　接続 2 回　失敗 0 回　話中 1 回　着信 2 件 (不在 1 件)");
  EXPECT_EQ(view->cost, "従量 51 分　定額 0 分　料金概算 180 円");
  ASSERT_EQ(view->destinations.size(), 1u);
  EXPECT_EQ(view->destinations[0].cells,
            (std::vector<std::string>{"#0 Tarvik ISP 0312345678", "2", "51", "51", "0", "180 円"}));
  EXPECT_EQ(UsagePresenter::destinationHeaders().size(), view->destinations[0].cells.size());

  ASSERT_EQ(view->incoming.size(), 2u);
  EXPECT_EQ(view->incoming[0].cells,
            (std::vector<std::string>{"12/10 21:45", "不在", "0452223333", "山田商店"}));
  EXPECT_TRUE(view->incoming[0].missed);
  EXPECT_EQ(view->incoming[1].cells, (std::vector<std::string>{"12/11 8:05", "応答", "0399999999", ""}));
  EXPECT_FALSE(view->incoming[1].missed);
  EXPECT_EQ(UsagePresenter::incomingHeaders().size(), view->incoming[0].cells.size());

  presenter.showMonth({2026, 12}, eveningFlatRate());
  view = &presenter.view();
  EXPECT_EQ(view->cost, "従量 13 分　定額 38 分　料金概算 50 円");
  EXPECT_EQ(view->destinations[0].cells,
            (std::vector<std::string>{"#0 Tarvik ISP 0312345678", "2", "51", "13", "38", "50 円"}));
}

TEST(UsageTexts, YenAreGroupedByThousands) {
  const std::pair<long long, const char*> cases[] = {
      {0, "0 円"}, {999, "999 円"}, {1000, "1,000 円"}, {12345, "12,345 円"}, {1234567, "1,234,567 円"}};
  for (const auto& [yen, text] : cases) EXPECT_EQ(yenText(yen), text) << yen;
  EXPECT_EQ(incomingTimeText({2026, 1, 2, 0, 0, 0}), "1/2 0:00");
}

TEST_F(UsagePresenterTest, CallsAreCopiedAndTheMonthIsSavedAsCsv) {
  presenter.reload({2026, 12});
  presenter.showMonth({2026, 12}, {});
  EXPECT_EQ(presenter.incomingText(),
            "2026-12-10 21:45:30\t不在\t0452223333\t山田商店\n"
            "2026-12-11 08:05:00\t応答\t0399999999\t\n");

  // UTF-8 with its byte-order mark and CR LF line ends, the month's
  // records in time order in the journal's columns.
  const std::string expected =
      "\xEF\xBB\xBF"
      "event,start,end,channel,destination,name,number,ip,minutes,result\r\n"
      "outgoing,2026-12-03 21:00:00,2026-12-03 21:38:00,B1,#0,Tarvik ISP,0312345678,203.0.113.42,38,\r\n"
      "outgoing,2026-12-10 09:00:00,2026-12-10 09:12:30,B1,#0,Tarvik ISP,0312345678,203.0.113.42,13,\r\n"
      "incoming,2026-12-10 21:45:30,,B1,,山田商店,0452223333,,0,missed\r\n"
      "busy,2026-12-10 22:00:00,,,#1,会社,,,0,\r\n"
      "incoming,2026-12-11 08:05:00,,B1,,,0399999999,,0,answered\r\n";
  EXPECT_EQ(presenter.csvBytes(), expected);
  EXPECT_EQ(presenter.csvFileName(), "Tarvik-usage-2026-12.csv");

  const auto path = dir.path() / std::filesystem::path(u8"書き出し.csv");
  ASSERT_TRUE(presenter.saveCsv(path));
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_FALSE(presenter.saveCsv(dir.path() / "no" / "such" / "folder.csv"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "no")) << "no folder is made";
}

#ifndef _WIN32
// The saved month holds the journal's telephone numbers: its owner alone
// may read it, whether the file is new or was there, readable by all,
// before; under the usual umask a plain write would leave it 0644.
TEST_F(UsagePresenterTest, TheSavedMonthIsReadableByItsOwnerAlone) {
  presenter.reload({2026, 12});
  presenter.showMonth({2026, 12}, {});
  const mode_t umaskBefore = ::umask(022);
  struct Case {
    const char* name;
    bool existedReadableByAll;
  };
  for (const Case& c : {Case{"new.csv", false}, Case{"old.csv", true}}) {
    const auto path = dir.path() / c.name;
    if (c.existedReadableByAll) {
      std::ofstream(path) << "old";
      std::filesystem::permissions(path, std::filesystem::perms(0644));
    }
    ASSERT_TRUE(presenter.saveCsv(path)) << c.name;
    EXPECT_EQ(readBytes(path), presenter.csvBytes()) << c.name;
    const auto mode =
        static_cast<int>(std::filesystem::status(path).permissions() & std::filesystem::perms::all);
    EXPECT_EQ(mode, 0600) << c.name << " is " << std::oct << mode;
  }
  ::umask(umaskBefore);
}
#endif

TEST_F(UsagePresenterTest, TheReadingsTroubleIsSaid) {
  presenter.reload({2026, 12});
  EXPECT_EQ(presenter.message(), "");

  {
    std::ofstream damaged(dir.path() / kJournalFileName, std::ios::binary | std::ios::app);
    damaged << "not a record\r\n";
  }
  presenter.reload({2026, 12});
  EXPECT_EQ(presenter.message(),
            "通話記録の読めない行 1 行を読み飛ばしました (最初の行: Tarvik-journal.csv:9)");

  // A journal that cannot be read is said, not shown as an empty month.
  std::filesystem::remove(dir.path() / kJournalFileName);
  std::filesystem::create_directory(dir.path() / kJournalFileName);
  presenter.reload({2026, 12});
  EXPECT_EQ(presenter.message(),
            "通話記録 Tarvik-journal.csv を読めません（同じ名前のフォルダーがあります）");
}

// A journal of many calls at the same time sums past an int: the texts
// give the exact sums, the bars stay drawable, and a damaged figure is
// said, not summed.
TEST(UsagePresenterSums, ManyCallsAtOnceStayExactAndDrawable) {
  TestDir dir;
  {
    std::ofstream journal(dir.path() / kJournalFileName, std::ios::binary);
    journal << journalHeader() << "\r\n";
    const std::string line =
        journalLine(call({2026, 12, 3, 10, 0, 0}, {2026, 12, 3, 10, 0, 0}, kLongestConnectionMinutes)) +
        "\r\n";
    for (int i = 0; i < 50000; ++i) journal << line;  // 50000 * 44640 minutes > 2^31
    journal << journalLine(call({2026, 12, 4, 10, 0, 0}, {2026, 12, 4, 11, 0, 0}, 2000000000)) << "\r\n";
  }
  UsagePresenter presenter{dir.path()};
  presenter.reload({2026, 12});
  presenter.showMonth({2026, 12}, {});
  const UsageMonthView& view = presenter.view();
  EXPECT_EQ(view.totals, "合計 2232000000 分　接続 50000 回　失敗 0 回　話中 0 回　着信 0 件 (不在 0 件)");
  EXPECT_EQ(view.cost.rfind("従量 2232000000 分　定額 0 分　", 0), 0u) << view.cost;
  EXPECT_GT(view.minutes[2], 0);
  EXPECT_EQ(view.metered[2] + view.flat[2], view.minutes[2]);
  EXPECT_EQ(view.minutes[3], 0);  // the damaged figure is not summed
  EXPECT_GE(view.scale.top(), view.minutes[2]);
  EXPECT_EQ(presenter.message(),
            "通話記録の読めない行 1 行を読み飛ばしました (最初の行: Tarvik-journal.csv:50002)");
}

}  // namespace
}  // namespace tarvik::desktop

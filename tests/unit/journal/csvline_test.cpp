#include "engine/journal/csvline.h"

#include <gtest/gtest.h>

#include "engine/journal/journalrecord.h"

namespace tarvik {
namespace {

TEST(CsvLine, FieldsComeBackAsTheyWentIn) {
  const std::vector<std::vector<std::string>> cases = {
      {"plain", "2026-12-10 13:45:02", ""},
      {"a,b", "say \"hi\"", "\"", ",", "\"\""},
      {"", "", ""},
      {"山田 太郎", "大学,研究室"},
      {"trailing blank "},
  };
  for (const auto& fields : cases) {
    const std::string line = joinCsvLine(fields);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    auto back = splitCsvLine(line);
    ASSERT_TRUE(back) << line;
    EXPECT_EQ(*back, fields) << line;
  }
}

TEST(CsvLine, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(joinCsvLine({"a", "b,c", "d\"e", ""}), "a,\"b,c\",\"d\"\"e\",");
}

TEST(CsvLine, LineBreaksAndControlsInsideAFieldBecomeBlanks) {
  EXPECT_EQ(joinCsvLine({"one\r\ntwo", "x"}), "\"one  two\",x");
  EXPECT_EQ(joinCsvLine({"tab\there"}), "\"tab here\"");
}

TEST(CsvLine, BrokenQuotingIsRefused) {
  for (const char* line : {"\"open", "a,\"open", "\"closed\"x,b", "a\"b,c", "\"a\"\""}) {
    EXPECT_FALSE(splitCsvLine(line)) << line;
  }
}

TEST(JournalRecord, EveryFieldSurvivesALine) {
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.start = {2026, 12, 31, 23, 5, 9};
  r.end = LocalTime{2027, 1, 1, 0, 40, 0};
  r.channel = "B2";
  r.destination = "#4";
  r.name = "大学, \"本部\"";
  r.number = "0223335555";
  r.ip = "203.0.113.7";
  r.minutes = 95;
  r.result = "";
  auto back = parseJournalLine(journalLine(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(journalLine(*back), journalLine(r));
  EXPECT_EQ(back->name, r.name);
  EXPECT_EQ(back->end->year, 2027);
  EXPECT_EQ(back->minutes, 95);
}

TEST(JournalRecord, LinesThatAreNoRecordAreRefused) {
  const char* lines[] = {
      "event,start,end,channel,destination,name,number,ip,minutes,result",  // the header
      "outgoing,2026-12-10 13:00:00,,B1,#0,x,1,,3",                         // a column short
      "outgoing,2026-12-10 13:00:00,,B1,#0,x,1,,3,,extra",                  // a column more
      "dialled,2026-12-10 13:00:00,,B1,#0,x,1,,3,",                         // unknown event
      "outgoing,2026-13-10 13:00:00,,B1,#0,x,1,,3,",                        // no such month
      "outgoing,2026-02-30 13:00:00,,B1,#0,x,1,,3,",                        // no such day
      "outgoing,2026-12-10 13:00,,B1,#0,x,1,,3,",                           // seconds missing
      "outgoing,2026-12-10 13:00:00,tomorrow,B1,#0,x,1,,3,",                // bad end
      "outgoing,2026-12-10 13:00:00,,B1,#0,x,1,,-3,",                       // negative minutes
      "outgoing,2026-12-10 13:00:00,,B1,#0,x,1,,3m,",                       // not a number
      "incoming,2026-12-10 13:00:00,,B1,,\"Yamada,B1,0312,,0,missed",       // open quote
      // Figures no connection can have: a digit damaged or flipped.
      "outgoing,2026-12-10 13:00:00,2026-12-10 14:00:00,B1,#0,x,1,,2000000000,",
      "outgoing,2026-12-10 13:00:00,2026-12-10 14:00:00,B1,#0,x,1,,44641,",
      "outgoing,0000-01-01 00:00:00,9999-12-31 23:59:59,B1,#0,x,1,,60,",
      "outgoing,0125-12-10 13:00:00,2026-12-10 14:00:00,B1,#0,x,1,,60,",
      "outgoing,2026-12-10 13:00:00,6026-12-10 14:00:00,B1,#0,x,1,,60,",
      "",
  };
  for (const char* line : lines) EXPECT_FALSE(parseJournalLine(line)) << line;
}

}  // namespace
}  // namespace tarvik

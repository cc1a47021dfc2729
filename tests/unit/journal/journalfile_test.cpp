#include "journal/journalfile.h"

#include <gtest/gtest.h>

// The owner-only mode and the killed writer are POSIX matters; on Windows
// the folder's access list decides who may read the file.
#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

namespace tarvik {
namespace {

class JournalFileTest : public testing::Test {
 protected:
  JournalFileTest() {
    dir = std::filesystem::path(testing::TempDir()) /
          ("tarvik-journal-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~JournalFileTest() override { std::filesystem::remove_all(dir); }

  std::string read(const std::filesystem::path& file) const {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void write(const std::filesystem::path& file, const std::string& bytes) const {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  static JournalRecord missedCall(int n) {
    JournalRecord r;
    r.event = JournalEvent::Incoming;
    r.start = {2026, 12, 10, 9, n % 60, 0};
    r.channel = "B1";
    r.number = "03123400" + std::to_string(10 + n % 90);
    r.name = "山田, 太郎";
    r.result = kJournalMissed;
    return r;
  }

  std::filesystem::path dir;
  const LocalTime december{2026, 12, 10, 12, 0, 0};
};

TEST_F(JournalFileTest, RecordsAreAppendedUnderOneHeaderAndReadBack) {
  JournalFile journal(dir, 1 << 20);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(journal.append(missedCall(i), december));
  const std::string text = read(journal.path());
  EXPECT_EQ(text.rfind(journalHeader() + "\n", 0), 0u);
  EXPECT_EQ(text.find(journalHeader(), 1), std::string::npos);

  JournalReading reading = readJournal(dir);
  ASSERT_EQ(reading.records.size(), 3u);
  EXPECT_EQ(reading.damaged, 0);
  EXPECT_EQ(reading.damageReport(), "");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(journalLine(reading.records[i]), journalLine(missedCall(i)));
}

#ifndef _WIN32
TEST_F(JournalFileTest, TheFileIsTheOwnersAlone) {
  JournalFile journal(dir, 1 << 20);
  ASSERT_TRUE(journal.append(missedCall(0), december));
  struct stat st {};
  ASSERT_EQ(::stat(journal.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}
#endif

// A crash while a line is written leaves it cut anywhere. Every earlier
// line stays readable, the cut one is skipped, and the next record starts a
// line of its own.
TEST_F(JournalFileTest, ALastLineCutAnywhereLosesOnlyThatLine) {
  const std::string whole =
      journalHeader() + "\n" + journalLine(missedCall(1)) + "\n" + journalLine(missedCall(2)) + "\n";
  const std::size_t lastLineStart = whole.size() - journalLine(missedCall(2)).size() - 1;
  // Up to the byte before its line end: even the record without its line
  // end counts as cut (it may have been cut inside its last field).
  for (std::size_t cut = lastLineStart + 1; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::filesystem::remove(dir / kJournalFileName);
    write(dir / kJournalFileName, whole.substr(0, cut));
    JournalReading before = readJournal(dir);
    ASSERT_EQ(before.records.size(), 1u);
    EXPECT_EQ(journalLine(before.records[0]), journalLine(missedCall(1)));
    EXPECT_EQ(before.damaged, 1);

    JournalFile journal(dir, 1 << 20);
    ASSERT_TRUE(journal.append(missedCall(3), december));
    JournalReading after = readJournal(dir);
    ASSERT_EQ(after.records.size(), 2u);
    EXPECT_EQ(journalLine(after.records[1]), journalLine(missedCall(3)));
    EXPECT_EQ(after.damaged, 1);
  }
}

TEST_F(JournalFileTest, DamagedAndForeignLinesAreSkippedAndReportedOnce) {
  write(dir / kJournalFileName, journalHeader() + "\n" + journalLine(missedCall(1)) + "\n" +
                                    "garbage that is no record\n" + journalLine(missedCall(2)) + "\r\n" +
                                    "\"open quote,2026-12-10\n" + "\n" + journalLine(missedCall(3)) + "\n");
  JournalReading reading = readJournal(dir);
  ASSERT_EQ(reading.records.size(), 3u);
  EXPECT_EQ(reading.damaged, 2);
  EXPECT_EQ(reading.firstDamaged, std::string(kJournalFileName) + ":3");
  EXPECT_EQ(reading.damageReport(),
            "2 damaged lines skipped in the call journal (first at Tarvik-journal.csv:3)");
}

TEST_F(JournalFileTest, AFullFileIsPutAsideWithItsMonthNeverCut) {
  const std::string line = journalLine(missedCall(0)) + "\n";
  const std::uintmax_t limit = journalHeader().size() + 1 + 2 * line.size();
  JournalFile journal(dir, limit);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(journal.append(missedCall(i), december));
  // Two records fill the file; the third goes to a new one, and so on.
  const std::filesystem::path first = dir / "Tarvik-journal-2026-12.csv";
  const std::filesystem::path second = dir / "Tarvik-journal-2026-12-2.csv";
  ASSERT_TRUE(std::filesystem::exists(first));
  ASSERT_TRUE(std::filesystem::exists(second));
  EXPECT_EQ(read(first),
            journalHeader() + "\n" + journalLine(missedCall(0)) + "\n" + journalLine(missedCall(1)) + "\n");
  EXPECT_EQ(read(journal.path()), journalHeader() + "\n" + journalLine(missedCall(4)) + "\n");

  JournalReading reading = readJournal(dir);
  EXPECT_EQ(reading.records.size(), 5u);
  EXPECT_EQ(reading.damaged, 0);
}

TEST_F(JournalFileTest, OtherFilesOfTheFolderAreNotRead) {
  write(dir / "Tarvik.ini", "[Tarvik]\nSOHOIP=1.2.3.4\n");
  write(dir / "Tarvik-journal-notes.txt", journalLine(missedCall(1)) + "\n");
  JournalFile journal(dir, 1 << 20);
  ASSERT_TRUE(journal.append(missedCall(2), december));
  EXPECT_EQ(readJournal(dir).records.size(), 1u);
}

#ifndef _WIN32
// The writer is killed (SIGKILL) while it appends as fast as it can: every
// line it finished is read back, at most the one in progress is lost, and
// the journal goes on after it.
TEST_F(JournalFileTest, AWriterKilledWhileWritingLeavesEveryFinishedLine) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    JournalFile journal(dir, 1ull << 30);
    for (int i = 0;; ++i) journal.append(missedCall(i), december);
  }
  // Wait for a good number of records, by the file's size.
  const std::filesystem::path file = dir / kJournalFileName;
  const std::uintmax_t wanted = 200 * (journalLine(missedCall(0)).size() + 1);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::error_code ec;
  while (std::filesystem::file_size(file, ec) < wanted || ec) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the writer wrote too little";
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  const std::string text = read(file);
  const std::size_t finishedLines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  JournalReading reading = readJournal(dir);
  EXPECT_EQ(reading.records.size(), finishedLines - 1);  // all but the header
  EXPECT_LE(reading.damaged, 1);
  for (std::size_t i = 0; i < reading.records.size(); ++i)
    ASSERT_EQ(journalLine(reading.records[i]), journalLine(missedCall(static_cast<int>(i))));

  JournalFile journal(dir, 1ull << 30);
  ASSERT_TRUE(journal.append(missedCall(7), december));
  JournalReading after = readJournal(dir);
  EXPECT_EQ(after.records.size(), reading.records.size() + 1);
  EXPECT_EQ(journalLine(after.records.back()), journalLine(missedCall(7)));
}
#endif

}  // namespace
}  // namespace tarvik

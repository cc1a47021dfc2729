#include "engine/journal/journalfile.h"

#include <gtest/gtest.h>

// The owner-only mode and the killed writer are POSIX matters; on Windows
// the folder's access list decides who may read the file.
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "engine/base/filebytes.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

class JournalFileTest : public ::testing::Test {
 protected:
  JournalFileTest() {
    dir = std::filesystem::path(::testing::TempDir()) /
          ("tarvik-journal-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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

const std::string kBom = "\xEF\xBB\xBF";

// A spreadsheet takes the file for UTF-8 by its byte-order mark, and wants
// CR LF line ends.
TEST_F(JournalFileTest, RecordsAreAppendedUnderOneHeaderAndReadBack) {
  JournalFile journal(dir, 1 << 20);
  for (int i = 0; i < 3; ++i) ASSERT_FALSE(journal.append(missedCall(i), december));
  EXPECT_EQ(read(journal.path()), kBom + journalHeader() + "\r\n" + journalLine(missedCall(0)) + "\r\n" +
                                      journalLine(missedCall(1)) + "\r\n" + journalLine(missedCall(2)) +
                                      "\r\n");

  JournalReading reading = readJournal(dir);
  ASSERT_EQ(reading.records.size(), 3u);
  EXPECT_EQ(reading.damaged, 0);
  EXPECT_EQ(reading.damageReport(), "");
  EXPECT_FALSE(reading.readFailed());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(journalLine(reading.records[i]), journalLine(missedCall(i)));
}

// A journal begun by an earlier version (LF, no mark) is appended to as it
// is: no mark in the middle of the file, every line read back.
TEST_F(JournalFileTest, AnOlderFileIsAppendedToAsItIs) {
  const std::string older = journalHeader() + "\n" + journalLine(missedCall(1)) + "\n";
  write(dir / kJournalFileName, older);
  JournalFile journal(dir, 1 << 20);
  ASSERT_FALSE(journal.append(missedCall(2), december));
  EXPECT_EQ(read(journal.path()), older + journalLine(missedCall(2)) + "\r\n");
  JournalReading reading = readJournal(dir);
  ASSERT_EQ(reading.records.size(), 2u);
  EXPECT_EQ(reading.damaged, 0);
}

#ifndef _WIN32
TEST_F(JournalFileTest, TheFileIsTheOwnersAlone) {
  JournalFile journal(dir, 1 << 20);
  ASSERT_FALSE(journal.append(missedCall(0), december));
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
    ASSERT_FALSE(journal.append(missedCall(3), december));
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
  const std::string header = kBom + journalHeader() + "\r\n";
  auto line = [](int n) { return journalLine(missedCall(n)) + "\r\n"; };
  const std::uintmax_t limit = header.size() + 2 * line(0).size();
  JournalFile journal(dir, limit);
  for (int i = 0; i < 5; ++i) ASSERT_FALSE(journal.append(missedCall(i), december));
  // Two records fill the file; the third goes to a new one, and so on.
  const std::filesystem::path first = dir / "Tarvik-journal-2026-12.csv";
  const std::filesystem::path second = dir / "Tarvik-journal-2026-12-2.csv";
  ASSERT_TRUE(std::filesystem::exists(first));
  ASSERT_TRUE(std::filesystem::exists(second));
  EXPECT_EQ(read(first), header + line(0) + line(1));
  EXPECT_EQ(read(journal.path()), header + line(4));

  JournalReading reading = readJournal(dir);
  EXPECT_EQ(reading.records.size(), 5u);
  EXPECT_EQ(reading.damaged, 0);
}

TEST_F(JournalFileTest, OtherFilesOfTheFolderAreNotRead) {
  write(dir / "Tarvik.ini", "[Tarvik]\nSOHOIP=1.2.3.4\n");
  write(dir / "Tarvik-journal-notes.txt", journalLine(missedCall(1)) + "\n");
  JournalFile journal(dir, 1 << 20);
  ASSERT_FALSE(journal.append(missedCall(2), december));
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
  ASSERT_FALSE(journal.append(missedCall(7), december));
  JournalReading after = readJournal(dir);
  EXPECT_EQ(after.records.size(), reading.records.size() + 1);
  EXPECT_EQ(journalLine(after.records.back()), journalLine(missedCall(7)));
}
#endif

// Each way the journal can refuse a record is told by its reason, in the
// words the status line and the notice use; once the cause is gone the next
// record is written.
TEST_F(JournalFileTest, ARecordThatCannotBeWrittenSaysWhy) {
  struct Case {
    const char* name;
    void (*refuse)(const std::filesystem::path& dir);
    void (*mend)(const std::filesystem::path& dir);
    bool unprivileged;  // run the write as a user the permissions bind
    bool diskFull;      // with the file size limit at the file's size
    std::errc expected;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"a folder in its place",
       [](const std::filesystem::path& d) { std::filesystem::create_directory(d / kJournalFileName); },
       [](const std::filesystem::path& d) { std::filesystem::remove(d / kJournalFileName); }, false, false,
       std::errc::is_a_directory, "同じ名前のフォルダーがあります"},
  // Permissions bind only an unprivileged user: these run as one on
  // POSIX. Under Wine the tests run as root, whom a file's read-only
  // attribute does not stop.
#ifndef _WIN32
      {"a read-only file",
       [](const std::filesystem::path& d) {
         std::ofstream(d / kJournalFileName, std::ios::binary) << journalHeader() << "\r\n";
         std::filesystem::permissions(d / kJournalFileName,
                                      std::filesystem::perms::owner_write |
                                          std::filesystem::perms::group_write |
                                          std::filesystem::perms::others_write,
                                      std::filesystem::perm_options::remove);
       },
       [](const std::filesystem::path& d) {
         std::filesystem::permissions(d / kJournalFileName, std::filesystem::perms::owner_write,
                                      std::filesystem::perm_options::add);
       },
       true, false, std::errc::permission_denied, "アクセスが許可されていません"},
      {"a read-only folder", [](const std::filesystem::path& d) { ::chmod(d.c_str(), 0555); },
       [](const std::filesystem::path& d) { ::chmod(d.c_str(), 0777); }, true, false,
       std::errc::permission_denied, "アクセスが許可されていません"},
      {"a full disk",
       [](const std::filesystem::path& d) {
         std::ofstream(d / kJournalFileName, std::ios::binary) << journalHeader() << "\r\n";
       },
       [](const std::filesystem::path&) {}, false, true, std::errc::file_too_large,
       "ディスクに空きがありません"},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    c.refuse(dir);
    JournalFile journal(dir, 1 << 20);
    std::error_code error;
    {
#ifndef _WIN32
      rlimit saved{};
      ::getrlimit(RLIMIT_FSIZE, &saved);
      auto previous = std::signal(SIGXFSZ, SIG_IGN);
      if (c.diskFull) {
        rlimit full = saved;
        full.rlim_cur = std::filesystem::file_size(dir / kJournalFileName);
        ::setrlimit(RLIMIT_FSIZE, &full);
      }
      std::optional<testing::Unprivileged> user;
      if (c.unprivileged) user.emplace();
#endif
      error = journal.append(missedCall(1), december);
#ifndef _WIN32
      user.reset();
      ::setrlimit(RLIMIT_FSIZE, &saved);
      std::signal(SIGXFSZ, previous);
#endif
    }
    EXPECT_EQ(error, c.expected) << error.message();
    EXPECT_EQ(journalErrorText(error), c.text);
    EXPECT_EQ(readJournal(dir).records.size(), 0u);

    c.mend(dir);
    EXPECT_FALSE(journal.append(missedCall(2), december));
    JournalReading reading = readJournal(dir);
    ASSERT_EQ(reading.records.size(), 1u);
    EXPECT_EQ(journalLine(reading.records[0]), journalLine(missedCall(2)));
  }
}

// A journal file that is there but cannot be read is an error of the
// reading, never an empty journal; one not there yet is no error.
TEST_F(JournalFileTest, AFileThatCannotBeReadIsReportedNotTakenForEmpty) {
  struct Case {
    const char* name;
    void (*arrange)(const std::filesystem::path& dir);
    bool unprivileged;  // read as a user the permissions bind
    std::string unreadable;
    std::errc expected;
    std::size_t recordsRead;
  };
  const std::vector<Case> cases = {
      {"a folder in the current file's place",
       [](const std::filesystem::path& d) {
         std::filesystem::remove(d / kJournalFileName);
         std::filesystem::create_directory(d / kJournalFileName);
       },
       false, kJournalFileName, std::errc::is_a_directory, 1},
#ifndef _WIN32
      {"a current file without read permission",
       [](const std::filesystem::path& d) { ::chmod((d / kJournalFileName).c_str(), 0200); }, true,
       kJournalFileName, std::errc::permission_denied, 1},
      {"a file put aside without read permission",
       [](const std::filesystem::path& d) { ::chmod((d / "Tarvik-journal-2026-11.csv").c_str(), 0200); },
       true, "Tarvik-journal-2026-11.csv", std::errc::permission_denied, 1},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    write(dir / "Tarvik-journal-2026-11.csv", journalHeader() + "\r\n" + journalLine(missedCall(1)) + "\r\n");
    write(dir / kJournalFileName, journalHeader() + "\r\n" + journalLine(missedCall(2)) + "\r\n");
    c.arrange(dir);
    JournalReading reading;
    {
#ifndef _WIN32
      std::optional<testing::Unprivileged> user;
      if (c.unprivileged) user.emplace();
#endif
      reading = readJournal(dir);
    }
    EXPECT_TRUE(reading.readFailed());
    EXPECT_EQ(reading.unreadable, c.unreadable);
    EXPECT_EQ(reading.readError, c.expected) << reading.readError.message();
    EXPECT_EQ(reading.readErrorReport(),
              "cannot read the call journal " + c.unreadable + ": " + reading.readError.message());
    EXPECT_EQ(reading.records.size(), c.recordsRead);
  }

  std::filesystem::remove_all(dir);
  JournalReading none = readJournal(dir);
  EXPECT_FALSE(none.readFailed());
  EXPECT_EQ(none.readErrorReport(), "");
  EXPECT_TRUE(none.records.empty());
}

#ifndef _WIN32
// A FIFO in the journal's place is refused at once, for writing and for
// reading, never waited on: nobody will ever open its other end.
TEST_F(JournalFileTest, AFifoInTheJournalsPlaceIsRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo((dir / kJournalFileName).c_str(), 0600), 0);
  JournalFile journal(dir, 1 << 20);
  const std::error_code error = journal.append(missedCall(1), december);
  EXPECT_EQ(error, notRegularFile()) << error.message();
  EXPECT_EQ(journalErrorText(error), "同じ名前で FIFO など通常のファイルでないものがあります");
  const JournalReading reading = readJournal(dir);
  EXPECT_EQ(reading.unreadable, kJournalFileName);
  EXPECT_EQ(reading.readError, notRegularFile());
  // The FIFO taken away, the next record is written.
  std::filesystem::remove(dir / kJournalFileName);
  EXPECT_FALSE(journal.append(missedCall(2), december));
  EXPECT_EQ(readJournal(dir).records.size(), 1u);
}
#endif

}  // namespace
}  // namespace tarvik

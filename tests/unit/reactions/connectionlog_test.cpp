#include "engine/reactions/connectionlog.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <iterator>
#include <optional>

#include "engine/base/pathtext.h"
#include "engine/base/sjis.h"
#include "fakes/testdir.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class ConnectionLog : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarvik-log-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = dir_ / "mn128soho.log";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void put(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
  std::string get() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_, file_;
};

TEST_F(ConnectionLog, PreparationLoadsTheFileAndChecksItsLastLine) {
  const std::string marker = logBreakMarker();
  EXPECT_EQ(marker, toSjis("*** ログ分断 ***"));
  struct Case {
    const char* name;
    bool exists;
    std::string content;
    Lines buffer;
    bool synced;
  } cases[] = {
      {"missing", false, "", {}, true},
      {"empty", true, "", {}, true},
      {"entries", true, "A\r\nB\r\n", {"A", "B"}, false},
      {"after a break", true, "A\r\n" + marker + "\r\n", {"A", marker}, true},
      {"no final line end", true, "A\r\nB", {"A", "B"}, false},
  };
  for (const Case& c : cases) {
    fs::remove(file_);
    if (c.exists) put(c.content);
    LogCaptureStart start = prepareLogCapture(file_);
    EXPECT_EQ(start.error, "") << c.name;
    EXPECT_EQ(start.buffer, c.buffer) << c.name;
    EXPECT_EQ(start.synced, c.synced) << c.name;
  }
}

TEST_F(ConnectionLog, UnreadableFileIsAnError) {
  fs::create_directories(file_);  // a directory where the file should be
  EXPECT_NE(prepareLogCapture(file_).error, "");
}

TEST(ConnectionLogPath, RelativeNamesLieInTheConfigFolder) {
  const fs::path config = fs::path("cfg") / "tarvik";
  EXPECT_EQ(connectionLogPath(config, "mn128soho.log"), config / "mn128soho.log");
  EXPECT_EQ(connectionLogPath(config, "logs\\soho.log"), config / "logs/soho.log");
  // Japanese names stand as the user wrote them, on Windows too.
  EXPECT_EQ(connectionLogPath(config, toSjis("ログ\\接続.log")), config / pathFromUtf8("ログ/接続.log"));
  const fs::path absolute = fs::temp_directory_path() / "elsewhere.log";
  EXPECT_EQ(connectionLogPath(config, absolute.string()), absolute);
}

// A log an earlier version wrote into the current folder is taken into the
// config folder's log once: nothing it holds is lost, nothing is doubled.
TEST_F(ConnectionLog, OldLogIsTakenInOnce) {
  const std::string M = logBreakMarker();
  struct Case {
    const char* why;
    std::optional<std::string> old, file;  // nullopt: no such file
    std::optional<std::string> expected;   // the config folder's log afterwards
  } const cases[] = {
      {"neither", std::nullopt, std::nullopt, std::nullopt},
      {"only the new one", std::nullopt, "C\r\n", "C\r\n"},
      {"only the old one, kept byte for byte", "A\r\nB", std::nullopt, "A\r\nB"},
      {"an empty old one", "", std::nullopt, ""},
      {"overlapping", "A\r\nB\r\n", "B\r\nC\r\n", "A\r\nB\r\nC\r\n"},
      {"not meeting", "A\r\nB\r\n", "C\r\nD\r\n", "A\r\nB\r\n" + M + "\r\nC\r\nD\r\n"},
      {"old ends in a break", "A\r\n" + M + "\r\n", "C\r\n", "A\r\n" + M + "\r\nC\r\n"},
      {"already taken in", "A\r\nB\r\n", "A\r\nB\r\nC\r\n", "A\r\nB\r\nC\r\n"},
  };
  const fs::path cwd = dir_ / "home";
  const fs::path old = cwd / "mn128soho.log";
  for (const Case& c : cases) {
    fs::remove_all(cwd);
    fs::create_directories(cwd);
    fs::remove(file_);
    if (c.old) std::ofstream(old, std::ios::binary) << *c.old;
    if (c.file) put(*c.file);
    EXPECT_EQ(adoptConnectionLog(old, file_), "") << c.why;
    EXPECT_EQ(fs::exists(file_), c.expected.has_value()) << c.why;
    if (c.expected) {
      EXPECT_EQ(get(), *c.expected) << c.why;
    }
    EXPECT_FALSE(fs::exists(old)) << c.why;
  }
  // The log itself, reached through another path, stays as it is.
  put("A\r\n");
  EXPECT_EQ(adoptConnectionLog(dir_ / "." / "mn128soho.log", file_), "");
  EXPECT_EQ(get(), "A\r\n");
  // A config folder's log that cannot be read: the old one stays for a later try.
  fs::remove(file_);
  fs::create_directories(file_ / "inside");
  std::ofstream(old, std::ios::binary) << "A\r\n";
  EXPECT_EQ(adoptConnectionLog(old, file_), file_.string() + " を読み込めません");
  EXPECT_TRUE(fs::exists(old));
  fs::remove_all(file_);
  fs::remove(old);
  put("A\r\n");
  // A folder of that name is no log.
  fs::create_directories(old);
  EXPECT_EQ(adoptConnectionLog(old, file_), "");
  EXPECT_TRUE(fs::is_directory(old));
  EXPECT_EQ(get(), "A\r\n");
}

TEST(SplitLogLines, AnyLineEnding) {
  EXPECT_EQ(splitLogLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLogLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLogLines(""), Lines{});
}

// Files in the log's folder besides the log itself: a write leaves none.
std::size_t strayFiles(const fs::path& dir, const fs::path& log) {
  std::size_t count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) count += entry.path() != log;
  return count;
}

TEST_F(ConnectionLog, WriteReplacesTheFileWithCrLfLines) {
  put("old\r\n");
  EXPECT_EQ(writeConnectionLog(file_, {"A", toSjis("B 事務所")}), "");
  EXPECT_EQ(get(), "A\r\n" + toSjis("B 事務所") + "\r\n");
  EXPECT_EQ(writeConnectionLog(file_, {}), "");
  EXPECT_EQ(get(), "");
  EXPECT_EQ(strayFiles(dir_, file_), 0u);
}

#ifndef _WIN32  // file modes, links and refusals of the POSIX file layer
// The log tells when and where the user went online: a new one is for its
// owner only, as the settings are, whatever the umask allows.
TEST_F(ConnectionLog, ANewLogIsForItsOwnerOnly) {
  const mode_t saved = ::umask(022);
  EXPECT_EQ(writeConnectionLog(file_, {"A"}), "");
  ::umask(saved);
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms(0600));
}

TEST_F(ConnectionLog, WriteKeepsTheModeAndALinkedLogStaysLinked) {
  put("A\r\n");
  ::chmod(file_.c_str(), 0640);
  EXPECT_EQ(writeConnectionLog(file_, {"B"}), "");
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms(0640));

  const fs::path kept = dir_ / "kept";
  fs::create_directories(kept);
  fs::rename(file_, kept / "real.log");
  fs::create_symlink(kept / "real.log", file_);
  EXPECT_EQ(writeConnectionLog(file_, {"C"}), "");
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(get(), "C\r\n");
  EXPECT_EQ(strayFiles(kept, kept / "real.log"), 0u);
}

// A log beside the program in a read-only folder, the log itself writable:
// it is written in place.
TEST_F(ConnectionLog, ReadOnlyFolderWithAWritableLogWritesItInPlace) {
  ::chmod(dir_.c_str(), 0777);
  put("A\r\nB\r\n");
  ::chmod(file_.c_str(), 0666);  // writable for the unprivileged user below
  ::chmod(dir_.c_str(), 0555);
  std::string error;
  {
    testing::Unprivileged user;
    error = writeConnectionLog(file_, {"A", "B", "C"});
  }
  ::chmod(dir_.c_str(), 0755);
  EXPECT_EQ(error, "");
  EXPECT_EQ(get(), "A\r\nB\r\nC\r\n");
  EXPECT_EQ(strayFiles(dir_, file_), 0u);
}

// Each way a write can fail: the message names the file, the old log stays
// whole and nothing is left beside it.
TEST_F(ConnectionLog, FailedWriteKeepsTheOldLog) {
  enum class Refusal { kReadOnlyFolder, kReadOnlyFile, kDirectoryInTheWay };
  for (Refusal refusal : {Refusal::kReadOnlyFolder, Refusal::kReadOnlyFile, Refusal::kDirectoryInTheWay}) {
    SCOPED_TRACE(static_cast<int>(refusal));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::chmod(dir_.c_str(), 0777);  // writable for the unprivileged user below
    fs::path target = file_;
    if (refusal == Refusal::kDirectoryInTheWay) {
      target = dir_ / "dirlog";
      fs::create_directories(target / "inside");  // rename over a non-empty directory fails
    } else {
      put("A\r\nB\r\n");
    }
    // A writable log in a read-only folder is written in place (see below).
    if (refusal == Refusal::kReadOnlyFolder) ::chmod(dir_.c_str(), 0555), ::chmod(file_.c_str(), 0444);
    if (refusal == Refusal::kReadOnlyFile) ::chmod(file_.c_str(), 0444);
    std::string error;
    {
      testing::Unprivileged user;
      error = writeConnectionLog(target, {"X"});
    }
    ::chmod(dir_.c_str(), 0755);
    EXPECT_EQ(error, target.string() + " に書き込めません");
    if (refusal == Refusal::kDirectoryInTheWay) {
      EXPECT_TRUE(fs::is_directory(target / "inside"));
    } else {
      EXPECT_EQ(get(), "A\r\nB\r\n");
    }
    EXPECT_EQ(strayFiles(dir_, target), 0u);
  }
}
#endif

}  // namespace
}  // namespace tarvik

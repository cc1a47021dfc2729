#include "reactions/connectionlog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/sjis.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class ConnectionLog : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarvik-log-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
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

TEST(SplitLogLines, AnyLineEnding) {
  EXPECT_EQ(splitLogLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLogLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(splitLogLines(""), Lines{});
}

TEST_F(ConnectionLog, WriteReplacesTheFileWithCrLfLines) {
  put("old\r\n");
  EXPECT_EQ(writeConnectionLog(file_, {"A", toSjis("B 事務所")}), "");
  EXPECT_EQ(get(), "A\r\n" + toSjis("B 事務所") + "\r\n");
  EXPECT_EQ(writeConnectionLog(file_, {}), "");
  EXPECT_EQ(get(), "");
  EXPECT_FALSE(fs::exists(dir_ / "mn128soho.log.new"));
}

TEST_F(ConnectionLog, FailedWriteKeepsTheOldLog) {
  put("A\r\nB\r\n");
  fs::create_directories(dir_ / "mn128soho.log.new");  // the new file cannot be created
  EXPECT_NE(writeConnectionLog(file_, {"X"}), "");
  EXPECT_EQ(get(), "A\r\nB\r\n");

  fs::remove_all(dir_ / "mn128soho.log.new");
  const fs::path busy = dir_ / "dirlog";
  fs::create_directories(busy / "inside");  // rename over a non-empty directory fails
  EXPECT_NE(writeConnectionLog(busy, {"X"}), "");
  EXPECT_TRUE(fs::is_directory(busy / "inside"));
  EXPECT_FALSE(fs::exists(dir_ / "dirlog.new"));
}

}  // namespace
}  // namespace tarvik

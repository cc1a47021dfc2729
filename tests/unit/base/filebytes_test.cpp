// Whole-file writes when the folder cannot take a new file: a file the user
// may write is written in place; anything else is refused untouched.

#include "engine/base/filebytes.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>

#include "fakes/testdir.h"

namespace tarvik {
namespace {

using testing::readBytes;
using testing::TestDir;
using testing::writeBytes;

#ifndef _WIN32  // folder and file modes of the POSIX file layer
// The folder is read-only for the writer. Permission bits do not stop root,
// so the write runs as an unprivileged user when the tests run as root.
TEST(ReplaceFileBytes, ReadOnlyFolderWritesAWritableFileInPlace) {
  struct Case {
    const char* name;
    bool exists;
    mode_t fileMode;
    std::string old, wanted;
    bool written;
  } cases[] = {
      {"longer", true, 0666, "old\r\n", "new and longer\r\n", true},
      {"shorter", true, 0666, "old and much longer\r\n", "new\r\n", true},
      {"empty", true, 0666, "old\r\n", "", true},
      {"read-only file", true, 0444, "old\r\n", "new\r\n", false},
      {"no file yet", false, 0, "", "new\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDir dir;
    const std::filesystem::path file = dir / "Tarvik.ini";
    if (c.exists) {
      writeBytes(file, c.old);
      ::chmod(file.c_str(), c.fileMode);
    }
    ::chmod(dir.path().c_str(), 0555);
    bool ok = false;
    {
      testing::Unprivileged user;
      ok = replaceFileBytes(file, c.wanted);
    }
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(ok, c.written);
    EXPECT_EQ(std::filesystem::exists(file), c.exists);
    if (c.exists) { EXPECT_EQ(readBytes(file), c.written ? c.wanted : c.old); }
    // Nothing was left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), c.exists ? 1 : 0);
  }
}

// What cannot be read gives nothing, and never throws.
#endif

TEST(ReadFileBytes, FileOrNothing) {
  TestDir dir;
  writeBytes(dir / "file", "bytes\r\n");
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(readFileBytes(dir / "file"), "bytes\r\n");
  EXPECT_EQ(readFileBytes(dir / "missing"), std::nullopt);
  EXPECT_EQ(readFileBytes(dir / "folder"), std::nullopt);
}

// Every kind of name gives its bytes or its reason; a FIFO with nobody
// writing into it is refused at once instead of waiting for a writer.
TEST(ReadFile, BytesOrTheReason) {
  TestDir dir;
  writeBytes(dir / "file", "bytes");
  writeBytes(dir / "empty", "");
  std::filesystem::create_directory(dir / "folder");
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
#endif
  struct Case {
    const char* name;
    std::optional<std::string> bytes;
    std::error_code error;
  };
  const Case cases[] = {
      {"file", "bytes", {}},
      {"empty", "", {}},
      {"missing", std::nullopt, std::make_error_code(std::errc::no_such_file_or_directory)},
      {"folder", std::nullopt, std::make_error_code(std::errc::is_a_directory)},
#ifndef _WIN32
      {"fifo", std::nullopt, notRegularFile()},
#endif
  };
  for (const Case& c : cases) {
    const FileRead read = readFile(dir / c.name);
    EXPECT_EQ(read.bytes, c.bytes) << c.name;
    EXPECT_EQ(read.error, c.error) << c.name << ": " << read.error.message();
  }
  EXPECT_NE(notRegularFile().message().find("not a regular file"), std::string::npos);
}

}  // namespace
}  // namespace tarvik

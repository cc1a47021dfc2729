// The CreateProcessW launcher with a small test program (launchee.exe
// beside this test): arguments arrive as listed, the system finds an
// unquoted path with blanks, and ending asks first and terminates only a
// program that stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pump.h"
#include "win32/widetext.h"
#include "win32/winlauncher.h"

namespace tarvik::win32 {
namespace {

namespace fs = std::filesystem;
using testing::pumpUntil;
using Args = std::vector<std::string>;

constexpr int kTerminateAfterMs = 400;

fs::path here() {
  wchar_t buffer[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return fs::path(std::wstring(buffer, n)).parent_path();
}

std::string utf8Path(const fs::path& p) { return narrow(p.wstring()); }

struct Recorded {
  DWORD pid = 0;
  Args args;
};

std::optional<Recorded> readRecord(const fs::path& record) {
  std::ifstream in(record, std::ios::binary);
  if (!in) return std::nullopt;
  Recorded r;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  r.pid = static_cast<DWORD>(std::stoul(line));
  while (std::getline(in, line)) r.args.push_back(line);
  return r;
}

class WinLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / (std::string("tarvik-launcher-") + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  // Starts the test program and waits for what it wrote.
  Recorded startAndRecord(const std::string& commandLine, ProcessHandle& handle, const fs::path& record) {
    handle = launcher.start(commandLine);
    EXPECT_NE(handle, kNoProcess);
    std::optional<Recorded> r;
    // The first program with a window in a new Wine session also starts its
    // desktop process, which takes long on a loaded machine.
    EXPECT_TRUE(pumpUntil([&] { return (r = readRecord(record)).has_value(); }, 90000));
    return r.value_or(Recorded{});
  }

  fs::path dir;
  MessageWindow window;
  WinLauncher launcher{window, kTerminateAfterMs};
  const fs::path launchee = here() / "launchee.exe";
};

std::string quoted(const fs::path& p) { return "\"" + utf8Path(p) + "\""; }

TEST_F(WinLauncherTest, ArgumentsArriveAsTheProgramReadsThem) {
  const fs::path record = dir / "記録.txt";
  ProcessHandle handle = kNoProcess;
  const Recorded r = startAndRecord(quoted(launchee) + " " + quoted(record) +
                                        " --ip=203.0.113.7 \"two words\" \"\" a\\\"quote trailing\\ C:\\dir\\ 日本語",
                                    handle, record);
  EXPECT_EQ(r.args, (Args{"--ip=203.0.113.7", "two words", "", "a\"quote", "trailing\\", "C:\\dir\\", "日本語"}));
  EXPECT_EQ(r.pid, launcher.pid(handle));
  EXPECT_TRUE(launcher.isRunning(handle));
  launcher.end(handle);
  EXPECT_TRUE(pumpUntil([&] { return !launcher.isRunning(handle); }, 10000));
}

// An unquoted program path with blanks: the system tries "C:\...\with",
// then "C:\...\with blanks\launchee.exe"; Japanese folder and program
// names as the settings hold them.
TEST_F(WinLauncherTest, UnquotedPathWithBlanksIsFoundByTheSystem) {
  const struct {
    const char8_t* folder;
    const char8_t* program;
  } cases[] = {{u8"with blanks", u8"launchee.exe"}, {u8"ツール フォルダ", u8"起動テスト.exe"}};
  for (const auto& c : cases) {
    const fs::path folder = dir / c.folder;
    fs::create_directories(folder);
    fs::copy_file(launchee, folder / c.program);
    const fs::path record = dir / "record.txt";
    fs::remove(record);
    ProcessHandle handle = kNoProcess;
    const Recorded r =
        startAndRecord(utf8Path(folder / c.program) + " " + utf8Path(record) + " x", handle, record);
    EXPECT_EQ(r.args, (Args{"x"})) << utf8Path(folder);
    launcher.end(handle);
    EXPECT_TRUE(pumpUntil([&] { return !launcher.isRunning(handle); }, 10000));
  }
}

TEST_F(WinLauncherTest, EndAsksToCloseFirst) {
  const fs::path record = dir / "record.txt";
  ProcessHandle handle = kNoProcess;
  const Recorded r = startAndRecord(quoted(launchee) + " " + quoted(record), handle, record);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, r.pid);
  ASSERT_NE(process, nullptr);
  launcher.end(handle);
  ASSERT_TRUE(pumpUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 10000));
  DWORD code = 99;
  ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  EXPECT_EQ(code, 0u) << "closed by its window, not terminated";
}

TEST_F(WinLauncherTest, AProgramThatStaysIsTerminatedLater) {
  const fs::path record = dir / "record.txt";
  ProcessHandle handle = kNoProcess;
  const Recorded r = startAndRecord(quoted(launchee) + " " + quoted(record) + " --ignore-close", handle, record);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, r.pid);
  ASSERT_NE(process, nullptr);
  const ULONGLONG asked = ::GetTickCount64();
  launcher.end(handle);
  ASSERT_TRUE(pumpUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 10000));
  EXPECT_GE(::GetTickCount64() - asked, static_cast<ULONGLONG>(kTerminateAfterMs) - 50);
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  EXPECT_EQ(code, 1u) << "terminated";
  // Ending it again touches nothing.
  launcher.end(handle);
}

TEST_F(WinLauncherTest, AMissingProgramIsNoProcess) {
  EXPECT_EQ(launcher.start(quoted(dir / "missing.exe")), kNoProcess);
  EXPECT_EQ(launcher.start("  "), kNoProcess);
  launcher.end(kNoProcess);  // nothing to end
}

}  // namespace
}  // namespace tarvik::win32

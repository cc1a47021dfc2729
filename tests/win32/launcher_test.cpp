// The CreateProcessW launcher against the launcher contract
// (tests/support/contracts), with launchee.exe beside this test as the
// recording program, and how it ends programs on Windows: a window close
// first, termination only for a program that stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/launchercontract.h"
#include "pump.h"
#include "win32/winlauncher.h"

namespace tarvik::win32 {
namespace {

using namespace tarvik::contracts;

fs::path here() {
  wchar_t buffer[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return fs::path(std::wstring(buffer, n)).parent_path();
}

BOOL CALLBACK postClose(HWND window, LPARAM pid) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(pid)) ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

struct WinLauncherDriver {
  Launcher& launcher() { return *adapter; }
  void dropLauncher() { adapter.reset(); }
  bool runUntil(const std::function<bool()>& done, int timeoutMs) {
    return testing::pumpUntil(done, static_cast<DWORD>(timeoutMs));
  }
  bool isRunning(ProcessHandle p) const { return adapter && adapter->isRunning(p); }
  long long pid(ProcessHandle p) const { return adapter ? adapter->pid(p) : 0; }

  static fs::path installRecorder(const fs::path& folder, const std::string& name) {
    const fs::path program = folder / fromUtf8(name + ".exe");
    fs::copy_file(here() / "launchee.exe", program, fs::copy_options::overwrite_existing);
    return program;
  }
  static bool gone(long long pid) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process) return true;
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
  }
  static void askToClose(long long pid) { ::EnumWindows(&postClose, static_cast<LPARAM>(pid)); }
  static void forceEnd(long long pid) {
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!process) return;
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 10000);
    ::CloseHandle(process);
  }
  // Words as a Windows program's start-up code reads them: backslashes are
  // literal except before a quote, "" is an empty word.
  static std::vector<ArgumentCase> argumentCases() {
    return {{"--ip=203.0.113.7 \"two words\" \"\" a\\\"quote trailing\\ C:\\dir\\ 日本語",
             {"--ip=203.0.113.7", "two words", "", "a\"quote", "trailing\\", "C:\\dir\\", "日本語"}}};
  }

  MessageWindow window;
  std::unique_ptr<WinLauncher> adapter = std::make_unique<WinLauncher>(window, kGraceMs);
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win, LauncherContract, ::testing::Types<WinLauncherDriver>);

class WinLauncherTest : public LauncherContract<WinLauncherDriver> {};

// A program that closes its window when asked exits as it chooses (0); one
// that stays is terminated (exit code 1).
TEST_F(WinLauncherTest, EndClosesTheWindowOrTerminates) {
  const struct {
    const char* extra;
    DWORD exitCode;
  } cases[] = {{"", 0}, {" --ignore-close", 1}};
  for (const auto& c : cases) {
    const fs::path record = dir.path() / "record";
    fs::remove(record);
    ProcessHandle handle = kNoProcess;
    const Record r = startAndRecord(quoted(recorder) + " " + quoted(record) + c.extra, record, handle);
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(r.pid));
    ASSERT_NE(process, nullptr) << c.extra;
    launcher().end(handle);
    EXPECT_TRUE(runUntil([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; })) << c.extra;
    DWORD code = 99;
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    EXPECT_EQ(code, c.exitCode) << c.extra;
  }
}

}  // namespace
}  // namespace tarvik::win32

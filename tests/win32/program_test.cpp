// tarvik.exe itself (TARVIK_EXE_UNDER_TEST): a program of the window
// subsystem, so no console opens for it from the Start menu or at logon,
// whose printing command lines still write to the pipe or the console they
// were started with; and tarvik.com, the same program for the console.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

// The program's path as a Windows path (a Linux path from the build is on
// Wine's drive Z:).
std::wstring program() {
  const char* path = std::getenv("TARVIK_EXE_UNDER_TEST");
  std::string p = path ? path : "";
  if (!p.empty() && p.front() == '/') p = "Z:" + p;
  return widen(p);
}

struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
};

// Runs the program at `path` with the arguments; with `pipe`, its standard output and
// error go to a pipe whose text is returned, otherwise it gets no handles
// and may only find this program's console. The exit code goes to `code`.
std::string run(const std::wstring& path, const std::wstring& arguments, bool pipe, DWORD& code) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Handle read, write;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Without a pipe no handles at all, as a prompt starts a program of the
  // window subsystem.
  startup.dwFlags = STARTF_USESTDHANDLES;
  if (pipe) {
    EXPECT_TRUE(::CreatePipe(&read.h, &write.h, &inherit, 0));
    ::SetHandleInformation(read.h, HANDLE_FLAG_INHERIT, 0);
    startup.hStdOutput = write.h;
    startup.hStdError = write.h;
  }
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, pipe, 0, nullptr, nullptr, &startup,
                        &info)) {
    ADD_FAILURE() << "cannot start " << narrow(commandLine) << ": " << ::GetLastError();
    return {};
  }
  Handle process{info.hProcess}, thread{info.hThread};
  std::string out;
  if (pipe) {
    ::CloseHandle(write.h);
    write.h = nullptr;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(read.h, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
  }
  EXPECT_EQ(::WaitForSingleObject(process.h, 60000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(process.h, &code);
  return out;
}

// tarvik.exe for the Start menu, a shortcut, the logon; tarvik.com beside
// it, the same program for prompts and scripts.
TEST(Program, TheExeIsBuiltForTheWindowSubsystemTheComForTheConsole) {
  const struct {
    const wchar_t* extension;
    WORD subsystem;
  } cases[] = {{L".exe", IMAGE_SUBSYSTEM_WINDOWS_GUI}, {L".com", IMAGE_SUBSYSTEM_WINDOWS_CUI}};
  for (const auto& c : cases) {
    const std::filesystem::path path = std::filesystem::path(program()).replace_extension(c.extension);
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << narrow(path.wstring());
    IMAGE_DOS_HEADER dos{};
    file.read(reinterpret_cast<char*>(&dos), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS64 nt{};
    file.seekg(dos.e_lfanew);
    file.read(reinterpret_cast<char*>(&nt), sizeof nt);
    ASSERT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, c.subsystem) << narrow(path.wstring());
  }
}

// Through a pipe, as scripts and the end-to-end tests read it.
TEST(Program, PrintingCommandLinesWriteToThePipeTheyWereGiven) {
  const struct {
    const wchar_t* arguments;
    const char* part;
    DWORD code;
  } cases[] = {
      {L"--version", "tarvik", 0},
      {L"--help", "--headless", 0},
      {L"--no-such-option", "Try 'tarvik --help'", 2},
  };
  for (const auto& c : cases) {
    DWORD code = 1000;
    const std::string out = run(program(), c.arguments, true, code);
    EXPECT_NE(out.find(c.part), std::string::npos) << narrow(c.arguments) << " printed: " << out;
    EXPECT_EQ(code, c.code) << narrow(c.arguments);
  }
}

// A console of this test program's own, as a prompt's: its code page set
// as a Japanese Windows sets it, and its screen read back.
struct PromptConsole {
  static constexpr UINT kJapaneseCodePage = 932;
  Handle screen;

  PromptConsole() {
    ::FreeConsole();
    EXPECT_TRUE(::AllocConsole());
    EXPECT_TRUE(::SetConsoleOutputCP(kJapaneseCodePage));
    screen.h = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(screen.h, INVALID_HANDLE_VALUE);
  }
  ~PromptConsole() {
    ::CloseHandle(screen.h);
    screen.h = nullptr;
    ::FreeConsole();
  }

  // The characters on the screen up to the cursor's line.
  std::wstring text() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(screen.h, &info)) return {};
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwCursorPosition.Y + 1);
    std::wstring shown(cells, L' ');
    DWORD got = 0;
    if (!::ReadConsoleOutputCharacterW(screen.h, shown.data(), cells, COORD{0, 0}, &got)) return {};
    shown.resize(got);
    return shown;
  }
};

// Started from a prompt without redirection: the text lands in the
// prompt's console.
TEST(Program, WithoutHandlesItWritesToTheParentsConsole) {
  PromptConsole console;
  DWORD code = 1000;
  run(program(), L"--version", false, code);
  EXPECT_EQ(code, 0u);
  const std::wstring text = console.text();
  EXPECT_NE(text.find(L"tarvik"), std::wstring::npos) << narrow(text);
}

// Japanese in a Japanese console, from both programs: every character as it
// was printed, none cut into replacement marks, and the console keeps its
// code page for the programs that use it next.
TEST(Program, JapaneseShowsInTheConsoleWhoseCodePageStays) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::filesystem::path configDir = std::filesystem::path(temp) / L"tarvik-console-設定";
  std::filesystem::create_directories(configDir);
  const std::wstring usage = L"--usage 2026-12 --config-dir \"" + configDir.wstring() + L"\"";
  const std::wstring lines[] = {L"利用状況 2026-12", L"接続先別", L"着信 0 件"};
  for (const wchar_t* extension : {L".exe", L".com"}) {
    PromptConsole console;
    const std::wstring path = std::filesystem::path(program()).replace_extension(extension).wstring();
    DWORD code = 1000;
    run(path, usage, false, code);
    EXPECT_EQ(code, 0u) << narrow(extension);
    const std::wstring text = console.text();
    for (const std::wstring& line : lines)
      EXPECT_NE(text.find(line), std::wstring::npos)
          << narrow(extension) << " showed: " << narrow(text.substr(0, 160));
    EXPECT_EQ(::GetConsoleOutputCP(), PromptConsole::kJapaneseCodePage) << narrow(extension);
  }
  std::filesystem::remove_all(configDir);
}

}  // namespace
}  // namespace tarvik::win32

// The settings files on Windows: where they live, Shift-JIS INI files with
// Windows line ends in folders with Japanese names, and the crash-safe
// replacement refusing a read-only file as the profile writer does.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/base/sjis.h"
#include "engine/base/filebytes.h"
#include "engine/settings/settingsfiles.h"

namespace tarvik {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string narrowPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class WindowsSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / (std::string("tarvik-win-settings-") + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
      ::SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
  fs::path dir;
};

TEST_F(WindowsSettings, ConfigDirIsBesideTheProgramElseAppData) {
  const fs::path appData = dir / L"AppData 設定";
  ASSERT_EQ(::_wputenv_s(L"APPDATA", appData.c_str()), 0);
  const fs::path program = dir / L"ﾌﾟﾛｸﾞﾗﾑ";
  fs::create_directories(program);
  const fs::path missing = dir / "not-there" / "bin";
  struct Case {
    fs::path explicitDir, exeDir, expected;
    const char* why;
  } cases[] = {
      {dir / "given", program, dir / "given", "--config-dir wins"},
      {{}, program, program, "a writable program folder"},
      {{}, missing, appData / "Tarvik", "a folder nothing can be created in"},
  };
  for (const Case& c : cases) EXPECT_EQ(findConfigDir(c.explicitDir, c.exeDir), c.expected) << c.why;
  // A program folder that already holds the settings keeps them there.
  fs::create_directories(missing);
  writeBytes(missing / "Tarvik.ini", "[Tarvik]\r\n");
  EXPECT_EQ(findConfigDir({}, missing), missing);
  // The probe leaves nothing behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 0);
}

TEST_F(WindowsSettings, ShiftJisFilesInAJapaneseFolderReadAndSaveByteForByte) {
  const fs::path folder = dir / L"ルーター設定";
  fs::create_directories(folder);
  const std::string ini = toSjis(
      "[Tarvik]\r\nSOHOIP=192.168.0.1\r\nDEFAULT=1\r\n[SOUND]\r\n1=wav\\接続.wav\r\n"
      "[AP1]\r\n1=\"C:\\ソフト\\ftp.exe\" $IP\r\n[OTHER]\r\nkeep=そのまま\r\n");
  const std::string names = toSjis("0312341234:会社\r\n0452223333:山田商店\r\n");
  writeBytes(folder / "Tarvik.ini", ini);
  writeBytes(folder / "Tarvik.lst", names);
  SettingsFiles files(folder);
  SettingsStore store;
  files.loadAll(store);
  EXPECT_EQ(store.tarvik.SOHOIP, "192.168.0.1");
  EXPECT_EQ(toUtf8(files.loadApplications(1)[0]), "\"C:\\ソフト\\ftp.exe\" $IP");
  EXPECT_EQ(files.saveApplications(1, files.loadApplications(1)), "");
  EXPECT_EQ(files.saveDialogSettings(store, files.loadApplications(1)), "");
  EXPECT_EQ(readBytes(folder / "Tarvik.lst"), names);
  const std::string saved = readBytes(folder / "Tarvik.ini");
  EXPECT_NE(saved.find(toSjis("keep=そのまま\r\n")), std::string::npos);
  EXPECT_NE(saved.find(toSjis("1=wav\\接続.wav\r\n")), std::string::npos);
  EXPECT_EQ(saved.find("\n\n"), std::string::npos);
  for (std::size_t at = saved.find('\n'); at != std::string::npos; at = saved.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(saved[at - 1], '\r') << "every line ends in CR LF";
  }
}

TEST_F(WindowsSettings, AReadOnlyFileIsRefusedAndKeptWhole) {
  const fs::path file = dir / "Tarvik.ini";
  writeBytes(file, "old\r\n");
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(replaceFileBytes(file, "new\r\n"));
  EXPECT_EQ(readBytes(file), "old\r\n");
  SettingsFiles files(dir);
  SettingsStore store;
  const std::string message = files.saveWindowState(store, false);
  EXPECT_EQ(message, narrowPath(file) + " に書き込めません");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(WindowsSettings, ReplacingKeepsAttributesAndCreatesTheFolder) {
  const fs::path file = dir / L"新しい" / "Tarvik.spt";
  ASSERT_TRUE(replaceFileBytes(file, toSjis("7:00 dis a\r\n")));
  EXPECT_EQ(readBytes(file), toSjis("7:00 dis a\r\n"));
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(replaceFileBytes(file, "x"));
  EXPECT_EQ(readBytes(file), "x");
  EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace
}  // namespace tarvik

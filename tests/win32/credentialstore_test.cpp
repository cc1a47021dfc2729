// The router password in the Windows Credential Manager, through the real
// credential calls (Wine keeps them in its registry): what is stored is read
// back byte for byte, each config folder has its own, and the keeper moves
// the password between Tarvik.ini and the store as on Linux.
#include "win32/credentialstore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "engine/base/sjis.h"
#include "engine/settings/passwordkeeper.h"

namespace tarvik::win32 {
namespace {

namespace fs = std::filesystem;

SecretReply ask(const std::function<void(SecretStore::Done)>& request) {
  std::optional<SecretReply> got;
  request([&](const SecretReply& reply) { got = reply; });
  EXPECT_TRUE(got.has_value()) << "the store answers before the call returns";
  return got.value_or(SecretReply{});
}

class Credentials : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("tarvik-credentials-" + test);
    fs::remove_all(dir);
    fs::create_directories(dir);
    store.emplace(narrowPath(dir));
    ask([&](auto done) { store->clear(done); });
  }
  void TearDown() override {
    ask([&](auto done) { store->clear(done); });
    fs::remove_all(dir);
  }
  static std::string narrowPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }

  fs::path dir;
  std::optional<CredentialStore> store;
};

TEST_F(Credentials, WhatIsStoredIsReadBackAndClearedOnce) {
  EXPECT_EQ(ask([&](auto done) { store->lookup(done); }).status, SecretReply::Status::kNotFound);

  // Shift-JIS bytes, with double-byte characters, as the program holds them.
  const std::string password = toSjis("ひみつ-Pass 1");
  ASSERT_EQ(ask([&](auto done) { store->store(password, done); }).status, SecretReply::Status::kOk);
  SecretReply read = ask([&](auto done) { store->lookup(done); });
  EXPECT_EQ(read.status, SecretReply::Status::kOk) << read.detail;
  EXPECT_EQ(read.password, password);

  // A second store replaces the first.
  ASSERT_EQ(ask([&](auto done) { store->store("other", done); }).status, SecretReply::Status::kOk);
  EXPECT_EQ(ask([&](auto done) { store->lookup(done); }).password, "other");

  EXPECT_EQ(ask([&](auto done) { store->clear(done); }).status, SecretReply::Status::kOk);
  EXPECT_EQ(ask([&](auto done) { store->lookup(done); }).status, SecretReply::Status::kNotFound);
  EXPECT_EQ(ask([&](auto done) { store->clear(done); }).status, SecretReply::Status::kOk)
      << "clearing what is not there is done, not an error";
}

TEST_F(Credentials, EachConfigFolderHasItsOwnPassword) {
  CredentialStore other(narrowPath(dir / "其の他"));
  ASSERT_EQ(ask([&](auto done) { store->store("first", done); }).status, SecretReply::Status::kOk);
  EXPECT_EQ(ask([&](auto done) { other.lookup(done); }).status, SecretReply::Status::kNotFound);
  ASSERT_EQ(ask([&](auto done) { other.store("second", done); }).status, SecretReply::Status::kOk);
  EXPECT_EQ(ask([&](auto done) { store->lookup(done); }).password, "first");
  EXPECT_EQ(ask([&](auto done) { other.lookup(done); }).password, "second");
  ask([&](auto done) { other.clear(done); });
  EXPECT_NE(store->targetName(), other.targetName());
}

// The box ticked: the password leaves Tarvik.ini (PASS empty, KEYRING=1)
// for the Credential Manager, and the next start reads it from there.
TEST_F(Credentials, TheKeeperMovesThePasswordIntoTheStoreAndBack) {
  SettingsFiles files(dir);
  SettingsStore settings;
  settings.tarvik.PASS = "himitsu";
  settings.secret.KEYRING = true;
  ASSERT_EQ(files.saveDialogSettings(settings, {}), "");
  std::vector<std::string> problems;
  PasswordKeeper(*store).keep(settings, files, [&](const std::string& p) { problems.push_back(p); });
  EXPECT_EQ(problems, std::vector<std::string>{""});

  std::ifstream in(files.iniPath(), std::ios::binary);
  const std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(ini.find("PASS=\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[SECRET]\r\nKEYRING=1\r\n"), std::string::npos) << ini;

  SettingsStore next;
  files.loadAll(next);
  EXPECT_EQ(next.tarvik.PASS, "");
  PasswordKeeper(*store).fetch(next, [&](const std::string& p) { problems.push_back(p); });
  EXPECT_EQ(next.tarvik.PASS, "himitsu");
  EXPECT_EQ(problems.back(), "");
}

}  // namespace
}  // namespace tarvik::win32

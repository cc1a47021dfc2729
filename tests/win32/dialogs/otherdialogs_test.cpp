// The first-run dialog, the ID and password dialog, the details window and
// the about box, driven through their controls.
#include <gtest/gtest.h>

#include "dialogfixture.h"
#include "dialogs/dialogids.h"

namespace tarvik::win32 {
namespace {

using testing::click;
using testing::DialogFixture;
using testing::textOf;

struct OtherDialogs : DialogFixture, ::testing::Test {};

std::string titleOf(HWND window) { return textOf(window); }

TEST_F(OtherDialogs, EachOneIsBuiltFromItsResourceWithItsTitle) {
  CredentialsDialog credentials(core, nullptr);
  DetailsWindow details(core, nullptr);
  AboutBox about(nullptr, dir / "Tarvik.bmp");
  std::optional<std::optional<std::string>> answer;
  FirstRunDialog firstRun(nullptr, [&](std::optional<std::string> a) { answer = a; });
  EXPECT_EQ(titleOf(credentials.hwnd()), "Tarvik");
  EXPECT_EQ(titleOf(details.hwnd()), "Tarvik - 詳細");
  EXPECT_EQ(titleOf(about.hwnd()), "Tarvik - About");
  EXPECT_EQ(titleOf(firstRun.hwnd()), "Tarvik - セットアップ");
  SettingsDialog settings(core, nullptr, {.message = recordMessages()});
  EXPECT_EQ(titleOf(settings.hwnd()), "Tarvik - 設定");
}

}  // namespace
}  // namespace tarvik::win32

// The first-run dialog, the ID and password dialog, the details window and
// the about box, driven through their controls.
#include <gtest/gtest.h>

#include "dialogfixture.h"
#include "win32/dialogs/dialogids.h"
#include "win32/dialogs/dialogsupport.h"

namespace tarvik::win32 {
namespace {

using testing::click;
using testing::DialogFixture;
using testing::pressKey;
using testing::setText;
using testing::textOf;

struct OtherDialogs : DialogFixture, ::testing::Test {
  // A top-level window of the program besides the dialog, as the main
  // window is: a modal dialog disables it while it is open.
  HWND other = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  ~OtherDialogs() override { DestroyWindow(other); }
};

TEST_F(OtherDialogs, EachOneIsBuiltFromItsResourceWithItsTitle) {
  CredentialsDialog credentials(core, nullptr);
  DetailsWindow details(core, nullptr);
  AboutBox about(nullptr, dir / "Tarvik.bmp");
  FirstRunDialog firstRun(nullptr, [](std::optional<std::string>) {});
  EXPECT_EQ(textOf(credentials.hwnd()), "Tarvik");
  EXPECT_EQ(textOf(details.hwnd()), "Tarvik - 詳細");
  EXPECT_EQ(textOf(about.hwnd()), "Tarvik - About");
  EXPECT_EQ(textOf(firstRun.hwnd()), "Tarvik - セットアップ");
  SettingsDialog settings(core, nullptr, {.message = recordMessages()});
  EXPECT_EQ(textOf(settings.hwnd()), "Tarvik - 設定");
  for (HWND window : {credentials.hwnd(), about.hwnd(), firstRun.hwnd(), settings.hwnd()}) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << textOf(window) << ": fixed size";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << textOf(window) << ": a close box only";
  }
  EXPECT_FALSE(GetWindowLongW(about.hwnd(), GWL_STYLE) & WS_SYSMENU)
      << "the about box has no title-bar buttons";
  EXPECT_TRUE(GetWindowLongW(details.hwnd(), GWL_STYLE) & WS_THICKFRAME) << "the details window is resizable";
}

// --- TForm8 ---

TEST_F(OtherDialogs, FirstRunGivesTheAddressAsTypedOnOkAndNothingOnTheCloseBox) {
  for (const char* typed : std::initializer_list<const char*>{nullptr, " 10.0.0.9 ", ""}) {
    std::optional<std::optional<std::string>> answer;
    FirstRunDialog dialog(nullptr, [&](std::optional<std::string> a) { answer = std::move(a); });
    HWND field = GetDlgItem(dialog.hwnd(), IDC_FirstRunEdit1);
    EXPECT_EQ(textOf(field), "192.168.0.1");
    if (typed) setText(field, typed);
    pressKey(field, VK_RETURN);  // OK is the default button
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->value_or("(none)"), typed ? typed : "192.168.0.1") << "not trimmed, not checked";
    EXPECT_EQ(dialog.hwnd(), nullptr) << "done with";
  }
  std::optional<std::optional<std::string>> answer;
  FirstRunDialog dialog(nullptr, [&](std::optional<std::string> a) { answer = std::move(a); });
  SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(answer.has_value());
  EXPECT_FALSE(answer->has_value());
}

// The start-up load's question runs its own loop and writes the address.
TEST_F(OtherDialogs, TheStartUpQuestionWaitsForOkAndKeepsTheAddressInTheFile) {
  // The user, once the dialog shows: an address typed and OK pressed.
  struct User {
    static void CALLBACK act(HWND, UINT, UINT_PTR id, DWORD) {
      HWND dialog = FindWindowW(nullptr, L"Tarvik - セットアップ");
      if (!dialog) return;
      KillTimer(nullptr, id);
      SetDlgItemTextW(dialog, IDC_FirstRunEdit1, L"192.168.7.7");
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  };
  SetTimer(nullptr, 0, 50, User::act);
  SettingsStore store;
  const std::string error = askRouterAddressAndKeep(store, core.files(), nullptr);
  EXPECT_EQ(error, "");
  EXPECT_EQ(store.tarvik.SOHOIP, "192.168.7.7");
  EXPECT_NE(iniText().find("SOHOIP=192.168.7.7"), std::string::npos) << iniText();
  EXPECT_TRUE(IsWindowEnabled(other)) << "the other windows come back";
}

// --- TForm7 ---

TEST_F(OtherDialogs, CredentialsAnswerTheEngineOnceAndStartEmptyWithTheLastId) {
  CredentialsDialog dialog(core, nullptr);
  HWND id = GetDlgItem(dialog.hwnd(), IDC_UserId), password = GetDlgItem(dialog.hwnd(), IDC_Password);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');

  dialog.ask(toSjis("利用者"));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(IsWindowEnabled(other)) << "modal for the user";
  EXPECT_EQ(textOf(id), "利用者");
  EXPECT_EQ(GetFocus(), id);
  setText(id, "user 1");
  setText(password, "pa ss");
  dialog.ask("again");  // a second request while open only brings it to the front
  EXPECT_EQ(textOf(id), "user 1");
  click(GetDlgItem(dialog.hwnd(), IDOK));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_EQ(core.calls, std::vector<std::string>{"CredentialsEntered user 1 pa ss"})
      << "verbatim, blanks included";

  // Every way of not answering OK cancels, and the password never stays.
  const std::function<void()> cancels[] = {
      [&] { click(GetDlgItem(dialog.hwnd(), IDCANCEL)); },
      [&] { SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0); },
      [&] { pressKey(id, VK_ESCAPE); },
  };
  for (const auto& cancel : cancels) {
    core.calls.clear();
    dialog.ask("user 1");
    EXPECT_EQ(textOf(password), "");
    setText(password, "x");
    cancel();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(core.calls, std::vector<std::string>{"CredentialsCancelled"});
  }
  core.calls.clear();
  dialog.ask("");
  pressKey(password, VK_RETURN);  // OK is the default button
  EXPECT_EQ(core.calls, std::vector<std::string>{"CredentialsEntered  "}) << "empty fields go as they are";
}

// --- TForm5 ---

TEST_F(OtherDialogs, TheDetailsTranscriptAppendsFromItsSecondRowAndAClearStartsAtTheFirst) {
  DetailsWindow details(core, nullptr);
  details.appendLine("課金情報");
  details.appendLine("PPP: up");
  EXPECT_EQ(details.text(), "\n課金情報\nPPP: up") << "the transcript starts with one empty row";
  details.clearText();
  details.appendLine("a");
  details.appendLine("b");
  EXPECT_EQ(details.text(), "a\nb");
}

TEST_F(OtherDialogs, TheSixReportButtonsAskTheEngineForTheirReports) {
  DetailsWindow details(core, nullptr);
  const std::pair<int, const char*> buttons[] = {
      {IDC_DetailsButton1, "課金情報"},     {IDC_DetailsButton2, "接続ログ"}, {IDC_DetailsButton3, "PPP情報"},
      {IDC_DetailsButton4, "アナログ情報"}, {IDC_Mail_Button, "メール情報"},  {IDC_PHS_Button, "PHSメール"},
  };
  std::vector<std::string> expected;
  int n = 0;
  for (const auto& [id, caption] : buttons) {
    HWND button = GetDlgItem(details.hwnd(), id);
    EXPECT_EQ(textOf(button), caption);
    click(button);
    expected.push_back("ReportButtonClick " + std::to_string(n++));
  }
  EXPECT_EQ(core.calls, expected);
}

TEST_F(OtherDialogs, TheDetailsWindowKeepsItsPlaceHidesOnCloseAndGivesTheTextAllRoomAboveTheBar) {
  DetailsWindow details(core, nullptr);
  details.applyGeometry({120, 80, 640, 400});
  const DetailsWindow::Geometry before = details.savedGeometry();
  EXPECT_EQ(before.left, 120);
  EXPECT_EQ(before.top, 80);
  EXPECT_EQ(before.width, 640);
  EXPECT_EQ(before.height, 400);
  details.show();
  EXPECT_TRUE(details.isVisible());
  // The size is kept as at 100 %: on a screen of another scale the window
  // is scaled, what it gives back is not.
  const int dpi = windowDpi(details.hwnd());
  RECT shownFrame{};
  GetWindowRect(details.hwnd(), &shownFrame);
  EXPECT_EQ(shownFrame.right - shownFrame.left, MulDiv(640, dpi, 96));
  EXPECT_EQ(shownFrame.bottom - shownFrame.top, MulDiv(400, dpi, 96));
  const DetailsWindow::Geometry shown = details.savedGeometry();
  EXPECT_EQ(shown.width, 640) << "at " << dpi << " dpi";
  EXPECT_EQ(shown.height, 400) << "at " << dpi << " dpi";
  for (const SIZE size : {SIZE{700, 500}, SIZE{560, 240}}) {
    SetWindowPos(details.hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{}, memo{}, bar{}, last{};
    GetClientRect(details.hwnd(), &client);
    GetWindowRect(GetDlgItem(details.hwnd(), IDC_Memo1), &memo);
    GetWindowRect(GetDlgItem(details.hwnd(), IDC_DetailsPanel1), &bar);
    GetWindowRect(GetDlgItem(details.hwnd(), IDC_PHS_Button), &last);
    MapWindowPoints(nullptr, details.hwnd(), reinterpret_cast<POINT*>(&memo), 2);
    MapWindowPoints(nullptr, details.hwnd(), reinterpret_cast<POINT*>(&bar), 2);
    MapWindowPoints(nullptr, details.hwnd(), reinterpret_cast<POINT*>(&last), 2);
    EXPECT_EQ(memo.top, 0);
    EXPECT_EQ(memo.bottom, bar.top) << "the text reaches the bar";
    EXPECT_EQ(bar.bottom, client.bottom) << "the bar sits on the bottom edge";
    EXPECT_EQ(memo.right, client.right);
    EXPECT_GE(last.top, bar.top);
    EXPECT_LE(last.bottom, bar.bottom);
    EXPECT_LE(last.right, client.right) << "no button is cut at " << size.cx;
  }
  const DetailsWindow::Geometry moved = details.savedGeometry();
  EXPECT_EQ(moved.left, 120);
  EXPECT_EQ(moved.height, MulDiv(240, 96, dpi));
  SendMessageW(details.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(details.isVisible()) << "closing only hides it";
  EXPECT_TRUE(IsWindow(details.hwnd()));
}

// --- TForm4 ---

// A 2x2 bitmap file of 24 bits per pixel.
void writeBitmap(const std::filesystem::path& path) {
  std::string bytes(54 + 16, '\0');
  auto put = [&](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, 2, 4);
  put(22, 2, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, 16, 4);
  tarvik::testing::writeBytes(path, bytes);
}

TEST_F(OtherDialogs, TheAboutBoxShowsVersionsAndThePictureWhenThereIsOne) {
  AboutBox about(nullptr, dir / "Tarvik.bmp");
  EXPECT_EQ(textOf(GetDlgItem(about.hwnd(), IDC_AboutLabel1)), "Version 1.46");
  EXPECT_EQ(textOf(GetDlgItem(about.hwnd(), IDC_AboutLicense)), "MIT License");
  EXPECT_EQ(about.routerVersion(), "") << "empty until the router's banner";
  about.setRouterVersion("# MN128-SOHO-S Version 1.00 &Co");
  EXPECT_EQ(about.routerVersion(), "# MN128-SOHO-S Version 1.00 &Co");

  about.showModal();  // no picture: the box opens without it
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(about.hasPicture());
  EXPECT_FALSE(IsWindowEnabled(other)) << "modal for the user";
  pressKey(GetDlgItem(about.hwnd(), IDOK), VK_RETURN);
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(IsWindowEnabled(other));

  writeBitmap(dir / "Tarvik.bmp");  // read afresh at every showing
  about.showModal();
  EXPECT_TRUE(about.hasPicture());
  click(GetDlgItem(about.hwnd(), IDOK));
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace tarvik::win32

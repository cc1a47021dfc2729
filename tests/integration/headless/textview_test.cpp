// The headless View's line format: one escaped line per visible change.
#include "textview/textview.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "fakes/fakeports.h"
#include "textview/printingports.h"

namespace tarvik::app {
namespace {

// Captures what the writer prints, line by line.
class Captured {
 public:
  Captured() : file_(open_memstream(&buf_, &size_)) {}
  ~Captured() {
    std::fclose(file_);
    std::free(buf_);
  }
  std::FILE* file() { return file_; }
  std::string text() {
    std::fflush(file_);
    return std::string(buf_, size_);
  }

 private:
  char* buf_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

struct TextViewTest : testing::Test {
  Captured out;
  LineWriter writer{out.file()};
  int closes = 0;
  TextView view{writer, [this] { ++closes; }};
};

TEST_F(TextViewTest, EachKindPrintsItsLine) {
  view.setStatusLine("待機中");
  view.setChannelText(Channel::B1, "空き");
  view.setChannelText(Channel::B2, "通信中");
  view.setDestinationLabel("会社");
  view.showCallerName("Office", "0312341234");
  view.clearCallerName();
  view.setMainTip("B1 空き / B2 空き");
  view.setChannelTip(Channel::B2, "192.168.1.5");
  view.setChannelIconVisible(Channel::B1, true);
  view.setDestinationCaption(3, "#3 会社");
  view.appendDetails("sh s");
  view.clearDetails();
  view.setPanelColour(PanelColour::Red);
  view.setStrip(StripColour::Night);
  view.parkWindow();
  view.setRouterVersion("MN128-SOHO.F Version 1.00");
  view.showStatusError("起動できません: /opt/My Apps/run");
  view.notify({NoticeKind::IncomingCall, "着信", "山田 0312341234"});
  view.notify({NoticeKind::IncomingCall, "着信", "山田 0312341234"});  // a second call: told again
  view.notify({NoticeKind::RouterSilent, "ルーター", "ルーターから応答がありません"});
  view.requestClose();
  EXPECT_EQ(out.text(),
            "status\t待機中\n"
            "b1\t空き\n"
            "b2\t通信中\n"
            "dest\t会社\n"
            "caller\tOffice\t0312341234\n"
            "caller-off\n"
            "tip\tB1 空き / B2 空き\n"
            "tip-b2\t192.168.1.5\n"
            "icon-b1\ton\n"
            "menu\t3\t#3 会社\n"
            "details\tsh s\n"
            "details-clear\n"
            "panel\tred\n"
            "strip\tnight\n"
            "window\tpark\n"
            "version\tMN128-SOHO.F Version 1.00\n"
            "error\t起動できません: /opt/My Apps/run\n"
            "notify\tincoming\t着信\t山田 0312341234\n"
            "notify\tincoming\t着信\t山田 0312341234\n"
            "notify\trouter-silent\tルーター\tルーターから応答がありません\n");
  EXPECT_EQ(closes, 1);
}

// An error on the status line replaces what it showed: the same status
// again afterwards is a change, printed.
TEST_F(TextViewTest, AStatusAfterAnErrorIsPrintedEvenWhenItWasShownBefore) {
  view.setStatusLine("待機中");
  view.showStatusError("ルーターにログインできません。パスワードを確認してください");
  view.setStatusLine("待機中");
  EXPECT_EQ(out.text(),
            "status\t待機中\n"
            "error\tルーターにログインできません。パスワードを確認してください\n"
            "status\t待機中\n");
}

TEST_F(TextViewTest, UnchangedStatePrintsNothingButAppendsAlwaysPrint) {
  view.setStatusLine("A");
  view.setStatusLine("A");
  view.setChannelIconVisible(Channel::B2, false);
  view.setChannelIconVisible(Channel::B2, false);
  view.setDestinationCaption(1, "x");
  view.setDestinationCaption(2, "x");  // another item: printed
  view.setDestinationCaption(1, "x");
  view.appendDetails("same");
  view.appendDetails("same");
  view.restoreWindow();
  view.parkWindow();
  view.restoreWindow();
  view.setStatusLine("A");
  EXPECT_EQ(out.text(),
            "status\tA\n"
            "icon-b2\toff\n"
            "menu\t1\tx\n"
            "menu\t2\tx\n"
            "details\tsame\n"
            "details\tsame\n"
            "window\trestore\n"
            "window\tpark\n"
            "window\trestore\n");
}

TEST_F(TextViewTest, CallerShownAgainAfterClearPrintsAgain) {
  view.showCallerName("Office", "03");
  view.showCallerName("Office", "03");
  view.clearCallerName();
  view.clearCallerName();
  view.showCallerName("Office", "03");
  EXPECT_EQ(out.text(), "caller\tOffice\t03\ncaller-off\ncaller\tOffice\t03\n");
}

TEST(LineWriterEscape, KeepsOneEventOnOneLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain 日本語", "plain 日本語"},        {"a\tb", "a\\tb"},
      {"line1\r\nline2", "line1\\r\\nline2"},  {"C:\\wav\\a.wav", "C:\\\\wav\\\\a.wav"},
      {std::string("nul\0x", 5), "nul\\x00x"}, {"\x1b[0m", "\\x1b[0m"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(LineWriter::escape(in), want) << want;
}

using test::FakeBrowser;
using test::FakeLauncher;
using test::FakeSound;

TEST(PrintingPorts, PrintAndPassOn) {
  Captured out;
  LineWriter writer(out.file());
  FakeLauncher realLauncher;
  PrintingLauncher launcher(writer, realLauncher);
  FakeSound realSound;
  PrintingSound sound(writer, realSound);
  FakeBrowser realBrowser;
  PrintingBrowser browser(writer, &realBrowser);
  PrintingBrowser printOnly(writer);  // no display: printed, not opened

  ProcessHandle a = launcher.start("/bin/prog -x '10.0.0.1'");
  ProcessHandle missing = launcher.start("missing");
  sound.play("wav/接続.wav");
  sound.play("");  // silence: neither printed nor played
  launcher.end(a);
  launcher.end(a);        // already asked once: not again
  launcher.end(missing);  // never started
  launcher.end(12345);    // not ours
  browser.open("http://127.0.0.1/");
  printOnly.open("http://127.0.0.2/");

  EXPECT_EQ(missing, kNoProcess);
  // The launcher gets the line as it is; the printout shows it split.
  EXPECT_EQ(realLauncher.started, (std::vector<std::string>{"/bin/prog -x '10.0.0.1'", "missing"}));
  EXPECT_EQ(realLauncher.ended, std::vector<ProcessHandle>{a});
  EXPECT_EQ(realSound.played, std::vector<std::string>{"wav/接続.wav"});
  EXPECT_EQ(realBrowser.opened, std::vector<std::string>{"http://127.0.0.1/"});
  EXPECT_EQ(out.text(),
            "launch\t/bin/prog\t-x\t10.0.0.1\n"
            "launch\tmissing\n"
            "sound\twav/接続.wav\n"
            "end\t/bin/prog\t-x\t10.0.0.1\n"
            "browse\thttp://127.0.0.1/\n"
            "browse\thttp://127.0.0.2/\n");
}

}  // namespace
}  // namespace tarvik::app

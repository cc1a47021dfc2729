// XdgBrowser: web addresses go to xdg-open as they are, a local file path
// is made absolute, blanks around the text are dropped, an empty one opens
// nothing; the opener is started through the launcher (never a shell).
#include "headless/xdgbrowser.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvik::app {
namespace {

struct RecordingLauncher {
  std::vector<std::vector<std::string>> started;
  XdgBrowser::Start start() {
    return [this](const std::vector<std::string>& argv) {
      started.push_back(argv);
      return ProcessHandle{1};
    };
  }
};

TEST(XdgBrowserTest, AddressesBecomeOneOpenerArgument) {
  const std::string cwd = std::filesystem::current_path().string();
  struct Case {
    std::string address;
    std::vector<std::string> argv;
  };
  const Case cases[] = {
      {"http://192.168.0.1/setup.html", {"xdg-open", "http://192.168.0.1/setup.html"}},
      {"  HTTPS://router/a b  ", {"xdg-open", "HTTPS://router/a b"}},
      {"file:///usr/share/doc", {"xdg-open", "file:///usr/share/doc"}},
      {"/opt/tarvik/manual/manual.html", {"xdg-open", "/opt/tarvik/manual/manual.html"}},
      {"manual/manual.html", {"xdg-open", cwd + "/manual/manual.html"}},
      {"   ", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    RecordingLauncher launcher;
    XdgBrowser browser(launcher.start());
    browser.open(c.address);
    if (c.argv.empty()) {
      EXPECT_TRUE(launcher.started.empty()) << c.address;
    } else {
      ASSERT_EQ(launcher.started.size(), 1u) << c.address;
      EXPECT_EQ(launcher.started[0], c.argv) << c.address;
    }
  }
}

}  // namespace
}  // namespace tarvik::app

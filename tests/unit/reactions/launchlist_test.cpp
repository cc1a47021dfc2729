#include "engine/reactions/launchlist.h"

#include <gtest/gtest.h>

#include "engine/base/sjis.h"
#include "fakes/fakeports.h"

namespace tarvik {
namespace {

using Args = std::vector<std::string>;
using test::FakeLauncher;

TEST(IPv4, OnlyWellFormedDottedAddresses) {
  for (const char* good : {"192.168.1.2", "0.0.0.0", "255.255.255.255", "10.0.0.1"}) {
    EXPECT_TRUE(isDottedIPv4(good)) << good;
  }
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4 ", " 1.2.3.4", "01.2.3.4", "1..2.3",
                          "1.2.3.", "a.b.c.d", "1.2.3.4;rm", "$(x).1.1.1", "1234.1.1.1"}) {
    EXPECT_FALSE(isDottedIPv4(bad)) << bad;
  }
}

TEST(ConnectionAddress, B1ElseB2) {
  EXPECT_EQ(connectionAddress("192.168.1.2", "10.0.0.1"), "192.168.1.2");
  EXPECT_EQ(connectionAddress("空き", "10.0.0.1"), "10.0.0.1");
  EXPECT_EQ(connectionAddress("1.2.3.4.5", "x"), std::nullopt);
}

TEST(ExpandIP, ReplacesEveryMarkerInPlace) {
  EXPECT_EQ(ExpandIP("prog $IP -x", "1.2.3.4"), "prog 1.2.3.4 -x");
  EXPECT_EQ(ExpandIP("a $IP:$IP b", "1.2.3.4"), "a 1.2.3.4:1.2.3.4 b");
  EXPECT_EQ(ExpandIP("http://$IP/", "1.2.3.4"), "http://1.2.3.4/");
  EXPECT_EQ(ExpandIP("no marker", "1.2.3.4"), "no marker");
}

TEST(LaunchedApps, StartsSevenSlotsEndsOnlySlotsOneToThreeOnce) {
  ApplicationList list = {toSjis("viewer $IP"),    "", "missing", "  ", toSjis("keep --host=$IP 'a b'"), "",
                          toSjis("missing ソフト")};
  FakeLauncher launcher;
  LaunchedApps apps;
  // The lines that could not start come back for the user to see; blank
  // slots are no programs and start nothing.
  EXPECT_EQ(apps.AutoAppClick(launcher, list, "192.168.1.2"), (Args{"missing", "missing ソフト"}));
  EXPECT_EQ(launcher.started,
            (Args{"viewer 192.168.1.2", "missing", "keep --host=192.168.1.2 'a b'", "missing ソフト"}));
  EXPECT_EQ(apps.slots()[0], 100);
  EXPECT_EQ(apps.slots()[1], kNoProcess);
  EXPECT_EQ(apps.slots()[2], kNoProcess);

  apps.endAll(launcher);
  EXPECT_EQ(launcher.ended, std::vector<ProcessHandle>{100});
  apps.endAll(launcher);  // a later disconnection touches nothing
  EXPECT_EQ(launcher.ended, std::vector<ProcessHandle>{100});
}

TEST(LaunchedApps, EmptyListLaunchesAndEndsNothing) {
  FakeLauncher launcher;
  LaunchedApps apps;
  EXPECT_TRUE(apps.AutoAppClick(launcher, ApplicationList{}, "1.2.3.4").empty());
  apps.endAll(launcher);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_TRUE(launcher.ended.empty());
}

TEST(LaunchCommandLines, ConvertsToUtf8WholeAndFillsInTheAddress) {
  // "ソ" is 0x83 0x5C in Shift-JIS: its trail byte is a backslash, which
  // must reach the launcher's splitter only as part of the character.
  ApplicationList list = {toSjis("open ソフト\\a.txt $IP"), "", toSjis("\"C:\\表\" $IP")};
  auto lines = launchCommandLines(list, "1.2.3.4");
  EXPECT_EQ(lines[0], "open ソフト\\a.txt 1.2.3.4");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "\"C:\\表\" 1.2.3.4");
}

}  // namespace
}  // namespace tarvik

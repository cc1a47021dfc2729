// The router's web pages: every page path, plain and ".cgi".

#include <gtest/gtest.h>

#include "sim/simharness.h"

namespace simtest {
namespace {

struct PageCase {
  const char* path;
  const char* title;  // UTF-8
};

// The menu's eleven items, with both variants' paths of 本体設定 and
// アナログポート設定.
const PageCase kPages[] = {
    {"disconnect", "切断／接続状況"},
    {"config-rlist", "自動接続先設定"},
    {"config-body", "本体設定"},
    {"config-sys", "本体設定"},
    {"config-ip", "IP設定"},
    {"config-isdn", "ISDN設定"},
    {"config-analog", "アナログポート設定"},
    {"config-analog-port", "アナログポート設定"},
    {"erase-config", "設定の消去"},
    {"show-config", "設定情報"},
    {"show-ip-route", "IP経路情報"},
    {"show-history", "接続・切断ログ情報"},
    {"show-charge", "通信料金情報"},
};

TEST(SimWeb, ServesEveryPagePlainAndAsCgi) {
  Sim sim;
  for (const PageCase& p : kPages) {
    for (const std::string suffix : {"", ".cgi"}) {
      const std::string path = "/" + std::string(p.path) + suffix;
      const std::string response = httpGet(sim.http, path);
      EXPECT_EQ(response.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << path;
      EXPECT_TRUE(contains(response, "charset=Shift_JIS")) << path;
      EXPECT_TRUE(contains(u8(response), std::string("<h1>") + p.title + "</h1>")) << path;
    }
  }
}

TEST(SimWeb, PagesShowTheRoutersState) {
  Sim sim;
  EXPECT_TRUE(contains(u8(httpGet(sim.http, "/config-rlist")), "0312345678"));
  EXPECT_TRUE(contains(u8(httpGet(sim.http, "/show-history.cgi")), "アナログ1 着信"));
  // The disconnect page acts on its links, like the router's.
  EXPECT_TRUE(contains(u8(httpGet(sim.http, "/disconnect?co=0")), "へ接続中．"));
  EXPECT_TRUE(contains(sim.control("state"), " b1=dialling:0 "));
  EXPECT_TRUE(contains(u8(httpGet(sim.http, "/disconnect.cgi?dis=a")), "B1チャネルを切断しました。"));
  EXPECT_TRUE(contains(sim.control("state"), " b1=idle "));
}

TEST(SimWeb, UnknownPathsAndMethodsAreRefused) {
  Sim sim;
  EXPECT_EQ(httpGet(sim.http, "/no-such-page").rfind("HTTP/1.0 404 ", 0), 0u);
  EXPECT_EQ(httpGet(sim.http, "/config-ip.html").rfind("HTTP/1.0 404 ", 0), 0u);
  const std::string post = converse(sim.http, "POST /erase-config HTTP/1.0\r\n\r\n").bytes();
  EXPECT_EQ(post.rfind("HTTP/1.0 405 ", 0), 0u);
  const std::string index = httpGet(sim.http, "/");
  for (const PageCase& p : kPages) EXPECT_TRUE(contains(index, std::string("href=\"") + p.path + ".cgi\""));
}

}  // namespace
}  // namespace simtest

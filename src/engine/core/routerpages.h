#pragma once
// The router's own web pages, opened in the browser from the settings menu
// "MN128-SOHO設定ﾍﾟｰｼﾞ": one table with each page's number, menu item (name
// and caption, in menu order) and path on the router.

#include <array>
#include <string>
#include <string_view>

namespace tarvik {

struct RouterPage {
  int page;                   // 1..11, as ExecWWW takes it
  const char* objectName;     // the menu item's name
  const char* caption;        // UTF-8
  const char* path;           // on the router's web server
  const char* pathOnBase100;  // the page base 100 moves pages 3 and 6 to these
};

inline constexpr std::array<RouterPage, 11> kRouterPages{{
    {1, "K16", "切断／接続状況", "disconnect", nullptr},
    {2, "K15", "自動接続先設定", "config-rlist", nullptr},
    {3, "K14", "本体設定", "config-body", "config-sys.cgi"},
    {4, "KIP2", "IP設定", "config-ip", nullptr},
    {5, "KISDN1", "ISDN設定", "config-isdn", nullptr},
    {6, "K13", "アナログポート設定", "config-analog", "config-analog-port.cgi"},
    {7, "K12", "設定の消去", "erase-config", nullptr},
    {8, "K11", "設定情報", "show-config", nullptr},
    {9, "KIP1", "IP経路情報", "show-ip-route", nullptr},
    {10, "K10", "接続・切断ログ情報", "show-history", nullptr},
    {11, "K9", "通信料金情報", "show-charge", nullptr},
}};

// "http://" + host + "/" + path for page 1..11; pages 3 and 6 have other
// paths on a router that announced itself as "# MN128-SOHO-S" (page base
// 100). Empty for any other page number.
std::string routerPageAddress(std::string_view hostUtf8, int page, int pageBase);

}  // namespace tarvik

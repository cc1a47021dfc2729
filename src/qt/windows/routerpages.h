#pragma once
// The router's web pages as the submenu "MN128-SOHO設定ﾍﾟｰｼﾞ" lists them:
// page number (the core applies the router variant's page base and builds
// the address), menu item name and caption, in menu order.

#include <array>

namespace tarvik {

struct RouterPageItem {
  int page;
  const char* objectName;
  const char* caption;
};

inline constexpr std::array<RouterPageItem, 11> kRouterPageItems = {{
    {1, "K16", "切断／接続状況"},
    {2, "K15", "自動接続先設定"},
    {3, "K14", "本体設定"},
    {4, "KIP2", "IP設定"},
    {5, "KISDN1", "ISDN設定"},
    {6, "K13", "アナログポート設定"},
    {7, "K12", "設定の消去"},
    {8, "K11", "設定情報"},
    {9, "KIP1", "IP経路情報"},
    {10, "K10", "接続・切断ログ情報"},
    {11, "K9", "通信料金情報"},
}};

}  // namespace tarvik

#include "desktop/mainmenus.h"

#include <array>

#include "engine/core/routerpages.h"

namespace tarvik {
namespace {

constexpr MenuItem kDisconnectSub[] = {
    {"B1Disc", "B1 切断", MenuAct::B1Disc},
    {"B2Disc", "B2 切断", MenuAct::B2Disc},
};

// The second eight destinations have no caption until the router's list
// arrives; they dial all the same.
constexpr MenuItem kMainNext8[] = {
    {"NN8", "", MenuAct::Destination, 8},   {"NN9", "", MenuAct::Destination, 9},
    {"NN10", "", MenuAct::Destination, 10}, {"NN11", "", MenuAct::Destination, 11},
    {"NN12", "", MenuAct::Destination, 12}, {"NN13", "", MenuAct::Destination, 13},
    {"NN14", "", MenuAct::Destination, 14}, {"NN15", "", MenuAct::Destination, 15},
};

constexpr MenuItem kFile1[] = {
    {"K1", "切断", MenuAct::Submenu, 0, kDisconnectSub},
    {"N1", "-", MenuAct::Separator},
    {"N11", "#0", MenuAct::Destination, 0},
    {"N12", "#1", MenuAct::Destination, 1},
    {"N21", "#2", MenuAct::Destination, 2},
    {"N41", "#3", MenuAct::Destination, 3},
    {"N31", "#4", MenuAct::Destination, 4},
    {"N51", "#5", MenuAct::Destination, 5},
    {"N61", "#6", MenuAct::Destination, 6},
    {"N71", "#7", MenuAct::Destination, 7},
    {"K81", "次の8件", MenuAct::Submenu, 0, kMainNext8},
    {"N2", "-", MenuAct::Separator},
    {"Exit1", "終了", MenuAct::Exit},
};

constexpr std::array<MenuItem, kRouterPages.size()> makeRouterPageItems() {
  std::array<MenuItem, kRouterPages.size()> items{};
  for (std::size_t i = 0; i < items.size(); ++i) {
    const RouterPage& page = kRouterPages[i];
    items[i] = MenuItem{page.objectName, page.caption, MenuAct::RouterPage, page.page};
  }
  return items;
}
constexpr auto kRouterPageItems = makeRouterPageItems();

constexpr MenuItem kKS1[] = {
    {"KTarvik3", "Tarvikの設定", MenuAct::Config},
    {"KMN128SOHO1", "MN128-SOHO設定ﾍﾟｰｼﾞ", MenuAct::Submenu, 0, kRouterPageItems},
};

constexpr MenuItem kK2[] = {
    {"Help1", "ﾍﾙﾌﾟ", MenuAct::Help},
    {"NNN", "-", MenuAct::Separator},
    {"KTarvik1", "ﾊﾞｰｼﾞｮﾝ情報", MenuAct::About},
    {"KTarvik2", "Tarvikのﾍﾟｰｼﾞ", MenuAct::ProgramPage},
    {"KUsage1", "利用状況", MenuAct::Usage},
};

constexpr MenuItem kMainMenu[] = {
    {"File1", "接続", MenuAct::Submenu, 0, kFile1},
    {"KS1", "設定", MenuAct::Submenu, 0, kKS1},
    {"K2", "その他", MenuAct::Submenu, 0, kK2},
};

constexpr MenuItem kPopupNext8[] = {
    {"NM8", "", MenuAct::Destination, 8},   {"NM9", "", MenuAct::Destination, 9},
    {"NM10", "", MenuAct::Destination, 10}, {"NM11", "", MenuAct::Destination, 11},
    {"NM12", "", MenuAct::Destination, 12}, {"NM13", "", MenuAct::Destination, 13},
    {"NM14", "", MenuAct::Destination, 14}, {"NM15", "", MenuAct::Destination, 15},
};

constexpr MenuItem kPopupMenu1[] = {
    {"KB12", "B1 切断", MenuAct::B1Disc},     {"KB22", "B2 切断", MenuAct::B2Disc},
    {"N3", "-", MenuAct::Separator},          {"N01", "#0", MenuAct::Destination, 0},
    {"N13", "#1", MenuAct::Destination, 1},   {"N22", "#2", MenuAct::Destination, 2},
    {"N32", "#3", MenuAct::Destination, 3},   {"N42", "#4", MenuAct::Destination, 4},
    {"N52", "#5", MenuAct::Destination, 5},   {"N62", "#6", MenuAct::Destination, 6},
    {"N72", "#7", MenuAct::Destination, 7},   {"K82", "次の8件", MenuAct::Submenu, 0, kPopupNext8},
    {"N4", "-", MenuAct::Separator},          {"K3", "設定", MenuAct::Config},
    {"K4", "情報窓表示", MenuAct::BringBack}, {"KUsage2", "利用状況", MenuAct::Usage},
    {"JIGEN", "時限切断 [7:58]", MenuAct::Jigen},
    {"N5", "-", MenuAct::Separator},          {"Exit2", "終了", MenuAct::Exit},
};

constexpr MenuItem kPopupMenu2[] = {
    {"K5", "接続", MenuAct::Connect},
    {"K6", "切断", MenuAct::Disconnect},
    {"K7", "詳細", MenuAct::Details},
};

}  // namespace

std::span<const MenuItem> mainMenuItems() { return kMainMenu; }
std::span<const MenuItem> popupMenu1Items() { return kPopupMenu1; }
std::span<const MenuItem> popupMenu2Items() { return kPopupMenu2; }

bool runEngineAct(EngineCommands& core, MenuAct act, int value) {
  switch (act) {
    case MenuAct::Destination:
      core.ConnectFromMenu(value);
      return true;
    case MenuAct::RouterPage:
      core.ExecWWW(value);
      return true;
    case MenuAct::B1Disc:
      core.B1DiscClick();
      return true;
    case MenuAct::B2Disc:
      core.B2DiscClick();
      return true;
    case MenuAct::Connect:
      core.ConnectBtnClick();
      return true;
    case MenuAct::Disconnect:
      core.DiscBtnClick();
      return true;
    default:
      return false;
  }
}

}  // namespace tarvik

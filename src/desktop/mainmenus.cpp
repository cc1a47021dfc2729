#include "desktop/mainmenus.h"

#include <array>
#include <vector>

#include "engine/core/routerpages.h"

namespace tarvik {
namespace {

// The engine calls of the rows.
constexpr EngineCall kDial = [](EngineCommands& c, int n) { c.ConnectFromMenu(n); };
constexpr EngineCall kRouterPage = [](EngineCommands& c, int page) { c.ExecWWW(page); };
constexpr EngineCall kB1Disc = [](EngineCommands& c, int) { c.B1DiscClick(); };
constexpr EngineCall kB2Disc = [](EngineCommands& c, int) { c.B2DiscClick(); };
constexpr EngineCall kConnect = [](EngineCommands& c, int) { c.ConnectBtnClick(); };
constexpr EngineCall kDisconnect = [](EngineCommands& c, int) { c.DiscBtnClick(); };

constexpr MenuItem dest(const char* name, const char* caption, int n) {
  return MenuItem{name, caption, MenuAct::Destination, n, {}, kDial};
}

constexpr MenuItem kDisconnectSub[] = {
    {"B1Disc", "B1 切断", MenuAct::Engine, 0, {}, kB1Disc},
    {"B2Disc", "B2 切断", MenuAct::Engine, 0, {}, kB2Disc},
};

// The second eight destinations have no caption until the router's list
// arrives; they dial all the same.
constexpr MenuItem kMainNext8[] = {
    dest("NN8", "", 8),   dest("NN9", "", 9),
    dest("NN10", "", 10), dest("NN11", "", 11),
    dest("NN12", "", 12), dest("NN13", "", 13),
    dest("NN14", "", 14), dest("NN15", "", 15),
};

constexpr MenuItem kFile1[] = {
    {"K1", "切断", MenuAct::Submenu, 0, kDisconnectSub},
    {"N1", "-", MenuAct::Separator},
    dest("N11", "#0", 0),
    dest("N12", "#1", 1),
    dest("N21", "#2", 2),
    dest("N41", "#3", 3),
    dest("N31", "#4", 4),
    dest("N51", "#5", 5),
    dest("N61", "#6", 6),
    dest("N71", "#7", 7),
    {"K81", "次の8件", MenuAct::Submenu, 0, kMainNext8},
    {"N2", "-", MenuAct::Separator},
    {"Exit1", "終了", MenuAct::Exit},
};

constexpr std::array<MenuItem, kRouterPages.size()> makeRouterPageItems() {
  std::array<MenuItem, kRouterPages.size()> items{};
  for (std::size_t i = 0; i < items.size(); ++i) {
    const RouterPage& page = kRouterPages[i];
    items[i] = MenuItem{page.objectName, page.caption, MenuAct::Engine, page.page, {}, kRouterPage};
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
    dest("NM8", "", 8),   dest("NM9", "", 9),
    dest("NM10", "", 10), dest("NM11", "", 11),
    dest("NM12", "", 12), dest("NM13", "", 13),
    dest("NM14", "", 14), dest("NM15", "", 15),
};

constexpr MenuItem kPopupMenu1[] = {
    {"KB12", "B1 切断", MenuAct::Engine, 0, {}, kB1Disc},     {"KB22", "B2 切断", MenuAct::Engine, 0, {}, kB2Disc},
    {"N3", "-", MenuAct::Separator},          dest("N01", "#0", 0),
    dest("N13", "#1", 1),   dest("N22", "#2", 2),
    dest("N32", "#3", 3),   dest("N42", "#4", 4),
    dest("N52", "#5", 5),   dest("N62", "#6", 6),
    dest("N72", "#7", 7),   {"K82", "次の8件", MenuAct::Submenu, 0, kPopupNext8},
    {"N4", "-", MenuAct::Separator},          {"K3", "設定", MenuAct::Config},
    {"K4", "情報窓表示", MenuAct::BringBack}, {"KUsage2", "利用状況", MenuAct::Usage},
    {"JIGEN", "時限切断 [7:58]", MenuAct::Jigen},
    {"N5", "-", MenuAct::Separator},          {"Exit2", "終了", MenuAct::Exit},
};

constexpr MenuItem kPopupMenu2[] = {
    {"K5", "接続", MenuAct::Engine, 0, {}, kConnect, true},
    {"K6", "切断", MenuAct::Engine, 0, {}, kDisconnect},
    {"K7", "詳細", MenuAct::Details},
};

}  // namespace

std::span<const MenuItem> mainMenuItems() { return kMainMenu; }
std::span<const MenuItem> popupMenu1Items() { return kPopupMenu1; }
std::span<const MenuItem> popupMenu2Items() { return kPopupMenu2; }

namespace {

void collect(std::span<const MenuItem> items, std::vector<const MenuItem*>& commands) {
  for (const MenuItem& item : items) {
    if (item.act == MenuAct::Submenu) {
      collect(item.children, commands);
    } else if (item.act != MenuAct::Separator) {
      bool known = false;
      for (const MenuItem* c : commands) known = known || c->sameCommand(item);
      if (!known) commands.push_back(&item);
    }
  }
}

}  // namespace

std::span<const MenuItem* const> menuCommands() {
  // Made once from the constant tables; read-only afterwards.
  static const std::vector<const MenuItem*> commands = [] {
    std::vector<const MenuItem*> all;
    collect(mainMenuItems(), all);
    collect(popupMenu1Items(), all);
    collect(popupMenu2Items(), all);
    return all;
  }();
  return commands;
}

std::optional<int> menuCommandIndex(const MenuItem& item) {
  const auto commands = menuCommands();
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i]->sameCommand(item)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> menuCommandIndex(MenuAct act, int value) {
  const auto commands = menuCommands();
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i]->act == act && commands[i]->value == value) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace tarvik

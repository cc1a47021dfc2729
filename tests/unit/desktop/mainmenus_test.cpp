// The menus as data, run through the presentation: what every item does by
// its caption, the destination number each item carries and dials, and the
// commands the toolkits number their items by.
#include "desktop/mainmenus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "desktop/mainpresenter.h"
#include "fakemainwindow.h"
#include "fakes/fakeports.h"
#include "fakes/recordingcore.h"

namespace tarvik {
namespace {

struct MenuTest : ::testing::Test {
  test::RecordingCore core{std::filesystem::temp_directory_path() / "tarvik-menus-test"};
  test::FakeMainWindow window;
  test::FakeBrowser browser;
  desktop::MainPresenter presenter{core, window};
  MenuTest() { presenter.setBrowser(&browser); }

  // Every item a user can pick, by its path of captions ("接続/切断/B1 切断").
  void leaves(std::span<const MenuItem> items, const std::string& path,
              std::vector<std::pair<std::string, const MenuItem*>>& out) {
    for (const MenuItem& item : items) {
      if (item.act == MenuAct::Separator || item.act == MenuAct::Destination) continue;
      const std::string here = path.empty() ? item.caption : path + "/" + item.caption;
      if (item.act == MenuAct::Submenu) {
        leaves(item.children, here, out);
      } else {
        out.emplace_back(here, &item);
      }
    }
  }

  // Picks the item with the window minimised and says what happened: the
  // engine's commands, the windows asked for, the browser, a bringing back.
  std::string effectOf(const MenuItem& item) {
    window.minimised = true;
    core.calls.clear();
    window.asked.clear();
    browser.opened.clear();
    presenter.run(item);
    std::vector<std::string> effects = core.calls;
    for (const std::string& a : window.asked) {
      if (a != "to the front") effects.push_back(a);
    }
    for (const std::string& url : browser.opened) effects.push_back("browser " + url);
    if (!window.minimised) effects.push_back("window back");
    std::string joined;
    for (const std::string& e : effects) joined += (joined.empty() ? "" : ", ") + e;
    return joined;
  }
};

// Every item a user can pick does what its caption says, in the window's
// menu bar, the tray's menu and the tray's left-click menu. Destinations
// are tested apart, by their numbers.
TEST_F(MenuTest, EveryItemDoesWhatItsCaptionSays) {
  const std::string manual = "browser file:///opt/tarvik/manual/manual.html";
  const std::map<std::string, std::string> expected = {
      {"接続/切断/B1 切断", "B1DiscClick"},
      {"接続/切断/B2 切断", "B2DiscClick"},
      {"接続/終了", "close"},
      {"設定/Tarvikの設定", "settings window"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/切断／接続状況", "ExecWWW 1"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/自動接続先設定", "ExecWWW 2"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/本体設定", "ExecWWW 3"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/IP設定", "ExecWWW 4"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/ISDN設定", "ExecWWW 5"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/アナログポート設定", "ExecWWW 6"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/設定の消去", "ExecWWW 7"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/設定情報", "ExecWWW 8"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/IP経路情報", "ExecWWW 9"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/接続・切断ログ情報", "ExecWWW 10"},
      {"設定/MN128-SOHO設定ﾍﾟｰｼﾞ/通信料金情報", "ExecWWW 11"},
      {"その他/ﾍﾙﾌﾟ", manual},
      {"その他/ﾊﾞｰｼﾞｮﾝ情報", "about box"},
      {"その他/Tarvikのﾍﾟｰｼﾞ", manual + "#tarvik"},
      {"その他/利用状況", "usage window"},
      {"tray/B1 切断", "B1DiscClick"},
      {"tray/B2 切断", "B2DiscClick"},
      {"tray/設定", "settings window"},
      {"tray/情報窓表示", "window back"},
      {"tray/利用状況", "usage window"},
      {"tray/時限切断 [7:58]", "JIGENClick"},
      {"tray/終了", "close"},
      {"tray left/接続", "ConnectBtnClick"},
      {"tray left/切断", "DiscBtnClick"},
      {"tray left/詳細", "details window"},
  };
  std::vector<std::pair<std::string, const MenuItem*>> items;
  leaves(mainMenuItems(), "", items);
  leaves(popupMenu1Items(), "tray", items);
  leaves(popupMenu2Items(), "tray left", items);
  std::map<std::string, std::string> found;
  for (const auto& [path, item] : items) {
    EXPECT_EQ(found.count(path), 0u) << "two items read " << path;
    found[path] = effectOf(*item);
  }
  EXPECT_EQ(found, expected);
}

const MenuItem* findItem(std::span<const MenuItem> items, const std::string& name) {
  for (const MenuItem& item : items) {
    if (name == item.name) return &item;
    if (const MenuItem* inside = findItem(item.children, name)) return inside;
  }
  return nullptr;
}

// Each destination item dials the number it carries; main menu and pop-up
// menu offer all sixteen, the last eight under 次の8件 with blank captions
// until the router's list arrives.
TEST_F(MenuTest, EveryDestinationItemDialsTheNumberItCarries) {
  const char* mainItems[16] = {"N11", "N12", "N21",  "N41",  "N31",  "N51",  "N61",  "N71",
                               "NN8", "NN9", "NN10", "NN11", "NN12", "NN13", "NN14", "NN15"};
  const char* popupItems[16] = {"N01", "N13", "N22",  "N32",  "N42",  "N52",  "N62",  "N72",
                                "NM8", "NM9", "NM10", "NM11", "NM12", "NM13", "NM14", "NM15"};
  for (int n = 0; n < 16; ++n) {
    const struct {
      std::span<const MenuItem> menu;
      const char* name;
    } places[] = {{mainMenuItems(), mainItems[n]}, {popupMenu1Items(), popupItems[n]}};
    for (const auto& place : places) {
      const MenuItem* item = findItem(place.menu, place.name);
      ASSERT_NE(item, nullptr) << place.name;
      EXPECT_EQ(item->act, MenuAct::Destination) << place.name;
      EXPECT_EQ(item->value, n) << place.name;
      EXPECT_EQ(std::string(item->caption), n < 8 ? "#" + std::to_string(n) : "") << place.name;
      presenter.run(*item);
      EXPECT_EQ(core.last(), "ConnectFromMenu " + std::to_string(n)) << place.name;
    }
  }
}

// The toolkits number the items by command: one number per thing done, the
// same in every menu that offers it, and each number leads back to its row.
TEST_F(MenuTest, EachCommandHasOneNumberInEveryMenu) {
  const auto commands = menuCommands();
  // 16 destinations, 11 router pages, B1/B2 切断, 終了, 設定, ﾍﾙﾌﾟ, ﾊﾞｰｼﾞｮﾝ情報,
  // Tarvikのﾍﾟｰｼﾞ, 利用状況, 情報窓表示, 時限切断, 接続, 切断, 詳細.
  EXPECT_EQ(commands.size(), 16u + 11u + 2u + 11u);
  std::set<std::string> effects;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    EXPECT_EQ(menuCommandIndex(*commands[i]), static_cast<int>(i)) << commands[i]->name;
    effects.insert(effectOf(*commands[i]));
  }
  EXPECT_EQ(effects.size(), commands.size()) << "no two commands do the same";
  const std::pair<const char*, const char*> twins[] = {
      {"B1Disc", "KB12"}, {"Exit1", "Exit2"}, {"KUsage1", "KUsage2"}, {"NN15", "NM15"}, {"KTarvik3", "K3"}};
  for (const auto& [inMain, inPopup] : twins) {
    const MenuItem* a = findItem(mainMenuItems(), inMain);
    const MenuItem* b = findItem(popupMenu1Items(), inPopup);
    ASSERT_TRUE(a && b) << inMain;
    EXPECT_EQ(menuCommandIndex(*a), menuCommandIndex(*b)) << inMain << " and " << inPopup;
  }
  EXPECT_EQ(menuCommandIndex(MenuAct::Destination, 15), menuCommandIndex(*findItem(mainMenuItems(), "NN15")));
  EXPECT_FALSE(menuCommandIndex(MenuAct::Destination, 16));
  EXPECT_FALSE(menuCommandIndex(MenuAct::Separator));
}

std::vector<std::string> captions(std::span<const MenuItem> items) {
  std::vector<std::string> out;
  for (const MenuItem& item : items) out.push_back(item.caption);
  return out;
}

// Rules of order the user relies on.
TEST(MenuOrder, TheOrderOfTheMenus) {
  EXPECT_EQ(captions(mainMenuItems()), (std::vector<std::string>{"接続", "設定", "その他"}));
  // No menu starts or ends with a separator or has two in a row.
  auto check = [](auto&& self, std::span<const MenuItem> items, const std::string& where) -> void {
    ASSERT_FALSE(items.empty()) << where;
    EXPECT_NE(items.front().act, MenuAct::Separator) << where;
    EXPECT_NE(items.back().act, MenuAct::Separator) << where;
    for (std::size_t i = 1; i < items.size(); ++i) {
      EXPECT_FALSE(items[i].act == MenuAct::Separator && items[i - 1].act == MenuAct::Separator) << where;
    }
    for (const MenuItem& item : items) {
      if (item.act == MenuAct::Submenu) self(self, item.children, where + "/" + item.caption);
    }
  };
  check(check, mainMenuItems(), "MainMenu1");
  check(check, popupMenu1Items(), "PopupMenu1");
  check(check, popupMenu2Items(), "PopupMenu2");

  // 終了 closes the connection menu and the tray's menu, set apart.
  for (std::span<const MenuItem> menu : {mainMenuItems()[0].children, popupMenu1Items()}) {
    ASSERT_GE(menu.size(), 2u);
    EXPECT_STREQ(menu.back().caption, "終了");
    EXPECT_EQ(menu[menu.size() - 2].act, MenuAct::Separator);
  }
  // 利用状況 comes last in その他, so that the items before it keep their
  // places; in the tray's menu it follows 情報窓表示.
  EXPECT_EQ(captions(mainMenuItems()[2].children).back(), "利用状況");
  const auto tray = captions(popupMenu1Items());
  const auto at = [&](const char* c) { return std::find(tray.begin(), tray.end(), c) - tray.begin(); };
  EXPECT_EQ(at("利用状況"), at("情報窓表示") + 1);
  // The router's pages in the order of their numbers.
  std::vector<int> pages;
  for (const MenuItem& item : mainMenuItems()[1].children[1].children) pages.push_back(item.value);
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(captions(popupMenu2Items()), (std::vector<std::string>{"接続", "切断", "詳細"}));

  // Both menus offer the sixteen destinations in number order, the first
  // eight directly, the other eight under 次の8件, as one block set apart by
  // separators.
  for (std::span<const MenuItem> menu : {mainMenuItems()[0].children, popupMenu1Items()}) {
    std::size_t first = 0;
    while (first < menu.size() && menu[first].act != MenuAct::Destination) ++first;
    ASSERT_GT(first, 0u);
    ASSERT_LE(first + 9, menu.size() - 1);
    EXPECT_EQ(menu[first - 1].act, MenuAct::Separator);
    for (int n = 0; n < 8; ++n) EXPECT_EQ(menu[first + n].value, n);
    const MenuItem& next = menu[first + 8];
    EXPECT_STREQ(next.caption, "次の8件");
    ASSERT_EQ(next.children.size(), 8u);
    for (int n = 8; n < 16; ++n) EXPECT_EQ(next.children[n - 8].value, n);
    EXPECT_EQ(menu[first + 9].act, MenuAct::Separator);
  }
}

// The tray's left-click menu: 接続 first, its default item.
TEST_F(MenuTest, TheDefaultItemIsConnectInTheLeftMenuOnly) {
  std::vector<std::string> defaults;
  auto collect = [&](auto&& self, std::span<const MenuItem> items) -> void {
    for (const MenuItem& item : items) {
      if (item.isDefault) defaults.push_back(item.name);
      self(self, item.children);
    }
  };
  collect(collect, mainMenuItems());
  collect(collect, popupMenu1Items());
  collect(collect, popupMenu2Items());
  EXPECT_EQ(defaults, std::vector<std::string>{"K5"});
  EXPECT_STREQ(popupMenu2Items()[0].name, "K5");
}

TEST_F(MenuTest, TheTimedDisconnectMarkFollowsTheEnginesSwitch) {
  const MenuItem* jigen = findItem(popupMenu1Items(), "JIGEN");
  ASSERT_NE(jigen, nullptr);
  for (bool expected : {false, true}) {
    presenter.run(*jigen);
    EXPECT_EQ(core.last(), "JIGENClick");
    EXPECT_EQ(window.timeSwitchChecked, expected);
  }
}

}  // namespace
}  // namespace tarvik

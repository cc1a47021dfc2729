// The one table of the settings dialog's controls against the settings
// keys: every key the dialog saves is shown by one control of the kind its
// type wants, loaded into it, written to the store at once when it changes
// and saved back from what it shows. A key added without a control, a
// control bound to the wrong key, or one that loads or saves nothing fails
// here.
#include <set>

#include "desktop/settingsformtable.h"
#include "engine/settings/settingskeys.h"
#include "formfixture.h"

namespace tarvik::desktop::test {
namespace {

bool savedByTheDialog(const SettingKey& key) {
  return key.writer == KeyWriter::kDialogFirst || key.writer == KeyWriter::kDialog ||
         key.writer == KeyWriter::kDialogAdded;
}

// The dialog save passes the router's kanji command through without
// showing it: it is set by hand.
bool shownByTheDialog(const SettingKey& key) { return !(key.section == "KANJI" && key.key == "CODE"); }

std::string keyName(const SettingKey& key) { return std::string(key.section) + "/" + std::string(key.key); }

// A value that is not the key's default and that no other key holds:
// texts name their key (in Japanese, to cross the Shift-JIS boundary),
// flags are turned over, numbers and destinations point at 9.
void setDistinctive(const SettingKey& key, SettingsStore& store) {
  switch (key.type) {
    case KeyType::kString:
      // A number kept as text (the poll interval, the redial count) must be
      // one the program takes: the save refuses an interval that is none,
      // and the load puts the default in place of either.
      key.text(store) = key.wholeNumber ? "17" : toSjis("値 " + keyName(key));
      break;
    case KeyType::kPassword:
      key.text(store) = toSjis("秘密 " + keyName(key));
      break;
    case KeyType::kInteger:
      key.number(store) = key.number(store) == 9 ? 10 : 9;
      break;
    case KeyType::kBoolean:
      key.flag(store) = !key.flag(store);
      break;
  }
}

// The keys (those the dialog saves, or all) whose stored form differs
// between two stores.
std::vector<std::string> differingKeys(const SettingsStore& a, const SettingsStore& b, bool all = false) {
  std::vector<std::string> out;
  for (const SettingKey& key : settingKeys()) {
    if ((all || savedByTheDialog(key)) && storedSetting(key, a) != storedSetting(key, b))
      out.push_back(keyName(key));
  }
  return out;
}

// A caption each desktop words its own way belongs to a control of the
// form, has a word for each desktop, and is found by the control's name;
// the keyring box is among them (the Credential Manager on Windows).
TEST(SettingsFormTable, PlatformCaptionsNameControlsOfTheFormAndHaveBothWordings) {
  for (const PlatformCaption& caption : platformCaptions()) {
    SCOPED_TRACE(std::string(caption.control));
    EXPECT_NE(formField(caption.control), nullptr);
    EXPECT_FALSE(caption.freedesktop.empty());
    EXPECT_FALSE(caption.windows.empty());
    EXPECT_EQ(platformCaption(caption.control, Desktop::Windows), caption.windows);
    EXPECT_EQ(platformCaption(caption.control, Desktop::Freedesktop), caption.freedesktop);
  }
  EXPECT_EQ(platformCaption("CheckBoxKeyring", Desktop::Windows), "資格情報マネージャーに保存");
  EXPECT_EQ(platformCaption("CheckBoxKeyring", Desktop::Freedesktop), "キーリングに保存");
  EXPECT_EQ(platformCaption("Edit5", Desktop::Windows), "");
}

// Eight pages in tab order, each named and captioned once; both toolkits
// and the HTML manual's check take them from here.
TEST(SettingsFormTable, TheEightPagesInTabOrder) {
  const std::pair<std::string_view, std::string_view> expected[] = {
      {"TabBasic", "基本設定"}, {"TabSound", "ｻｳﾝﾄﾞ設定"},     {"TabApps", "同時起動ｱﾌﾟﾘ"},
      {"TabTimed", "時限処理"}, {"TabAdvanced", "高度な設定"}, {"TabNames", "ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ"},
      {"TabNotify", "通知"},    {"TabTariff", "料金"},
  };
  const auto pages = settingsFormPages();
  ASSERT_EQ(pages.size(), std::size(expected));
  for (std::size_t i = 0; i < pages.size(); ++i) {
    EXPECT_EQ(pages[i].name, expected[i].first);
    EXPECT_EQ(pages[i].caption, expected[i].second);
  }
}

TEST(SettingsFormTable, EachControlOnceEachKeyOfTheKindItsTypeWants) {
  std::set<std::string_view> controls;
  for (const FormField& field : settingsFormFields()) {
    SCOPED_TRACE(std::string(field.control));
    EXPECT_TRUE(controls.insert(field.control).second) << "one row per control";
    const SettingKey* key = settingKeyOf(field);
    switch (field.kind) {
      case ControlKind::Text:
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->type, KeyType::kString);
        break;
      case ControlKind::Password:
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->type, KeyType::kPassword);
        break;
      case ControlKind::Number:
      case ControlKind::Destination:
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->type, KeyType::kInteger);
        break;
      case ControlKind::Check:
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->type, KeyType::kBoolean);
        break;
      case ControlKind::AppCommand:
        EXPECT_TRUE(field.key.size() == 1 && field.key[0] >= '1' && field.key[0] <= '7') << field.key;
        break;
      default:
        EXPECT_EQ(key, nullptr);
    }
  }
  for (const FormButton& button : settingsFormButtons()) {
    EXPECT_TRUE(controls.insert(button.control).second) << button.control;
    if (button.action == FormAction::Play) {
      EXPECT_NE(formField(button.field), nullptr) << button.control;
    }
  }
  for (const DependentState& rule : settingsDependentStates()) {
    EXPECT_NE(formField(rule.control), nullptr) << rule.control;
    ASSERT_NE(formField(rule.checkBox), nullptr) << rule.checkBox;
    EXPECT_EQ(formField(rule.checkBox)->kind, ControlKind::Check) << rule.checkBox;
  }
}

struct KeyBindingTest : FormTest {
  // The controls whose shown value differs between a load of the defaults
  // and a load of `store`.
  std::vector<std::string> controlsChangedBy(const SettingsStore& store) {
    core.store = SettingsStore();
    form.load();
    const auto texts = view.texts;
    const auto checks = view.checks;
    core.store = store;
    form.load();
    std::vector<std::string> changed;
    for (const auto& [control, text] : view.texts) {
      if (texts.at(control) != text) changed.push_back(control);
    }
    for (const auto& [control, on] : view.checks) {
      if (checks.at(control) != on) changed.push_back(control);
    }
    return changed;
  }

  // The user enters again what every control shows, as after the engine
  // forgot its settings: the store then holds only what the controls hold.
  void reenterEveryControl() {
    for (const FormField& field : settingsFormFields()) {
      if (field.kind == ControlKind::Check) {
        const bool on = view.checked(field.control);
        view.tick(field.control, !on);
        view.tick(field.control, on);
      } else {
        const std::string text = view.text(field.control);
        view.type(field.control, text + "x");
        view.type(field.control, text);
      }
    }
  }
};

TEST_F(KeyBindingTest, EveryKeyTheDialogSavesIsShownByOneControlAndSavedBackFromIt) {
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " provider" + std::to_string(i));
  form.setDestinationList(entries);
  int keys = 0;
  for (const SettingKey& key : settingKeys()) {
    if (!savedByTheDialog(key)) continue;
    ++keys;
    SCOPED_TRACE(keyName(key));
    SettingsStore wanted;
    setDistinctive(key, wanted);
    const std::vector<std::string> controls = controlsChangedBy(wanted);
    if (!shownByTheDialog(key)) {
      EXPECT_TRUE(controls.empty()) << "no control shows it";
    } else {
      ASSERT_EQ(controls.size(), 1u) << "one control of its own shows the key";
      const FormField* field = formField(controls.front());
      ASSERT_NE(field, nullptr);
      EXPECT_EQ(settingKeyOf(*field), &key);
      core.store = SettingsStore();
      reenterEveryControl();
      EXPECT_EQ(differingKeys(core.store, wanted), std::vector<std::string>())
          << "the store holds what the controls show, at once";
    }
    view.shown = true;
    ASSERT_EQ(form.close(), CloseOutcome::Saved);
    SettingsStore saved;
    core.files().loadAll(saved);
    EXPECT_EQ(differingKeys(saved, wanted), std::vector<std::string>()) << "the save writes what was shown";
  }
  EXPECT_GE(keys, 40) << "the settings table lists the dialog's keys";
}

TEST_F(KeyBindingTest, EachCheckBoxSwitchesOnlyItsOwnKey) {
  for (const FormField& field : settingsFormFields()) {
    if (field.kind != ControlKind::Check) continue;
    SCOPED_TRACE(std::string(field.control));
    const SettingsStore before = core.store;
    view.tick(field.control, !view.checked(field.control));
    EXPECT_EQ(differingKeys(before, core.store, true),
              std::vector<std::string>{keyName(*settingKeyOf(field))});
    view.tick(field.control, !view.checked(field.control));
    EXPECT_EQ(differingKeys(before, core.store, true), std::vector<std::string>());
  }
}

TEST_F(KeyBindingTest, TheStartUpLoadFillsEveryControlAndTheDependentStates) {
  form.setDestinationList(providerEntries());
  SettingsStore wanted;
  for (const SettingKey& key : settingKeys()) {
    if (savedByTheDialog(key)) setDistinctive(key, wanted);
  }
  wanted.option.monitoringOff = true;
  wanted.option.runRouterScript = false;
  wanted.option.ONSCREEN = true;
  wanted.script = {toSjis("23:00 co 1"), toSjis("; 夜")};
  wanted.nameList = {toSjis("0312341234:事務所")};
  core.store = wanted;
  form.load();
  EXPECT_EQ(core.store.script, wanted.script);
  core.store = SettingsStore();
  reenterEveryControl();
  EXPECT_EQ(differingKeys(core.store, wanted), std::vector<std::string>{"KANJI/CODE"})
      << "every key but the one the dialog does not show";
  EXPECT_EQ(view.text("Script"), "23:00 co 1\n; 夜");
  EXPECT_EQ(view.items, std::vector<std::string>{"0312341234:事務所"});
  EXPECT_FALSE(view.enabled.at("Edit4")) << "監視しない greys the interval";
  EXPECT_FALSE(view.enabled.at("Script")) << "the script area needs SOHO-スクリプトを使用";
  EXPECT_TRUE(view.monitoringOff.back()) << "the main window's channel boxes follow";
  EXPECT_TRUE(view.stayOnTop.back()) << "and its place on top";
}

TEST_F(KeyBindingTest, LoadingKeepsBytesThatDoNotSurviveTheTripThroughUtf8) {
  core.store.sound.s1 = std::string("wav\\\x82", 5);  // a lone lead byte
  form.load();
  EXPECT_EQ(core.store.sound.s1, std::string("wav\\\x82", 5));
}

}  // namespace
}  // namespace tarvik::desktop::test

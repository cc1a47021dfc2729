// The settings dialog's behaviour, the same for both desktops: the close
// and its rules and messages, the application page per destination, the
// destination boxes, browsing, playing, the dependent states and the
// caller-name list.
#include <algorithm>
#include <filesystem>

#include "engine/core/coretexts.h"
#include "formfixture.h"

namespace tarvik::desktop::test {
namespace {

using SettingsFormTest = FormTest;

TEST_F(SettingsFormTest, EveryCloseSavesAndTheConnectHintFollowsTheDefaultEntry) {
  std::vector<std::string> entries;
  for (int i = 0; i < 16; ++i) entries.push_back("#" + std::to_string(i) + " プロバイダ");
  form.setDestinationList(entries);
  core.calls.clear();
  form.open();
  EXPECT_TRUE(view.shown);
  view.type("Edit5", "192.168.1.1");
  view.choose("ComboBox1", 2);
  EXPECT_EQ(core.store.tarvik.DEFAULT, 2) << "in force at once";
  EXPECT_EQ(form.close(), CloseOutcome::Saved);
  EXPECT_FALSE(view.shown);
  EXPECT_EQ(core.calls, (std::vector<std::string>{"Config", "ConfigClosed"}));
  const std::string ini = iniText();
  EXPECT_NE(ini.find("SOHOIP=192.168.1.1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("DEFAULT=2"), std::string::npos);
  EXPECT_EQ(view.hints, std::vector<std::string>{"#2 プロバイダ"});
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(SettingsFormTest, TheIntervalIsKeptFrom2To58AndOtherwiseBecomes5) {
  const std::pair<const char*, const char*> cases[] = {{"1", "5"},   {"2", "2"},  {"30", "30"},
                                                       {"58", "58"}, {"59", "5"}, {"-3", "5"}};
  for (const auto& [typed, saved] : cases) {
    form.open();
    view.type("Edit4", typed);
    EXPECT_EQ(form.close(), CloseOutcome::Saved) << typed;
    EXPECT_EQ(core.store.option.TIME, saved) << typed;
    EXPECT_EQ(view.text("Edit4"), saved) << "the field shows what was saved";
    EXPECT_NE(iniText().find(std::string("TIME=") + saved), std::string::npos) << typed;
  }
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(SettingsFormTest, AnIntervalThatIsNoNumberKeepsTheDialogOpenWithItsMessage) {
  int round = 0;
  for (const char* typed : {"abc", "", "５"}) {
    const std::string off = "6:3" + std::to_string(round++);
    core.calls.clear();
    view.messages.clear();
    form.open();
    view.type("Edit4", typed);
    view.type("Edit5", "10.0.0.1");
    view.type("Edit13", off);
    EXPECT_EQ(form.close(), CloseOutcome::KeptOpen) << typed;
    EXPECT_TRUE(view.shown) << typed;
    ASSERT_EQ(view.messages.size(), 1u) << typed;
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, std::string("'") + typed + "' は整数ではありません");
    EXPECT_EQ(core.calls, std::vector<std::string>{"Config"}) << "the script stays held back";
    const std::string ini = iniText();
    EXPECT_NE(ini.find("SOHOIP=10.0.0.1"), std::string::npos) << "the router keys are written";
    EXPECT_EQ(ini.find("OFF=" + off), std::string::npos) << "the rest waits";

    view.type("Edit4", "10");
    EXPECT_EQ(form.close(), CloseOutcome::Saved);
    EXPECT_FALSE(view.shown);
    EXPECT_NE(iniText().find("OFF=" + off), std::string::npos);
    EXPECT_EQ(core.last(), "ConfigClosed");
  }
}

// A settings file that cannot be written (a read-only settings folder) is
// told, with the file's name, and the dialog closes all the same: it could
// not be closed at all otherwise.
TEST_F(SettingsFormTest, AWriteThatFailsIsToldAndTheDialogCloses) {
  std::filesystem::create_directory(core.files().iniPath());  // a folder where the file should be
  form.open();
  EXPECT_EQ(form.close(), CloseOutcome::ClosedUnsaved);
  EXPECT_FALSE(view.shown);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
  const std::u8string ini = core.files().iniPath().u8string();
  EXPECT_EQ(view.messages[0].text,
            std::string(ini.begin(), ini.end()) + " に書き込めません\n" + texts::kSettingsNotSaved);
}

// The tariff numbers: in force at once within their ranges, refused
// outside them; the close shows the setting again.
TEST_F(SettingsFormTest, NumberFieldsTakeOnlyNumbersInTheirRange) {
  const struct {
    const char* control;
    int SettingsStore::TariffSection::*field;
    const char* typed;    // in range
    const char* refused;  // out of range or no number
  } rows[] = {
      {"SpinTariffUnit", &SettingsStore::TariffSection::UNIT, "60", "0"},
      {"SpinTariffYen", &SettingsStore::TariffSection::YEN, "0", "100001"},
      {"SpinFlatFrom", &SettingsStore::TariffSection::FLATFROM, "22", "24"},
      {"SpinFlatTo", &SettingsStore::TariffSection::FLATTO, "5", ""},
  };
  core.store.tariff = {120, 9, 21, 6, "1"};
  form.load();
  EXPECT_EQ(view.text("SpinTariffUnit"), "120");
  EXPECT_EQ(view.text("EditFlatDest"), "1");
  form.open();
  for (const auto& row : rows) {
    view.type(row.control, row.typed);
    EXPECT_EQ(core.store.tariff.*row.field, std::stoi(row.typed)) << row.typed << " is in force at once";
    view.type(row.control, row.refused);
    EXPECT_EQ(core.store.tariff.*row.field, std::stoi(row.typed)) << "'" << row.refused << "' is not taken";
  }
  view.type("EditFlatDest", "0,3");
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  for (const auto& row : rows)
    EXPECT_EQ(view.text(row.control), row.typed) << "the field shows what was saved";
  EXPECT_NE(iniText().find("[TARIFF]\r\nUNIT=60\r\nYEN=0\r\nFLATFROM=22\r\nFLATTO=5\r\nFLATDEST=0,3\r\n"),
            std::string::npos)
      << iniText();
}

TEST_F(SettingsFormTest, TheScriptIsKeptLineByLineAndTakenAsItStandsAtTheClose) {
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"7:00 dis a", {"7:00 dis a"}},
      {"23:00 co 1\n7:00 dis a\n", {"23:00 co 1", "7:00 dis a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\n\nb", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    view.type("Script", c.text);
    EXPECT_EQ(core.store.script, c.lines) << c.text;
  }
  // A toolkit that does not tell a change made by program: the close reads it.
  view.texts["Script"] = "x\ny";
  form.open();
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  EXPECT_EQ(core.store.script, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(tarvik::testing::readBytes(core.files().scriptPath()), "x\r\ny\r\n");
}

TEST_F(SettingsFormTest, MonitoringOffGreysTheIntervalAndTheScriptFollowsItsBox) {
  EXPECT_FALSE(view.monitoringOff.back()) << "told right after the load";
  EXPECT_TRUE(view.enabled.at("Edit4"));
  EXPECT_FALSE(view.enabled.at("Script"));
  view.tick("CheckBox11", true);
  EXPECT_FALSE(view.enabled.at("Edit4"));
  EXPECT_TRUE(view.monitoringOff.back());
  view.tick("CheckBox11", false);
  EXPECT_TRUE(view.enabled.at("Edit4"));
  EXPECT_FALSE(view.monitoringOff.back());
  view.tick("CheckBox18", true);
  EXPECT_TRUE(view.enabled.at("Script"));
  view.tick("CheckBox2", true);
  EXPECT_TRUE(view.stayOnTop.back()) << "the main window follows 常に手前に表示 at each click";
}

TEST_F(SettingsFormTest, TypingInADestinationBoxMatchesOnlyAWholeEntryExactly) {
  form.setDestinationList(providerEntries());
  const std::pair<const char*, int SettingsStore::TarvikSection::*> boxes[] = {
      {"ComboBox1", &SettingsStore::TarvikSection::DEFAULT},
      {"ComboBox2", &SettingsStore::TarvikSection::AUTO},
      {"RedialBox", &SettingsStore::TarvikSection::REDIAL},
  };
  const std::pair<const char*, int> cases[] = {{"#4", 16},  // the start of an entry is not the entry
                                               {"#4 provider4", 16},  // nor is the entry in other letter case
                                               {"#4 Provider4", 4},   // only the entry itself
                                               {"#12 Provider1", 16},
                                               {"#12 Provider12", 12}};
  for (const auto& [box, field] : boxes) {
    for (const auto& [typed, index] : cases) {
      view.type(box, typed);
      EXPECT_EQ(core.store.tarvik.*field, index) << box << " after typing " << typed;
    }
    view.choose(box, 7);
    EXPECT_EQ(core.store.tarvik.*field, 7) << box;
  }
}

TEST_F(SettingsFormTest, EachBoxShowsItsStoredEntryOnceTheListArrives) {
  core.store.tarvik.DEFAULT = 3;
  core.store.tarvik.AUTO = 7;
  core.store.tarvik.REDIAL = 15;
  form.load();
  form.setDestinationList(std::vector<std::string>(16));
  EXPECT_EQ(core.store.tarvik.DEFAULT, 3) << "sixteen empty entries change no setting";
  form.setDestinationList(providerEntries());
  EXPECT_EQ(view.text("ComboBox1"), "#3 Provider3");
  EXPECT_EQ(view.text("ComboBox2"), "#7 Provider7");
  EXPECT_EQ(view.text("RedialBox"), "#15 Provider15");
  EXPECT_EQ(view.text("ComboBox3"), "#0 Provider0");
  EXPECT_EQ(core.store.tarvik.DEFAULT, 3);
  EXPECT_EQ(core.store.tarvik.AUTO, 7);
  EXPECT_EQ(core.store.tarvik.REDIAL, 15);
}

TEST_F(SettingsFormTest, TheApplicationPageFollowsItsDestinationSectionBySection) {
  core.files().saveApplications(3, {"ppp-up", "", "", "mail $IP", "", "", ""});
  form.setDestinationList(providerEntries());
  form.open();
  view.type("Edit7", "browser");
  view.type("Edit20", "clock");

  view.choose("ComboBox3", 3);
  EXPECT_EQ(core.store.appPageDestination, 3);
  EXPECT_EQ(core.files().loadApplications(0), (ApplicationList{"browser", "", "", "", "", "", "clock"}));
  EXPECT_EQ(view.text("Edit7"), "ppp-up");
  EXPECT_EQ(view.text("Edit10"), "mail $IP");
  EXPECT_EQ(view.text("Edit20"), "");

  // Key by key no section is read or written; the switch comes when the
  // typing ends.
  for (const char* typed : {"#1", "#14 Provider1", "no such destination"}) view.type("ComboBox3", typed);
  EXPECT_EQ(core.store.appPageDestination, 3);
  for (const char* section : {"[AP1]", "[AP14]", "[AP16]"}) {
    EXPECT_EQ(iniText().find(section), std::string::npos) << section << " written while typing";
  }
  form.chosen("ComboBox3", "no such destination");
  EXPECT_EQ(core.store.appPageDestination, 16);
  view.type("Edit8", "unmatched");
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  EXPECT_NE(iniText().find("[AP16]"), std::string::npos);
  EXPECT_EQ(core.files().loadApplications(16)[1], "unmatched");
  EXPECT_EQ(core.files().loadApplications(3)[0], "ppp-up") << "one destination's lists never reach another's";

  // Typed and closed at once: one switch, then the save.
  core.files().saveApplications(14, {"fourteen", "", "", "", "", "", ""});
  form.open();
  view.type("ComboBox3", "#14 Provider14");
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  EXPECT_EQ(core.store.appPageDestination, 14);
  EXPECT_EQ(core.files().loadApplications(16)[1], "unmatched");
  EXPECT_EQ(core.files().loadApplications(14)[0], "fourteen");
}

// A switch whose save fails stays on the typed command lines.
TEST_F(SettingsFormTest, AnApplicationPageSwitchThatCannotSaveStays) {
  form.setDestinationList(providerEntries());
  form.open();
  view.type("Edit7", "typed");
  std::filesystem::create_directory(core.files().iniPath());
  view.choose("ComboBox3", 5);
  EXPECT_EQ(core.store.appPageDestination, 0);
  EXPECT_EQ(view.text("ComboBox3"), "#0 Provider0");
  EXPECT_EQ(view.text("Edit7"), "typed");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find("に書き込めません"), std::string::npos);
}

TEST_F(SettingsFormTest, OpeningAgainWhileOpenOnlyBringsItToTheFront) {
  form.open();
  view.type("Edit7", "typed");
  core.files().saveApplications(0, {"from file", "", "", "", "", "", ""});
  form.open();
  EXPECT_EQ(view.text("Edit7"), "typed");
  EXPECT_EQ(std::count(core.calls.begin(), core.calls.end(), "Config"), 2);
  EXPECT_EQ(view.raised, 2);
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  form.open();
  EXPECT_EQ(view.text("Edit7"), "typed") << "the close saved it";
}

TEST_F(SettingsFormTest, AClickedPathFieldIsTheBrowseTargetForBothBrowseButtons) {
  ASSERT_FALSE(core.store.sound.s7.empty()) << "the defaults name a warning sound";
  EXPECT_EQ(form.browseTarget(), "Edit2") << "the loaded warning sound";
  view.nextFile = "C:\\サウンド\\鳴る.wav";
  form.clicked("SoundBrowse");
  EXPECT_EQ(view.text("Edit2"), "C:\\サウンド\\鳴る.wav");
  EXPECT_EQ(core.store.sound.s7, toSjis("C:\\サウンド\\鳴る.wav"));

  form.pressed("Edit6");
  form.pressed("Edit_RingSound");
  form.pressed("Edit_NameSound");
  EXPECT_EQ(form.browseTarget(), "Edit6") << "ring and folder fields are never targets";
  view.nextFile = "C:\\x.wav";
  form.clicked("AppBrowse");  // the target lies on the other page
  EXPECT_EQ(view.text("Edit6"), "C:\\x.wav");
  EXPECT_EQ(core.store.sound.s1, "C:\\x.wav");

  form.pressed("Edit11");
  view.nextFile = "C:\\tools\\clock.exe";
  form.clicked("AppBrowse");
  EXPECT_EQ(view.text("Edit11"), "C:\\tools\\clock.exe");

  view.nextFile.reset();  // cancelled
  form.clicked("SoundBrowse");
  EXPECT_EQ(view.text("Edit11"), "C:\\tools\\clock.exe") << "a cancel keeps the path";
  EXPECT_EQ(view.pickerCalls, 4);

  view.type("Edit2", "x.wav");
  EXPECT_EQ(form.browseTarget(), "Edit2") << "a change of the warning sound makes it the target";
}

TEST_F(SettingsFormTest, WithoutATargetTheFileDialogShowsAndNothingChanges) {
  core.store.sound.s7.clear();
  FakeFormView fresh;
  SettingsForm other(core, fresh);
  fresh.form = &other;
  other.load();
  EXPECT_EQ(other.browseTarget(), "");
  fresh.nextFile = "C:\\x.wav";
  const SettingsStore before = core.store;
  other.clicked("SoundBrowse");
  EXPECT_EQ(fresh.pickerCalls, 1);
  EXPECT_EQ(core.store.sound.s1, before.sound.s1);
  EXPECT_EQ(core.store.sound.s7, before.sound.s7);
}

TEST_F(SettingsFormTest, EachPlayButtonPlaysItsOwnRowsFileAndAnEmptyRowNothing) {
  const std::pair<const char*, const char*> rows[] = {
      {"SpeedButton1", "Edit6"},          {"SpeedButton2", "Edit1"},  {"SpeedButton3", "Edit3"},
      {"SpeedButton5", "Edit15"},         {"SpeedButton7", "Edit16"}, {"SpeedButton4", "Edit2"},
      {"SpeedButton8", "Edit_RingSound"},
  };
  for (const auto& [button, edit] : rows) view.type(edit, std::string("wav\\") + edit + "音.wav");
  view.type("Edit16", "");
  for (const auto& [button, edit] : rows) form.clicked(button);
  std::vector<std::string> expected;
  for (const char* edit : {"Edit6", "Edit1", "Edit3", "Edit15", "Edit2", "Edit_RingSound"})
    expected.push_back(toSjis(std::string("wav\\") + edit + "音.wav"));
  EXPECT_EQ(view.played, expected);
}

// The caller-name editor on the ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ page.
TEST_F(SettingsFormTest, AddingAppendsTheTrimmedEntryAndPutsTheTrimmedTextsBack) {
  const std::pair<const char*, const char*> added[] = {
      {" 0312341234 ", "\t事務所  "}, {"0451112222", "Home"}, {"0451112222", "Home"}};
  for (const auto& [number, name] : added) {
    view.type("Edit22", number);
    view.type("Edit23", name);
    form.clicked("Button4");
  }
  EXPECT_EQ(view.items,
            (std::vector<std::string>{"0312341234:事務所", "0451112222:Home", "0451112222:Home"}));
  EXPECT_EQ(core.store.nameList,
            (std::vector<std::string>{toSjis("0312341234:事務所"), "0451112222:Home", "0451112222:Home"}));
  EXPECT_EQ(view.text("Edit22"), "0451112222") << "the fields are not cleared";
  view.type("Edit22", " 1 ");
  view.type("Edit23", "");
  form.clicked("Button4");
  EXPECT_EQ(view.text("Edit22"), "1") << "the trimmed text goes back, also when nothing is added";
  EXPECT_TRUE(view.messages.empty());
  form.open();
  ASSERT_EQ(form.close(), CloseOutcome::Saved);
  EXPECT_EQ(tarvik::testing::readBytes(core.files().namesPath()),
            toSjis("0312341234:事務所\r\n0451112222:Home\r\n0451112222:Home\r\n"));
}

TEST_F(SettingsFormTest, ADashShowsTheWarningAndAddsNothingAndAnEmptyFieldAddsNothingSilently) {
  const struct {
    const char* number;
    const char* name;
    bool warned;
  } cases[] = {
      {"03-1234", "Office", true}, {"-", "", true},     {"0312341234", "", false},
      {"", "Office", false},       {"  ", "  ", false},
  };
  for (const auto& c : cases) {
    view.messages.clear();
    view.type("Edit22", c.number);
    view.type("Edit23", c.name);
    form.clicked("Button4");
    if (c.warned) {
      ASSERT_EQ(view.messages.size(), 1u) << c.number;
      EXPECT_EQ(view.messages[0].kind, MessageKind::Warning);
      EXPECT_EQ(view.messages[0].text, "数字のみ入力して下さい");
    } else {
      EXPECT_TRUE(view.messages.empty()) << c.number;
    }
    EXPECT_TRUE(view.items.empty()) << c.number;
    EXPECT_TRUE(core.store.nameList.empty()) << c.number;
  }
}

TEST_F(SettingsFormTest, DeleteRemovesTheSelectedEntryAndNothingWithoutASelection) {
  core.store.nameList = {"1:a", "2:b", "3:c"};
  form.load();
  form.clicked("Button5");
  EXPECT_EQ(core.store.nameList.size(), 3u);
  view.selected = 1;
  form.clicked("Button5");
  EXPECT_EQ(view.items, (std::vector<std::string>{"1:a", "3:c"}));
  EXPECT_EQ(core.store.nameList, (std::vector<std::string>{"1:a", "3:c"}));
}

}  // namespace
}  // namespace tarvik::desktop::test

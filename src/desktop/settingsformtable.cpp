#include "desktop/settingsformtable.h"

#include <algorithm>

#include "engine/settings/settingskeys.h"

namespace tarvik::desktop {
namespace {

using K = ControlKind;
constexpr BrowseRole kClick = BrowseRole::OnClick;

// In the dialog's tab order, page by page.
constexpr FormField kFields[] = {
    // 基本設定
    {"Edit5", K::Text, "Tarvik", "SOHOIP"},
    {"Edit14", K::Password, "Tarvik", "PASS"},
    {"CheckBoxKeyring", K::Check, "SECRET", "KEYRING", BrowseRole::None, Presence::WithKeyring},
    {"ComboBox1", K::Destination, "Tarvik", "DEFAULT"},
    {"Edit4", K::Text, "OPTION", "TIME"},
    {"CheckBox11", K::Check, "OPTION", "CHECK11"},
    {"CheckBox1", K::Check, "OPTION", "SIZE"},
    {"CheckBox4", K::Check, "OPTION", "CHECK4"},
    {"CheckBox3", K::Check, "OPTION", "NEXT"},
    {"CheckBox5", K::Check, "OPTION", "CHECK5"},
    {"CheckBox10", K::Check, "OPTION", "CHECK10"},
    {"CheckBox15", K::Check, "OPTION", "CHECK15"},
    {"CheckBox2", K::Check, "OPTION", "ONSCREEN"},
    // ｻｳﾝﾄﾞ設定
    {"Edit6", K::Text, "SOUND", "1", kClick},
    {"Edit1", K::Text, "SOUND", "2", kClick},
    {"Edit3", K::Text, "SOUND", "3", kClick},
    {"Edit15", K::Text, "SOUND", "5", kClick},
    {"Edit16", K::Text, "SOUND", "6", kClick},
    {"Edit2", K::Text, "SOUND", "7", BrowseRole::OnClickOrChange},
    {"Edit_RingSound", K::Text, "SOUND", "8"},
    {"Edit_NameSound", K::Text, "SOUND", "NAMESOUND"},
    // 同時起動ｱﾌﾟﾘ
    {"ComboBox3", K::AppDestination},
    {"Edit7", K::AppCommand, "", "1", kClick},
    {"Edit8", K::AppCommand, "", "2", kClick},
    {"Edit9", K::AppCommand, "", "3", kClick},
    {"Edit10", K::AppCommand, "", "4", kClick},
    {"Edit11", K::AppCommand, "", "5", kClick},
    {"Edit19", K::AppCommand, "", "6", kClick},
    {"Edit20", K::AppCommand, "", "7", kClick},
    // 時限処理
    {"Edit12", K::Text, "TIME", "ON"},
    {"Edit13", K::Text, "TIME", "OFF"},
    {"Edit17", K::Text, "TIME", "WARNING"},
    {"ComboBox2", K::Destination, "Tarvik", "AUTO"},
    {"CheckBox13", K::Check, "OPTION", "CHECK13"},
    {"CheckBox18", K::Check, "OPTION", "CHECK18"},
    {"Script", K::Script},
    // 高度な設定
    {"CheckBox6", K::Check, "OPTION", "CHECK6"},
    {"CheckBox7", K::Check, "OPTION", "CHECK7"},
    {"CheckBox8", K::Check, "OPTION", "CHECK8"},
    {"CheckBox9", K::Check, "OPTION", "CHECK9"},
    {"CheckBox14", K::Check, "OPTION", "CHECK14"},
    {"CheckBox19", K::Check, "OPTION", "CHECK19"},
    {"Edit21", K::Text, "RD", "0"},
    {"RedialBox", K::Destination, "Tarvik", "REDIAL"},
    {"CheckBox12", K::Check, "OPTION", "CHECK12"},
    {"CheckBox16", K::Check, "OPTION", "CHECK16"},
    {"CheckBox17", K::Check, "OPTION", "CHECK17"},
    {"Edit18", K::Text, "OPTION", "LOG"},
    // ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ
    {"Edit22", K::NameField},
    {"Edit23", K::NameField},
    {"ListBox1", K::NameList},
    // 通知
    {"CheckNotifyIncoming", K::Check, "NOTIFY", "INCOMING"},
    {"CheckNotifyConnected", K::Check, "NOTIFY", "CONNECTED"},
    {"CheckNotifyDisconnected", K::Check, "NOTIFY", "DISCONNECTED"},
    {"CheckNotifyFailed", K::Check, "NOTIFY", "FAILED"},
    {"CheckNotifyRouter", K::Check, "NOTIFY", "ROUTER"},
    // 料金
    {"SpinTariffUnit", K::Number, "TARIFF", "UNIT"},
    {"SpinTariffYen", K::Number, "TARIFF", "YEN"},
    {"SpinFlatFrom", K::Number, "TARIFF", "FLATFROM"},
    {"SpinFlatTo", K::Number, "TARIFF", "FLATTO"},
    {"EditFlatDest", K::Text, "TARIFF", "FLATDEST"},
};

constexpr FormButton kButtons[] = {
    {"SpeedButton1", FormAction::Play, "Edit6"},
    {"SpeedButton2", FormAction::Play, "Edit1"},
    {"SpeedButton3", FormAction::Play, "Edit3"},
    {"SpeedButton5", FormAction::Play, "Edit15"},
    {"SpeedButton7", FormAction::Play, "Edit16"},
    {"SpeedButton4", FormAction::Play, "Edit2"},
    {"SpeedButton8", FormAction::Play, "Edit_RingSound"},
    {"SoundBrowse", FormAction::Browse},
    {"AppBrowse", FormAction::Browse},
    {"Button4", FormAction::AddName},
    {"Button5", FormAction::DeleteName},
    {"OK", FormAction::Ok},
};

// 監視しない greys the interval; the script area needs SOHO-スクリプトを使用.
constexpr DependentState kDependentStates[] = {
    {"Edit4", "CheckBox11", false},
    {"Script", "CheckBox18", true},
};

constexpr FormPage kPages[] = {
    {"TabBasic", "基本設定"}, {"TabSound", "ｻｳﾝﾄﾞ設定"},     {"TabApps", "同時起動ｱﾌﾟﾘ"},
    {"TabTimed", "時限処理"}, {"TabAdvanced", "高度な設定"}, {"TabNames", "ﾈｰﾑﾃﾞｨｽﾌﾟﾚｲ"},
    {"TabNotify", "通知"},    {"TabTariff", "料金"},
};

constexpr PlatformCaption kPlatformCaptions[] = {
    {"CheckBoxKeyring", "キーリングに保存", "資格情報マネージャーに保存"},
};

template <typename Row>
const Row* byControl(std::span<const Row> rows, std::string_view control) {
  const auto it = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.control == control; });
  return it == rows.end() ? nullptr : &*it;
}

}  // namespace

std::span<const FormField> settingsFormFields() { return kFields; }
std::span<const FormButton> settingsFormButtons() { return kButtons; }
std::span<const DependentState> settingsDependentStates() { return kDependentStates; }

const FormField* formField(std::string_view control) { return byControl(settingsFormFields(), control); }
const FormButton* formButton(std::string_view control) { return byControl(settingsFormButtons(), control); }

std::span<const FormPage> settingsFormPages() { return kPages; }
std::span<const PlatformCaption> platformCaptions() { return kPlatformCaptions; }

std::string_view platformCaption(std::string_view control, Desktop desktop) {
  const PlatformCaption* row = byControl(platformCaptions(), control);
  if (!row) return {};
  return desktop == Desktop::Windows ? row->windows : row->freedesktop;
}

const SettingKey* settingKeyOf(const FormField& field) {
  if (field.section.empty()) return nullptr;
  for (const SettingKey& key : settingKeys()) {
    if (key.section == field.section && key.key == field.key) return &key;
  }
  return nullptr;
}

}  // namespace tarvik::desktop
